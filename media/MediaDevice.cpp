#include "MediaDevice.h"

// The defaults: available, sound but no picture, nothing else supported.
// Moving by point and placing by rectangle reach the engine's own primitives,
// so an engine that moves its picture gets both.
BOOL MediaDevice::isAvailable() { return TRUE; }
BOOL MediaDevice::probe(const char*) { return FALSE; }
BOOL MediaDevice::open(const char*) { return FALSE; }
BOOL MediaDevice::close() { return FALSE; }
BOOL MediaDevice::play(BOOL) { return FALSE; }
BOOL MediaDevice::stop() { return FALSE; }
BOOL MediaDevice::reserved6(DWORD) { return FALSE; }
BOOL MediaDevice::reserved7(DWORD, DWORD) { return FALSE; }
BOOL MediaDevice::seekExact(double) { return FALSE; }
BOOL MediaDevice::seek(UINT) { return FALSE; }
BOOL MediaDevice::isPlaying() { return FALSE; }
BOOL MediaDevice::getRate(double*) { return FALSE; }
BOOL MediaDevice::getRatePercent(LONG*) { return FALSE; }
BOOL MediaDevice::setRate(double) { return FALSE; }
BOOL MediaDevice::setRatePercent(UINT) { return FALSE; }
BOOL MediaDevice::getLengthMusicTime(LONG*) { return FALSE; }
BOOL MediaDevice::getLengthReferenceTime(LONGLONG*) { return FALSE; }
BOOL MediaDevice::getLengthExact(double*) { return FALSE; }
BOOL MediaDevice::getLength(LONG*) { return FALSE; }
BOOL MediaDevice::getPositionMusicTime(LONG*) { return FALSE; }
BOOL MediaDevice::getPositionReferenceTime(LONGLONG*) { return FALSE; }
BOOL MediaDevice::getPositionExact(double*) { return FALSE; }
BOOL MediaDevice::getPosition(LONG*) { return FALSE; }
BOOL MediaDevice::hasVideo() { return FALSE; }
BOOL MediaDevice::hasAudio() { return TRUE; }
BOOL MediaDevice::canMute() { return FALSE; }
BOOL MediaDevice::setMute(BOOL) { return FALSE; }
BOOL MediaDevice::getVideoSize(LONG*, LONG*) { return FALSE; }
BOOL MediaDevice::showVideo(BOOL) { return FALSE; }
BOOL MediaDevice::attachVideoWindow(HWND, HWND, DWORD, DWORD) { return FALSE; }
void MediaDevice::detachVideoWindow() {}
BOOL MediaDevice::moveVideoTo(const POINT* point)
{
    LockScope hold(lock);
    return point && moveVideo(point->x, point->y);
}

BOOL MediaDevice::moveVideo(LONG, LONG) { return FALSE; }
BOOL MediaDevice::resizeVideo(LONG, LONG) { return FALSE; }
BOOL MediaDevice::setVideoRect(const RECT* rect)
{
    LockScope hold(lock);
    return rect && setVideoWindowRect(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top);
}

BOOL MediaDevice::setVideoWindowRect(LONG, LONG, LONG, LONG) { return FALSE; }
