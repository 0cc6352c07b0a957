#include <gtest/gtest.h>
#include <windows.h>

#include <string.h>

#include <string>
#include <vector>

#include "MediaFiles.h"
#include "PlayerProcess.h"
#include "TestPaths.h"

// PLAYER.EXE under Wine, playing short wave files through MCI, watched from
// outside: the current file through the reply path, deleted files, the
// process ending when its list is done, and second starts that forward.
namespace {

const DWORD Generous = 60000;

class PlayerRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        killRunningPlayers();
        folder = makeTempFolder();
    }
    void TearDown() override
    {
        second.kill();
        primary.kill();
        killRunningPlayers();
        removeTree(folder);
    }

    std::string wave(const std::string& name, unsigned milliseconds)
    {
        std::string path = folder + name;
        writePcmWave(path, milliseconds);
        return path;
    }

    static std::vector<std::string> args(std::vector<std::string> words)
    {
        std::vector<std::string> all = mciOnly;
        all.insert(all.end(), words.begin(), words.end());
        return all;
    }

    // A second start runs to its end by itself.
    void startSecond(const std::vector<std::string>& words)
    {
        ASSERT_TRUE(second.start(words));
        ASSERT_TRUE(second.waitForEnd(Generous));
    }

    std::string folder;
    PlayerProcess primary;
    PlayerProcess second;
};

TEST_F(PlayerRun, PlaysTheListInOrderAndEnds)
{
    std::string a = wave("a.wav", 1500), b = wave("b.wav", 1500);
    ASSERT_TRUE(primary.start(args({a, b})));
    EXPECT_TRUE(waitForCurrentFile(a, 1, Generous));
    EXPECT_TRUE(waitForCurrentFile(b, 2, Generous));
    EXPECT_TRUE(primary.waitForEnd(Generous));
    EXPECT_TRUE(fileExists(a));
    EXPECT_TRUE(fileExists(b));
}

// A UTF-16 command line: names that the code page lacks (an emoji, Korean)
// play under their short names, one that it holds under its own, in order.
TEST_F(PlayerRun, WideCommandLineNamesPlayInOrder)
{
    const std::wstring wide = widened(folder);
    const std::string japanese = folder + "\x93\xfa\x96\x7b\x8c\xea.wav";  // in the code page
    std::vector<std::wstring> words;
    for (const std::string& word : mciOnly)
        words.push_back(widened(word));
    const std::wstring names[] = {wide + L"tone \U0001F3B5.wav", wide + L"\uD55C\uAE00.wav", widened(japanese)};
    for (const std::wstring& name : names) {
        ASSERT_TRUE(MoveFileW(widened(wave("plain.wav", 800)).c_str(), name.c_str()));
        words.push_back(name);
    }
    ASSERT_TRUE(primary.start(words));
    EXPECT_TRUE(waitForCurrentFile(shortNameOf(names[0]), 1, Generous));
    EXPECT_TRUE(waitForCurrentFile(shortNameOf(names[1]), 2, Generous));
    EXPECT_TRUE(waitForCurrentFile(japanese, 3, Generous));
    EXPECT_TRUE(primary.waitForEnd(Generous));
}

TEST_F(PlayerRun, DeleteRemovesEachFileAfterItPlayed)
{
    std::string kept = wave("kept.wav", 800), gone = wave("gone.wav", 800);
    ASSERT_TRUE(primary.start(args({kept, "-Delete", gone})));
    EXPECT_TRUE(primary.waitForEnd(Generous));
    EXPECT_TRUE(fileExists(kept));
    EXPECT_FALSE(fileExists(gone));
}

TEST_F(PlayerRun, ASecondStartReplacesTheListOfTheFirst)
{
    std::string longer = wave("long.wav", 30000), other = wave("other.wav", 1000);
    ASSERT_TRUE(primary.start(args({longer})));
    ASSERT_TRUE(waitForCurrentFile(longer, 1, Generous));
    DWORD longStarted = GetTickCount();
    // A name relative to the second start's directory reaches the primary resolved.
    char saved[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, saved);
    SetCurrentDirectoryA(folder.c_str());
    startSecond(args({"other.wav"}));
    SetCurrentDirectoryA(saved);
    EXPECT_TRUE(waitForCurrentFile(other, 2, Generous));
    // The thirty-second file was stopped: the other one started before the
    // first could have played out, and the primary ends long before it.
    EXPECT_LT(GetTickCount() - longStarted, 30000u);
    EXPECT_TRUE(primary.waitForEnd(20000));
}

TEST_F(PlayerRun, ASecondStartWithAddAppends)
{
    std::string first = wave("first.wav", 6000), added = wave("added.wav", 800);
    ASSERT_TRUE(primary.start(args({first})));
    ASSERT_TRUE(waitForCurrentFile(first, 1, Generous));
    DWORD firstStarted = GetTickCount();
    startSecond(args({"-Add", added}));
    RunningPlayerState state;
    ASSERT_TRUE(runningPlayerState(&state));
    EXPECT_EQ(1u, state.startedFiles);  // the current file goes on
    EXPECT_TRUE(waitForCurrentFile(added, 2, Generous));
    EXPECT_GE(GetTickCount() - firstStarted, 5000u) << "the first file did not play out";
    EXPECT_TRUE(primary.waitForEnd(Generous));
}

TEST_F(PlayerRun, NextAndEndFromASecondStart)
{
    std::string a = wave("a.wav", 30000), b = wave("b.wav", 30000), c = wave("c.wav", 30000);
    ASSERT_TRUE(primary.start(args({a, b, c})));
    ASSERT_TRUE(waitForCurrentFile(a, 1, Generous));
    DWORD aStarted = GetTickCount();
    startSecond({"-Next"});
    EXPECT_TRUE(waitForCurrentFile(b, 2, Generous));
    EXPECT_LT(GetTickCount() - aStarted, 30000u) << "a played out: Next did not skip it";
    startSecond({"-End"});
    // Without End the list would play for another minute.
    EXPECT_TRUE(primary.waitForEnd(20000));
}

// Each file is stopped and closed at its limit, so that it can be deleted.
TEST_F(PlayerRun, SecondsLimitEndsEachFile)
{
    std::string a = wave("a.wav", 30000), b = wave("b.wav", 30000);
    ASSERT_TRUE(primary.start(args({"-Seconds1", "-Delete", a, b})));
    EXPECT_TRUE(waitForCurrentFile(a, 1, Generous));
    EXPECT_TRUE(waitForCurrentFile(b, 2, Generous));
    // The whole files would play for a minute.
    EXPECT_TRUE(primary.waitForEnd(20000));
    EXPECT_FALSE(fileExists(a));
    EXPECT_FALSE(fileExists(b));
}

TEST_F(PlayerRun, AnUnplayableListEndsEvenWithRepeat)
{
    std::string text = folder + "notes.txt";
    writeBytes(text, "not a medium", 12);
    ASSERT_TRUE(primary.start(args({"-Repeat", text, folder + "missing.wav"})));
    EXPECT_TRUE(primary.waitForEnd(Generous));
}

TEST_F(PlayerRun, APlaylistPlaysItsEntriesAndDeleteRemovesOnlyTheList)
{
    std::vector<std::string> entries = {wave("a.wav", 800), wave("b.wav", 800), wave("c.wav", 800)};
    std::string list = folder + "list.m3u";
    const char lines[] = "a.wav\r\nb.wav\r\nc.wav\r\n";
    writeBytes(list, lines, sizeof lines - 1);
    ASSERT_TRUE(primary.start(args({"-Delete", list})));
    // The list stays the current file while its entries play.
    EXPECT_TRUE(waitForCurrentFile(list, 3, Generous));
    EXPECT_TRUE(primary.waitForEnd(Generous));
    EXPECT_FALSE(fileExists(list));
    for (const std::string& entry : entries)
        EXPECT_TRUE(fileExists(entry)) << entry;
}

TEST_F(PlayerRun, HelpWaitsForTheUsageDialogAndThenEnds)
{
    ASSERT_TRUE(primary.start({"-Help0"}));
    HWND dialog = waitForDialog(primary.id(), Generous);
    ASSERT_TRUE(dialog);
    char caption[64] = "", text[128] = "";
    GetWindowTextA(dialog, caption, sizeof caption);
    GetDlgItemTextA(dialog, 1000, text, sizeof text);
    EXPECT_STREQ("PLAYER", caption);
    EXPECT_EQ(0, strncmp(text, "PLAYER [option | filename]...", 29)) << text;
    EXPECT_TRUE(primary.running());
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(primary.waitForEnd(Generous));
}

TEST_F(PlayerRun, AForwardedHelpLeavesThePlayingFileAlone)
{
    std::string longer = wave("long.wav", 30000);
    ASSERT_TRUE(primary.start(args({longer})));
    ASSERT_TRUE(waitForCurrentFile(longer, 1, Generous));
    startSecond({"-Help0"});
    HWND dialog = waitForDialog(primary.id(), Generous);
    ASSERT_TRUE(dialog);
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    DWORD start = GetTickCount();
    while (IsWindow(dialog) && GetTickCount() - start < Generous)
        Sleep(50);
    EXPECT_FALSE(IsWindow(dialog));
    RunningPlayerState state;
    ASSERT_TRUE(runningPlayerState(&state));
    EXPECT_EQ(1u, state.startedFiles);
    EXPECT_STRCASEEQ(longer.c_str(), state.currentFile);
    startSecond({"-End"});
    EXPECT_TRUE(primary.waitForEnd(20000));
}

} // namespace
