#include "Vbmp3.h"

namespace {

const char* const entryNames[] = {
    "vbmp3_init", "vbmp3_free", "vbmp3_open", "vbmp3_close", "vbmp3_play", "vbmp3_pause",
    "vbmp3_restart", "vbmp3_stop", "vbmp3_seek", "vbmp3_getState", "vbmp3_setPitch",
    "vbmp3_callback", "vbmp3_startCallback", "vbmp3_stopCallback", "vbmp3_getVolume",
    "vbmp3_setVolume",
};

typedef BOOL(WINAPI* NoArgument)();
typedef BOOL(WINAPI* ZeroArgument)(LONG*);
typedef BOOL(WINAPI* OneValue)(LONG);
typedef BOOL(WINAPI* TwoValues)(LONG, LONG);

} // namespace

template <typename Function> Function Vbmp3Library::resolve(Entry entry)
{
    LockScope hold(lock_);
    if (!entries_[entry])
        entries_[entry] = library_.entry(entryNames[entry]);
    return reinterpret_cast<Function>(entries_[entry]);
}

BOOL Vbmp3Library::vbmp3_init()
{
    NoArgument f = resolve<NoArgument>(Init);
    return f ? f() : 0;
}

BOOL Vbmp3Library::vbmp3_free()
{
    NoArgument f = resolve<NoArgument>(Free);
    return f ? f() : 0;
}

BOOL Vbmp3Library::vbmp3_open(const char* fileName, BYTE* info)
{
    typedef BOOL(WINAPI * OpenFunction)(const char*, BYTE*);
    OpenFunction f = resolve<OpenFunction>(Open);
    return f ? f(fileName, info) : 0;
}

BOOL Vbmp3Library::vbmp3_close(LONG* zero)
{
    ZeroArgument f = resolve<ZeroArgument>(Close);
    return f ? f(zero) : 0;
}

BOOL Vbmp3Library::vbmp3_play(LONG* zero)
{
    ZeroArgument f = resolve<ZeroArgument>(Play);
    return f ? f(zero) : 0;
}

BOOL Vbmp3Library::vbmp3_pause()
{
    NoArgument f = resolve<NoArgument>(Pause);
    return f ? f() : 0;
}

BOOL Vbmp3Library::vbmp3_restart()
{
    NoArgument f = resolve<NoArgument>(Restart);
    return f ? f() : 0;
}

BOOL Vbmp3Library::vbmp3_stop(LONG* zero)
{
    ZeroArgument f = resolve<ZeroArgument>(Stop);
    return f ? f(zero) : 0;
}

BOOL Vbmp3Library::vbmp3_seek(LONG seconds)
{
    OneValue f = resolve<OneValue>(Seek);
    return f ? f(seconds) : 0;
}

LONG Vbmp3Library::vbmp3_getState(LONG* position)
{
    typedef LONG(WINAPI * StateFunction)(LONG*);
    StateFunction f = resolve<StateFunction>(GetState);
    return f ? f(position) : 0;
}

BOOL Vbmp3Library::vbmp3_setPitch(LONG percent)
{
    OneValue f = resolve<OneValue>(SetPitch);
    return f ? f(percent) : 0;
}

BOOL Vbmp3Library::vbmp3_callback(Vbmp3Callback callback)
{
    typedef BOOL(WINAPI * CallbackFunction)(Vbmp3Callback);
    CallbackFunction f = resolve<CallbackFunction>(Callback);
    return f ? f(callback) : 0;
}

BOOL Vbmp3Library::vbmp3_startCallback()
{
    NoArgument f = resolve<NoArgument>(StartCallback);
    return f ? f() : 0;
}

BOOL Vbmp3Library::vbmp3_stopCallback()
{
    NoArgument f = resolve<NoArgument>(StopCallback);
    return f ? f() : 0;
}

BOOL Vbmp3Library::vbmp3_getVolume(LONG* left, LONG* right)
{
    typedef BOOL(WINAPI * GetVolumeFunction)(LONG*, LONG*);
    GetVolumeFunction f = resolve<GetVolumeFunction>(GetVolume);
    return f ? f(left, right) : 0;
}

BOOL Vbmp3Library::vbmp3_setVolume(LONG left, LONG right)
{
    TwoValues f = resolve<TwoValues>(SetVolume);
    return f ? f(left, right) : 0;
}
