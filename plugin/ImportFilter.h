#pragma once
#include <windows.h>

// What the exports do, for the viewer's calls.

// Nonzero when the plug-in takes the file. dw is, when the name does not
// open, the address of the first 2 KB of the medium (any bit above the low
// 16 set) or a file handle positioned at the medium's start (below 0x10000;
// 64-bit viewers pass the same two kinds of value, pointer-sized).
int IsSupportedFile(const char* filename, ULONG_PTR dw);

// The picture of a file (flag bit 0 clear) or of a memory image of len
// bytes (bit 0 set). bits may be null: only the header is built. 0 on
// success, -1 otherwise with both outputs null.
int BuildPicture(const char* buf, LONG_PTR len, UINT flag, HGLOBAL* info, HGLOBAL* bits);

// The packed record of GetPictureInfo: 26 bytes in 32-bit, 30 in 64-bit.
#pragma pack(push, 1)
struct PictureInfo {
    LONG left;
    LONG top;
    LONG width;
    LONG height;
    WORD xDensity;
    WORD yDensity;
    SHORT colorDepth;
    HLOCAL text;
};
#pragma pack(pop)
static_assert(sizeof(PictureInfo) == 22 + sizeof(HLOCAL), "the record is packed");

int GetPictureInfoOf(const char* buf, LONG_PTR len, UINT flag, PictureInfo* info);
// GetPicture (preview false) and GetPreview: the picture, then the player
// when the setting asks for it.
int GetPictureOf(const char* buf, LONG_PTR len, UINT flag, HGLOBAL* info, HGLOBAL* bits, bool preview);
