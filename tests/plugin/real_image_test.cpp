#include <gtest/gtest.h>
#include <windows.h>

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

} // namespace

// A viewer asks for pictures of videos with "ShowImage" on: an AVI file
// gives its frame at the configured second, anything else (no clip can be
// made here) its type picture; the scratch clip beside the plug-in is gone
// after every request that looked for a frame. A raw PCM file after a video
// has no video of its own: no frame is looked for.
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
        {"dshow-rle-seconds.avi", 1, 2, aviLibrary, 0xF8, 0, 0},
        {"dshow-rle-seconds.avi", 1, 0, aviLibrary, 0, 0, 0xF0},
        {"dshow-rle-seconds.avi", 1, 4294967295u, aviLibrary, 0xF8, 0xF8, 0xF0},
        {"dshow-rle-seconds.avi", 0, 2, false, 0, 0, 0},
        {"dshow-mpeg1.mpg", 1, 1, false, 0, 0, 0},
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
        EXPECT_EQ(c.blue, bgr[0]);
        EXPECT_EQ(c.green, bgr[1]);
        EXPECT_EQ(c.red, bgr[2]);
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
