#pragma once
#include "MediaDevice.h"

// The engine that plays through the MCI command interface.
class MciDevice : public MediaDevice {
public:
    MciDevice() = default;
    ~MciDevice() = default;

    // The MCI devices (by type name) that this engine must not use; not owned.
    void setExcludedDevices(char** names, UINT count);
    BOOL openWithDevice(const char* fileName, DWORD deviceType, DWORD openFlags);
    BOOL readCdTrack(const char* fileName, DWORD* deviceType, DWORD* openFlags);
    UINT deviceCount();
    BOOL deviceName(UINT index, char* buffer, UINT size);
};
