#pragma once
#include <windows.h>

// The entries of path when it is a playlist, read through the media
// context: a new[] block of count names of 260 bytes each (an entry the
// reader could not give is empty). Null with count 0 when path is not a
// playlist, or one whose entries cannot be read: the caller then plays path
// itself as one media file.
char (*readPlaylistEntries(const char* path, UINT* count))[MAX_PATH];
