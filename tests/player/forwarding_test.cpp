#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "ForwardRecord.h"
#include "Forwarding.h"
#include "MediaFiles.h"
#include "PlayOptions.h"
#include "PlayQueue.h"
#include "PlayQueueWords.h"
#include "PlayerCore.h"
#include "RunningPlayer.h"
#include "TestPaths.h"

namespace {

LRESULT CALLBACK receiverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COPYDATA)
        return receiveRecord((const COPYDATASTRUCT*)lParam);
    return DefWindowProcA(window, message, wParam, lParam);
}

// A control window of this process receives the records, as the primary's does.
class Forwarding : public ::testing::Test {
protected:
    void SetUp() override
    {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = receiverProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "PlayerControlClass";
        RegisterClassA(&windowClass);
        controlWindow = CreateWindowA("PlayerControlClass", "", 0, 0, 0, 0, 0, nullptr, nullptr,
                                      windowClass.hInstance, nullptr);
        ASSERT_TRUE(openCurrentFileReply(controlWindow));
        playDoneEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        mainWindow = nullptr;
        playOptions = PlayOptions();
        forwardGate = -1;
        dropBusy = 0;
        setQueue({"old1.wav", "old2.wav"});
        folder = makeTempFolder();
    }
    void TearDown() override
    {
        closeCurrentFileReply();
        DestroyWindow(controlWindow);
        controlWindow = nullptr;
        CloseHandle(playDoneEvent);
        playDoneEvent = nullptr;
        playQueue.clear();
        playQueue.setCurrentFile("");
        removeTree(folder);
    }

    void setQueue(std::vector<const char*> words)
    {
        playQueue.assign(words.data(), (UINT)words.size());
        playQueue.setPosition(1);
        playQueue.setCancel(false);
    }


    LRESULT playFile(DWORD flags, LONG milliseconds, DWORD engines, const char* path)
    {
        uint8_t record[forward::LargestRecord];
        size_t size = forward::buildPlayFile(record, flags, milliseconds, engines, path);
        return sendToRunningPlayer(record, (DWORD)size);
    }

    LRESULT word(forward::Command command, DWORD value)
    {
        uint8_t record[forward::LargestRecord];
        size_t size = forward::buildWord(record, command, value);
        return sendToRunningPlayer(record, (DWORD)size);
    }

    bool signalled() const { return WaitForSingleObject(playDoneEvent, 0) == WAIT_OBJECT_0; }

    std::string folder;
};

TEST_F(Forwarding, APlayFileRecordReplacesTheQueueWithOneWordOfEachKind)
{
    ASSERT_EQ(1, playFile(FlagTryByMci | FlagDelete | FlagRepeat, -1, ExternalSoftMpeg, "C:\\a.wav"));
    std::vector<std::string> expected = {"-TryByMci",  "-NoTryByDirectShow", "-NoTryByDirectMusic",
                                         "-NoTryByExternalEngine", "-Repeat", "-Delete",
                                         "-Milliseconds0", "C:\\a.wav"};
    EXPECT_EQ(expected, playQueueWords());
    EXPECT_EQ(-1, playQueue.position());
    EXPECT_TRUE(playQueue.cancelled());
    EXPECT_EQ((DWORD)ExternalSoftMpeg, playOptions.externalEngines);
}

TEST_F(Forwarding, AddAppendsAndKeepsThePosition)
{
    DWORD flags = FlagAdd | FlagRepeatEach | FlagRepeat | FlagDirectShowStandard | FlagTryByDirectMusic |
                  FlagTryByExternalEngine;
    ASSERT_EQ(1, playFile(flags, 5000, ExternalVbmp3, "D:\\b\\*.mp3"));
    std::vector<std::string> expected = {"old1.wav",          "old2.wav",           "-NoTryByMci",
                                         "-TryByDirectShow",  "-TryByDirectMusic",  "-TryByExternalEngine",
                                         "-RepeatEach",       "-NoDelete",          "-Milliseconds5000",
                                         "D:\\b\\*.mp3"};
    EXPECT_EQ(expected, playQueueWords());
    EXPECT_EQ(1, playQueue.position());
    EXPECT_FALSE(playQueue.cancelled());
}

TEST_F(Forwarding, TheGateAdmitsOneRecordUntilTheNextFileHasStarted)
{
    EXPECT_EQ(1, playFile(FlagAdd, -1, 0, "C:\\a.wav"));
    EXPECT_EQ(0, playFile(FlagAdd, -1, 0, "C:\\b.wav"));
    EXPECT_EQ(10u, playQueueWords().size());
    forwardGate = -1;  // what the control window does when a file has started
    EXPECT_EQ(1, playFile(FlagAdd, -1, 0, "C:\\b.wav"));
}

TEST_F(Forwarding, WhileADropReplacesTheQueueOnlyMarkedRecordsPass)
{
    dropBusy = 1;
    EXPECT_EQ(0, playFile(0, -1, 0, "C:\\a.wav"));
    EXPECT_EQ(2u, playQueueWords().size());
    EXPECT_EQ(1, playFile(FlagAcceptedWhileDropping, -1, 0, "C:\\a.wav"));
    EXPECT_EQ(-1, forwardGate);
}

TEST_F(Forwarding, NextAndEndRequireAZeroWord)
{
    EXPECT_EQ(0, word(forward::Next, 1));
    EXPECT_EQ(0, word(forward::End, 7));
    EXPECT_FALSE(signalled());
    EXPECT_EQ(1, playQueue.position());
    EXPECT_NE(0, word(forward::Next, 0));
    EXPECT_TRUE(signalled());
    EXPECT_FALSE(playQueue.cancelled());
}

TEST_F(Forwarding, EndMovesToTheLastWordAndEndsRepeat)
{
    setQueue({"a", "b", "c", "d"});
    playOptions.flags = FlagRepeat;
    EXPECT_NE(0, word(forward::End, 0));
    EXPECT_EQ(3, playQueue.position());
    EXPECT_TRUE(playQueue.cancelled());
    EXPECT_TRUE(signalled());
    EXPECT_EQ(0u, playOptions.flags & FlagRepeat);
}

TEST_F(Forwarding, ShowUsageNeedsAWindowOrNone)
{
    EXPECT_EQ(0, word(forward::ShowUsage, 0x7FFF0010));
    EXPECT_EQ(1, word(forward::ShowUsage, (DWORD)(UINT_PTR)controlWindow));
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, controlWindow, WM_COMMAND, WM_COMMAND, PM_REMOVE));
    EXPECT_EQ(CommandShowUsage, LOWORD(msg.wParam));
    EXPECT_EQ((LPARAM)controlWindow, msg.lParam);
}

TEST_F(Forwarding, MalformedRecordsChangeNothing)
{
    uint8_t record[forward::LargestRecord];
    size_t size = forward::buildPlayFile(record, 0, -1, 0, "C:\\a.wav");
    COPYDATASTRUCT data = {0, 11, record};
    EXPECT_EQ(0, SendMessageA(controlWindow, WM_COPYDATA, 0, (LPARAM)&data));
    data.cbData = (DWORD)size - 1;
    EXPECT_EQ(0, SendMessageA(controlWindow, WM_COPYDATA, 0, (LPARAM)&data));
    data.lpData = nullptr;
    data.cbData = (DWORD)size;
    EXPECT_EQ(0, SendMessageA(controlWindow, WM_COPYDATA, 0, (LPARAM)&data));
    EXPECT_EQ(0, SendMessageA(controlWindow, WM_COPYDATA, 0, 0));
    EXPECT_EQ(2u, playQueueWords().size());
    EXPECT_EQ(-1, forwardGate);
}

TEST_F(Forwarding, TheQueryAnswersThroughTheReplyBlock)
{
    char name[MAX_PATH] = "stale";
    EXPECT_TRUE(queryRunningPlayerFile(name));
    EXPECT_STREQ("", name);
    playQueue.setCurrentFile("C:\\music\\a.wav");
    EXPECT_TRUE(queryRunningPlayerFile(name));
    EXPECT_STREQ("C:\\music\\a.wav", name);
    std::string longName(300, 'n');
    playQueue.setCurrentFile(longName.c_str());
    EXPECT_TRUE(queryRunningPlayerFile(name));
    EXPECT_EQ(std::string(259, 'n'), name);

    RunningPlayerState state;
    countStartedFile();
    countStartedFile();
    ASSERT_TRUE(queryRunningPlayer(&state));
    EXPECT_EQ(2u, state.startedFiles);
}

TEST_F(Forwarding, NoRunningPlayerAnswersZero)
{
    DestroyWindow(controlWindow);
    char name[MAX_PATH];
    EXPECT_FALSE(queryRunningPlayerFile(name));
    EXPECT_EQ(0, playFile(0, -1, 0, "C:\\a.wav"));
}

TEST_F(Forwarding, ARefusedForwardDeletesOnlyTheFilesItsPatternNames)
{
    for (const char* name : {"a1.wav", "a2.wav", "b.wav", "a3.wave", "a.wav.txt"})
        writePcmWave(folder + name, 20);
    CreateDirectoryA((folder + "a4.wav").c_str(), nullptr);
    forwardGate = 0;  // the primary is still opening a file
    playOptions.flags = FlagDelete;
    EXPECT_EQ(0, forwardName((folder + "a*.wav").c_str()));
    EXPECT_FALSE(fileExists(folder + "a1.wav"));
    EXPECT_FALSE(fileExists(folder + "a2.wav"));
    for (const char* name : {"b.wav", "a3.wave", "a.wav.txt", "a4.wav"})
        EXPECT_TRUE(fileExists(folder + name)) << name;

    playOptions.flags = 0;
    EXPECT_EQ(0, forwardName((folder + "b.wav").c_str()));
    EXPECT_TRUE(fileExists(folder + "b.wav"));
}

} // namespace
