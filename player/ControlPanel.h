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
