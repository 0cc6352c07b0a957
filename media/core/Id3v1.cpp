#include "Id3v1.h"

#include <string.h>

namespace {

void copyText(char* out, const uint8_t* field, size_t width)
{
    size_t n = 0;
    while (n < width && field[n] != 0)
        ++n;
    memcpy(out, field, n);
    out[n] = '\0';
    trimTrailingSpaces(out);
}

} // namespace

bool parseId3v1Tag(const uint8_t* block, Id3v1Tag* tag)
{
    if (memcmp(block, "TAG", 3) != 0)
        return false;
    copyText(tag->title, block + 3, 30);
    copyText(tag->artist, block + 33, 30);
    copyText(tag->album, block + 63, 30);
    copyText(tag->year, block + 93, 4);
    copyText(tag->comment, block + 97, 30);
    tag->genre = block[127];
    return true;
}

void trimTrailingSpaces(char* text)
{
    size_t n = strlen(text);
    while (n > 0 && text[n - 1] == ' ')
        --n;
    text[n] = '\0';
}
