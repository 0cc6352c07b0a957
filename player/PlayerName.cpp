#include "PlayerName.h"

#include <windows.h>

const char* programName()
{
    static char name[MAX_PATH];
    if (!name[0]) {
        char path[MAX_PATH];
        DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
        path[n < MAX_PATH ? n : MAX_PATH - 1] = 0;
        const char* base = path;
        for (const char* p = path; *p; p = CharNextA(p))
            if (*p == '\\' || *p == '/' || *p == ':')
                base = p + 1;
        lstrcpynA(name, base, MAX_PATH);
        char* dot = nullptr;
        for (char* p = name; *p; p = CharNextA(p))
            if (*p == '.')
                dot = p;
        if (dot)
            *dot = 0;
    }
    return name;
}
