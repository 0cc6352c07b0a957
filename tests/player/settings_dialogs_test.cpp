// The settings dialogs as the player runs them (modal, on this thread),
// driven from a second thread by messages as a user would; what they store
// is read back from the player's real key, which the test puts back.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "DshowSamples.h"
#include "EngineSelection.h"
#include "MediaContext.h"
#include "MediaFiles.h"
#include "OutsideEngines.h"
#include "PlayerCore.h"
#include "PlayerKeyBackup.h"
#include "PlayerName.h"
#include "PlayerProcess.h"
#include "SettingsDialog.h"
#include "TestPaths.h"
#include "resource.h"

namespace {

const DWORD Generous = 60000;
const DWORD Missing = 0xDEADBEEF;

DWORD stored(const char* name, const char* subkey = nullptr) { return playerStore.readNumber(name, Missing, subkey); }

// The visible dialog of that caption, waited for.
HWND waitFor(const std::string& caption)
{
    for (DWORD start = GetTickCount(); GetTickCount() - start < Generous; Sleep(10)) {
        HWND dialog = FindWindowA("#32770", caption.c_str());
        if (dialog && IsWindowVisible(dialog))
            return dialog;
    }
    ADD_FAILURE() << "no dialog " << caption;
    return nullptr;
}

void click(HWND dialog, int id) { SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }
bool checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }
bool enabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }
bool shown(HWND dialog, int id) { return IsWindowVisible(GetDlgItem(dialog, id)) != FALSE; }

// A button that opens or closes a modal dialog is clicked by a posted
// message: a sent one would wait for the dialog's end.
HWND open(HWND owner, int button, const char* title, std::string program = programName())
{
    PostMessageA(GetDlgItem(owner, button), BM_CLICK, 0, 0);
    return waitFor(program + " " + title);
}

void waitGone(HWND dialog)
{
    for (DWORD start = GetTickCount(); IsWindow(dialog) && GetTickCount() - start < Generous;)
        Sleep(10);
    EXPECT_FALSE(IsWindow(dialog));
}

void close(HWND dialog, int button)
{
    PostMessageA(GetDlgItem(dialog, button), BM_CLICK, 0, 0);
    waitGone(dialog);
}

// Whether the dialog's thread stops answering (it waits for a lock) before
// the dialog closes.
bool stopsAnswering(HWND dialog)
{
    for (DWORD start = GetTickCount(); IsWindow(dialog) && GetTickCount() - start < Generous;) {
        DWORD_PTR answer;
        if (!SendMessageTimeoutA(dialog, WM_NULL, 0, 0, SMTO_NORMAL, 200, &answer))
            return IsWindow(dialog) != FALSE;
    }
    return false;
}

void selectEntry(HWND dialog, int item)
{
    HWND list = GetDlgItem(dialog, IDC_DEVICE_ORDER);
    SendMessageA(list, LB_SETCURSEL, (WPARAM)item, 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_DEVICE_ORDER, LBN_SELCHANGE), (LPARAM)list);
}

HWND threadWindow(DWORD thread, HWND GUITHREADINFO::*which)
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(thread, &info) ? info.*which : nullptr;
}

void storeOrder(const PlayerKeyBackup& key, const std::vector<const char*>& entries)
{
    for (size_t i = 0; i < entries.size(); ++i)
        key.setText(("00" + std::to_string(i)).c_str(), entries[i], "Order");
}

class SettingsDialogs : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(key.clear());
        instanceHandle = GetModuleHandleA(nullptr);
        mediaContext = new MediaContext;
        playOptions = PlayOptions();
        playerSettings = PlayerSettings();
    }
    void TearDown() override
    {
        delete mediaContext;
        mediaContext = nullptr;
        useVbmp3Double(false);
    }

    // Runs the configuration dialog here while script drives it from a
    // second thread; what the script leaves open is cancelled afterwards.
    void drive(std::function<void(HWND configuration)> script)
    {
        DWORD self = GetCurrentThreadId();
        volatile bool done = false;
        std::thread driver([&] {
            if (HWND configuration = waitFor(std::string(programName()) + " Configuration"))
                script(configuration);
            for (; !done; Sleep(50))
                if (HWND active = threadWindow(self, &GUITHREADINFO::hwndActive))
                    PostMessageA(active, WM_COMMAND, IDCANCEL, 0);
        });
        runConfigurationDialog(nullptr);
        done = true;
        driver.join();
    }

    PlayerKeyBackup key;
};

struct GeneralCheck {
    int id;
    const char* name;
    bool byDefault;
};

const GeneralCheck generalChecks[] = {
    {IDC_HIDE_ALWAYS, "HideAlways", false},          {IDC_HIDE_WITHOUT_VIDEO, "HideWhenDeviceHasNoVideo", true},
    {IDC_ADJUST_SIZE, "AdjustSizeWhenDeviceHasVideo", true}, {IDC_REPOSITION, "RepositionWithinScreen", true},
    {IDC_TOP_MOST, "ShowOnTopMost", false},          {IDC_STATE_CURSOR, "UseStateCursor", false},
    {IDC_REPEAT, "Repeat", false},                   {IDC_REPEAT_EACH, "RepeatEach", false},
    {IDC_SHOW_TRACK_NAME, "ShowTrackName", true},
};

// Every check box shows its stored value (an unsaved Repeat of the menu is
// set aside), follows its enabling rule and, clicked, stores the other
// value; Cancel stores nothing. OK stores after the playback and priority
// dialogs stored theirs, keeping their values, and recomputes the flag word.
// Under Wine DirectShow, DirectMusic and the DVD builder answer yes, VBMP3
// only with the stand-in library on the path, SoftMPEG no.
// The engines and the window take the stored values at once: with every MCI
// device switched off MCI takes no file, and the window is made topmost.
TEST_F(SettingsDialogs, TheConfigurationDialogAndThoseItOpensStoreTheirValues)
{
    playerSettings.repeat = true;
    key.setNumber("EnableDvd", 1);
    key.setNumber("EnableRealtime", 1);
    useVbmp3Double(true);
    std::string folder = makeTempFolder(), wave = folder + "tone.wav";
    ASSERT_TRUE(writePcmWave(wave, 1000));
    MciDevice& mci = mediaContext->mciDevice();
    char device[OrderEntrySize];
    for (UINT i = 0; mci.deviceName(i, device, sizeof device); ++i)
        key.setNumber(device, 1, "Device");
    ASSERT_TRUE(mci.probe(wave.c_str()));
    mainWindow = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    const int methods[] = {IDC_USE_MCI,      IDC_USE_DIRECTSHOW, IDC_USE_DIRECTMUSIC, IDC_USE_DIRECTSHOW_DVD,
                           IDC_USE_EXTERNAL, IDC_USE_VBMP3};
    for (int button : {IDCANCEL, IDOK}) {
        drive([&](HWND dialog) {
            for (const GeneralCheck& c : generalChecks)
                EXPECT_EQ(c.byDefault, checked(dialog, c.id)) << c.name;
            EXPECT_FALSE(enabled(dialog, IDC_REPEAT_EACH));
            for (const GeneralCheck& c : generalChecks)
                click(dialog, c.id);
            EXPECT_FALSE(enabled(dialog, IDC_HIDE_WITHOUT_VIDEO));
            EXPECT_TRUE(enabled(dialog, IDC_REPEAT_EACH));
            if (button == IDOK) {
                HWND playback = open(dialog, IDC_OPEN_PLAYBACK, "Playback");
                for (int id : methods)
                    EXPECT_TRUE(enabled(playback, id)) << id;
                EXPECT_TRUE(shown(playback, IDC_DECODE_HARDWARE));
                EXPECT_FALSE(enabled(playback, IDC_DECODE_HARDWARE));
                EXPECT_FALSE(enabled(playback, IDC_USE_SOFTMPEG));
                EXPECT_FALSE(enabled(playback, IDC_OPEN_ADVANCED));
                for (int id : {IDC_USE_DIRECTSHOW_DVD, IDC_DECODE_HARDWARE, IDC_USE_EXTERNAL, IDC_USE_MCI})
                    click(playback, id);
                EXPECT_TRUE(enabled(playback, IDC_DECODE_HARDWARE));
                EXPECT_FALSE(enabled(playback, IDC_USE_VBMP3));
                click(playback, IDC_USE_ADVANCED);
                for (int id : methods)
                    EXPECT_FALSE(enabled(playback, id)) << id;
                EXPECT_TRUE(enabled(playback, IDC_OPEN_ADVANCED));
                close(playback, IDOK);
                HWND priority = open(dialog, IDC_OPEN_PRIORITY, "Priority");
                HWND focus = threadWindow(GetWindowThreadProcessId(priority, nullptr), &GUITHREADINFO::hwndFocus);
                EXPECT_EQ(GetDlgItem(priority, IDC_NORMAL_CLASS), focus);
                click(priority, IDC_REALTIME_CLASS);
                close(priority, IDOK);
            }
            close(dialog, button);
        });
        for (const GeneralCheck& c : generalChecks)
            EXPECT_EQ(button == IDOK ? !c.byDefault : Missing, stored(c.name)) << c.name;
    }
    for (const char* name : {"UseDirectShow", "UseExternalPlaybackEngine"})
        EXPECT_EQ(0u, stored(name)) << name;
    for (const char* name : {"UseDirectShowForDvd", "DecodeByHardware", "UseAdvancedConfiguration"})
        EXPECT_EQ(1u, stored(name)) << name;
    EXPECT_EQ(256u, stored("ProcessPriority"));
    DWORD flags = FlagRepeat | FlagRepeatEach | FlagTryByMci | FlagAdvancedOrder | FlagRealtimeClass;
    EXPECT_EQ(flags, playOptions.flags & (flags | FlagDirectShowStandard));
    EXPECT_TRUE(mediaContext->directShowDevice().dvdEnabled());
    EXPECT_FALSE(mci.probe(wave.c_str()));
    EXPECT_TRUE(GetWindowLongA(mainWindow, GWL_EXSTYLE) & WS_EX_TOPMOST);
    DestroyWindow(mainWindow);
    mainWindow = nullptr;
    removeTree(folder);
}

struct PositionCase {
    const char* name;
    LONG horizontal, vertical;  // stored before
    std::vector<int> clicks;
    LONG storedHorizontal, storedVertical, storedCentre;
};

const PositionCase positionCases[] = {
    {"CheckOne", -1, -1, {IDC_LEFT_ON_SCREEN}, 0, -1, 0},
    {"CheckedOneUnchecks", 0, 2, {IDC_LEFT_ON_SCREEN}, -1, 2, 0},
    {"AnotherTakesOver", 0, 2, {IDC_RIGHT_ON_SCREEN, IDC_TOP_ON_SCREEN}, 2, 0, 0},
    {"CentreStoresNoSides", 1, 2, {IDC_CENTER_ON_SCREEN}, -1, -1, 1},
    {"CentreOffKeepsTheSides", 1, 2, {IDC_CENTER_ON_SCREEN, IDC_CENTER_ON_SCREEN}, 1, 2, 0},
};

TEST_F(SettingsDialogs, ThePositionGroupsMayHaveNoButtonChecked)
{
    for (const PositionCase& c : positionCases) {
        key.setNumber("HorizontalPosition", (DWORD)c.horizontal);
        key.setNumber("VerticalPosition", (DWORD)c.vertical);
        key.setNumber("CenterOnScreen", 0);
        drive([&](HWND configuration) {
            HWND dialog = open(configuration, IDC_OPEN_POSITION, "Position");
            for (int id : c.clicks)
                click(dialog, id);
            for (int id = IDC_LEFT_ON_SCREEN; id <= IDC_BOTTOM_ON_SCREEN; ++id)
                EXPECT_EQ(!checked(dialog, IDC_CENTER_ON_SCREEN), enabled(dialog, id)) << c.name << " " << id;
            close(dialog, IDOK);
        });
        EXPECT_EQ(c.storedHorizontal, (LONG)stored("HorizontalPosition")) << c.name;
        EXPECT_EQ(c.storedVertical, (LONG)stored("VerticalPosition")) << c.name;
        EXPECT_EQ(c.storedCentre, (LONG)stored("CenterOnScreen")) << c.name;
    }
}

// OK of the position and priority dialogs changes the flag word under the
// lock that the queue thread's option words take: held elsewhere, it keeps
// the dialog waiting with the word unchanged.
TEST_F(SettingsDialogs, ThePositionAndPriorityDialogsChangeTheFlagWordUnderTheLock)
{
    struct Case {
        int opener;
        const char* title;
        int button;
        DWORD flag;
    };
    const Case cases[] = {{IDC_OPEN_POSITION, "Position", IDC_UNRESIZABLE, FlagUnresizable},
                          {IDC_OPEN_PRIORITY, "Priority", IDC_HIGH_CLASS, FlagHighClass}};
    for (const Case& c : cases) {
        drive([&](HWND configuration) {
            HWND dialog = open(configuration, c.opener, c.title);
            click(dialog, c.button);
            {
                LockScope hold(cancelLock);
                PostMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
                EXPECT_TRUE(stopsAnswering(dialog)) << c.title;
                EXPECT_FALSE(playOptions.flags & c.flag) << c.title;
            }
            waitGone(dialog);
            EXPECT_TRUE(playOptions.flags & c.flag) << c.title;
        });
    }
}

// Only DirectShow fills the running player's filter list: a file with
// filters listed went to the DirectShow engine.
LRESULT listedFilters()
{
    HWND main = FindWindowA("PlayerClass", nullptr);
    for (HWND child = nullptr; (child = FindWindowExA(main, child, "#32770", nullptr));)
        if (HWND list = GetDlgItem(child, IDC_FILTER_LIST))
            return SendMessageA(list, LB_GETCOUNT, 0, 0);
    return -1;
}

// In PLAYER.EXE from its usage dialog: the device order is switched on,
// DirectShow moved before MCI and "MCI for unknown media" switched off (at
// once), the ticks set to minutes; Close stores the order. The next start
// plays the wave (MCI's before) and the MP3 (MCI's MPEG device's before)
// through DirectShow.
TEST_F(SettingsDialogs, TheNextStartTriesTheEnginesInTheNewOrder)
{
    REQUIRE_DSHOW_SAMPLE(pcm, "dshow-pcm.wav");
    REQUIRE_DSHOW_SAMPLE(mp3, "dshow-tone.mp3");
    killRunningPlayers();
    storeOrder(key, {"MCI", "MCIUnknown", "DirectShow", "DirectShowUnknown"});
    PlayerProcess player;
    ASSERT_TRUE(player.start({"-Help0"}));
    HWND usage = waitFor("PLAYER");
    HWND configuration = open(usage, IDC_CONFIGURE, "Configuration", "PLAYER");
    HWND playback = open(configuration, IDC_OPEN_PLAYBACK, "Playback", "PLAYER");
    click(playback, IDC_USE_ADVANCED);
    HWND advanced = open(playback, IDC_OPEN_ADVANCED, "Advanced Configuration", "PLAYER");
    EXPECT_FALSE(enabled(advanced, IDC_USE_THIS_DEVICE));
    for (int item : {3, 0, 2}) {
        selectEntry(advanced, item);
        EXPECT_EQ(item > 0, enabled(advanced, IDC_ORDER_UP)) << item;
        EXPECT_EQ(item < 3, enabled(advanced, IDC_ORDER_DOWN)) << item;
    }
    click(advanced, IDC_ORDER_UP);
    click(advanced, IDC_ORDER_UP);
    EXPECT_FALSE(enabled(advanced, IDC_ORDER_UP));
    selectEntry(advanced, 2);
    EXPECT_TRUE(checked(advanced, IDC_USE_THIS_DEVICE));
    click(advanced, IDC_USE_THIS_DEVICE);
    EXPECT_EQ(1u, stored("MCIUnknown", "Device"));
    char first[256];
    EXPECT_TRUE(readOrderEntry(0, first, sizeof first) && !lstrcmpA(first, "MCI"));
    click(advanced, IDC_TICKS_MINUTES);
    for (HWND dialog : {advanced, playback, configuration, usage})
        close(dialog, IDOK);
    ASSERT_TRUE(player.waitForEnd(Generous));
    EXPECT_EQ(2u, stored("TrackbarTicks"));

    ASSERT_TRUE(player.start({pcm, mp3}));
    ASSERT_TRUE(waitForCurrentFile(pcm, 1, Generous));
    EXPECT_LT(0, listedFilters());
    ASSERT_TRUE(waitForCurrentFile(mp3, 2, Generous));
    EXPECT_LT(0, listedFilters());
}

} // namespace
