#include <gtest/gtest.h>
#include <windows.h>

#include <set>
#include <string>

#include "PluginHost.h"
#include "TestPaths.h"

namespace {

typedef int(WINAPI* GetPluginInfoFn)(int, LPSTR, int);

class PluginExports : public ::testing::Test {
protected:
    void SetUp() override
    {
        module = LoadLibraryA(besideTests(PluginFileName).c_str());
        ASSERT_NE(nullptr, module);
        info = (GetPluginInfoFn)GetProcAddress(module, "GetPluginInfo");
        ASSERT_NE(nullptr, info);
    }
    void TearDown() override { FreeLibrary(module); }

    HMODULE module = nullptr;
    GetPluginInfoFn info = nullptr;
};

std::set<std::string> exportedNames(HMODULE module)
{
    auto base = (const BYTE*)module;
    auto dos = (const IMAGE_DOS_HEADER*)base;
    auto nt = (const IMAGE_NT_HEADERS*)(base + dos->e_lfanew);
    auto& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    auto exports = (const IMAGE_EXPORT_DIRECTORY*)(base + dir.VirtualAddress);
    auto names = (const DWORD*)(base + exports->AddressOfNames);
    std::set<std::string> result;
    for (DWORD i = 0; i < exports->NumberOfNames; ++i)
        result.insert((const char*)(base + names[i]));
    return result;
}

} // namespace

TEST_F(PluginExports, exportsTheSixAndTheirWideTwinsUndecorated)
{
    std::set<std::string> expected = {"GetPluginInfo",  "IsSupported",  "GetPictureInfo",  "GetPicture",
                                      "GetPreview",     "ConfigurationDlg", "GetPluginInfoW", "IsSupportedW",
                                      "GetPictureInfoW", "GetPictureW",  "GetPreviewW"};
    EXPECT_EQ(expected, exportedNames(module));
}

// The wide texts are the 8-bit ones, cut the same way, counted in characters.
TEST_F(PluginExports, widePluginInfoMatchesTheNarrowOne)
{
    auto wideInfo = (int(WINAPI*)(int, LPWSTR, int))GetProcAddress(module, "GetPluginInfoW");
    ASSERT_NE(nullptr, wideInfo);
    for (int infono = -1; infono <= 26; ++infono) {
        for (int size : {0, 1, 3, 260}) {
            char narrow[260] = "untouched";
            wchar_t wide[260] = L"untouched";
            int count = info(infono, narrow, size);
            ASSERT_EQ(count, wideInfo(infono, wide, size)) << infono << " " << size;
            EXPECT_EQ(std::wstring(narrow, narrow + strlen(narrow)), std::wstring(wide)) << infono << " " << size;
        }
    }
}

TEST_F(PluginExports, pluginInfoCopiesWhatFitsAndRefusesUnknownNumbers)
{
    char buf[260];
    EXPECT_EQ(2, info(0, buf, 3));
    EXPECT_STREQ("00", buf);
    EXPECT_EQ(4, info(0, buf, sizeof buf));
    EXPECT_STREQ("00IN", buf);
    EXPECT_EQ(5, info(2, buf, sizeof buf));
    EXPECT_STREQ("*.wav", buf);
    EXPECT_EQ(8, info(25, buf, sizeof buf));
    EXPECT_STREQ("PlayList", buf);
    EXPECT_EQ(73, info(26, buf, sizeof buf));
    EXPECT_STREQ("*.mp4;*.m4a;*.m4v;*.3gp;*.mkv;*.webm;*.ogg;*.oga;*.ogv;*.opus;*.flac;*.ts", buf);
    strcpy(buf, "untouched");
    EXPECT_EQ(0, info(28, buf, sizeof buf));
    EXPECT_EQ(0, info(-1, buf, sizeof buf));
    EXPECT_EQ(0, info(1, buf, 0));
    EXPECT_STREQ("untouched", buf);
    EXPECT_EQ(0, info(3, buf, 1));
    EXPECT_STREQ("", buf);
}
