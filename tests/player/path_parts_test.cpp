#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "PathParts.h"

namespace {

TEST(PathParts, SplitKeepsDriveAndDirectoryWithTheirSeparator)
{
    char directory[MAX_PATH];
    EXPECT_STREQ("*.wav", splitDirectory("C:\\music\\*.wav", directory));
    EXPECT_STREQ("C:\\music\\", directory);
    EXPECT_STREQ("a.wav", splitDirectory("C:a.wav", directory));
    EXPECT_STREQ("C:", directory);
    EXPECT_STREQ("a.wav", splitDirectory("a.wav", directory));
    EXPECT_STREQ("", directory);
    EXPECT_STREQ("", splitDirectory("dir/", directory));
    EXPECT_STREQ("dir/", directory);
}

TEST(PathParts, JoinRefusesWhatDoesNotFit)
{
    char out[MAX_PATH];
    std::string longName(251, 'n');  // 9 + 251 characters leave no room for the zero
    EXPECT_TRUE(joinPath(out, "C:\\", "a.wav"));
    EXPECT_STREQ("C:\\a.wav", out);
    EXPECT_FALSE(joinPath(out, "C:\\music\\", longName.c_str()));
}

// In the Japanese code page 0x5C is also the second byte of characters such
// as 0x83 0x5C: that is no separator.
TEST(PathParts, DoubleByteCharactersHideNoBackslash)
{
    if (GetACP() != 932)
        GTEST_SKIP() << "needs the Japanese code page";
    const char name[] = "C:\\\x83\x5C";
    EXPECT_FALSE(endsWithBackslash(name));
    EXPECT_TRUE(endsWithBackslash("C:\\\x83\x5C\\"));
    char directory[MAX_PATH];
    EXPECT_STREQ("\x83\x5C.wav", splitDirectory("C:\\\x83\x5C.wav", directory));
    EXPECT_STREQ("C:\\", directory);
}

} // namespace
