#pragma once
#include <windows.h>

#include "CountedLock.h"
#include "TrackInfo.h"

class MediaDevice;
class DropTarget;

// Which engine holds the open file (bits of PlaybackState::openEngine).
// SoftMPEG plays through MCI and counts as MCI.
enum OpenEngine : DWORD {
    OpenedByMci = 0x1,
    OpenedByDirectShow = 0x2,
    OpenedByDirectMusic = 0x4,
    OpenedByVbmp3 = 0x8,
};

// The main window's playback state. Only the user-interface thread changes
// it; the tick thread samples it under deviceStateLock.
struct PlaybackState {
    MediaDevice* currentDevice = nullptr;  // kept after a stop for the menu and cursor
    DWORD openEngine = 0;
    BOOL deviceOpen = FALSE;
    BOOL deviceStopped = TRUE;
    BOOL muted = FALSE;
    BOOL canMute = FALSE;
    LONG lengthSeconds = -1;  // capped at the play-time limit; -1 unknown
    RECT videoRect = {};      // empty for media without video
    BOOL panelShown = FALSE;  // the control panel takes the video window's place
    char currentFile[MAX_PATH] = {};
};

extern PlaybackState playback;
// The open file's track information, read at every open.
extern TrackInfo trackInfo;
extern CountedLock deviceStateLock;

// Window-side resources created with the main window.
struct MainWindowParts {
    HWND videoWindow = nullptr;
    DropTarget* dropTarget = nullptr;
    BOOL dropRegistered = FALSE;
    UINT trayCallbackMessage = 0;    // "PlayerNotifyMessage"
    UINT directShowEndMessage = 0;   // "PlayerDirectShowMessage"
    UINT taskbarCreatedMessage = 0;  // "TaskbarCreated": the shell's tray is new
    char genreTablePath[MAX_PATH] = {};
    BOOL created = FALSE;  // every creation step succeeded
};

extern MainWindowParts mainParts;

// The tick thread's request for a position sample; lParam = TickSample*.
const UINT WM_SAMPLE_TICK = WM_APP + 1;
// The VBMP3 library reported the end of the file (posted from its thread).
const UINT WM_VBMP3_END = WM_APP + 2;

// Handlers shared by the main window's files.
LRESULT openAndPlay(HWND window, const char* fileName);
LRESULT startPlayback(HWND window);
LRESULT stopPlayback(HWND window, LPARAM repeatEach);
// Under deviceStateLock: the tick thread follows a device that plays a
// medium of known length, and leaves alone a paused one or one whose end it
// could not tell from a stall.
void settleDeviceStopped(BOOL playing);
void endOfPlay(HWND window);
struct TickSample;
TickSample sampleOnWindowThread();
LRESULT onMainCommand(HWND window, WORD command, LPARAM lParam);
// Greys, checks and renames the items of the popup menu for the current state.
void preparePopupMenu(HWND window, HMENU popup);
void showPopupMenu(HWND window);
// The hit-test answer of a sizing border, made inert by the position flags.
LRESULT restrictSizingHitTest(LRESULT hit, DWORD flags);
// Tells an open device with video the video window's client rectangle.
void tellDeviceVideoRect();
// Lays out the video window, control panel and control bar in the client area.
void layoutChildren(HWND window);
// Puts the window topmost or takes it out of the topmost band, as
// ShowOnTopMost says, without activating it.
void applyTopMost(HWND window);
// Gives the window the size that fits the video; nothing without video.
void fitToVideo(HWND window);
// Shows the control panel or the video, as panelShown says; false when the
// device failed to show its video.
BOOL showPanelOrVideo();
BOOL videoHasItsSize();
