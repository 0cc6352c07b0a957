// The main window on a real desktop: creation, resources, notification icon,
// popup menu state, non-client rules and the state cursor.
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include <commctrl.h>

#include "ControlBar.h"
#include "DropFileLists.h"
#include "MainWindow.h"
#include "MainWindowState.h"
#include "MediaContext.h"
#include "MixerLines.h"
#include "Ole.h"
#include "PlayOptions.h"
#include "PlayQueue.h"
#include "PlayerCore.h"
#include "PlayerSettings.h"
#include "StateCursor.h"
#include "TrayIcon.h"
#include "resource.h"

namespace {

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        instanceHandle = GetModuleHandleA(nullptr);
        ASSERT_TRUE(ole32::OleInitialize());
        savedFlags = playOptions.flags;
        mediaContext = new MediaContext;
        window = createMainWindow();
        ASSERT_NE(nullptr, window);
    }

    void TearDown() override
    {
        if (IsWindow(window))
            DestroyWindow(window);
        playOptions.flags = savedFlags;
        playerSettings = PlayerSettings();
        pumpMessages();
        delete mediaContext;
        mediaContext = nullptr;
    }

    static void pumpMessages()
    {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }

    static BOOL trayIconExists(HWND owner)
    {
        NOTIFYICONDATAA data = {};
        data.cbSize = sizeof data;
        data.hWnd = owner;
        data.uID = 0;
        data.uFlags = NIF_TIP;
        return Shell_NotifyIconA(NIM_MODIFY, &data);
    }

    static std::wstring itemText(HMENU menu, UINT position)
    {
        wchar_t text[128] = {};
        GetMenuStringW(menu, position, text, 128, MF_BYPOSITION);
        return text;
    }

    static std::wstring itemTextById(HMENU menu, UINT id)
    {
        wchar_t text[128] = {};
        GetMenuStringW(menu, id, text, 128, MF_BYCOMMAND);
        return text;
    }

    // A point on the given part of the window's frame, in screen pixels.
    POINT framePoint(LONG hit) const
    {
        RECT outer;
        GetWindowRect(window, &outer);
        LONG midX = (outer.left + outer.right) / 2;
        LONG midY = (outer.top + outer.bottom) / 2;
        switch (hit) {
        case HTLEFT: return {outer.left + 1, midY};
        case HTRIGHT: return {outer.right - 2, midY};
        case HTTOP: return {midX, outer.top + 1};
        case HTBOTTOM: return {midX, outer.bottom - 2};
        case HTTOPLEFT: return {outer.left + 1, outer.top + 1};
        default: return {outer.right - 2, outer.bottom - 2};
        }
    }

    LRESULT hitTest(POINT point) const
    {
        return SendMessageA(window, WM_NCHITTEST, 0, MAKELPARAM(point.x, point.y));
    }

    HWND window = nullptr;
    DWORD savedFlags = 0;
};

HWND findChildOfClass(HWND parent, const char* className)
{
    return FindWindowExA(parent, nullptr, className, nullptr);
}

TEST_F(MainWindowTest, IsCreatedHiddenWithItsChildrenAndGoneAfterDestruction)
{
    EXPECT_EQ(window, mainWindow);
    EXPECT_FALSE(IsWindowVisible(window));
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    EXPECT_STREQ("PlayerClass", className);
    EXPECT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_WINDOWEDGE);
    LONG style = GetWindowLongA(window, GWL_STYLE);
    EXPECT_EQ(static_cast<LONG>(WS_OVERLAPPEDWINDOW | WS_CLIPSIBLINGS | WS_CLIPCHILDREN),
              style & (WS_OVERLAPPEDWINDOW | WS_CLIPSIBLINGS | WS_CLIPCHILDREN));

    HWND video = findChildOfClass(window, "PlayerVideoClass");
    ASSERT_NE(nullptr, video);
    EXPECT_TRUE(GetWindowLongA(video, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    EXPECT_TRUE(GetClassLongA(video, GCL_STYLE) & CS_DBLCLKS);
    ASSERT_NE(nullptr, controlBarDialog());
    ASSERT_NE(nullptr, controlPanelDialog());
    EXPECT_EQ(window, GetParent(controlBarDialog()));
    EXPECT_EQ(window, GetParent(controlPanelDialog()));

    // the bar lies along the bottom of the client area, the video above it
    RECT client, bar, videoRect;
    GetClientRect(window, &client);
    GetWindowRect(controlBarDialog(), &bar);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&bar), 2);
    GetWindowRect(video, &videoRect);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&videoRect), 2);
    EXPECT_EQ(client.bottom, bar.bottom);
    EXPECT_EQ(client.right, bar.right - bar.left);
    EXPECT_EQ(bar.top, videoRect.bottom);

    EXPECT_TRUE(DestroyWindow(window));
    EXPECT_EQ(nullptr, mainWindow);
    EXPECT_EQ(nullptr, controlBarDialog());
    EXPECT_EQ(nullptr, controlPanelDialog());
}

TEST_F(MainWindowTest, NotificationIconLivesAsLongAsTheWindow)
{
    EXPECT_TRUE(trayIconExists(window));
    DestroyWindow(window);
    EXPECT_FALSE(trayIconExists(window));
}

TEST_F(MainWindowTest, ANewNotificationAreaGetsTheIconAgain)
{
    NOTIFYICONDATAA data = {};
    data.cbSize = sizeof data;
    data.hWnd = window;
    ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &data));
    ASSERT_FALSE(trayIconExists(window));
    SendMessageA(window, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    EXPECT_TRUE(trayIconExists(window));
}

TEST(TrayTip, IsCutAtSixtyThreeBytesBetweenCharacters)
{
    char tip[64];
    std::string latin(100, 'a');
    cutTrayTip(tip, latin.c_str());
    EXPECT_EQ(63u, strlen(tip));
    cutTrayTip(tip, "short");
    EXPECT_STREQ("short", tip);

    // forty double-byte characters of the system code page, when it has them
    std::string wide;
    char encoded[4];
    int size = WideCharToMultiByte(CP_ACP, 0, L"\u3042", 1, encoded, sizeof encoded, nullptr, nullptr);
    if (size != 2 || !IsDBCSLeadByte(static_cast<BYTE>(encoded[0])))
        GTEST_SKIP() << "the system code page has no double-byte characters";
    for (int i = 0; i < 40; ++i)
        wide.append(encoded, 2);
    wide = "x" + wide;
    cutTrayTip(tip, wide.c_str());
    EXPECT_EQ(63u, strlen(tip));
    cutTrayTip(tip, wide.c_str() + 1);
    EXPECT_EQ(62u, strlen(tip));
}

TEST_F(MainWindowTest, UsageIconShowsWhileTheDialogIsOpen)
{
    // the icon answers modifications in both states, and the window survives
    showUsageTrayIcon(TRUE);
    EXPECT_TRUE(trayIconExists(window));
    showUsageTrayIcon(FALSE);
    EXPECT_TRUE(trayIconExists(window));
}

TEST_F(MainWindowTest, MenuHoldsItsItemsInOrderWithTheirTexts)
{
    HMENU menu = LoadMenuW(instanceHandle, MAKEINTRESOURCEW(IDR_MENU));
    ASSERT_NE(nullptr, menu);
    EXPECT_EQ(L"&Player", itemText(menu, 0));
    HMENU popup = GetSubMenu(menu, 0);
    ASSERT_NE(nullptr, popup);
    struct Item {
        UINT id;
        const wchar_t* text;
    };
    const Item expected[] = {
        {IDM_PAUSE, L"一時停止(&U)\tSPACE"},
        {IDM_NEXT, L"次のファイルを再生(&N)\tRETURN"},
        {IDM_MUTE, L"ミュート(&M)"},
        {IDM_SHOW, L"表示(&S)"},
        {IDM_VIDEO_SIZE, L"映像サイズに戻す(&O)"},
        {IDM_REPEAT, L"リピート(&E)"},
        {0, nullptr},
        {IDM_CLIPBOARD_PLAY, L"Clipboardのファイル再生(&F)\tCTRL+V"},
        {IDM_CLIPBOARD_ADD, L"Clipboardのファイル追加(&A)"},
        {0, nullptr},
        {IDM_PROPERTIES, L"プロパティ(&R)"},
        {0, nullptr},
        {IDM_EXIT, L"終了(&X)\tESC/CTRL+X"},
    };
    ASSERT_EQ(static_cast<int>(sizeof expected / sizeof expected[0]), GetMenuItemCount(popup));
    for (UINT i = 0; i < sizeof expected / sizeof expected[0]; ++i) {
        if (!expected[i].text) {
            EXPECT_TRUE(GetMenuState(popup, i, MF_BYPOSITION) & MF_SEPARATOR) << "position " << i;
            continue;
        }
        EXPECT_EQ(expected[i].id, GetMenuItemID(popup, i)) << "position " << i;
        EXPECT_EQ(std::wstring(expected[i].text), itemText(popup, i)) << "position " << i;
    }
    DestroyMenu(menu);
}

TEST_F(MainWindowTest, AcceleratorsMapKeysToCommands)
{
    HACCEL table = LoadAcceleratorsA(instanceHandle, MAKEINTRESOURCEA(IDR_ACCELERATORS));
    ASSERT_NE(nullptr, table);
    ACCEL keys[8] = {};
    int count = CopyAcceleratorTableA(table, keys, 8);
    ASSERT_EQ(5, count);
    struct Expected {
        WORD key;
        BYTE modifiers;
        WORD command;
    };
    const Expected expected[] = {{'V', FVIRTKEY | FCONTROL, IDM_CLIPBOARD_PLAY},
                                 {VK_ESCAPE, FVIRTKEY, IDM_EXIT},
                                 {VK_RETURN, FVIRTKEY, IDM_NEXT},
                                 {VK_SPACE, FVIRTKEY, IDM_PAUSE},
                                 {'X', FVIRTKEY | FCONTROL, IDM_EXIT}};
    for (int i = 0; i < count; ++i) {
        EXPECT_EQ(expected[i].key, keys[i].key) << i;
        EXPECT_EQ(expected[i].modifiers, keys[i].fVirt & ~0x80) << i;
        EXPECT_EQ(expected[i].command, keys[i].cmd) << i;
    }
    DestroyAcceleratorTable(table);
}

TEST_F(MainWindowTest, PopupMenuBeforeAnyFileGreysMuteAndOffersPause)
{
    HMENU menu = LoadMenuW(instanceHandle, MAKEINTRESOURCEW(IDR_MENU));
    HMENU popup = GetSubMenu(menu, 0);
    playerSettings.repeat = true;
    preparePopupMenu(window, popup);
    EXPECT_EQ(L"一時停止(&U)\tSPACE", itemTextById(popup, IDM_PAUSE));
    EXPECT_TRUE(GetMenuState(popup, IDM_MUTE, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_TRUE(GetMenuState(popup, IDM_VIDEO_SIZE, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_TRUE(GetMenuState(popup, IDM_REPEAT, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_FALSE(GetMenuState(popup, IDM_SHOW, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_FALSE(GetMenuState(popup, IDM_PROPERTIES, MF_BYCOMMAND) & MF_GRAYED);
    DestroyMenu(menu);
}

// What the open popup menu showed, read from inside its modal loop.
struct ShownMenu {
    bool seen = false;
    std::wstring pauseText;
    UINT muteState = 0;
};
ShownMenu shownMenu;

void CALLBACK readOpenMenu(HWND, UINT, UINT_PTR, DWORD)
{
    HWND popup = FindWindowA("#32768", nullptr);
    HMENU menu = popup ? reinterpret_cast<HMENU>(SendMessageA(popup, MN_GETHMENU, 0, 0)) : nullptr;
    if (menu) {
        wchar_t text[128] = {};
        GetMenuStringW(menu, IDM_PAUSE, text, 128, MF_BYCOMMAND);
        shownMenu.seen = true;
        shownMenu.pauseText = text;
        shownMenu.muteState = GetMenuState(menu, IDM_MUTE, MF_BYCOMMAND);
    }
    EndMenu();
}

TEST_F(MainWindowTest, RightClickOnTheNotificationIconOpensTheMenu)
{
    shownMenu = ShownMenu();
    UINT_PTR timer = SetTimer(nullptr, 0, 300, readOpenMenu);
    SendMessageA(window, RegisterWindowMessageA("PlayerNotifyMessage"), 0, WM_RBUTTONDOWN);
    KillTimer(nullptr, timer);
    ASSERT_TRUE(shownMenu.seen);
    EXPECT_EQ(L"一時停止(&U)\tSPACE", shownMenu.pauseText);
    EXPECT_TRUE(shownMenu.muteState & MF_GRAYED);
}

TEST_F(MainWindowTest, ClipboardItemsFollowTheClipboardFileList)
{
    HMENU menu = LoadMenuW(instanceHandle, MAKEINTRESOURCEW(IDR_MENU));
    HMENU popup = GetSubMenu(menu, 0);

    emptyClipboard(window);
    preparePopupMenu(window, popup);
    EXPECT_TRUE(GetMenuState(popup, IDM_CLIPBOARD_PLAY, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_TRUE(GetMenuState(popup, IDM_CLIPBOARD_ADD, MF_BYCOMMAND) & MF_GRAYED);

    ASSERT_TRUE(putFileListOnClipboard(window, {"C:\\a.wav"}));
    preparePopupMenu(window, popup);
    EXPECT_FALSE(GetMenuState(popup, IDM_CLIPBOARD_PLAY, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_FALSE(GetMenuState(popup, IDM_CLIPBOARD_ADD, MF_BYCOMMAND) & MF_GRAYED);

    emptyClipboard(window);
    DestroyMenu(menu);
}

TEST_F(MainWindowTest, PasteReplacesTheQueueAndAddAppends)
{
    const char* first[] = {"-NoRepeat"};
    ASSERT_TRUE(playQueue.assign(first, 1));
    ASSERT_TRUE(putFileListOnClipboard(window, {"C:\\one.wav", "C:\\two.wav"}));
    EXPECT_TRUE(SendMessageA(window, WM_COMMAND, IDM_CLIPBOARD_ADD, 0));
    char word[MAX_PATH];
    ASSERT_EQ(3, playQueue.length());
    EXPECT_TRUE(playQueue.wordAt(0, word));
    EXPECT_STREQ("-NoRepeat", word);
    EXPECT_TRUE(playQueue.wordAt(2, word));
    EXPECT_STREQ("C:\\two.wav", word);

    EXPECT_TRUE(SendMessageA(window, WM_COMMAND, IDM_CLIPBOARD_PLAY, 0));
    ASSERT_EQ(2, playQueue.length());
    EXPECT_TRUE(playQueue.wordAt(0, word));
    EXPECT_STREQ("C:\\one.wav", word);
    EXPECT_EQ(-1, playQueue.position());

    emptyClipboard(window);
    EXPECT_FALSE(SendMessageA(window, WM_COMMAND, IDM_CLIPBOARD_PLAY, 0));
    EXPECT_EQ(2, playQueue.length());
    playQueue.clear();
}

TEST_F(MainWindowTest, ShowAndPropertiesToggleTheWindowAndThePanel)
{
    SendMessageA(window, WM_COMMAND, IDM_SHOW, 0);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_FALSE(playerSettings.hideAlways);
    HWND panel = controlPanelDialog();
    BOOL panelBefore = IsWindowVisible(panel);
    SendMessageA(window, WM_COMMAND, IDM_PROPERTIES, 0);
    EXPECT_NE(panelBefore, IsWindowVisible(panel));
    SendMessageA(window, WM_COMMAND, IDM_PROPERTIES, 0);
    EXPECT_EQ(panelBefore, IsWindowVisible(panel));
    SendMessageA(window, WM_COMMAND, IDM_SHOW, 0);
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_TRUE(playerSettings.hideAlways);
}

TEST_F(MainWindowTest, RepeatTogglesTheSettingAndTheLiveBit)
{
    playerSettings.repeat = false;
    playOptions.flags &= ~FlagRepeat;
    SendMessageA(window, WM_COMMAND, IDM_REPEAT, 0);
    EXPECT_TRUE(playerSettings.repeat);
    EXPECT_TRUE(playOptions.flags & FlagRepeat);
    SendMessageA(window, WM_COMMAND, IDM_REPEAT, 0);
    EXPECT_FALSE(playerSettings.repeat);
    EXPECT_FALSE(playOptions.flags & FlagRepeat);
}

TEST_F(MainWindowTest, PositionFlagsMakeTheFixedBordersInert)
{
    SetWindowPos(window, nullptr, 100, 100, 300, 200, SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    playOptions.flags &= ~(FlagPositionMask | FlagUnresizable);
    ASSERT_EQ(HTLEFT, hitTest(framePoint(HTLEFT)));
    ASSERT_EQ(HTBOTTOMRIGHT, hitTest(framePoint(HTBOTTOMRIGHT)));

    playOptions.flags |= FlagLeftOnScreen | FlagTopOnScreen;
    EXPECT_EQ(HTBORDER, hitTest(framePoint(HTLEFT)));
    EXPECT_EQ(HTBORDER, hitTest(framePoint(HTTOP)));
    EXPECT_EQ(HTBORDER, hitTest(framePoint(HTTOPLEFT)));
    EXPECT_EQ(HTRIGHT, hitTest(framePoint(HTRIGHT)));
    EXPECT_EQ(HTBOTTOMRIGHT, hitTest(framePoint(HTBOTTOMRIGHT)));

    playOptions.flags = (playOptions.flags & ~FlagPositionMask) | FlagUnresizable;
    for (LONG hit : {HTLEFT, HTRIGHT, HTTOP, HTBOTTOM, HTTOPLEFT, HTBOTTOMRIGHT})
        EXPECT_EQ(HTBORDER, hitTest(framePoint(hit))) << hit;
    EXPECT_EQ(HTCAPTION, restrictSizingHitTest(HTCAPTION, FlagUnresizable));
}

TEST_F(MainWindowTest, OppositeSidesStayResizable)
{
    const DWORD rightBottom = FlagRightOnScreen | FlagBottomOnScreen;
    EXPECT_EQ(HTBORDER, restrictSizingHitTest(HTRIGHT, rightBottom));
    EXPECT_EQ(HTBORDER, restrictSizingHitTest(HTTOPRIGHT, rightBottom));
    EXPECT_EQ(HTBORDER, restrictSizingHitTest(HTBOTTOMLEFT, rightBottom));
    EXPECT_EQ(HTLEFT, restrictSizingHitTest(HTLEFT, rightBottom));
    EXPECT_EQ(HTTOP, restrictSizingHitTest(HTTOP, rightBottom));
    EXPECT_EQ(HTTOPLEFT, restrictSizingHitTest(HTTOPLEFT, rightBottom));
    // centring flags fix nothing at the borders
    EXPECT_EQ(HTLEFT, restrictSizingHitTest(HTLEFT, FlagCentreOnScreen | FlagHorizontalCentre));
}

TEST_F(MainWindowTest, SystemMenuGreysMoveAndSizeForFixedPlacement)
{
    HMENU system = GetSystemMenu(window, FALSE);
    ASSERT_NE(nullptr, system);
    auto greyed = [&](UINT position) { return (GetMenuState(system, position, MF_BYPOSITION) & MF_GRAYED) != 0; };

    playOptions.flags = (playOptions.flags & ~FlagPositionMask) | FlagUnresizable;
    SendMessageA(window, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(system), MAKELPARAM(0, TRUE));
    EXPECT_FALSE(greyed(1));
    EXPECT_TRUE(greyed(2));

    playOptions.flags = (playOptions.flags & ~FlagUnresizable) | FlagCentreOnScreen;
    SendMessageA(window, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(system), MAKELPARAM(0, TRUE));
    EXPECT_TRUE(greyed(1));
    EXPECT_TRUE(greyed(2));

    playOptions.flags &= ~(FlagPositionMask | FlagUnresizable);
    SendMessageA(window, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(system), MAKELPARAM(0, TRUE));
    EXPECT_FALSE(greyed(1));
    EXPECT_FALSE(greyed(2));
}

TEST_F(MainWindowTest, MoveIsRefusedWhileThePositionIsFixed)
{
    SetWindowPos(window, nullptr, 100, 100, 300, 200, SWP_NOZORDER | SWP_NOACTIVATE);
    playOptions.flags |= FlagCentreOnScreen;
    // a refused SC_MOVE returns at once instead of entering the move loop
    EXPECT_EQ(0, SendMessageA(window, WM_SYSCOMMAND, SC_MOVE, 0));
    RECT rect;
    GetWindowRect(window, &rect);
    EXPECT_EQ(100, rect.left);
}

TEST_F(MainWindowTest, StateCursorFollowsTheSetting)
{
    playerSettings.useStateCursor = false;
    EXPECT_EQ(LoadCursorA(nullptr, IDC_ARROW), stateCursor());
    playerSettings.useStateCursor = true;
    EXPECT_EQ(LoadCursorA(instanceHandle, MAKEINTRESOURCEA(IDC_NOT_PLAYING)), stateCursor());
}

TEST_F(MainWindowTest, CloseAsksForExit)
{
    playOptions.flags |= FlagRepeat;
    PostMessageA(window, WM_CLOSE, 0, 0);
    pumpMessages();
    // the exit command stops and leaves the window to the control window
    EXPECT_TRUE(IsWindow(window));
    EXPECT_FALSE(playOptions.flags & FlagRepeat);
}

TEST_F(MainWindowTest, StopWithoutDeviceAnswersOneAndKeepsTheQueueWaiting)
{
    HANDLE event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    playDoneEvent = event;
    EXPECT_EQ(1, SendMessageA(window, WM_COMMAND, CommandStop, 0));
    EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), WaitForSingleObject(event, 0));
    playDoneEvent = nullptr;
    CloseHandle(event);
}

// Whatever moves or resizes the window, it keeps its fixed place or comes
// back inside the work area.
TEST_F(MainWindowTest, PlacementHoldsAfterEveryMoveAndResize)
{
    RECT area;
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0));
    ShowWindow(window, SW_SHOWNOACTIVATE);
    struct Case {
        const char* what;
        DWORD flags;
        bool reposition;
        POINT from;
        bool centred, inCorner;
    };
    const Case cases[] = {
        {"centre", FlagCentreOnScreen, false, {10, 10}, true, false},
        {"right and bottom", FlagRightOnScreen | FlagBottomOnScreen, false, {10, 10}, false, true},
        {"dragged past the right edge", 0, true, {area.right - 100, 40}, false, true},
        {"left alone without repositioning", 0, false, {area.right - 100, 40}, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        playOptions.flags = (playOptions.flags & ~FlagPositionMask) | c.flags;
        playerSettings.repositionWithinScreen = c.reposition;
        SetWindowPos(window, nullptr, c.from.x, c.from.y, 300, 200, SWP_NOZORDER | SWP_NOACTIVATE);
        for (SIZE size : {SIZE{300, 200}, SIZE{420, 250}}) {
            SetWindowPos(window, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            RECT rect;
            GetWindowRect(window, &rect);
            if (c.centred) {
                EXPECT_EQ(area.left + (area.right - area.left - size.cx) / 2, rect.left);
                EXPECT_EQ(area.top + (area.bottom - area.top - size.cy) / 2, rect.top);
            } else if (c.inCorner) {
                EXPECT_EQ(area.right, rect.right);
                EXPECT_EQ(area.bottom, rect.bottom);
            } else {
                EXPECT_EQ(c.from.x, rect.left);
                EXPECT_EQ(c.from.y, rect.top);
            }
        }
    }
}

TEST_F(MainWindowTest, SeekBarStepsFollowTheTickSetting)
{
    HWND seek = GetDlgItem(controlBarDialog(), IDC_SEEK_BAR);
    struct Case {
        DWORD ticks;
        LONG seconds;
        LONG steps;  // 0: as few as keep the tick marks apart
        LONG secondsPerStep;
    };
    const Case cases[] = {{TicksMinutes, 90, 1, 60},
                          {TicksSeconds, 100000, 100000, 1},
                          {TicksAutomatic, 30, 30, 1},
                          {TicksAutomatic, 100000, 0, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.seconds);
        playerSettings.trackbarTicks = c.ticks;
        setSeekRange(c.seconds);
        EXPECT_TRUE(IsWindowEnabled(seek));
        LONG steps = static_cast<LONG>(SendMessageA(seek, TBM_GETRANGEMAX, 0, 0));
        EXPECT_EQ(0, SendMessageA(seek, TBM_GETRANGEMIN, 0, 0));
        if (c.steps) {
            EXPECT_EQ(c.steps, steps);
            EXPECT_EQ(c.secondsPerStep, seekSecondsPerStep());
            continue;
        }
        EXPECT_GE(seekSecondsPerStep(), 2);
        EXPECT_LE(steps, 50000);
        EXPECT_EQ(c.seconds / seekSecondsPerStep(), steps);
        EXPECT_GT(SendMessageA(seek, TBM_GETTICPOS, 1, 0) - SendMessageA(seek, TBM_GETTICPOS, 0, 0), 2);
    }
    setSeekRange(-1);
    EXPECT_FALSE(IsWindowEnabled(seek));
}

// Every resize sets the range again, and the automatic steps follow the
// seek bar's width: the thumb keeps its time, since a paused device gives no
// new position.
TEST_F(MainWindowTest, SeekBarKeepsItsTimeWhenItsStepsChange)
{
    HWND bar = controlBarDialog();
    HWND seek = GetDlgItem(bar, IDC_SEEK_BAR);
    playerSettings.trackbarTicks = TicksAutomatic;
    const LONG length = 100000, at = 60000;
    setSeekRange(length);
    showSeekPosition(at);
    LONG wideStep = seekSecondsPerStep();
    RECT client;
    GetClientRect(bar, &client);
    SetWindowPos(bar, nullptr, 0, 0, client.right / 2, client.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    setSeekRange(length);
    ASSERT_GT(seekSecondsPerStep(), wideStep);
    EXPECT_EQ(at / seekSecondsPerStep(), SendMessageA(seek, TBM_GETPOS, 0, 0));
}

// A control bar too narrow for the seek bar hides it; a new range, as every
// move and resize of the main window sets, must not bring it back.
TEST_F(MainWindowTest, SeekBarHiddenForWantOfRoomStaysHidden)
{
    HWND bar = controlBarDialog();
    HWND seek = GetDlgItem(bar, IDC_SEEK_BAR);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    EXPECT_TRUE(IsWindowVisible(seek));
    RECT client;
    GetClientRect(bar, &client);
    SetWindowPos(bar, nullptr, 0, 0, 40, client.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_FALSE(IsWindowVisible(seek));
    for (LONG seconds : {100L, -1L}) {
        SCOPED_TRACE(seconds);
        setSeekRange(seconds);
        EXPECT_FALSE(IsWindowVisible(seek));
    }
    SetWindowPos(bar, nullptr, 0, 0, client.right, client.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(IsWindowVisible(seek));
}

// Each trackbar is bound to its own mixer line: under Wine the speakers and
// wave-out lines are there, the synthesizer and CD lines are not. Wine keeps
// the volume per process and never sends MM_MIXM_CONTROL_CHANGE: another
// handle of this process changes the volume and the test delivers the
// message as the system would. Wine's wave-out volume does not carry from
// one mixer handle to another, so only the speakers are followed both ways.
TEST_F(MainWindowTest, VolumeTrackbarsFollowTheMixerBothWays)
{
    HWND panel = controlPanelDialog();
    const struct {
        int bar;
        DWORD componentType;
        bool present, keepsValue;
    } bars[] = {{IDC_WAVE_VOLUME, MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT, true, false},
                {IDC_SYNTHESIZER_VOLUME, MIXERLINE_COMPONENTTYPE_SRC_SYNTHESIZER, false, false},
                {IDC_CDDA_VOLUME, MIXERLINE_COMPONENTTYPE_SRC_COMPACTDISC, false, false},
                {IDC_OUTPUT_VOLUME, MIXERLINE_COMPONENTTYPE_DST_SPEAKERS, true, true}};
    MixerLines mixer;  // a handle of the test's own
    // Wine's mixer keeps a volume as a fraction: a value may read back one less
    const LONG rounding = 1;
    for (const auto& b : bars) {
        SCOPED_TRACE(b.bar);
        HWND bar = GetDlgItem(panel, b.bar);
        const int slot = MixerLines::slotOfComponentType(b.componentType);
        MixerLines::Volume before, after;
        ASSERT_EQ(b.present, mixer.readVolume(slot, &before) != FALSE);
        EXPECT_EQ(b.present, IsWindowEnabled(bar) != FALSE);
        if (!b.present)
            continue;
        EXPECT_EQ(before.minimum, SendMessageA(bar, TBM_GETRANGEMIN, 0, 0));
        EXPECT_EQ(before.maximum, SendMessageA(bar, TBM_GETRANGEMAX, 0, 0));
        EXPECT_EQ(before.value, SendMessageA(bar, TBM_GETPOS, 0, 0));

        if (!b.keepsValue)
            continue;
        LONG moved = before.value < 20000 ? 40000 : 10000;
        SendMessageA(bar, TBM_SETPOS, TRUE, moved);
        SendMessageA(panel, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, moved), reinterpret_cast<LPARAM>(bar));
        ASSERT_TRUE(mixer.readVolume(slot, &after));
        EXPECT_NEAR(moved, after.value, rounding);

        ASSERT_TRUE(mixer.writeVolume(slot, 30000));
        SendMessageA(window, MM_MIXM_CONTROL_CHANGE, 0, before.controlId);
        EXPECT_NEAR(30000, SendMessageA(bar, TBM_GETPOS, 0, 0), rounding);
        mixer.writeVolume(slot, before.value);
    }
}

// Sources from digital to analog, then destinations from digital to voice
// in; the undefined types have no slot. The forms for all slots reach every
// line there is (under Wine the speakers and wave out).
TEST(MixerSlots, FollowTheComponentTypesAndAllSlotsReachEveryLine)
{
    const std::pair<DWORD, int> slots[] = {
        {MIXERLINE_COMPONENTTYPE_SRC_UNDEFINED, -1}, {MIXERLINE_COMPONENTTYPE_SRC_DIGITAL, 0},
        {MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT, 7},    {MIXERLINE_COMPONENTTYPE_SRC_ANALOG, 9},
        {MIXERLINE_COMPONENTTYPE_DST_UNDEFINED, -1}, {MIXERLINE_COMPONENTTYPE_DST_DIGITAL, 10},
        {MIXERLINE_COMPONENTTYPE_DST_SPEAKERS, 13},  {MIXERLINE_COMPONENTTYPE_DST_WAVEIN, 16},
        {MIXERLINE_COMPONENTTYPE_DST_VOICEIN, 17},   {MIXERLINE_COMPONENTTYPE_DST_VOICEIN + 1, -1}};
    for (const auto& slot : slots)
        EXPECT_EQ(slot.second, MixerLines::slotOfComponentType(slot.first)) << std::hex << slot.first;
    MixerLines mixer;
    MixerLines::Volume speakers, wave, now;
    ASSERT_TRUE(mixer.readVolume(13, &speakers) && mixer.readVolume(7, &wave));
    EXPECT_TRUE(mixer.setCallbackWindow(MixerLines::allSlots, nullptr));
    EXPECT_TRUE(mixer.writeVolume(MixerLines::allSlots, 20000) && mixer.readVolume(MixerLines::allSlots, nullptr));
    for (int slot : {13, 7})
        EXPECT_TRUE(mixer.readVolume(slot, &now) && now.value >= 19999 && now.value <= 20000) << slot;
    mixer.writeVolume(13, speakers.value);
    mixer.writeVolume(7, wave.value);
    EXPECT_FALSE(mixer.readVolume(-1, &now));  // the answer for a type without a slot
}

} // namespace
