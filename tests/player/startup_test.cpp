// Starts of PLAYER.EXE that meet another player: many at once, and one
// whose primary does not answer.
#include <gtest/gtest.h>
#include <windows.h>

#include "MediaFiles.h"
#include "PlayerProcess.h"
#include "TestPaths.h"

namespace {

const DWORD Generous = 60000;

BOOL CALLBACK countControlWindow(HWND window, LPARAM count)
{
    char name[32] = "";
    GetClassNameA(window, name, sizeof name);
    *(int*)count += lstrcmpA(name, "PlayerControlClass") == 0;
    return TRUE;
}

// As from a file manager opening a selection: all but the one that became
// the primary forward to it and end.
TEST(Startup, EightStartsAtOnceLeaveOnePlayer)
{
    killRunningPlayers();
    PlayerProcess players[8];
    for (PlayerProcess& player : players)
        ASSERT_TRUE(player.start({"-Help0"}));
    int running = 8;
    for (DWORD start = GetTickCount(); running > 1 && GetTickCount() - start < Generous; Sleep(50)) {
        running = 0;
        for (PlayerProcess& player : players)
            running += player.running();
    }
    EXPECT_EQ(1, running);
    int controlWindows = 0;
    EnumWindows(countControlWindow, (LPARAM)&controlWindows);
    EXPECT_EQ(1, controlWindows);
}

// A control window that answers a number of records and then hangs on the
// next one, as a player that stopped answering.
LONG answersLeft;
HANDLE release;

LRESULT CALLBACK hangingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COPYDATA && InterlockedDecrement(&answersLeft) < 0)
        WaitForSingleObject(release, INFINITE);
    return message == WM_COPYDATA ? 1 : DefWindowProcA(window, message, wParam, lParam);
}

DWORD WINAPI hungPlayer(void*)
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = hangingProc;
    windowClass.lpszClassName = "PlayerControlClass";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowA("PlayerControlClass", "", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    MSG msg;
    while (WaitForSingleObject(release, 0) == WAIT_TIMEOUT && GetMessageA(&msg, nullptr, 0, 0) > 0)
        DispatchMessageA(&msg);
    DestroyWindow(window);
    return 0;
}

// Hung at the presence probe (no answer) or at the forwarded file (one).
TEST(Startup, AHungPlayerEndsTheSecondStartWithFailureDeletingNothing)
{
    for (LONG answers : {0, 1}) {
        killRunningPlayers();
        std::string folder = makeTempFolder(), wave = folder + "kept.wav";
        ASSERT_TRUE(writePcmWave(wave, 500));
        answersLeft = answers;
        release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        DWORD id;
        HANDLE thread = CreateThread(nullptr, 0, hungPlayer, nullptr, 0, &id);
        for (DWORD start = GetTickCount(); !FindWindowA("PlayerControlClass", nullptr) && GetTickCount() - start < Generous;)
            Sleep(10);
        PlayerProcess second;
        ASSERT_TRUE(second.start({"-Delete", wave}));
        EXPECT_TRUE(second.waitForEnd(Generous)) << answers;
        EXPECT_EQ(1u, second.exitCode()) << answers;
        EXPECT_TRUE(fileExists(wave)) << answers;
        SetEvent(release);
        PostThreadMessageA(id, WM_NULL, 0, 0);
        WaitForSingleObject(thread, INFINITE);
        CloseHandle(thread);
        CloseHandle(release);
        removeTree(folder);
    }
}

} // namespace
