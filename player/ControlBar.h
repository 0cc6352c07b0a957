#pragma once
#include <windows.h>

// The control bar (dialog 518) along the bottom of the main window: play,
// pause and stop buttons drawn as icons and behaving as a radio group, and
// the seek bar.

// Null when the dialog or one of its icons cannot be created.
HWND createControlBar(HWND mainWindow);
int controlBarHeight();
// Checks the play button and enables play, stop and, when canPause, pause.
void showBarPlaying(BOOL canPause);
// Checks the stop button and disables all three.
void showBarStopped();
// Checks one of the three buttons (IDC_PLAY_BUTTON .. IDC_STOP_BUTTON).
void checkBarButton(int buttonId);
// The seek bar's range for a length in seconds, in steps of whole minutes,
// seconds or (automatically) as many seconds as keep the tick marks apart,
// as "TrackbarTicks" says; -1 disables it.
void setSeekRange(LONG seconds);
LONG seekSecondsPerStep();
void showSeekPosition(LONG seconds);
