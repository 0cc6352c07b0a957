#include "AnsiName.h"

#include <wchar.h>

bool exactAnsiName(const wchar_t* wide, char* ansi)
{
    if (!wide || !ansi)
        return false;
    BOOL lossy = FALSE;
    int bytes = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, -1, ansi, MAX_PATH, nullptr, &lossy);
    if (bytes <= 0 || lossy)
        return false;
    // A conversion that substituted a character without saying so is caught
    // on the way back: only the same characters make the same file's name.
    wchar_t back[MAX_PATH];
    int units = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, ansi, bytes, back, MAX_PATH);
    return units > 0 && wcscmp(back, wide) == 0;
}

bool openableAnsiName(const wchar_t* wide, char* ansi)
{
    if (exactAnsiName(wide, ansi))
        return true;
    wchar_t shortName[MAX_PATH];
    DWORD length = wide ? GetShortPathNameW(wide, shortName, MAX_PATH) : 0;
    return length > 0 && length < MAX_PATH && exactAnsiName(shortName, ansi);
}
