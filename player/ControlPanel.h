#pragma once
#include <windows.h>

// The control panel (dialog 515): the track fields, the volume trackbars and
// the DirectShow filter list; it takes the video window's place for media
// without video.

HWND createControlPanel(HWND mainWindow);
// Shows the file's name and empties the track fields.
void showPanelFile(const char* path);
void clearPanelFilterList();
