#include <gtest/gtest.h>
#include <windows.h>
#include <tlhelp32.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "DshowSamples.h"
#include "PlayerKeyBackup.h"
#include "PluginHost.h"

namespace {

const char PluginKey[] = "Software\\Malvoren\\Pixamor";
const char MainCaption[] = "Pixamor Configuration";
const char PcmCaption[] = "Pixamor PCM Configurations";
const char AcceptCaption[] = "Pixamor Advanced Configurations";
const int TheDialog = 0;

// One thing a user does to the open dialogs, or one thing to see there.
struct Step {
    enum Kind {
        Click, Type, Select, Open, Close, PlayerSettings,
        Enabled, Disabled, Checked, Unchecked, HasText, Listed, Unlisted, Count,
    } kind;
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

// A stored PCM format: samples per second, bits, channels.
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
    std::vector<Value> stored;
    std::vector<const char*> absent;  // in the main key
    std::vector<Pcm> pcmStored;
    double rate = 0;  // checked when not 0
};

HWND findDialog(const char* caption)
{
    HWND window = FindWindowA("#32770", caption);
    return window && IsWindowVisible(window) ? window : nullptr;
}

std::vector<DWORD> playerProcesses()
{
    std::vector<DWORD> ids;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry = {sizeof entry};
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
        if (lstrcmpiA(entry.szExeFile, "PLAYER.EXE") == 0)
            ids.push_back(entry.th32ProcessID);
    CloseHandle(snapshot);
    return ids;
}

void endPlayers()
{
    for (DWORD id : playerProcesses()) {
        HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id);
        if (process) {
            TerminateProcess(process, 1);
            WaitForSingleObject(process, INFINITE);
            CloseHandle(process);
        }
    }
}

// Plays the steps from a second thread while the dialog runs on the test's
// thread, and notes every expectation that failed.
class Driver {
public:
    explicit Driver(const std::vector<Step>& steps) : steps_(steps) {}

    void run(std::atomic<bool>& finished)
    {
        finished_ = &finished;
        HWND main = waitFor(MainCaption);
        if (!main)
            return;
        dialogs_.push_back(main);
        for (const Step& step : steps_)
            if (!play(step))
                break;
        // Whatever the script left open is cancelled.
        while (!dialogs_.empty() && !finished) {
            PostMessageA(dialogs_.back(), WM_COMMAND, IDCANCEL, 0);
            waitGone(dialogs_.back());
            dialogs_.pop_back();
        }
    }

    std::vector<std::string> failures;

private:
    HWND waitFor(const char* caption)
    {
        HWND window = nullptr;
        while (!(window = findDialog(caption)) && !*finished_)
            Sleep(10);
        return window;
    }
    void waitGone(HWND window)
    {
        while (IsWindow(window) && !*finished_)
            Sleep(10);
    }
    HWND control(int id) const { return id == TheDialog ? dialogs_.back() : GetDlgItem(dialogs_.back(), id); }
    void expect(bool holds, const Step& step, const char* what)
    {
        if (!holds)
            failures.push_back(std::string(what) + " " + std::to_string(step.id) + " " + step.text);
    }
    LRESULT findListed(const Step& step)
    {
        return SendMessageA(control(step.id), LB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)step.text);
    }

    bool play(const Step& step)
    {
        HWND item = control(step.id);
        char text[300] = "";
        switch (step.kind) {
        case Step::Click:
            SendMessageA(item, BM_CLICK, 0, 0);
            break;
        case Step::Type:
            SendMessageA(item, WM_SETTEXT, 0, (LPARAM)step.text);
            break;
        case Step::Select: {
            LRESULT at = SendMessageA(item, LB_SELECTSTRING, (WPARAM)-1, (LPARAM)step.text);
            expect(at != LB_ERR, step, "no item");
            SendMessageA(dialogs_.back(), WM_COMMAND, MAKEWPARAM(step.id, LBN_SELCHANGE), (LPARAM)item);
            break;
        }
        case Step::Open:
            // Posted: the sub-dialog's own loop runs inside the click.
            PostMessageA(item, BM_CLICK, 0, 0);
            dialogs_.push_back(waitFor(step.text));
            return dialogs_.back() != nullptr;
        case Step::Close: {
            HWND dialog = dialogs_.back();
            // A disabled button does nothing; the rest of the script is left out.
            expect(IsWindowEnabled(item), step, "cannot close with disabled");
            if (!IsWindowEnabled(item))
                return false;
            SendMessageA(item, BM_CLICK, 0, 0);
            waitGone(dialog);
            expect(!IsWindow(dialog), step, "still open after");
            dialogs_.pop_back();
            return !dialogs_.empty();
        }
        case Step::PlayerSettings: {
            // The dialog stays disabled while the player's settings run and
            // comes back when the player ends.
            PostMessageA(item, BM_CLICK, 0, 0);
            while (playerProcesses().empty() && !*finished_)
                Sleep(10);
            expect(!IsWindowEnabled(dialogs_.back()), step, "enabled while the player runs");
            endPlayers();
            while (!IsWindowEnabled(dialogs_.back()) && !*finished_)
                Sleep(10);
            break;
        }
        case Step::Enabled: expect(IsWindowEnabled(item), step, "disabled:"); break;
        case Step::Disabled: expect(!IsWindowEnabled(item), step, "enabled:"); break;
        case Step::Checked: expect(SendMessageA(item, BM_GETCHECK, 0, 0) == BST_CHECKED, step, "unchecked:"); break;
        case Step::Unchecked: expect(SendMessageA(item, BM_GETCHECK, 0, 0) == BST_UNCHECKED, step, "checked:"); break;
        case Step::HasText:
            GetWindowTextA(item, text, sizeof text);
            expect(lstrcmpA(text, step.text) == 0, step, (std::string("text is \"") + text + "\", not").c_str());
            break;
        case Step::Listed: expect(findListed(step) != LB_ERR, step, "not listed:"); break;
        case Step::Unlisted: expect(findListed(step) == LB_ERR, step, "listed:"); break;
        case Step::Count:
            expect(SendMessageA(item, LB_GETCOUNT, 0, 0) == step.count, step,
                   ("count " + std::to_string(SendMessageA(item, LB_GETCOUNT, 0, 0)) + " in").c_str());
            break;
        }
        return true;
    }

    const std::vector<Step>& steps_;
    std::atomic<bool>* finished_ = nullptr;
    std::vector<HWND> dialogs_;
};

std::string keyOf(const char* subkey)
{
    return *subkey ? std::string(PluginKey) + "\\" + subkey : PluginKey;
}

bool readValue(const char* subkey, const char* name, void* data, DWORD size, DWORD* read = nullptr)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, keyOf(subkey).c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;
    LONG status = RegQueryValueExA(key, name, nullptr, nullptr, (BYTE*)data, &size);
    RegCloseKey(key);
    if (read)
        *read = size;
    return status == ERROR_SUCCESS;
}

void writePcm(const Pcm& pcm)
{
    PCMWAVEFORMAT format = {{WAVE_FORMAT_PCM, pcm.channels, pcm.rate, 0, 0}, pcm.bits};
    format.wf.nBlockAlign = (WORD)(pcm.channels * pcm.bits / 8);
    format.wf.nAvgBytesPerSec = pcm.rate * format.wf.nBlockAlign;
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, keyOf("extension").c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                    nullptr);
    RegSetValueExA(key, pcm.name, 0, REG_BINARY, (const BYTE*)&format, sizeof format);
    RegCloseKey(key);
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
         {open(1018, AcceptCaption), count(1019, 43), disabled(1020), select(1019, ".WAV"), enabled(1020),
          click(1020), hasText(1021, ".WAV"), count(1019, 42), enabled(1022), type(1021, ".avi"), disabled(1022),
          type(1021, ".XYZ"), click(1022), listed(1019, ".XYZ"), hasText(1021, ""), closeWith(IDOK),
          closeWith(IDCANCEL)},
         {{"Accept", ".WAV", 0}, {"Accept", ".XYZ", 1}}, {"PlayKnownFiles"}},
        {"the predefined extensions come back", AnyEngines, {{"Accept", ".WAV", 0}, {"Accept", ".ABC", 1}}, {},
         {open(1018, AcceptCaption), count(1019, 1), listed(1019, ".ABC"), click(1023),
          count(1019, 43), listed(1019, ".WAV"), unlisted(1019, ".ABC"), closeWith(IDOK), closeWith(IDCANCEL)},
         {{"Accept", ".WAV", 1}}},
        {"the player's settings disable the dialog while they run", AnyEngines, {}, {},
         {{Step::PlayerSettings, 1016}, enabled(TheDialog), closeWith(IDCANCEL)}, {}, {"PlayKnownFiles"}},
    };
}

} // namespace

TEST(ConfigurationDialog, RefusesEveryRequestButTheSettings)
{
    PlayerKeyBackup pluginKey{PluginKey};
    PluginHost host;
    ASSERT_TRUE(host.loaded());
    EXPECT_EQ(-1, host.configurationDialog(nullptr, 0));
    EXPECT_EQ(-1, host.configurationDialog(nullptr, 2));
    EXPECT_EQ(-1, host.configurationDialog(nullptr, -1));
    EXPECT_EQ(nullptr, findDialog(MainCaption));
}

TEST(ConfigurationDialog, DrivenByMessages)
{
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
            writePcm(pcm);
        PluginHost host;
        ASSERT_TRUE(host.loaded());
        std::atomic<bool> finished{false};
        Driver driver(c.steps);
        std::thread thread([&] { driver.run(finished); });
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
            PCMWAVEFORMAT format = {};
            DWORD size = 0;
            EXPECT_TRUE(readValue("extension", pcm.name, &format, sizeof format, &size)) << pcm.name;
            EXPECT_EQ(16u, size);
            EXPECT_EQ(pcm.rate, format.wf.nSamplesPerSec);
            EXPECT_EQ(pcm.bits, format.wBitsPerSample);
            EXPECT_EQ(pcm.channels, format.wf.nChannels);
            EXPECT_EQ(pcm.rate * pcm.channels * pcm.bits / 8, format.wf.nAvgBytesPerSec);
        }
        if (c.rate) {
            double rate = 0;
            EXPECT_TRUE(readValue("", "Rate", &rate, sizeof rate));
            EXPECT_EQ(c.rate, rate);
        }
    }
}
