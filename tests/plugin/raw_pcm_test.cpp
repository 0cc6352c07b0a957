#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "MediaFiles.h"
#include "RawPcm.h"
#include "TestPaths.h"

// Raw samples behind a RIFF WAVE header of the given format: an odd count
// gets a pad byte and the sizes say so; a file that cannot be written leaves
// nothing behind.
TEST(RawPcm, wrapsSamplesIntoAWaveFile)
{
    std::string folder = makeTempFolder();
    writeBytes(folder + "three.pcm", "\x01\x02\x03", 3);
    PCMWAVEFORMAT format = {{WAVE_FORMAT_PCM, 2, 44100, 176400, 4}, 16};
    ASSERT_TRUE(ConvertRawPcm((folder + "three.pcm").c_str(), (folder + "three.wav").c_str(), format));
    std::vector<unsigned char> wave = readWholeFile(folder + "three.wav");
    ASSERT_EQ(48u, wave.size());
    std::vector<unsigned char> expected = pcmWaveHeader(3, 44100, 2, 16);
    expected[4] = 40;  // the RIFF size counts the pad byte
    expected.insert(expected.end(), {1, 2, 3, 0});
    EXPECT_EQ(expected, wave);

    std::string missingFolder = folder + "none\\x.wav";
    EXPECT_FALSE(WriteWaveFile(missingFolder.c_str(), format, "abc", 3));
    EXPECT_FALSE(ConvertRawPcm((folder + "absent.pcm").c_str(), (folder + "absent.wav").c_str(), format));
    EXPECT_FALSE(fileExists(folder + "absent.wav"));
    removeTree(folder);
}
