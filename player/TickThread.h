#pragma once
#include <windows.h>

#include "StallTest.h"

// The tick thread polls the open device once a second for the seek bar and
// takes a position that stops moving for two ticks as the end of the medium.

// Provided by the main window: under deviceStateLock, TickEngineNone when
// deviceStopped is set or no device is open, else the open engine and its
// current position. Called on the tick thread; the device itself is read on
// the user-interface thread, since Wine's MCI answers a device only on the
// thread that opened it.
TickSample sampleTickPosition();

// The main window's WM_CREATE: creates the auto-reset event
// "Player%08XTickEventName" named for the calling thread. False on failure.
BOOL createTickEvent();
// Every start of a device with a known length (a RepeatEach restart too):
// starts the thread when it does not run yet, and tells it that a new medium
// plays. The thread sends MM_MCISIGNAL (refresh), MM_MCINOTIFY with
// MCI_NOTIFY_SUCCESSFUL (MCI end) or "PlayerDirectShowMessage" (DirectShow
// end) to mainWindow.
BOOL startTickThread();
// The main window's WM_DESTROY: sets the event, waits for the thread up to
// 5000 ms (answering its sample requests meanwhile) and closes both handles.
void stopTickThread();
