#include "ControlBar.h"
#include "ControlPanel.h"
#include "MainWindow.h"
#include "MainWindowState.h"
#include "MediaDevice.h"

namespace {

const DWORD mainStyle = WS_OVERLAPPEDWINDOW | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
const DWORD videoStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;

void tellDeviceVideoRect()
{
    if (!playback.deviceOpen || IsRectEmpty(&playback.videoRect))
        return;
    RECT client;
    GetClientRect(mainParts.videoWindow, &client);
    playback.currentDevice->setVideoWindowRect(0, 0, client.right, client.bottom);
}

void placeAbove(int width, int height)
{
    SetWindowPos(mainParts.videoWindow, nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    if (HWND panel = controlPanelDialog())
        SetWindowPos(panel, nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace

void layoutChildren(HWND window)
{
    if (IsIconic(window) || !mainParts.videoWindow)
        return;
    RECT client;
    GetClientRect(window, &client);
    int barHeight = controlBarHeight();
    int above = client.bottom - barHeight > 0 ? client.bottom - barHeight : 0;
    if (HWND bar = controlBarDialog())
        SetWindowPos(bar, nullptr, 0, above, client.right, barHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    placeAbove(client.right, above);
    tellDeviceVideoRect();
    setSeekRange(playback.deviceOpen ? playback.lengthSeconds : -1);
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
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    GetWindowPlacement(window, &placement);
    RECT& normal = placement.rcNormalPosition;
    normal.right = normal.left + outer.right - outer.left;
    normal.bottom = normal.top + outer.bottom - outer.top;
    if (IsZoomed(window) || IsIconic(window)) {
        SetWindowPlacement(window, &placement);
    } else {
        placeAbove(width, height);
        SetWindowPos(window, nullptr, 0, 0, normal.right - normal.left, normal.bottom - normal.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    tellDeviceVideoRect();
}

void showPanelOrVideo()
{
    BOOL hasVideo = playback.deviceOpen && !IsRectEmpty(&playback.videoRect);
    HWND panel = controlPanelDialog();
    if (playback.panelShown && panel) {
        if (hasVideo)
            playback.currentDevice->showVideo(FALSE);
        ShowWindow(mainParts.videoWindow, SW_HIDE);
        ShowWindow(panel, SW_SHOWNA);
        return;
    }
    if (panel)
        ShowWindow(panel, SW_HIDE);
    if (!hasVideo || (playback.openEngine & OpenedByMci))
        ShowWindow(mainParts.videoWindow, SW_SHOWNA);
    if (hasVideo)
        playback.currentDevice->showVideo(TRUE);
}

BOOL videoHasItsSize()
{
    RECT client;
    GetClientRect(mainParts.videoWindow, &client);
    return client.right == playback.videoRect.right - playback.videoRect.left &&
           client.bottom == playback.videoRect.bottom - playback.videoRect.top;
}
