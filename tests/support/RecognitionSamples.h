#pragma once
#include <windows.h>

#include <string>

#include "MediaContext.h"

// The folder of media made by tools/make-sample-media.sh (build/win32/samples,
// beside the programs' folder), with a trailing backslash; empty when absent.
std::string sampleMediaFolder();

// The kind the content tests give a file without any engine: the known chain,
// then the other chain's content tests; MediaKindUnknown when none accepts.
MediaKind recognizeByContent(MediaContext& context, const char* path);

// Up to size first bytes of a file; the count read, 0 when it cannot be read.
UINT readFileHead(const char* path, BYTE* bytes, UINT size);
