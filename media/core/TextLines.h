#pragma once
#include <stdio.h>

// Reads a text file line by line in lines of at most 1024 characters; a
// longer line comes back as several lines. Closes the file when destroyed.
class TextLines {
public:
    static const int bufferSize = 1025;

    explicit TextLines(const char* path);
    ~TextLines();
    TextLines(const TextLines&) = delete;
    TextLines& operator=(const TextLines&) = delete;

    bool isOpen() const { return file_ != nullptr; }
    // The next line with its line end, or false at the end of the file or on
    // a read error (failed() tells which).
    bool next();
    bool failed() const;
    char* line() { return line_; }

private:
    FILE* file_;
    char line_[bufferSize];
};
