#pragma once
#include <windows.h>
#include <vfw.h>

// The ten AVIFIL32.DLL entries that frame capture uses, bound at run time.
// Each has the platform's name and signature and answers a fixed failure
// value when the library or the entry is missing: the HRESULT entries -1,
// the counts and positions -1, the release entries 0, the frame entries null.
namespace avifil32 {

// Resolves every entry still missing (each is cached for the process once
// found); true only when all ten are there.
bool BindAviFile();

HRESULT AVIFileOpenA(PAVIFILE* file, LPCSTR name, UINT mode, LPCLSID handler);
ULONG AVIFileRelease(PAVIFILE file);
HRESULT AVIFileInfo(PAVIFILE file, LPAVIFILEINFOA info, LONG size);
HRESULT AVIFileGetStream(PAVIFILE file, PAVISTREAM* stream, DWORD type, LONG index);
LONG AVIStreamLength(PAVISTREAM stream);
LONG AVIStreamTimeToSample(PAVISTREAM stream, LONG time);
ULONG AVIStreamRelease(PAVISTREAM stream);
PGETFRAME AVIStreamGetFrameOpen(PAVISTREAM stream, LPBITMAPINFOHEADER wanted);
LPVOID AVIStreamGetFrame(PGETFRAME frames, LONG position);
HRESULT AVIStreamGetFrameClose(PGETFRAME frames);

} // namespace avifil32
