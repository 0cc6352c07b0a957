#include "PathParts.h"

#include <string.h>

namespace {

bool isSeparator(char c) { return c == '\\' || c == '/' || c == ':'; }

} // namespace

const char* splitDirectory(const char* path, char* directory)
{
    const char* name = path;
    for (const char* p = path; *p; p = CharNextA(p))
        if (isSeparator(*p))
            name = p + 1;
    size_t n = name - path;
    if (n >= MAX_PATH)
        n = MAX_PATH - 1;
    memcpy(directory, path, n);
    directory[n] = 0;
    return name;
}

bool joinPath(char* out, const char* directory, const char* name)
{
    size_t d = strlen(directory), n = strlen(name);
    if (d + n >= MAX_PATH)
        return false;
    memcpy(out, directory, d);
    memcpy(out + d, name, n + 1);
    return true;
}

bool endsWithBackslash(const char* path)
{
    const char* last = nullptr;
    for (const char* p = path; *p; p = CharNextA(p))
        last = p;
    return last && *last == '\\';
}

bool hasWildcard(const char* path) { return strpbrk(path, "*?") != nullptr; }
