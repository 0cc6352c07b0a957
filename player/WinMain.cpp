#include <stdlib.h>

#include <new>

#include "ControlWindow.h"
#include "Forwarding.h"
#include "MediaContext.h"
#include "Ole.h"
#include "PlayQueue.h"
#include "PlayerCore.h"
#include "PlayerName.h"
#include "PlayerSettings.h"
#include "RunningPlayer.h"
#include "WideCommandLine.h"

namespace {

const DWORD UserInterfaceEndWait = 5000;

// Becoming the primary is exclusive: a start holds this mutex from before
// its presence probe until its control window exists, so of many starts at
// the same instant exactly one finds no player and the others forward to it.
class StartLock {
public:
    StartLock() : mutex_(CreateMutexA(nullptr, FALSE, "PlayerStartMutex"))
    {
        // A start that hangs while holding it must not hang every later one.
        DWORD r = mutex_ ? WaitForSingleObject(mutex_, RunningPlayerAnswerWait) : WAIT_FAILED;
        held_ = r == WAIT_OBJECT_0 || r == WAIT_ABANDONED;
    }
    ~StartLock()
    {
        release();
        if (mutex_)
            CloseHandle(mutex_);
    }
    StartLock(const StartLock&) = delete;
    StartLock& operator=(const StartLock&) = delete;

    bool held() const { return held_; }
    void release()
    {
        if (held_)
            ReleaseMutex(mutex_);
        held_ = false;
    }

private:
    HANDLE mutex_;
    bool held_;
};

// The primary's start: the media context, then the user-interface thread,
// which signals playDoneEvent once both windows exist (or failed).
HANDLE startPrimary()
{
    mediaContext = new (std::nothrow) MediaContext;
    if (!mediaContext)
        return nullptr;
    HANDLE thread = startUserInterfaceThread();
    if (!thread)
        return nullptr;
    WaitForSingleObject(playDoneEvent, INFINITE);
    ResetEvent(playDoneEvent);
    return thread;
}

void run(int argc, char** argv, HANDLE* userInterface, StartLock& start)
{
    if (!isPrimary)
        start.release();
    char module[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, module, MAX_PATH);
    int skipped = programNameWords(GetCommandLineA(), length < MAX_PATH ? module : "");
    if (skipped > argc)
        skipped = argc;
    if (!playQueue.assign(argv + skipped, argc - skipped))
        return;
    // A secondary needs them too: they give the defaults of the words it forwards.
    loadGeneralSettings();
    if (isPrimary) {
        *userInterface = startPrimary();
        start.release();
        if (!*userInterface || !controlWindow || !mainWindow)
            return;
    }
    runQueue();
}

// The windows go first: their stop may still signal playDoneEvent and touch
// the queue, so both are released only after the send has returned. A
// user-interface thread that has not ended may still use the queue, the
// context and the locks: the process then ends at once, freeing nothing
// and running no destructor under it.
void exitSteps(HANDLE userInterface)
{
    if (controlWindow)
        SendMessageA(controlWindow, WM_COMMAND, CommandShutDown, 0);
    if (userInterface) {
        DWORD ended = WaitForSingleObject(userInterface, UserInterfaceEndWait);
        CloseHandle(userInterface);
        if (ended != WAIT_OBJECT_0)
            ExitProcess(0);
    }
    playQueue.clear();
    if (playDoneEvent)
        CloseHandle(playDoneEvent);
    playDoneEvent = nullptr;
    delete mediaContext;
    mediaContext = nullptr;
    ole32::OleUninitialize();
}

} // namespace

// Answers 0, or 1 when a running player did not answer in time: this start
// then did nothing, and deleted nothing.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    instanceHandle = instance;
    StartLock start;
    char current[MAX_PATH];
    BOOL hung = FALSE;
    if (start.held())
        isPrimary = !queryRunningPlayerFile(current, &hung);
    if (!start.held() || hung)
        return 1;
    playDoneEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE userInterface = nullptr;
    WideCommandLine words(__argc, __argv);
    if (playDoneEvent)
        run(__argc, words.words(), &userInterface, start);
    start.release();
    exitSteps(userInterface);
    return forwardingFailed() ? 1 : 0;
}
