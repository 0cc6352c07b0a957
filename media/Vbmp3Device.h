#pragma once
#include "MediaDevice.h"

class Vbmp3Device : public MediaDevice {
public:
    Vbmp3Device() = default;
    ~Vbmp3Device() = default;
};
