#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "PlayerProcess.h"

// What an observer saw of the running player at one moment: its current
// file and how many files had started playing by then.
struct PlayerSighting {
    std::string file;
    DWORD startedFiles;
    DWORD milliseconds;  // since the start of the run
};

// One run of PLAYER.EXE watched from outside, from its start to its end: a
// thread of the test asks the player through the reply path, over and over,
// and writes down every change of the current file or of the count of
// started files. The process is ended on every path.
class PlayerRun {
public:
    PlayerRun() = default;
    explicit PlayerRun(const std::string& program) : process_(program) {}
    ~PlayerRun() { stop(); }
    PlayerRun(const PlayerRun&) = delete;
    PlayerRun& operator=(const PlayerRun&) = delete;

    bool start(const std::vector<std::string>& arguments);
    // True when the player ended by itself within the time; it is ended
    // otherwise. The sightings are complete afterwards.
    bool watchToEnd(DWORD milliseconds);

    // Whether the file was the current one while it was the nth file to
    // start (counted from 1): it played, and as the nth.
    bool sawPlaying(const std::string& file, DWORD nth) const;
    // Files that started playing in the whole run.
    DWORD startedFiles() const;
    // The sightings in order with their times, one a line, for failure messages.
    std::string story() const;

private:
    static DWORD WINAPI watch(void* self);
    void note(const RunningPlayerState& state);
    void stop();

    PlayerProcess process_;
    HANDLE watcher_ = nullptr;
    DWORD startTime_ = 0;
    DWORD endTime_ = 0;
    volatile LONG stopWatching_ = 0;
    std::vector<PlayerSighting> sightings_;  // written by the watcher only until it ends
};
