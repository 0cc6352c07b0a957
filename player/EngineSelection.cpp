#include "EngineSelection.h"

namespace {

const char* const keys[EngineIndexCount] = {
    nullptr, "MCI", "MCIUnknown", "DirectShow", "DirectShowUnknown", "DirectMusic", "VBMP3", "SoftMPEG",
};

const wchar_t* const labels[EngineIndexCount] = {
    nullptr,
    L"MCI - 既知メディア",
    L"MCI - 未知メディア",
    L"DirectShow - 既知メディア",
    L"DirectShow - 未知メディア",
    L"DirectMusic - MIDI",
    L"VBMP3 - 外部エンジン",
    L"SoftMPEG - 外部エンジン",
};

} // namespace

const char* engineKey(UINT index) { return index < EngineIndexCount ? keys[index] : nullptr; }

const wchar_t* engineLabel(UINT index) { return index < EngineIndexCount ? labels[index] : nullptr; }
