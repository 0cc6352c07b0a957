#pragma once
#include <windows.h>
#include <strmif.h>

#include "MediaKind.h"

// The kind that a DirectShow media type stands for, by the published media
// type identifiers; Unknown when none matches (the caller may still find a
// Windows Media graph). False, with kind untouched, when OLE32's IsEqualGUID
// cannot be reached.
BOOL mediaKindOfType(REFGUID majorType, REFGUID subType, MediaKind* kind);

// Frees what a media type filled by a pin or the sample grabber points to.
void freeMediaTypeParts(AM_MEDIA_TYPE& type);
