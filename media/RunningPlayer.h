#pragma once
#include <windows.h>

// Talking to the running player through its control window
// ("PlayerControlClass") with the records of ForwardRecord.h.

// How long a running player may take to answer one record, in milliseconds:
// longer than a slow first open on its user-interface thread (the first
// DirectShow graph in a fresh Wine prefix takes about 11 s).
const DWORD RunningPlayerAnswerWait = 15000;

// Sends one record as WM_COPYDATA to the first control window and answers
// the receiver's result: 1 accepted, 0 refused or no running player. With
// hung given, it tells whether a control window exists that did not answer
// within RunningPlayerAnswerWait (the answer is then 0 as well).
LRESULT sendToRunningPlayer(const void* record, DWORD size, BOOL* hung = nullptr);

// What the running player reports through the reply block.
struct RunningPlayerState {
    char currentFile[MAX_PATH];  // empty when it plays none
    DWORD startedFiles;          // files whose playing has started so far
};

// Sends a QueryCurrentFile record and reads the answer from the reply block.
// True when a running player answered; state is then filled (zeroed when
// the reply could not be read).
BOOL queryRunningPlayer(RunningPlayerState* state, BOOL* hung = nullptr);
// The same for the current file alone (260 bytes).
BOOL queryRunningPlayerFile(char* name, BOOL* hung = nullptr);

// The reply path of QueryCurrentFile. WM_COPYDATA hands the receiver a copy
// of the record, so what it writes there never reaches the sender; the
// player therefore also writes the name into a small named shared block tied
// to its control window ("PlayerCurrentFile%08X" with the window handle,
// guarded by the mutex "PlayerCurrentFileLock%08X"), which the querier reads
// after the call has returned. The block also counts the files whose playing
// has started, which tells an observer that a new file really plays.
class CurrentFileReply {
public:
    CurrentFileReply() = default;
    ~CurrentFileReply() { destroy(); }
    CurrentFileReply(const CurrentFileReply&) = delete;
    CurrentFileReply& operator=(const CurrentFileReply&) = delete;

    BOOL create(HWND controlWindow);
    // Writes name (cut to 259 characters) into the block.
    void publish(const char* name);
    void countStartedFile();
    void destroy();

private:
    HANDLE mapping_ = nullptr;
    HANDLE mutex_ = nullptr;
    RunningPlayerState* block_ = nullptr;
};
