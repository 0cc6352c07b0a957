#include <windows.h>
#include <shlwapi.h>

#include "ControlBar.h"
#include "ControlPanel.h"
#include "EngineSelection.h"
#include "MainWindowState.h"
#include "MediaContext.h"
#include "MediaDevice.h"
#include "PlayerCore.h"
#include "PlayerSettings.h"
#include "StateCursor.h"
#include "TickThread.h"
#include "TrayIcon.h"
#include "resource.h"

namespace {

// Chooses the engine for the file and opens it there; after DirectShow the
// panel lists the graph's filters.
BOOL openOnEngine(const char* fileName)
{
    clearPanelFilterList();
    playback.openEngine = 0;
    EngineSelection selection;
    BOOL opened = openOnSelectedEngine(*mediaContext, fileName, selection);
    playback.currentDevice = selection.currentDevice;
    if (!opened)
        return FALSE;
    if (selection.mciOpened)
        playback.openEngine |= OpenedByMci;
    if (selection.directShowOpened)
        playback.openEngine |= OpenedByDirectShow;
    if (selection.directMusicOpened)
        playback.openEngine |= OpenedByDirectMusic;
    if (selection.vbmp3Opened)
        playback.openEngine |= OpenedByVbmp3;
    if (playback.openEngine & OpenedByDirectShow)
        showPanelFilters(mediaContext->directShowDevice(), fileName);
    playback.deviceOpen = TRUE;
    return TRUE;
}

// The track name when asked for and known, else the file's name.
void showTitle(HWND window, const char* fileName)
{
    const char* title = trackInfo.field(TrackInfo::Name);
    if (!playerSettings.showTrackName || !title || !*title)
        title = PathFindFileNameA(fileName);
    SetWindowTextA(window, title);
    setTrayTip(title);
}

BOOL readVideoRect()
{
    MediaDevice* device = playback.currentDevice;
    LONG width = 0;
    LONG height = 0;
    SetRectEmpty(&playback.videoRect);
    if (device->hasVideo() && device->getVideoSize(&width, &height) && width > 0 && height > 0)
        SetRect(&playback.videoRect, 0, 0, width, height);
    return !IsRectEmpty(&playback.videoRect);
}

// MCI draws into the video window; the other engines draw into the main window.
BOOL attachVideo(HWND window)
{
    HWND owner = (playback.openEngine & OpenedByMci) ? mainParts.videoWindow : window;
    return playback.currentDevice->attachVideoWindow(owner, window, WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                                                     0);
}

// The picture is attached only once the window has its place and size, and
// shown only once attached: a picture shown before that appears in the
// engine's own window.
BOOL placeWindow(HWND window, BOOL hasVideo)
{
    if (hasVideo && playerSettings.adjustSizeWhenDeviceHasVideo)
        fitToVideo(window);
    else
        layoutChildren(window);
    applyTopMost(window);
    // SW_SHOWNA shows a hidden window and leaves a minimised or maximised one
    // as it is, without taking the focus from the user's window.
    BOOL hidden = playerSettings.hideAlways || (!hasVideo && playerSettings.hideWhenDeviceHasNoVideo);
    ShowWindow(window, hidden ? SW_HIDE : SW_SHOWNA);
    if (hasVideo && !attachVideo(window))
        return FALSE;
    tellDeviceVideoRect();
    playback.panelShown = !hasVideo;
    return showPanelOrVideo();
}

void applyRate()
{
    MediaDevice* device = playback.currentDevice;
    if (playback.openEngine & OpenedByDirectShow)
        device->setRate(playOptions.rate);
    else if (playback.openEngine & OpenedByVbmp3)
        device->setRatePercent(static_cast<UINT>(playOptions.ratePercent));
}

// A graph with a "Windows Media" filter plays at normal priority whatever
// the options say.
void applyPriority()
{
    DWORD priority = NORMAL_PRIORITY_CLASS;
    if (playOptions.flags & FlagHighClass)
        priority = HIGH_PRIORITY_CLASS;
    else if (playOptions.flags & FlagRealtimeClass)
        priority = REALTIME_PRIORITY_CLASS;
    if ((playback.openEngine & OpenedByDirectShow) && mediaContext->directShowDevice().isWindowsMediaGraph())
        priority = NORMAL_PRIORITY_CLASS;
    SetPriorityClass(GetCurrentProcess(), priority);
}

// The length in seconds (music time for DirectMusic), capped at the limit.
BOOL readLength()
{
    MediaDevice* device = playback.currentDevice;
    LONG length = -1;
    BOOL read = (playback.openEngine & OpenedByDirectMusic) ? device->getLengthMusicTime(&length)
                                                             : device->getLength(&length);
    if (!read)
        return FALSE;
    LONG limit = playTimeLimit();
    if (length >= 0 && limit >= 0 && limit / 1000 < length)
        length = limit / 1000;
    playback.lengthSeconds = length < 0 ? -1 : length;
    return TRUE;
}

void followPosition()
{
    setSeekRange(playback.lengthSeconds);
    showSeekPosition(0);
    settleDeviceStopped(TRUE);
    if (playback.lengthSeconds >= 0)
        startTickThread();
}

void showPlaying(HWND window)
{
    showTrayStateIcon(IDI_PLAYING);
    showBarPlaying(!(playback.openEngine & OpenedByDirectMusic));
    updateStateCursor(window);
}

} // namespace

LRESULT openAndPlay(HWND window, const char* fileName)
{
    if (!fileName)
        return 0;
    // a device still open is closed without releasing the queue thread
    if (playback.deviceOpen)
        stopPlayback(window, FlagRepeatEach);
    lstrcpynA(playback.currentFile, fileName, MAX_PATH);
    trackInfo.load(fileName, mainParts.genreTablePath, TrackInfo::allFields);
    showPanelTrack(fileName, trackInfo);
    showTitle(window, fileName);
    if (!openOnEngine(fileName))
        return 0;
    return startPlayback(window);
}

LRESULT startPlayback(HWND window)
{
    MediaDevice* device = playback.currentDevice;
    if (!placeWindow(window, readVideoRect())) {
        stopPlayback(window, 0);
        return 0;
    }
    applyRate();
    applyPriority();
    if (!device->play(FALSE)) {
        stopPlayback(window, 0);
        return 0;
    }
    playback.muted = FALSE;
    playback.canMute = !(playback.openEngine & OpenedByDirectMusic) && device->canMute();
    if (!readLength()) {
        stopPlayback(window, 0);
        return 0;
    }
    followPosition();
    showPlaying(window);
    return 1;
}

void settleDeviceStopped(BOOL playing)
{
    LockScope scope(deviceStateLock);
    playback.deviceStopped = !playing || playback.lengthSeconds < 0;
}

LRESULT stopPlayback(HWND window, LPARAM repeatEach)
{
    {
        LockScope scope(deviceStateLock);
        playback.deviceStopped = TRUE;
    }
    if (playback.deviceOpen && playback.currentDevice->close()) {
        playback.deviceOpen = FALSE;
        // the size of a closed video must not be restored later
        SetRectEmpty(&playback.videoRect);
        showTrayStateIcon(IDI_STOPPED);
        // a file that repeats keeps its tip
        if (repeatEach == 0)
            setTrayTip("");
        showBarStopped();
        updateStateCursor(window);
        if (repeatEach == 0)
            signalPlayDone();
    }
    return 1;
}

// With RepeatEach the same file opens again at once and the queue thread
// keeps waiting; a file that no longer opens releases it. A late report for
// a file already stopped changes nothing.
void endOfPlay(HWND window)
{
    if (!playback.deviceOpen)
        return;
    LPARAM repeatEach = playOptions.flags & FlagRepeatEach;
    stopPlayback(window, repeatEach);
    if (!repeatEach)
        return;
    if (!openOnEngine(playback.currentFile)) {
        signalPlayDone();
        return;
    }
    startPlayback(window);
}

TickSample sampleOnWindowThread()
{
    LockScope scope(deviceStateLock);
    TickSample sample = {TickEngineNone, 0};
    if (playback.deviceStopped || !playback.deviceOpen)
        return sample;
    MediaDevice* device = playback.currentDevice;
    if (playback.openEngine & OpenedByMci)
        sample.engine = TickEngineMci;
    else if (playback.openEngine & OpenedByDirectShow)
        sample.engine = TickEngineDirectShow;
    else if (playback.openEngine & OpenedByDirectMusic)
        sample.engine = TickEngineDirectMusic;
    else
        sample.engine = TickEngineOther;
    BOOL read = sample.engine == TickEngineDirectMusic ? device->getPositionMusicTime(&sample.position)
                                                        : device->getPosition(&sample.position);
    if (!read)
        sample.engine = TickEngineNone;
    return sample;
}

// MCI answers only the thread that opened the device, and the DirectShow
// graph lives in the window thread's apartment: the tick thread asks the
// window to read the position. A window that does not answer within two
// seconds (it is closing) gives no sample.
TickSample sampleTickPosition()
{
    HWND window = mainWindow;
    if (!window || GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId())
        return sampleOnWindowThread();
    TickSample sample = {TickEngineNone, 0};
    DWORD_PTR answer = 0;
    SendMessageTimeoutA(window, WM_SAMPLE_TICK, 0, reinterpret_cast<LPARAM>(&sample), SMTO_NORMAL, 2000,
                        &answer);
    return sample;
}
