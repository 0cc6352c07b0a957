#include "MainWindow.h"

#include <commctrl.h>
#include <new>
#include <shlwapi.h>

#include "ControlBar.h"
#include "ControlPanel.h"
#include "DropTarget.h"
#include "EngineSelection.h"
#include "MainWindowState.h"
#include "MediaContext.h"
#include "MediaDevice.h"
#include "Ole.h"
#include "PlayerCore.h"
#include "PlayerName.h"
#include "PlayerSettings.h"
#include "StateCursor.h"
#include "TickThread.h"
#include "TrayIcon.h"
#include "VideoWindow.h"
#include "resource.h"

PlaybackState playback;
TrackInfo trackInfo;
CountedLock deviceStateLock;
MainWindowParts mainParts;

namespace {

const char mainClassName[] = "PlayerClass";
const DWORD mainStyle = WS_OVERLAPPEDWINDOW | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;

BOOL buildGenreTablePath()
{
    char* path = mainParts.genreTablePath;
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return FALSE;
    PathRemoveFileSpecA(path);
    return PathAppendA(path, "GENRE.TBL");
}

BOOL createChildren(HWND window)
{
    RECT client;
    GetClientRect(window, &client);
    int height = client.bottom - GetSystemMetrics(SM_CYCAPTION);
    mainParts.videoWindow = createVideoWindow(window, client.right, height > 0 ? height : 0);
    return mainParts.videoWindow && createControlPanel(window) && createControlBar(window);
}

// Called on a thread of the library's choosing: the window ends the file on
// its own thread, where every device call happens.
void WINAPI onVbmp3Event(DWORD code, DWORD)
{
    const DWORD endOfFile = 4;
    HWND window = mainWindow;
    if (code == endOfFile && window)
        PostMessageA(window, WM_VBMP3_END, 0, 0);
}

// The engines learn what the window wants of them.
void prepareEngines()
{
    mediaContext->vbmp3Device().setCallback(onVbmp3Event);
    applySettingsToPlayer();
}

BOOL registerMessages()
{
    mainParts.trayCallbackMessage = RegisterWindowMessageA("PlayerNotifyMessage");
    mainParts.directShowEndMessage = RegisterWindowMessageA("PlayerDirectShowMessage");
    mainParts.taskbarCreatedMessage = RegisterWindowMessageA("TaskbarCreated");
    return mainParts.trayCallbackMessage && mainParts.directShowEndMessage;
}

LRESULT onCreate(HWND window)
{
    mainWindow = window;
    if (!buildGenreTablePath() || !loadStateCursors() || !createTickEvent() || !createChildren(window))
        return -1;
    // Without OLE on this thread (or without OLE32) files cannot be dropped,
    // but the player still plays.
    mainParts.dropRegistered = ole32::RegisterDragDrop(window, mainParts.dropTarget, TRUE);
    if (!registerMessages())
        return -1;
    prepareEngines();
    if (!addTrayIcon(window, mainParts.trayCallbackMessage))
        return -1;
    bindVolumeBars(window);
    layoutChildren(window);
    mainParts.created = TRUE;
    return 0;
}

LRESULT onDestroy(HWND window)
{
    if (mainParts.dropRegistered)
        ole32::RegisterDragDrop(window, mainParts.dropTarget, FALSE);
    mainParts.dropRegistered = FALSE;
    if (mainParts.dropTarget)
        mainParts.dropTarget->Release();
    mainParts.dropTarget = nullptr;
    clearPanelFilterList();
    stopTickThread();
    if (mainParts.created)
        saveWindowRect(window);
    mainWindow = nullptr;
    deleteTrayIcon();
    return 0;
}

LRESULT onClose(HWND window)
{
    PostMessageA(window, WM_COMMAND, IDM_EXIT, 0);
    return 0;
}

LRESULT onActivate(HWND window, WPARAM wParam, LPARAM lParam)
{
    HWND panel = controlPanelDialog();
    if (LOWORD(wParam) == WA_INACTIVE || !panel || !IsWindowVisible(panel))
        return DefWindowProcA(window, WM_ACTIVATE, wParam, lParam);
    SetFocus(panel);
    return 0;
}

// The new work area gets the window its fixed place again, with or without video.
LRESULT onDisplayChange(HWND window)
{
    if (IsRectEmpty(&playback.videoRect))
        layoutChildren(window);
    else
        fitToVideo(window);
    return 0;
}

LRESULT onNcHitTest(HWND window, WPARAM wParam, LPARAM lParam)
{
    return restrictSizingHitTest(DefWindowProcA(window, WM_NCHITTEST, wParam, lParam), playOptions.flags);
}

LRESULT onSysCommand(HWND window, WPARAM wParam, LPARAM lParam)
{
    if ((wParam & 0xFFF0) == SC_MOVE && (playOptions.flags & FlagPositionMask))
        return 0;
    return DefWindowProcA(window, WM_SYSCOMMAND, wParam, lParam);
}

LRESULT onInitMenuPopup(HWND window, WPARAM wParam, LPARAM lParam)
{
    if (!HIWORD(lParam))
        return DefWindowProcA(window, WM_INITMENUPOPUP, wParam, lParam);
    HMENU menu = reinterpret_cast<HMENU>(wParam);
    DWORD flags = playOptions.flags;
    BOOL fixed = (flags & FlagPositionMask) != 0;
    BOOL fixedSize = fixed || (flags & FlagUnresizable);
    EnableMenuItem(menu, 1, MF_BYPOSITION | (fixed ? MF_GRAYED : MF_ENABLED));
    EnableMenuItem(menu, 2, MF_BYPOSITION | (fixedSize ? MF_GRAYED : MF_ENABLED));
    return 0;
}

LRESULT onContextMenu(HWND window, LPARAM lParam)
{
    POINT point = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    RECT client;
    GetClientRect(window, &client);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
    if (lParam == -1 || PtInRect(&client, point))
        showPopupMenu(window);
    return 0;
}

LRESULT onSetCursor(HWND window, WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(lParam) != HTCLIENT)
        return DefWindowProcA(window, WM_SETCURSOR, wParam, lParam);
    SetCursor(stateCursor());
    return TRUE;
}

// A DirectMusic device drives the seek bar; a click on it must not take the
// activation away from the bar's own handling.
LRESULT onMouseActivate(HWND window, WPARAM wParam, LPARAM lParam)
{
    POINT point;
    HWND bar = controlBarDialog();
    if ((playback.openEngine & OpenedByDirectMusic) && bar && GetCursorPos(&point) &&
        WindowFromPoint(point) == GetDlgItem(bar, IDC_SEEK_BAR))
        return MA_NOACTIVATEANDEAT;
    return DefWindowProcA(window, WM_MOUSEACTIVATE, wParam, lParam);
}

LRESULT onTrayCallback(HWND window, LPARAM lParam)
{
    if (lParam == WM_LBUTTONDOWN || lParam == WM_RBUTTONDOWN)
        showPopupMenu(window);
    return 0;
}

LRESULT onMciNotify(HWND window, WPARAM wParam)
{
    if (wParam == MCI_NOTIFY_SUCCESSFUL)
        endOfPlay(window);
    return 0;
}

// The tick thread's refresh: the seek bar follows the device, and a
// DirectMusic position at the length ends the medium.
LRESULT onMciSignal(HWND window)
{
    if (!playback.deviceOpen)
        return 0;
    LONG position = 0;
    BOOL musicTime = (playback.openEngine & OpenedByDirectMusic) != 0;
    BOOL known = musicTime ? playback.currentDevice->getPositionMusicTime(&position)
                           : playback.currentDevice->getPosition(&position);
    if (!known)
        return 0;
    showSeekPosition(position);
    if (musicTime && playback.lengthSeconds >= 0 && position >= playback.lengthSeconds)
        endOfPlay(window);
    return 0;
}

// Posted, so the file may have changed engines since.
LRESULT onVbmp3End(HWND window)
{
    if (playback.openEngine & OpenedByVbmp3)
        endOfPlay(window);
    return 0;
}

LRESULT onSampleTick(LPARAM lParam)
{
    *reinterpret_cast<TickSample*>(lParam) = sampleOnWindowThread();
    return 0;
}

LRESULT onRegisteredMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message && message == mainParts.trayCallbackMessage)
        return onTrayCallback(window, lParam);
    if (message && message == mainParts.directShowEndMessage) {
        endOfPlay(window);
        return 0;
    }
    if (message && message == mainParts.taskbarCreatedMessage) {
        restoreTrayIcon();
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        return onCreate(window);
    case WM_DESTROY:
        return onDestroy(window);
    case WM_CLOSE:
        return onClose(window);
    case WM_COMMAND:
        return onMainCommand(window, LOWORD(wParam), lParam);
    case WM_ACTIVATE:
        return onActivate(window, wParam, lParam);
    case WM_MOVE:
    case WM_SIZE:
        layoutChildren(window);
        return 0;
    case WM_DISPLAYCHANGE:
        return onDisplayChange(window);
    case WM_NCHITTEST:
        return onNcHitTest(window, wParam, lParam);
    case WM_SYSCOMMAND:
        return onSysCommand(window, wParam, lParam);
    case WM_INITMENUPOPUP:
        return onInitMenuPopup(window, wParam, lParam);
    case WM_CONTEXTMENU:
        return onContextMenu(window, lParam);
    case WM_SETCURSOR:
        return onSetCursor(window, wParam, lParam);
    case WM_MOUSEACTIVATE:
        return onMouseActivate(window, wParam, lParam);
    case MM_MCINOTIFY:
        return onMciNotify(window, wParam);
    case MM_MCISIGNAL:
        return onMciSignal(window);
    case MM_MIXM_CONTROL_CHANGE:
        followMixerControl(static_cast<DWORD>(lParam));
        return 0;
    case WM_VBMP3_END:
        return onVbmp3End(window);
    case WM_SAMPLE_TICK:
        return onSampleTick(lParam);
    default:
        return onRegisteredMessage(window, message, wParam, lParam);
    }
}

BOOL registerMainWindowClass()
{
    WNDCLASSEXA windowClass = {};
    if (GetClassInfoExA(instanceHandle, mainClassName, &windowClass))
        return TRUE;
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = mainWindowProc;
    windowClass.hInstance = instanceHandle;
    windowClass.hIcon = static_cast<HICON>(LoadImageA(instanceHandle, MAKEINTRESOURCEA(IDI_PLAYER), IMAGE_ICON,
                                                      0, 0, LR_DEFAULTSIZE | LR_SHARED));
    windowClass.hIconSm = static_cast<HICON>(LoadImageA(instanceHandle, MAKEINTRESOURCEA(IDI_PLAYER), IMAGE_ICON,
                                                        GetSystemMetrics(SM_CXSMICON),
                                                        GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    windowClass.hCursor = nullptr;  // WM_SETCURSOR chooses
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = mainClassName;
    return RegisterClassExA(&windowClass) != 0;
}

// The stored normal rectangle; a fresh installation keeps the default size.
void restoreWindowRect(HWND window)
{
    if (playerSettings.width <= 0 || playerSettings.height <= 0)
        return;
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    GetWindowPlacement(window, &placement);
    placement.showCmd = SW_HIDE;
    placement.rcNormalPosition = {playerSettings.x, playerSettings.y, playerSettings.x + playerSettings.width,
                                  playerSettings.y + playerSettings.height};
    SetWindowPlacement(window, &placement);
}

} // namespace

HWND createMainWindow()
{
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES};
    if (!InitCommonControlsEx(&controls) || !registerMainWindowClass() || !registerVideoWindowClass())
        return nullptr;
    ole32::OleInitialize();
    mainParts = MainWindowParts();
    mainParts.dropTarget = new (std::nothrow) DropTarget;
    if (!mainParts.dropTarget)
        return nullptr;
    loadGeneralSettings();
    loadWindowRect();
    loadPositionSettings();
    loadPriority();
    loadTrackbarTicks();
    HWND window = CreateWindowExA(WS_EX_WINDOWEDGE, mainClassName, programName(), mainStyle, CW_USEDEFAULT,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                                  instanceHandle, nullptr);
    if (!window) {
        // a window that got as far as WM_DESTROY released it already
        if (mainParts.dropTarget)
            mainParts.dropTarget->Release();
        mainParts.dropTarget = nullptr;
        return nullptr;
    }
    restoreWindowRect(window);
    return window;
}

void applySettingsToPlayer()
{
    if (mediaContext) {
        buildMciExclusions(*mediaContext);
        mediaContext->directShowDevice().setDvdEnabled((playOptions.flags & FlagDirectShowForDvd) != 0);
    }
    if (HWND window = mainWindow)
        applyTopMost(window);
}

LRESULT restrictSizingHitTest(LRESULT hit, DWORD flags)
{
    if (hit < HTLEFT || hit > HTBOTTOMRIGHT)
        return hit;
    if (flags & FlagUnresizable)
        return HTBORDER;
    BOOL left = hit == HTLEFT || hit == HTTOPLEFT || hit == HTBOTTOMLEFT;
    BOOL right = hit == HTRIGHT || hit == HTTOPRIGHT || hit == HTBOTTOMRIGHT;
    BOOL top = hit == HTTOP || hit == HTTOPLEFT || hit == HTTOPRIGHT;
    BOOL bottom = hit == HTBOTTOM || hit == HTBOTTOMLEFT || hit == HTBOTTOMRIGHT;
    if ((left && (flags & FlagLeftOnScreen)) || (right && (flags & FlagRightOnScreen)) ||
        (top && (flags & FlagTopOnScreen)) || (bottom && (flags & FlagBottomOnScreen)))
        return HTBORDER;
    return hit;
}
