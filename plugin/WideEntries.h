#pragma once
#include <windows.h>

#include "ImportFilter.h"

// The exports for viewers that pass file names in UTF-16. A name that the
// code page holds, or one whose file has a short name that it holds, goes
// to the 8-bit entries under that name: the answers, the cache and the
// player are theirs. A file with neither is read through a handle opened by
// its UTF-16 name: its head decides, and no player is started, as the player
// could not open it. In memory mode buf is the image's address, as for the
// 8-bit entries.

int IsSupportedWide(const wchar_t* filename, ULONG_PTR dw);
int GetPictureInfoWide(const wchar_t* buf, LONG_PTR len, UINT flag, PictureInfo* info);
int GetPictureWide(const wchar_t* buf, LONG_PTR len, UINT flag, HGLOBAL* info, HGLOBAL* bits, bool preview);
