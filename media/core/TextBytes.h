#pragma once
#include <stddef.h>
#include <stdint.h>

// The multibyte classes of one code page's bytes, as a text scan needs them.
// The Win32 side fills the table from the ANSI code page; tests fill their own.
enum TextByteClass : uint8_t {
    TextLeadByte = 1,       // starts a double-byte character
    TextTrailByte = 2,      // may follow a lead byte
    TextPrintableByte = 4,  // a printable single-byte character, kana and symbols included
};

struct TextByteClasses {
    uint8_t flags[256] = {};
};

// Printable single bytes, tab, LF and CR, and lead bytes followed by trail
// bytes; a lead byte as the very last byte is accepted. An empty block is text.
bool isTextBytes(const uint8_t* bytes, size_t size, const TextByteClasses& classes);
