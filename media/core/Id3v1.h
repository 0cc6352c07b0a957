#pragma once
#include <stddef.h>
#include <stdint.h>

// The version 1 tag in the last 128 bytes of a file. Texts end at their
// first NUL or their width and lose their trailing ASCII spaces.
struct Id3v1Tag {
    static const size_t size = 128;

    char title[31];
    char artist[31];
    char album[31];
    char year[5];
    char comment[31];
    uint8_t genre;
};

// Reads the tag from the 128 bytes at block; false unless they begin with "TAG".
bool parseId3v1Tag(const uint8_t* block, Id3v1Tag* tag);

// Removes the ASCII spaces at the end of text.
void trimTrailingSpaces(char* text);
