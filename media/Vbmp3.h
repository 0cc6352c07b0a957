#pragma once
#include "CountedLock.h"
#include "DynamicLibrary.h"

// The end-of-play callback of VBMP3.DLL; a first value of 4 means the file ended.
typedef void(WINAPI* Vbmp3Callback)(DWORD code, DWORD value);

// vbmp3_open fills an information record of this size; the 32-bit length in
// seconds sits at the given offset.
const UINT Vbmp3InfoSize = 272;
const UINT Vbmp3InfoLengthOffset = 268;

// The entries of VBMP3.DLL, bound at run time under the library's own names.
// Each answers 0 when the library or the entry is missing. An address is
// resolved under the owner's lock and, when it did not resolve, tried again
// at the next call. Every owner holds its own handle on the library, so the
// library stays loaded as long as any owner lives.
class Vbmp3Library {
public:
    explicit Vbmp3Library(CountedLock& lock) : lock_(lock) {}
    Vbmp3Library(const Vbmp3Library&) = delete;
    Vbmp3Library& operator=(const Vbmp3Library&) = delete;

    BOOL vbmp3_init();
    BOOL vbmp3_free();
    BOOL vbmp3_open(const char* fileName, BYTE* info);
    BOOL vbmp3_close(LONG* zero);
    BOOL vbmp3_play(LONG* zero);
    BOOL vbmp3_pause();
    BOOL vbmp3_restart();
    BOOL vbmp3_stop(LONG* zero);
    BOOL vbmp3_seek(LONG seconds);
    LONG vbmp3_getState(LONG* position);
    BOOL vbmp3_setPitch(LONG percent);
    BOOL vbmp3_callback(Vbmp3Callback callback);
    BOOL vbmp3_startCallback();
    BOOL vbmp3_stopCallback();
    BOOL vbmp3_getVolume(LONG* left, LONG* right);
    BOOL vbmp3_setVolume(LONG left, LONG right);

private:
    enum Entry {
        Init, Free, Open, Close, Play, Pause, Restart, Stop, Seek, GetState,
        SetPitch, Callback, StartCallback, StopCallback, GetVolume, SetVolume, EntryCount
    };

    template <typename Function> Function resolve(Entry entry);

    CountedLock& lock_;
    DynamicLibrary library_{"VBMP3.DLL"};
    FARPROC entries_[EntryCount] = {};
};
