#pragma once
#include <windows.h>

// The main window's notification-area icon (identifier 0). Every function
// answers what Shell_NotifyIconA answered.

// Adds the icon with only the callback message: no picture and no tip yet.
BOOL addTrayIcon(HWND window, UINT callbackMessage);
// Shows icon 503 (playing) or 504 (stopped); while the usage dialog is open
// the choice is kept and shown when it closes.
BOOL showTrayStateIcon(UINT iconId);
// Copies text into a 64-byte tip: at most 63 bytes, never half of a
// double-byte character of the system code page.
void cutTrayTip(char* tip, const char* text);
BOOL setTrayTip(const char* text);
BOOL deleteTrayIcon();
// Adds the icon again as it was, after the notification area was recreated
// ("TaskbarCreated", a restarted shell).
BOOL restoreTrayIcon();
