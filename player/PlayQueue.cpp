#include "PlayQueue.h"

#include <new>
#include <string.h>

#include "PlayerCore.h"

PlayQueue playQueue;

char** copyWords(const char* const* words, UINT count)
{
    char** copy = new (std::nothrow) char*[count ? count : 1]();
    if (!copy)
        return nullptr;
    for (UINT i = 0; i < count; ++i) {
        int n = lstrlenA(words[i]);
        n = (n < MAX_PATH - 1 ? n : MAX_PATH - 1) + 1;
        copy[i] = new (std::nothrow) char[n];
        if (!copy[i]) {
            freeWords(copy, i);
            return nullptr;
        }
        lstrcpynA(copy[i], words[i], n);
    }
    return copy;
}

void freeWords(char** words, UINT count)
{
    if (!words)
        return;
    for (UINT i = 0; i < count; ++i)
        delete[] words[i];
    delete[] words;
}

BOOL PlayQueue::assign(const char* const* words, UINT count)
{
    char** copy = copyWords(words, count);
    if (!copy)
        return FALSE;
    install(copy, count, FALSE);  // never fails without keepOld
    return TRUE;
}

void PlayQueue::clear()
{
    LockScope hold(queueLock);
    freeWords(words_, length_);
    words_ = nullptr;
    length_ = 0;
}

BOOL PlayQueue::install(char** words, UINT count, BOOL keepOld)
{
    LockScope hold(queueLock);
    if (keepOld && length_ > 0) {
        char** joined = new (std::nothrow) char*[length_ + count];
        if (!joined)
            return FALSE;
        memcpy(joined, words_, length_ * sizeof(char*));
        memcpy(joined + length_, words, count * sizeof(char*));
        delete[] words_;
        delete[] words;
        words_ = joined;
        length_ += count;
        return TRUE;
    }
    freeWords(words_, length_);
    words_ = words;
    length_ = count;
    return TRUE;
}

BOOL PlayQueue::wordAt(LONG index, char* word) const
{
    LockScope hold(queueLock);
    if (index < 0 || index >= length_)
        return FALSE;
    lstrcpynA(word, words_[index], MAX_PATH);
    return TRUE;
}

LONG PlayQueue::length() const
{
    LockScope hold(queueLock);
    return length_;
}

LONG PlayQueue::position() const
{
    LockScope hold(positionLock);
    return position_;
}

void PlayQueue::setPosition(LONG position)
{
    LockScope hold(positionLock);
    position_ = position;
}

LONG PlayQueue::advance()
{
    LockScope hold(positionLock);
    return ++position_;
}

bool PlayQueue::cancelled() const
{
    LockScope hold(cancelLock);
    return cancel_;
}

void PlayQueue::setCancel(bool cancel)
{
    LockScope hold(cancelLock);
    cancel_ = cancel;
}

void PlayQueue::cancelToLast()
{
    LockScope holdQueue(queueLock);
    LockScope holdCancel(cancelLock);
    cancel_ = true;
    setPosition(length_ - 1);
}

void PlayQueue::setCurrentFile(const char* path)
{
    LockScope hold(queueLock);
    lstrcpynA(currentFile_, path, MAX_PATH);
}

void PlayQueue::currentFile(char* path) const
{
    LockScope hold(queueLock);
    lstrcpynA(path, currentFile_, MAX_PATH);
}

bool PlayQueue::closed() const
{
    LockScope hold(queueLock);
    return closed_;
}

void PlayQueue::close()
{
    LockScope hold(queueLock);
    closed_ = true;
}
