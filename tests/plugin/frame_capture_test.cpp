#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <vector>

#include "AviFiles.h"
#include "DshowSamples.h"
#include "FrameCapture.h"
#include "FrameGrab.h"
#include "MediaFiles.h"
#include "TestPaths.h"

namespace {

// Captures and checks that both blocks are fixed (each handle is its
// block's address and frees as such) and that the file was let go (a file
// still open cannot be deleted). The pixels of a capture, or empty.
std::vector<BYTE> capture(const std::string& path, unsigned seconds, BITMAPINFOHEADER* header)
{
    HGLOBAL info = (HGLOBAL)1, bits = (HGLOBAL)1;
    bool ok = CaptureFrame(path.c_str(), seconds, &info, &bits);
    EXPECT_TRUE(DeleteFileA(path.c_str()) || !fileExists(path)) << path;
    if (!ok) {
        EXPECT_EQ(nullptr, info);
        EXPECT_EQ(nullptr, bits);
        return {};
    }
    EXPECT_EQ(info, GlobalLock(info));
    EXPECT_EQ(bits, LocalLock(bits));
    *header = *(const BITMAPINFOHEADER*)info;
    EXPECT_LE(header->biSizeImage, GlobalSize(bits));
    std::vector<BYTE> pixels((const BYTE*)bits, (const BYTE*)bits + header->biSizeImage);
    EXPECT_EQ(nullptr, GlobalFree(info));
    EXPECT_EQ(nullptr, LocalFree(bits));
    return pixels;
}

} // namespace

// Uncompressed 24-bit files refuse the 16-bit request and come back exact;
// frame f is filled with the byte f * 37, ten frames a second.
TEST(FrameCapture, TakesTheFrameAtTheSecond)
{
    const std::string path = makeTempFolder() + "plain.avi";
    struct Case { unsigned seconds, width, height, frames, last; } cases[] = {
        {2, 6, 4, 30, 20}, {0, 6, 4, 30, 0}, {100, 6, 4, 30, 29}, {4294967295u, 6, 4, 30, 29},
        {0, 1, 1, 2, 0}, {0, 4000, 3000, 1, 0},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(writeUncompressedAvi(path, c.width, c.height, c.frames, 10));
        BITMAPINFOHEADER header = {};
        std::vector<BYTE> pixels = capture(path, c.seconds, &header);
        ASSERT_FALSE(pixels.empty()) << c.seconds;
        EXPECT_EQ((LONG)c.width, header.biWidth);
        EXPECT_EQ(24, header.biBitCount);
        const DWORD row = (c.width * 3 + 3) & ~3u;
        ASSERT_EQ(row * c.height, header.biSizeImage);
        // Past the end: the last frame or the one before it.
        const bool pastEnd = (unsigned long long)c.seconds * 10 >= c.frames;
        BYTE got = pixels[0];
        EXPECT_TRUE(got == (BYTE)(c.last * 37) || (pastEnd && got == (BYTE)((c.last - 1) * 37)))
            << c.seconds << ": " << (int)got;
        EXPECT_EQ(std::vector<BYTE>(c.width * 3, got), std::vector<BYTE>(pixels.begin(), pixels.begin() + c.width * 3));
    }
    removeTree(path.substr(0, path.rfind('\\') + 1));
}

// Also run without AVIFIL32, where even a good file gives nothing.
TEST(FrameCapture, BadFilesFailCleanlyAndAreLetGo)
{
    const std::string folder = makeTempFolder();
    const std::string path = folder + "bad.avi";
    ASSERT_TRUE(writeUncompressedAvi(path, 8, 8, 4, 2));
    std::vector<unsigned char> bytes(10000);
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    DWORD size = 0;
    ReadFile(file, bytes.data(), (DWORD)bytes.size(), &size, nullptr);
    CloseHandle(file);
    bytes.resize(size);
    std::vector<unsigned char> noVideo(bytes);
    for (size_t i = 0; i + 4 <= noVideo.size(); ++i)
        if (!memcmp(&noVideo[i], "vids", 4))
            memcpy(&noVideo[i], "auds", 4);
    const bool aviLibrary = libraryLoads("avifil32.dll");
    const std::function<bool()> writers[] = {
        [&] { return writeBytes(path, noVideo); },
        [&] { return writeBytes(path, bytes.data(), 300); },
        [&] { return writeBytes(path, bytes.data(), 12); },
        [&] { return writeBytes(path, "not a movie at all\r\n", 20); },
        [&] { return writePcmWave(path, 200); },
        [&] { return true; }, // no file
        [&] { return !aviLibrary && writeBytes(path, bytes); },
    };
    for (const auto& write : writers) {
        if (!write())
            continue;
        BITMAPINFOHEADER header;
        EXPECT_TRUE(capture(path, 0, &header).empty());
    }
    HGLOBAL info = (HGLOBAL)1, bits = (HGLOBAL)1;
    EXPECT_FALSE(CaptureFrame(nullptr, 0, &info, &bits));
    EXPECT_EQ(nullptr, info);
    EXPECT_EQ(nullptr, bits);
    removeTree(folder);
}

// Wine has no "Microsoft RLE" compressor, so no clip can be made here; the
// conversion must still fail cleanly and write nothing.
TEST(FrameCapture, ClipConversionFailsWithoutTheRleCompressor)
{
    if (!fileExists(dshowSample("dshow-rle.avi")))
        GTEST_SKIP() << "no MS-RLE samples (tools/make-dshow-media.sh)";
    const std::string folder = makeTempFolder();
    const std::string clip = folder + "PIXAMOR.AVI";
    EXPECT_FALSE(ConvertToClip(dshowSample("dshow-rle.avi").c_str(), clip.c_str(), 1));
    EXPECT_FALSE(fileExists(clip));
    EXPECT_FALSE(ConvertToClip(nullptr, clip.c_str(), 0));
    EXPECT_FALSE(ConvertToClip(std::string(300, 'a').c_str(), clip.c_str(), 0));
    removeTree(folder);
}

// A grab whose wait ends before a frame came, or of a file without a
// decodable picture, gives nothing and leaves the file free to delete.
TEST(FrameCapture, GrabGivesNothingWithoutAFrameInTime)
{
    REQUIRE_DSHOW_SAMPLE(video, "dshow-seconds.mp4");
    const std::string folder = makeTempFolder();
    struct Case { const char* source; DWORD wait; bool frame; } cases[] = {
        {"dshow-seconds.mp4", 5000, true}, {"dshow-seconds.mp4", 0, false}, {"dshow-tone.mp3", 5000, false},
        {nullptr, 5000, false},
    };
    for (const Case& c : cases) {
        const std::string path = folder + "grab" + (c.source ? strrchr(c.source, '.') : ".avi");
        ASSERT_TRUE(c.source ? CopyFileA(dshowSample(c.source).c_str(), path.c_str(), FALSE)
                             : writeBytes(path, "not a movie at all\r\n", 20));
        HGLOBAL info = (HGLOBAL)1, bits = (HGLOBAL)1;
        EXPECT_EQ(c.frame, GrabFrame(path.c_str(), 1, c.wait, &info, &bits)) << path << " " << c.wait;
        EXPECT_EQ(c.frame, info != nullptr);
        EXPECT_EQ(c.frame, bits != nullptr);
        GlobalFree(info);
        GlobalFree(bits);
        EXPECT_TRUE(DeleteFileA(path.c_str())) << path;
    }
    removeTree(folder);
}
