#include <gtest/gtest.h>

#include <string.h>

#include <vector>

#include "Bytes.h"
#include "ForwardRecord.h"

namespace {

using forward::Record;

// The record is checked in a block of exactly its size: under the address
// sanitizer a check that reads past the record's size fails the test.
bool checks(const uint8_t* bytes, size_t size, Record* record = nullptr)
{
    Record scratch;
    std::vector<uint8_t> exact(bytes, bytes + size);
    return forward::check(exact.data(), size, record ? record : &scratch);
}

TEST(ForwardRecord, PlayFileRoundTrip)
{
    uint8_t bytes[forward::LargestRecord];
    size_t size = forward::buildPlayFile(bytes, 0x10103, -1, 2, "C:\\music\\*.wav");
    ASSERT_EQ(284u, size);
    EXPECT_EQ(1u, readLe32(bytes));
    EXPECT_EQ(1u, readLe32(bytes + 4));
    EXPECT_EQ(272u, readLe32(bytes + 8));
    Record record;
    ASSERT_TRUE(checks(bytes, size, &record));
    EXPECT_EQ(0x10103u, record.word);
    EXPECT_EQ(-1, record.milliseconds);
    EXPECT_EQ(2u, record.externalEngines);
    EXPECT_STREQ("C:\\music\\*.wav", record.path);
}

TEST(ForwardRecord, SizesOfTheOtherCommands)
{
    uint8_t bytes[forward::LargestRecord];
    EXPECT_EQ(16u, forward::buildWord(bytes, forward::Next, 0));
    EXPECT_TRUE(checks(bytes, 16));
    EXPECT_EQ(16u, forward::buildWord(bytes, forward::ShowUsage, 0x1234));
    Record record;
    EXPECT_TRUE(checks(bytes, 16, &record));
    EXPECT_EQ(0x1234u, record.word);
    EXPECT_EQ(272u, forward::buildQuery(bytes));
    EXPECT_TRUE(checks(bytes, 272));
}

TEST(ForwardRecord, MalformedRecordsAreRefusedWithoutReadingPastTheirSize)
{
    uint8_t bytes[forward::LargestRecord];
    size_t size = forward::buildPlayFile(bytes, 0, -1, 0, "a.wav");
    for (size_t shorter = 0; shorter < size; ++shorter)
        EXPECT_FALSE(checks(bytes, shorter)) << shorter;
    EXPECT_FALSE(forward::check(nullptr, 16, nullptr));

    uint8_t changed[forward::LargestRecord];
    auto refusedWith = [&](size_t offset, uint32_t value) {
        memcpy(changed, bytes, size);
        writeLe32(changed + offset, value);
        return !checks(changed, size);
    };
    EXPECT_TRUE(refusedWith(0, 2));    // version
    EXPECT_TRUE(refusedWith(4, 5));    // unknown command
    EXPECT_TRUE(refusedWith(8, 271));  // payload length of another size
    EXPECT_TRUE(refusedWith(8, 4));
    EXPECT_TRUE(refusedWith(24, 0));   // empty path

    forward::buildWord(bytes, forward::End, 0);
    writeLe32(bytes + 12, 1);
    EXPECT_FALSE(checks(bytes, 16));
    writeLe32(bytes + 4, forward::Next);
    EXPECT_FALSE(checks(bytes, 16));
}

TEST(ForwardRecord, EachCommandNeedsItsOwnPayloadLengthExactly)
{
    for (forward::Command command : {forward::ShowUsage, forward::PlayFile, forward::Next, forward::End,
                                     forward::QueryCurrentFile}) {
        // One byte more than the record, so that a longer length has its bytes.
        uint8_t bytes[forward::LargestRecord + 1] = {};
        size_t size = command == forward::PlayFile           ? forward::buildPlayFile(bytes, 0, -1, 0, "a.wav")
                      : command == forward::QueryCurrentFile ? forward::buildQuery(bytes)
                                                             : forward::buildWord(bytes, command, 0);
        ASSERT_TRUE(checks(bytes, size + 1)) << command;
        uint32_t length = readLe32(bytes + 8);
        for (uint32_t other : {length - 1, length + 1}) {
            writeLe32(bytes + 8, other);
            EXPECT_FALSE(checks(bytes, size + 1)) << command << " with length " << other;
        }
    }
}

TEST(ForwardRecord, AnUnterminatedPathIsTakenAsItsFirst259Characters)
{
    uint8_t bytes[forward::LargestRecord];
    size_t size = forward::buildPlayFile(bytes, 0, -1, 0, "x");
    memset(bytes + 24, 'p', 260);
    Record record;
    ASSERT_TRUE(checks(bytes, size, &record));
    EXPECT_EQ(259u, strlen(record.path));
    // A longer path handed to the builder is cut the same way.
    char longPath[400];
    memset(longPath, 'q', sizeof longPath - 1);
    longPath[sizeof longPath - 1] = 0;
    forward::buildPlayFile(bytes, 0, -1, 0, longPath);
    EXPECT_EQ(0, bytes[24 + 259]);
}

TEST(ForwardRecord, ExtraBytesAfterTheRecordAreIgnored)
{
    uint8_t bytes[forward::LargestRecord + 8] = {};
    size_t size = forward::buildWord(bytes, forward::Next, 0);
    EXPECT_TRUE(checks(bytes, size + 8));
}

} // namespace
