#include "TickThread.h"

#include <mmsystem.h>
#include <stdio.h>

#include "PlayerCore.h"

namespace {

const DWORD TickMilliseconds = 1000;
const DWORD StopWait = 5000;

HANDLE tickEvent;
HANDLE tickThread;
LONG deviceStarts;

void sendEnd(HWND window, TickEngine engine)
{
    if (engine == TickEngineMci)
        SendMessageA(window, MM_MCINOTIFY, MCI_NOTIFY_SUCCESSFUL, 0);
    else
        SendMessageA(window, RegisterWindowMessageA("PlayerDirectShowMessage"), 0, 0);
}

DWORD WINAPI tickMain(void*)
{
    StallTest stall;
    LONG startsSeen = 0;
    while (WaitForSingleObject(tickEvent, TickMilliseconds) == WAIT_TIMEOUT) {
        HWND window = mainWindow;
        if (!window || !IsWindow(window))
            break;
        // A new medium may stand where the last one ended, even at the same
        // second, without a tick having seen the device stopped between.
        LONG starts = InterlockedCompareExchange(&deviceStarts, 0, 0);
        if (starts != startsSeen) {
            stall = StallTest();
            startsSeen = starts;
        }
        TickSample sample = sampleTickPosition();
        switch (stall.tick(sample)) {
        case StallTest::Refresh:
            SendMessageA(window, MM_MCISIGNAL, 0, 0);
            break;
        case StallTest::EndOfMedium:
            sendEnd(window, sample.engine);
            break;
        case StallTest::Nothing:
            break;
        }
    }
    return 0;
}

// The tick thread may be sending to this thread's windows just now: sent
// messages are answered while waiting, so that it soon sees the event.
void waitForTickThread()
{
    DWORD begin = GetTickCount();
    for (;;) {
        DWORD spent = GetTickCount() - begin;
        if (spent >= StopWait)
            return;
        DWORD r = MsgWaitForMultipleObjects(1, &tickThread, FALSE, StopWait - spent, QS_SENDMESSAGE);
        if (r != WAIT_OBJECT_0 + 1)
            return;
        MSG msg;
        PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

} // namespace

BOOL createTickEvent()
{
    char name[64];
    sprintf(name, "Player%08XTickEventName", (unsigned)GetCurrentThreadId());
    tickEvent = CreateEventA(nullptr, FALSE, FALSE, name);
    return tickEvent != nullptr;
}

BOOL startTickThread()
{
    InterlockedIncrement(&deviceStarts);
    if (tickThread)
        return TRUE;
    if (!tickEvent)
        return FALSE;
    DWORD id;
    tickThread = CreateThread(nullptr, 0, tickMain, nullptr, 0, &id);
    return tickThread != nullptr;
}

void stopTickThread()
{
    if (tickEvent)
        SetEvent(tickEvent);
    if (tickThread) {
        waitForTickThread();
        CloseHandle(tickThread);
    }
    if (tickEvent)
        CloseHandle(tickEvent);
    tickThread = tickEvent = nullptr;
}
