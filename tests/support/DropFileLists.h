#pragma once
#include <windows.h>

#include <string>
#include <vector>

// A CF_HDROP block (DROPFILES and its double-zero-ended ANSI names) in
// movable global memory; null when it cannot be allocated.
HGLOBAL makeDropFileList(const std::vector<std::string>& names);
// The same with UTF-16 names.
HGLOBAL makeWideDropFileList(const std::vector<std::wstring>& names);
// Replaces the clipboard's contents by such a list; false on failure.
bool putFileListOnClipboard(HWND owner, const std::vector<std::string>& names);
bool putWideFileListOnClipboard(HWND owner, const std::vector<std::wstring>& names);
void emptyClipboard(HWND owner);
