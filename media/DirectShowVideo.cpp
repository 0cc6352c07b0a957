// The picture window of the DirectShow engine: the graph's video window,
// hidden at open and made a child of the player's window on demand.
#include "DirectShowDevice.h"

#include <dshow.h>

BOOL DirectShowDevice::hasVideo()
{
    LockScope hold(lock);
    return !IsRectEmpty(&videoRect_);
}

// An audio-only medium has a size of 0 by 0.
BOOL DirectShowDevice::getVideoSize(LONG* width, LONG* height)
{
    if (!width || !height)
        return FALSE;
    LockScope hold(lock);
    if (!isOpen())
        return FALSE;
    *width = videoRect_.right - videoRect_.left;
    *height = videoRect_.bottom - videoRect_.top;
    return TRUE;
}

BOOL DirectShowDevice::showVideo(BOOL show)
{
    LockScope hold(lock);
    if (!videoWindow_)
        return FALSE;
    if (show)
        videoWindow_->SetWindowForeground(OAFALSE);
    if (FAILED(videoWindow_->put_WindowState(show ? SW_SHOWNA : SW_HIDE)))
        return FALSE;
    HRESULT visible = videoWindow_->put_Visible(show ? OATRUE : OAFALSE);
    videoWindow_->HideCursor(OAFALSE);
    return SUCCEEDED(visible);
}

// Some video windows report failure when the extended style they had was 0,
// as SetWindowLong does; what counts is that the window now has the style.
BOOL DirectShowDevice::setExtendedStyle(DWORD exStyle)
{
    long now = 0;
    return SUCCEEDED(videoWindow_->put_WindowStyleEx((long)exStyle))
        || (SUCCEEDED(videoWindow_->get_WindowStyleEx(&now)) && (DWORD)now == exStyle);
}

BOOL DirectShowDevice::attachVideoWindow(HWND owner, HWND drain, DWORD style, DWORD exStyle)
{
    LockScope hold(lock);
    if (!videoWindow_)
        return FALSE;
    ownerWindow_ = owner;
    if (FAILED(videoWindow_->put_Owner((OAHWND)owner)) || FAILED(videoWindow_->put_WindowStyle((long)style))
        || !setExtendedStyle(exStyle)) {
        detachVideoWindow();
        return FALSE;
    }
    drainWindow_ = drain;
    if (FAILED(videoWindow_->put_MessageDrain((OAHWND)drain))) {
        detachVideoWindow();
        return FALSE;
    }
    return TRUE;
}

void DirectShowDevice::detachVideoWindow()
{
    LockScope hold(lock);
    if (ownerWindow_) {
        ownerWindow_ = nullptr;
        if (videoWindow_)
            videoWindow_->put_Owner(0);
    }
    if (drainWindow_) {
        drainWindow_ = nullptr;
        if (videoWindow_)
            videoWindow_->put_MessageDrain(0);
    }
}

BOOL DirectShowDevice::moveVideoTo(const POINT* point)
{
    return point && moveVideo(point->x, point->y);
}

BOOL DirectShowDevice::moveVideo(LONG x, LONG y)
{
    LockScope hold(lock);
    long width = 0, height = 0;
    return videoWindow_ && SUCCEEDED(videoWindow_->get_Width(&width)) && SUCCEEDED(videoWindow_->get_Height(&height))
        && SUCCEEDED(videoWindow_->SetWindowPosition(x, y, width, height));
}

BOOL DirectShowDevice::resizeVideo(LONG width, LONG height)
{
    LockScope hold(lock);
    long left = 0, top = 0;
    return videoWindow_ && SUCCEEDED(videoWindow_->get_Left(&left)) && SUCCEEDED(videoWindow_->get_Top(&top))
        && SUCCEEDED(videoWindow_->SetWindowPosition(left, top, width, height));
}

BOOL DirectShowDevice::setVideoRect(const RECT* rect)
{
    return rect && setVideoWindowRect(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top);
}

BOOL DirectShowDevice::setVideoWindowRect(LONG x, LONG y, LONG width, LONG height)
{
    LockScope hold(lock);
    return videoWindow_ && SUCCEEDED(videoWindow_->SetWindowPosition(x, y, width, height));
}
