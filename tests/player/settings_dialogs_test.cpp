// The settings dialogs as the player runs them (modal, on this thread),
// driven from a second thread by messages as a user would; what they store
// is then read from the player's real key, which the test puts back.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "DialogScript.h"
#include "DshowSamples.h"
#include "MediaFiles.h"
#include "MediaContext.h"
#include "OutsideEngines.h"
#include "PlayerCore.h"
#include "PlayerKeyBackup.h"
#include "PlayerName.h"
#include "PlayerProcess.h"
#include "PlayerSettings.h"
#include "EngineSelection.h"
#include "SettingsDialog.h"
#include "resource.h"

namespace {

const DWORD Missing = 0xDEADBEEF;

DWORD stored(const char* name, const char* subkey = nullptr) { return playerStore.readNumber(name, Missing, subkey); }

std::string caption(const char* format)
{
    char text[MAX_PATH + 64];
    wsprintfA(text, format, programName());
    return text;
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

    // Runs the configuration dialog here while script runs on a second
    // thread; whatever the script leaves open is cancelled afterwards.
    void drive(std::function<void(HWND configuration)> script)
    {
        Script run = {script, GetCurrentThreadId(), 0};
        HANDLE thread = CreateThread(nullptr, 0, runScript, &run, 0, nullptr);
        ASSERT_NE(nullptr, thread);
        runConfigurationDialog(nullptr);
        InterlockedExchange(&run.done, 1);
        WaitForSingleObject(thread, INFINITE);
        CloseHandle(thread);
    }

    struct Script {
        std::function<void(HWND)> body;
        DWORD owner;
        volatile LONG done;
    };
    static DWORD WINAPI runScript(void* p)
    {
        Script* run = (Script*)p;
        HWND configuration = waitForDialogCaption(caption("%s Configuration").c_str());
        if (configuration)
            run->body(configuration);
        while (!run->done) {
            HWND active = activeWindow(run->owner);
            if (active)
                PostMessageA(active, WM_COMMAND, IDCANCEL, 0);
            Sleep(50);
        }
        return 0;
    }
    static HWND activeWindow(DWORD thread, HWND* focus = nullptr)
    {
        GUITHREADINFO info = {};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(thread, &info);
        if (focus)
            *focus = info.hwndFocus;
        return info.hwndActive;
    }

    // Opens a dialog from its button in owner and answers it.
    static HWND open(HWND owner, int button, const char* format)
    {
        pressButton(owner, button);
        HWND dialog = waitForDialogCaption(caption(format).c_str());
        EXPECT_NE(nullptr, dialog) << format;
        return dialog;
    }
    static void close(HWND dialog, int button)
    {
        pressButton(dialog, button);
        EXPECT_TRUE(waitForClosed(dialog));
    }

    PlayerKeyBackup key;
};

struct GeneralCheck {
    int id;
    const char* name;
    bool byDefault;
};

const GeneralCheck generalChecks[] = {
    {IDC_HIDE_ALWAYS, "HideAlways", false},
    {IDC_HIDE_WITHOUT_VIDEO, "HideWhenDeviceHasNoVideo", true},
    {IDC_ADJUST_SIZE, "AdjustSizeWhenDeviceHasVideo", true},
    {IDC_REPOSITION, "RepositionWithinScreen", true},
    {IDC_TOP_MOST, "ShowOnTopMost", false},
    {IDC_STATE_CURSOR, "UseStateCursor", false},
    {IDC_REPEAT, "Repeat", false},
    {IDC_REPEAT_EACH, "RepeatEach", false},
    {IDC_SHOW_TRACK_NAME, "ShowTrackName", true},
};

// Each check box shows its default, follows its enabling rule and, clicked,
// stores the other value; Cancel stores nothing, OK recomputes the flags.
TEST_F(SettingsDialogs, TheConfigurationDialogStoresEachGeneralValue)
{
    playerSettings.repeat = true;  // a Repeat menu command, not saved
    for (int button : {IDCANCEL, IDOK}) {
        drive([&](HWND dialog) {
            for (const GeneralCheck& c : generalChecks)
                EXPECT_EQ(c.byDefault, isItemChecked(dialog, c.id)) << c.name;
            EXPECT_FALSE(isItemEnabled(dialog, IDC_REPEAT_EACH));
            for (const GeneralCheck& c : generalChecks)
                clickButton(dialog, c.id);
            EXPECT_FALSE(isItemEnabled(dialog, IDC_HIDE_WITHOUT_VIDEO));
            EXPECT_TRUE(isItemEnabled(dialog, IDC_REPEAT_EACH));
            close(dialog, button);
        });
        for (const GeneralCheck& c : generalChecks)
            EXPECT_EQ(button == IDOK ? !c.byDefault : Missing, stored(c.name)) << c.name;
    }
    EXPECT_EQ(FlagRepeat | FlagRepeatEach, playOptions.flags & (FlagRepeat | FlagRepeatEach));
}

// Clicks on the position dialog, from stored values, and what OK stores.
struct PositionCase {
    const char* name;
    LONG horizontal, vertical;
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
            HWND dialog = open(configuration, IDC_OPEN_POSITION, "%s Position");
            for (int id : c.clicks)
                clickButton(dialog, id);
            bool centred = isItemChecked(dialog, IDC_CENTER_ON_SCREEN);
            for (int id = IDC_LEFT_ON_SCREEN; id <= IDC_BOTTOM_ON_SCREEN; ++id)
                EXPECT_EQ(!centred, isItemEnabled(dialog, id)) << c.name << " " << id;
            close(dialog, IDOK);
        });
        EXPECT_EQ(c.storedHorizontal, (LONG)stored("HorizontalPosition")) << c.name;
        EXPECT_EQ(c.storedVertical, (LONG)stored("VerticalPosition")) << c.name;
        EXPECT_EQ(c.storedCentre, (LONG)stored("CenterOnScreen")) << c.name;
    }
}

// The playback methods' enabling follows the engines' answers: under Wine
// DirectShow, DirectMusic and the DVD builder are there; VBMP3 only with the
// stand-in library, SoftMPEG not at all.
TEST_F(SettingsDialogs, ThePlaybackMethodsFollowTheEnginesAndTheAdvancedSwitch)
{
    key.setNumber("EnableDvd", 1);
    useVbmp3Double(true);
    drive([&](HWND configuration) {
        HWND dialog = open(configuration, IDC_OPEN_PLAYBACK, "%s Playback");
        const int methods[] = {IDC_USE_MCI, IDC_USE_DIRECTSHOW, IDC_USE_DIRECTMUSIC, IDC_USE_DIRECTSHOW_DVD,
                               IDC_USE_EXTERNAL, IDC_USE_VBMP3};
        for (int id : methods)
            EXPECT_TRUE(isItemEnabled(dialog, id)) << id;
        EXPECT_TRUE(isItemVisible(dialog, IDC_DECODE_HARDWARE));
        EXPECT_FALSE(isItemEnabled(dialog, IDC_DECODE_HARDWARE));
        EXPECT_FALSE(isItemEnabled(dialog, IDC_USE_SOFTMPEG));
        EXPECT_FALSE(isItemEnabled(dialog, IDC_OPEN_ADVANCED));
        clickButton(dialog, IDC_USE_DIRECTSHOW_DVD);
        EXPECT_TRUE(isItemEnabled(dialog, IDC_DECODE_HARDWARE));
        clickButton(dialog, IDC_DECODE_HARDWARE);
        clickButton(dialog, IDC_USE_EXTERNAL);
        EXPECT_FALSE(isItemEnabled(dialog, IDC_USE_VBMP3));
        clickButton(dialog, IDC_USE_MCI);
        clickButton(dialog, IDC_USE_ADVANCED);
        for (int id : methods)
            EXPECT_FALSE(isItemEnabled(dialog, id)) << id;
        EXPECT_TRUE(isItemEnabled(dialog, IDC_OPEN_ADVANCED));
        close(dialog, IDOK);
    });
    EXPECT_EQ(0u, stored("UseDirectShow"));
    EXPECT_EQ(1u, stored("UseDirectShowForDvd"));
    EXPECT_EQ(1u, stored("DecodeByHardware"));
    EXPECT_EQ(0u, stored("UseExternalPlaybackEngine"));
    EXPECT_EQ(1u, stored("UseAdvancedConfiguration"));
    EXPECT_EQ(FlagTryByMci | FlagAdvancedOrder,
              playOptions.flags & (FlagTryByMci | FlagDirectShowStandard | FlagAdvancedOrder));
}

struct PriorityCase {
    DWORD storedBefore;
    DWORD enableRealtime;
    int shownChecked;
    int click;
    DWORD storedAfter;
    DWORD flag;
};

const PriorityCase priorityCases[] = {
    {128, 0, IDC_HIGH_CLASS, IDC_NORMAL_CLASS, 32, 0},
    {256, 0, IDC_HIGH_CLASS, IDC_HIGH_CLASS, 128, FlagHighClass},
    {32, 1, IDC_NORMAL_CLASS, IDC_REALTIME_CLASS, 256, FlagRealtimeClass},
};

TEST_F(SettingsDialogs, ThePriorityDialogShowsFocusesAndStoresTheClass)
{
    for (const PriorityCase& c : priorityCases) {
        key.setNumber("ProcessPriority", c.storedBefore);
        key.setNumber("EnableRealtime", c.enableRealtime);
        drive([&](HWND configuration) {
            HWND dialog = open(configuration, IDC_OPEN_PRIORITY, "%s Priority");
            HWND focus = nullptr;
            activeWindow(GetWindowThreadProcessId(dialog, nullptr), &focus);
            EXPECT_EQ(GetDlgItem(dialog, c.shownChecked), focus) << c.storedBefore;
            EXPECT_TRUE(isItemChecked(dialog, c.shownChecked)) << c.storedBefore;
            EXPECT_EQ(c.enableRealtime != 0, isItemVisible(dialog, IDC_REALTIME_CLASS));
            clickButton(dialog, c.click);
            close(dialog, IDOK);
        });
        EXPECT_EQ(c.storedAfter, stored("ProcessPriority"));
        EXPECT_EQ(c.flag, playOptions.flags & (FlagHighClass | FlagRealtimeClass));
    }
}

std::vector<std::string> storedOrder()
{
    std::vector<std::string> order;
    char entry[256];
    for (UINT i = 0; readOrderEntry(i, entry, sizeof entry); ++i)
        order.push_back(entry);
    return order;
}

// Moving entries waits for Close; switching one off is written at once.
TEST_F(SettingsDialogs, TheAdvancedDialogReordersSwitchesOffAndRefreshes)
{
    key.setNumber("UseAdvancedConfiguration", 1);
    const char* const order[] = {"MCI", "DirectShow", "waveaudio"};
    for (int i = 0; i < 3; ++i)
        key.setText(("00" + std::to_string(i)).c_str(), order[i], "Order");
    drive([&](HWND configuration) {
        HWND playback = open(configuration, IDC_OPEN_PLAYBACK, "%s Playback");
        HWND dialog = open(playback, IDC_OPEN_ADVANCED, "%s Advanced Configuration");
        EXPECT_FALSE(isItemEnabled(dialog, IDC_USE_THIS_DEVICE));
        const bool upDown[3][2] = {{false, true}, {true, true}, {true, false}};
        for (int item = 0; item < 3; ++item) {
            selectListItem(dialog, IDC_DEVICE_ORDER, item);
            EXPECT_EQ(upDown[item][0], isItemEnabled(dialog, IDC_ORDER_UP)) << item;
            EXPECT_EQ(upDown[item][1], isItemEnabled(dialog, IDC_ORDER_DOWN)) << item;
            EXPECT_TRUE(isItemChecked(dialog, IDC_USE_THIS_DEVICE)) << item;
        }
        clickButton(dialog, IDC_USE_THIS_DEVICE);
        EXPECT_EQ(1u, stored("waveaudio", "Device"));
        clickButton(dialog, IDC_ORDER_UP);
        clickButton(dialog, IDC_ORDER_UP);
        EXPECT_FALSE(isItemEnabled(dialog, IDC_ORDER_UP));
        EXPECT_EQ("MCI", storedOrder()[0]);
        clickButton(dialog, IDC_TICKS_MINUTES);
        close(dialog, IDOK);
        close(playback, IDCANCEL);
    });
    EXPECT_EQ((std::vector<std::string>{"waveaudio", "MCI", "DirectShow"}), storedOrder());
    EXPECT_EQ(2u, stored("TrackbarTicks"));
    drive([&](HWND configuration) {
        HWND playback = open(configuration, IDC_OPEN_PLAYBACK, "%s Playback");
        HWND dialog = open(playback, IDC_OPEN_ADVANCED, "%s Advanced Configuration");
        EXPECT_TRUE(isItemChecked(dialog, IDC_TICKS_MINUTES));
        clickButton(dialog, IDC_ORDER_REFRESH);
        close(dialog, IDOK);
    });
    std::vector<std::string> refreshed = storedOrder();
    ASSERT_LE(5u, refreshed.size());
    EXPECT_EQ((std::vector<std::string>{"MCI", "MCIUnknown", "DirectShow", "DirectShowUnknown"}),
              std::vector<std::string>(refreshed.begin(), refreshed.begin() + 4));
    EXPECT_EQ("waveaudio", refreshed.back());
}

// The filters the running player's control panel lists: only DirectShow
// fills the list, so a file with filters went to the DirectShow engine.
LRESULT listedFilters()
{
    HWND main = FindWindowA("PlayerClass", nullptr);
    for (HWND child = FindWindowExA(main, nullptr, "#32770", nullptr); child;
         child = FindWindowExA(main, child, "#32770", nullptr)) {
        if (HWND list = GetDlgItem(child, IDC_FILTER_LIST))
            return SendMessageA(list, LB_GETCOUNT, 0, 0);
    }
    return -1;
}

// Through PLAYER.EXE from its usage dialog: the device order is switched on,
// DirectShow moved before MCI and "MCI for unknown media" switched off. The
// next start plays the wave (which MCI took before) and the MP3 (which
// MCI's MPEG device took before) through DirectShow.
TEST_F(SettingsDialogs, TheNextStartTriesTheEnginesInTheNewOrder)
{
    REQUIRE_DSHOW_SAMPLE(pcm, "dshow-pcm.wav");
    REQUIRE_DSHOW_SAMPLE(mp3, "dshow-tone.mp3");
    killRunningPlayers();
    const char* const order[] = {"MCI", "MCIUnknown", "DirectShow", "DirectShowUnknown"};
    for (int i = 0; i < 4; ++i)
        key.setText(("00" + std::to_string(i)).c_str(), order[i], "Order");
    PlayerProcess player;
    ASSERT_TRUE(player.start({"-Help0"}));
    HWND usage = waitForDialogCaption("PLAYER");
    ASSERT_NE(nullptr, usage);
    HWND configuration = open(usage, IDC_CONFIGURE, "PLAYER Configuration");
    HWND playback = open(configuration, IDC_OPEN_PLAYBACK, "PLAYER Playback");
    clickButton(playback, IDC_USE_ADVANCED);
    HWND advanced = open(playback, IDC_OPEN_ADVANCED, "PLAYER Advanced Configuration");
    selectListItem(advanced, IDC_DEVICE_ORDER, 2);
    clickButton(advanced, IDC_ORDER_UP);
    clickButton(advanced, IDC_ORDER_UP);
    selectListItem(advanced, IDC_DEVICE_ORDER, 2);
    clickButton(advanced, IDC_USE_THIS_DEVICE);
    close(advanced, IDOK);
    close(playback, IDOK);
    close(configuration, IDOK);
    close(usage, IDOK);
    ASSERT_TRUE(player.waitForEnd(60000));

    ASSERT_TRUE(player.start({pcm, mp3}));
    ASSERT_TRUE(waitForCurrentFile(pcm, 1, 60000));
    EXPECT_LT(0, listedFilters());
    ASSERT_TRUE(waitForCurrentFile(mp3, 2, 60000));
    EXPECT_LT(0, listedFilters());
}

} // namespace
