#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "DshowSamples.h"
#include "EngineSelection.h"
#include "MediaContext.h"
#include "MediaFiles.h"
#include "OutsideEngines.h"
#include "RegistryTestKey.h"
#include "TestPaths.h"

namespace {

enum Engine { NoEngine, Mci, SoftMpeg, DirectShow, DirectMusic, Vbmp3 };
enum File { Wave, Mp3Stub, MpegStub, Midi, Unknown, CdTrack };
enum Outcome { NotOpened, Opened, Either };

struct Case {
    const char* name;
    DWORD flags;
    DWORD externalEngines;
    std::vector<const char*> order; // "" leaves that index out
    std::vector<const char*> disabled;
    File file;
    Engine tried;                   // the engine in currentDevice afterwards
    Outcome outcome;
    DWORD externalKind;
    bool softMpegInstalled = false;
    bool mciExcludesWaveaudio = false;
};

std::ostream& operator<<(std::ostream& out, const Case& c) { return out << c.name; }

const DWORD advanced = FlagAdvancedOrder;

const Case cases[] = {
    // Fixed rules.
    {"external VBMP3 takes an MP3", FlagTryByExternalEngine, ExternalVbmp3, {}, {}, Mp3Stub, Vbmp3, Opened, 1},
    {"VBMP3 refuses MPEG and SoftMPEG takes it", FlagTryByExternalEngine, ExternalVbmp3 | ExternalSoftMpeg, {}, {},
     MpegStub, SoftMpeg, Opened, 2, true},
    {"external engines only with 0x1000", FlagDirectShowStandard, ExternalVbmp3 | ExternalSoftMpeg, {}, {},
     Wave, DirectShow, Opened, 0, true},
    {"TryByMci sends a WAVE to MCI", FlagTryByMci, 0, {}, {}, Wave, Mci, Opened, 0},
    {"DirectShow as standard plays a WAVE", FlagDirectShowStandard, 0, {}, {}, Wave, DirectShow, Opened, 0},
    {"DirectShow opens only what its probe takes", FlagTryByMci, 0, {}, {}, Unknown, Mci, NotOpened, 0},
    {"fixed rules ignore the Device values", FlagDirectShowStandard, 0, {}, {"DirectShow"}, Wave, DirectShow,
     Opened, 0},
    {"a CD track goes to MCI without TryByMci", FlagDirectShowStandard, 0, {}, {}, CdTrack, Mci, NotOpened, 0},
    {"TryByDirectMusic takes MIDI before MCI", FlagTryByDirectMusic | FlagTryByMci, 0, {}, {}, Midi, DirectMusic,
     Either, 0},
    {"TryByDirectMusic leaves other files to MCI", FlagTryByDirectMusic | FlagTryByMci, 0, {}, {}, Wave, Mci,
     Opened, 0},
    {"MIDI goes to MCI without TryByDirectMusic", FlagTryByMci, 0, {}, {}, Midi, Mci, Either, 0},
    {"DirectShow refusing the file is the end of the rules", FlagDirectShowStandard, 0, {}, {}, Unknown, NoEngine,
     NotOpened, 0},

    // Device order.
    {"SoftMPEG missing, then MCI takes known media", advanced, 0, {"SoftMPEG", "MCI"}, {}, Wave, Mci, Opened, 2},
    {"MCIUnknown leaves known media alone", advanced, 0, {"MCIUnknown"}, {}, Wave, NoEngine, NotOpened, 0},
    {"MCI and DirectShow leave unknown media alone", advanced, 0, {"MCI", "DirectShow"}, {}, Unknown, NoEngine,
     NotOpened, 0},
    {"MCIUnknown tries unknown media", advanced, 0, {"MCIUnknown"}, {}, Unknown, Mci, NotOpened, 0},
    {"DirectShowUnknown leaves known media alone", advanced, 0, {"DirectShowUnknown", "DirectShow"}, {}, Wave,
     DirectShow, Opened, 0},
    {"a device name opens directly, past the engine's exclusions", advanced, 0, {"waveaudio"}, {}, Wave, Mci,
     Opened, 0, false, true},
    {"cdaudio takes only track files", advanced, 0, {"cdaudio", "DirectShow"}, {}, Wave, DirectShow, Opened, 0},
    {"an unknown name fails at MCI_OPEN and the walk goes on", advanced, 0, {"nosuchdevice", "MCI"}, {}, Wave, Mci,
     Opened, 0},
    {"a disabled device name is skipped", advanced, 0, {"waveaudio", "DirectShow"}, {"waveaudio"}, Wave,
     DirectShow, Opened, 0},
    {"a disabled engine key is inert", advanced, 0, {"DirectShow"}, {"DirectShow"}, Wave, NoEngine, NotOpened, 0},
    {"the VBMP3 entry", advanced, 0, {"VBMP3"}, {}, Mp3Stub, Vbmp3, Opened, 1},
    {"VBMP3 refuses a WAVE, MCI takes it", advanced, 0, {"VBMP3", "MCI"}, {}, Wave, Mci, Opened, 1},
    {"a disabled VBMP3 is not tried", advanced, 0, {"VBMP3"}, {"VBMP3"}, Mp3Stub, NoEngine, NotOpened, 0},
    {"the SoftMPEG entry", advanced, 0, {"SoftMPEG"}, {}, MpegStub, SoftMpeg, Opened, 2, true},
    {"DirectMusic is tried for MIDI only", advanced, 0, {"DirectMusic"}, {}, Wave, NoEngine, NotOpened, 0},
    {"DirectMusic gets a MIDI file", advanced, 0, {"DirectMusic"}, {}, Midi, DirectMusic, Either, 0},
    {"the walk ends at the first missing index", advanced, 0, {"MCIUnknown", "", "DirectShow"}, {}, Wave, NoEngine,
     NotOpened, 0},
    {"no stored order tries nothing", advanced, 0, {}, {}, Wave, NoEngine, NotOpened, 0},
};

class EngineSelectionFiles {
public:
    EngineSelectionFiles() : folder_(makeTempFolder())
    {
        const unsigned char midi[] = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96,
                                      'M', 'T', 'r', 'k', 0, 0, 0, 4, 0, 0xFF, 0x2F, 0};
        const unsigned char unknown[] = {0x8A, 0x13, 0x00, 0xFE, 0x42, 0x99, 0x07, 0x00,
                                         0x5C, 0xE1, 0x00, 0x10, 0x33, 0x00, 0xA4, 0x01};
        const unsigned char track[44] = {'R', 'I', 'F', 'F', 36, 0, 0, 0, 'C', 'D', 'D', 'A', 'f', 'm', 't', ' ',
                                         24, 0, 0, 0, 1, 0, 1, 0};
        ok_ = writePcmWave(path(Wave), 2000) && writeMp3Stub(path(Mp3Stub), 10) &&
              writeMpegStub(path(MpegStub), 10) && writeBytes(path(Midi), midi, sizeof midi) &&
              writeBytes(path(Unknown), unknown, sizeof unknown) && writeBytes(path(CdTrack), track, sizeof track);
    }
    ~EngineSelectionFiles() { removeTree(folder_); }

    bool ok() const { return ok_; }
    std::string path(File file) const
    {
        static const char* const names[] = {"tone.wav", "song.mp3", "movie.mpg", "tune.mid", "data.bin",
                                            "track01.cda"};
        return folder_ + names[file];
    }

private:
    std::string folder_;
    bool ok_ = false;
};

MediaDevice* deviceOf(MediaContext& context, Engine engine)
{
    switch (engine) {
    case Mci: return &context.mciDevice();
    case SoftMpeg: return &context.softMpegDevice();
    case DirectShow: return &context.directShowDevice();
    case DirectMusic: return &context.directMusicDevice();
    case Vbmp3: return &context.vbmp3Device();
    default: return nullptr;
    }
}

void storeOrder(const RegistryStore& store, const std::vector<const char*>& order)
{
    for (size_t i = 0; i < order.size(); ++i) {
        char name[8];
        wsprintfA(name, "%03u", (unsigned)i);
        if (*order[i])
            store.writeText(order[i], name, "Order");
    }
}

class EngineSelectionTest : public ::testing::TestWithParam<Case> {
protected:
    static void SetUpTestSuite()
    {
        useVbmp3Double();
        files = new EngineSelectionFiles;
    }
    static void TearDownTestSuite()
    {
        delete files;
        useVbmp3Double(false);
    }
    void SetUp() override
    {
        ASSERT_TRUE(files->ok());
        savedOptions = playOptions;
    }
    void TearDown() override { playOptions = savedOptions; }

    static EngineSelectionFiles* files;
    PlayOptions savedOptions;
    RegistryTestKey key;
    RegistryStore store{key.path()};
};

EngineSelectionFiles* EngineSelectionTest::files;

TEST_P(EngineSelectionTest, OpensOnTheExpectedEngine)
{
    const Case& c = GetParam();
    std::unique_ptr<SoftMpegInstall> install(c.softMpegInstalled ? new SoftMpegInstall : nullptr);
    MediaContext context;
    char waveaudio[] = "waveaudio";
    char* exclusions[] = {waveaudio};
    if (c.mciExcludesWaveaudio)
        context.mciDevice().setExcludedDevices(exclusions, 1);
    playOptions.flags = c.flags;
    playOptions.externalEngines = c.externalEngines;
    storeOrder(store, c.order);
    for (const char* name : c.disabled)
        setDeviceEnabled(name, false, store);

    EngineSelection selection;
    selection.mciOpened = selection.directShowOpened = selection.directMusicOpened = selection.vbmp3Opened = TRUE;
    std::string file = files->path(c.file);
    BOOL opened = openOnSelectedEngine(context, file.c_str(), selection, store);

    EXPECT_EQ(deviceOf(context, c.tried), selection.currentDevice);
    if (c.outcome != Either)
        EXPECT_EQ(c.outcome == Opened, opened != FALSE);
    EXPECT_EQ(opened && (c.tried == Mci || c.tried == SoftMpeg), selection.mciOpened != FALSE);
    EXPECT_EQ(opened && c.tried == DirectShow, selection.directShowOpened != FALSE);
    EXPECT_EQ(opened && c.tried == DirectMusic, selection.directMusicOpened != FALSE);
    EXPECT_EQ(opened && c.tried == Vbmp3, selection.vbmp3Opened != FALSE);
    EXPECT_EQ(c.externalKind, selection.externalKind);
    if (opened)
        selection.currentDevice->close();
}

INSTANTIATE_TEST_SUITE_P(Cases, EngineSelectionTest, ::testing::ValuesIn(cases));

TEST(EngineSelectionWithoutVbmp3, TheExternalRuleFallsThroughToTheOtherEngines)
{
    useVbmp3Double(false);
    std::string folder = makeTempFolder();
    std::string wave = folder + "tone.wav";
    ASSERT_TRUE(writePcmWave(wave, 500));
    PlayOptions saved = playOptions;
    playOptions.flags = FlagTryByExternalEngine | FlagTryByMci;
    playOptions.externalEngines = ExternalVbmp3;
    MediaContext context;
    EngineSelection selection;
    EXPECT_TRUE(openOnSelectedEngine(context, wave.c_str(), selection));
    EXPECT_EQ(&context.mciDevice(), selection.currentDevice);
    EXPECT_TRUE(selection.mciOpened);
    EXPECT_FALSE(selection.vbmp3Opened);
    EXPECT_EQ((DWORD)ExternalKindVbmp3, selection.externalKind);
    context.mciDevice().close();
    playOptions = saved;
    removeTree(folder);
}

// "UseDirectShow" 0 puts MCI before DirectShow, yet an MP3 that no MCI
// device opens still reaches DirectShow.
TEST(EngineSelectionFixedRules, AnMp3ThatMciCannotOpenStillReachesDirectShow)
{
    REQUIRE_DSHOW_SAMPLE(mp3, "dshow-tone.mp3");
    PlayOptions saved = playOptions;
    playOptions.flags = FlagTryByMci;
    MediaContext context;
    MciDevice& mci = context.mciDevice();
    std::vector<std::string> names;
    char name[256];
    for (UINT i = 0; mci.deviceName(i, name, sizeof name); ++i)
        names.push_back(name);
    names.push_back("ActiveMovie");
    std::vector<char*> excluded;
    for (std::string& n : names)
        excluded.push_back(&n[0]);
    mci.setExcludedDevices(excluded.data(), (UINT)excluded.size());

    EngineSelection selection;
    EXPECT_TRUE(openOnSelectedEngine(context, mp3.c_str(), selection));
    EXPECT_EQ(&context.directShowDevice(), selection.currentDevice);
    EXPECT_TRUE(selection.directShowOpened);
    EXPECT_FALSE(selection.mciOpened);
    context.directShowDevice().close();
    playOptions = saved;
}

TEST(EngineSelectionFile, NoFileOpensNothing)
{
    MediaContext context;
    EngineSelection selection;
    selection.vbmp3Opened = TRUE;
    EXPECT_FALSE(openOnSelectedEngine(context, nullptr, selection));
    EXPECT_FALSE(selection.vbmp3Opened);
    EXPECT_EQ(nullptr, selection.currentDevice);
}

} // namespace
