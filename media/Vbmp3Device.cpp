#include "Vbmp3Device.h"
#include "core/Bytes.h"

namespace {

// Devices that hold an initialisation of the library. Only the last one to
// go frees it, so a short-lived device (the length probe of the DirectShow
// engine) does not pull the library from under the player's device.
LONG initializedDevices = 0;

} // namespace

Vbmp3Device::Vbmp3Device() : vbmp3_(lock) {}

Vbmp3Device::~Vbmp3Device()
{
    if (isOpen())
        close();
    if (initialized_ && InterlockedDecrement(&initializedDevices) == 0)
        vbmp3_.vbmp3_free();
}

BOOL Vbmp3Device::isAvailable()
{
    LockScope hold(lock);
    if (!initialized_) {
        initialized_ = vbmp3_.vbmp3_init();
        if (initialized_)
            InterlockedIncrement(&initializedDevices);
    }
    return initialized_;
}

BOOL Vbmp3Device::probe(const char* fileName)
{
    LockScope hold(lock);
    BOOL opened = open(fileName);
    close();
    return opened;
}

BOOL Vbmp3Device::open(const char* fileName)
{
    LockScope hold(lock);
    if (!fileName)
        return FALSE;
    close();
    if (!isAvailable() || lstrlenA(fileName) >= MAX_PATH)
        return FALSE;
    BYTE info[Vbmp3InfoSize] = {};
    if (!vbmp3_.vbmp3_open(fileName, info))
        return FALSE;
    // The library holds the file from here: a refusal below gives it back.
    LONG zero = 0;
    if (!registerCallback() || !vbmp3_.vbmp3_getVolume(&savedLeft_, &savedRight_)) {
        if (callbackRegistered_)
            vbmp3_.vbmp3_stopCallback();
        callbackRegistered_ = false;
        vbmp3_.vbmp3_close(&zero);
        return FALSE;
    }
    canMute_ = vbmp3_.vbmp3_setVolume(0, 0) != 0;
    vbmp3_.vbmp3_setVolume(savedLeft_, savedRight_);
    lstrcpyA(fileName_, fileName);
    lengthSeconds_ = (LONG)readLe32(info + Vbmp3InfoLengthOffset);
    return TRUE;
}

BOOL Vbmp3Device::registerCallback()
{
    callbackRegistered_ = false;
    if (!callback_)
        return TRUE;
    callbackRegistered_ = vbmp3_.vbmp3_callback(callback_) != 0;
    return callbackRegistered_;
}

BOOL Vbmp3Device::close()
{
    LockScope hold(lock);
    stop();
    if (!isOpen())
        return FALSE;
    if (callbackRegistered_)
        vbmp3_.vbmp3_stopCallback();
    callbackRegistered_ = false;
    LONG zero = 0;
    BOOL closed = vbmp3_.vbmp3_close(&zero);
    fileName_[0] = '\0';
    lengthSeconds_ = -1;
    return closed;
}

BOOL Vbmp3Device::play(BOOL pause)
{
    LockScope hold(lock);
    if (!isOpen())
        return FALSE;
    if (!pause && callbackRegistered_ && !vbmp3_.vbmp3_startCallback())
        return FALSE;
    if (started_)
        return pause ? vbmp3_.vbmp3_pause() : vbmp3_.vbmp3_restart();
    if (pause || !vbmp3_.vbmp3_setPitch(ratePercent_))
        return FALSE;
    LONG zero = 0;
    started_ = vbmp3_.vbmp3_play(&zero) != 0;
    return started_;
}

BOOL Vbmp3Device::stop()
{
    LockScope hold(lock);
    BOOL stopped = FALSE;
    if (isPlaying()) {
        LONG zero = 0;
        stopped = vbmp3_.vbmp3_stop(&zero);
    }
    started_ = false;
    return stopped;
}

BOOL Vbmp3Device::seek(UINT seconds)
{
    LockScope hold(lock);
    return vbmp3_.vbmp3_seek((LONG)seconds);
}

BOOL Vbmp3Device::isPlaying()
{
    LockScope hold(lock);
    LONG position = 0;
    return isOpen() && vbmp3_.vbmp3_getState(&position) == 1;
}

BOOL Vbmp3Device::getRate(double* rate)
{
    LockScope hold(lock);
    if (rate)
        *rate = ratePercent_ * 0.01;
    return TRUE;
}

BOOL Vbmp3Device::getRatePercent(LONG* percent)
{
    LockScope hold(lock);
    if (percent)
        *percent = ratePercent_;
    return TRUE;
}

BOOL Vbmp3Device::setRate(double rate)
{
    return setRatePercent((UINT)(LONG)(rate * 100));
}

BOOL Vbmp3Device::setRatePercent(UINT percent)
{
    LockScope hold(lock);
    ratePercent_ = (LONG)percent;
    return TRUE;
}

BOOL Vbmp3Device::getLength(LONG* seconds)
{
    LockScope hold(lock);
    if (!isOpen())
        return FALSE;
    if (seconds)
        *seconds = lengthSeconds_;
    return TRUE;
}

BOOL Vbmp3Device::getPosition(LONG* seconds)
{
    LockScope hold(lock);
    if (!isOpen())
        return FALSE;
    LONG position = 0;
    LONG state = vbmp3_.vbmp3_getState(&position);
    if (state && seconds)
        *seconds = position;
    return state;
}

BOOL Vbmp3Device::canMute()
{
    LockScope hold(lock);
    return isOpen() && canMute_;
}

BOOL Vbmp3Device::setMute(BOOL mute)
{
    LockScope hold(lock);
    if (!isOpen())
        return FALSE;
    return mute ? vbmp3_.vbmp3_setVolume(0, 0) : vbmp3_.vbmp3_setVolume(savedLeft_, savedRight_);
}

void Vbmp3Device::setCallback(Vbmp3Callback callback)
{
    LockScope hold(lock);
    callback_ = callback;
}
