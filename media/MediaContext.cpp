#include "MediaContext.h"

MediaContext::MediaContext() = default;

MediaContext::~MediaContext()
{
    clearPlaylistEntries();
    setMciDeviceNames(nullptr, 0);
}

const char* MediaContext::streamKind() const
{
    if (hasAudio_ && hasVideo_)
        return "Both";
    if (hasAudio_)
        return "Audio";
    return hasVideo_ ? "Video" : "Unknown";
}

const char* MediaContext::playlistEntry(UINT index) const
{
    return index < playlistEntriesHeld_ ? playlistEntries_[index] : nullptr;
}

void MediaContext::clearPlaylistEntries()
{
    LockScope hold(lock_);
    for (UINT i = 0; i < playlistEntriesHeld_; ++i)
        delete[] playlistEntries_[i];
    delete[] playlistEntries_;
    playlistEntries_ = nullptr;
    playlistEntriesHeld_ = 0;
}

void MediaContext::setMciDeviceNames(char** names, UINT count)
{
    LockScope hold(lock_);
    for (UINT i = 0; i < mciDeviceNameCount_; ++i)
        delete[] mciDeviceNames_[i];
    delete[] mciDeviceNames_;
    mciDeviceNames_ = names;
    mciDeviceNameCount_ = names ? count : 0;
    // The device keeps a pointer to the list: never to the one just freed.
    mciDevice_.setExcludedDevices(mciDeviceNames_, mciDeviceNameCount_);
}
