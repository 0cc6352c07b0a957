#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "EngineSelection.h"
#include "MediaContext.h"
#include "MediaFiles.h"
#include "OutsideEngines.h"
#include "RegistryTestKey.h"
#include "TestPaths.h"

namespace {

struct Item {
    std::wstring text;
    LRESULT data;
    bool operator==(const Item& other) const { return text == other.text && data == other.data; }
};

std::ostream& operator<<(std::ostream& out, const Item& item)
{
    char text[512];
    WideCharToMultiByte(CP_UTF8, 0, item.text.c_str(), -1, text, sizeof text, nullptr, nullptr);
    return out << text << " (" << item.data << ")";
}

std::wstring wide(const char* text)
{
    wchar_t buffer[512];
    MultiByteToWideChar(CP_ACP, 0, text, -1, buffer, 512);
    return buffer;
}

// A real list box, as the advanced dialog holds it, unsorted.
class OrderListTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        listBox = CreateWindowExW(0, L"LISTBOX", L"", WS_POPUP | WS_VSCROLL, 0, 0, 300, 300, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(nullptr, listBox);
    }
    void TearDown() override
    {
        DestroyWindow(listBox);
        useVbmp3Double(false);
    }

    std::vector<Item> items() const
    {
        std::vector<Item> all;
        LRESULT count = SendMessageW(listBox, LB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            wchar_t text[512] = {};
            SendMessageW(listBox, LB_GETTEXT, (WPARAM)i, (LPARAM)text);
            all.push_back({text, SendMessageW(listBox, LB_GETITEMDATA, (WPARAM)i, 0)});
        }
        return all;
    }
    void add(const wchar_t* text, LRESULT data)
    {
        LRESULT item = SendMessageW(listBox, LB_ADDSTRING, 0, (LPARAM)text);
        SendMessageW(listBox, LB_SETITEMDATA, (WPARAM)item, data);
    }
    std::vector<std::string> storedOrder() const
    {
        std::vector<std::string> values;
        HKEY order = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, key.below("Order").c_str(), 0, KEY_READ, &order) != ERROR_SUCCESS)
            return values;
        char name[64], data[300];
        for (DWORD i = 0;; ++i) {
            DWORD nameSize = sizeof name, dataSize = sizeof data;
            if (RegEnumValueA(order, i, name, &nameSize, nullptr, nullptr, (BYTE*)data, &dataSize) != ERROR_SUCCESS)
                break;
            values.push_back(std::string(name) + "=" + data);
        }
        RegCloseKey(order);
        return values;
    }
    void storeOrder(const std::vector<const char*>& values)
    {
        for (size_t i = 0; i < values.size(); ++i) {
            char name[8];
            wsprintfA(name, "%03u", (unsigned)i);
            store.writeText(values[i], name, "Order");
        }
    }

    HWND listBox = nullptr;
    RegistryTestKey key;
    RegistryStore store{key.path()};
};

TEST_F(OrderListTest, StoredOrderShowsLabelsAndDeviceNames)
{
    storeOrder({"VBMP3", "waveaudio", "MCI", "DirectShowUnknown"});
    MediaContext context;
    fillOrderList(listBox, FALSE, context, store);
    std::vector<Item> expected = {{engineLabel(EngineVbmp3), EngineVbmp3},
                                  {L"MCI - waveaudio", EngineMciDevice},
                                  {engineLabel(EngineMci), EngineMci},
                                  {engineLabel(EngineDirectShowUnknown), EngineDirectShowUnknown}};
    EXPECT_EQ(expected, items());
    EXPECT_EQ(std::wstring(L"VBMP3 - \u5916\u90e8\u30a8\u30f3\u30b8\u30f3"), engineLabel(EngineVbmp3));
}

TEST_F(OrderListTest, StoredOrderEndsWhereTheSelectionStops)
{
    store.writeText("MCI", "000", "Order");
    store.writeText("DirectShow", "002", "Order");
    MediaContext context;
    fillOrderList(listBox, FALSE, context, store);
    std::vector<Item> expected = {{engineLabel(EngineMci), EngineMci}};
    EXPECT_EQ(expected, items());
}

TEST_F(OrderListTest, SavingThreeItemsLeavesExactlyThreeValues)
{
    storeOrder({"MCI", "MCIUnknown", "DirectShow", "DirectShowUnknown", "DirectMusic"});
    add(engineLabel(EngineSoftMpeg), EngineSoftMpeg);
    add(L"MCI - sequencer", EngineMciDevice);
    add(engineLabel(EngineDirectMusic), EngineDirectMusic);
    saveOrderList(listBox, store);
    std::vector<std::string> expected = {"000=SoftMPEG", "001=sequencer", "002=DirectMusic"};
    EXPECT_EQ(expected, storedOrder());
}

TEST_F(OrderListTest, AnItemWithoutADeviceNameIsLeftOutWithoutAGap)
{
    add(L"MCI - ", EngineMciDevice);
    add(engineLabel(EngineMci), EngineMci);
    saveOrderList(listBox, store);
    std::vector<std::string> expected = {"000=MCI"};
    EXPECT_EQ(expected, storedOrder());
}

TEST_F(OrderListTest, SaveThenFillGivesTheSameList)
{
    add(L"MCI - cdaudio", EngineMciDevice);
    add(engineLabel(EngineVbmp3), EngineVbmp3);
    add(engineLabel(EngineMciUnknown), EngineMciUnknown);
    std::vector<Item> saved = items();
    saveOrderList(listBox, store);
    SendMessageW(listBox, LB_RESETCONTENT, 0, 0);
    MediaContext context;
    fillOrderList(listBox, FALSE, context, store);
    EXPECT_EQ(saved, items());
    char entry[8];
    ASSERT_TRUE(readOrderEntry(0, entry, sizeof entry, store));
    EXPECT_STREQ("cdaudio", entry);
    ASSERT_TRUE(readOrderEntry(2, entry, 5, store));
    EXPECT_STREQ("MCIU", entry) << "at most size - 1 characters";
    EXPECT_FALSE(readOrderEntry(3, entry, sizeof entry, store));
    EXPECT_STREQ("", entry);
}

// The defaults list what works on this system, then every MCI device.
TEST_F(OrderListTest, DefaultsListTheAvailableEnginesAndTheMciDevices)
{
    add(L"stale", 99);
    MediaContext context;
    fillOrderList(listBox, TRUE, context, store);
    std::vector<Item> withoutOutsideEngines = items();
    ASSERT_GE(withoutOutsideEngines.size(), 2u);
    EXPECT_EQ((Item{engineLabel(EngineMci), EngineMci}), withoutOutsideEngines[0]);
    EXPECT_EQ((Item{engineLabel(EngineMciUnknown), EngineMciUnknown}), withoutOutsideEngines[1]);
    std::vector<Item> devices;
    for (const Item& item : withoutOutsideEngines) {
        EXPECT_NE(EngineVbmp3, item.data);
        EXPECT_NE(EngineSoftMpeg, item.data);
        EXPECT_NE(99, item.data) << "the list is cleared first";
        if (item.data == EngineMciDevice)
            devices.push_back(item);
    }
    MciDevice& mci = context.mciDevice();
    ASSERT_EQ(mci.deviceCount(), devices.size());
    for (UINT i = 0; i < devices.size(); ++i) {
        char name[256];
        ASSERT_TRUE(mci.deviceName(i, name, sizeof name));
        EXPECT_EQ(L"MCI - " + wide(name), devices[i].text);
    }

    ASSERT_TRUE(useVbmp3Double());
    SoftMpegInstall install;
    ASSERT_TRUE(install.installed());
    MediaContext withOutsideEngines;
    fillOrderList(listBox, TRUE, withOutsideEngines, store);
    std::vector<Item> all = items();
    size_t firstDevice = 0;
    while (firstDevice < all.size() && all[firstDevice].data != EngineMciDevice)
        ++firstDevice;
    ASSERT_GE(firstDevice, 4u);
    EXPECT_EQ((Item{engineLabel(EngineVbmp3), EngineVbmp3}), all[firstDevice - 2]);
    EXPECT_EQ((Item{engineLabel(EngineSoftMpeg), EngineSoftMpeg}), all[firstDevice - 1]);
    // Wine's MCI_SYSINFO also lists the devices that only system.ini names.
    EXPECT_EQ(all.back(), (Item{L"MCI - mpeg2video", EngineMciDevice}));
}

// Devices whose "Device" value is 1 are kept from the MCI engine's readers.
TEST_F(OrderListTest, DisabledMciDevicesAreExcludedFromTheMciEngine)
{
    std::string folder = makeTempFolder();
    std::string wave = folder + "tone.wav";
    ASSERT_TRUE(writePcmWave(wave, 500));
    MediaContext context;
    MciDevice& mci = context.mciDevice();
    buildMciExclusions(context, store);
    EXPECT_TRUE(mci.open(wave.c_str())) << "nothing disabled";
    mci.close();

    char name[256];
    for (UINT i = 0; mci.deviceName(i, name, sizeof name); ++i)
        setDeviceEnabled(name, false, store);
    buildMciExclusions(context, store);
    EXPECT_FALSE(mci.open(wave.c_str())) << "every installed device disabled";

    for (UINT i = 0; mci.deviceName(i, name, sizeof name); ++i)
        setDeviceEnabled(name, true, store);
    buildMciExclusions(context, store);
    EXPECT_TRUE(mci.open(wave.c_str())) << "enabled again";
    mci.close();
    removeTree(folder);
}

} // namespace
