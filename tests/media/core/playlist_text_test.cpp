#include <gtest/gtest.h>

#include <stdio.h>
#include <string>

#include "PlaylistText.h"
#include "TextLines.h"

namespace {

// Shift-JIS lead bytes, enough to show that trail bytes are stepped over.
bool shiftJisLead(unsigned char b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

std::string reference(const char* line, LeadByteTest lead = nullptr)
{
    size_t start = 0, length = 0;
    if (!findReference(line, lead, &start, &length))
        return "<none>";
    return std::string(line + start, length);
}

std::string resolved(const char* directory, const char* entry, size_t size = 260)
{
    char out[300];
    if (!resolveEntryPath(directory, entry, out, size))
        return "<too long>";
    return out;
}

} // namespace

TEST(PlaylistText, choosesTheFormatByExtensionWithoutCase)
{
    EXPECT_EQ(PlaylistFormatLines, playlistFormatOf("C:\\a\\list.M3U"));
    EXPECT_EQ(PlaylistFormatProfile, playlistFormatOf("list.pls"));
    EXPECT_EQ(PlaylistFormatReferences, playlistFormatOf("x.Asx"));
    EXPECT_EQ(PlaylistFormatReferences, playlistFormatOf("x.wax"));
    EXPECT_EQ(PlaylistFormatReferences, playlistFormatOf("x.WVX"));
    EXPECT_EQ(PlaylistFormatNone, playlistFormatOf("x.m3u8"));
    EXPECT_EQ(PlaylistFormatNone, playlistFormatOf("x.ram"));
    EXPECT_EQ(PlaylistFormatNone, playlistFormatOf("m3u"));
    EXPECT_EQ(PlaylistFormatNone, playlistFormatOf("x."));
}

TEST(PlaylistText, cutsLinesAndSkipsComments)
{
    char line[] = "a.wav\n";
    EXPECT_STREQ("a.wav", cutAtLastLf(line));
    char bare[] = "b.wav";
    EXPECT_STREQ("b.wav", cutAtLastLf(bare));
    EXPECT_TRUE(isLineListEntry("a.wav"));
    EXPECT_FALSE(isLineListEntry(""));
    EXPECT_FALSE(isLineListEntry("#EXTM3U"));
    EXPECT_FALSE(isLineListEntry("#EXTINF:12,Title"));
}

TEST(PlaylistText, findsTheRefElementAndKeepsTheCaseOfItsValue)
{
    EXPECT_EQ("A.wma", reference("  <Ref href=\"A.wma\"/>"));
    EXPECT_EQ("http://h/B.WMV", reference("<ENTRY><REF HREF = \"http://h/B.WMV\" /></ENTRY>"));
    EXPECT_EQ("<none>", reference("<Ref href=\"A.wma\">"));
    EXPECT_EQ("<none>", reference("<Ref href=\"A.wma/>"));
    EXPECT_EQ("<none>", reference("<Ref src=\"A.wma\"/>"));
    EXPECT_EQ("<none>", reference("href=\"A.wma\" <ref/>"));
    EXPECT_EQ("", reference("<ref href=\"\"/>"));
}

TEST(PlaylistText, referenceSearchStepsOverDoubleByteCharacters)
{
    // 0x83 0x52 ... : the trail bytes spell "ref" and "href" when read as
    // single bytes; only the real element counts.
    const char line[] = "<\x83r\x83" "e\x83" "f \x83h\x83r\x83" "e\x83" "f ref href=\"\x95\x5C.wma\"/>";
    EXPECT_EQ("\x95\x5C.wma", reference(line, shiftJisLead));
    // Read as single bytes "\x83REF" holds "ref"; in Shift-JIS the R is a trail byte.
    const char trailOnly[] = "<\x83REF href=\"x\"/>";
    EXPECT_EQ("<none>", reference(trailOnly, shiftJisLead));
    EXPECT_EQ("x", reference(trailOnly));
}

TEST(PlaylistText, readsEntryCountsAndFileKeys)
{
    EXPECT_EQ(3u, parseEntryCount("3"));
    EXPECT_EQ(12u, parseEntryCount("12abc"));
    EXPECT_EQ(0u, parseEntryCount("x12"));
    EXPECT_EQ(0u, parseEntryCount("-5"));
    EXPECT_EQ(4000000000u, parseEntryCount("4000000000"));
    EXPECT_EQ(0xFFFFFFFFu, parseEntryCount("99999999999999999999"));

    uint32_t n = 0;
    EXPECT_TRUE(parseFileKey("File1", &n));
    EXPECT_EQ(1u, n);
    EXPECT_TRUE(parseFileKey("FILE4294967295", &n));
    EXPECT_EQ(4294967295u, n);
    EXPECT_FALSE(parseFileKey("File0", &n));
    EXPECT_FALSE(parseFileKey("File01", &n));
    EXPECT_FALSE(parseFileKey("File", &n));
    EXPECT_FALSE(parseFileKey("File4294967296", &n));
    EXPECT_FALSE(parseFileKey("File1a", &n));
    EXPECT_FALSE(parseFileKey("Title1", &n));
    EXPECT_FALSE(parseFileKey("Fi", &n));
}

TEST(PlaylistText, resolvesEntriesAgainstThePlaylistDirectory)
{
    EXPECT_EQ("C:\\music\\a.wav", resolved("C:\\music\\", "a.wav"));
    EXPECT_EQ("C:\\music\\sub\\..\\a.wav", resolved("C:\\music\\", "sub\\..\\a.wav"));
    EXPECT_EQ("D:\\x.wav", resolved("C:\\music\\", "D:\\x.wav"));
    EXPECT_EQ("D:/x.wav", resolved("C:\\music\\", "D:/x.wav"));
    EXPECT_EQ("C:\\x.wav", resolved("C:\\music\\", "\\x.wav"));
    EXPECT_EQ("C:/x.wav", resolved("C:\\music\\", "/x.wav"));
    EXPECT_EQ("//srv/share/x.wav", resolved("C:\\music\\", "//srv/share/x.wav"));
    EXPECT_EQ("C:\\music\\x.wav", resolved("C:\\music\\", "c:x.wav"));
    EXPECT_EQ("D:x.wav", resolved("C:\\music\\", "D:x.wav"));
    EXPECT_EQ("\\\\srv\\share\\x.wav", resolved("C:\\music\\", "\\\\srv\\share\\x.wav"));
    EXPECT_EQ("\\\\srv\\share\\x.wav", resolved("\\\\srv\\share\\music\\", "\\x.wav"));
    EXPECT_EQ("\\\\srv\\share/x.wav", resolved("\\\\srv\\share\\music\\", "/x.wav"));
    EXPECT_EQ("<too long>", resolved("C:\\music\\", "abc", 12));
    EXPECT_EQ("C:\\music\\ab", resolved("C:\\music\\", "ab", 12));
}

TEST(TextLines, splitsLinesLongerThan1024Characters)
{
    const char* name = "textlines_test.tmp";
    FILE* f = fopen(name, "wb");
    ASSERT_NE(nullptr, f);
    std::string longLine(1500, 'x');
    fprintf(f, "first\n%s\nlast", longLine.c_str());
    fclose(f);
    {
        TextLines lines(name);
        ASSERT_TRUE(lines.isOpen());
        ASSERT_TRUE(lines.next());
        EXPECT_STREQ("first\n", lines.line());
        ASSERT_TRUE(lines.next());
        EXPECT_EQ(std::string(1024, 'x'), lines.line());
        ASSERT_TRUE(lines.next());
        EXPECT_EQ(std::string(476, 'x') + "\n", lines.line());
        ASSERT_TRUE(lines.next());
        EXPECT_STREQ("last", lines.line());
        EXPECT_FALSE(lines.next());
        EXPECT_FALSE(lines.failed());
    }
    remove(name);
    TextLines missing("no-such-file.tmp");
    EXPECT_FALSE(missing.isOpen());
    EXPECT_FALSE(missing.next());
}
