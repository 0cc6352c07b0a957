#include <gtest/gtest.h>

#include "Bytes.h"

TEST(Bytes, assemblesLittleAndBigEndianNumbers)
{
    const uint8_t b[] = {0x01, 0x02, 0x03, 0xF4};
    EXPECT_EQ(0x0201u, readLe16(b));
    EXPECT_EQ(0xF4030201u, readLe32(b));
    EXPECT_EQ(0x010203F4u, readBe32(b));
    uint8_t w[4];
    writeLe32(w, 0xF4030201u);
    EXPECT_EQ(0, memcmp(w, b, 4));
    EXPECT_TRUE(isFourCc((const uint8_t*)"RIFF", "RIFF"));
    EXPECT_FALSE(isFourCc((const uint8_t*)"RIFX", "RIFF"));
}
