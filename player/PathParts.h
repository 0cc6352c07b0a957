#pragma once
#include <windows.h>

// Path pieces in the system code page (double-byte characters respected).

// Copies the drive and directory of path (up to and including its last "\",
// "/" or ":") into directory (260 bytes) and answers the rest of path.
const char* splitDirectory(const char* path, char* directory);
// out (260 bytes) = directory + name; false when it does not fit.
bool joinPath(char* out, const char* directory, const char* name);
// Whether the last character of path is a backslash.
bool endsWithBackslash(const char* path);
bool hasWildcard(const char* path);
