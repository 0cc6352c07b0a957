#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "RunningPlayer.h"

// PLAYER.EXE from beside the tests, started as a separate process and
// watched from outside through the running-player reply path.
class PlayerProcess {
public:
    PlayerProcess() = default;
    // PLAYER.EXE from another folder, such as an unpacked package.
    explicit PlayerProcess(const std::string& program) : program_(program) {}
    ~PlayerProcess() { kill(); }
    PlayerProcess(const PlayerProcess&) = delete;
    PlayerProcess& operator=(const PlayerProcess&) = delete;

    bool start(const std::vector<std::string>& arguments);
    // Through the UTF-16 command line, for names the code page lacks.
    bool start(const std::vector<std::wstring>& arguments);
    // True when the process ended within the time.
    bool waitForEnd(DWORD milliseconds);
    bool running() const;
    // STILL_ACTIVE while it runs.
    DWORD exitCode() const;
    void kill();
    DWORD id() const { return id_; }

private:
    std::string program() const;
    bool took(const PROCESS_INFORMATION& info);

    std::string program_;  // empty: the one beside the tests
    HANDLE process_ = nullptr;
    DWORD id_ = 0;
};

// A visible dialog window of the process, waiting up to the time; null when
// none appeared.
HWND waitForDialog(DWORD processId, DWORD milliseconds);

// Ends every player left running (by an earlier failed test).
void killRunningPlayers();

// Polls the running player until its current file is name (compared without
// regard to case) and at least startedFiles files have started. False when
// that did not happen within the time.
bool waitForCurrentFile(const std::string& name, DWORD startedFiles, DWORD milliseconds);

// The running player's state; false when none answers.
bool runningPlayerState(RunningPlayerState* state);

// The engine words that make the player use MCI alone, as these tests do.
extern const std::vector<std::string> mciOnly;
