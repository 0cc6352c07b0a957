#pragma once
#include <windows.h>

// The main window's notification-area icon (identifier 0). Every function
// answers what Shell_NotifyIconA answered.

// Adds the icon with only the callback message: no picture and no tip yet.
BOOL addTrayIcon(HWND window, UINT callbackMessage);
// Shows icon 503 (playing) or 504 (stopped); while the usage dialog is open
// the choice is kept and shown when it closes.
BOOL showTrayStateIcon(UINT iconId);
// At most 63 characters are shown.
BOOL setTrayTip(const char* text);
BOOL deleteTrayIcon();
