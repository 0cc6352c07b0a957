#pragma once
#include <windows.h>
#include <mmsystem.h>

// Headerless PCM samples wrapped into a RIFF WAVE file that every engine
// plays. Both answer false, and leave no WAVE file behind, when anything
// fails.
bool ConvertRawPcm(const char* rawPath, const char* wavePath, const PCMWAVEFORMAT& format);
bool WriteWaveFile(const char* wavePath, const PCMWAVEFORMAT& format, const void* data, DWORD size);
