#pragma once
#include "MciDevice.h"

// An MciDevice bound to the SoftMPEG MCI driver, which the system uses only
// when it is installed as the MCI device "mpeg2video".
class SoftMpegDevice : public MciDevice {
public:
    SoftMpegDevice() = default;
    ~SoftMpegDevice() = default;

    // Checked anew at every call: "system.ini" names the driver for
    // "mpeg2video" and the driver file is in the system directory.
    BOOL isAvailable() override;
    BOOL probe(const char* fileName) override;
    BOOL open(const char* fileName) override;
};
