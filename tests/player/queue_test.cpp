#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "MediaContext.h"
#include "MediaFiles.h"
#include "PlayOptions.h"
#include "PlayQueue.h"
#include "PlayerCore.h"
#include "TestPaths.h"

namespace {

// Stands in for the control window: each play request is recorded and ends
// at once (playDoneEvent), or stays playing when holdPlay is set. Missing
// files and ".txt" files fail to play, like files no engine opens.
struct Requests {
    std::vector<std::string> names;
    bool holdPlay = false;
    size_t endAfter = 0;  // the Exit command after this many requests
};
Requests requests;

LRESULT CALLBACK fakeControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_COMMAND || LOWORD(wParam) != CommandPlay)
        return DefWindowProcA(window, message, wParam, lParam);
    const char* name = (const char*)lParam;
    requests.names.push_back(name);
    std::string text = name;
    bool exists = fileExists(text) && text.find(".txt") == std::string::npos;
    if (requests.endAfter && requests.names.size() >= requests.endAfter)
        cancelToEnd();
    if (!exists || !requests.holdPlay)
        signalPlayDone();
    return exists;
}

DWORD WINAPI queueThread(void*)
{
    runQueue();
    return 0;
}

class Queue : public ::testing::Test {
protected:
    void SetUp() override
    {
        requests = Requests();
        playOptions = PlayOptions();
        isPrimary = true;
        folder = makeTempFolder();
        GetCurrentDirectoryA(MAX_PATH, savedDirectory);
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = fakeControlProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "QueueTestControl";
        RegisterClassA(&windowClass);
        controlWindow = CreateWindowA("QueueTestControl", "", 0, 0, 0, 0, 0, nullptr, nullptr,
                                      windowClass.hInstance, nullptr);
        playDoneEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        mainWindow = nullptr;
    }
    void TearDown() override
    {
        DestroyWindow(controlWindow);
        controlWindow = nullptr;
        CloseHandle(playDoneEvent);
        playDoneEvent = nullptr;
        playQueue.clear();
        SetCurrentDirectoryA(savedDirectory);
        removeTree(folder);
    }

    // Runs the queue thread over words while this thread answers its
    // requests; true when the queue ended within a generous time.
    bool run(std::vector<std::string> words)
    {
        std::vector<const char*> pointers;
        for (const std::string& w : words)
            pointers.push_back(w.c_str());
        if (!playQueue.assign(pointers.data(), (UINT)pointers.size()))
            return false;
        DWORD id;
        HANDLE thread = CreateThread(nullptr, 0, queueThread, nullptr, 0, &id);
        DWORD start = GetTickCount();
        bool ended = false;
        while (!ended && GetTickCount() - start < 60000) {
            DWORD r = MsgWaitForMultipleObjects(1, &thread, FALSE, 1000, QS_ALLINPUT);
            ended = r == WAIT_OBJECT_0;
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
                DispatchMessageA(&msg);
        }
        if (!ended) {
            // A queue that would go on for ever is ended as the Exit command does.
            cancelToEnd();
            if (WaitForSingleObject(thread, 10000) != WAIT_OBJECT_0)
                TerminateThread(thread, 1);
        }
        CloseHandle(thread);
        return ended;
    }

    std::string file(const std::string& name, unsigned milliseconds = 50)
    {
        std::string path = folder + name;
        writePcmWave(path, milliseconds);
        return path;
    }

    std::vector<std::string> sorted() const
    {
        std::vector<std::string> names = requests.names;
        std::sort(names.begin(), names.end());
        return names;
    }

    std::string folder;
    char savedDirectory[MAX_PATH];
};

TEST_F(Queue, TrailingBackslashPlaysTheDirectoryAndAllItsSubdirectories)
{
    CreateDirectoryA((folder + "sub").c_str(), nullptr);
    CreateDirectoryA((folder + "sub\\deeper").c_str(), nullptr);
    std::vector<std::string> expected = {file("a.wav"), file("sub\\b.wav"), file("sub\\deeper\\c.wav")};
    ASSERT_TRUE(run({folder}));
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(expected, sorted());
}

TEST_F(Queue, WildcardPlaysTheMatchesOfItsDirectoryOnly)
{
    std::string a = file("a.wav"), b = file("b.wav");
    file("notes.txt");
    CreateDirectoryA((folder + "sub").c_str(), nullptr);
    file("sub\\c.wav");
    ASSERT_TRUE(run({folder + "*.wav"}));
    EXPECT_EQ((std::vector<std::string>{a, b}), sorted());
}

TEST_F(Queue, BareNamesAndPatternsResolveInTheCurrentDirectory)
{
    file("a.wav");
    file("b.mid");
    SetCurrentDirectoryA(folder.c_str());
    ASSERT_TRUE(run({"a.wav", "*.mid"}));
    EXPECT_EQ((std::vector<std::string>{"a.wav", "b.mid"}), requests.names);
}

TEST_F(Queue, OptionsActOnTheNamesThatFollowThem)
{
    std::string kept = file("kept.wav"), deleted = file("deleted.wav");
    ASSERT_TRUE(run({kept, "-Delete", deleted, "-Seconds3"}));
    EXPECT_TRUE(fileExists(kept));
    EXPECT_FALSE(fileExists(deleted));
    EXPECT_EQ(3000, playOptions.milliseconds);
}

TEST_F(Queue, AFileEndedByTheTimeLimitIsDeletedToo)
{
    std::string a = file("a.wav");
    requests.holdPlay = true;
    ASSERT_TRUE(run({"-Delete", "-Milliseconds100", a}));
    EXPECT_FALSE(fileExists(a));
}

TEST_F(Queue, RepeatWithOnlyUnplayableFilesEnds)
{
    std::string text = file("notes.txt");
    ASSERT_TRUE(run({"-Repeat", text, folder + "missing.wav", folder + "gone\\"}));
    EXPECT_EQ((std::vector<std::string>{text}), requests.names);
}

// The first pass deletes the file, so the second plays nothing and ends Repeat.
TEST_F(Queue, RepeatEndsWhenAPassPlaysNothing)
{
    std::string a = file("a.wav");
    ASSERT_TRUE(run({"-Repeat", "-Delete", a}));
    EXPECT_EQ((std::vector<std::string>{a}), requests.names);
}

TEST_F(Queue, RepeatStartsNewPassesUntilTheExitCommand)
{
    std::string a = file("a.wav");
    requests.endAfter = 5;
    ASSERT_TRUE(run({"-Repeat", a, folder + "missing.wav"}));
    EXPECT_EQ(5u, requests.names.size());
    EXPECT_EQ(a, requests.names[4]);
    EXPECT_FALSE(playOptions.flags & FlagRepeat);
}

TEST_F(Queue, ThePlayTimeLimitEndsAFileThatKeepsPlaying)
{
    std::string a = file("a.wav"), b = file("b.wav");
    requests.holdPlay = true;
    ASSERT_TRUE(run({"-Milliseconds200", a, b}));
    EXPECT_EQ((std::vector<std::string>{a, b}), requests.names);
}

// The first request replaces the list, as a drop without Ctrl does.
std::string replacement;

LRESULT CALLBACK replacingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND && LOWORD(wParam) == CommandPlay && requests.names.empty()) {
        const char* names[] = {replacement.c_str()};
        replaceQueue(names, 1, FALSE);
    }
    return fakeControlProc(window, message, wParam, lParam);
}

TEST_F(Queue, ANewListRestartsTheWalkAtItsFirstWord)
{
    std::string a = file("a.wav"), b = file("b.wav");
    replacement = file("c.wav");
    SetWindowLongPtrA(controlWindow, GWLP_WNDPROC, (LONG_PTR)replacingProc);
    ASSERT_TRUE(run({a, b}));
    EXPECT_EQ((std::vector<std::string>{a, replacement}), requests.names);
}

TEST_F(Queue, ANewListEndsThePlaylistThatWasPlaying)
{
    file("a.wav");
    file("b.wav");
    std::string list = folder + "list.m3u";
    ASSERT_TRUE(writeBytes(list, "a.wav\nb.wav\n", 12));
    replacement = file("c.wav");
    SetWindowLongPtrA(controlWindow, GWLP_WNDPROC, (LONG_PTR)replacingProc);
    MediaContext context;
    mediaContext = &context;
    bool ended = run({list});
    mediaContext = nullptr;
    ASSERT_TRUE(ended);
    EXPECT_EQ((std::vector<std::string>{"a.wav", replacement}), requests.names);
}

// A playlist whose entries cannot be read (too many to hold) is handed on
// as one media file, not dropped.
TEST_F(Queue, APlaylistThatCannotBeReadIsPlayedAsOneFile)
{
    std::string list = folder + "huge.pls";
    const char text[] = "[playlist]\r\nNumberOfEntries=4000000000\r\nFile1=a.wav\r\n";
    ASSERT_TRUE(writeBytes(list, text, sizeof text - 1));
    MediaContext context;
    mediaContext = &context;
    bool ended = run({list});
    mediaContext = nullptr;
    ASSERT_TRUE(ended);
    EXPECT_EQ((std::vector<std::string>{list}), requests.names);
}

} // namespace
