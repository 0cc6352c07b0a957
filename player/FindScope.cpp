#include "FindScope.h"

#include <string.h>

namespace {

bool isDots(const char* name) { return lstrcmpA(name, ".") == 0 || lstrcmpA(name, "..") == 0; }

// No file name holds "?": one that does lost characters to the code page and
// opens nothing, so the file is named by its short name instead.
void takeOpenableName(WIN32_FIND_DATAA& data)
{
    if (strchr(data.cFileName, '?') && data.cAlternateFileName[0])
        lstrcpynA(data.cFileName, data.cAlternateFileName, MAX_PATH);
}

} // namespace

const WIN32_FIND_DATAA* FindScope::first()
{
    handle_ = FindFirstFileA(pattern_, &data_);
    return handle_ == INVALID_HANDLE_VALUE ? nullptr : skipDots();
}

const WIN32_FIND_DATAA* FindScope::next()
{
    if (handle_ == INVALID_HANDLE_VALUE || !FindNextFileA(handle_, &data_))
        return nullptr;
    return skipDots();
}

const WIN32_FIND_DATAA* FindScope::skipDots()
{
    while (isDots(data_.cFileName))
        if (!FindNextFileA(handle_, &data_))
            return nullptr;
    takeOpenableName(data_);
    return &data_;
}
