// A stand-in for the outside MP3 library, for tests only. It decodes nothing:
// it takes files that begin like an MP3 stream, counts a length of one second
// per 16000 bytes (a 128 kbit/s stream), keeps the position with the wall
// clock scaled by the pitch, and calls the end-of-play callback with code 4
// when the position reaches the length. A few vbmp3test_* entries let tests
// see what the library was told and make single entries refuse.
#include <windows.h>

namespace {

typedef void(WINAPI* Callback)(DWORD code, DWORD value);

enum State : LONG { Closed = 0, Playing = 1, Paused = 2, Stopped = 3 };
enum Refusable { RefuseCallback, RefuseGetVolume, RefuseSetVolume, RefuseSetPitch, RefuseCount };

const LONG bytesPerSecond = 16000;
const DWORD endOfFile = 4;
const char* const refusableNames[RefuseCount] = {"vbmp3_callback", "vbmp3_getVolume",
                                                 "vbmp3_setVolume", "vbmp3_setPitch"};

struct Library {
    CRITICAL_SECTION guard;
    bool initialized = false;
    LONG initCalls = 0;
    HANDLE wake = nullptr;
    HANDLE watcher = nullptr;
    bool quit = false;
    State state = Closed;
    LONG lengthMs = 0;
    LONG positionMs = 0;  // at anchorTick
    DWORD anchorTick = 0;
    LONG pitch = 100;     // for the running play
    LONG nextPitch = 100; // from vbmp3_setPitch, used by the next vbmp3_play
    Callback callback = nullptr;
    bool callbacksOn = false;
    LONG endCallbacks = 0;
    LONG left = 100;
    LONG right = 100;
    bool refuse[RefuseCount] = {};
} lib;

class Hold {
public:
    Hold() { EnterCriticalSection(&lib.guard); }
    ~Hold() { LeaveCriticalSection(&lib.guard); }
};

LONG currentMs()
{
    if (lib.state != Playing)
        return lib.positionMs;
    LONG ms = lib.positionMs + (LONG)((GetTickCount() - lib.anchorTick) * (DWORD)lib.pitch / 100);
    return ms < lib.lengthMs ? ms : lib.lengthMs;
}

void anchor(LONG positionMs)
{
    lib.positionMs = positionMs;
    lib.anchorTick = GetTickCount();
    if (lib.wake)
        SetEvent(lib.wake);
}

DWORD waitForEnd()
{
    if (lib.state != Playing)
        return INFINITE;
    return (DWORD)(lib.lengthMs - currentMs()) * 100 / (DWORD)lib.pitch + 1;
}

// Delivers the end of the file outside the guard, so a callback that calls
// back into the library does not deadlock.
DWORD WINAPI watch(void*)
{
    for (;;) {
        DWORD timeout;
        {
            Hold hold;
            if (lib.quit)
                return 0;
            timeout = waitForEnd();
        }
        WaitForSingleObject(lib.wake, timeout);
        Callback deliver = nullptr;
        {
            Hold hold;
            if (lib.quit)
                return 0;
            if (lib.state == Playing && currentMs() >= lib.lengthMs) {
                lib.positionMs = lib.lengthMs;
                lib.state = Stopped;
                if (lib.callbacksOn)
                    deliver = lib.callback;
            }
        }
        if (deliver) {
            deliver(endOfFile, 0);
            InterlockedIncrement(&lib.endCallbacks);
        }
    }
}

bool looksLikeMp3(const BYTE* head, DWORD size)
{
    if (size >= 3 && head[0] == 'I' && head[1] == 'D' && head[2] == '3')
        return true;
    return size >= 2 && head[0] == 0xFF && (head[1] & 0xE0) == 0xE0;
}

void stopWatcher()
{
    {
        Hold hold;
        lib.quit = true;
        SetEvent(lib.wake);
    }
    WaitForSingleObject(lib.watcher, INFINITE);
    CloseHandle(lib.watcher);
    CloseHandle(lib.wake);
    lib.watcher = lib.wake = nullptr;
    lib.quit = false;
}

} // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, void* reserved)
{
    if (reason == DLL_PROCESS_ATTACH)
        InitializeCriticalSection(&lib.guard);
    // Unloaded without vbmp3_free: the watcher cannot be joined under the
    // loader lock and must not outlive the code it runs.
    if (reason == DLL_PROCESS_DETACH && !reserved && lib.watcher)
        TerminateThread(lib.watcher, 0);
    return TRUE;
}

BOOL WINAPI vbmp3_init()
{
    Hold hold;
    ++lib.initCalls;
    if (!lib.initialized) {
        lib.initialized = true;
        lib.wake = CreateEventA(nullptr, FALSE, FALSE, nullptr);
        lib.watcher = CreateThread(nullptr, 0, watch, nullptr, 0, nullptr);
    }
    return TRUE;
}

BOOL WINAPI vbmp3_free()
{
    {
        Hold hold;
        if (!lib.initialized)
            return TRUE;
        lib.initialized = false;
        lib.state = Closed;
        lib.callbacksOn = false;
    }
    stopWatcher();
    return TRUE;
}

BOOL WINAPI vbmp3_open(const char* fileName, BYTE* info)
{
    if (!fileName || !info)
        return FALSE;
    HANDLE file = CreateFileA(fileName, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return FALSE;
    BYTE head[4] = {};
    DWORD read = 0;
    DWORD size = GetFileSize(file, nullptr);
    BOOL ok = ReadFile(file, head, sizeof head, &read, nullptr) && looksLikeMp3(head, read);
    CloseHandle(file);
    Hold hold;
    if (!ok || !lib.initialized)
        return FALSE;
    ZeroMemory(info, 272);
    LONG seconds = (LONG)(size / bytesPerSecond);
    *(LONG*)(info + 268) = seconds;
    lib.lengthMs = (LONG)((ULONGLONG)size * 1000 / bytesPerSecond);
    lib.state = Stopped;
    anchor(0);
    return TRUE;
}

BOOL WINAPI vbmp3_close(LONG*)
{
    Hold hold;
    if (lib.state == Closed)
        return FALSE;
    lib.state = Closed;
    anchor(0);
    return TRUE;
}

BOOL WINAPI vbmp3_play(LONG*)
{
    Hold hold;
    if (lib.state == Closed)
        return FALSE;
    lib.pitch = lib.nextPitch;
    lib.state = Playing;
    anchor(0);
    return TRUE;
}

BOOL WINAPI vbmp3_pause()
{
    Hold hold;
    if (lib.state != Playing)
        return FALSE;
    LONG now = currentMs();
    lib.state = Paused;
    anchor(now);
    return TRUE;
}

BOOL WINAPI vbmp3_restart()
{
    Hold hold;
    if (lib.state != Paused)
        return FALSE;
    lib.state = Playing;
    anchor(lib.positionMs);
    return TRUE;
}

BOOL WINAPI vbmp3_stop(LONG*)
{
    Hold hold;
    if (lib.state == Closed)
        return FALSE;
    lib.state = Stopped;
    anchor(0);
    return TRUE;
}

BOOL WINAPI vbmp3_seek(LONG seconds)
{
    Hold hold;
    if (lib.state == Closed || seconds < 0 || (LONGLONG)seconds * 1000 > lib.lengthMs)
        return FALSE;
    anchor(seconds * 1000);
    return TRUE;
}

LONG WINAPI vbmp3_getState(LONG* position)
{
    Hold hold;
    if (lib.state == Closed || !position)
        return 0;
    *position = currentMs() / 1000;
    return lib.state;
}

BOOL WINAPI vbmp3_setPitch(LONG percent)
{
    Hold hold;
    if (lib.refuse[RefuseSetPitch] || percent < 25 || percent > 400)
        return FALSE;
    lib.nextPitch = percent;
    return TRUE;
}

BOOL WINAPI vbmp3_callback(Callback callback)
{
    Hold hold;
    if (lib.refuse[RefuseCallback] || !callback)
        return FALSE;
    lib.callback = callback;
    return TRUE;
}

BOOL WINAPI vbmp3_startCallback()
{
    Hold hold;
    lib.callbacksOn = lib.callback != nullptr;
    return lib.callbacksOn;
}

BOOL WINAPI vbmp3_stopCallback()
{
    Hold hold;
    lib.callbacksOn = false;
    return TRUE;
}

BOOL WINAPI vbmp3_getVolume(LONG* left, LONG* right)
{
    Hold hold;
    if (lib.refuse[RefuseGetVolume] || !left || !right)
        return FALSE;
    *left = lib.left;
    *right = lib.right;
    return TRUE;
}

BOOL WINAPI vbmp3_setVolume(LONG left, LONG right)
{
    Hold hold;
    if (lib.refuse[RefuseSetVolume] || left < 0 || left > 100 || right < 0 || right > 100)
        return FALSE;
    lib.left = left;
    lib.right = right;
    return TRUE;
}

// Test entries.

// Makes the named entry refuse every call from now on (refuse true) or
// answer normally again.
BOOL WINAPI vbmp3test_refuse(const char* entry, BOOL refuse)
{
    Hold hold;
    for (int i = 0; i < RefuseCount; ++i) {
        if (lstrcmpA(entry, refusableNames[i]) == 0) {
            lib.refuse[i] = refuse != FALSE;
            return TRUE;
        }
    }
    return FALSE;
}

// The pitch the running play uses, the current volumes, whether a file is
// open, whether callbacks are delivered, how many ends were delivered and
// how often vbmp3_init was called.
LONG WINAPI vbmp3test_pitch() { Hold hold; return lib.pitch; }
LONG WINAPI vbmp3test_volume() { Hold hold; return MAKELONG(lib.left, lib.right); }
BOOL WINAPI vbmp3test_isOpen() { Hold hold; return lib.state != Closed; }
BOOL WINAPI vbmp3test_callbacksOn() { Hold hold; return lib.callbacksOn; }
LONG WINAPI vbmp3test_endCallbacks() { return InterlockedCompareExchange(&lib.endCallbacks, 0, 0); }
LONG WINAPI vbmp3test_initCalls() { Hold hold; return lib.initCalls; }

} // extern "C"
