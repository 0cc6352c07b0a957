#include "ControlBar.h"
#include "ControlPanel.h"
#include "MainWindow.h"
#include "MainWindowState.h"
#include "MediaDevice.h"
#include "PlayerCore.h"
#include "PlayerSettings.h"
#include "StateCursor.h"
#include "resource.h"

namespace {

// DirectMusic cannot pause.
LRESULT onPause(HWND window)
{
    if (!playback.deviceOpen || !(playback.openEngine & (OpenedByMci | OpenedByDirectShow | OpenedByVbmp3)))
        return 0;
    LockScope scope(deviceStateLock);
    MediaDevice* device = playback.currentDevice;
    BOOL playing = device->isPlaying();
    checkBarButton(playing ? IDC_PAUSE_BUTTON : IDC_PLAY_BUTTON);
    if (device->play(playing)) {
        settleDeviceStopped(!playing);
        updateStateCursor(window);
    }
    return 0;
}

LRESULT onMute()
{
    if (playback.deviceOpen && playback.canMute && playback.currentDevice->setMute(!playback.muted))
        playback.muted = !playback.muted;
    return 0;
}

// The new hidden state is kept as "HideAlways", so the next file keeps it.
LRESULT onShow(HWND window)
{
    BOOL hide = IsWindowVisible(window);
    playerSettings.hideAlways = hide != FALSE;
    ShowWindow(window, hide ? SW_HIDE : SW_SHOW);
    if (playback.deviceOpen && !IsRectEmpty(&playback.videoRect))
        playback.currentDevice->showVideo(!hide);
    return 0;
}

// The check mark follows the setting, and the queue loop follows the check
// mark: the live Repeat bit changes with it.
LRESULT onRepeat()
{
    LockScope scope(cancelLock);
    playerSettings.repeat = !playerSettings.repeat;
    if (playerSettings.repeat)
        playOptions.flags |= FlagRepeat;
    else
        playOptions.flags &= ~FlagRepeat;
    return 0;
}

LRESULT onProperties(HWND window)
{
    if (!controlPanelDialog())
        return 0;
    playback.panelShown = !playback.panelShown;
    showPanelOrVideo();
    return 0;
}

LRESULT onExit(HWND window)
{
    cancelToEnd();
    return stopPlayback(window, 0);
}

} // namespace

LRESULT onMainCommand(HWND window, WORD command, LPARAM lParam)
{
    switch (command) {
    case CommandPlay:
        return openAndPlay(window, reinterpret_cast<const char*>(lParam));
    case CommandStop:
        return stopPlayback(window, lParam);
    case IDM_PAUSE:
        return onPause(window);
    case IDM_NEXT:
        return stopPlayback(window, 0);
    case IDM_MUTE:
        return onMute();
    case IDM_SHOW:
        return onShow(window);
    case IDM_VIDEO_SIZE:
        fitToVideo(window);
        return 0;
    case IDM_REPEAT:
        return onRepeat();
    case IDM_CLIPBOARD_PLAY:
        return playClipboardFiles(window, FALSE);
    case IDM_CLIPBOARD_ADD:
        return playClipboardFiles(window, TRUE);
    case IDM_PROPERTIES:
        return onProperties(window);
    case IDM_EXIT:
        return onExit(window);
    default:
        return 0;
    }
}
