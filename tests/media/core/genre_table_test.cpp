#include <gtest/gtest.h>

#include <string>

#include "GenreTable.h"

namespace {

std::string genre(const char* line, unsigned number)
{
    const char* name = nullptr;
    size_t length = 0;
    if (!parseGenreLine(line, number, &name, &length))
        return "<none>";
    return std::string(name, length);
}

} // namespace

TEST(GenreTable, numbersAreHexadecimal)
{
    EXPECT_EQ("Rock", genre("11:Rock\n", 0x11));
    EXPECT_EQ("<none>", genre("17:Rock\n", 0x11));
    EXPECT_EQ("Rock", genre("0x11:Rock", 0x11));
    EXPECT_EQ("Rock", genre("  +0X11:Rock", 0x11));
    EXPECT_EQ("Plus", genre("+11:Plus", 0x11));
    EXPECT_EQ("<none>", genre("-11:Minus", 0x11));
    EXPECT_EQ("Pop", genre("d:Pop\r\n", 13));
    EXPECT_EQ("Blues", genre("0:Blues\n", 0));
}

TEST(GenreTable, namesKeepTheirSpacesAndMustNotBeEmpty)
{
    EXPECT_EQ(" Hip-Hop ", genre("7: Hip-Hop \n", 7));
    EXPECT_EQ("<none>", genre("7:\n", 7));
    EXPECT_EQ("<none>", genre("7:", 7));
}

TEST(GenreTable, commentsAndMalformedLinesMatchNothing)
{
    EXPECT_EQ("<none>", genre("#11:Rock\n", 0x11));
    EXPECT_EQ("<none>", genre(":Blues\n", 0));
    EXPECT_EQ("<none>", genre("11 :Rock\n", 0x11));
    EXPECT_EQ("<none>", genre("-1:Minus\n", 0xFF));
    EXPECT_EQ("<none>", genre("100000000011:Big\n", 0x11));
    EXPECT_EQ("<none>", genre("0x:Zero\n", 0));
    EXPECT_EQ("<none>", genre("", 0));
}
