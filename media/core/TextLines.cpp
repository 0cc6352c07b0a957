#include "TextLines.h"

TextLines::TextLines(const char* path) : file_(fopen(path, "rt")) { line_[0] = '\0'; }

TextLines::~TextLines()
{
    if (file_)
        fclose(file_);
}

bool TextLines::next()
{
    return file_ && fgets(line_, bufferSize, file_) != nullptr;
}

bool TextLines::failed() const
{
    return !file_ || ferror(file_) != 0;
}
