#pragma once
#include <windows.h>

// The child window ("PlayerVideoClass") that MCI draws its video into. A left
// button release toggles pause, a double click stops.

BOOL registerVideoWindowClass();
// At (0, 0) of parent, width by height, visible, with a client edge.
HWND createVideoWindow(HWND parent, int width, int height);
