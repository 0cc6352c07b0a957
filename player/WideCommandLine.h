#pragma once
#include <windows.h>

// The program's words as the C runtime split its 8-bit command line, with
// every word that lost characters to the code page (a file name holding
// them arrives with "?" in their place) replaced by the short name of the
// file that the same word of the UTF-16 command line names. A word whose
// file has no such name stays as it came.
class WideCommandLine {
public:
    WideCommandLine(int count, char** words);
    ~WideCommandLine();
    WideCommandLine(const WideCommandLine&) = delete;
    WideCommandLine& operator=(const WideCommandLine&) = delete;

    char** words() const { return words_; }

private:
    void replaceLostWords(int count);

    char** words_;
    char** owned_ = nullptr;     // the array, when words were replaced
    char (*shortNames_)[MAX_PATH] = nullptr;
};
