#pragma once
#include <windows.h>

#include "CountedLock.h"

class MediaDevice;

// Which engine holds the open file (bits of PlaybackState::openEngine).
// SoftMPEG plays through MCI and counts as MCI.
enum OpenEngine : DWORD {
    OpenedByMci = 0x1,
    OpenedByDirectShow = 0x2,
    OpenedByDirectMusic = 0x4,
    OpenedByVbmp3 = 0x8,
};

// The main window's playback state. Only the user-interface thread changes
// it; the tick thread reads currentDevice, openEngine and lengthSeconds, and
// deviceStopped under deviceStateLock.
struct PlaybackState {
    MediaDevice* currentDevice = nullptr;  // kept after a stop for the menu and cursor
    DWORD openEngine = 0;
    BOOL deviceStopped = TRUE;
    BOOL muted = FALSE;
    BOOL canMute = FALSE;
    LONG lengthSeconds = -1;  // capped at the play-time limit; -1 unknown
    RECT videoRect = {};      // empty for media without video
};

extern PlaybackState playback;
extern CountedLock deviceStateLock;

// Auto-reset event "Player%08XTickEventName" (the user-interface thread's
// id); the tick thread waits on it and ends when it is set.
extern HANDLE tickEvent;
// Registered "PlayerDirectShowMessage": the end of a DirectShow medium.
extern UINT directShowEndMessage;

// Registers "PlayerClass" and "PlayerVideoClass" once and creates the main
// window, hidden, on the calling (user-interface) thread. Resources come from
// instance. Null when any creation step failed.
HWND createMainWindow(HINSTANCE instance);

// The modeless child dialogs that the message loop hands to IsDialogMessage;
// null while they do not exist.
HWND controlBarDialog();
HWND controlPanelDialog();

// The usage dialog shows icon 505 in the notification area while it is open;
// closing it brings back the playing or stopped icon.
void showUsageTrayIcon(BOOL dialogShown);
