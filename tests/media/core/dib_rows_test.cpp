#include <gtest/gtest.h>

#include "DibRows.h"

TEST(DibRows, RowAndImageSizes)
{
    struct Case { uint32_t width, bits, row; } rows[] = {
        {1, 1, 4}, {32, 1, 4}, {33, 1, 8}, {7, 4, 4}, {9, 4, 8},
        {1, 8, 4}, {5, 8, 8}, {3, 16, 8}, {1, 24, 4}, {5, 24, 16},
        {3, 32, 12}, {3, 2, 0}, {3, 7, 0}, {3, 0, 0},
        {0x40000000, 24, 0}, {0x1FFFFFFF, 32, 0x7FFFFFFC}, {0x20000000, 32, 0}, {0xFFFFFFFF, 1, 0x20000000},
    };
    for (const Case& c : rows)
        EXPECT_EQ(c.row, DibRowBytes(c.width, c.bits)) << c.width << " x " << c.bits;
    EXPECT_EQ(16u * 3, DibImageBytes(5, -3, 24));
    EXPECT_EQ(16u * 3, DibImageBytes(5, 3, 24));
    EXPECT_EQ(0u, DibImageBytes(0x10000, 0x10000, 32));
    EXPECT_EQ(0u, DibImageBytes(4, INT32_MIN, 8));
}
