#include "PlayOptions.h"
#include "PlayQueue.h"
#include "PlayerCore.h"

HINSTANCE instanceHandle;
bool isPrimary;
HANDLE playDoneEvent;
HWND controlWindow;
HWND mainWindow;
MediaContext* mediaContext;
LONG forwardGate;
LONG dropBusy;

CountedLock dropLock;
CountedLock positionLock;
CountedLock queueLock;
CountedLock cancelLock;

void signalPlayDone()
{
    if (playDoneEvent)
        SetEvent(playDoneEvent);
}

void cancelToEnd()
{
    LockScope holdQueue(queueLock);  // the order of cancelToLast
    LockScope hold(cancelLock);
    playQueue.cancelToLast();
    playOptions.flags &= ~FlagRepeat;
}

LONG playTimeLimit()
{
    LockScope hold(queueLock);
    return playOptions.milliseconds;
}
