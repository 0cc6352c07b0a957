#include <gtest/gtest.h>

#include <string.h>
#include <string>

#include <process.h>

#include "RegistryStore.h"
#include "RegistryTestKey.h"

namespace {

std::string text(const HeapText& value)
{
    return value ? std::string(value.get()) : std::string("(null)");
}

} // namespace

TEST(RegistryStore, buildsKeyPathsFromKeySubkeyAndExtra)
{
    RegistryStore root("Software\\Malvoren\\Player");
    EXPECT_EQ("Software\\Malvoren\\Player", text(root.fullKeyPath()));
    EXPECT_EQ("Software\\Malvoren\\Player\\", text(root.fullKeyPath("")));
    EXPECT_EQ("Software\\Malvoren\\Player\\Order", text(root.value("000", 0, "Order").fullKeyPath()));
    EXPECT_EQ("Software\\Malvoren\\Player\\Order\\x", text(root.value("000", 0, "Order").fullKeyPath("x")));

    RegistryStore bare(nullptr);
    EXPECT_EQ("", text(bare.fullKeyPath()));
    EXPECT_EQ("x", text(bare.fullKeyPath("x")));
    EXPECT_EQ("Device", text(bare.value("MCI", 0, "Device").fullKeyPath()));
    EXPECT_EQ("Device\\x", text(bare.value("MCI", 0, "Device").fullKeyPath("x")));
}

TEST(RegistryStore, accessorsCarryNameDefaultsAndSubkeyButShareTheKey)
{
    RegistryStore root("Software\\Malvoren\\Player");
    RegistryStore number = root.value("UseDirectShow", 1);
    EXPECT_STREQ("UseDirectShow", number.valueName());
    EXPECT_EQ(1u, number.defaultNumber());
    EXPECT_EQ(root.keyPath(), number.keyPath());
    EXPECT_EQ(HKEY_CURRENT_USER, number.root());
    EXPECT_EQ(nullptr, number.subkey());

    RegistryStore named = root.textValue("000", "none", "Order");
    EXPECT_STREQ("none", named.defaultText());
    EXPECT_STREQ("Order", named.subkey());
    EXPECT_EQ(0u, named.defaultNumber());
}

TEST(RegistryStore, numbersFallBackToTheirDefaultUnlessStoredAsDword)
{
    RegistryTestKey key;
    RegistryStore store(key.path());
    EXPECT_EQ(1u, store.value("UseDirectShow", 1).readNumber());
    EXPECT_EQ(7u, store.readNumber("Missing", 7, "NoSuchSubkey"));

    EXPECT_EQ(42u, store.value("Answer").writeNumber(42));
    EXPECT_EQ(42u, store.value("Answer", 5).readNumber());
    EXPECT_EQ(0xFFFFFFFFu, store.value("AllOnes").writeNumber(0xFFFFFFFF));
    EXPECT_EQ(0xFFFFFFFFu, store.value("AllOnes").readNumber());

    ASSERT_TRUE(key.writeRaw(nullptr, "Text", REG_SZ, "1", 2));
    EXPECT_EQ(9u, store.value("Text", 9).readNumber());
    const BYTE four[4] = {1, 0, 0, 0};
    ASSERT_TRUE(key.writeRaw(nullptr, "Four", REG_BINARY, four, 4));
    EXPECT_EQ(9u, store.value("Four", 9).readNumber());
    const BYTE eight[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    ASSERT_TRUE(key.writeRaw(nullptr, "Eight", REG_DWORD, eight, 8));
    EXPECT_EQ(9u, store.value("Eight", 9).readNumber());
    ASSERT_TRUE(key.writeRaw(nullptr, "Short", REG_DWORD, eight, 2));
    EXPECT_EQ(9u, store.value("Short", 9).readNumber());

    // A write replaces a value of another type.
    store.value("Text").writeNumber(3);
    EXPECT_EQ(static_cast<DWORD>(REG_DWORD), key.readRaw(nullptr, "Text"));
    EXPECT_EQ(3u, store.value("Text", 9).readNumber());
}

TEST(RegistryStore, textsFallBackToTheirDefaultUnlessStoredAsString)
{
    RegistryTestKey key;
    RegistryStore store(key.path());
    EXPECT_EQ("", text(store.readText("Missing")));
    EXPECT_EQ("given", text(store.readText("Missing", "given")));
    EXPECT_EQ("own", text(store.textValue("Missing", "own", nullptr).readText()));
    EXPECT_EQ("given", text(store.textValue("Missing", "own", nullptr).readText(nullptr, "given")));
    EXPECT_EQ("own", text(store.textValue("Missing", "own", "NoSuchSubkey").readText()));

    ASSERT_TRUE(key.writeRaw(nullptr, "Number", REG_DWORD, "\1\0\0\0", 4));
    EXPECT_EQ("dflt", text(store.readText("Number", "dflt")));
    EXPECT_STREQ("written", store.textValue("Number", nullptr, nullptr).writeText("written"));
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), key.readRaw(nullptr, "Number"));
    EXPECT_EQ("written", text(store.readText("Number", "dflt")));

    ASSERT_TRUE(key.writeRaw(nullptr, "Expand", REG_EXPAND_SZ, "%TEMP%", 7));
    EXPECT_EQ("dflt", text(store.readText("Expand", "dflt")));
    // Stored without its terminating zero, and stored empty.
    ASSERT_TRUE(key.writeRaw(nullptr, "Unterminated", REG_SZ, "abcdef", 3));
    EXPECT_EQ("abc", text(store.readText("Unterminated", "dflt")));
    ASSERT_TRUE(key.writeRaw(nullptr, "Empty", REG_SZ, "", 0));
    EXPECT_EQ("", text(store.readText("Empty", "dflt")));
}

TEST(RegistryStore, aNullNameAddressesTheKeysDefaultValue)
{
    RegistryTestKey key;
    RegistryStore store(key.path());
    store.textValue(nullptr, nullptr, "Openable").writeText("C:\\media\\a.wav");
    char stored[64] = {};
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), key.readRaw("Openable", nullptr, stored, sizeof stored));
    EXPECT_STREQ("C:\\media\\a.wav", stored);
    EXPECT_EQ("C:\\media\\a.wav", text(store.value(nullptr, 0, "Openable").readText()));
}

TEST(RegistryStore, subkeyAndExtraAddressKeysBelowTheStore)
{
    RegistryTestKey key;
    RegistryStore store(key.path());
    store.value("000", 0, "Order").writeNumber(1);
    EXPECT_EQ(static_cast<DWORD>(REG_DWORD), key.readRaw("Order", "000"));
    store.value("x", 0, "Cache").writeNumber(2, nullptr, "Openable");
    EXPECT_EQ(static_cast<DWORD>(REG_DWORD), key.readRaw("Cache\\Openable", "x"));
    EXPECT_EQ(2u, store.readNumber("x", 0, "Cache\\Openable"));
}

TEST(RegistryStore, enumeratesAndDeletesValues)
{
    RegistryTestKey key;
    RegistryStore store(key.path());
    EXPECT_EQ(0u, store.countValues("Order"));
    EXPECT_EQ(1u, store.maxValueNameLength("Order"));
    EXPECT_FALSE(store.valueNameAt(0, "Order"));

    RegistryStore order = store.value(nullptr, 0, "Order");
    order.writeText("MCI", "000");
    order.writeText("DirectShow", "001");
    order.writeText("waveaudio", "LongerName");
    EXPECT_EQ(3u, order.countValues());
    EXPECT_EQ(strlen("LongerName") + 1, order.maxValueNameLength());
    std::string names;
    for (DWORD i = 0; i < order.countValues(); ++i)
        names += text(order.valueNameAt(i)) + ";";
    EXPECT_NE(std::string::npos, names.find("000;"));
    EXPECT_NE(std::string::npos, names.find("001;"));
    EXPECT_NE(std::string::npos, names.find("LongerName;"));
    EXPECT_FALSE(order.valueNameAt(3));

    order.deleteValue("001");
    order.deleteValue("NotThere");
    store.deleteValue("000", "NoSuchSubkey");
    EXPECT_EQ(2u, order.countValues());
    EXPECT_EQ(static_cast<DWORD>(REG_NONE), key.readRaw("Order", "001"));
    store.value("LongerName", 0, "Order").deleteValue();
    EXPECT_EQ(1u, order.countValues());
}

TEST(RegistryStore, openKeyOpensTheAccessorsKeyForReading)
{
    RegistryTestKey key;
    RegistryStore store(key.path());
    EXPECT_EQ(nullptr, store.value(nullptr, 0, "Accept").openKey());
    store.value(".WAV", 0, "Accept").writeNumber(1);
    HKEY opened = store.value(nullptr, 0, "Accept").openKey();
    ASSERT_NE(nullptr, opened);
    DWORD number = 0, size = sizeof number;
    EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExA(opened, ".WAV", nullptr, nullptr, (BYTE*)&number, &size));
    EXPECT_EQ(1u, number);
    RegCloseKey(opened);
}

TEST(RegistryStore, binaryValuesKeepTheirStoredBytes)
{
    RegistryTestKey key;
    RegistryStore store(key.path());
    const double one = 1.0;
    ByteBuffer fallback(&one, sizeof one);

    ByteBuffer missing = store.readBinary("Rate", &fallback);
    ASSERT_EQ(sizeof one, missing.size());
    EXPECT_EQ(0, memcmp(&one, missing.data(), sizeof one));
    EXPECT_EQ(0u, store.readBinary("Rate").size());

    const double rate = 1.5;
    ASSERT_TRUE(key.writeRaw(nullptr, "Rate", REG_DWORD, "\1\0\0\0", 4));
    ByteBuffer written = store.writeBinary(ByteBuffer(&rate, sizeof rate), "Rate");
    EXPECT_EQ(sizeof rate, written.size());
    EXPECT_EQ(static_cast<DWORD>(REG_BINARY), key.readRaw(nullptr, "Rate"));
    ByteBuffer stored = store.readBinary("Rate", &fallback);
    ASSERT_EQ(sizeof rate, stored.size());
    EXPECT_EQ(0, memcmp(&rate, stored.data(), sizeof rate));

    // Whatever the type, the bytes come back as stored.
    ASSERT_TRUE(key.writeRaw(nullptr, "Odd", REG_NONE, "abc", 3));
    ByteBuffer odd = store.readBinary("Odd", &fallback);
    ASSERT_EQ(3u, odd.size());
    EXPECT_EQ(0, memcmp("abc", odd.data(), 3));
    ASSERT_TRUE(key.writeRaw(nullptr, "Empty", REG_BINARY, "", 0));
    EXPECT_EQ(0u, store.readBinary("Empty", &fallback).size());
}

TEST(ByteBuffer, assignsCopiesAndRefusesEmptySources)
{
    ByteBuffer empty(nullptr, 5);
    EXPECT_EQ(0u, empty.size());
    EXPECT_EQ(nullptr, empty.data());

    ByteBuffer buffer("abcd", 4);
    EXPECT_FALSE(buffer.assign(nullptr, 3));
    EXPECT_FALSE(buffer.assign("xy", 0));
    ASSERT_EQ(4u, buffer.size());
    EXPECT_EQ(0, memcmp("abcd", buffer.data(), 4));

    ByteBuffer copy(buffer);
    EXPECT_NE(buffer.data(), copy.data());
    EXPECT_TRUE(buffer.assign("xy", 2));
    EXPECT_EQ(0, memcmp("abcd", copy.data(), 4));

    copy = buffer;
    ASSERT_EQ(2u, copy.size());
    EXPECT_EQ(0, memcmp("xy", copy.data(), 2));
    copy = copy;
    EXPECT_EQ(2u, copy.size());
    // Assigning from its own bytes works on a copy taken first.
    EXPECT_TRUE(copy.assign(copy.data() + 1, 1));
    EXPECT_EQ('y', copy.data()[0]);
}

TEST(ByteBuffer, resizeZeroedReplacesTheBlock)
{
    ByteBuffer buffer("abcd", 4);
    EXPECT_EQ(nullptr, buffer.resizeZeroed(0));
    EXPECT_EQ(4u, buffer.size());
    BYTE* block = buffer.resizeZeroed(16);
    ASSERT_NE(nullptr, block);
    EXPECT_EQ(block, buffer.data());
    EXPECT_EQ(16u, buffer.size());
    for (DWORD i = 0; i < 16; ++i)
        EXPECT_EQ(0, block[i]);
}

namespace {

struct ThreadWork {
    const RegistryStore* store;
    int thread;
    int mismatches;
};

unsigned __stdcall writeAndReadBack(void* argument)
{
    ThreadWork& work = *static_cast<ThreadWork*>(argument);
    std::string name = "Thread" + std::to_string(work.thread);
    for (DWORD i = 0; i < 200; ++i) {
        work.store->value(name.c_str()).writeNumber(i);
        if (work.store->value(name.c_str(), 0xFFFF).readNumber() != i)
            ++work.mismatches;
        work.store->readText("Shared", "x");
    }
    return 0;
}

} // namespace

TEST(RegistryStore, accessorsOfOneRootServeSeveralThreads)
{
    RegistryTestKey key;
    RegistryStore store(key.path());
    store.writeText("shared", "Shared");
    ThreadWork work[4];
    HANDLE threads[4];
    for (int i = 0; i < 4; ++i) {
        work[i] = {&store, i, 0};
        threads[i] = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, writeAndReadBack, &work[i], 0, nullptr));
        ASSERT_NE(nullptr, threads[i]);
    }
    EXPECT_EQ(WAIT_OBJECT_0, WaitForMultipleObjects(4, threads, TRUE, 60000));
    for (int i = 0; i < 4; ++i) {
        CloseHandle(threads[i]);
        EXPECT_EQ(0, work[i].mismatches);
        EXPECT_EQ(199u, store.value(("Thread" + std::to_string(i)).c_str()).readNumber());
    }
}
