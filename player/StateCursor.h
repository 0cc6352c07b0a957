#pragma once
#include <windows.h>

// The pointer over the main window: the arrow, or with "UseStateCursor" the
// playing (506) or not-playing (507) cursor.

// False when any of the three cursors cannot be loaded.
BOOL loadStateCursors();
HCURSOR stateCursor();
// Applies stateCursor() when the pointer lies over window's client area or a
// child of it, so that a state change shows at once.
void updateStateCursor(HWND window);
