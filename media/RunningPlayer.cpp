#include "RunningPlayer.h"

#include <stdio.h>

#include "ForwardRecord.h"

namespace {

const char ControlClass[] = "PlayerControlClass";
const DWORD ReplyLockWait = 5000;

void blockNames(HWND window, char* mapping, char* mutex)
{
    sprintf(mapping, "PlayerCurrentFile%08X", (unsigned)(UINT_PTR)window);
    sprintf(mutex, "PlayerCurrentFileLock%08X", (unsigned)(UINT_PTR)window);
}

// A player whose window does not answer within the wait is taken as hung:
// the record is then neither accepted nor refused.
LRESULT sendRecordTo(HWND window, const void* record, DWORD size, BOOL* hung)
{
    COPYDATASTRUCT data = {0, size, const_cast<void*>(record)};
    DWORD_PTR result = 0;
    BOOL answered = SendMessageTimeoutA(window, WM_COPYDATA, 0, (LPARAM)&data, SMTO_NORMAL, RunningPlayerAnswerWait,
                                        &result) != 0;
    if (hung)
        *hung = !answered && IsWindow(window);
    return answered ? (LRESULT)result : 0;
}

// Holds a named mutex for a scope; an abandoned one is taken over.
class MutexHold {
public:
    explicit MutexHold(HANDLE mutex) : mutex_(mutex)
    {
        DWORD r = WaitForSingleObject(mutex_, ReplyLockWait);
        held_ = r == WAIT_OBJECT_0 || r == WAIT_ABANDONED;
    }
    ~MutexHold()
    {
        if (held_)
            ReleaseMutex(mutex_);
    }
    bool held() const { return held_; }

private:
    HANDLE mutex_;
    bool held_;
};

void readReply(HWND window, RunningPlayerState* state)
{
    char mappingName[64], mutexName[64];
    blockNames(window, mappingName, mutexName);
    HANDLE mapping = OpenFileMappingA(FILE_MAP_READ, FALSE, mappingName);
    HANDLE mutex = OpenMutexA(SYNCHRONIZE, FALSE, mutexName);
    const RunningPlayerState* block =
        mapping ? (const RunningPlayerState*)MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, sizeof *block) : nullptr;
    if (block && mutex) {
        MutexHold hold(mutex);
        if (hold.held()) {
            lstrcpynA(state->currentFile, block->currentFile, MAX_PATH);
            state->startedFiles = block->startedFiles;
        }
    }
    if (block)
        UnmapViewOfFile(block);
    if (mutex)
        CloseHandle(mutex);
    if (mapping)
        CloseHandle(mapping);
}

} // namespace

LRESULT sendToRunningPlayer(const void* record, DWORD size, BOOL* hung)
{
    if (hung)
        *hung = FALSE;
    HWND window = FindWindowA(ControlClass, nullptr);
    return window ? sendRecordTo(window, record, size, hung) : 0;
}

BOOL queryRunningPlayer(RunningPlayerState* state, BOOL* hung)
{
    ZeroMemory(state, sizeof *state);
    if (hung)
        *hung = FALSE;
    HWND window = FindWindowA(ControlClass, nullptr);
    if (!window)
        return FALSE;
    uint8_t record[forward::LargestRecord];
    DWORD size = (DWORD)forward::buildQuery(record);
    if (!sendRecordTo(window, record, size, hung))
        return FALSE;
    readReply(window, state);
    return TRUE;
}

BOOL queryRunningPlayerFile(char* name, BOOL* hung)
{
    RunningPlayerState state;
    BOOL answered = queryRunningPlayer(&state, hung);
    lstrcpynA(name, state.currentFile, MAX_PATH);
    return answered;
}

BOOL CurrentFileReply::create(HWND controlWindow)
{
    destroy();
    char mappingName[64], mutexName[64];
    blockNames(controlWindow, mappingName, mutexName);
    mapping_ = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof *block_, mappingName);
    mutex_ = CreateMutexA(nullptr, FALSE, mutexName);
    block_ = mapping_ ? (RunningPlayerState*)MapViewOfFile(mapping_, FILE_MAP_WRITE, 0, 0, sizeof *block_) : nullptr;
    if (block_ && mutex_)
        return TRUE;
    destroy();
    return FALSE;
}

void CurrentFileReply::publish(const char* name)
{
    if (!block_)
        return;
    MutexHold hold(mutex_);
    if (hold.held())
        lstrcpynA(block_->currentFile, name, MAX_PATH);
}

void CurrentFileReply::countStartedFile()
{
    if (!block_)
        return;
    MutexHold hold(mutex_);
    if (hold.held())
        ++block_->startedFiles;
}

void CurrentFileReply::destroy()
{
    if (block_)
        UnmapViewOfFile(block_);
    if (mutex_)
        CloseHandle(mutex_);
    if (mapping_)
        CloseHandle(mapping_);
    block_ = nullptr;
    mutex_ = mapping_ = nullptr;
}
