#include "WideCommandLine.h"

#include <windows.h>
#include <shellapi.h>

#include <new>
#include <string.h>

#include "AnsiName.h"

WideCommandLine::WideCommandLine(int count, char** words) : words_(words)
{
    if (count > 1)
        replaceLostWords(count);
}

WideCommandLine::~WideCommandLine()
{
    delete[] owned_;
    delete[] shortNames_;
}

// The UTF-16 words are matched to the 8-bit ones by position, which holds
// only when both splits found the same number of words.
void WideCommandLine::replaceLostWords(int count)
{
    int wideCount = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &wideCount);
    if (!wide)
        return;
    char exact[MAX_PATH];
    if (wideCount == count) {
        owned_ = new (std::nothrow) char*[count + 1];
        shortNames_ = new (std::nothrow) char[count][MAX_PATH];
    }
    if (owned_ && shortNames_) {
        memcpy(owned_, words_, (count + 1) * sizeof *owned_);
        for (int i = 1; i < count; ++i) {
            if (!exactAnsiName(wide[i], exact) && openableAnsiName(wide[i], shortNames_[i]))
                owned_[i] = shortNames_[i];
        }
        words_ = owned_;
    }
    LocalFree(wide);
}
