// Starts of PLAYER.EXE that meet another player: many at once, and one
// whose primary does not answer.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "MediaFiles.h"
#include "PlayerProcess.h"
#include "TestPaths.h"

namespace {

const DWORD Generous = 60000;
const int Starts = 8;

BOOL CALLBACK countControlWindow(HWND window, LPARAM count)
{
    char name[32] = "";
    GetClassNameA(window, name, sizeof name);
    if (lstrcmpA(name, "PlayerControlClass") == 0)
        ++*(int*)count;
    return TRUE;
}

class Startup : public ::testing::Test {
protected:
    void SetUp() override { killRunningPlayers(); }
    void TearDown() override
    {
        for (PlayerProcess& player : players)
            player.kill();
        killRunningPlayers();
    }

    PlayerProcess players[Starts];
};

// As from a file manager that opens a selection: all but one forward to the
// one that became the primary and end.
TEST_F(Startup, EightStartsAtOnceLeaveOnePlayer)
{
    for (PlayerProcess& player : players)
        ASSERT_TRUE(player.start({"-Help0"}, true));
    for (PlayerProcess& player : players)
        player.resume();
    int running = Starts;
    DWORD start = GetTickCount();
    while (running > 1 && GetTickCount() - start < Generous) {
        Sleep(50);
        running = 0;
        for (PlayerProcess& player : players)
            running += player.running() ? 1 : 0;
    }
    EXPECT_EQ(1, running);
    int controlWindows = 0;
    EnumWindows(countControlWindow, (LPARAM)&controlWindows);
    EXPECT_EQ(1, controlWindows);
}

// A control window whose thread never reads its messages, as of a hung
// player.
DWORD WINAPI hungPlayer(void* release)
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "PlayerControlClass";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(0, "PlayerControlClass", "", 0, 0, 0, 0, 0, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    WaitForSingleObject((HANDLE)release, INFINITE);
    DestroyWindow(window);
    return 0;
}

TEST_F(Startup, AHungPlayerEndsTheSecondStartWithFailureDeletingNothing)
{
    std::string folder = makeTempFolder();
    std::string wave = folder + "kept.wav";
    ASSERT_TRUE(writePcmWave(wave, 500));
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE thread = CreateThread(nullptr, 0, hungPlayer, release, 0, nullptr);
    while (!FindWindowA("PlayerControlClass", nullptr))
        Sleep(10);
    ASSERT_TRUE(players[0].start({"-Delete", wave}));
    EXPECT_TRUE(players[0].waitForEnd(Generous));
    EXPECT_EQ(1u, players[0].exitCode());
    EXPECT_TRUE(fileExists(wave));
    SetEvent(release);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    CloseHandle(release);
    removeTree(folder);
}

} // namespace
