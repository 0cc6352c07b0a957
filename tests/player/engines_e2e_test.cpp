#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "DshowSamples.h"
#include "MediaFiles.h"
#include "PlayerKeyBackup.h"
#include "PlayerRun.h"

// PLAYER.EXE under Wine choosing its engines for real media written by sox
// and ffmpeg, watched from outside: which file is current while the count of
// started files grows, and the process ending after its list. Each test
// starts from a fresh user's settings in the player's real registry key and
// leaves the key as it found it.
namespace {

// Opening a movie through Wine's MCI MPEG device alone can take seconds.
const DWORD Generous = 180000;

// One sample of each kind: WAVE PCM and MS ADPCM, MP3, MPEG-1, MS-RLE AVI
// without and with sound, QuickTime.
const char* const everyKind[] = {"dshow-pcm.wav", "dshow-adpcm.wav",     "dshow-tone.mp3", "dshow-mpeg1.mpg",
                                 "dshow-rle.avi", "dshow-rle-sound.avi", "dshow-movie.mov"};

class EnginesE2E : public ::testing::Test {
protected:
    void SetUp() override
    {
        killRunningPlayers();
        // A fresh user, with DirectShow as the standard engine.
        ASSERT_TRUE(key.clear());
        ASSERT_TRUE(key.setNumber("UseDirectShow", 1));
    }
    void TearDown() override
    {
        run.watchToEnd(0);
        killRunningPlayers();
    }

    void runToEnd(const std::vector<std::string>& arguments)
    {
        ASSERT_TRUE(run.start(arguments));
        ASSERT_TRUE(run.watchToEnd(Generous)) << "the player did not end\n" << run.story();
    }

    void useOrder(const std::vector<const char*>& entries)
    {
        ASSERT_TRUE(key.setNumber("UseAdvancedConfiguration", 1));
        for (size_t i = 0; i < entries.size(); ++i) {
            char name[8];
            wsprintfA(name, "%03u", (unsigned)i);
            ASSERT_TRUE(key.setText(name, entries[i], "Order"));
        }
    }

    void disable(const char* engineOrDevice) { ASSERT_TRUE(key.setNumber(engineOrDevice, 1, "Device")); }

    PlayerKeyBackup key;
    PlayerRun run;
};

// With the default settings every kind plays whole through DirectShow, its
// end is found, and the player ends after it.
class EachKindWhole : public EnginesE2E, public ::testing::WithParamInterface<const char*> {};

TEST_P(EachKindWhole, PlaysToItsEndWithTheDefaultSettings)
{
    REQUIRE_DSHOW_SAMPLE(file, GetParam());
    runToEnd({file});
    EXPECT_TRUE(run.sawPlaying(file, 1)) << run.story();
    EXPECT_EQ(1u, run.startedFiles()) << run.story();
}

INSTANTIATE_TEST_SUITE_P(Samples, EachKindWhole,
                         ::testing::ValuesIn(everyKind),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             std::string name;
                             for (const char* c = info.param; *c; ++c)
                                 name += isalnum((unsigned char)*c) ? *c : '_';
                             return name;
                         });

// "-Seconds1" and the sample of every kind; empty when one is missing, which
// is then named.
std::vector<std::string> everyKindForASecond(std::string* missing)
{
    std::vector<std::string> arguments = {"-Seconds1"};
    for (const char* name : everyKind) {
        arguments.push_back(dshowSample(name));
        if (!fileExists(arguments.back())) {
            *missing = arguments.back();
            return {};
        }
    }
    return arguments;
}

// One DirectShow engine takes the kinds one after another, each graph
// replacing the one before.
TEST_F(EnginesE2E, TheDefaultSettingsPlayAMixedListInOrder)
{
    std::string missing;
    std::vector<std::string> arguments = everyKindForASecond(&missing);
    if (arguments.empty())
        GTEST_SKIP() << "no sample " << missing << " (the build writes it through tools/make-dshow-media.sh)";
    runToEnd(arguments);
    for (DWORD i = 1; i < arguments.size(); ++i)
        EXPECT_TRUE(run.sawPlaying(arguments[i], i)) << arguments[i] << "\n" << run.story();
    EXPECT_EQ(arguments.size() - 1, run.startedFiles()) << run.story();
}

// MCI first: the waves and AVIs go to MCI's own devices, the others to
// Wine's MCI MPEG device, and what MCI cannot open goes on to DirectShow.
TEST_F(EnginesE2E, TheDeviceOrderPlaysEveryKindInTurn)
{
    std::string missing;
    std::vector<std::string> arguments = everyKindForASecond(&missing);
    if (arguments.empty())
        GTEST_SKIP() << "no sample " << missing << " (the build writes it through tools/make-dshow-media.sh)";
    useOrder({"MCI", "MCIUnknown", "DirectShow", "DirectShowUnknown"});
    runToEnd(arguments);
    for (DWORD i = 1; i < arguments.size(); ++i)
        EXPECT_TRUE(run.sawPlaying(arguments[i], i)) << arguments[i] << "\n" << run.story();
    EXPECT_EQ(arguments.size() - 1, run.startedFiles()) << run.story();
}

// MP3, MPEG and QuickTime are not known media: entries for known media
// alone pass them over, and the wave after them plays.
TEST_F(EnginesE2E, AnOrderForKnownMediaAloneSkipsTheOthers)
{
    REQUIRE_DSHOW_SAMPLE(mp3, "dshow-tone.mp3");
    REQUIRE_DSHOW_SAMPLE(mpeg, "dshow-mpeg1.mpg");
    REQUIRE_DSHOW_SAMPLE(movie, "dshow-movie.mov");
    REQUIRE_DSHOW_SAMPLE(pcm, "dshow-pcm.wav");
    useOrder({"MCI", "DirectShow"});
    runToEnd({"-Seconds1", mp3, mpeg, movie, pcm});
    EXPECT_TRUE(run.sawPlaying(pcm, 1)) << run.story();
    EXPECT_EQ(1u, run.startedFiles()) << run.story();
}

TEST_F(EnginesE2E, AnOrderForUnknownMediaAloneLeavesAWaveUnplayed)
{
    REQUIRE_DSHOW_SAMPLE(pcm, "dshow-pcm.wav");
    useOrder({"MCIUnknown"});
    runToEnd({pcm});
    EXPECT_EQ(0u, run.startedFiles()) << run.story();
}

// The device order switched on but never saved: nothing is tried, and
// Repeat does not loop over a list that played nothing.
TEST_F(EnginesE2E, AnEmptyDeviceOrderPlaysNothingEvenWithRepeat)
{
    REQUIRE_DSHOW_SAMPLE(pcm, "dshow-pcm.wav");
    ASSERT_TRUE(key.setNumber("UseAdvancedConfiguration", 1));
    runToEnd({"-Repeat", pcm});
    EXPECT_EQ(0u, run.startedFiles()) << run.story();
}

// An engine word on the command line replaces the device order of the
// settings for the rest of the run.
TEST_F(EnginesE2E, AnEngineWordSetsTheDeviceOrderAside)
{
    REQUIRE_DSHOW_SAMPLE(pcm, "dshow-pcm.wav");
    REQUIRE_DSHOW_SAMPLE(adpcm, "dshow-adpcm.wav");
    useOrder({"MCIUnknown"});
    runToEnd({"-Seconds1", pcm, "-TryByDirectShow", adpcm});
    EXPECT_TRUE(run.sawPlaying(adpcm, 1)) << run.story();
    EXPECT_EQ(1u, run.startedFiles()) << run.story();
}

// "Device" 1 makes an entry inert: the MP3, which only that entry would
// take, is skipped without holding up the list.
TEST_F(EnginesE2E, AFileOnlyADisabledEngineTakesIsSkipped)
{
    REQUIRE_DSHOW_SAMPLE(pcm, "dshow-pcm.wav");
    REQUIRE_DSHOW_SAMPLE(mp3, "dshow-tone.mp3");
    REQUIRE_DSHOW_SAMPLE(movie, "dshow-rle-sound.avi");
    useOrder({"DirectShow", "DirectShowUnknown", "MCI"});
    disable("DirectShowUnknown");
    runToEnd({"-Seconds1", pcm, mp3, movie});
    EXPECT_TRUE(run.sawPlaying(pcm, 1)) << run.story();
    EXPECT_TRUE(run.sawPlaying(movie, 2)) << run.story();
    EXPECT_EQ(2u, run.startedFiles()) << run.story();
}

// An entry naming an MCI device opens every file there directly: with
// DirectShow disabled the waves reach the waveaudio device, and the AVI,
// which waveaudio cannot open, is skipped.
TEST_F(EnginesE2E, AnMciDeviceEntryTakesOnlyWhatThatDeviceOpens)
{
    REQUIRE_DSHOW_SAMPLE(pcm, "dshow-pcm.wav");
    REQUIRE_DSHOW_SAMPLE(movie, "dshow-rle.avi");
    REQUIRE_DSHOW_SAMPLE(adpcm, "dshow-adpcm.wav");
    useOrder({"DirectShow", "waveaudio"});
    disable("DirectShow");
    runToEnd({"-Seconds1", pcm, movie, adpcm});
    EXPECT_TRUE(run.sawPlaying(pcm, 1)) << run.story();
    EXPECT_TRUE(run.sawPlaying(adpcm, 2)) << run.story();
    EXPECT_EQ(2u, run.startedFiles()) << run.story();
}

TEST_F(EnginesE2E, ADisabledMciDeviceEntryIsInert)
{
    REQUIRE_DSHOW_SAMPLE(pcm, "dshow-pcm.wav");
    useOrder({"waveaudio"});
    disable("waveaudio");
    runToEnd({pcm});
    EXPECT_EQ(0u, run.startedFiles()) << run.story();
}

// The player started without DirectShow's library, as on a system that
// lacks it. Wine reads WINEDLLOVERRIDES from the environment a program was
// started with on the host side, so the variant engines_e2e_test_noquartz
// runs these with quartz switched off for the test and the player alike.
class WithoutDirectShow : public EnginesE2E {
protected:
    void SetUp() override
    {
        if (!getenv("ENGINES_E2E_NO_QUARTZ"))
            GTEST_SKIP() << "runs as engines_e2e_test_noquartz";
        ASSERT_FALSE(libraryLoads("quartz.dll"));
        EnginesE2E::SetUp();
    }
};

// DirectShow is the standard engine but missing: the fixed rules fall back to
// MCI, which plays the wave; Wine's MCI MPEG device is built on DirectShow,
// so the MP3 is skipped.
TEST_F(WithoutDirectShow, TheDefaultSettingsFallBackToMci)
{
    REQUIRE_DSHOW_SAMPLE(pcm, "dshow-pcm.wav");
    REQUIRE_DSHOW_SAMPLE(mp3, "dshow-tone.mp3");
    runToEnd({"-Seconds1", mp3, pcm});
    EXPECT_TRUE(run.sawPlaying(pcm, 1)) << run.story();
    EXPECT_EQ(1u, run.startedFiles()) << run.story();
}

// Wine's MCI MPEG device is built on DirectShow, so the MP3 goes with it.
TEST_F(WithoutDirectShow, MciAsTheStandardEnginePlaysTheWaves)
{
    REQUIRE_DSHOW_SAMPLE(pcm, "dshow-pcm.wav");
    REQUIRE_DSHOW_SAMPLE(mp3, "dshow-tone.mp3");
    REQUIRE_DSHOW_SAMPLE(adpcm, "dshow-adpcm.wav");
    ASSERT_TRUE(key.setNumber("UseDirectShow", 0));
    runToEnd({"-Seconds1", pcm, mp3, adpcm});
    EXPECT_TRUE(run.sawPlaying(pcm, 1)) << run.story();
    EXPECT_TRUE(run.sawPlaying(adpcm, 2)) << run.story();
    EXPECT_EQ(2u, run.startedFiles()) << run.story();
}

// A disabled MCI device is kept out of the MCI engine as well. (With
// DirectShow present, Wine's MCI MPEG device would take the wave instead.)
TEST_F(WithoutDirectShow, ADisabledMciDeviceIsKeptOutOfTheMciEngine)
{
    REQUIRE_DSHOW_SAMPLE(pcm, "dshow-pcm.wav");
    REQUIRE_DSHOW_SAMPLE(movie, "dshow-rle.avi");
    useOrder({"MCI"});
    disable("waveaudio");
    runToEnd({"-Seconds1", pcm, movie});
    EXPECT_TRUE(run.sawPlaying(movie, 1)) << run.story();
    EXPECT_EQ(1u, run.startedFiles()) << run.story();
}

TEST_F(WithoutDirectShow, TheDeviceOrderFallsBackToMci)
{
    REQUIRE_DSHOW_SAMPLE(pcm, "dshow-pcm.wav");
    useOrder({"DirectShow", "MCI"});
    runToEnd({"-Seconds1", pcm});
    EXPECT_TRUE(run.sawPlaying(pcm, 1)) << run.story();
}

// Wine cannot play MIDI with any engine; whatever each setting makes of the
// file, the wave after it plays.
struct MidiSetting {
    const char* name;
    void (*apply)(const PlayerKeyBackup& key);
};

class MidiFirst : public EnginesE2E, public ::testing::WithParamInterface<MidiSetting> {};

TEST_P(MidiFirst, TheNextFilePlays)
{
    const std::string song = dshowSample("song.mid");
    if (!fileExists(song))
        GTEST_SKIP() << "no sample " << song << " (the build writes it through tools/make-sample-media.sh)";
    REQUIRE_DSHOW_SAMPLE(pcm, "dshow-pcm.wav");
    GetParam().apply(key);
    runToEnd({"-Seconds2", song, pcm});
    DWORD started = run.startedFiles();
    EXPECT_LE(1u, started) << run.story();
    EXPECT_TRUE(run.sawPlaying(pcm, started)) << run.story();
}

const MidiSetting midiSettings[] = {
    {"Defaults", [](const PlayerKeyBackup&) {}},
    {"DirectMusicForMidi", [](const PlayerKeyBackup& key) { key.setNumber("UseDirectMusicForMidi", 1); }},
    {"MciStandard", [](const PlayerKeyBackup& key) { key.setNumber("UseDirectShow", 0); }},
    {"DeviceOrder",
     [](const PlayerKeyBackup& key) {
         key.setNumber("UseAdvancedConfiguration", 1);
         key.setText("000", "DirectMusic", "Order");
         key.setText("001", "MCI", "Order");
         key.setText("002", "DirectShow", "Order");
     }},
};

INSTANTIATE_TEST_SUITE_P(Settings, MidiFirst, ::testing::ValuesIn(midiSettings),
                         [](const ::testing::TestParamInfo<MidiSetting>& info) { return info.param.name; });

} // namespace
