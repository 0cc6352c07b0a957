#include <gtest/gtest.h>
#include <windows.h>

#include <dshow.h>

#include <string>

#include "ComPtr.h"
#include "DirectShowDevice.h"
#include "DshowSamples.h"
#include "MediaFiles.h"
#include "Ole.h"
#include "OutsideEngines.h"
#include "TestPaths.h"

namespace {

// Waits, with a generous limit, until the graph's position reaches seconds.
bool positionReaches(DirectShowDevice& device, double seconds)
{
    for (int i = 0; i < 300; ++i) {
        double position = 0;
        if (device.getPositionExact(&position) && position >= seconds)
            return true;
        Sleep(50);
    }
    return false;
}

template <class T>
bool graphInterface(DirectShowDevice& device, REFIID iid, ComPtr<T>& out)
{
    ComPtr<IGraphBuilder> graph;
    return device.graph(graph.out()) && out.queryFrom(graph.get(), iid);
}

class DirectShow : public ::testing::Test {
protected:
    void TearDown() override { device.close(); }
    DirectShowDevice device;
};

TEST_F(DirectShow, OpensAudioFileAndReportsItsStreams)
{
    REQUIRE_DSHOW_SAMPLE(path, "dshow-pcm.wav");
    ASSERT_TRUE(device.canCreateGraph());
    ASSERT_TRUE(device.open(path.c_str()));
    EXPECT_TRUE(device.hasAudio());
    EXPECT_TRUE(device.canMute());
    EXPECT_FALSE(device.hasVideo());
    LONG width = -1, height = -1;
    EXPECT_TRUE(device.getVideoSize(&width, &height));
    EXPECT_EQ(0, width);
    EXPECT_EQ(0, height);
    LONG seconds = 0;
    double exact = 0;
    EXPECT_TRUE(device.getLength(&seconds));
    EXPECT_EQ(4, seconds);
    EXPECT_TRUE(device.getLengthExact(&exact));
    EXPECT_NEAR(4.0, exact, 0.05);
    EXPECT_FALSE(device.isPlaying());
    EXPECT_FALSE(device.isWindowsMediaGraph());
    EXPECT_FALSE(device.isDvdOpen());
}

TEST_F(DirectShow, ClosingReleasesTheGraphAndForgetsTheFile)
{
    REQUIRE_DSHOW_SAMPLE(path, "dshow-pcm.wav");
    ASSERT_TRUE(device.open(path.c_str()));
    ComPtr<IGraphBuilder> graph;
    ASSERT_TRUE(device.graph(graph.out()));
    EXPECT_TRUE(device.close());
    EXPECT_FALSE(device.close());
    // Only the reference handed out is left.
    graph->AddRef();
    EXPECT_EQ(1u, graph->Release());

    ComPtr<IGraphBuilder> none;
    EXPECT_FALSE(device.graph(none.out()));
    char** names = nullptr;
    EXPECT_EQ(0u, device.filterNames(&names));
    EXPECT_EQ(nullptr, names);
    LONG seconds = 77;
    EXPECT_FALSE(device.getLength(&seconds));
    EXPECT_EQ(77, seconds);
    EXPECT_FALSE(device.getVideoSize(&seconds, &seconds));
    EXPECT_FALSE(device.play(FALSE));
    EXPECT_FALSE(device.seek(1));
    EXPECT_EQ(-1, device.sourceFilterIndex());
}

TEST_F(DirectShow, RefusesWhatItCannotRender)
{
    EXPECT_FALSE(device.open(nullptr));
    std::string folder = makeTempFolder();
    EXPECT_FALSE(device.open((folder + "missing.wav").c_str()));
    const char text[] = "just some words\r\n";
    ASSERT_TRUE(writeBytes(folder + "words.dat", text, sizeof text - 1));
    EXPECT_FALSE(device.open((folder + "words.dat").c_str()));
    // A name longer than a path may be would name another file once cut.
    std::string tooLong = folder + std::string(300, 'a') + ".wav";
    EXPECT_FALSE(device.open(tooLong.c_str()));
    EXPECT_FALSE(device.probe((folder + "missing.wav").c_str()));
    ComPtr<IGraphBuilder> graph;
    EXPECT_FALSE(device.graph(graph.out()));
    removeTree(folder);
}

TEST_F(DirectShow, ProbeLeavesNothingOpen)
{
    REQUIRE_DSHOW_SAMPLE(path, "dshow-tone.mp3");
    EXPECT_TRUE(device.probe(path.c_str()));
    ComPtr<IGraphBuilder> graph;
    EXPECT_FALSE(device.graph(graph.out()));
    EXPECT_FALSE(device.close());
}

TEST_F(DirectShow, EveryKindOfSampleOpensWithItsStreams)
{
    struct Sample {
        const char* name;
        BOOL audio;
        BOOL video;
    };
    const Sample samples[] = {{"dshow-adpcm.wav", TRUE, FALSE},    {"dshow-tone.mp3", TRUE, FALSE},
                              {"dshow-mpeg1.mpg", TRUE, TRUE},     {"dshow-rle.avi", FALSE, TRUE},
                              {"dshow-rle-sound.avi", TRUE, TRUE}, {"dshow-movie.mov", TRUE, TRUE}};
    int opened = 0;
    for (const Sample& sample : samples) {
        std::string path = dshowSample(sample.name);
        if (!fileExists(path))
            continue;
        ++opened;
        SCOPED_TRACE(sample.name);
        ASSERT_TRUE(device.open(path.c_str()));
        EXPECT_EQ(sample.audio, device.hasAudio());
        EXPECT_EQ(sample.audio, device.canMute());
        EXPECT_EQ(sample.video, device.hasVideo());
        LONG seconds = -1;
        EXPECT_TRUE(device.getLength(&seconds));
        EXPECT_GE(seconds, 2);
        EXPECT_TRUE(device.close());
    }
    if (!opened)
        GTEST_SKIP() << "no samples (tools/make-dshow-media.sh writes them)";
}

TEST_F(DirectShow, ListsFiltersAndFindsTheSourceFilter)
{
    REQUIRE_DSHOW_SAMPLE(path, "dshow-rle-sound.avi");
    ASSERT_TRUE(device.open(path.c_str()));
    char** names = nullptr;
    UINT count = device.filterNames(&names);
    ASSERT_GE(count, 3u);
    int source = device.sourceFilterIndex();
    ASSERT_GE(source, 0);
    ASSERT_LT(source, (int)count);

    // The source filter reads the file, whatever the platform named it.
    ComPtr<IBaseFilter> filter;
    ComPtr<IFileSourceFilter> fileSource;
    ASSERT_TRUE(device.sourceFilter(nullptr, filter.out()));
    ASSERT_TRUE(fileSource.queryFrom(filter.get(), IID_IFileSourceFilter));
    LPOLESTR current = nullptr;
    ASSERT_TRUE(SUCCEEDED(fileSource->GetCurFile(&current, nullptr)));
    char currentPath[MAX_PATH] = {};
    WideCharToMultiByte(CP_ACP, 0, current, -1, currentPath, MAX_PATH, nullptr, nullptr);
    ole32::CoTaskMemFree(current);
    EXPECT_STRCASEEQ(path.c_str(), currentPath);

    // Its name is the one listed at its index.
    ComPtr<IGraphBuilder> graph;
    ComPtr<IBaseFilter> byName;
    WCHAR wideName[256];
    MultiByteToWideChar(CP_ACP, 0, names[source], -1, wideName, 256);
    ASSERT_TRUE(device.graph(graph.out()));
    ASSERT_TRUE(SUCCEEDED(graph->FindFilterByName(wideName, byName.out())));
    EXPECT_EQ(filter.get(), byName.get());
    DirectShowDevice::freeFilterNames(names, count);

    EXPECT_FALSE(device.sourceFilter(dshowSample("dshow-pcm.wav").c_str(), filter.out()));
    EXPECT_EQ(nullptr, filter.get());
    EXPECT_FALSE(device.isWindowsMediaGraph());

    // Looking at the filters kept no reference to the graph.
    fileSource.reset();
    byName.reset();
    EXPECT_TRUE(device.close());
    graph->AddRef();
    EXPECT_EQ(1u, graph->Release());
}

TEST_F(DirectShow, PlaysPausesAndStops)
{
    REQUIRE_DSHOW_SAMPLE(path, "dshow-pcm.wav");
    ASSERT_TRUE(device.open(path.c_str()));
    ASSERT_TRUE(device.play(FALSE));
    EXPECT_TRUE(device.isPlaying());
    EXPECT_TRUE(positionReaches(device, 0.5));
    ASSERT_TRUE(device.play(TRUE));
    EXPECT_FALSE(device.isPlaying());
    LONG position = -1;
    EXPECT_TRUE(device.getPosition(&position));
    EXPECT_GE(position, 0);
    // Stop acts on a running graph only.
    EXPECT_FALSE(device.stop());
    ASSERT_TRUE(device.play(FALSE));
    EXPECT_TRUE(device.stop());
    EXPECT_FALSE(device.isPlaying());
}

// The player's tick thread, which never initialised COM, reads the position
// of the graph that the user-interface thread runs.
DWORD WINAPI readPositions(void* argument)
{
    DirectShowDevice& device = *static_cast<DirectShowDevice*>(argument);
    LONG seconds = -1;
    for (int i = 0; i < 300; ++i) {
        if (device.getPosition(&seconds) && seconds >= 1)
            return (DWORD)seconds;
        Sleep(50);
    }
    return 0;
}

TEST_F(DirectShow, PositionIsReadFromAnotherThreadWhilePlaying)
{
    REQUIRE_DSHOW_SAMPLE(path, "dshow-pcm.wav");
    ASSERT_TRUE(device.open(path.c_str()));
    ASSERT_TRUE(device.play(FALSE));
    HANDLE ticker = CreateThread(nullptr, 0, readPositions, &device, 0, nullptr);
    ASSERT_NE(nullptr, ticker);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(ticker, 60000));
    DWORD seconds = 0;
    GetExitCodeThread(ticker, &seconds);
    CloseHandle(ticker);
    EXPECT_GE(seconds, 1u);
    EXPECT_TRUE(device.stop());
}

TEST_F(DirectShow, SeekWhilePausedStaysPausedThenRunsFromThere)
{
    REQUIRE_DSHOW_SAMPLE(path, "dshow-pcm.wav");
    ASSERT_TRUE(device.open(path.c_str()));
    ASSERT_TRUE(device.play(TRUE));
    ASSERT_TRUE(device.seek(2));
    EXPECT_FALSE(device.isPlaying());
    double position = 0;
    EXPECT_TRUE(device.getPositionExact(&position));
    EXPECT_NEAR(2.0, position, 0.1);
    ASSERT_TRUE(device.seekExact(2.5));
    EXPECT_TRUE(device.getPositionExact(&position));
    EXPECT_NEAR(2.5, position, 0.1);
    ASSERT_TRUE(device.play(FALSE));
    EXPECT_TRUE(positionReaches(device, 2.7));
    LONG seconds = 0;
    EXPECT_TRUE(device.getPosition(&seconds));
    EXPECT_GE(seconds, 2);
}

TEST_F(DirectShow, RateIsKeptAndAppliedAtPlay)
{
    REQUIRE_DSHOW_SAMPLE(path, "dshow-pcm.wav");
    double rate = 0;
    LONG percent = 0;
    EXPECT_TRUE(device.getRate(&rate));
    EXPECT_EQ(1.0, rate);
    EXPECT_TRUE(device.setRatePercent(29));
    EXPECT_TRUE(device.getRatePercent(&percent));
    EXPECT_EQ(29, percent);
    // A rate the graph refuses at every play is not taken.
    EXPECT_FALSE(device.setRate(0.0));
    EXPECT_FALSE(device.setRate(-1.0));
    EXPECT_TRUE(device.getRatePercent(&percent));
    EXPECT_EQ(29, percent);

    // The graph takes the rate at play. (Wine accepts it and plays at the normal speed.)
    EXPECT_TRUE(device.setRatePercent(150));
    ASSERT_TRUE(device.open(path.c_str()));
    ASSERT_TRUE(device.play(FALSE));
    EXPECT_TRUE(device.isPlaying());
    EXPECT_TRUE(device.getRate(&rate));
    EXPECT_EQ(1.5, rate);
    device.setRate(1.0);
}

TEST_F(DirectShow, MuteSilencesAndRestoresTheVolumeFoundAtOpen)
{
    REQUIRE_DSHOW_SAMPLE(path, "dshow-tone.mp3");
    ASSERT_TRUE(device.open(path.c_str()));
    ComPtr<IBasicAudio> audio;
    ASSERT_TRUE(graphInterface(device, IID_IBasicAudio, audio));
    long volume = 0;
    ASSERT_TRUE(SUCCEEDED(audio->get_Volume(&volume)));
    const long before = volume;
    EXPECT_NE(-10000, before);
    ASSERT_TRUE(device.setMute(TRUE));
    ASSERT_TRUE(SUCCEEDED(audio->get_Volume(&volume)));
    EXPECT_EQ(-10000, volume);
    ASSERT_TRUE(device.setMute(FALSE));
    ASSERT_TRUE(SUCCEEDED(audio->get_Volume(&volume)));
    EXPECT_EQ(before, volume);
}

TEST_F(DirectShow, SilentVideoReportsNoSoundAndCannotMute)
{
    REQUIRE_DSHOW_SAMPLE(path, "dshow-rle.avi");
    ASSERT_TRUE(device.open(path.c_str()));
    EXPECT_FALSE(device.hasAudio());
    EXPECT_FALSE(device.canMute());
    EXPECT_FALSE(device.setMute(TRUE));
    EXPECT_TRUE(device.hasVideo());
    LONG width = 0, height = 0;
    EXPECT_TRUE(device.getVideoSize(&width, &height));
    EXPECT_EQ(64, width);
    EXPECT_EQ(48, height);
    ASSERT_TRUE(device.play(FALSE));
    EXPECT_TRUE(positionReaches(device, 0.3));
    EXPECT_TRUE(device.stop());
}

TEST_F(DirectShow, DvdAttemptFallsBackToTheFilterGraph)
{
    REQUIRE_DSHOW_SAMPLE(path, "dshow-pcm.wav");
    device.setDvdEnabled(TRUE);
    EXPECT_TRUE(device.dvdEnabled());
    ASSERT_TRUE(device.open(path.c_str()));
    EXPECT_FALSE(device.isDvdOpen());
    EXPECT_TRUE(device.hasAudio());
    EXPECT_TRUE(device.close());
    device.setDvdEnabled(FALSE);
}

// The video window of the graph becomes a child of a window of ours.
class DirectShowVideo : public DirectShow {
protected:
    void SetUp() override
    {
        owner = CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(nullptr, owner);
        ShowWindow(owner, SW_SHOWNA);
    }
    void TearDown() override
    {
        device.close();
        DestroyWindow(owner);
    }

    // Where the graph's window lies in the owner's client area.
    void expectPlace(long left, long top, long width, long height)
    {
        HWND video = FindWindowExA(owner, nullptr, nullptr, nullptr);
        ASSERT_NE(nullptr, video);
        RECT place;
        GetWindowRect(video, &place);
        MapWindowPoints(HWND_DESKTOP, owner, (POINT*)&place, 2);
        EXPECT_EQ(left, place.left);
        EXPECT_EQ(top, place.top);
        EXPECT_EQ(width, place.right - place.left);
        EXPECT_EQ(height, place.bottom - place.top);
    }

    HWND owner = nullptr;
};

TEST_F(DirectShowVideo, AttachesPlacesShowsAndDetaches)
{
    REQUIRE_DSHOW_SAMPLE(path, "dshow-rle.avi");
    ASSERT_TRUE(device.open(path.c_str()));
    ComPtr<IVideoWindow> window;
    ASSERT_TRUE(graphInterface(device, IID_IVideoWindow, window));
    long visible = OATRUE;
    ASSERT_TRUE(SUCCEEDED(window->get_Visible(&visible)));
    EXPECT_EQ(OAFALSE, visible);

    ASSERT_TRUE(device.attachVideoWindow(owner, owner, WS_CHILD | WS_CLIPSIBLINGS, 0));
    OAHWND attached = 0;
    ASSERT_TRUE(SUCCEEDED(window->get_Owner(&attached)));
    EXPECT_EQ((OAHWND)owner, attached);

    ASSERT_TRUE(device.setVideoWindowRect(10, 20, 64, 48));
    expectPlace(10, 20, 64, 48);
    ASSERT_TRUE(device.moveVideo(5, 6));
    expectPlace(5, 6, 64, 48);
    const POINT point = {30, 40};
    ASSERT_TRUE(device.moveVideoTo(&point));
    expectPlace(30, 40, 64, 48);
    const RECT rect = {1, 2, 129, 98};
    ASSERT_TRUE(device.setVideoRect(&rect));
    expectPlace(1, 2, 128, 96);
    // Wine reports a child video window's left and top in screen
    // coordinates, so only the new size is the same everywhere.
    ASSERT_TRUE(device.resizeVideo(64, 48));
    ComPtr<IVideoWindow> sized;
    long width = 0, height = 0;
    ASSERT_TRUE(graphInterface(device, IID_IVideoWindow, sized));
    EXPECT_TRUE(SUCCEEDED(sized->get_Width(&width)) && SUCCEEDED(sized->get_Height(&height)));
    EXPECT_EQ(64, width);
    EXPECT_EQ(48, height);
    EXPECT_FALSE(device.moveVideoTo(nullptr));
    EXPECT_FALSE(device.setVideoRect(nullptr));

    ASSERT_TRUE(device.showVideo(TRUE));
    ASSERT_TRUE(SUCCEEDED(window->get_Visible(&visible)));
    EXPECT_EQ(OATRUE, visible);
    ASSERT_TRUE(device.showVideo(FALSE));
    ASSERT_TRUE(SUCCEEDED(window->get_Visible(&visible)));
    EXPECT_EQ(OAFALSE, visible);

    device.detachVideoWindow();
    ASSERT_TRUE(SUCCEEDED(window->get_Owner(&attached)));
    EXPECT_EQ(0, attached);
}

TEST_F(DirectShowVideo, CloseHidesAndGivesBackTheWindow)
{
    REQUIRE_DSHOW_SAMPLE(path, "dshow-mpeg1.mpg");
    ASSERT_TRUE(device.open(path.c_str()));
    ComPtr<IVideoWindow> window;
    ASSERT_TRUE(graphInterface(device, IID_IVideoWindow, window));
    ASSERT_TRUE(device.attachVideoWindow(owner, owner, WS_CHILD, 0));
    ASSERT_TRUE(device.showVideo(TRUE));
    ASSERT_TRUE(device.play(FALSE));
    EXPECT_TRUE(positionReaches(device, 0.3));
    EXPECT_TRUE(device.close());
    OAHWND attached = 1;
    long visible = OATRUE;
    EXPECT_TRUE(SUCCEEDED(window->get_Owner(&attached)));
    EXPECT_EQ(0, attached);
    EXPECT_TRUE(SUCCEEDED(window->get_Visible(&visible)));
    EXPECT_EQ(OAFALSE, visible);
}

TEST(DirectShowCategories, ListsVideoCompressorsWithNames)
{
    DirectShowDevice device;
    UINT count = 0;
    IMoniker** monikers = device.enumerateCategory(CLSID_VideoCompressorCategory, &count);
    ASSERT_NE(nullptr, monikers);
    ASSERT_GT(count, 0u);
    for (UINT i = 0; i < count; ++i) {
        BSTR name = device.friendlyName(monikers[i]);
        LPOLESTR display = device.displayName(monikers[i]);
        EXPECT_NE(nullptr, name);
        ASSERT_NE(nullptr, display);
        // The display name leads back to the same device.
        ComPtr<IBindCtx> context;
        ComPtr<IMoniker> parsed;
        ULONG eaten = 0;
        ASSERT_TRUE(SUCCEEDED(ole32::CreateBindCtx(0, context.out())));
        EXPECT_TRUE(SUCCEEDED(ole32::MkParseDisplayName(context.get(), display, &eaten, parsed.out())));
        EXPECT_EQ(S_OK, parsed->IsEqual(monikers[i]));
        oleaut32::SysFreeString(name);
        ole32::CoTaskMemFree(display);
    }
    DirectShowDevice::releaseMonikers(monikers, count);
    EXPECT_EQ(nullptr, device.friendlyName(nullptr));
    EXPECT_EQ(nullptr, device.displayName(nullptr));
}

TEST(DirectShowLength, Mp3LengthComesFromVbmp3WhenThatIsPresent)
{
    REQUIRE_DSHOW_SAMPLE(path, "dshow-tone.mp3");
    DirectShowDevice device;
    double exact = 0;
    ASSERT_TRUE(device.open(path.c_str()));
    EXPECT_TRUE(device.getLengthExact(&exact));
    EXPECT_NEAR(4.07, exact, 0.05);
    device.close();

    // The stand-in counts one second per 16000 bytes, unlike the graph.
    ASSERT_TRUE(useVbmp3Double());
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    const LONG expected = (LONG)(GetFileSize(file, nullptr) / 16000);
    CloseHandle(file);
    ASSERT_TRUE(device.open(path.c_str()));
    LONG seconds = -1;
    EXPECT_TRUE(device.getLength(&seconds));
    EXPECT_EQ(expected, seconds);
    EXPECT_TRUE(device.getLengthExact(&exact));
    EXPECT_EQ((double)expected, exact);
    device.close();

    // A file that is not MPEG audio keeps the graph's length.
    REQUIRE_DSHOW_SAMPLE(wave, "dshow-pcm.wav");
    ASSERT_TRUE(device.open(wave.c_str()));
    EXPECT_TRUE(device.getLengthExact(&exact));
    EXPECT_NEAR(4.0, exact, 0.05);
    useVbmp3Double(false);
}

// Runs in the variants where OLE32 or DirectShow is switched off.
TEST(DirectShowUnavailable, EveryOperationFailsCleanly)
{
    if (libraryLoads("ole32.dll") && libraryLoads("quartz.dll"))
        GTEST_SKIP() << "OLE32 and DirectShow are present (the _noole and _noquartz variants run this)";
    REQUIRE_DSHOW_SAMPLE(path, "dshow-pcm.wav");
    DirectShowDevice device;
    EXPECT_FALSE(device.canCreateGraph());
    EXPECT_FALSE(device.open(path.c_str()));
    EXPECT_FALSE(device.probe(path.c_str()));
    EXPECT_FALSE(device.play(FALSE));
    EXPECT_FALSE(device.isPlaying());
    EXPECT_FALSE(device.close());
    char** names = nullptr;
    EXPECT_EQ(0u, device.filterNames(&names));
    if (!libraryLoads("ole32.dll")) {
        UINT count = 5;
        EXPECT_EQ(nullptr, device.enumerateCategory(CLSID_VideoCompressorCategory, &count));
        EXPECT_EQ(0u, count);
        EXPECT_FALSE(device.canCreateDvdGraph());
    }
}

} // namespace
