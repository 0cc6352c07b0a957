#include "PlayerName.h"

#include <windows.h>

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// Whether the first length characters of line name the module, with or
// without its ".exe", relative to the current folder or not.
bool namesModule(const char* line, size_t length, const char* module)
{
    char candidate[MAX_PATH + 4], full[MAX_PATH];
    if (length >= MAX_PATH)
        return false;
    lstrcpynA(candidate, line, (int)length + 1);
    for (int withExtension = 0; withExtension < 2; ++withExtension) {
        if (withExtension)
            lstrcatA(candidate, ".exe");
        DWORD n = GetFullPathNameA(candidate, MAX_PATH, full, nullptr);
        if (n && n < MAX_PATH && lstrcmpiA(full, module) == 0)
            return true;
    }
    return false;
}

} // namespace

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

int programNameWords(const char* line, const char* module)
{
    // A quoted path is one word, and a path without blanks is the first word.
    if (!line || *line == '"' || !module || !*module)
        return 1;
    // Windows started the first blank-ended prefix that names a program, the
    // way the C library's words split it; a blank in the path is the only
    // way it can take more than one of them.
    int words = 1;
    for (const char* p = line;; ++p) {
        if (*p == '"')
            return 1;
        if (!*p || isBlank(*p)) {
            if (namesModule(line, (size_t)(p - line), module))
                return words;
            while (isBlank(*p))
                ++p;
            if (!*p || *p == '"' || p - line >= MAX_PATH)
                return 1;
            ++words;
        }
    }
}
