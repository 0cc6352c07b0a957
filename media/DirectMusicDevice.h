#pragma once
#include "MediaDevice.h"

class DirectMusicDevice : public MediaDevice {
public:
    DirectMusicDevice() = default;
    ~DirectMusicDevice() = default;
};
