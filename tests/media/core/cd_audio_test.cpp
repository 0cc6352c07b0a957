#include <gtest/gtest.h>

#include <vector>

#include "Bytes.h"
#include "CdAudio.h"

namespace {

// The 44-byte record a CD file system shows for each track.
std::vector<uint8_t> cdaRecord(uint16_t track)
{
    std::vector<uint8_t> r(44);
    memcpy(&r[0], "RIFF", 4);
    writeLe32(&r[4], 36);
    memcpy(&r[8], "CDDAfmt ", 8);
    writeLe32(&r[16], 24);
    writeLe16(&r[20], 1);
    writeLe16(&r[22], track);
    return r;
}

} // namespace

TEST(CdaRecord, givesTheTrackNumber)
{
    std::vector<uint8_t> r = cdaRecord(5);
    EXPECT_EQ(5u, cdaTrackNumber(r.data(), r.size()));
    EXPECT_EQ(5u, cdaTrackNumber(r.data(), cdaRecordSize));
    r = cdaRecord(99);
    EXPECT_EQ(99u, cdaTrackNumber(r.data(), r.size()));
}

TEST(CdaRecord, refusesShortForeignAndImpossibleRecords)
{
    std::vector<uint8_t> r = cdaRecord(5);
    EXPECT_EQ(0u, cdaTrackNumber(r.data(), cdaRecordSize - 1));
    EXPECT_EQ(0u, cdaTrackNumber(nullptr, 44));
    for (size_t at : {0, 8, 12}) {
        std::vector<uint8_t> bad = r;
        bad[at] = 'X';
        EXPECT_EQ(0u, cdaTrackNumber(bad.data(), bad.size())) << at;
    }
    r = cdaRecord(0);
    EXPECT_EQ(0u, cdaTrackNumber(r.data(), r.size()));
    r = cdaRecord(100);
    EXPECT_EQ(0u, cdaTrackNumber(r.data(), r.size()));
    r = cdaRecord(0x105); // would pass for track 5 if the high byte were dropped
    EXPECT_EQ(0u, cdaTrackNumber(r.data(), r.size()));
}

TEST(CdPositions, packAndCountFromTheTrackStart)
{
    EXPECT_EQ(0x01040F05u, makeTmsf(5, 15, 4, 1));
    EXPECT_EQ(0x000F0105u, makeTmsf(5, 1, 15, 0));
    EXPECT_EQ(75u, tmsfSeconds(makeTmsf(5, 1, 15, 0)));
    EXPECT_EQ(75u, tmsfSeconds(makeTmsf(9, 1, 15, 74)));
    uint32_t msfLength = 3 | 25 << 8 | 40 << 16; // 3:25 and 40 frames
    EXPECT_EQ(205u, msfSeconds(msfLength));
    EXPECT_EQ(makeTmsf(5, 3, 25, 0), cdTrackEnd(5, msfLength));
}

TEST(CdPositions, positionInTrackRefusesMinutesBeyondAByte)
{
    uint32_t tmsf = 0;
    ASSERT_TRUE(cdTrackPosition(5, 75, &tmsf));
    EXPECT_EQ(makeTmsf(5, 1, 15, 0), tmsf);
    ASSERT_TRUE(cdTrackPosition(5, 255 * 60 + 59, &tmsf));
    EXPECT_EQ(makeTmsf(5, 255, 59, 0), tmsf);
    EXPECT_FALSE(cdTrackPosition(5, 256 * 60, &tmsf));
}
