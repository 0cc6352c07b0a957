#include "FindScope.h"
#include "Forwarding.h"
#include "PathParts.h"
#include "PlayOptions.h"
#include "PlayQueue.h"
#include "PlayerCore.h"
#include "PlaylistEntries.h"
#include "UsageWait.h"

namespace {

// Relative playlist entries resolve against the playlist's directory. A root
// keeps its backslash: "C:" alone would mean the drive's own current directory.
void enterDirectoryOf(const char* file)
{
    char directory[MAX_PATH];
    splitDirectory(file, directory);
    size_t n = lstrlenA(directory);
    if (n == 0)
        lstrcpyA(directory, ".");
    else if (n > 1 && (directory[n - 1] == '\\' || directory[n - 1] == '/') && directory[n - 2] != ':')
        directory[n - 1] = 0;
    lstrcpynA(playQueue.currentDirectory, directory, MAX_PATH);
    SetCurrentDirectoryA(directory);
}

// Waits for the end of one entry, at most the play-time limit. The entry is
// then stopped in every case: Next and End only release the wait, and an
// abandoned file must neither play on beside the next one nor stay open
// when it is to be deleted.
void waitForEntry()
{
    LONG limit = playTimeLimit();
    WaitForSingleObject(playDoneEvent, limit < 0 ? INFINITE : (DWORD)limit);
    SendMessageA(mainWindow, WM_COMMAND, CommandStop, 0);
    ResetEvent(playDoneEvent);
}

// The usage dialog: no limit, since the dialog is closed by the user; the
// reset keeps the close from ending the next file at once.
void waitForUsageDialog()
{
    WaitForSingleObject(playDoneEvent, INFINITE);
    endUsageWait();
    ResetEvent(playDoneEvent);
}

LRESULT playEntries(const char* file)
{
    UINT count = 0;
    char(*entries)[MAX_PATH] = readPlaylistEntries(file, &count);
    LRESULT result = 0;
    for (UINT i = 0; i < (entries ? count : 1); ++i) {
        char name[MAX_PATH];
        lstrcpynA(name, entries ? entries[i] : file, MAX_PATH);
        if (!name[0])
            continue;  // an entry the reader could not give opens nowhere
        result = SendMessageA(controlWindow, WM_COMMAND, CommandPlay, (LPARAM)name);
        if (!IsWindow(controlWindow)) {
            playQueue.setCancel(true);  // nobody is left to end the entry
            break;
        }
        waitForEntry();
        if (playQueue.cancelled())
            break;
    }
    delete[] entries;
    return result;
}

void playFoundFile(const char* file)
{
    playQueue.setCurrentFile(file);
    if (playCurrent())
        playQueue.somethingPlayed = true;
}

// The search runs under queueLock; the files found are played outside it,
// since the user-interface thread takes it while the queue thread waits.
bool expandPattern(const char* path, const char* directory)
{
    FindScope find(path);
    const WIN32_FIND_DATAA* match;
    {
        LockScope hold(queueLock);
        match = find.first();
    }
    while (match) {
        char found[MAX_PATH];
        if (joinPath(found, directory, match->cFileName)) {
            if (!(match->dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                playFoundFile(found);
            else if (lstrlenA(found) + 4 < MAX_PATH)
                expandAndPlay(lstrcatA(found, "\\*.*"));
        }
        if (playQueue.cancelled())
            break;
        LockScope hold(queueLock);
        match = find.next();
    }
    return playQueue.cancelled();
}

void readName(const char* word)
{
    char path[MAX_PATH];
    lstrcpynA(path, word, MAX_PATH);
    if (endsWithBackslash(path) && lstrlenA(path) + 3 < MAX_PATH)
        lstrcatA(path, "*.*");
    if (!isPrimary) {
        // The primary runs in another directory: it gets the name resolved here.
        char full[MAX_PATH];
        DWORD n = GetFullPathNameA(path, MAX_PATH, full, nullptr);
        forwardName(n > 0 && n < MAX_PATH ? full : path);
        return;
    }
    playQueue.setCancel(false);
    expandAndPlay(path);
}

// Reads the word at position into word. At the end of a pass Repeat starts
// another one when something played; otherwise the queue is closed under the
// same lock as the test, so that no forwarded record extends a queue that is
// no longer read. Answers false then.
bool nextWord(LONG position, char* word, bool* have)
{
    LockScope hold(queueLock);
    *have = playQueue.wordAt(position, word);
    if (*have || position < playQueue.length())
        return true;
    if ((playOptions.flags & FlagRepeat) && playQueue.somethingPlayed) {
        playQueue.somethingPlayed = false;
        playQueue.setPosition(-1);
        return true;
    }
    playQueue.close();
    return false;
}

} // namespace

bool expandAndPlay(const char* path)
{
    char directory[MAX_PATH];
    const char* name = splitDirectory(path, directory);
    // A plain name is one file of the current directory; a bare pattern or
    // directory name is searched there like any other.
    DWORD attributes = GetFileAttributesA(path);
    bool isDirectory = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    if (name == path && !hasWildcard(path) && !isDirectory) {
        playFoundFile(path);
        return playQueue.cancelled();
    }
    return expandPattern(path, directory);
}

LRESULT playCurrent()
{
    char file[MAX_PATH];
    playQueue.currentFile(file);
    if (!file[0]) {
        waitForUsageDialog();
        return 0;
    }
    enterDirectoryOf(file);
    LRESULT result = playEntries(file);
    if (playOptions.flags & FlagDelete)
        DeleteFileA(file);  // a playlist: the list, not its entries
    return result;
}

void runQueue()
{
    playQueue.somethingPlayed = false;
    playQueue.setCancel(false);
    playQueue.setPosition(-1);
    for (;;) {
        char word[MAX_PATH];
        bool have;
        if (!nextWord(playQueue.advance(), word, &have))
            return;
        if (!have)
            continue;
        if (word[0] == '-' || word[0] == '/') {
            if (parseOption(word + 1)) {
                playQueue.setCurrentFile("");
                playCurrent();
            }
        } else {
            readName(word);
        }
    }
}
