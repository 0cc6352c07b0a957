#pragma once
#include <windows.h>

// One wildcard search, closed when the scope ends. "." and ".." are skipped;
// a name that the code page cannot hold is given as the file's short name.
class FindScope {
public:
    explicit FindScope(const char* pattern) : pattern_(pattern) {}
    ~FindScope()
    {
        if (handle_ != INVALID_HANDLE_VALUE)
            FindClose(handle_);
    }
    FindScope(const FindScope&) = delete;
    FindScope& operator=(const FindScope&) = delete;

    // Null when there is no (further) match.
    const WIN32_FIND_DATAA* first();
    const WIN32_FIND_DATAA* next();

private:
    const WIN32_FIND_DATAA* skipDots();

    const char* pattern_;
    HANDLE handle_ = INVALID_HANDLE_VALUE;
    WIN32_FIND_DATAA data_;
};
