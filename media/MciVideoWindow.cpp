// The picture of an MCI medium: its window and the part of it the picture fills.
#include "MciDevice.h"

#include <digitalv.h>

BOOL MciDevice::readPlacement(DWORD which, VideoRect* rect)
{
    MCI_DGV_RECT_PARMS params = {};
    if (send(deviceId_, MCI_WHERE, which, &params))
        return FALSE;
    // MCI's rectangles hold the size where RECT holds the far corner.
    *rect = {params.rc.left, params.rc.top, params.rc.right, params.rc.bottom};
    return TRUE;
}

BOOL MciDevice::putPlacement(DWORD which, const VideoRect& rect)
{
    MCI_DGV_PUT_PARMS params = {};
    params.rc = {rect.left, rect.top, rect.width, rect.height};
    return !send(deviceId_, MCI_PUT, which | MCI_DGV_RECT, &params);
}

// A picture stored top-down reports a negative height for the part of the
// frame it shows and for the part of the window it fills: Wine's MCI then
// draws it into a default window one pixel high, and nothing once the
// window is given a real height. Both get the upright rectangle of the same size.
void MciDevice::readNativeDestination()
{
    VideoRect rect;
    if (!readPlacement(MCI_DGV_WHERE_DESTINATION, &rect))
        return;
    if (rect.height < 0) {
        rect.height = -rect.height;
        if (!putPlacement(MCI_DGV_PUT_SOURCE, rect) || !putPlacement(MCI_DGV_PUT_DESTINATION, rect))
            return;
    }
    videoRect_ = rect;
}

BOOL MciDevice::getVideoSize(LONG* width, LONG* height)
{
    LockScope hold(lock);
    if (!deviceId_)
        return FALSE;
    if (width)
        *width = videoRect_.width;
    if (height)
        *height = videoRect_.height;
    return TRUE;
}

BOOL MciDevice::showVideo(BOOL show)
{
    LockScope hold(lock);
    if (!deviceId_)
        return FALSE;
    MCI_DGV_WINDOW_PARMSA params = {};
    params.nCmdShow = show ? SW_SHOW : SW_HIDE;
    return !send(deviceId_, MCI_WINDOW, MCI_DGV_WINDOW_STATE, &params);
}

BOOL MciDevice::attachVideoWindow(HWND owner, HWND, DWORD, DWORD)
{
    LockScope hold(lock);
    if (!deviceId_)
        return FALSE;
    MCI_DGV_WINDOW_PARMSA params = {};
    params.hWnd = owner;
    params.nCmdShow = SW_HIDE;
    if (send(deviceId_, MCI_WINDOW, MCI_DGV_WINDOW_HWND | MCI_DGV_WINDOW_STATE, &params)) {
        detachVideoWindow();
        return FALSE;
    }
    ownerWindow_ = owner;
    return TRUE;
}

void MciDevice::detachVideoWindow()
{
    LockScope hold(lock);
    if (!deviceId_ || !ownerWindow_)
        return;
    MCI_DGV_WINDOW_PARMSA params = {};
    params.hWnd = (HWND)MCI_DGV_WINDOW_DEFAULT;
    if (!send(deviceId_, MCI_WINDOW, MCI_DGV_WINDOW_HWND, &params))
        ownerWindow_ = nullptr;
}
