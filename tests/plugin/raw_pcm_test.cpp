#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "MediaFiles.h"
#include "RawPcm.h"
#include "TestPaths.h"

namespace {

// A disk of diskRoom bytes behind the mmio name "<file>.FUL+<rest>": the
// file of exactly that name is written, and a write past the room fails
// part-way, as on a full disk.
LONG diskRoom;
LRESULT CALLBACK smallDisk(LPSTR info, UINT message, LPARAM a, LPARAM b)
{
    MMIOINFO* mmio = (MMIOINFO*)info;
    HANDLE file = (HANDLE)(UINT_PTR)mmio->adwInfo[0];
    DWORD done = 0;
    if (message == MMIOM_OPEN) {
        file = CreateFileA((const char*)a, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        mmio->adwInfo[0] = (DWORD)(UINT_PTR)file;
        return file == INVALID_HANDLE_VALUE ? MMIOERR_CANNOTOPEN : 0;
    }
    if (message == MMIOM_CLOSE)
        return CloseHandle(file) ? 0 : MMIOERR_CANNOTCLOSE;
    if (message == MMIOM_SEEK)
        return mmio->lDiskOffset = (LONG)SetFilePointer(file, (LONG)a, nullptr, (DWORD)b);
    if (message == MMIOM_READ)
        ReadFile(file, (void*)a, (DWORD)b, &done, nullptr);
    else if (message == MMIOM_WRITE || message == MMIOM_WRITEFLUSH)
        WriteFile(file, (void*)a, (DWORD)std::max(0L, std::min((LONG)b, diskRoom - mmio->lDiskOffset)), &done, nullptr);
    else
        return 0;
    mmio->lDiskOffset += done;
    return message == MMIOM_READ || done == (DWORD)b ? (LRESULT)done : -1;
}

} // namespace

// Raw samples behind a RIFF WAVE header of the given format: an odd count
// gets a pad byte and the sizes say so; a file that cannot be written, wholly
// or part-way, leaves nothing behind.
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

    std::string missingFolder = folder + "none\\x.wav", tooLong = folder + std::string(MAX_PATH, 'a') + ".wav";
    EXPECT_FALSE(WriteWaveFile(missingFolder.c_str(), format, "abc", 3));
    EXPECT_FALSE(WriteWaveFile(tooLong.c_str(), format, "abc", 3));
    EXPECT_FALSE(fileExists(tooLong.substr(0, MAX_PATH - 1)));  // not cut short
    EXPECT_FALSE(ConvertRawPcm((folder + "absent.pcm").c_str(), (folder + "absent.wav").c_str(), format));
    EXPECT_FALSE(fileExists(folder + "absent.wav"));

    // A disk that fills up in the header, amid the samples or at the pad byte,
    // and one with just enough room.
    ASSERT_TRUE(mmioInstallIOProcA(mmioFOURCC('F', 'U', 'L', ' '), smallDisk, MMIO_INSTALLPROC));
    std::vector<unsigned char> samples(20001);
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = (unsigned char)(i * 7);
    writeBytes(folder + "big.pcm", samples);
    const std::string full = folder + "disk.FUL+wave";
    for (LONG room : {0L, 30L, 10000L, 20045L, 20046L}) {
        SCOPED_TRACE(room);
        diskRoom = room;
        bool fits = room >= 44 + 20002;
        EXPECT_EQ(fits, WriteWaveFile(full.c_str(), format, samples.data(), (DWORD)samples.size()));
        EXPECT_EQ(fits ? 44 + 20002u : 0u, readWholeFile(full).size());
        DeleteFileA(full.c_str());
        EXPECT_EQ(fits, ConvertRawPcm((folder + "big.pcm").c_str(), full.c_str(), format));
        EXPECT_EQ(fits, fileExists(full));
        DeleteFileA(full.c_str());
    }
    mmioInstallIOProcA(mmioFOURCC('F', 'U', 'L', ' '), nullptr, MMIO_REMOVEPROC);
    removeTree(folder);
}
