#include "FindScope.h"

namespace {

bool isDots(const char* name) { return lstrcmpA(name, ".") == 0 || lstrcmpA(name, "..") == 0; }

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
    return &data_;
}
