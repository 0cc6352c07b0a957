#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "Bytes.h"
#include "MediaFiles.h"
#include "TestPaths.h"
#include "TrackInfo.h"

namespace {

using Bytes = std::vector<unsigned char>;

void append(Bytes& out, const void* data, size_t size)
{
    const unsigned char* p = static_cast<const unsigned char*>(data);
    out.insert(out.end(), p, p + size);
}

// A chunk: id, little-endian size, data, and a pad byte to an even size.
Bytes chunk(const char* id, const std::string& data)
{
    Bytes out(8);
    memcpy(&out[0], id, 4);
    writeLe32(&out[4], (uint32_t)data.size());
    append(out, data.data(), data.size());
    if (data.size() % 2)
        out.push_back(0);
    return out;
}

std::string text(const Bytes& bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

// A RIFF file of the form, holding a format chunk, an INFO list of the given
// chunks (text with its NUL) and a little data.
Bytes riffFile(const char* form, const std::vector<std::pair<const char*, std::string>>& info)
{
    std::string list = "INFO";
    for (const auto& entry : info)
        list += text(chunk(entry.first, entry.second));
    Bytes pcm = pcmWaveHeader(0, 8000, 1, 8);
    std::string body = form;
    body += text(chunk("fmt ", std::string(pcm.begin() + 20, pcm.begin() + 36)));
    body += text(chunk("LIST", list));
    body += text(chunk("data", std::string(16, '\x80')));
    return chunk("RIFF", body);
}

struct Tag {
    const char* title = "";
    const char* artist = "";
    const char* album = "";
    const char* year = "";
    const char* comment = "";
    unsigned char genre = 0xFF;
};

Bytes tagBytes(const Tag& tag)
{
    Bytes out(128, ' ');
    memcpy(&out[0], "TAG", 3);
    memcpy(&out[3], tag.title, strlen(tag.title));
    memcpy(&out[33], tag.artist, strlen(tag.artist));
    memcpy(&out[63], tag.album, strlen(tag.album));
    memcpy(&out[93], tag.year, strlen(tag.year));
    memcpy(&out[97], tag.comment, strlen(tag.comment));
    out[127] = tag.genre;
    return out;
}

Bytes operator+(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

class TrackInfoTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = makeTempFolder();
        table = folder + "GENRE.TBL";
        std::string lines = "#11:Commented\n17:Decimal looking\n0x11:Rock\n11:Second\n";
        ASSERT_TRUE(writeBytes(table, lines.data(), lines.size()));
    }
    void TearDown() override { removeTree(folder); }

    std::string write(const char* name, const Bytes& bytes)
    {
        std::string path = folder + name;
        EXPECT_TRUE(writeBytes(path, bytes));
        return path;
    }
    std::string field(int index)
    {
        const char* text = info.field(index);
        return text ? text : "<null>";
    }

    std::string folder;
    std::string table;
    TrackInfo info;
};

} // namespace

TEST_F(TrackInfoTest, infoChunksComeFirstAndTheTagFillsTheRest)
{
    Tag tag;
    tag.title = "Tag Title";
    tag.artist = "Tag Artist";
    tag.album = "Tag Album";
    tag.year = "1987";
    tag.comment = "Tag comment";
    tag.genre = 0x11;
    std::string path = write("song.wav", riffFile("WAVE", {{"INAM", std::string("Chunk Name\0", 11)},
                                                             {"ICMT", std::string("no terminator")},
                                                             {"ISFT", std::string("Tool\0junk", 9)}}) +
                                             tagBytes(tag));
    info.load(path.c_str(), table.c_str(), TrackInfo::allFields);
    EXPECT_EQ("Chunk Name", field(14));
    EXPECT_EQ("no terminator", field(3));
    EXPECT_EQ("Tool", field(18));
    EXPECT_EQ("Tag Artist", field(1));
    EXPECT_EQ("1987", field(5));
    EXPECT_EQ("Tag Album", field(16));
    EXPECT_EQ("Rock", field(10));
    EXPECT_EQ("<null>", field(0));
    EXPECT_EQ("<null>", field(26));
}

TEST_F(TrackInfoTest, riffMp3InfoWinsOverTheTag)
{
    Tag tag;
    tag.artist = "Tag Artist";
    tag.title = "Tag Title";
    std::string path = write("song.mp3", riffFile("RMP3", {{"IART", std::string("Chunk Artist\0", 13)},
                                                            {"INAM", ""}}) + tagBytes(tag));
    info.load(path.c_str(), table.c_str(), TrackInfo::allFields);
    EXPECT_EQ("Chunk Artist", field(1));
    EXPECT_EQ("", field(14));  // an empty chunk is still the field
}

TEST_F(TrackInfoTest, bareTagTextsLoseTrailingSpacesOnly)
{
    Tag tag;
    tag.title = "Word";
    tag.comment = "  two  spaces";
    tag.year = "    ";
    tag.genre = 0x11;
    std::string path = write("bare.mp3", Bytes(300, 0xFF) + tagBytes(tag));
    info.load(path.c_str(), table.c_str(), TrackInfo::allFields);
    EXPECT_EQ("Word", field(14));
    EXPECT_EQ("  two  spaces", field(3));
    EXPECT_EQ("", field(5));
    EXPECT_EQ("", field(1));
    EXPECT_EQ("Rock", field(10));

    info.load(path.c_str(), nullptr, TrackInfo::allFields);
    EXPECT_EQ("<null>", field(10));
    EXPECT_EQ("Word", field(14));

    std::string onlyTag = write("tag.mp3", tagBytes(tag));
    info.load(onlyTag.c_str(), table.c_str(), TrackInfo::Name);
    EXPECT_EQ("Word", field(14));
}

TEST_F(TrackInfoTest, shippedGenreTableNamesTheStandardGenres)
{
    Tag tag;
    std::string shipped = besideTests("GENRE.TBL");
    for (auto expected : {std::make_pair(0x00, "Blues"), std::make_pair(0x11, "Rock"), std::make_pair(0x4F, "Hard Rock"),
                          std::make_pair(0x50, "Folk")}) {
        tag.genre = (unsigned char)expected.first;
        std::string path = write("genre.mp3", Bytes(10, 0) + tagBytes(tag));
        info.load(path.c_str(), shipped.c_str(), TrackInfo::Genre);
        EXPECT_EQ(expected.second, field(10));
    }
    tag.genre = 0xFF;
    std::string path = write("genre.mp3", tagBytes(tag));
    info.load(path.c_str(), shipped.c_str(), TrackInfo::Genre);
    EXPECT_EQ("<null>", field(10));
    info.load(path.c_str(), (folder + "missing.tbl").c_str(), TrackInfo::Genre);
    EXPECT_EQ("<null>", field(10));
}

TEST_F(TrackInfoTest, singleIndexLoadsOneFieldAndOtherIndicesOnlyClear)
{
    Tag tag;
    tag.title = "Title";
    tag.artist = "Artist";
    std::string path = write("one.wav", riffFile("WAVE", {{"ICOP", std::string("(c)\0", 4)}}) + tagBytes(tag));
    info.load(path.c_str(), table.c_str(), 14);
    EXPECT_EQ("Title", field(14));
    EXPECT_EQ("<null>", field(1));
    EXPECT_EQ("<null>", field(4));
    info.load(path.c_str(), table.c_str(), 4);
    EXPECT_EQ("(c)", field(4));
    EXPECT_EQ("<null>", field(14));

    info.load(path.c_str(), table.c_str(), 30);
    for (int i = 0; i < TrackInfo::fieldCount; ++i)
        EXPECT_EQ("<null>", field(i)) << i;
    info.load(path.c_str(), table.c_str(), TrackInfo::allFields);
    EXPECT_EQ("<null>", field(27));
    EXPECT_EQ("<null>", field(-2));
    char copy[4];
    EXPECT_TRUE(info.copyField(14, copy, sizeof copy));
    EXPECT_STREQ("Tit", copy);
    EXPECT_FALSE(info.copyField(0, copy, sizeof copy));
    EXPECT_STREQ("", copy);
    EXPECT_FALSE(info.copyField(14, nullptr, sizeof copy));
    info.clear();
    EXPECT_EQ("<null>", field(14));
}

TEST_F(TrackInfoTest, damagedOrMissingFilesLeaveFieldsNull)
{
    // A chunk that claims more bytes than the file holds.
    Bytes riff = riffFile("WAVE", {{"INAM", std::string("Name\0", 5)}});
    std::string text = std::string(riff.begin(), riff.end());
    size_t inam = text.find("INAM");
    writeLe32(&riff[inam + 4], 0x7FFFFF00);
    std::string truncated = write("truncated.wav", riff);
    std::string small = write("small.mp3", Bytes{'T', 'A', 'G', 'x'});
    std::string avi = write("video.avi", riffFile("AVI ", {{"INAM", std::string("Name\0", 5)}}));
    for (const std::string& path : {truncated, small, avi, folder + "missing.wav", folder}) {
        info.load(path.c_str(), table.c_str(), TrackInfo::allFields);
        for (int i = 0; i < TrackInfo::fieldCount; ++i)
            EXPECT_EQ("<null>", field(i)) << path << " field " << i;
    }
}

namespace {

class TrackInfoWithoutWinmm : public TrackInfoTest {};

bool winmmOverridden()
{
    char overrides[512] = "";
    GetEnvironmentVariableA("WINEDLLOVERRIDES", overrides, sizeof overrides);
    return strstr(overrides, "winmm=") != nullptr;
}

} // namespace

TEST_F(TrackInfoWithoutWinmm, theTagStillFillsItsFields)
{
    if (!winmmOverridden())
        GTEST_SKIP() << "needs WINEDLLOVERRIDES=winmm=";
    Tag tag;
    tag.title = "Tag Title";
    tag.genre = 0x11;
    std::string path = write("song.wav", riffFile("WAVE", {{"INAM", std::string("Chunk Name\0", 11)},
                                                             {"IART", std::string("Chunk Artist\0", 13)}}) +
                                             tagBytes(tag));
    info.load(path.c_str(), table.c_str(), TrackInfo::allFields);
    EXPECT_EQ("Tag Title", field(14));
    EXPECT_EQ("", field(1));
    EXPECT_EQ("Rock", field(10));
}
