#include "DshowSamples.h"

#include <windows.h>

#include "TestPaths.h"

std::string dshowSample(const char* name)
{
    std::string relative = besideTests("..\\samples\\") + name;
    char full[MAX_PATH];
    DWORD n = GetFullPathNameA(relative.c_str(), MAX_PATH, full, nullptr);
    return n && n < MAX_PATH ? std::string(full, n) : relative;
}

bool libraryLoads(const char* name)
{
    HMODULE module = LoadLibraryA(name);
    if (module)
        FreeLibrary(module);
    return module != nullptr;
}
