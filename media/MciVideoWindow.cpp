// The picture of an MCI medium: its window and the part of it the picture fills.
#include "MciDevice.h"

#include <digitalv.h>

BOOL MciDevice::readDestination(VideoRect* rect)
{
    MCI_DGV_RECT_PARMS params = {};
    if (send(deviceId_, MCI_WHERE, MCI_DGV_WHERE_DESTINATION, &params))
        return FALSE;
    // MCI's rectangles hold the size where RECT holds the far corner.
    *rect = {params.rc.left, params.rc.top, params.rc.right, params.rc.bottom};
    return TRUE;
}

BOOL MciDevice::putDestination(const VideoRect& rect)
{
    MCI_DGV_PUT_PARMS params = {};
    params.rc = {rect.left, rect.top, rect.width, rect.height};
    return !send(deviceId_, MCI_PUT, MCI_DGV_PUT_DESTINATION | MCI_DGV_RECT, &params);
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

// Keeps the part of the current destination that the caller does not give.
BOOL MciDevice::changeDestination(const POINT* origin, const SIZE* size)
{
    LockScope hold(lock);
    VideoRect rect;
    if (!deviceId_ || !readDestination(&rect))
        return FALSE;
    if (origin) {
        rect.left = origin->x;
        rect.top = origin->y;
    }
    if (size) {
        rect.width = size->cx;
        rect.height = size->cy;
    }
    return putDestination(rect);
}

BOOL MciDevice::moveVideo(LONG x, LONG y)
{
    POINT origin = {x, y};
    return changeDestination(&origin, nullptr);
}

BOOL MciDevice::resizeVideo(LONG width, LONG height)
{
    SIZE size = {width, height};
    return changeDestination(nullptr, &size);
}

BOOL MciDevice::setVideoWindowRect(LONG x, LONG y, LONG width, LONG height)
{
    LockScope hold(lock);
    return deviceId_ && putDestination({x, y, width, height});
}
