#include "Forwarding.h"

#include <shlwapi.h>
#include <stdio.h>

#include "FindScope.h"
#include "ForwardRecord.h"
#include "PlayOptions.h"
#include "PlayQueue.h"
#include "PathParts.h"
#include "PlayerCore.h"
#include "RunningPlayer.h"

namespace {

CurrentFileReply currentFileReply;

// Set in a second start once the primary failed to answer in time.
bool primaryHung = false;

// A hung primary ends the second start: the rest of its list is dropped.
void noteHung(BOOL hung)
{
    if (!hung)
        return;
    primaryHung = true;
    cancelToEnd();
}

const UINT ForwardedWords = 8;

// The words a PlayFile record stands for: one of each engine pair, the
// repeat mode, the delete mode, the play-time limit and the path.
char** wordsOfRecord(const forward::Record& record)
{
    DWORD flags = record.word;
    char limit[32];
    sprintf(limit, "-Milliseconds%u", record.milliseconds < 0 ? 0u : (unsigned)record.milliseconds);
    const char* words[ForwardedWords] = {
        flags & FlagTryByMci ? "-TryByMci" : "-NoTryByMci",
        flags & FlagDirectShowStandard ? "-TryByDirectShow" : "-NoTryByDirectShow",
        flags & FlagTryByDirectMusic ? "-TryByDirectMusic" : "-NoTryByDirectMusic",
        flags & FlagTryByExternalEngine ? "-TryByExternalEngine" : "-NoTryByExternalEngine",
        flags & FlagRepeatEach ? "-RepeatEach" : flags & FlagRepeat ? "-Repeat" : "-NoRepeat",
        flags & FlagDelete ? "-Delete" : "-NoDelete",
        limit,
        record.path,
    };
    return copyWords(words, ForwardedWords);
}

bool isDropBusy()
{
    LockScope hold(dropLock);
    return dropBusy != 0;
}

// The gate admits one record between two started files.
bool takeGate(DWORD flags)
{
    if (isDropBusy())
        return (flags & FlagAcceptedWhileDropping) != 0;
    if (InterlockedIncrement(&forwardGate) == 0)
        return true;
    InterlockedDecrement(&forwardGate);
    return false;
}

LRESULT acceptPlayFile(const forward::Record& record)
{
    if (playQueue.closed() || !takeGate(record.word))
        return 0;
    char** words = wordsOfRecord(record);
    BOOL add = (record.word & FlagAdd) != 0;
    LockScope hold(queueLock);
    if (!words || !playQueue.install(words, ForwardedWords, add)) {
        freeWords(words, words ? ForwardedWords : 0);
        InterlockedDecrement(&forwardGate);
        return 0;
    }
    playOptions.externalEngines = record.externalEngines;
    if (!add) {
        playQueue.setCancel(true);
        playQueue.setPosition(-1);
        SendMessageA(mainWindow, WM_COMMAND, CommandStop, 0);
    }
    return 1;
}

LRESULT showUsage(HWND owner)
{
    if (owner && !IsWindow(owner))
        return 0;
    return PostMessageA(controlWindow, WM_COMMAND, CommandShowUsage, (LPARAM)owner) ? 1 : 0;
}

LRESULT skipCurrent()
{
    LockScope hold(cancelLock);
    return SetEvent(playDoneEvent);
}

// End also clears Repeat: "make it exit" must not start a new pass.
LRESULT endQueue()
{
    cancelToEnd();
    LockScope hold(cancelLock);
    return SetEvent(playDoneEvent);
}

// The name goes to the reply block and not into the record: the record is
// the receiver's copy, to be treated as read-only, and never travels back.
LRESULT answerQuery()
{
    char name[MAX_PATH];
    playQueue.currentFile(name);
    currentFileReply.publish(name);
    return 1;
}

} // namespace

LRESULT receiveRecord(const COPYDATASTRUCT* data)
{
    forward::Record record;
    if (!data || !forward::check((const uint8_t*)data->lpData, data->cbData, &record))
        return 0;
    switch (record.command) {
    case forward::ShowUsage:
        return showUsage((HWND)(UINT_PTR)record.word);
    case forward::PlayFile:
        return acceptPlayFile(record);
    case forward::Next:
        return skipCurrent();
    case forward::End:
        return endQueue();
    case forward::QueryCurrentFile:
        return answerQuery();
    }
    return 0;
}

BOOL openCurrentFileReply(HWND window) { return currentFileReply.create(window); }

void closeCurrentFileReply() { currentFileReply.destroy(); }

void countStartedFile() { currentFileReply.countStartedFile(); }

LRESULT forwardName(const char* path)
{
    uint8_t record[forward::LargestRecord];
    size_t size = forward::buildPlayFile(record, playOptions.flags, playOptions.milliseconds,
                                         playOptions.externalEngines, path);
    BOOL hung;
    LRESULT result = sendToRunningPlayer(record, (DWORD)size, &hung);
    noteHung(hung);
    // A hung primary may still play the file: nothing is deleted then.
    if (!result && !hung && (playOptions.flags & FlagDelete))
        deleteMatches(path);
    return result;
}

LRESULT forwardWord(DWORD command, DWORD word)
{
    uint8_t record[forward::LargestRecord];
    size_t size = forward::buildWord(record, (forward::Command)command, word);
    BOOL hung;
    LRESULT result = sendToRunningPlayer(record, (DWORD)size, &hung);
    noteHung(hung);
    return result;
}

bool forwardingFailed() { return primaryHung; }

void deleteMatches(const char* pattern)
{
    char directory[MAX_PATH];
    const char* name = splitDirectory(pattern, directory);
    FindScope find(pattern);
    for (const WIN32_FIND_DATAA* match = find.first(); match; match = find.next()) {
        if (match->dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        // The search also matches short names ("*.wav" finds "a.wave"):
        // only a long name that matches the pattern itself is deleted.
        if (!PathMatchSpecA(match->cFileName, name))
            continue;
        char file[MAX_PATH];
        if (joinPath(file, directory, match->cFileName))
            DeleteFileA(file);
    }
}
