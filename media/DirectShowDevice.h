#pragma once
#include "MediaDevice.h"

class DirectShowDevice : public MediaDevice {
public:
    DirectShowDevice() = default;
    ~DirectShowDevice() = default;
};
