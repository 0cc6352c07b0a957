#pragma once
#include <windows.h>

class TrackInfo;

// The detail dialog (516): the track information items of the file, chosen
// by name from a list, modal over owner; its caption is the file's name.
void showDetailDialog(HWND owner, const char* path, TrackInfo& info);
