#pragma once
#include <windows.h>

#include "StallTest.h"

// The tick thread polls the open device once a second for the seek bar and
// takes a position that stops moving for two ticks as the end of the medium.

// Provided by the main window: under deviceStateLock, TickEngineNone when
// deviceStopped is set or no device is open, else the open engine and its
// current position. Called on the user-interface thread: Wine's MCI answers
// a device only on the thread that opened it, so the tick thread asks the
// control window (TickSampleMessage) instead of calling the device itself.
TickSample sampleTickPosition();

// Sent by the tick thread to the control window; lParam = TickSample*.
const UINT TickSampleMessage = WM_APP + 1;
LRESULT answerTickSample(LPARAM sample);

// The main window's WM_CREATE: creates the auto-reset event
// "Player%08XTickEventName" named for the calling thread. False on failure.
BOOL createTickEvent();
// The first start of a device with a known length; does nothing while the
// thread runs. The thread sends MM_MCISIGNAL (refresh), MM_MCINOTIFY with
// MCI_NOTIFY_SUCCESSFUL (MCI end) or "PlayerDirectShowMessage" (DirectShow
// end) to mainWindow.
BOOL startTickThread();
// The main window's WM_DESTROY: sets the event, waits for the thread up to
// 5000 ms (answering its sample requests meanwhile) and closes both handles.
void stopTickThread();
