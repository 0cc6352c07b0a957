// A real frame of any video DirectShow can decode: the file's source filter,
// the sample grabber asking for 24-bit RGB, and a null renderer, run without
// a clock until the grabber holds the wanted frame.
#include "FrameGrab.h"

#include <dshow.h>
#include <qedit.h>
#include <string.h>

#include "ComPtr.h"
#include "DibRows.h"
#include "DirectShowEnum.h"
#include "DirectShowProbe.h"
#include "GlobalBlock.h"
#include "Ole.h"

namespace {

const LONGLONG OneSecond = 10000000;  // reference time, 100 ns units
const DWORD WaitSliceMilliseconds = 20;
// The two filters' classes; the platform headers declare their interfaces only.
const CLSID SampleGrabberClass = {0xC1F400A0, 0x3F08, 0x11D3, {0x9F, 0x0B, 0x00, 0x60, 0x08, 0x03, 0x9E, 0x37}};
const CLSID NullRendererClass = {0xC1F400A4, 0x3F08, 0x11D3, {0x9F, 0x0B, 0x00, 0x60, 0x08, 0x03, 0x9E, 0x37}};

bool create(REFCLSID clsid, REFIID iid, void** object)
{
    return SUCCEEDED(ole32::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, iid, object)) && *object;
}

// The filter's first unconnected pin of the direction, or each output pin in
// turn (index) for a source that has several streams.
bool pinOf(IBaseFilter* filter, PIN_DIRECTION direction, UINT index, ComPtr<IPin>& pin)
{
    pin.reset();
    ComPtr<IEnumPins> pins;
    if (FAILED(filter->EnumPins(pins.out())) || !pins)
        return false;
    UINT count = 0;
    IPin** all = enumerateAll<IPin>(pins.get(), &count);
    UINT seen = 0;
    for (UINT i = 0; i < count && !pin; ++i) {
        PIN_DIRECTION its;
        if (SUCCEEDED(all[i]->QueryDirection(&its)) && its == direction && seen++ == index) {
            all[i]->AddRef();
            *pin.out() = all[i];
        }
    }
    releaseAll(all, count);
    return (bool)pin;
}

// Source, decoders as the graph finds them, grabber and null renderer. A
// source with several output pins (sound and picture) is tried pin by pin
// until one of them reaches the grabber as 24-bit RGB.
bool connect(IGraphBuilder* graph, IBaseFilter* source, IBaseFilter* grabber, IBaseFilter* renderer)
{
    ComPtr<IPin> grabberIn, grabberOut, rendererIn;
    if (!pinOf(grabber, PINDIR_INPUT, 0, grabberIn) || !pinOf(grabber, PINDIR_OUTPUT, 0, grabberOut)
        || !pinOf(renderer, PINDIR_INPUT, 0, rendererIn))
        return false;
    bool reached = false;
    ComPtr<IPin> sourceOut;
    for (UINT i = 0; !reached && pinOf(source, PINDIR_OUTPUT, i, sourceOut); ++i)
        reached = SUCCEEDED(graph->Connect(sourceOut.get(), grabberIn.get()));
    return reached && SUCCEEDED(graph->Connect(grabberOut.get(), rendererIn.get()));
}

bool setUpGrabber(ISampleGrabber* grabber)
{
    AM_MEDIA_TYPE type;
    ZeroMemory(&type, sizeof type);
    type.majortype = MEDIATYPE_Video;
    type.subtype = MEDIASUBTYPE_RGB24;
    return SUCCEEDED(grabber->SetMediaType(&type)) && SUCCEEDED(grabber->SetBufferSamples(TRUE));
}

bool seekTo(IMediaSeeking* seeking, LONGLONG start)
{
    return SUCCEEDED(seeking->SetPositions(&start, AM_SEEKING_AbsolutePositioning, nullptr, AM_SEEKING_NoPositioning));
}

bool holdsSample(ISampleGrabber* grabber)
{
    LONG size = 0;
    return SUCCEEDED(grabber->GetCurrentBuffer(&size, nullptr)) && size > 0;
}

// Runs the graph until the grabber holds its frame (or, toTheEnd, until the
// graph completes), at most until the deadline, and stops it on every path.
bool runForFrame(IGraphBuilder* graph, ISampleGrabber* grabber, bool toTheEnd, DWORD started, DWORD milliseconds)
{
    ComPtr<IMediaControl> control;
    ComPtr<IMediaEvent> events;
    if (!control.queryFrom(graph, IID_IMediaControl) || !events.queryFrom(graph, IID_IMediaEvent)
        || FAILED(control->Run())) {
        if (control)
            control->Stop();
        return false;
    }
    bool done = false;
    while (GetTickCount() - started < milliseconds) {
        LONG code = 0;
        HRESULT waited = events->WaitForCompletion(WaitSliceMilliseconds, &code);
        if (waited == S_OK || (!toTheEnd && holdsSample(grabber))) {
            done = holdsSample(grabber);
            break;
        }
        if (waited != E_ABORT)
            break;
    }
    control->Stop();
    return done;
}

// The grabber's frame as a bottom-up 24-bit bitmap in two fixed blocks.
bool takeFrame(ISampleGrabber* grabber, HGLOBAL* info, HGLOBAL* bits)
{
    AM_MEDIA_TYPE type;
    ZeroMemory(&type, sizeof type);
    if (FAILED(grabber->GetConnectedMediaType(&type)))
        return false;
    BITMAPINFOHEADER frame;
    ZeroMemory(&frame, sizeof frame);
    const bool videoInfo = IsEqualGUID(type.formattype, FORMAT_VideoInfo) && type.pbFormat
        && type.cbFormat >= sizeof(VIDEOINFOHEADER);
    if (videoInfo)
        frame = reinterpret_cast<const VIDEOINFOHEADER*>(type.pbFormat)->bmiHeader;
    freeMediaTypeParts(type);
    const DWORD row = DibRowBytes((DWORD)frame.biWidth, 24);
    const DWORD rows = (DWORD)(frame.biHeight < 0 ? -frame.biHeight : frame.biHeight);
    const DWORD imageBytes = DibImageBytes((DWORD)frame.biWidth, frame.biHeight, 24);
    LONG size = 0;
    if (!videoInfo || frame.biBitCount != 24 || frame.biWidth <= 0 || !imageBytes
        || FAILED(grabber->GetCurrentBuffer(&size, nullptr)) || (DWORD)size < imageBytes)
        return false;
    GlobalBlock pixels((SIZE_T)size);
    GlobalBlock header(sizeof(BITMAPINFOHEADER));
    if (!pixels.bytes() || !header.bytes()
        || FAILED(grabber->GetCurrentBuffer(&size, reinterpret_cast<LONG*>(pixels.bytes()))))
        return false;
    // A top-down frame is turned over: viewers take the rows bottom-up.
    for (DWORD top = 0, bottom = rows - 1; frame.biHeight < 0 && top < bottom; ++top, --bottom)
        for (DWORD i = 0; i < row; ++i) {
            BYTE swap = pixels.bytes()[top * row + i];
            pixels.bytes()[top * row + i] = pixels.bytes()[bottom * row + i];
            pixels.bytes()[bottom * row + i] = swap;
        }
    BITMAPINFOHEADER* out = reinterpret_cast<BITMAPINFOHEADER*>(header.bytes());
    ZeroMemory(out, sizeof *out);
    out->biSize = sizeof *out;
    out->biWidth = frame.biWidth;
    out->biHeight = (LONG)rows;
    out->biPlanes = 1;
    out->biBitCount = 24;
    out->biCompression = BI_RGB;
    out->biSizeImage = imageBytes;
    *info = header.detach();
    *bits = pixels.detach();
    return true;
}

// Source, grabber and null renderer, connected, without a clock: the
// samples are not held back to their presentation times.
struct FrameGraph {
    ComPtr<IGraphBuilder> graph;
    ComPtr<IBaseFilter> source, grabberFilter, renderer;
    ComPtr<ISampleGrabber> grabber;
    ComPtr<IMediaSeeking> seeking;

    bool build(const WCHAR* path)
    {
        ComPtr<IMediaFilter> timing;
        return create(CLSID_FilterGraph, IID_IGraphBuilder, graph.outVoid())
            && create(SampleGrabberClass, IID_IBaseFilter, grabberFilter.outVoid())
            && create(NullRendererClass, IID_IBaseFilter, renderer.outVoid())
            && grabber.queryFrom(grabberFilter.get(), IID_ISampleGrabber)
            && SUCCEEDED(graph->AddSourceFilter(path, L"Source", source.out())) && source
            && SUCCEEDED(graph->AddFilter(grabberFilter.get(), L"Sample Grabber"))
            && SUCCEEDED(graph->AddFilter(renderer.get(), L"Null Renderer")) && setUpGrabber(grabber.get())
            && connect(graph.get(), source.get(), grabberFilter.get(), renderer.get())
            && timing.queryFrom(graph.get(), IID_IMediaFilter) && SUCCEEDED(timing->SetSyncSource(nullptr))
            && seeking.queryFrom(graph.get(), IID_IMediaSeeking);
    }
};

} // namespace

// Past the end a graph plays from shortly before the end to the end, and the
// last frame stays in the buffer. A splitter that seeks late (Wine's MPEG
// splitter lands about a second after the time asked) may then deliver
// nothing: the start moves back, twice as far each time, within the one wait.
// Each try has a graph of its own, since a graph that once completed
// reports completion again at once.
bool GrabFrame(const char* path, unsigned seconds, DWORD waitMilliseconds, HGLOBAL* info, HGLOBAL* bits)
{
    if (info)
        *info = nullptr;
    if (bits)
        *bits = nullptr;
    WCHAR wide[MAX_PATH];
    if (!path || !info || !bits || !MultiByteToWideChar(CP_ACP, 0, path, -1, wide, MAX_PATH))
        return false;
    const DWORD started = GetTickCount();
    const LONGLONG wanted = seconds * OneSecond;
    for (LONGLONG back = OneSecond;; back *= 2) {
        FrameGraph frame;
        LONGLONG duration = 0;
        if (!frame.build(wide) || FAILED(frame.seeking->GetDuration(&duration)))
            return false;
        const bool toTheEnd = duration > 0 && wanted >= duration;
        const LONGLONG start = !toTheEnd ? wanted : back < duration ? duration - back : 0;
        // Towards the end every frame is kept, so that the last one stays.
        if (!seekTo(frame.seeking.get(), start) || FAILED(frame.grabber->SetOneShot(toTheEnd ? FALSE : TRUE)))
            return false;
        if (runForFrame(frame.graph.get(), frame.grabber.get(), toTheEnd, started, waitMilliseconds))
            return takeFrame(frame.grabber.get(), info, bits);
        if (!toTheEnd || start == 0 || GetTickCount() - started >= waitMilliseconds)
            return false;
    }
}
