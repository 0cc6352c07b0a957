#include "PlayerRun.h"

namespace {

const DWORD WatchInterval = 50;
// Once the player is gone (or ended), a query in flight returns at once.
const DWORD WatcherEndWait = 30000;

} // namespace

bool PlayerRun::start(const std::vector<std::string>& arguments)
{
    stop();
    sightings_.clear();
    stopWatching_ = 0;
    startTime_ = GetTickCount();
    if (!process_.start(arguments))
        return false;
    watcher_ = CreateThread(nullptr, 0, watch, this, 0, nullptr);
    if (!watcher_)
        process_.kill();
    return watcher_ != nullptr;
}

DWORD WINAPI PlayerRun::watch(void* self)
{
    PlayerRun* run = static_cast<PlayerRun*>(self);
    while (!run->stopWatching_) {
        RunningPlayerState state;
        if (runningPlayerState(&state))
            run->note(state);
        Sleep(WatchInterval);
    }
    return 0;
}

void PlayerRun::note(const RunningPlayerState& state)
{
    if (!sightings_.empty() && sightings_.back().startedFiles == state.startedFiles &&
        lstrcmpiA(sightings_.back().file.c_str(), state.currentFile) == 0)
        return;
    sightings_.push_back({state.currentFile, state.startedFiles, GetTickCount() - startTime_});
}

bool PlayerRun::watchToEnd(DWORD milliseconds)
{
    bool ended = process_.waitForEnd(milliseconds);
    endTime_ = GetTickCount() - startTime_;
    stop();
    return ended;
}

// Ending the process first releases a query that waits on a hung player.
void PlayerRun::stop()
{
    process_.kill();
    if (!watcher_)
        return;
    InterlockedExchange(&stopWatching_, 1);
    WaitForSingleObject(watcher_, WatcherEndWait);
    CloseHandle(watcher_);
    watcher_ = nullptr;
}

bool PlayerRun::sawPlaying(const std::string& file, DWORD nth) const
{
    for (const PlayerSighting& s : sightings_) {
        if (s.startedFiles == nth && lstrcmpiA(s.file.c_str(), file.c_str()) == 0)
            return true;
    }
    return false;
}

// The count reads 0 again while the player takes its reply block down.
DWORD PlayerRun::startedFiles() const
{
    DWORD most = 0;
    for (const PlayerSighting& s : sightings_)
        most = s.startedFiles > most ? s.startedFiles : most;
    return most;
}

std::string PlayerRun::story() const
{
    std::string text = "sightings (milliseconds, started files, current file):\n";
    for (const PlayerSighting& s : sightings_)
        text += "  " + std::to_string(s.milliseconds) + " " + std::to_string(s.startedFiles) + " " + s.file + "\n";
    text += "  " + std::to_string(endTime_) + " end of the watch\n";
    return text;
}
