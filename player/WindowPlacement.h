#pragma once
#include <windows.h>

// Where the main window goes on the screen, worked out without touching a
// window: from the flag word's position bits, the "RepositionWithinScreen"
// setting, the work area and the window's outer rectangle (its new size
// already applied). True and *place set when the window must move; false
// when it stays where it is.
//
// A position flag fixes the window: centred on the work area, or on each
// axis at its start, middle or end (an axis without a flag keeps its
// coordinate). Without one, and with repositioning on, a window reaching past
// the work area's right or bottom edge goes to the lower right corner, never
// past its top left. Halves round toward minus infinity, so a window larger
// than the work area sits the same way on every pass.
BOOL placeOnWorkArea(DWORD flags, BOOL repositionWithinScreen, const RECT& workArea, const RECT& window,
                     POINT* place);
