#pragma once
#include <windows.h>

#include "TypePicture.h"

class MediaContext;

// Names a medium for its type picture: the first recogniser that takes it
// decides, each probing with the engine that the settings choose. False when
// nothing takes it (or a DirectShow probe found a kind that has no picture).
bool ClassifyFile(MediaContext& context, const char* path, MediaClass* media);
// The content tests alone, on a memory image.
bool ClassifyImage(MediaContext& context, const BYTE* bytes, UINT size, MediaClass* media);

// The extension of a name without its dot ("" when there is none), a
// pointer into the name.
const char* extensionOf(const char* name);
