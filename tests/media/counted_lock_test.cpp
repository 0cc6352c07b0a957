#include <gtest/gtest.h>

#include <process.h>

#include "CountedLock.h"
#include "DynamicLibrary.h"

TEST(CountedLock, countsItsDepthWhenEnteredAgain)
{
    CountedLock lock;
    EXPECT_EQ(0, lock.depth());
    EXPECT_EQ(1, lock.enter());
    EXPECT_EQ(2, lock.enter());
    {
        LockScope scope(lock);
        EXPECT_EQ(3, lock.depth());
    }
    EXPECT_EQ(1, lock.leave());
    EXPECT_EQ(0, lock.leave());
}

namespace {

struct Contention {
    CountedLock lock;
    long counter = 0;       // changed only under the lock, without atomics
    LONG wrongDepths = 0;   // depths other than the expected ones
};

unsigned __stdcall contend(void* argument)
{
    Contention& shared = *static_cast<Contention*>(argument);
    for (int i = 0; i < 20000; ++i) {
        LockScope outer(shared.lock);
        if (shared.lock.depth() != 1)
            InterlockedIncrement(&shared.wrongDepths);
        // Re-entered by the same thread while others wait.
        if (shared.lock.enter() != 2)
            InterlockedIncrement(&shared.wrongDepths);
        long seen = shared.counter;
        if ((i & 1023) == 0)
            Sleep(0);
        shared.counter = seen + 1;
        shared.lock.leave();
    }
    return 0;
}

} // namespace

TEST(CountedLock, excludesOtherThreadsWhileHeld)
{
    Contention shared;
    HANDLE threads[4];
    for (HANDLE& thread : threads) {
        thread = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, contend, &shared, 0, nullptr));
        ASSERT_NE(nullptr, thread);
    }
    EXPECT_EQ(WAIT_OBJECT_0, WaitForMultipleObjects(4, threads, TRUE, 120000));
    for (HANDLE thread : threads)
        CloseHandle(thread);
    EXPECT_EQ(4 * 20000, shared.counter);
    EXPECT_EQ(0, shared.wrongDepths);
    EXPECT_EQ(0, shared.lock.depth());
}

TEST(DynamicLibrary, loadsOnFirstUseAndFreesOnce)
{
    DynamicLibrary library("OLEPRO32.DLL");
    EXPECT_EQ(nullptr, library.handle());
    EXPECT_NE(nullptr, library.entry("OleCreatePropertyFrame"));
    EXPECT_NE(nullptr, library.handle());
    EXPECT_EQ(nullptr, library.entry("NoSuchEntry"));
    EXPECT_EQ(nullptr, library.entry(nullptr));
    library.free();
    EXPECT_EQ(nullptr, library.handle());
    library.free();
    EXPECT_TRUE(library.load());
}

TEST(DynamicLibrary, aMissingLibraryYieldsNothingAndIsTriedAgain)
{
    DynamicLibrary library("NOSUCHLIBRARY.DLL");
    EXPECT_FALSE(library.load());
    EXPECT_EQ(nullptr, library.entry("Anything"));
    EXPECT_EQ(nullptr, library.handle());
    library.free();
}

TEST(DynamicLibrary, resolveCachesAFoundEntry)
{
    DynamicLibrary library("KERNEL32.DLL");
    CountedLock lock;
    FARPROC cached = nullptr;
    FARPROC found = library.resolve(cached, "GetTickCount", lock);
    EXPECT_NE(nullptr, found);
    EXPECT_EQ(found, cached);
    FARPROC missing = nullptr;
    EXPECT_EQ(nullptr, library.resolve(missing, "NoSuchEntry", lock));
    EXPECT_EQ(0, lock.depth());
}
