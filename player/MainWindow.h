#pragma once
#include <windows.h>

// The main window ("PlayerClass") and its children, on the user-interface
// thread. The player core declares the same entry points in PlayerCore.h.

// Registers "PlayerClass" and "PlayerVideoClass" once and creates the main
// window, hidden, on the calling thread; resources come from instanceHandle.
// Sets mainWindow. Null when any creation step failed.
HWND createMainWindow();

// The modeless child dialogs that the message loop hands to IsDialogMessage;
// null while they do not exist.
HWND controlBarDialog();
HWND controlPanelDialog();

// The usage dialog shows icon 505 in the notification area while it is open;
// closing it brings back the playing or stopped icon.
void showUsageTrayIcon(BOOL shown);

// Hands the engines the settings they keep (the DirectShow-for-DVD bit, the
// MCI devices not to use) and gives the main window, when it exists, the
// topmost state of the settings. Called at creation and when a settings
// dialog closes with OK.
void applySettingsToPlayer();
