#include "WindowPlacement.h"

#include "PlayOptions.h"

namespace {

LONG halfDown(LONG value)
{
    return value >= 0 ? value / 2 : -((1 - value) / 2);
}

// The start of one axis for its start, middle and end flags; keep when none is set.
LONG fixedStart(DWORD flags, DWORD startFlag, DWORD middleFlag, DWORD endFlag, LONG areaStart, LONG room,
                LONG keep)
{
    if (flags & startFlag)
        return areaStart;
    if (flags & middleFlag)
        return areaStart + halfDown(room);
    if (flags & endFlag)
        return areaStart + room;
    return keep;
}

} // namespace

BOOL placeOnWorkArea(DWORD flags, BOOL repositionWithinScreen, const RECT& workArea, const RECT& window,
                     POINT* place)
{
    LONG freeWidth = (workArea.right - workArea.left) - (window.right - window.left);
    LONG freeHeight = (workArea.bottom - workArea.top) - (window.bottom - window.top);
    POINT to = {window.left, window.top};
    if (flags & FlagCentreOnScreen) {
        to = {workArea.left + halfDown(freeWidth), workArea.top + halfDown(freeHeight)};
    } else if (flags & FlagPositionMask) {
        to.x = fixedStart(flags, FlagLeftOnScreen, FlagHorizontalCentre, FlagRightOnScreen, workArea.left,
                          freeWidth, window.left);
        to.y = fixedStart(flags, FlagTopOnScreen, FlagVerticalCentre, FlagBottomOnScreen, workArea.top,
                          freeHeight, window.top);
    } else if (repositionWithinScreen && (window.right > workArea.right || window.bottom > workArea.bottom)) {
        to.x = workArea.left + (freeWidth > 0 ? freeWidth : 0);
        to.y = workArea.top + (freeHeight > 0 ? freeHeight : 0);
    }
    if (to.x == window.left && to.y == window.top)
        return FALSE;
    *place = to;
    return TRUE;
}
