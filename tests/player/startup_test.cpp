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

// A control window whose thread never reads its messages, as of a hung player.
DWORD WINAPI hungPlayer(void* release)
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.lpszClassName = "PlayerControlClass";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowA("PlayerControlClass", "", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    WaitForSingleObject((HANDLE)release, INFINITE);
    DestroyWindow(window);
    return 0;
}

TEST(Startup, AHungPlayerEndsTheSecondStartWithFailureDeletingNothing)
{
    killRunningPlayers();
    std::string folder = makeTempFolder(), wave = folder + "kept.wav";
    ASSERT_TRUE(writePcmWave(wave, 500));
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE thread = CreateThread(nullptr, 0, hungPlayer, release, 0, nullptr);
    for (DWORD start = GetTickCount(); !FindWindowA("PlayerControlClass", nullptr) && GetTickCount() - start < Generous;)
        Sleep(10);
    PlayerProcess second;
    ASSERT_TRUE(second.start({"-Delete", wave}));
    EXPECT_TRUE(second.waitForEnd(Generous));
    EXPECT_EQ(1u, second.exitCode());
    EXPECT_TRUE(fileExists(wave));
    SetEvent(release);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    CloseHandle(release);
    removeTree(folder);
}

} // namespace
