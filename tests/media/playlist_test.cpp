#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "MediaContext.h"
#include "MediaFiles.h"
#include "TestPaths.h"

namespace {

class Playlist : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = makeTempFolder();
        CreateDirectoryA((folder + "sub").c_str(), nullptr);
        ASSERT_TRUE(writeText("a.wav", "a"));
        ASSERT_TRUE(writeText("sub\\b.wav", "b"));
        GetCurrentDirectoryA(MAX_PATH, startDirectory);
    }
    void TearDown() override
    {
        SetCurrentDirectoryA(startDirectory);
        removeTree(folder);
    }

    bool writeText(const std::string& name, const std::string& text)
    {
        return writeBytes(folder + name, text.data(), text.size());
    }
    std::string path(const std::string& name) const { return folder + name; }
    std::vector<std::string> entries() const
    {
        std::vector<std::string> list;
        for (UINT i = 0; i < context.playlistEntryCount(); ++i) {
            const char* entry = context.playlistEntry(i);
            list.push_back(entry ? entry : "<null>");
        }
        return list;
    }
    // Tests the playlist and reads as many entries as the test found.
    UINT expand(const std::string& name)
    {
        UINT count = context.isPlaylist(path(name).c_str());
        if (count && !context.readPlaylist(path(name).c_str(), count))
            return 0;
        return count;
    }

    std::string folder;
    char startDirectory[MAX_PATH];
    MediaContext context;
};

using Entries = std::vector<std::string>;

} // namespace

TEST_F(Playlist, lineListCountsExistingFilesWithoutMovingTheCurrentDirectory)
{
    std::string absolute = path("sub\\b.wav");
    ASSERT_TRUE(writeText("list.m3u", "missing.wav\na.wav\n\nhttp://host/x.mp3\n" + absolute + "\n"));
    char before[MAX_PATH], after[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, before);

    EXPECT_EQ(2u, context.isPlaylist(path("list.m3u").c_str()));
    GetCurrentDirectoryA(MAX_PATH, after);
    EXPECT_STREQ(before, after);
    EXPECT_EQ(2u, context.playlistEntryCount());
    EXPECT_EQ(MediaKindPlayList, context.kind());
    EXPECT_FALSE(context.hasAudio());
    EXPECT_FALSE(context.hasVideo());

    // The reader stores lines as written, whether they name files or not.
    ASSERT_TRUE(context.readPlaylist(path("list.m3u").c_str(), 2));
    EXPECT_EQ((Entries{"missing.wav", "a.wav"}), entries());
    GetCurrentDirectoryA(MAX_PATH, after);
    EXPECT_STREQ(before, after);
}

TEST_F(Playlist, extendedLineListSkipsCommentLines)
{
    ASSERT_TRUE(writeText("ext.M3U", "#EXTM3U\n#EXTINF:3,First\na.wav\n#EXTINF:4,Second\nsub\\b.wav\n"));
    EXPECT_EQ(2u, expand("ext.M3U"));
    EXPECT_EQ((Entries{"a.wav", "sub\\b.wav"}), entries());
}

TEST_F(Playlist, lineListResolvesAgainstItsOwnDirectoryWhenNamedRelatively)
{
    ASSERT_TRUE(writeText("sub\\inner.m3u", "b.wav\n..\\a.wav\n\\no-such-root-file.wav\n"));
    ASSERT_TRUE(SetCurrentDirectoryA(folder.c_str()));
    EXPECT_EQ(2u, context.isPlaylist("sub\\inner.m3u"));
    ASSERT_TRUE(context.readPlaylist("sub\\inner.m3u", 2));
    EXPECT_EQ((Entries{"b.wav", "..\\a.wav"}), entries());
}

TEST_F(Playlist, longLinesAreReadInPiecesOf1024Characters)
{
    std::string longLine(5000, 'x');
    ASSERT_TRUE(writeText("long.m3u", "a.wav\n" + longLine + "\nsub\\b.wav\n"));
    EXPECT_EQ(2u, context.isPlaylist(path("long.m3u").c_str()));
    ASSERT_TRUE(context.readPlaylist(path("long.m3u").c_str(), 3));
    EXPECT_STREQ("a.wav", context.playlistEntry(0));
    EXPECT_EQ(std::string(1024, 'x'), context.playlistEntry(1));
    EXPECT_EQ(std::string(1024, 'x'), context.playlistEntry(2));
}

TEST_F(Playlist, refusesWhatIsNoPlaylist)
{
    ASSERT_TRUE(writeText("none.m3u", "missing.wav\n#a.wav\nsub\n"));
    ASSERT_TRUE(writeText("empty.asx", "<asx><entry></entry></asx>\n"));
    ASSERT_TRUE(writeText("zero.pls", "[playlist]\nNumberOfEntries=0\nFile1=a.wav\n"));
    ASSERT_TRUE(writeText("blank.pls", "[playlist]\nNumberOfEntries=\nFile1=a.wav\n"));
    ASSERT_TRUE(writeText("other.pls", "[other]\nNumberOfEntries=1\nFile1=a.wav\n"));
    ASSERT_TRUE(writeText("list.txt", "a.wav\n"));
    ASSERT_TRUE(writeText("dot.", "a.wav\n"));
    ASSERT_TRUE(CreateDirectoryA(path("dir.m3u").c_str(), nullptr));
    ASSERT_TRUE(writeText("dir.m3u\\a.wav", "a"));

    for (const char* name : {"none.m3u", "empty.asx", "zero.pls", "blank.pls", "other.pls", "list.txt", "dot.",
                             "dir.m3u", "missing.m3u", "*.m3u"}) {
        EXPECT_EQ(0u, context.isPlaylist(path(name).c_str())) << name;
        EXPECT_FALSE(context.readPlaylist(path(name).c_str(), 1)) << name;
    }
    EXPECT_EQ(MediaKindUnknown, context.kind());
}

TEST_F(Playlist, profileListKeepsFileOrderAndLeavesMissingKeysNull)
{
    ASSERT_TRUE(writeText("list.pls", "[playlist]\r\nfile3=sub\\b.wav\r\nFile1=a.wav\r\nTitle1=A\r\n"
                                      "NumberOfEntries=3\r\nVersion=2\r\n"));
    ASSERT_TRUE(SetCurrentDirectoryA(folder.c_str()));
    // A bare name: the profile functions would look for it in the Windows directory.
    EXPECT_EQ(3u, context.isPlaylist("list.pls"));
    EXPECT_EQ(MediaKindPlayList, context.kind());
    ASSERT_TRUE(context.readPlaylist("list.pls", 3));
    EXPECT_EQ((Entries{"a.wav", "sub\\b.wav", "<null>"}), entries());
}

TEST_F(Playlist, profileListReadsOnlyKeysUpToTheCount)
{
    ASSERT_TRUE(writeText("list.pls", "[PlayList]\nNumberOfEntries=3\nFile2=two\nFile4=four\nFile02=zero-two\n"
                                      "File1=\nFile4294967295=last\nFile3=" + std::string(1500, 'v') + "\n"));
    EXPECT_EQ(3u, expand("list.pls"));
    EXPECT_EQ((Entries{"two", std::string(1024, 'v'), "<null>"}), entries());
}

TEST_F(Playlist, hugeEntryCountFailsTheReaderAndKeepsThePreviousList)
{
    ASSERT_TRUE(writeText("good.asx", "<asx>\n<entry><ref href=\"a.wav\"/></entry>\n</asx>\n"));
    ASSERT_TRUE(writeText("huge.pls", "[playlist]\nNumberOfEntries=4000000000\nFile1=a.wav\n"));
    ASSERT_EQ(1u, expand("good.asx"));

    EXPECT_EQ(4000000000u, context.isPlaylist(path("huge.pls").c_str()));
    EXPECT_FALSE(context.readPlaylist(path("huge.pls").c_str(), 4000000000u));
    ASSERT_NE(nullptr, context.playlistEntry(0));
    EXPECT_STREQ("a.wav", context.playlistEntry(0));
}

TEST_F(Playlist, referenceListTakesHrefValuesAsWritten)
{
    ASSERT_TRUE(writeText("list.asx", "<ASX version=\"3.0\">\n"
                                      "<Entry><Ref href=\"A.wma\"/></Entry>\n"
                                      "<Entry>\n<Ref href=\"B.wma\">\n</Entry>\n"
                                      "<Entry><Ref href=\"D.wma\"></Ref></Entry>\n"
                                      "<ENTRY><REF HREF = \"http://Host/C.WMV\" /></ENTRY>\n"
                                      "</ASX>\n"));
    // A slash and '>' anywhere after the value close the element.
    EXPECT_EQ(3u, expand("list.asx"));
    EXPECT_EQ((Entries{"A.wma", "D.wma", "http://Host/C.WMV"}), entries());

    for (const char* name : {"x.WAX", "x.wvx"}) {
        ASSERT_TRUE(writeText(name, "<asx><entry><ref href=\"v.wmv\"/></entry></asx>"));
        EXPECT_EQ(1u, expand(name)) << name;
        EXPECT_EQ((Entries{"v.wmv"}), entries()) << name;
    }
}

TEST_F(Playlist, readerStopsAtTheCountAndReplacesThePreviousList)
{
    ASSERT_TRUE(writeText("three.asx", "<ref href=\"1\"/>\n<ref href=\"2\"/>\n<ref href=\"3\"/>\n"));
    ASSERT_TRUE(writeText("one.m3u", "a.wav\n"));
    ASSERT_EQ(3u, context.isPlaylist(path("three.asx").c_str()));
    ASSERT_TRUE(context.readPlaylist(path("three.asx").c_str(), 2));
    EXPECT_STREQ("1", context.playlistEntry(0));
    EXPECT_STREQ("2", context.playlistEntry(1));
    EXPECT_EQ(nullptr, context.playlistEntry(2));

    EXPECT_EQ(1u, expand("one.m3u"));
    EXPECT_EQ((Entries{"a.wav"}), entries());
    EXPECT_EQ(nullptr, context.playlistEntry(1));

    // More slots than entries: the rest stay null.
    ASSERT_TRUE(context.readPlaylist(path("one.m3u").c_str(), 3));
    EXPECT_STREQ("a.wav", context.playlistEntry(0));
    EXPECT_EQ(nullptr, context.playlistEntry(1));
    EXPECT_EQ(nullptr, context.playlistEntry(2));
}
