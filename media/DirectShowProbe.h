#pragma once
#include <windows.h>

#include "MediaKind.h"

// The kind that a DirectShow media type stands for, by the published media
// type identifiers; Unknown when none matches (the caller may still find a
// Windows Media graph). False, with kind untouched, when OLE32's IsEqualGUID
// cannot be reached.
BOOL mediaKindOfType(REFGUID majorType, REFGUID subType, MediaKind* kind);
