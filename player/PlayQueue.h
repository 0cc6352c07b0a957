#pragma once
#include <windows.h>

// The words still to be read (options and names), the position in them, the
// cancel flag and the current file. One per process, walked by the queue
// thread, replaced or extended on the user-interface thread by forwarded
// records, drops and pastes. Locks: queueLock for the words, the length and
// currentFile; positionLock for position; cancelLock for cancel.
class PlayQueue {
public:
    PlayQueue() = default;
    ~PlayQueue() { clear(); }
    PlayQueue(const PlayQueue&) = delete;
    PlayQueue& operator=(const PlayQueue&) = delete;

    // Copies the words (the command line); false (queue unchanged) when an
    // allocation fails.
    BOOL assign(const char* const* words, UINT count);
    // Frees every word.
    void clear();
    // Installs count words taken over from a new[] array of new[] strings:
    // with keepOld the current words go in front and the position stays;
    // otherwise the old words are freed. False (nothing taken over) when the
    // joined list cannot be allocated.
    BOOL install(char** words, UINT count, BOOL keepOld);
    // Copies the word at index into word (260 bytes); false past the end.
    BOOL wordAt(LONG index, char* word) const;
    LONG length() const;

    LONG position() const;
    void setPosition(LONG position);
    // Advances the position by one and answers it.
    LONG advance();

    bool cancelled() const;
    void setCancel(bool cancel);
    // Cancel and move to the last word, so the queue thread reaches the end.
    void cancelToLast();

    // The file or playlist being played; empty while waiting for the usage dialog.
    void setCurrentFile(const char* path);
    void currentFile(char* path) const;  // 260 bytes

    // Set once runQueue has ended: records that would extend it are refused.
    bool closed() const;
    void close();

    bool somethingPlayed = false;  // queue thread only
    char currentDirectory[MAX_PATH] = {};  // queue thread only

private:
    char** words_ = nullptr;
    LONG length_ = 0;
    LONG position_ = -1;
    bool cancel_ = false;
    bool closed_ = false;
    char currentFile_[MAX_PATH] = {};
};

extern PlayQueue playQueue;

// A new[] array of new[] copies of count words, each cut to 259 characters;
// null when an allocation fails (nothing is left allocated).
char** copyWords(const char* const* words, UINT count);
void freeWords(char** words, UINT count);

// The queue loop of the queue thread; returns when the queue is exhausted.
void runQueue();
// Plays playQueue's current file (a file or a playlist) to its end and
// answers the result of the last play request (non-zero = started). With an
// empty current file it only waits for playDoneEvent (the usage dialog).
LRESULT playCurrent();
// One name or pattern, expanded and played (primary); answers the cancel
// flag as it stood when the expansion ended.
bool expandAndPlay(const char* path);
// One option word without its "-" or "/"; 1 when the queue thread must wait
// for the usage dialog, else 0.
int parseOption(const char* word);
