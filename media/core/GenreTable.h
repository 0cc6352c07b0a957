#pragma once
#include <stddef.h>

// One line of the genre table: a comment ('#' first), or a genre number in
// hexadecimal (blanks, sign and "0x" allowed before it) followed directly by
// ':' and the name to the end of the line. True when the line names genre
// with a non-empty name; *name and *length then give the name without its
// line end.
bool parseGenreLine(const char* line, unsigned genre, const char** name, size_t* length);
