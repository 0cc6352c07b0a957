#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "DirectMusicDevice.h"
#include "DshowSamples.h"
#include "MediaFiles.h"
#include "TestPaths.h"

namespace {

typedef std::vector<unsigned char> Bytes;

// A standard MIDI file of one track with one note; headerLength > 6 pads the header.
Bytes standardMidi(unsigned headerLength = 6, const char* trackTag = "MTrk")
{
    Bytes file = {'M', 'T', 'h', 'd', (unsigned char)(headerLength >> 24), (unsigned char)(headerLength >> 16),
                  (unsigned char)(headerLength >> 8), (unsigned char)headerLength, 0, 0, 0, 1, 0, 96};
    file.resize(8 + headerLength < file.size() ? file.size() : 8 + headerLength);
    const unsigned char events[] = {0, 0x90, 60, 100, 96, 0x80, 60, 0, 0, 0xFF, 0x2F, 0};
    file.insert(file.end(), trackTag, trackTag + 4);
    file.insert(file.end(), {0, 0, 0, (unsigned char)sizeof events});
    file.insert(file.end(), events, events + sizeof events);
    return file;
}

Bytes riff(const char* form)
{
    Bytes file = {'R', 'I', 'F', 'F', 4, 0, 0, 0};
    file.insert(file.end(), form, form + 4);
    return file;
}

class DirectMusic : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = makeTempFolder();
        midiPath = folder + "tune.mid";
        ASSERT_TRUE(writeBytes(midiPath, standardMidi()));
    }
    void TearDown() override
    {
        device.close();
        removeTree(folder);
    }

    bool probeBytes(const Bytes& bytes)
    {
        std::string path = folder + "probe.bin";
        return writeBytes(path, bytes) && device.probe(path.c_str());
    }

    DirectMusicDevice device;
    std::string folder;
    std::string midiPath;
};

TEST_F(DirectMusic, ProbeTakesStandardAndRiffMidiFilesOnly)
{
    EXPECT_TRUE(probeBytes(standardMidi()));
    EXPECT_TRUE(probeBytes(standardMidi(10)));
    EXPECT_FALSE(probeBytes(standardMidi(6, "MTrx")));
    EXPECT_TRUE(probeBytes(riff("RMID")));
    EXPECT_TRUE(probeBytes(riff("MIDS")));
    EXPECT_FALSE(probeBytes(riff("WAVE")));
    // A header length that reaches past the end, or wraps around, refuses.
    Bytes huge = standardMidi();
    huge[4] = huge[5] = huge[6] = 0xFF;
    huge[7] = 0xF8;
    EXPECT_FALSE(probeBytes(huge));
    Bytes shortHeader = standardMidi();
    shortHeader.resize(11);
    EXPECT_FALSE(probeBytes(shortHeader));
    EXPECT_FALSE(device.probe((folder + "missing.mid").c_str()));
    EXPECT_FALSE(device.probe(nullptr));
    // The probe opens nothing.
    EXPECT_FALSE(device.isPlaying());
}

TEST_F(DirectMusic, OpenLoadsTheSegmentFromTheFilesOwnFolder)
{
    EXPECT_TRUE(device.canCreate());
    char elsewhere[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, elsewhere);
    ASSERT_TRUE(SetCurrentDirectoryA(besideTests("").c_str()));
    BOOL opened = device.open(midiPath.c_str());
    SetCurrentDirectoryA(elsewhere);
    ASSERT_TRUE(opened);
    // A loaded segment counts as playing, and the lengths are known after play only.
    EXPECT_TRUE(device.isPlaying());
    LONG musicTime = 0;
    LONGLONG referenceTime = 0;
    EXPECT_TRUE(device.getLengthMusicTime(&musicTime));
    EXPECT_EQ(-1, musicTime);
    EXPECT_TRUE(device.getLengthReferenceTime(&referenceTime));
    EXPECT_EQ(-1, referenceTime);
    // Creating a trial performance leaves the open one alone.
    EXPECT_TRUE(device.canCreate());
    EXPECT_TRUE(device.isPlaying());
}

TEST_F(DirectMusic, RelativeNameIsTakenFromTheCurrentFolder)
{
    char elsewhere[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, elsewhere);
    ASSERT_TRUE(SetCurrentDirectoryA(folder.c_str()));
    BOOL opened = device.open("tune.mid");
    SetCurrentDirectoryA(elsewhere);
    EXPECT_TRUE(opened);
}

TEST_F(DirectMusic, PlayStartsFromTheBeginningAndFillsTheLengths)
{
    ASSERT_TRUE(device.open(midiPath.c_str()));
    // The pause flag is not used: there is no pause.
    ASSERT_TRUE(device.play(TRUE));
    LONG length = -5, position = -5;
    LONGLONG referenceLength = -5, referencePosition = -5;
    EXPECT_TRUE(device.getLengthMusicTime(&length));
    EXPECT_GE(length, 0);
    EXPECT_TRUE(device.getLengthReferenceTime(&referenceLength));
    EXPECT_NE(-5, referenceLength);
    EXPECT_TRUE(device.getPositionMusicTime(&position));
    EXPECT_TRUE(device.getPositionReferenceTime(&referencePosition));
    EXPECT_FALSE(device.getPositionMusicTime(nullptr));
    ASSERT_TRUE(device.play(FALSE));
    EXPECT_TRUE(device.stop());
    EXPECT_TRUE(device.isPlaying());
}

TEST_F(DirectMusic, CloseForgetsTheSegment)
{
    ASSERT_TRUE(device.open(midiPath.c_str()));
    ASSERT_TRUE(device.play(FALSE));
    EXPECT_TRUE(device.close());
    EXPECT_TRUE(device.close());
    EXPECT_FALSE(device.isPlaying());
    EXPECT_FALSE(device.play(FALSE));
    EXPECT_FALSE(device.stop());
    LONG musicTime = 7;
    LONGLONG referenceTime = 7;
    EXPECT_FALSE(device.getLengthMusicTime(&musicTime));
    EXPECT_FALSE(device.getPositionMusicTime(&musicTime));
    EXPECT_FALSE(device.getLengthReferenceTime(&referenceTime));
    EXPECT_FALSE(device.getPositionReferenceTime(&referenceTime));
    EXPECT_EQ(7, musicTime);
    EXPECT_EQ(7, referenceTime);
}

TEST_F(DirectMusic, OpenRefusesWhatTheLoaderCannotFind)
{
    EXPECT_FALSE(device.open(nullptr));
    EXPECT_FALSE(device.open((folder + "missing.mid").c_str()));
    EXPECT_FALSE(device.isPlaying());
    // A failed open after a good one leaves nothing loaded.
    ASSERT_TRUE(device.open(midiPath.c_str()));
    EXPECT_FALSE(device.open((folder + "missing.mid").c_str()));
    EXPECT_FALSE(device.isPlaying());
}

TEST_F(DirectMusic, HasNoVideoSeekOrRate)
{
    ASSERT_TRUE(device.open(midiPath.c_str()));
    EXPECT_TRUE(device.isAvailable());
    EXPECT_TRUE(device.hasAudio());
    EXPECT_FALSE(device.hasVideo());
    EXPECT_FALSE(device.canMute());
    EXPECT_FALSE(device.seek(1));
    EXPECT_FALSE(device.setRate(1.5));
    LONG seconds = 0;
    EXPECT_FALSE(device.getLength(&seconds));
    EXPECT_FALSE(device.getPosition(&seconds));
}

// Runs in the variant where OLE32 is switched off.
TEST_F(DirectMusic, WithoutOleNothingOpens)
{
    if (libraryLoads("ole32.dll"))
        GTEST_SKIP() << "OLE32 is present (the _noole32 variant runs this)";
    EXPECT_FALSE(device.canCreate());
    EXPECT_FALSE(device.open(midiPath.c_str()));
    EXPECT_TRUE(device.probe(midiPath.c_str()));
    EXPECT_FALSE(device.isPlaying());
}

} // namespace
