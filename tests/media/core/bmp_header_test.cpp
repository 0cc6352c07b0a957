#include <gtest/gtest.h>

#include <vector>

#include "BmpHeader.h"
#include "Bytes.h"

namespace {

// A BMP file's first 54 bytes as a tool writes them, for a file of fileSize.
std::vector<uint8_t> bmpHead(int32_t width, int32_t height, uint16_t bits, uint32_t colours, uint32_t pixelOffset)
{
    std::vector<uint8_t> h(54);
    h[0] = 'B';
    h[1] = 'M';
    writeLe32(&h[10], pixelOffset);
    writeLe32(&h[14], 40);
    writeLe32(&h[18], (uint32_t)width);
    writeLe32(&h[22], (uint32_t)height);
    writeLe16(&h[26], 1);
    writeLe16(&h[28], bits);
    writeLe32(&h[46], colours);
    return h;
}

} // namespace

TEST(BmpHeader, sizesThePartsOfSoundFiles)
{
    BmpFileLayout layout;
    // 160 x 120 x 8 with a full colour table, as the type bitmaps are.
    ASSERT_TRUE(readBmpFileLayout(bmpHead(160, 120, 8, 0, 1078).data(), 54, 1078 + 19200, &layout));
    EXPECT_EQ(1024u, layout.dib.colourTableBytes);
    EXPECT_EQ(19200u, layout.dib.pixelBytes);
    EXPECT_EQ(54u, layout.colourTableOffset);
    // 96 x -96 x 4 with 16 colours named, top-down rows.
    ASSERT_TRUE(readBmpFileLayout(bmpHead(96, -96, 4, 16, 118).data(), 54, 118 + 4608, &layout));
    EXPECT_EQ(64u, layout.dib.colourTableBytes);
    EXPECT_EQ(4608u, layout.dib.pixelBytes);
    uint8_t file[14];
    ASSERT_TRUE(writeBmpFileHeader(file, 40 + 64, 4608));
    EXPECT_EQ(14u + 104 + 4608, readLe32(file + 2));
    EXPECT_EQ(118u, readLe32(file + 10));
}

TEST(BmpHeader, refusesHeadersThatLie)
{
    struct Case {
        const char* what;
        std::vector<uint8_t> head;
        uint64_t fileSize;
    } cases[] = {
        {"rows past the end", bmpHead(160, 120, 8, 0, 1078), 1078 + 19199},
        {"width 2^30", bmpHead(1 << 30, 1, 24, 0, 54), 1u << 31},
        {"bit count 7", bmpHead(8, 8, 7, 0, 54), 4096},
        {"more colours than bits allow", bmpHead(8, 8, 4, 17, 122), 4096},
        {"colour table past the end", bmpHead(1, 1, 8, 0, 54), 60},
        {"height 0", bmpHead(8, 0, 8, 0, 1078), 4096},
        {"pixels inside the headers", bmpHead(8, 8, 24, 0, 20), 4096},
    };
    for (const Case& c : cases)
        EXPECT_FALSE(readBmpFileLayout(c.head.data(), c.head.size(), c.fileSize, nullptr)) << c.what;
    std::vector<uint8_t> shortHead = bmpHead(8, 8, 24, 0, 54);
    EXPECT_FALSE(readBmpFileLayout(shortHead.data(), 53, 4096, nullptr));
    shortHead[14] = 12;  // the old 12-byte core header
    EXPECT_FALSE(readBmpFileLayout(shortHead.data(), 54, 4096, nullptr));
}
