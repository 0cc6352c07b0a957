#pragma once
#include <windows.h>

// Real video frames for the picture builder. Both operations are serialised
// by one process-wide lock.

// Writes half a second of any playable medium, starting at `seconds`, as a
// small compressed AVI file at clipPath; true when the clip was written.
bool ConvertToClip(const char* sourcePath, const char* clipPath, unsigned seconds);

// The video frame of an AVI file at `seconds` as a bitmap header with its
// colour table (*info) and its pixel rows (*bits), two blocks the caller
// frees; on false both are null. The blocks are fixed global memory: each
// handle is also the block's address, and GlobalLock, LocalLock, GlobalFree
// and LocalFree all take it, as viewers of either habit use it.
bool CaptureFrame(const char* aviPath, unsigned seconds, HGLOBAL* info, HGLOBAL* bits);
