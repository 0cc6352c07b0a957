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

namespace {

// In UTF-16, so that files whose names the code page lacks go too.
void removeWideTree(const std::wstring& folder)
{
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = found.cFileName;
            if (name == L"." || name == L"..")
                continue;
            std::wstring path = folder + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                removeWideTree(path + L"\\");
            } else {
                SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(path.c_str());
            }
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
}

} // namespace

void removeTree(const std::string& folder) { removeWideTree(widened(folder)); }

std::wstring widened(const std::string& text)
{
    int units = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::wstring wide(units > 0 ? units : 1, L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &wide[0], units);
    wide.resize(wide.size() - 1);
    return wide;
}

std::string shortNameOf(const std::wstring& path)
{
    wchar_t name[MAX_PATH];
    DWORD length = GetShortPathNameW(path.c_str(), name, MAX_PATH);
    char ansi[MAX_PATH];
    BOOL lossy = FALSE;
    if (!length || length >= MAX_PATH ||
        !WideCharToMultiByte(CP_ACP, 0, name, -1, ansi, MAX_PATH, nullptr, &lossy) || lossy)
        return "";
    return ansi;
}
