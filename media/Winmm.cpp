#include "Winmm.h"

#include "DynamicLibrary.h"

namespace winmm {
namespace {

struct Binding {
    DynamicLibrary library{"WINMM.DLL"};
    // Guards the resolution of the MCI and mmio entries.
    CountedLock lock;
    // Guards the resolution of the mixer entries, which the control panel's
    // mixer calls from the user-interface thread.
    CountedLock mixerLock;
};

// Built before, and torn down after, every static object of default
// priority, so that their constructors and destructors may use the bindings.
Binding instance __attribute__((init_priority(110)));

Binding& binding()
{
    return instance;
}

template <typename Function>
Function resolved(Function& cached, const char* name)
{
    return binding().library.resolve(cached, name, binding().lock);
}

template <typename Function>
Function resolvedMixer(Function& cached, const char* name)
{
    return binding().library.resolve(cached, name, binding().mixerLock);
}

const MCIERROR missingMci = 1;
const MMRESULT missingMixer = MMSYSERR_BADDEVICEID;

} // namespace

MCIERROR mciSendCommandA(MCIDEVICEID device, UINT message, DWORD_PTR flags, DWORD_PTR params)
{
    static decltype(&::mciSendCommandA) cached;
    auto function = resolved(cached, "mciSendCommandA");
    return function ? function(device, message, flags, params) : missingMci;
}

HMMIO mmioOpenA(LPSTR fileName, LPMMIOINFO info, DWORD flags)
{
    static decltype(&::mmioOpenA) cached;
    auto function = resolved(cached, "mmioOpenA");
    return function ? function(fileName, info, flags) : nullptr;
}

MMRESULT mmioDescend(HMMIO mmio, LPMMCKINFO chunk, const MMCKINFO* parent, UINT flags)
{
    static decltype(&::mmioDescend) cached;
    auto function = resolved(cached, "mmioDescend");
    return function ? function(mmio, chunk, parent, flags) : MMIOERR_CHUNKNOTFOUND;
}

LONG mmioSeek(HMMIO mmio, LONG offset, int origin)
{
    static decltype(&::mmioSeek) cached;
    auto function = resolved(cached, "mmioSeek");
    return function ? function(mmio, offset, origin) : -1;
}

LONG mmioRead(HMMIO mmio, HPSTR buffer, LONG size)
{
    static decltype(&::mmioRead) cached;
    auto function = resolved(cached, "mmioRead");
    return function ? function(mmio, buffer, size) : -1;
}

MMRESULT mmioCreateChunk(HMMIO mmio, LPMMCKINFO chunk, UINT flags)
{
    static decltype(&::mmioCreateChunk) cached;
    auto function = resolved(cached, "mmioCreateChunk");
    return function ? function(mmio, chunk, flags) : MMIOERR_CANNOTWRITE;
}

MMRESULT mmioAscend(HMMIO mmio, LPMMCKINFO chunk, UINT flags)
{
    static decltype(&::mmioAscend) cached;
    auto function = resolved(cached, "mmioAscend");
    return function ? function(mmio, chunk, flags) : MMIOERR_CANNOTWRITE;
}

MMRESULT mmioFlush(HMMIO mmio, UINT flags)
{
    static decltype(&::mmioFlush) cached;
    auto function = resolved(cached, "mmioFlush");
    return function ? function(mmio, flags) : MMIOERR_CANNOTWRITE;
}

LONG mmioWrite(HMMIO mmio, const char* buffer, LONG size)
{
    static decltype(&::mmioWrite) cached;
    auto function = resolved(cached, "mmioWrite");
    return function ? function(mmio, buffer, size) : -1;
}

MMRESULT mmioClose(HMMIO mmio, UINT flags)
{
    static decltype(&::mmioClose) cached;
    auto function = resolved(cached, "mmioClose");
    return function ? function(mmio, flags) : MMIOERR_CANNOTWRITE;
}

MMRESULT mixerOpen(LPHMIXER mixer, UINT id, DWORD_PTR callback, DWORD_PTR instance, DWORD flags)
{
    static decltype(&::mixerOpen) cached;
    auto function = resolvedMixer(cached, "mixerOpen");
    return function ? function(mixer, id, callback, instance, flags) : missingMixer;
}

MMRESULT mixerGetLineInfoA(HMIXEROBJ mixer, LPMIXERLINEA line, DWORD flags)
{
    static decltype(&::mixerGetLineInfoA) cached;
    auto function = resolvedMixer(cached, "mixerGetLineInfoA");
    return function ? function(mixer, line, flags) : missingMixer;
}

MMRESULT mixerGetLineControlsA(HMIXEROBJ mixer, LPMIXERLINECONTROLSA controls, DWORD flags)
{
    static decltype(&::mixerGetLineControlsA) cached;
    auto function = resolvedMixer(cached, "mixerGetLineControlsA");
    return function ? function(mixer, controls, flags) : missingMixer;
}

MMRESULT mixerGetControlDetailsA(HMIXEROBJ mixer, LPMIXERCONTROLDETAILS details, DWORD flags)
{
    static decltype(&::mixerGetControlDetailsA) cached;
    auto function = resolvedMixer(cached, "mixerGetControlDetailsA");
    return function ? function(mixer, details, flags) : missingMixer;
}

MMRESULT mixerSetControlDetails(HMIXEROBJ mixer, LPMIXERCONTROLDETAILS details, DWORD flags)
{
    static decltype(&::mixerSetControlDetails) cached;
    auto function = resolvedMixer(cached, "mixerSetControlDetails");
    return function ? function(mixer, details, flags) : missingMixer;
}

MMRESULT mixerClose(HMIXER mixer)
{
    static decltype(&::mixerClose) cached;
    auto function = resolvedMixer(cached, "mixerClose");
    return function ? function(mixer) : missingMixer;
}

} // namespace winmm
