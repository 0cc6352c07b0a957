#include "ControlBar.h"
#include "ControlPanel.h"
#include "MainWindow.h"
#include "MainWindowState.h"
#include "MediaDevice.h"
#include "PlayOptions.h"
#include "PlayerSettings.h"
#include "WindowPlacement.h"

namespace {

const DWORD mainStyle = WS_OVERLAPPEDWINDOW | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
const DWORD videoStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;

// The video window and the control panel from the top left corner, the
// control bar below them.
void placeChildren(int width, int height)
{
    SetWindowPos(mainParts.videoWindow, nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    if (HWND panel = controlPanelDialog())
        SetWindowPos(panel, nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    if (HWND bar = controlBarDialog())
        SetWindowPos(bar, nullptr, 0, height, width, controlBarHeight(), SWP_NOZORDER | SWP_NOACTIVATE);
}

// The desktop less the taskbar.
RECT workArea()
{
    RECT area;
    if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0))
        SetRect(&area, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    return area;
}

// Keeps the window at its fixed place or inside the work area. The move
// brings WM_MOVE and this again, which must not move it once more should
// the system have put it elsewhere.
void keepOnScreen(HWND window)
{
    static BOOL moving = FALSE;
    RECT outer;
    POINT place;
    GetWindowRect(window, &outer);
    if (moving ||
        !placeOnWorkArea(playOptions.flags, playerSettings.repositionWithinScreen, workArea(), outer, &place))
        return;
    moving = TRUE;
    SetWindowPos(window, nullptr, place.x, place.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    moving = FALSE;
}

} // namespace

void tellDeviceVideoRect()
{
    if (!playback.deviceOpen || IsRectEmpty(&playback.videoRect))
        return;
    RECT client;
    GetClientRect(mainParts.videoWindow, &client);
    playback.currentDevice->setVideoWindowRect(0, 0, client.right, client.bottom);
}

void layoutChildren(HWND window)
{
    if (IsIconic(window) || !mainParts.videoWindow)
        return;
    RECT client;
    GetClientRect(window, &client);
    int above = client.bottom - controlBarHeight();
    placeChildren(client.right, above > 0 ? above : 0);
    tellDeviceVideoRect();
    if (!IsZoomed(window))
        keepOnScreen(window);
    setSeekRange(playback.deviceOpen ? playback.lengthSeconds : -1);
}

void applyTopMost(HWND window)
{
    bool topMost = (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    if (topMost == playerSettings.showOnTopMost)
        return;
    SetWindowPos(window, topMost ? HWND_NOTOPMOST : HWND_TOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void fitToVideo(HWND window)
{
    if (IsRectEmpty(&playback.videoRect))
        return;
    RECT video = playback.videoRect;
    AdjustWindowRectEx(&video, videoStyle, FALSE, WS_EX_CLIENTEDGE);
    int width = video.right - video.left;
    int height = video.bottom - video.top;
    RECT outer = {0, 0, width, height + controlBarHeight()};
    AdjustWindowRectEx(&outer, mainStyle, FALSE, WS_EX_WINDOWEDGE);
    LONG outerWidth = outer.right - outer.left;
    LONG outerHeight = outer.bottom - outer.top;
    if (IsZoomed(window) || IsIconic(window)) {
        // the normal rectangle counts from the work area's corner
        WINDOWPLACEMENT placement = {};
        placement.length = sizeof placement;
        GetWindowPlacement(window, &placement);
        RECT& normal = placement.rcNormalPosition;
        SetRect(&normal, normal.left, normal.top, normal.left + outerWidth, normal.top + outerHeight);
        RECT area = workArea();
        OffsetRect(&area, -area.left, -area.top);
        POINT place;
        if (placeOnWorkArea(playOptions.flags, playerSettings.repositionWithinScreen, area, normal, &place))
            OffsetRect(&normal, place.x - normal.left, place.y - normal.top);
        // the window's own show command would activate it
        placement.showCmd = IsWindowVisible(window) ? SW_SHOWNA : SW_HIDE;
        SetWindowPlacement(window, &placement);
    } else {
        placeChildren(width, height);
        RECT resized;
        GetWindowRect(window, &resized);
        SetRect(&resized, resized.left, resized.top, resized.left + outerWidth, resized.top + outerHeight);
        POINT place = {resized.left, resized.top};
        placeOnWorkArea(playOptions.flags, playerSettings.repositionWithinScreen, workArea(), resized, &place);
        SetWindowPos(window, nullptr, place.x, place.y, outerWidth, outerHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    tellDeviceVideoRect();
}

BOOL showPanelOrVideo()
{
    BOOL hasVideo = playback.deviceOpen && !IsRectEmpty(&playback.videoRect);
    HWND panel = controlPanelDialog();
    if (playback.panelShown && panel) {
        if (hasVideo)
            playback.currentDevice->showVideo(FALSE);
        ShowWindow(mainParts.videoWindow, SW_HIDE);
        ShowWindow(panel, SW_SHOWNA);
        return TRUE;
    }
    if (panel)
        ShowWindow(panel, SW_HIDE);
    if (!hasVideo || (playback.openEngine & OpenedByMci))
        ShowWindow(mainParts.videoWindow, SW_SHOWNA);
    return !hasVideo || playback.currentDevice->showVideo(TRUE);
}

BOOL videoHasItsSize()
{
    RECT client;
    GetClientRect(mainParts.videoWindow, &client);
    return client.right == playback.videoRect.right - playback.videoRect.left &&
           client.bottom == playback.videoRect.bottom - playback.videoRect.top;
}
