#include <gtest/gtest.h>
#include <windows.h>
#include <tlhelp32.h>

#include <locale.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "DshowSamples.h"
#include "PlayerKeyBackup.h"
#include "PluginHost.h"
#include "PluginSettings.h"

namespace {

const char PluginKey[] = "Software\\Malvoren\\Pixamor";
const char MainCaption[] = "Pixamor Configuration";
const char PcmCaption[] = "Pixamor PCM Configurations";
const char AcceptCaption[] = "Pixamor Advanced Configurations";

// One thing a user does to the open dialogs, or one thing to see there.
struct Step {
    enum Kind { Click, Type, Select, Open, Close, PlayerSettings, Enabled, Disabled, Checked, Unchecked, HasText,
                Listed, Unlisted, Count } kind;
    int id;
    const char* text = "";
    int count = 0;
};

Step click(int id) { return {Step::Click, id}; }
Step type(int id, const char* text) { return {Step::Type, id, text}; }
Step select(int id, const char* text) { return {Step::Select, id, text}; }
Step open(int id, const char* caption) { return {Step::Open, id, caption}; }
Step closeWith(int id) { return {Step::Close, id}; }
Step enabled(int id) { return {Step::Enabled, id}; }
Step disabled(int id) { return {Step::Disabled, id}; }
Step checked(int id) { return {Step::Checked, id}; }
Step unchecked(int id) { return {Step::Unchecked, id}; }
Step hasText(int id, const char* text) { return {Step::HasText, id, text}; }
Step listed(int id, const char* text) { return {Step::Listed, id, text}; }
Step unlisted(int id, const char* text) { return {Step::Unlisted, id, text}; }
Step count(int id, int n) { return {Step::Count, id, "", n}; }

struct Value {
    const char* subkey;
    const char* name;
    DWORD number;
};

// A PCM format: samples per second, bits, channels.
struct Pcm {
    const char* name;
    DWORD rate;
    WORD bits, channels;
};

enum Needs { AnyEngines, WithDirectShow, WithoutDirectShow };

struct Case {
    const char* name;
    Needs needs;
    std::vector<Value> before;
    std::vector<Pcm> pcmBefore;
    std::vector<Step> steps;
    std::vector<Value> stored = {};
    std::vector<const char*> absent = {};  // in the main key
    std::vector<Pcm> pcmStored = {};
    double rate = 0;  // checked when not 0
};

bool playerRuns(bool end = false)
{
    bool found = false;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
        if (lstrcmpiA(entry.szExeFile, "PLAYER.EXE") != 0)
            continue;
        found = true;
        HANDLE process = end ? OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, entry.th32ProcessID) : nullptr;
        if (process) {
            TerminateProcess(process, 1);
            WaitForSingleObject(process, INFINITE);
            CloseHandle(process);
        }
    }
    CloseHandle(snapshot);
    return found;
}

// Plays the steps from a second thread while the dialog runs on the test's
// thread, and notes every expectation that failed. Every wait ends when the
// dialog has returned.
class Driver {
public:
    Driver(const std::vector<Step>& steps, const std::atomic<bool>& finished) : steps_(steps), finished_(finished) {}

    void run()
    {
        if (!openDialog(MainCaption))
            return;
        for (const Step& step : steps_)
            if (!play(step))
                break;
        // Whatever the script left open is cancelled.
        for (; !dialogs_.empty(); dialogs_.pop_back()) {
            PostMessageA(dialogs_.back(), WM_COMMAND, IDCANCEL, 0);
            waitUntil([&] { return !IsWindow(dialogs_.back()); });
        }
    }

    std::vector<std::string> failures;

private:
    void waitUntil(const std::function<bool()>& done)
    {
        while (!done() && !finished_)
            Sleep(10);
    }
    bool openDialog(const char* caption)
    {
        HWND window = nullptr;
        waitUntil([&] { return (window = FindWindowA("#32770", caption)) && IsWindowVisible(window); });
        if (window)
            dialogs_.push_back(window);
        return window != nullptr;
    }
    void expect(bool holds, const Step& step, const std::string& what)
    {
        if (!holds)
            failures.push_back(what + " " + std::to_string(step.id) + " " + step.text);
    }

    bool play(const Step& step)
    {
        HWND dialog = dialogs_.back();
        HWND item = GetDlgItem(dialog, step.id);
        char text[300] = "";
        switch (step.kind) {
        case Step::Click: SendMessageA(item, BM_CLICK, 0, 0); break;
        case Step::Type: SendMessageA(item, WM_SETTEXT, 0, (LPARAM)step.text); break;
        case Step::Select:
            expect(SendMessageA(item, LB_SELECTSTRING, (WPARAM)-1, (LPARAM)step.text) != LB_ERR, step, "no item");
            SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(step.id, LBN_SELCHANGE), (LPARAM)item);
            break;
        case Step::Open:
            // Posted: the sub-dialog's own loop runs inside the click.
            PostMessageA(item, BM_CLICK, 0, 0);
            return openDialog(step.text);
        case Step::Close:
            // A disabled button does nothing; the rest of the script is left out.
            expect(IsWindowEnabled(item), step, "cannot close with disabled");
            if (!IsWindowEnabled(item))
                return false;
            SendMessageA(item, BM_CLICK, 0, 0);
            waitUntil([&] { return !IsWindow(dialog); });
            dialogs_.pop_back();
            return !dialogs_.empty();
        case Step::PlayerSettings:
            // Disabled while the player's settings run, enabled when the player ends.
            PostMessageA(item, BM_CLICK, 0, 0);
            waitUntil([] { return playerRuns(); });
            expect(!IsWindowEnabled(dialog), step, "enabled while the player runs");
            playerRuns(true);
            waitUntil([&] { return IsWindowEnabled(dialog) != FALSE; });
            break;
        case Step::Enabled: expect(IsWindowEnabled(item), step, "disabled:"); break;
        case Step::Disabled: expect(!IsWindowEnabled(item), step, "enabled:"); break;
        case Step::Checked: expect(SendMessageA(item, BM_GETCHECK, 0, 0) == BST_CHECKED, step, "unchecked:"); break;
        case Step::Unchecked: expect(SendMessageA(item, BM_GETCHECK, 0, 0) == BST_UNCHECKED, step, "checked:"); break;
        case Step::HasText:
            GetWindowTextA(item, text, sizeof text);
            expect(lstrcmpA(text, step.text) == 0, step, std::string("text is \"") + text + "\", not");
            break;
        case Step::Listed:
        case Step::Unlisted:
            expect((SendMessageA(item, LB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)step.text) != LB_ERR) ==
                       (step.kind == Step::Listed),
                   step, "listed wrongly:");
            break;
        case Step::Count:
            expect(SendMessageA(item, LB_GETCOUNT, 0, 0) == step.count, step,
                   "count " + std::to_string(SendMessageA(item, LB_GETCOUNT, 0, 0)) + " in");
            break;
        }
        return true;
    }

    const std::vector<Step>& steps_;
    const std::atomic<bool>& finished_;
    std::vector<HWND> dialogs_;
};

bool readValue(const char* subkey, const char* name, void* data, DWORD size)
{
    std::string path = *subkey ? std::string(PluginKey) + "\\" + subkey : PluginKey;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;
    LONG status = RegQueryValueExA(key, name, nullptr, nullptr, (BYTE*)data, &size);
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

// The variant without DirectShow switches off both ways of building a graph.
bool directShowPresent()
{
    return libraryLoads("quartz.dll") || libraryLoads("qdvd.dll");
}

// The cases, each from a fresh plug-in key with the values of `before`.
std::vector<Case> cases()
{
    const DWORD all = 0xFFFFFFFF;
    return {
        {"the defaults are shown and saved", WithDirectShow, {}, {},
         {checked(1000), checked(1002), unchecked(1001), checked(1004), checked(1006), unchecked(1007),
          disabled(1008), hasText(1008, "0"), enabled(1003), enabled(1012), hasText(1012, "5"), disabled(1014),
          hasText(1014, ""), enabled(IDOK), closeWith(IDOK)},
         {{"", "PlayKnownFiles", 1}, {"", "UseDirectShow", 1}, {"", "UseDirectMusicForMidi", 0},
          {"", "TryUnknownFile", 1}, {"", "PreferDirectShow", 1}, {"", "ShowImage", 0}, {"", "FramePosition", 0},
          {"", "PlayWhenPreview", 0}, {"", "PlayWhenOpen", 1}, {"", "Milliseconds", 5000}, {"", "Repeat", 0},
          {"", "SetPitch", 0}},
         {}, {}, 1.0},
        {"without DirectShow its choices are off and MCI is stored", WithoutDirectShow,
         {{"", "UseDirectShow", 1}, {"", "PreferDirectShow", 1}}, {},
         {disabled(1002), disabled(1006), disabled(1007), disabled(1003), checked(1001), checked(1005), enabled(1001),
          closeWith(IDOK)},
         {{"", "UseDirectShow", 0}, {"", "PreferDirectShow", 0}}},
        {"play to the end", AnyEngines, {}, {}, {click(1011), disabled(1012), enabled(IDOK), closeWith(IDOK)},
         {{"", "Milliseconds", all}}},
        {"stored settings are shown", WithDirectShow,
         {{"", "Milliseconds", all}, {"", "UseDirectShow", 0}, {"", "SetPitch", 1}, {"", "FramePosition", 77}}, {},
         {checked(1011), disabled(1012), checked(1001), unchecked(1002), hasText(1014, "1.000000"),
          hasText(1008, "77"), click(1011), enabled(1012), disabled(IDOK), type(1012, "3"), enabled(IDOK),
          closeWith(IDOK)},
         {{"", "Milliseconds", 3000}, {"", "UseDirectShow", 0}, {"", "FramePosition", 77}}},
        {"the seconds must fit in 32-bit milliseconds", AnyEngines, {}, {},
         {type(1012, "0"), disabled(IDOK), type(1012, "4294968"), disabled(IDOK), type(1012, "12a"),
          disabled(IDOK), type(1012, "99999999999"), disabled(IDOK), type(1012, ""), disabled(IDOK),
          type(1012, "4294967"), enabled(IDOK), closeWith(IDOK)},
         {{"", "Milliseconds", 4294967000u}}},
        {"the frame position", WithDirectShow, {}, {},
         {click(1007), enabled(1008), type(1008, ""), disabled(IDOK), type(1008, "4294967296"), disabled(IDOK),
          type(1008, "x"), disabled(IDOK), type(1008, "4294967295"), enabled(IDOK), closeWith(IDOK)},
         {{"", "ShowImage", 1}, {"", "FramePosition", 4294967295u}}},
        {"the ratio", AnyEngines, {}, {},
         {click(1015), enabled(1014), type(1014, "0.1"), disabled(IDOK), type(1014, "1e3"), disabled(IDOK),
          type(1014, ""), enabled(IDOK), type(1014, "1.5"), enabled(IDOK), closeWith(IDOK)},
         {{"", "SetPitch", 1}}, {}, {}, 1.5},
        {"switches off, then cancel stores nothing", WithDirectShow, {}, {},
         {click(1000), disabled(1001), disabled(1002), disabled(1003), click(1004), disabled(1005), disabled(1006),
          click(1013), click(1015), type(1014, "0.1"), closeWith(IDCANCEL)},
         {}, {"PlayKnownFiles", "UseDirectShow", "TryUnknownFile", "Repeat", "SetPitch", "Rate", "Milliseconds"}},
        {"the MCI radios", AnyEngines, {}, {}, {click(1001), click(1005), closeWith(IDOK)},
         {{"", "UseDirectShow", 0}, {"", "PreferDirectShow", 0}, {"", "PlayKnownFiles", 1}}},
        {"a PCM extension added with no radio touched", AnyEngines, {}, {},
         {open(1017, PcmCaption), count(1026, 0), disabled(1025), disabled(1027), unchecked(1030), unchecked(1032),
          unchecked(1034), type(1024, "pcm"), enabled(1025), click(1025), hasText(1024, ""), listed(1026, "PCM"),
          enabled(1027), disabled(1025), type(1024, "PCM"), disabled(1025), closeWith(IDOK), closeWith(IDCANCEL)},
         {}, {"PlayKnownFiles"}, {{"pcm", 44100, 16, 2}}},
        {"a stored PCM format is shown, deleted and added again", AnyEngines, {}, {{"RAW", 11025, 8, 1}},
         {open(1017, PcmCaption), select(1026, "RAW"), checked(1028), checked(1031), checked(1033),
          click(1027), hasText(1024, "RAW"), unlisted(1026, "RAW"), disabled(1027), enabled(1025), click(1029),
          click(1032), click(1034), click(1025), closeWith(IDOK), closeWith(IDOK)},
         {}, {}, {{"RAW", 22050, 16, 2}}},
        {"accepted extensions removed and added", AnyEngines, {}, {},
         {open(1018, AcceptCaption), count(1019, 55), disabled(1020), select(1019, ".WAV"), enabled(1020),
          click(1020), hasText(1021, ".WAV"), count(1019, 54), enabled(1022), type(1021, ".avi"), disabled(1022),
          type(1021, ".XYZ"), click(1022), listed(1019, ".XYZ"), hasText(1021, ""), closeWith(IDOK),
          closeWith(IDCANCEL)},
         {{"Accept", ".WAV", 0}, {"Accept", ".XYZ", 1}}, {"PlayKnownFiles"}},
        {"the predefined extensions come back", AnyEngines, {{"Accept", ".WAV", 0}, {"Accept", ".ABC", 1}}, {},
         {open(1018, AcceptCaption), count(1019, 1), listed(1019, ".ABC"), click(1023),
          count(1019, 55), listed(1019, ".WAV"), unlisted(1019, ".ABC"), closeWith(IDOK), closeWith(IDCANCEL)},
         {{"Accept", ".WAV", 1}}},
        {"the player's settings disable the dialog while they run", AnyEngines, {}, {},
         {{Step::PlayerSettings, 1016}, enabled(IDOK), closeWith(IDCANCEL)}, {}, {"PlayKnownFiles"}},
    };
}

} // namespace

TEST(ConfigurationDialog, DrivenByMessages)
{
    // A viewer that set a locale with a decimal comma sees and types the
    // ratio with a point all the same.
    ASSERT_NE(nullptr, setlocale(LC_ALL, "German"));
    const bool directShow = directShowPresent();
    for (const Case& c : cases()) {
        if ((c.needs == WithDirectShow && !directShow) || (c.needs == WithoutDirectShow && directShow))
            continue;
        SCOPED_TRACE(c.name);
        PlayerKeyBackup pluginKey{PluginKey};
        ASSERT_TRUE(pluginKey.clear());
        for (const Value& v : c.before)
            pluginKey.setNumber(v.name, v.number, v.subkey);
        for (const Pcm& pcm : c.pcmBefore)
            WritePcmFormat(pcm.name, pcm.rate, pcm.bits, pcm.channels);
        PluginHost host;
        ASSERT_TRUE(host.loaded());
        std::atomic<bool> finished{false};
        Driver driver(c.steps, finished);
        std::thread thread([&] { driver.run(); });
        EXPECT_EQ(0, host.configurationDialog(nullptr, 1));
        finished = true;
        thread.join();
        for (const std::string& failure : driver.failures)
            ADD_FAILURE() << failure;

        for (const Value& v : c.stored) {
            DWORD number = 0xDEAD;
            EXPECT_TRUE(readValue(v.subkey, v.name, &number, sizeof number)) << v.name;
            EXPECT_EQ(v.number, number) << v.name;
        }
        for (const char* name : c.absent) {
            BYTE data[16];
            EXPECT_FALSE(readValue("", name, data, sizeof data)) << name;
        }
        for (const Pcm& pcm : c.pcmStored) {
            EXPECT_TRUE(IsPcmExtension(pcm.name)) << pcm.name;
            PCMWAVEFORMAT format = ReadPcmFormat(pcm.name);
            EXPECT_EQ(pcm.rate, format.wf.nSamplesPerSec);
            EXPECT_EQ(pcm.bits, format.wBitsPerSample);
            EXPECT_EQ(pcm.channels, format.wf.nChannels);
            EXPECT_EQ(pcm.rate * pcm.channels * pcm.bits / 8, format.wf.nAvgBytesPerSec);
        }
        double rate = 0;
        if (c.rate) {
            EXPECT_TRUE(readValue("", "Rate", &rate, sizeof rate) && rate == c.rate) << rate;
        }
    }
    setlocale(LC_ALL, "C");
}
