#include <stdint.h>
#include <string.h>

#include "Id3v1.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < Id3v1Tag::size)
        return 0;
    Id3v1Tag tag;
    if (!parseId3v1Tag(data + size - Id3v1Tag::size, &tag))
        return 0;
    if (strlen(tag.title) > 30 || strlen(tag.artist) > 30 || strlen(tag.album) > 30 ||
        strlen(tag.year) > 4 || strlen(tag.comment) > 30)
        __builtin_trap();
    return 0;
}
