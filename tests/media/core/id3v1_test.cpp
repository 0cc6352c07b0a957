#include <gtest/gtest.h>

#include <string.h>

#include "Id3v1.h"

namespace {

struct TagBlock {
    uint8_t bytes[Id3v1Tag::size];

    TagBlock()
    {
        memset(bytes, 0, sizeof bytes);
        memcpy(bytes, "TAG", 3);
    }
    void put(size_t offset, const char* text, size_t width)
    {
        memset(bytes + offset, ' ', width);
        memcpy(bytes + offset, text, strlen(text));
    }
};

} // namespace

TEST(Id3v1, readsTheFieldsAndTrimsTrailingSpaces)
{
    TagBlock b;
    b.put(3, "Song", 30);
    b.put(33, "Some Artist", 30);
    memcpy(b.bytes + 63, "An Album", 8); // NUL-terminated, no padding
    b.put(93, "1999", 4);
    b.put(97, "Nice  one", 30);
    b.bytes[127] = 0x11;
    Id3v1Tag tag;
    ASSERT_TRUE(parseId3v1Tag(b.bytes, &tag));
    EXPECT_STREQ("Song", tag.title);
    EXPECT_STREQ("Some Artist", tag.artist);
    EXPECT_STREQ("An Album", tag.album);
    EXPECT_STREQ("1999", tag.year);
    EXPECT_STREQ("Nice  one", tag.comment);
    EXPECT_EQ(0x11, tag.genre);
}

TEST(Id3v1, fullWidthFieldsEndAtTheirWidthAndBlankYearIsEmpty)
{
    TagBlock b;
    memset(b.bytes + 3, 'T', 30);
    memset(b.bytes + 33, 'A', 30);
    b.put(93, "", 4);
    b.put(97, "Tab\t\r", 30);  // only blanks are trimmed
    b.bytes[127] = 0xFF;
    Id3v1Tag tag;
    ASSERT_TRUE(parseId3v1Tag(b.bytes, &tag));
    EXPECT_EQ(std::string(30, 'T'), tag.title);
    EXPECT_EQ(std::string(30, 'A'), tag.artist);
    EXPECT_STREQ("", tag.year);
    EXPECT_STREQ("Tab\t\r", tag.comment);
    EXPECT_EQ(0xFF, tag.genre);
}

TEST(Id3v1, refusesBlocksWithoutTheMarker)
{
    TagBlock b;
    b.bytes[2] = 'g';
    Id3v1Tag tag;
    EXPECT_FALSE(parseId3v1Tag(b.bytes, &tag));
}
