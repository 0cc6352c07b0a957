// The main window playing a real WAVE file through MCI: open and play, stop,
// pause and resume, mute, end of play with and without RepeatEach, exit.
#include <windows.h>

#include <commctrl.h>
#include <digitalv.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "ControlBar.h"
#include "MainWindow.h"
#include "MainWindowState.h"
#include "MediaContext.h"
#include "MediaDevice.h"
#include "AviFiles.h"
#include "DshowSamples.h"
#include "MediaFiles.h"
#include "OutsideEngines.h"
#include "Ole.h"
#include "PlayOptions.h"
#include "PlayQueue.h"
#include "PlayerCore.h"
#include "PlayerSettings.h"
#include "TestPaths.h"
#include "Winmm.h"
#include "resource.h"

namespace {

class MainPlaybackTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        instanceHandle = GetModuleHandleA(nullptr);
        ASSERT_TRUE(ole32::OleInitialize());
        savedOptions = playOptions;
        // MCI for every file, nothing else
        playOptions.flags = (playOptions.flags | FlagTryByMci) &
                            ~(FlagDirectShowStandard | FlagAdvancedOrder | FlagTryByExternalEngine |
                              FlagTryByDirectMusic | FlagRepeat | FlagRepeatEach);
        playOptions.milliseconds = -1;
        folder = makeTempFolder();
        wave = folder + "tone.wav";
        ASSERT_TRUE(writePcmWave(wave, 4000));
        mediaContext = new MediaContext;
        playDoneEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        window = createMainWindow();
        ASSERT_NE(nullptr, window);
        // settings load at creation; the engine bits stay as the test set them
        playOptions.flags = (playOptions.flags | FlagTryByMci) &
                            ~(FlagDirectShowStandard | FlagAdvancedOrder | FlagTryByExternalEngine |
                              FlagTryByDirectMusic | FlagRepeat | FlagRepeatEach);
        playerSettings.hideWhenDeviceHasNoVideo = true;
    }

    void TearDown() override
    {
        if (IsWindow(window)) {
            SendMessageA(window, WM_COMMAND, CommandStop, 0);
            DestroyWindow(window);
        }
        delete mediaContext;
        mediaContext = nullptr;
        CloseHandle(playDoneEvent);
        playDoneEvent = nullptr;
        playOptions = savedOptions;
        playerSettings = PlayerSettings();
        removeTree(folder);
    }

    LRESULT play(const std::string& path)
    {
        char name[MAX_PATH] = {};
        lstrcpynA(name, path.c_str(), MAX_PATH);
        return SendMessageA(window, WM_COMMAND, CommandPlay, reinterpret_cast<LPARAM>(name));
    }

    // The bar posts its pause requests.
    static void pumpPosted()
    {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&message);
    }

    // Runs the window until the queue thread would be released (generous
    // time-out against hangs).
    bool waitForRelease()
    {
        DWORD end = GetTickCount() + 20000;
        while (!released() && GetTickCount() < end) {
            pumpPosted();
            MsgWaitForMultipleObjects(1, &playDoneEvent, FALSE, 100, QS_ALLINPUT);
        }
        return released();
    }

    bool released() const { return WaitForSingleObject(playDoneEvent, 0) == WAIT_OBJECT_0; }

    bool buttonChecked(int id) const { return IsDlgButtonChecked(controlBarDialog(), id) == BST_CHECKED; }
    bool buttonEnabled(int id) const { return IsWindowEnabled(GetDlgItem(controlBarDialog(), id)) != FALSE; }

    std::wstring menuText(UINT id)
    {
        HMENU menu = LoadMenuW(instanceHandle, MAKEINTRESOURCEW(IDR_MENU));
        HMENU popup = GetSubMenu(menu, 0);
        preparePopupMenu(window, popup);
        wchar_t text[128] = {};
        GetMenuStringW(popup, id, text, 128, MF_BYCOMMAND);
        lastMenuState = GetMenuState(popup, id, MF_BYCOMMAND);
        DestroyMenu(menu);
        return text;
    }

    PlayOptions savedOptions;
    std::string folder;
    std::string wave;
    HWND window = nullptr;
    UINT lastMenuState = 0;
};

TEST_F(MainPlaybackTest, PlayStartsTheFileAndStopReleasesTheQueue)
{
    ASSERT_NE(0, play(wave));
    EXPECT_TRUE(playback.deviceOpen);
    EXPECT_TRUE(playback.openEngine & OpenedByMci);
    EXPECT_TRUE(playback.currentDevice->isPlaying());
    EXPECT_FALSE(playback.deviceStopped);
    EXPECT_EQ(4, playback.lengthSeconds);
    char title[MAX_PATH] = {};
    GetWindowTextA(window, title, MAX_PATH);
    EXPECT_STREQ("tone.wav", title);
    // audio without video keeps the window hidden
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_TRUE(buttonChecked(IDC_PLAY_BUTTON));
    EXPECT_TRUE(buttonEnabled(IDC_PAUSE_BUTTON));
    EXPECT_TRUE(buttonEnabled(IDC_STOP_BUTTON));
    EXPECT_FALSE(released());

    EXPECT_EQ(1, SendMessageA(window, WM_COMMAND, CommandStop, 0));
    EXPECT_FALSE(playback.deviceOpen);
    EXPECT_TRUE(playback.deviceStopped);
    EXPECT_TRUE(buttonChecked(IDC_STOP_BUTTON));
    EXPECT_FALSE(buttonEnabled(IDC_PLAY_BUTTON));
    EXPECT_FALSE(buttonEnabled(IDC_PAUSE_BUTTON));
    EXPECT_TRUE(released());
}

// An ID3v1 tag after the RIFF data names the track.
bool nameTrack(const std::string& path, const char* name)
{
    unsigned char tag[128] = {'T', 'A', 'G'};
    memcpy(tag + 3, name, strlen(name));
    HANDLE file = CreateFileA(path.c_str(), FILE_APPEND_DATA, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    DWORD written = 0;
    bool appended = file != INVALID_HANDLE_VALUE && WriteFile(file, tag, sizeof tag, &written, nullptr);
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
    return appended && written == sizeof tag;
}

TEST_F(MainPlaybackTest, TheTrackNameBecomesTheTitleWhenAsked)
{
    ASSERT_TRUE(nameTrack(wave, "Evening Tone"));

    char title[MAX_PATH] = {};
    playerSettings.showTrackName = true;
    ASSERT_NE(0, play(wave));
    GetWindowTextA(window, title, MAX_PATH);
    EXPECT_STREQ("Evening Tone", title);
    GetDlgItemTextA(controlPanelDialog(), IDC_TRACK, title, MAX_PATH);
    EXPECT_STREQ("Evening Tone", title);
    SendMessageA(window, WM_COMMAND, CommandStop, 0);

    playerSettings.showTrackName = false;
    ASSERT_NE(0, play(wave));
    GetWindowTextA(window, title, MAX_PATH);
    EXPECT_STREQ("tone.wav", title);
}

// The MCI device that the last command went to, as the player's engine sent it.
MCIDEVICEID lastMciDevice = 0;

MCIERROR recordMciDevice(MCIDEVICEID device, UINT message, DWORD_PTR flags, DWORD_PTR params)
{
    if (device)
        lastMciDevice = device;
    return winmm::mciSendCommandA(device, message, flags, params);
}

// The picture of an AVI played through MCI appears at its native size in the
// video window, the bar directly below, whether the file is stored
// bottom-up, top-down (as ffmpeg writes it) or run-length encoded; MCI's own
// window never shows.
TEST_F(MainPlaybackTest, AVideoPlaysInTheVideoWindowAtItsSize)
{
    std::string bottomUp = folder + "colours.avi";
    std::string topDown = folder + "topdown.avi";
    ASSERT_TRUE(writeUncompressedAvi(bottomUp, 320, 240, 30, 10));
    ASSERT_TRUE(writeUncompressedAvi(topDown, 320, 240, 30, 10, true));
    struct Case {
        std::string file;
        LONG width, height;
    };
    std::vector<Case> cases = {{bottomUp, 320, 240}, {topDown, 320, 240}};
    std::string rle = dshowSample("dshow-rle.avi");
    if (fileExists(rle))
        cases.push_back({rle, 64, 48});
    playerSettings.adjustSizeWhenDeviceHasVideo = true;
    playerSettings.hideAlways = false;
    mediaContext->mciDevice().setCommandSender(recordMciDevice);
    HWND video = FindWindowExA(window, nullptr, "PlayerVideoClass", nullptr);
    ASSERT_NE(nullptr, video);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        ASSERT_NE(0, play(c.file));
        EXPECT_TRUE(IsWindowVisible(window));
        EXPECT_TRUE(IsWindowVisible(video));
        EXPECT_FALSE(IsWindowVisible(controlPanelDialog()));
        HWND engineWindow = FindWindowA(nullptr, "Wine MCI-AVI player");
        EXPECT_FALSE(engineWindow && IsWindowVisible(engineWindow));
        RECT client, videoRect, bar;
        GetClientRect(video, &client);
        // a main window is never narrower than its caption's buttons
        EXPECT_TRUE(client.right == c.width || (c.width < 100 && client.right > c.width)) << client.right;
        EXPECT_EQ(c.height, client.bottom);
        GetWindowRect(video, &videoRect);
        GetWindowRect(controlBarDialog(), &bar);
        EXPECT_EQ(videoRect.bottom, bar.top);

        MCI_DGV_STATUS_PARMSA status = {};
        status.dwItem = MCI_DGV_STATUS_HWND;
        ASSERT_EQ(0u, winmm::mciSendCommandA(lastMciDevice, MCI_STATUS, MCI_STATUS_ITEM, (DWORD_PTR)&status));
        EXPECT_EQ(video, reinterpret_cast<HWND>(status.dwReturn));
        MCI_DGV_RECT_PARMS where = {};
        ASSERT_EQ(0u, winmm::mciSendCommandA(lastMciDevice, MCI_WHERE, MCI_DGV_WHERE_DESTINATION, (DWORD_PTR)&where));
        EXPECT_EQ(c.width, where.rc.right);
        EXPECT_EQ(c.height, where.rc.bottom);

        // a resized window offers the video's size again, and the command restores it
        menuText(IDM_VIDEO_SIZE);
        EXPECT_EQ(client.right == c.width, (lastMenuState & MF_GRAYED) != 0);
        SetWindowPos(window, nullptr, 0, 0, 500, 500, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        menuText(IDM_VIDEO_SIZE);
        EXPECT_FALSE(lastMenuState & MF_GRAYED);
        SendMessageA(window, WM_COMMAND, IDM_VIDEO_SIZE, 0);
        GetClientRect(video, &client);
        EXPECT_EQ(c.height, client.bottom);
        SendMessageA(window, WM_COMMAND, CommandStop, 0);
    }
    mediaContext->mciDevice().setCommandSender(nullptr);
}

// A new file leaves the window as the user put it (minimised stays
// minimised, maximised stays maximised, hidden is shown) and the user's own
// window keeps the focus; the topmost state follows the setting both ways.
// A stopped video leaves no size to restore, nor to fit a new display to.
TEST_F(MainPlaybackTest, ANewFileKeepsTheWindowsStateAndTheUsersFocus)
{
    std::string avi = folder + "colours.avi";
    ASSERT_TRUE(writeUncompressedAvi(avi, 320, 240, 30, 10));
    HWND user = CreateWindowExA(0, "STATIC", "user", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 600, 500, 200, 100,
                                nullptr, nullptr, nullptr, nullptr);
    playerSettings.hideWhenDeviceHasNoVideo = false;
    playerSettings.adjustSizeWhenDeviceHasVideo = true;
    const DWORD mci = FlagTryByMci, dshow = FlagDirectShowStandard;
    struct Case { const char* what; int show; const std::string& file; DWORD engine; bool topMost; };
    // from minimised straight to maximised the display's late answers may
    // restore the window: the maximised rows come first
    const Case cases[] = {
        {"hidden, audio", SW_HIDE, wave, mci, true},
        {"maximised, audio", SW_SHOWMAXIMIZED, wave, mci, false},
        {"maximised, MCI video", SW_SHOWMAXIMIZED, avi, mci, true},
        {"maximised, DirectShow video", SW_SHOWMAXIMIZED, avi, dshow, false},
        {"minimised, audio", SW_SHOWMINNOACTIVE, wave, mci, true},
        {"minimised, MCI video", SW_SHOWMINNOACTIVE, avi, mci, false},
        {"minimised, DirectShow video", SW_SHOWMINNOACTIVE, avi, dshow, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        playOptions.flags = (playOptions.flags & ~(mci | dshow)) | c.engine;
        playerSettings.showOnTopMost = c.topMost;
        // the display's answers to the test's own changes come in first
        ShowWindow(window, c.show);
        pumpPosted();
        SetForegroundWindow(user);
        pumpPosted();
        ASSERT_EQ(user, GetForegroundWindow());
        ASSERT_EQ(c.show == SW_SHOWMAXIMIZED, IsZoomed(window) != FALSE);
        ASSERT_NE(0, play(c.file));
        pumpPosted();
        EXPECT_EQ(user, GetForegroundWindow());
        EXPECT_TRUE(IsWindowVisible(window));
        EXPECT_EQ(c.show == SW_SHOWMINNOACTIVE, IsIconic(window) != FALSE);
        EXPECT_EQ(c.show == SW_SHOWMAXIMIZED, IsZoomed(window) != FALSE);
        EXPECT_EQ(c.topMost, (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0);
        SendMessageA(window, WM_COMMAND, CommandStop, 0);
    }
    DestroyWindow(user);

    ShowWindow(window, SW_SHOWNOACTIVATE);
    SetWindowPos(window, nullptr, 0, 0, 500, 500, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    menuText(IDM_VIDEO_SIZE);
    EXPECT_TRUE(lastMenuState & MF_GRAYED);
    SendMessageA(window, WM_COMMAND, IDM_VIDEO_SIZE, 0);
    SendMessageA(window, WM_DISPLAYCHANGE, 32,
                 MAKELPARAM(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)));
    RECT outer;
    GetWindowRect(window, &outer);
    EXPECT_EQ(500, outer.bottom - outer.top);
}

// A second thread looks at the modal dialog, chooses the fifteenth item and
// closes it; the first item (Archival Location) is empty.
TEST_F(MainPlaybackTest, TheDetailDialogShowsTheTrackItemsByName)
{
    ASSERT_TRUE(nameTrack(wave, "Evening Tone"));
    ASSERT_NE(0, play(wave));
    std::string seen;
    std::thread observer([&seen] {
        HWND dialog = nullptr;
        for (DWORD end = GetTickCount() + 20000; !dialog && GetTickCount() < end; Sleep(20))
            dialog = FindWindowA("#32770", "tone.wav");
        HWND combo = GetDlgItem(dialog, IDC_DETAIL_ITEMS);
        char text[256] = {};
        seen = std::to_string(SendMessageA(combo, CB_GETCOUNT, 0, 0)) + " items, " +
               std::to_string(SendMessageA(combo, CB_GETCURSEL, 0, 0)) + " chosen: \"";
        GetDlgItemTextA(dialog, IDC_DETAIL_TEXT, text, sizeof text);
        SendMessageA(combo, CB_GETLBTEXT, 14, reinterpret_cast<LPARAM>(text + lstrlenA(text)));
        SendMessageA(combo, CB_SETCURSEL, 14, 0);
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_DETAIL_ITEMS, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
        seen += std::string(text) + "\": ";
        GetDlgItemTextA(dialog, IDC_DETAIL_TEXT, text, sizeof text);
        seen += text;
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
    SendMessageA(controlPanelDialog(), WM_COMMAND, MAKEWPARAM(IDC_DETAIL, BN_CLICKED), 0);
    observer.join();
    EXPECT_EQ("27 items, 0 chosen: \"Name of Subject\": Evening Tone", seen);
}

TEST_F(MainPlaybackTest, TheTickThreadEndsAFinishedMedium)
{
    std::string shortWave = folder + "short.wav";
    ASSERT_TRUE(writePcmWave(shortWave, 1000));
    ASSERT_NE(0, play(shortWave));
    // generous: the medium lasts one second, the stall test needs two more ticks
    EXPECT_TRUE(waitForRelease());
    EXPECT_FALSE(playback.deviceOpen);
}

TEST_F(MainPlaybackTest, DraggingTheSeekBarHoldsTheTickThreadOffUntilItEnds)
{
    playerSettings.trackbarTicks = TicksSeconds;
    ASSERT_NE(0, play(wave));
    HWND bar = controlBarDialog();
    HWND seek = GetDlgItem(bar, IDC_SEEK_BAR);
    ASSERT_TRUE(IsWindowEnabled(seek));
    EXPECT_EQ(4, SendMessageA(seek, TBM_GETRANGEMAX, 0, 0));
    SendMessageA(seek, TBM_SETPOS, TRUE, 2);
    SendMessageA(bar, WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, 2), reinterpret_cast<LPARAM>(seek));
    EXPECT_TRUE(playback.deviceStopped);
    LONG position = 0;
    EXPECT_TRUE(playback.currentDevice->getPosition(&position));
    EXPECT_GE(position, 2);
    SendMessageA(bar, WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0), reinterpret_cast<LPARAM>(seek));
    EXPECT_FALSE(playback.deviceStopped);

    // after a drag of a paused device the tick thread follows whatever the
    // device does now (MCI plays on from the sought place)
    SendMessageA(window, WM_COMMAND, IDM_PAUSE, 0);
    ASSERT_TRUE(playback.deviceStopped);
    SendMessageA(bar, WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, 1), reinterpret_cast<LPARAM>(seek));
    SendMessageA(bar, WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0), reinterpret_cast<LPARAM>(seek));
    BOOL playing = playback.currentDevice->isPlaying();
    EXPECT_EQ(!playing, playback.deviceStopped);
    EXPECT_TRUE(buttonChecked(playing ? IDC_PLAY_BUTTON : IDC_PAUSE_BUTTON));
}

TEST_F(MainPlaybackTest, DirectShowPlaysWhatMciIsNotAskedFor)
{
    playOptions.flags = (playOptions.flags & ~FlagTryByMci) | FlagDirectShowStandard;
    ASSERT_NE(0, play(wave));
    EXPECT_TRUE(playback.openEngine & OpenedByDirectShow);
    HWND list = GetDlgItem(controlPanelDialog(), IDC_FILTER_LIST);
    EXPECT_GT(SendMessageA(list, LB_GETCOUNT, 0, 0), 0);
    EXPECT_NE(LB_ERR, SendMessageA(list, LB_FINDSTRINGEXACT, -1, reinterpret_cast<LPARAM>("Media File")));
    // none of Wine's filters names a property page
    HWND property = GetDlgItem(controlPanelDialog(), IDC_FILTER_PROPERTY);
    for (LRESULT i = 0; i < SendMessageA(list, LB_GETCOUNT, 0, 0); ++i) {
        SendMessageA(list, LB_SETCURSEL, i, 0);
        SendMessageA(controlPanelDialog(), WM_COMMAND, MAKEWPARAM(IDC_FILTER_LIST, LBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(list));
        EXPECT_FALSE(IsWindowEnabled(property)) << i;
    }

    // the end of a DirectShow medium arrives as the registered message
    SendMessageA(window, RegisterWindowMessageA("PlayerDirectShowMessage"), 0, 0);
    EXPECT_FALSE(playback.deviceOpen);
    EXPECT_TRUE(released());
    // the list is kept for the stopped file and cleared at the next open
    ASSERT_NE(0, play(wave));
    playOptions.flags = (playOptions.flags | FlagTryByMci) & ~FlagDirectShowStandard;
    SendMessageA(window, WM_COMMAND, CommandStop, 0);
    ASSERT_NE(0, play(wave));
    EXPECT_TRUE(playback.openEngine & OpenedByMci);
    EXPECT_EQ(0, SendMessageA(list, LB_GETCOUNT, 0, 0));
}

TEST_F(MainPlaybackTest, ClicksOnTheVideoWindowAndTheBarPauseAndStop)
{
    ASSERT_NE(0, play(wave));
    HWND video = FindWindowExA(window, nullptr, "PlayerVideoClass", nullptr);
    SendMessageA(video, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_FALSE(playback.currentDevice->isPlaying());
    SendMessageA(video, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(playback.currentDevice->isPlaying());

    // the bar's pause button asks for a pause only while the device plays
    HWND bar = controlBarDialog();
    SendMessageA(bar, WM_COMMAND, MAKEWPARAM(IDC_PAUSE_BUTTON, BN_CLICKED), 0);
    pumpPosted();
    EXPECT_FALSE(playback.currentDevice->isPlaying());
    SendMessageA(bar, WM_COMMAND, MAKEWPARAM(IDC_PAUSE_BUTTON, BN_CLICKED), 0);
    pumpPosted();
    EXPECT_FALSE(playback.currentDevice->isPlaying());
    SendMessageA(bar, WM_COMMAND, MAKEWPARAM(IDC_PLAY_BUTTON, BN_CLICKED), 0);
    pumpPosted();
    EXPECT_TRUE(playback.currentDevice->isPlaying());

    SendMessageA(video, WM_LBUTTONDBLCLK, 0, MAKELPARAM(5, 5));
    EXPECT_FALSE(playback.deviceOpen);
    EXPECT_TRUE(released());
}

TEST_F(MainPlaybackTest, TheBarsStopButtonStops)
{
    ASSERT_NE(0, play(wave));
    SendMessageA(controlBarDialog(), WM_COMMAND, MAKEWPARAM(IDC_STOP_BUTTON, BN_CLICKED), 0);
    EXPECT_FALSE(playback.deviceOpen);
    EXPECT_TRUE(released());
}

TEST_F(MainPlaybackTest, TheVbmp3EndCallbackEndsTheFileOnTheWindowsThread)
{
    ASSERT_TRUE(useVbmp3Double());
    std::string mp3 = folder + "stub.mp3";
    ASSERT_TRUE(writeMp3Stub(mp3, 1));
    playOptions.flags |= FlagTryByExternalEngine;
    playOptions.externalEngines = ExternalVbmp3;
    ASSERT_NE(0, play(mp3));
    EXPECT_TRUE(playback.openEngine & OpenedByVbmp3);
    // the stand-in reports the end from its own thread when the second is over
    EXPECT_TRUE(waitForRelease());
    EXPECT_FALSE(playback.deviceOpen);
    SendMessageA(window, WM_COMMAND, CommandStop, 0);
    useVbmp3Double(false);
}

TEST_F(MainPlaybackTest, StopForARepeatKeepsTheQueueWaiting)
{
    ASSERT_NE(0, play(wave));
    EXPECT_EQ(1, SendMessageA(window, WM_COMMAND, CommandStop, FlagRepeatEach));
    EXPECT_FALSE(playback.deviceOpen);
    EXPECT_FALSE(released());
}

TEST_F(MainPlaybackTest, AFileNoEngineOpensAnswersZero)
{
    std::string text = folder + "notes.txt";
    ASSERT_TRUE(writeBytes(text, "not a medium", 12));
    EXPECT_EQ(0, play(text));
    EXPECT_FALSE(playback.deviceOpen);
    EXPECT_EQ(0, play(folder + "missing.wav"));
}

TEST_F(MainPlaybackTest, PauseAndResumeToggleTheDeviceAndTheMenuText)
{
    ASSERT_NE(0, play(wave));
    EXPECT_EQ(L"一時停止(&U)\tSPACE", menuText(IDM_PAUSE));

    SendMessageA(window, WM_COMMAND, IDM_PAUSE, 0);
    EXPECT_FALSE(playback.currentDevice->isPlaying());
    EXPECT_TRUE(playback.deviceStopped);
    EXPECT_TRUE(buttonChecked(IDC_PAUSE_BUTTON));
    EXPECT_EQ(L"再開(&U)\tSPACE", menuText(IDM_PAUSE));

    SendMessageA(window, WM_COMMAND, IDM_PAUSE, 0);
    EXPECT_TRUE(playback.currentDevice->isPlaying());
    EXPECT_FALSE(playback.deviceStopped);
    EXPECT_TRUE(buttonChecked(IDC_PLAY_BUTTON));
    EXPECT_FALSE(released());
}

TEST_F(MainPlaybackTest, MuteFollowsWhatTheDeviceCanDo)
{
    ASSERT_NE(0, play(wave));
    menuText(IDM_MUTE);
    if (!playback.canMute) {
        EXPECT_TRUE(lastMenuState & MF_GRAYED);
        SendMessageA(window, WM_COMMAND, IDM_MUTE, 0);
        EXPECT_FALSE(playback.muted);
        return;
    }
    EXPECT_FALSE(lastMenuState & MF_GRAYED);
    SendMessageA(window, WM_COMMAND, IDM_MUTE, 0);
    EXPECT_TRUE(playback.muted);
    menuText(IDM_MUTE);
    EXPECT_TRUE(lastMenuState & MF_CHECKED);
    SendMessageA(window, WM_COMMAND, IDM_MUTE, 0);
    EXPECT_FALSE(playback.muted);
}

TEST_F(MainPlaybackTest, EndOfPlayReleasesTheQueue)
{
    ASSERT_NE(0, play(wave));
    SendMessageA(window, MM_MCINOTIFY, MCI_NOTIFY_SUCCESSFUL, 0);
    EXPECT_FALSE(playback.deviceOpen);
    EXPECT_TRUE(released());
}

TEST_F(MainPlaybackTest, EndOfPlayWithRepeatEachRestartsTheSameFile)
{
    ASSERT_NE(0, play(wave));
    playOptions.flags |= FlagRepeatEach;
    SendMessageA(window, MM_MCINOTIFY, MCI_NOTIFY_SUCCESSFUL, 0);
    EXPECT_TRUE(playback.deviceOpen);
    EXPECT_TRUE(playback.currentDevice->isPlaying());
    EXPECT_FALSE(released());
    char title[MAX_PATH] = {};
    GetWindowTextA(window, title, MAX_PATH);
    EXPECT_STREQ("tone.wav", title);

    // a late report after the user stopped the file restarts nothing
    SendMessageA(window, WM_COMMAND, CommandStop, FlagRepeatEach);
    SendMessageA(window, MM_MCINOTIFY, MCI_NOTIFY_SUCCESSFUL, 0);
    EXPECT_FALSE(playback.deviceOpen);
    EXPECT_FALSE(released());
}

TEST_F(MainPlaybackTest, TheLengthIsCappedAtThePlayTimeLimit)
{
    playOptions.milliseconds = 2000;
    ASSERT_NE(0, play(wave));
    EXPECT_EQ(2, playback.lengthSeconds);
}

TEST_F(MainPlaybackTest, NextStopsTheFileAndKeepsTheQueueWhereItIs)
{
    const char* words[] = {"a.wav", "b.wav"};
    ASSERT_TRUE(playQueue.assign(words, 2));
    playQueue.setPosition(0);
    ASSERT_NE(0, play(wave));
    SendMessageA(window, WM_COMMAND, IDM_NEXT, 0);
    EXPECT_FALSE(playback.deviceOpen);
    EXPECT_TRUE(released());
    EXPECT_EQ(0, playQueue.position());
    EXPECT_FALSE(playQueue.cancelled());
    playQueue.clear();
}

TEST_F(MainPlaybackTest, ExitStopsAndMovesTheQueueToItsEnd)
{
    const char* words[] = {"a.wav", "b.wav", "c.wav"};
    ASSERT_TRUE(playQueue.assign(words, 3));
    playQueue.setPosition(0);
    playOptions.flags |= FlagRepeat;
    ASSERT_NE(0, play(wave));
    SendMessageA(window, WM_COMMAND, IDM_EXIT, 0);
    EXPECT_FALSE(playback.deviceOpen);
    EXPECT_TRUE(released());
    EXPECT_TRUE(playQueue.cancelled());
    EXPECT_EQ(2, playQueue.position());
    EXPECT_FALSE(playOptions.flags & FlagRepeat);
    playQueue.clear();
}

} // namespace
