#pragma once
#include <windows.h>

// The control panel (dialog 515): the track fields, the volume trackbars and
// the DirectShow filter list; it takes the video window's place for media
// without video.

HWND createControlPanel(HWND mainWindow);
class DirectShowDevice;
class TrackInfo;

// Shows the file's name and its track, album, artist, year and genre.
void showPanelTrack(const char* path, TrackInfo& info);
// Lists the filters of the DirectShow graph that plays path; its source
// filter shows as "Media File".
void showPanelFilters(DirectShowDevice& device, const char* path);
void clearPanelFilterList();
// Binds the four volume trackbars to their mixer lines, with mainWindow
// receiving the mixer's change messages: each gets the control's range and
// value and is enabled while its line is connected.
void bindVolumeBars(HWND mainWindow);
// MM_MIXM_CONTROL_CHANGE: the trackbars of the changed control follow it.
void followMixerControl(DWORD controlId);
