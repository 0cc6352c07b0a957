#pragma once
#include <stddef.h>
#include <stdint.h>

// Byte-level rules of the three playlist formats. Strings are 8-bit in the
// system code page; searches step over double-byte characters through the
// caller's lead-byte test (null: every byte is a character of its own).

typedef bool (*LeadByteTest)(unsigned char byte);

enum PlaylistFormat {
    PlaylistFormatNone,
    PlaylistFormatLines,      // .m3u
    PlaylistFormatProfile,    // .pls
    PlaylistFormatReferences, // .asx .wax .wvx
};

// The format that the extension of path names, compared without case.
PlaylistFormat playlistFormatOf(const char* path);

// Cuts line at its last LF; answers line.
char* cutAtLastLf(char* line);

// A line of a line list that names an entry: not empty and not a comment ('#').
bool isLineListEntry(const char* line);

// Finds the ref element of a reference-list line: "<", "ref", "href", "=",
// the opening and the closing double quote, "/" and ">", each after the
// previous, without case. On success *start and *length give the entry,
// the text between the quotes as written.
bool findReference(const char* line, LeadByteTest isLeadByte, size_t* start, size_t* length);

// The leading decimal digits of text as a number; no digits give 0, numbers
// beyond 32 bits give 0xFFFFFFFF.
uint32_t parseEntryCount(const char* text);

// True for a key "File<n>" (without case) where n is written as the profile
// key "File%u" of n would be, 1 or more.
bool parseFileKey(const char* key, uint32_t* number);

// Writes to out the path that entry names when read in directory (which
// ends with a backslash): absolute paths and paths of another drive stay as
// they are, a path from the root takes the drive of directory, anything else
// is appended to directory. False when the result does not fit outSize.
bool resolveEntryPath(const char* directory, const char* entry, char* out, size_t outSize);
