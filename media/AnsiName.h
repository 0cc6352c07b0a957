#pragma once
#include <windows.h>

// The 8-bit forms of a UTF-16 file name, for code that opens files by
// system-code-page names. ansi holds MAX_PATH bytes.

// The name in the system code page, exactly: false when a character has no
// form there (no look-alike is taken) or the name needs MAX_PATH bytes or more.
bool exactAnsiName(const wchar_t* wide, char* ansi);

// A name that opens the same file through the 8-bit functions: the name
// itself when the code page holds it, else the file's short (8.3) name when
// the volume gives one that the code page holds; false when neither exists.
bool openableAnsiName(const wchar_t* wide, char* ansi);
