#pragma once
#include <windows.h>
#include <mmsystem.h>

// WINMM.DLL entries bound at run time. Each has the platform's name and
// signature and answers a fixed failure value when the library or the entry
// is missing: mciSendCommandA 1, mmioOpenA null, mmioDescend
// MMIOERR_CHUNKNOTFOUND, mmioSeek/mmioRead/mmioWrite -1, mmioCreateChunk,
// mmioAscend, mmioFlush and mmioClose MMIOERR_CANNOTWRITE, the mixer entries
// MMSYSERR_BADDEVICEID. Calls are not serialised; only resolution is (the
// mixer entries under a lock of their own).
namespace winmm {

MCIERROR mciSendCommandA(MCIDEVICEID device, UINT message, DWORD_PTR flags, DWORD_PTR params);

HMMIO mmioOpenA(LPSTR fileName, LPMMIOINFO info, DWORD flags);
MMRESULT mmioDescend(HMMIO mmio, LPMMCKINFO chunk, const MMCKINFO* parent, UINT flags);
LONG mmioSeek(HMMIO mmio, LONG offset, int origin);
LONG mmioRead(HMMIO mmio, HPSTR buffer, LONG size);
MMRESULT mmioCreateChunk(HMMIO mmio, LPMMCKINFO chunk, UINT flags);
MMRESULT mmioAscend(HMMIO mmio, LPMMCKINFO chunk, UINT flags);
MMRESULT mmioFlush(HMMIO mmio, UINT flags);
LONG mmioWrite(HMMIO mmio, const char* buffer, LONG size);
MMRESULT mmioClose(HMMIO mmio, UINT flags);

MMRESULT mixerOpen(LPHMIXER mixer, UINT id, DWORD_PTR callback, DWORD_PTR instance, DWORD flags);
MMRESULT mixerGetLineInfoA(HMIXEROBJ mixer, LPMIXERLINEA line, DWORD flags);
MMRESULT mixerGetLineControlsA(HMIXEROBJ mixer, LPMIXERLINECONTROLSA controls, DWORD flags);
MMRESULT mixerGetControlDetailsA(HMIXEROBJ mixer, LPMIXERCONTROLDETAILS details, DWORD flags);
MMRESULT mixerSetControlDetails(HMIXEROBJ mixer, LPMIXERCONTROLDETAILS details, DWORD flags);
MMRESULT mixerClose(HMIXER mixer);

} // namespace winmm
