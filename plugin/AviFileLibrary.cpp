#include "AviFileLibrary.h"

#include "DynamicLibrary.h"

namespace avifil32 {
namespace {

struct Binding {
    DynamicLibrary library{"AVIFIL32.DLL"};
    CountedLock lock;
    decltype(&::AVIFileOpenA) fileOpen = nullptr;
    decltype(&::AVIFileRelease) fileRelease = nullptr;
    decltype(&::AVIFileInfoA) fileInfo = nullptr;
    decltype(&::AVIFileGetStream) fileGetStream = nullptr;
    decltype(&::AVIStreamLength) streamLength = nullptr;
    decltype(&::AVIStreamTimeToSample) timeToSample = nullptr;
    decltype(&::AVIStreamRelease) streamRelease = nullptr;
    decltype(&::AVIStreamGetFrameOpen) getFrameOpen = nullptr;
    decltype(&::AVIStreamGetFrame) getFrame = nullptr;
    decltype(&::AVIStreamGetFrameClose) getFrameClose = nullptr;
};

// Built before, and torn down after, every static object of default priority.
Binding instance __attribute__((init_priority(110)));

template <typename Function>
Function resolved(Function& cached, const char* name)
{
    return instance.library.resolve(cached, name, instance.lock);
}

const HRESULT missing = -1;

} // namespace

bool BindAviFile()
{
    Binding& b = instance;
    LockScope scope(b.lock);
    // Every entry is looked up, even after one is missing, so that each
    // found one is cached.
    bool all = resolved(b.fileOpen, "AVIFileOpenA") != nullptr;
    all &= resolved(b.fileRelease, "AVIFileRelease") != nullptr;
    all &= resolved(b.fileInfo, "AVIFileInfo") != nullptr;
    all &= resolved(b.fileGetStream, "AVIFileGetStream") != nullptr;
    all &= resolved(b.streamLength, "AVIStreamLength") != nullptr;
    all &= resolved(b.timeToSample, "AVIStreamTimeToSample") != nullptr;
    all &= resolved(b.streamRelease, "AVIStreamRelease") != nullptr;
    all &= resolved(b.getFrameOpen, "AVIStreamGetFrameOpen") != nullptr;
    all &= resolved(b.getFrame, "AVIStreamGetFrame") != nullptr;
    all &= resolved(b.getFrameClose, "AVIStreamGetFrameClose") != nullptr;
    return all;
}

HRESULT AVIFileOpenA(PAVIFILE* file, LPCSTR name, UINT mode, LPCLSID handler)
{
    auto function = resolved(instance.fileOpen, "AVIFileOpenA");
    return function ? function(file, name, mode, handler) : missing;
}

ULONG AVIFileRelease(PAVIFILE file)
{
    auto function = resolved(instance.fileRelease, "AVIFileRelease");
    return function ? function(file) : 0;
}

HRESULT AVIFileInfo(PAVIFILE file, LPAVIFILEINFOA info, LONG size)
{
    auto function = resolved(instance.fileInfo, "AVIFileInfo");
    return function ? function(file, info, size) : missing;
}

HRESULT AVIFileGetStream(PAVIFILE file, PAVISTREAM* stream, DWORD type, LONG index)
{
    auto function = resolved(instance.fileGetStream, "AVIFileGetStream");
    return function ? function(file, stream, type, index) : missing;
}

LONG AVIStreamLength(PAVISTREAM stream)
{
    auto function = resolved(instance.streamLength, "AVIStreamLength");
    return function ? function(stream) : -1;
}

LONG AVIStreamTimeToSample(PAVISTREAM stream, LONG time)
{
    auto function = resolved(instance.timeToSample, "AVIStreamTimeToSample");
    return function ? function(stream, time) : -1;
}

ULONG AVIStreamRelease(PAVISTREAM stream)
{
    auto function = resolved(instance.streamRelease, "AVIStreamRelease");
    return function ? function(stream) : 0;
}

PGETFRAME AVIStreamGetFrameOpen(PAVISTREAM stream, LPBITMAPINFOHEADER wanted)
{
    auto function = resolved(instance.getFrameOpen, "AVIStreamGetFrameOpen");
    return function ? function(stream, wanted) : nullptr;
}

LPVOID AVIStreamGetFrame(PGETFRAME frames, LONG position)
{
    auto function = resolved(instance.getFrame, "AVIStreamGetFrame");
    return function ? function(frames, position) : nullptr;
}

HRESULT AVIStreamGetFrameClose(PGETFRAME frames)
{
    auto function = resolved(instance.getFrameClose, "AVIStreamGetFrameClose");
    return function ? function(frames) : missing;
}

} // namespace avifil32
