#include "FrameCapture.h"

// Frame capture is not built yet: every request fails, so the picture
// builder falls back to the type picture.

bool ConvertToClip(const char*, const char*, unsigned) { return false; }

bool CaptureFrame(const char*, unsigned, HGLOBAL* info, HGLOBAL* bits)
{
    if (info)
        *info = nullptr;
    if (bits)
        *bits = nullptr;
    return false;
}
