#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "DshowSamples.h"
#include "MediaFiles.h"
#include "PlayerKeyBackup.h"
#include "PluginHost.h"
#include "TestPaths.h"

namespace {

const char PluginKey[] = "Software\\Malvoren\\Pixamor";

// The blue, green and red of the picture's first pixel (24-bit pictures only).
void firstPixel(const PluginHost::Received& picture, BYTE* bgr)
{
    DWORD offset = *(const DWORD*)&picture.bmp[10];
    memcpy(bgr, &picture.bmp[offset], 3);
}

// The colour of the picture's middle pixel by name; lossy codecs give colours
// near the flat ones they were made from.
std::string middleColour(const PluginHost::Received& picture)
{
    const DWORD offset = *(const DWORD*)&picture.bmp[10];
    const DWORD row = ((DWORD)picture.width * 3 + 3) & ~3u;
    const BYTE* bgr = &picture.bmp[offset + (DWORD)picture.height / 2 * row + (DWORD)picture.width / 2 * 3];
    const char* names[] = {"black", "red", "green", "yellow", "blue", "magenta", "cyan", "white"};
    int index = 0;
    for (int channel = 0; channel < 3; ++channel) {
        if (bgr[2 - channel] > 0x40 && bgr[2 - channel] < 0xC0)
            return "unclear";
        index |= (bgr[2 - channel] >= 0xC0) << channel;
    }
    return names[index];
}

// The temporary files that the plug-in writes memory images to.
std::vector<std::string> temporaryImages()
{
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((std::string(folder) + "pix*.tmp").c_str(), &found);
    for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found))
        names.push_back(found.cFileName);
    if (search != INVALID_HANDLE_VALUE)
        FindClose(search);
    return names;
}

} // namespace

// A viewer asks for pictures of videos with "ShowImage" on: an AVI file
// gives its frame at the configured second, through the AVI file library or
// else a DirectShow graph; with "ShowImage" off, the type picture. The
// scratch clip beside the plug-in is gone after every request that looked
// for a frame. A raw PCM file after a video has no video of its own: no
// frame is looked for.
TEST(RealImage, FrameAtTheConfiguredSecondOrTheTypePicture)
{
    if (!fileExists(dshowSample("dshow-rle-seconds.avi")))
        GTEST_SKIP() << "no DirectShow samples (tools/make-dshow-media.sh)";
    const bool aviLibrary = libraryLoads("avifil32.dll");
    struct Case {
        const char* sample;
        DWORD showImage, seconds;
        bool frame;        // a real frame rather than the type picture
        BYTE blue, green, red;
    } cases[] = {
        {"dshow-rle-seconds.avi", 1, 2, true, 0xF8, 0, 0},
        {"dshow-rle-seconds.avi", 1, 0, true, 0, 0, 0xF0},
        {"dshow-rle-seconds.avi", 1, 4294967295u, true, 0xF8, 0xF8, 0xF0},
        {"dshow-rle-seconds.avi", 0, 2, false, 0, 0, 0},
        {"dshow-mpeg1.mpg", 0, 1, false, 0, 0, 0},
    };
    const std::string folder = makeTempFolder();
    const std::string scratch = besideTests("PIXAMOR.AVI");
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.sample) + " at " + std::to_string(c.seconds));
        PlayerKeyBackup pluginKey{PluginKey};
        pluginKey.clear();
        pluginKey.setNumber("PlayWhenOpen", 0);
        pluginKey.setNumber("ShowImage", c.showImage);
        pluginKey.setNumber("FramePosition", c.seconds);
        // A copy of its own for each case, so that no cached picture answers.
        std::string name = c.sample;
        std::string path = folder + std::to_string(n++) + name.substr(name.rfind('.'));
        ASSERT_TRUE(CopyFileA(dshowSample(c.sample).c_str(), path.c_str(), FALSE));
        ASSERT_TRUE(writeBytes(scratch, "left over", 9));
        PluginHost host;
        ASSERT_TRUE(host.loaded());
        PluginHost::Received picture = host.picture(path);
        EXPECT_TRUE(!c.showImage || !fileExists(scratch));
        ASSERT_EQ(0, picture.result);
        EXPECT_EQ("", picture.problem);
        if (!c.frame) {
            EXPECT_NE(24, picture.bitCount);
            continue;
        }
        EXPECT_EQ(64, picture.width);
        EXPECT_EQ(48, picture.height);
        ASSERT_EQ(24, picture.bitCount);
        BYTE bgr[3];
        firstPixel(picture, bgr);
        // Without the AVI file library the frame comes from a DirectShow
        // graph, in full 24-bit colour.
        const BYTE expected[3] = {c.blue, c.green, c.red};
        for (int i = 0; i < 3; ++i)
            EXPECT_TRUE(bgr[i] == expected[i] || (!aviLibrary && bgr[i] == (expected[i] ? 0xFF : 0)))
                << i << ": " << (int)bgr[i];
    }
    PlayerKeyBackup pluginKey{PluginKey};
    pluginKey.clear();
    pluginKey.setNumber("PlayWhenOpen", 0);
    pluginKey.setNumber("ShowImage", 1);
    pluginKey.setNumber("TryUnknownFile", 0);
    pluginKey.setBinary("DAT", "", 0, "extension");
    ASSERT_TRUE(writeBytes(folder + "raw.dat", "\x80\x81\x82\x7f\x7e", 5));
    ASSERT_TRUE(CopyFileA(dshowSample("dshow-rle-seconds.avi").c_str(), (folder + "video.avi").c_str(), FALSE));
    PluginHost host;
    ASSERT_EQ(0, host.picture(folder + "video.avi").result);
    ASSERT_TRUE(writeBytes(scratch, "left over", 9));
    PluginHost::Received raw = host.picture(folder + "raw.dat");
    EXPECT_EQ(0, raw.result);
    EXPECT_NE(24, raw.bitCount);
    EXPECT_TRUE(fileExists(scratch));
    DeleteFileA(scratch.c_str());
    removeTree(folder);
}

// Real frames of the common video formats, from files and from memory
// images, at a second inside the video and past its end (the last frame).
// The videos are 320 x 240, red until 0.5 s, then green, blue and white for
// a second each. A video whose graph delivers no frame (an AVI cut after its
// headers) gets the type picture. Neither the scratch clip nor a temporary
// copy of a memory image stays behind.
TEST(RealImage, FramesOfEveryVideoFormatFromFilesAndMemoryImages)
{
    REQUIRE_DSHOW_SAMPLE(mpeg4Avi, "dshow-seconds-mpeg4.avi");
    std::vector<unsigned char> cut = readWholeFile(mpeg4Avi);
    for (size_t i = 0; i + 8 <= cut.size(); ++i)
        if (!memcmp(&cut[i + 4], "movi", 4)) {
            cut.resize(i + 8);
            break;
        }
    struct Case {
        const char* sample;
        DWORD seconds;
        const char* colour;  // null: the type picture
    } cases[] = {
        // Wine's MPEG splitter seeks by estimate: a second lands about a
        // second late, and a second before the end finds no frame at all.
        {"dshow-seconds.mpg", 0, "red"},         {"dshow-seconds.mpg", 60, "white"},
        {"dshow-seconds.mp4", 2, "blue"},        {"dshow-seconds.mp4", 60, "white"},
        {"dshow-seconds.wmv", 1, "green"},       {"dshow-seconds.wmv", 4294967295u, "white"},
        {"dshow-seconds.webm", 2, "blue"},       {"dshow-seconds.webm", 60, "white"},
        {"dshow-seconds-mpeg4.avi", 1, "green"}, {"dshow-seconds-mpeg4.avi", 3, "white"},
        {"cut.avi", 1, nullptr},
    };
    const std::string folder = makeTempFolder();
    const std::string scratch = besideTests("PIXAMOR.AVI");
    const std::vector<std::string> temporaryBefore = temporaryImages();
    int n = 0;
    for (const Case& c : cases)
        for (bool memory : {false, true}) {
            SCOPED_TRACE(std::string(c.sample) + " at " + std::to_string(c.seconds) + (memory ? " in memory" : ""));
            PlayerKeyBackup pluginKey{PluginKey};
            pluginKey.clear();
            pluginKey.setNumber("PlayWhenOpen", 0);
            pluginKey.setNumber("ShowImage", 1);
            pluginKey.setNumber("FramePosition", c.seconds);
            std::string name = c.sample;
            std::string path = folder + std::to_string(n++) + name.substr(name.rfind('.'));
            ASSERT_TRUE(name == "cut.avi" ? writeBytes(path, cut)
                                          : CopyFileA(dshowSample(c.sample).c_str(), path.c_str(), FALSE));
            PluginHost host;
            ASSERT_TRUE(host.loaded());
            PluginHost::Received picture = memory ? host.pictureFromMemory(readWholeFile(path)) : host.picture(path);
            EXPECT_FALSE(fileExists(scratch));
            EXPECT_EQ(temporaryBefore, temporaryImages());
            ASSERT_EQ(0, picture.result);
            EXPECT_EQ("", picture.problem);
            if (!c.colour) {
                EXPECT_NE(24, picture.bitCount);
                continue;
            }
            EXPECT_EQ(320, picture.width);
            EXPECT_EQ(240, picture.height);
            ASSERT_EQ(24, picture.bitCount);
            EXPECT_EQ(c.colour, middleColour(picture));
        }
    removeTree(folder);
}
