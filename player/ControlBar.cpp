#include "ControlBar.h"

#include <commctrl.h>

#include "MainWindow.h"
#include "MainWindowState.h"
#include "MediaDevice.h"
#include "PlayerCore.h"
#include "PlayerSettings.h"
#include "resource.h"

namespace {

struct ControlBarState {
    HWND dialog = nullptr;
    LONG secondsPerStep = 1;
};

ControlBarState bar;

HWND seekBar()
{
    return GetDlgItem(bar.dialog, IDC_SEEK_BAR);
}

BOOL setButtonIcon(HWND dialog, int buttonId, int iconId)
{
    HANDLE icon = LoadImageA(instanceHandle, MAKEINTRESOURCEA(iconId), IMAGE_ICON, 16, 16, LR_SHARED);
    if (!icon)
        return FALSE;
    SendDlgItemMessageA(dialog, buttonId, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
    return TRUE;
}

BOOL devicePlays()
{
    return playback.deviceOpen && playback.currentDevice->isPlaying();
}

void onButton(HWND dialog, int buttonId)
{
    HWND main = GetParent(dialog);
    BOOL playing = devicePlays();
    if ((buttonId == IDC_PLAY_BUTTON && !playing) || (buttonId == IDC_PAUSE_BUTTON && playing))
        PostMessageA(main, WM_COMMAND, IDM_PAUSE, 0);
    else if (buttonId == IDC_STOP_BUTTON)
        SendMessageA(main, WM_COMMAND, CommandStop, 0);
    SetFocus(main);
}

// While the seek bar is dragged the tick thread leaves the device alone;
// afterwards it follows it again unless the device is paused (MCI plays on
// from where it was sought, paused or not).
void onSeek(WORD code)
{
    LockScope scope(deviceStateLock);
    if (!playback.deviceOpen)
        return;
    if (code == TB_ENDTRACK) {
        BOOL playing = playback.currentDevice->isPlaying();
        settleDeviceStopped(playing);
        checkBarButton(playing ? IDC_PLAY_BUTTON : IDC_PAUSE_BUTTON);
        return;
    }
    playback.deviceStopped = TRUE;
    LONG step = static_cast<LONG>(SendMessageA(seekBar(), TBM_GETPOS, 0, 0));
    playback.currentDevice->seek(static_cast<UINT>(step * bar.secondsPerStep));
}

void setSeekMaximum(HWND seek, LONG steps)
{
    SendMessageA(seek, TBM_SETRANGEMAX, FALSE, steps);
}

// Tick marks closer than this many pixels run together.
const LONG crowdedTicks = 2;

BOOL ticksCrowded(HWND seek)
{
    LONG first = static_cast<LONG>(SendMessageA(seek, TBM_GETTICPOS, 0, 0));
    LONG second = static_cast<LONG>(SendMessageA(seek, TBM_GETTICPOS, 1, 0));
    return first >= 0 && second >= 0 && second - first <= crowdedTicks;
}

// Minutes or seconds per step as the settings say; automatically, steps
// that a trackbar counts (older ones in 16 bits) and whose tick marks stay
// apart, doubling the seconds per step until they do.
void scaleSeekBar(HWND seek, LONG seconds)
{
    if (playerSettings.trackbarTicks == TicksMinutes) {
        bar.secondsPerStep = 60;
        setSeekMaximum(seek, seconds / 60);
        return;
    }
    bar.secondsPerStep = 1;
    if (playerSettings.trackbarTicks == TicksSeconds) {
        setSeekMaximum(seek, seconds);
        return;
    }
    while (seconds > 65535) {
        bar.secondsPerStep *= 2;
        seconds /= 2;
    }
    setSeekMaximum(seek, seconds);
    while (seconds > 2 && ticksCrowded(seek)) {
        bar.secondsPerStep *= 2;
        seconds /= 2;
        setSeekMaximum(seek, seconds);
    }
}

// The seek bar stretches to the bar's right edge, and hides when it has no room.
void onSize(HWND dialog, int width)
{
    HWND seek = GetDlgItem(dialog, IDC_SEEK_BAR);
    RECT rect;
    GetWindowRect(seek, &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    int seekWidth = width - rect.left - 2;
    if (seekWidth <= 0) {
        ShowWindow(seek, SW_HIDE);
        return;
    }
    SetWindowPos(seek, nullptr, 0, 0, seekWidth, rect.bottom - rect.top, SWP_NOMOVE | SWP_NOZORDER);
    ShowWindow(seek, SW_SHOW);
}

INT_PTR CALLBACK controlBarProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return FALSE;
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED)
            onButton(dialog, LOWORD(wParam));
        return TRUE;
    case WM_HSCROLL:
        if (reinterpret_cast<HWND>(lParam) == GetDlgItem(dialog, IDC_SEEK_BAR))
            onSeek(LOWORD(wParam));
        return TRUE;
    case WM_SIZE:
        onSize(dialog, LOWORD(lParam));
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace

HWND createControlBar(HWND mainWindow)
{
    HWND dialog = CreateDialogParamA(instanceHandle, MAKEINTRESOURCEA(IDD_CONTROL_BAR), mainWindow,
                                     controlBarProc, 0);
    if (!dialog)
        return nullptr;
    if (!setButtonIcon(dialog, IDC_PLAY_BUTTON, IDI_PLAY) ||
        !setButtonIcon(dialog, IDC_PAUSE_BUTTON, IDI_PAUSE) ||
        !setButtonIcon(dialog, IDC_STOP_BUTTON, IDI_STOP)) {
        DestroyWindow(dialog);
        return nullptr;
    }
    bar = ControlBarState();
    bar.dialog = dialog;
    ShowWindow(dialog, SW_SHOW);
    return dialog;
}

HWND controlBarDialog()
{
    return IsWindow(bar.dialog) ? bar.dialog : nullptr;
}

int controlBarHeight()
{
    RECT rect = {};
    if (controlBarDialog())
        GetWindowRect(bar.dialog, &rect);
    return rect.bottom - rect.top;
}

void checkBarButton(int buttonId)
{
    if (controlBarDialog())
        CheckRadioButton(bar.dialog, IDC_PLAY_BUTTON, IDC_STOP_BUTTON, buttonId);
}

void showBarPlaying(BOOL canPause)
{
    checkBarButton(IDC_PLAY_BUTTON);
    EnableWindow(GetDlgItem(bar.dialog, IDC_PLAY_BUTTON), TRUE);
    EnableWindow(GetDlgItem(bar.dialog, IDC_PAUSE_BUTTON), canPause);
    EnableWindow(GetDlgItem(bar.dialog, IDC_STOP_BUTTON), TRUE);
}

void showBarStopped()
{
    checkBarButton(IDC_STOP_BUTTON);
    for (int id = IDC_PLAY_BUTTON; id <= IDC_STOP_BUTTON; ++id)
        EnableWindow(GetDlgItem(bar.dialog, id), FALSE);
}

void setSeekRange(LONG seconds)
{
    HWND seek = seekBar();
    if (!seek)
        return;
    // WM_SETREDRAW turning drawing back on sets WS_VISIBLE too, so a seek
    // bar hidden for want of room is changed without it.
    BOOL shown = (GetWindowLongA(seek, GWL_STYLE) & WS_VISIBLE) != 0;
    if (shown)
        SendMessageA(seek, WM_SETREDRAW, FALSE, 0);
    if (seconds < 0) {
        EnableWindow(seek, FALSE);
    } else {
        // A paused device gives no new position, so the thumb keeps its time
        // across a change of the steps.
        LONG at = static_cast<LONG>(SendMessageA(seek, TBM_GETPOS, 0, 0)) * bar.secondsPerStep;
        EnableWindow(seek, TRUE);
        SendMessageA(seek, TBM_SETTICFREQ, 1, 0);
        SendMessageA(seek, TBM_SETRANGEMIN, FALSE, 0);
        scaleSeekBar(seek, seconds);
        SendMessageA(seek, TBM_SETPOS, FALSE, at / bar.secondsPerStep);
    }
    if (shown) {
        SendMessageA(seek, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(seek, nullptr, TRUE);
    }
}

LONG seekSecondsPerStep()
{
    return bar.secondsPerStep;
}

void showSeekPosition(LONG seconds)
{
    if (seekBar())
        SendMessageA(seekBar(), TBM_SETPOS, TRUE, seconds / bar.secondsPerStep);
}
