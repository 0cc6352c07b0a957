#include <gtest/gtest.h>

#include <vector>

#include "FramePixels.h"

TEST(FramePixels, SixteenAndThirtyTwoBitRowsBecomeTwentyFourBitRows)
{
    struct Case {
        uint32_t bits;
        SixteenBitLayout layout;
        std::vector<uint8_t> row;  // one source row of width 3, padded
        std::vector<uint8_t> want; // blue, green, red per pixel, then padding
    } cases[] = {
        // White, pure blue, pure red in 5-5-5; green 0x03E0.
        {16, SixteenBitLayout::Rgb555, {0xFF, 0x7F, 0x1F, 0x00, 0x00, 0x7C, 0, 0},
         {0xF8, 0xF8, 0xF8, 0xF8, 0, 0, 0, 0, 0xF8, 0, 0, 0}},
        {16, SixteenBitLayout::Rgb555, {0xE0, 0x03, 0x00, 0x80, 0x21, 0x04, 0, 0},
         {0, 0xF8, 0, 0, 0, 0, 0x08, 0x08, 0x08, 0, 0, 0}},
        // 5-6-5: red 0xF800, full green 0x07E0, the lowest green step 0x0020.
        {16, SixteenBitLayout::Rgb565, {0x00, 0xF8, 0xE0, 0x07, 0x20, 0x00, 0, 0},
         {0, 0, 0xF8, 0, 0xFC, 0, 0, 0x04, 0, 0, 0, 0}},
        {32, SixteenBitLayout::Rgb555, {1, 2, 3, 0xAA, 4, 5, 6, 0xBB, 7, 8, 9, 0xCC},
         {1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        // Two rows, the second a copy of the first: each is read at its own padded offset.
        std::vector<uint8_t> source(c.row);
        source.insert(source.end(), c.row.begin(), c.row.end());
        std::vector<uint8_t> out(2 * c.want.size(), 0xEE);
        ASSERT_TRUE(convertRowsTo24(source.data(), c.bits, c.layout, 3, 2, out.data()));
        std::vector<uint8_t> want(c.want);
        want.insert(want.end(), c.want.begin(), c.want.end());
        EXPECT_EQ(want, out) << c.bits << " bits";
    }
    uint8_t any[16] = {};
    EXPECT_FALSE(convertRowsTo24(any, 24, SixteenBitLayout::Rgb555, 1, 1, any));
    EXPECT_FALSE(convertRowsTo24(any, 8, SixteenBitLayout::Rgb555, 1, 1, any));
    EXPECT_FALSE(convertRowsTo24(any, 32, SixteenBitLayout::Rgb555, 0x20000000, 1, any));
}

TEST(FramePixels, ClipIntervalAndFrameTime)
{
    const int64_t s = 10000000;
    struct Case { uint32_t seconds; int64_t duration; int64_t start, stop; } cases[] = {
        {0, 10 * s, 0, s / 2},
        {3, 10 * s, 3 * s, 3 * s + s / 2},
        {20, 10 * s, 10 * s - 1 - s / 2, 10 * s - 1},
        {9, 10 * s, 9 * s, 9 * s + s / 2},
        {10, 10 * s, 10 * s - 1 - s / 2, 10 * s - 1},
        {0, 3 * s / 10, 0, 3 * s / 10 - 1},
        {0, s / 2, 0, s / 2 - 1},
        {0, s / 2 + 1, 0, s / 2},
        {0xFFFFFFFF, 10 * s, 10 * s - 1 - s / 2, 10 * s - 1},
    };
    for (const Case& c : cases) {
        int64_t start = -7, stop = -7;
        ASSERT_TRUE(clipInterval(c.seconds, c.duration, &start, &stop)) << c.seconds << " in " << c.duration;
        EXPECT_EQ(c.start, start) << c.seconds << " in " << c.duration;
        EXPECT_EQ(c.stop, stop) << c.seconds << " in " << c.duration;
    }
    int64_t start, stop;
    EXPECT_FALSE(clipInterval(0, 0, &start, &stop));
    EXPECT_FALSE(clipInterval(0, -1, &start, &stop));

    EXPECT_EQ(0, frameMilliseconds(0));
    EXPECT_EQ(2000, frameMilliseconds(2));
    EXPECT_EQ(2147483000, frameMilliseconds(2147483));
    EXPECT_EQ(INT32_MAX, frameMilliseconds(2147484));
    EXPECT_EQ(INT32_MAX, frameMilliseconds(0xFFFFFFFF));
}
