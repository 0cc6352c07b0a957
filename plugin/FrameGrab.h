#pragma once
#include <windows.h>

// How long a grab or a clip conversion waits for its running graph before
// it stops the graph and gives up.
const DWORD GraphWaitMilliseconds = 5000;

// The video frame of any medium that DirectShow decodes, at `seconds` (a
// position past the end gives the last frame), as a 24-bit bottom-up bitmap
// at the video's size in two fixed global blocks, as CaptureFrame gives
// them; on false both are null. The graph runs without a clock, so a frame
// arrives as fast as it decodes; waits on it end after waitMilliseconds.
bool GrabFrame(const char* path, unsigned seconds, DWORD waitMilliseconds, HGLOBAL* info, HGLOBAL* bits);
