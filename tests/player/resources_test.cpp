// The player's dialog templates and data resources, created and read as the
// player uses them.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "resource.h"

namespace {

INT_PTR CALLBACK quietDialog(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

std::wstring itemText(HWND dialog, int id)
{
    wchar_t text[256] = {};
    GetDlgItemTextW(dialog, id, text, 256);
    return text;
}

std::wstring caption(HWND dialog)
{
    wchar_t text[256] = {};
    GetWindowTextW(dialog, text, 256);
    return text;
}

class ResourcesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // the usage dialog's rich-edit class
        richEdit = LoadLibraryA("RICHED32.DLL");
        owner = CreateWindowA("STATIC", "", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr, nullptr, nullptr, nullptr);
    }

    void TearDown() override
    {
        DestroyWindow(owner);
        if (richEdit)
            FreeLibrary(richEdit);
    }

    HWND create(int id)
    {
        return CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), owner, quietDialog, 0);
    }

    HMODULE richEdit = nullptr;
    HWND owner = nullptr;
};

TEST_F(ResourcesTest, EveryDialogOfThePlayerCanBeCreated)
{
    ASSERT_NE(nullptr, richEdit);
    for (int id : {IDD_USAGE, IDD_CONFIGURATION, IDD_POSITION, IDD_PLAYBACK, IDD_PRIORITY, IDD_CONTROL_PANEL,
                   IDD_PROPERTY, IDD_ADVANCED, IDD_CONTROL_BAR}) {
        HWND dialog = create(id);
        EXPECT_NE(nullptr, dialog) << id;
        DestroyWindow(dialog);
    }
}

TEST_F(ResourcesTest, UsageDialogHoldsARichEditAndItsButtons)
{
    HWND dialog = create(IDD_USAGE);
    ASSERT_NE(nullptr, dialog);
    char className[32] = {};
    GetClassNameA(GetDlgItem(dialog, IDC_USAGE_TEXT), className, sizeof className);
    EXPECT_STREQ("RICHEDIT", className);
    EXPECT_EQ(L"&OK", itemText(dialog, IDOK));
    EXPECT_EQ(L"&Configure", itemText(dialog, IDC_CONFIGURE));
    DestroyWindow(dialog);
}

TEST_F(ResourcesTest, ConfigurationCaptionsAreFormatsAndTextsAreJapanese)
{
    struct Expected {
        int dialog;
        const wchar_t* caption;
        int control;
        const wchar_t* text;
    };
    const Expected expected[] = {
        {IDD_CONFIGURATION, L"%s Configuration", IDC_REPEAT_EACH, L"各ファイルもリピートする(Repeat &Each File)"},
        {IDD_POSITION, L"%s Position", IDC_CENTER_ON_SCREEN, L"画面中央(Center on &Screen)"},
        {IDD_PLAYBACK, L"%s Playback", IDC_USE_SOFTMPEG, L"Soft MPEGを使う(Use Soft M&PEG)"},
        {IDD_PRIORITY, L"%s Priority", IDC_REALTIME_CLASS, L"リアルタイムクラス(&Realtime Class)"},
        {IDD_ADVANCED, L"%s Advanced Configuration", IDC_USE_THIS_DEVICE, L"このデバイスを使用する(Use &This Device)"},
    };
    for (const Expected& item : expected) {
        HWND dialog = create(item.dialog);
        ASSERT_NE(nullptr, dialog) << item.dialog;
        EXPECT_EQ(item.caption, caption(dialog));
        EXPECT_EQ(item.text, itemText(dialog, item.control));
        DestroyWindow(dialog);
    }
}

TEST_F(ResourcesTest, ControlBarButtonsAreOneRadioGroupBeforeTheSeekBar)
{
    HWND bar = create(IDD_CONTROL_BAR);
    ASSERT_NE(nullptr, bar);
    for (int id = IDC_PLAY_BUTTON; id <= IDC_STOP_BUTTON; ++id)
        EXPECT_EQ(BS_AUTORADIOBUTTON, GetWindowLongA(GetDlgItem(bar, id), GWL_STYLE) & BS_TYPEMASK) << id;
    CheckRadioButton(bar, IDC_PLAY_BUTTON, IDC_STOP_BUTTON, IDC_PAUSE_BUTTON);
    EXPECT_EQ(BST_UNCHECKED, IsDlgButtonChecked(bar, IDC_PLAY_BUTTON));
    EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(bar, IDC_PAUSE_BUTTON));
    char className[32] = {};
    GetClassNameA(GetDlgItem(bar, IDC_SEEK_BAR), className, sizeof className);
    EXPECT_STREQ("msctls_trackbar32", className);
    DestroyWindow(bar);
}

TEST_F(ResourcesTest, DetailNamesListTheTwentySevenFieldsInOrder)
{
    HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(IDD_PROPERTY), MAKEINTRESOURCEA(240));
    ASSERT_NE(nullptr, found);
    ASSERT_EQ(563u, SizeofResource(nullptr, found));
    auto* bytes = static_cast<const BYTE*>(LockResource(LoadResource(nullptr, found)));
    std::string names[27];
    const BYTE* at = bytes;
    int count = 0;
    while (*reinterpret_cast<const WORD*>(at) != 0 && count < 27) {
        EXPECT_EQ(IDC_DETAIL_ITEMS, *reinterpret_cast<const WORD*>(at));
        DWORD length = *reinterpret_cast<const DWORD*>(at + 4);
        names[count++] = reinterpret_cast<const char*>(at + 8);
        EXPECT_EQ(length, names[count - 1].size() + 1);
        at += 8 + length;
    }
    EXPECT_EQ(27, count);
    EXPECT_EQ("Archival Location", names[0]);
    EXPECT_EQ("Name of Subject", names[14]);
    EXPECT_EQ("Technician Who Digitized The Subject", names[22]);
    EXPECT_EQ("Lyric", names[26]);
}

} // namespace
