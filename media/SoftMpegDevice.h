#pragma once
#include "MciDevice.h"

// An MciDevice bound to the SoftMPEG MCI driver.
class SoftMpegDevice : public MciDevice {
public:
    SoftMpegDevice() = default;
    ~SoftMpegDevice() = default;
};
