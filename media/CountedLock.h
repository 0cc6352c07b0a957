#pragma once
#include <windows.h>

// A re-entrant critical section with a depth counter beside it. Every object
// that two threads touch holds one for the whole of each operation.
class CountedLock {
public:
    CountedLock() { InitializeCriticalSection(&section_); }
    ~CountedLock() { DeleteCriticalSection(&section_); }
    CountedLock(const CountedLock&) = delete;
    CountedLock& operator=(const CountedLock&) = delete;

    // Both answer the new depth.
    LONG enter()
    {
        EnterCriticalSection(&section_);
        return ++depth_;
    }
    LONG leave()
    {
        LONG depth = --depth_;
        LeaveCriticalSection(&section_);
        return depth;
    }
    LONG depth() const { return depth_; }

private:
    CRITICAL_SECTION section_;
    LONG depth_ = 0;
};

// Holds a CountedLock for the life of a scope.
class LockScope {
public:
    explicit LockScope(CountedLock& lock) : lock_(lock) { lock_.enter(); }
    ~LockScope() { lock_.leave(); }
    LockScope(const LockScope&) = delete;
    LockScope& operator=(const LockScope&) = delete;

private:
    CountedLock& lock_;
};
