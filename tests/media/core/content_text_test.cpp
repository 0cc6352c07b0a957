#include <gtest/gtest.h>

#include <string>

#include "TextBytes.h"

namespace {

// The classes of the Japanese Shift-JIS code page: lead bytes 81-9F and
// E0-FC, trail bytes 40-7E and 80-FC, single-byte kana A1-DF.
TextByteClasses shiftJis()
{
    TextByteClasses c;
    for (int b = 0x81; b <= 0xFC; ++b)
        if (b <= 0x9F || b >= 0xE0)
            c.flags[b] |= TextLeadByte;
    for (int b = 0x40; b <= 0xFC; ++b)
        if (b != 0x7F)
            c.flags[b] |= TextTrailByte;
    for (int b = 0x20; b <= 0x7E; ++b)
        c.flags[b] |= TextPrintableByte;
    for (int b = 0xA1; b <= 0xDF; ++b)
        c.flags[b] |= TextPrintableByte;
    return c;
}

bool isText(const std::string& s) { return isTextBytes((const uint8_t*)s.data(), s.size(), shiftJis()); }

}  // namespace

TEST(TextBytes, acceptsPrintableLinesAndDoubleByteCharacters)
{
    EXPECT_TRUE(isText(""));
    EXPECT_TRUE(isText("#EXTM3U\r\nsong.wav\tx\n"));
    EXPECT_TRUE(isText("\x93\xFA\x96\x7B\x8C\xEA\r\n"));  // three kanji
    EXPECT_TRUE(isText("\xB6\xC5 kana"));                // single-byte kana
    EXPECT_TRUE(isText("\x81\x81"));                    // a lead byte may be a trail byte
    // A lead byte cut off by the end of the scan.
    EXPECT_TRUE(isText("abc\x82"));
}

TEST(TextBytes, rejectsControlsAndBrokenPairs)
{
    EXPECT_FALSE(isText(std::string("a\0b", 3)));
    EXPECT_FALSE(isText("a\x7F"));
    EXPECT_FALSE(isText("page\x0C"));
    EXPECT_FALSE(isText("\x82\n"));      // lead byte before a line end
    EXPECT_FALSE(isText("\x82\x20"));    // trail bytes start at 40
    EXPECT_FALSE(isText("\x82\xFD"));
    EXPECT_FALSE(isText("\xFD text"));   // neither lead nor printable
    EXPECT_FALSE(isText("RIFF\x24\x08\x00\x00WAVE"));
}
