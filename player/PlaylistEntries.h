#pragma once
#include <windows.h>

// The entries of path when it is a playlist, read through the media
// context: a new[] block of count names of 260 bytes each (an entry the
// reader could not give is empty). Null with count 0 when path is not a
// playlist; a playlist whose entries cannot be read gives one empty name.
char (*readPlaylistEntries(const char* path, UINT* count))[MAX_PATH];
