#include "StateCursor.h"

#include "MainWindowState.h"
#include "MediaDevice.h"
#include "PlayerCore.h"
#include "PlayerSettings.h"
#include "resource.h"

namespace {

struct StateCursors {
    HCURSOR arrow = nullptr;
    HCURSOR playing = nullptr;
    HCURSOR notPlaying = nullptr;
};

StateCursors cursors;

BOOL devicePlays()
{
    return playback.deviceOpen && playback.currentDevice && playback.currentDevice->isPlaying();
}

} // namespace

BOOL loadStateCursors()
{
    cursors.arrow = LoadCursorA(nullptr, IDC_ARROW);
    cursors.playing = LoadCursorA(instanceHandle, MAKEINTRESOURCEA(IDC_PLAYING));
    cursors.notPlaying = LoadCursorA(instanceHandle, MAKEINTRESOURCEA(IDC_NOT_PLAYING));
    return cursors.arrow && cursors.playing && cursors.notPlaying;
}

HCURSOR stateCursor()
{
    if (!playerSettings.useStateCursor)
        return cursors.arrow;
    return devicePlays() ? cursors.playing : cursors.notPlaying;
}

void updateStateCursor(HWND window)
{
    POINT point;
    if (!GetCursorPos(&point))
        return;
    HWND under = WindowFromPoint(point);
    if (under != window && !IsChild(window, under))
        return;
    if (under == window && SendMessageA(window, WM_NCHITTEST, 0, MAKELPARAM(point.x, point.y)) != HTCLIENT)
        return;
    SetCursor(stateCursor());
}
