#pragma once
#include <windows.h>
#include <shellapi.h>

#include "CountedLock.h"

class MediaContext;

// Process-wide state of the running player. Created at start, destroyed at
// exit by the entry point.
extern HINSTANCE instanceHandle;
extern bool isPrimary;
// Manual-reset: start-up handshake, then "the current entry is finished or
// is to be skipped" for the queue thread.
extern HANDLE playDoneEvent;
extern HWND controlWindow;  // "PlayerControlClass"
// "PlayerClass"; the main window sets it when it is created and clears it in
// its WM_DESTROY.
extern HWND mainWindow;
extern MediaContext* mediaContext;  // the primary's one context

// -1 while a forwarded play request may be accepted; 0 or more from the
// acceptance of one until the queue thread has started the next file.
// Changed only with interlocked operations.
extern LONG forwardGate;

// Non-zero while a drop or a paste replaces the play queue; under dropLock.
extern LONG dropBusy;

extern CountedLock dropLock;      // dropBusy
extern CountedLock positionLock;  // the queue position
extern CountedLock queueLock;     // the queue words, the current file, the play-time limit
// The cancel flag and Repeat, changed together with playDoneEvent; also
// every change of the flag word once the queue thread runs.
extern CountedLock cancelLock;

// WM_COMMAND identifiers between the queue thread, the control window and
// the main window.
enum PlayerCommand : WORD {
    CommandPlay = 101,       // lParam = 260-byte file name; answers non-zero when playing started
    CommandStop = 102,       // lParam 0 (also signals playDoneEvent) or FlagRepeatEach
    CommandShutDown = 104,   // control window: stop and close everything
    CommandShowUsage = 105,  // control window: lParam = owner window or 0
};

// Called by the main window's stop with lParam 0.
void signalPlayDone();

// The Exit command: abandons the current name, moves to the end of the
// queue and clears Repeat, all under cancelLock; the caller then stops.
void cancelToEnd();

// The play-time limit per file in milliseconds (-1 = whole file), read under
// queueLock.
LONG playTimeLimit();

// Replaces (add false) or extends (add true) the play queue with a list of
// names, on the user-interface thread. Without add the current file is
// stopped and the queue thread restarts at the first new name. False when
// the list could not be taken; the old queue then stays.
BOOL replaceQueue(const char* const* names, UINT count, BOOL add);
// The same for a dropped CF_HDROP list (the drop target's Drop).
BOOL replaceQueueFromDrop(HDROP drop, BOOL add);
// Menu commands 40008 (add false) and 40009 (add true): plays or adds the
// clipboard's CF_HDROP list. False when the clipboard holds none.
BOOL playClipboardFiles(HWND owner, BOOL add);
// Whether the clipboard offers a CF_HDROP list (for greying the menu).
BOOL clipboardHasFiles();

// Provided by the main window (MainWindow.cpp): registers its classes and
// creates "PlayerClass" on the calling (user-interface) thread; null on
// failure.
HWND createMainWindow();

// Provided by the main window: shows icon 505 on the notification icon while
// the usage dialog is open (shown true), and the playing or stopped icon again
// when it closes.
void showUsageTrayIcon(BOOL shown);
