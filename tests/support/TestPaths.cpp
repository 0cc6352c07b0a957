#include "TestPaths.h"

#include <windows.h>

#include <stdio.h>
#include <stdlib.h>

std::string besideTests(const char* name)
{
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, n);
    folder.erase(folder.find_last_of('\\') + 1);
    return folder + name;
}

std::string makeTempFolder()
{
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    for (unsigned i = GetTickCount();; ++i) {
        char name[MAX_PATH];
        wsprintfA(name, "%splayer-test-%lu-%u\\", base, GetCurrentProcessId(), i);
        if (CreateDirectoryA(name, nullptr))
            return name;
        // A temporary folder that is gone (TMP left naming a removed
        // folder) would make this loop forever.
        if (GetLastError() != ERROR_ALREADY_EXISTS) {
            fprintf(stderr, "no temporary folder can be made in %s\n", base);
            abort();
        }
    }
}

void removeTree(const std::string& folder)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            std::string path = folder + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                removeTree(path + "\\");
            } else {
                SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(path.c_str());
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}
