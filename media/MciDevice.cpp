#include "MciDevice.h"

#include <digitalv.h>
#include <new>

#include "CdAudio.h"
#include "Winmm.h"

namespace {

// The devices that probe tries by their readers or by name before it walks
// the installed ones.
const char* const builtInDevices[] = {"waveaudio", "sequencer", "avivideo", "cdaudio", "ActiveMovie"};
const UINT typeNameSize = 1024;

BOOL isBuiltInDevice(const char* name)
{
    for (const char* builtIn : builtInDevices)
        if (lstrcmpiA(name, builtIn) == 0)
            return TRUE;
    return FALSE;
}

DWORD_PTR typeNameValue(const char* name) { return (DWORD_PTR)name; }

// MCI's cdaudio device takes the drive ("D:") as its element.
BOOL driveOf(const char* fileName, char* drive)
{
    char full[MAX_PATH];
    DWORD length = GetFullPathNameA(fileName, MAX_PATH, full, nullptr);
    if (length < 2 || length >= MAX_PATH || full[1] != ':')
        return FALSE;
    drive[0] = full[0];
    drive[1] = ':';
    drive[2] = 0;
    return TRUE;
}

} // namespace

MciDevice::MciDevice() : sender_(winmm::mciSendCommandA) {}

MciDevice::~MciDevice()
{
    close();
    freeTypeName();
}

void MciDevice::setCommandSender(CommandSender sender)
{
    LockScope hold(lock);
    sender_ = sender ? sender : winmm::mciSendCommandA;
}

MCIERROR MciDevice::send(MCIDEVICEID device, UINT message, DWORD flags, void* params)
{
    return sender_(device, message, flags, (DWORD_PTR)params);
}

BOOL MciDevice::sendAndWait(UINT message)
{
    MCI_GENERIC_PARMS params = {};
    return !send(deviceId_, message, MCI_WAIT, &params);
}

void MciDevice::setExcludedDevices(char** names, UINT count)
{
    LockScope hold(lock);
    excludedNames_ = names;
    excludedCount_ = names ? count : 0;
}

BOOL MciDevice::isExcluded(const char* typeName) const
{
    for (UINT i = 0; i < excludedCount_; ++i)
        if (excludedNames_[i] && lstrcmpiA(excludedNames_[i], typeName) == 0)
            return TRUE;
    return FALSE;
}

void MciDevice::chooseDevice(DWORD_PTR deviceType, DWORD openFlags)
{
    deviceType_ = deviceType;
    openFlags_ = openFlags;
}

void MciDevice::clearMediumFlags()
{
    hasAudio_ = FALSE;
    canMute_ = FALSE;
    videoRect_ = {};
}

// What a reader does when the file is its kind.
void MciDevice::acceptFile(DWORD_PTR deviceType, DWORD openFlags)
{
    chooseDevice(deviceType, openFlags);
    clearMediumFlags();
}

void MciDevice::freeTypeName()
{
    if (!ownsTypeName_)
        return;
    delete[] (char*)deviceType_;
    deviceType_ = 0;
    ownsTypeName_ = FALSE;
}

BOOL MciDevice::probe(const char* fileName)
{
    LockScope hold(lock);
    freeTypeName();
    if (!fileName)
        return FALSE;
    if (!isExcluded("waveaudio") && readWave(fileName))
        return TRUE;
    if (!isExcluded("sequencer") && readSequencer(fileName))
        return TRUE;
    if (!isExcluded("avivideo") && readAvi(fileName))
        return TRUE;
    if (!isExcluded("cdaudio") && readCdAudio(fileName))
        return TRUE;
    if (!isExcluded("ActiveMovie") && tryDevice(fileName, "ActiveMovie"))
        return TRUE;
    return probeOtherDevices(fileName);
}

// Every installed device that is neither built in nor excluded, in the order
// MCI lists them; the name buffer stays the chosen device type.
BOOL MciDevice::probeOtherDevices(const char* fileName)
{
    char* name = new (std::nothrow) char[typeNameSize];
    if (!name)
        return FALSE;
    name[0] = 0;
    deviceType_ = typeNameValue(name);
    ownsTypeName_ = TRUE;
    UINT count = deviceCount();
    for (UINT i = 0; i < count; ++i) {
        if (!deviceName(i, name, typeNameSize) || isBuiltInDevice(name) || isExcluded(name))
            continue;
        if (tryDevice(fileName, name))
            return TRUE;
    }
    return FALSE;
}

BOOL MciDevice::tryDevice(const char* fileName, const char* typeName)
{
    chooseDevice(typeNameValue(typeName), MCI_OPEN_TYPE | MCI_OPEN_ELEMENT);
    BOOL opened = openWithDevice(fileName, typeName, openFlags_);
    close();
    return opened;
}

// The medium open before is closed even when the new file is refused.
BOOL MciDevice::open(const char* fileName)
{
    LockScope hold(lock);
    close();
    if (!probe(fileName))
        return FALSE;
    return openWithDevice(fileName, deviceType_, openFlags_);
}

BOOL MciDevice::openWithDevice(const char* fileName, const char* typeName, DWORD openFlags)
{
    return openWithDevice(fileName, typeNameValue(typeName), openFlags);
}

BOOL MciDevice::openWithDevice(const char* fileName, DWORD_PTR deviceType, DWORD openFlags)
{
    LockScope hold(lock);
    if (!fileName || !openFlags)
        return FALSE;
    close();
    clearMediumFlags();
    // Only a type number can name CD audio; a name's address may end in any bits.
    isCdAudio_ = (openFlags & MCI_OPEN_TYPE_ID) && LOWORD(deviceType) == MCI_DEVTYPE_CD_AUDIO;
    MCI_OPEN_PARMSA params = {};
    params.lpstrDeviceType = (LPCSTR)deviceType;
    params.lpstrElementName = fileName;
    char drive[3];
    if (isCdAudio_) {
        if (!driveOf(fileName, drive))
            return FALSE;
        params.lpstrDeviceType = (LPCSTR)(DWORD_PTR)MCI_DEVTYPE_CD_AUDIO;
        params.lpstrElementName = drive;
        openFlags |= MCI_OPEN_ELEMENT;
    }
    if (send(0, MCI_OPEN, openFlags, &params))
        return FALSE;
    deviceId_ = params.wDeviceID;
    if (isCdAudio_) {
        if (!readCdTrackLength(HIWORD(deviceType))) {
            close();
            return FALSE;
        }
    } else {
        readLength();
    }
    // Switching the sound off and on again tells whether it can be muted and
    // leaves it on.
    canMute_ = setAudio(FALSE);
    hasAudio_ = setAudio(TRUE);
    readNativeDestination();
    return TRUE;
}

BOOL MciDevice::setTimeFormat(DWORD format)
{
    MCI_SET_PARMS params = {};
    params.dwTimeFormat = format;
    return !send(deviceId_, MCI_SET, MCI_SET_TIME_FORMAT, &params);
}

BOOL MciDevice::queryStatus(DWORD item, DWORD track, DWORD* value)
{
    MCI_STATUS_PARMS params = {};
    params.dwItem = item;
    params.dwTrack = track;
    if (send(deviceId_, MCI_STATUS, MCI_STATUS_ITEM | (track ? MCI_TRACK : 0), &params))
        return FALSE;
    *value = (DWORD)params.dwReturn;
    return TRUE;
}

BOOL MciDevice::readCdTrackLength(UINT track)
{
    DWORD msfLength = 0;
    if (!track || !setTimeFormat(MCI_FORMAT_MSF) || !queryStatus(MCI_STATUS_LENGTH, track, &msfLength))
        return FALSE;
    cdTrack_ = track & 0xFF;
    cdTrackEnd_ = cdTrackEnd(cdTrack_, msfLength);
    if (!setTimeFormat(MCI_FORMAT_TMSF))
        return FALSE;
    lengthSeconds_ = (LONG)msfSeconds(msfLength);
    return TRUE;
}

void MciDevice::readLength()
{
    setTimeFormat(MCI_FORMAT_MILLISECONDS);
    DWORD milliseconds = 0;
    lengthSeconds_ = queryStatus(MCI_STATUS_LENGTH, 0, &milliseconds) ? (LONG)(milliseconds / 1000) : -1;
}

BOOL MciDevice::setAudio(BOOL on)
{
    MCI_SET_PARMS params = {};
    params.dwAudio = MCI_SET_AUDIO_ALL;
    return !send(deviceId_, MCI_SET, MCI_SET_AUDIO | (on ? MCI_SET_ON : MCI_SET_OFF), &params);
}

BOOL MciDevice::close()
{
    LockScope hold(lock);
    stop();
    if (hasVideo()) {
        showVideo(FALSE);
        detachVideoWindow();
    }
    if (!deviceId_)
        return FALSE;
    if (!sendAndWait(MCI_CLOSE))
        return FALSE;
    deviceId_ = 0;
    playing_ = FALSE;
    ownerWindow_ = nullptr;
    return TRUE;
}

BOOL MciDevice::play(BOOL pause)
{
    LockScope hold(lock);
    if (!deviceId_)
        return FALSE;
    if (playing_)
        return sendAndWait(pause ? MCI_PAUSE : MCI_RESUME);
    return !pause && playFrom(makeTmsf(cdTrack_, 0, 0, 0));
}

// Other media play on from where they are; a CD track plays to its own end.
BOOL MciDevice::playFrom(DWORD cdPosition)
{
    MCI_PLAY_PARMS params = {};
    DWORD flags = 0;
    if (isCdAudio_) {
        flags = MCI_FROM | MCI_TO;
        params.dwFrom = cdPosition;
        params.dwTo = cdTrackEnd_;
    }
    playing_ = !send(deviceId_, MCI_PLAY, flags, &params);
    return playing_;
}

// A playing wave device stops only once the sound it has queued has played
// out (more than half a second under Wine); paused first, it drops it at once.
BOOL MciDevice::stop()
{
    LockScope hold(lock);
    if (!isPlaying())
        return FALSE;
    sendAndWait(MCI_PAUSE);
    if (!sendAndWait(MCI_STOP))
        return FALSE;
    playing_ = FALSE;
    return TRUE;
}

BOOL MciDevice::seek(UINT seconds)
{
    LockScope hold(lock);
    if (!deviceId_)
        return FALSE;
    uint32_t target = 0;
    if (isCdAudio_) {
        if (!cdTrackPosition(cdTrack_, seconds, &target))
            return FALSE;
    } else {
        if (seconds > MAXDWORD / 1000)
            return FALSE;
        target = seconds * 1000;
    }
    MCI_SEEK_PARMS seekParams = {};
    seekParams.dwTo = target;
    return !send(deviceId_, MCI_SEEK, MCI_TO | MCI_WAIT, &seekParams) && playFrom(target);
}

BOOL MciDevice::isPlaying()
{
    LockScope hold(lock);
    DWORD mode = 0;
    return deviceId_ && queryStatus(MCI_STATUS_MODE, 0, &mode) && mode == MCI_MODE_PLAY;
}

BOOL MciDevice::getLength(LONG* seconds)
{
    LockScope hold(lock);
    if (!deviceId_)
        return FALSE;
    if (seconds)
        *seconds = lengthSeconds_;
    return TRUE;
}

BOOL MciDevice::getPosition(LONG* seconds)
{
    LockScope hold(lock);
    if (!deviceId_)
        return FALSE;
    setTimeFormat(isCdAudio_ ? MCI_FORMAT_TMSF : MCI_FORMAT_MILLISECONDS);
    DWORD position = 0;
    if (!queryStatus(MCI_STATUS_POSITION, 0, &position))
        return FALSE;
    if (seconds)
        *seconds = (LONG)(isCdAudio_ ? tmsfSeconds(position) : position / 1000);
    return TRUE;
}

BOOL MciDevice::hasVideo()
{
    LockScope hold(lock);
    return videoRect_.width > 0 && videoRect_.height > 0;
}

BOOL MciDevice::hasAudio()
{
    LockScope hold(lock);
    return hasAudio_;
}

BOOL MciDevice::canMute()
{
    LockScope hold(lock);
    return canMute_;
}

BOOL MciDevice::setMute(BOOL mute)
{
    LockScope hold(lock);
    return deviceId_ && setAudio(!mute);
}

UINT MciDevice::deviceCount()
{
    LockScope hold(lock);
    DWORD count = 0;
    MCI_SYSINFO_PARMSA params = {};
    params.lpstrReturn = (LPSTR)&count;
    params.dwRetSize = sizeof count;
    params.wDeviceType = MCI_ALL_DEVICE_ID;
    return send(MCI_ALL_DEVICE_ID, MCI_SYSINFO, MCI_SYSINFO_QUANTITY, &params) ? 0 : count;
}

BOOL MciDevice::deviceName(UINT index, char* buffer, UINT size)
{
    LockScope hold(lock);
    if (!buffer || !size)
        return FALSE;
    buffer[0] = 0;
    MCI_SYSINFO_PARMSA params = {};
    params.lpstrReturn = buffer;
    params.dwRetSize = size;
    params.dwNumber = index + 1;
    params.wDeviceType = MCI_ALL_DEVICE_ID;
    if (send(MCI_ALL_DEVICE_ID, MCI_SYSINFO, MCI_SYSINFO_NAME, &params)) {
        buffer[0] = 0;
        return FALSE;
    }
    buffer[size - 1] = 0;
    return TRUE;
}
