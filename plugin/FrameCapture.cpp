#include "FrameCapture.h"

#include <dshow.h>

#include "AviFileLibrary.h"
#include "BmpHeader.h"
#include "ComPtr.h"
#include "CountedLock.h"
#include "DibRows.h"
#include "DirectShowDevice.h"
#include "FramePixels.h"
#include "FrameGrab.h"
#include "GlobalBlock.h"
#include "Ole.h"

namespace {

CountedLock captureLock;

// The first video stream of an AVI file and its frame decompressor, given
// back in the order decompressor, stream, file.
class AviVideo {
public:
    AviVideo() = default;
    ~AviVideo()
    {
        closeFrames();
        if (stream_)
            avifil32::AVIStreamRelease(stream_);
        if (file_)
            avifil32::AVIFileRelease(file_);
    }
    AviVideo(const AviVideo&) = delete;
    AviVideo& operator=(const AviVideo&) = delete;

    bool open(const char* path)
    {
        AVIFILEINFOA info;
        ZeroMemory(&info, sizeof info);
        if (FAILED(avifil32::AVIFileOpenA(&file_, path, OF_SHARE_DENY_WRITE, nullptr)) || !file_)
            return false;
        if (FAILED(avifil32::AVIFileInfo(file_, &info, sizeof info)))
            return false;
        width_ = (LONG)info.dwWidth;
        height_ = (LONG)info.dwHeight;
        return SUCCEEDED(avifil32::AVIFileGetStream(file_, &stream_, streamtypeVIDEO, 0)) && stream_;
    }

    // The packed bitmap of the frame at `seconds`; it lives until this object goes.
    const BITMAPINFOHEADER* frameAt(unsigned seconds)
    {
        LONG length = avifil32::AVIStreamLength(stream_);
        if (length == -1)
            return nullptr;
        LONG frame = avifil32::AVIStreamTimeToSample(stream_, frameMilliseconds(seconds));
        if (frame == -1)
            return nullptr;
        if (frame > length)
            frame = length;
        if (!openFrames())
            return nullptr;
        const BITMAPINFOHEADER* found = frameOrNeighbour(frame);
        if (found)
            return found;
        // A decompressor that cannot deliver the requested depth may still
        // deliver the display's.
        closeFrames();
        frames_ = avifil32::AVIStreamGetFrameOpen(stream_, bestDisplayFormat());
        return frames_ ? frameOrNeighbour(frame) : nullptr;
    }

private:
    static LPBITMAPINFOHEADER bestDisplayFormat()
    {
        return reinterpret_cast<LPBITMAPINFOHEADER>(AVIGETFRAMEF_BESTDISPLAYFMT);
    }

    // 16 bits keeps the block small and is what most decompressors can give.
    bool openFrames()
    {
        BITMAPINFOHEADER wanted;
        ZeroMemory(&wanted, sizeof wanted);
        wanted.biSize = sizeof wanted;
        wanted.biWidth = width_;
        wanted.biHeight = height_;
        wanted.biPlanes = 1;
        wanted.biBitCount = 16;
        frames_ = avifil32::AVIStreamGetFrameOpen(stream_, &wanted);
        if (!frames_)
            frames_ = avifil32::AVIStreamGetFrameOpen(stream_, bestDisplayFormat());
        return frames_ != nullptr;
    }

    void closeFrames()
    {
        if (frames_)
            avifil32::AVIStreamGetFrameClose(frames_);
        frames_ = nullptr;
    }

    // A position at the very end of the stream has no frame; the one before it has.
    const BITMAPINFOHEADER* frameOrNeighbour(LONG frame)
    {
        void* found = avifil32::AVIStreamGetFrame(frames_, frame);
        if (!found)
            found = avifil32::AVIStreamGetFrame(frames_, frame ? frame - 1 : 1);
        return static_cast<const BITMAPINFOHEADER*>(found);
    }

    PAVIFILE file_ = nullptr;
    PAVISTREAM stream_ = nullptr;
    PGETFRAME frames_ = nullptr;
    LONG width_ = 0;
    LONG height_ = 0;
};

// Where a packed bitmap's parts lie, from its own header.
struct FrameLayout {
    DWORD tableEntries;
    const BYTE* pixels;
    DWORD pixelBytes;
    SixteenBitLayout sixteenBits;
};

bool readLayout(const BITMAPINFOHEADER* frame, FrameLayout* layout)
{
    DibLayout dib;
    if (!readDibLayout(reinterpret_cast<const BYTE*>(frame), frame->biSize, &dib))
        return false;
    const BYTE* afterHeader = reinterpret_cast<const BYTE*>(frame) + frame->biSize;
    const bool masks = dib.compression == BI_BITFIELDS;
    layout->sixteenBits = SixteenBitLayout::Rgb555;
    if (masks) {
        // The three colour masks follow a plain header and stand inside a
        // newer one; a 16-bit frame with a six-bit green mask is 5-6-5.
        const DWORD* colourMasks = frame->biSize == sizeof(BITMAPINFOHEADER)
                                       ? reinterpret_cast<const DWORD*>(afterHeader)
                                       : &reinterpret_cast<const BITMAPV4HEADER*>(frame)->bV4RedMask;
        if (dib.bitCount == 16 && colourMasks[1] == 0x07E0)
            layout->sixteenBits = SixteenBitLayout::Rgb565;
    }
    layout->tableEntries = masks ? 0 : dib.colourTableBytes / 4;
    layout->pixelBytes = dib.pixelBytes;
    layout->pixels = afterHeader;
    if (!masks || frame->biSize == sizeof(BITMAPINFOHEADER))
        layout->pixels += dib.colourTableBytes;
    return true;
}

// Copies the frame into the two blocks; 16- and 32-bit pixels become 24-bit ones.
bool copyFrame(const BITMAPINFOHEADER* frame, HGLOBAL* info, HGLOBAL* bits)
{
    FrameLayout layout;
    if (!readLayout(frame, &layout))
        return false;
    const DWORD tableBytes = 4 * layout.tableEntries;
    GlobalBlock header(sizeof(BITMAPINFOHEADER) + tableBytes);
    if (!header.bytes())
        return false;
    BITMAPINFOHEADER* out = reinterpret_cast<BITMAPINFOHEADER*>(header.bytes());
    *out = *frame;
    out->biSize = sizeof(BITMAPINFOHEADER);
    CopyMemory(header.bytes() + sizeof(BITMAPINFOHEADER), reinterpret_cast<const BYTE*>(frame) + frame->biSize,
               tableBytes);

    const DWORD width = (DWORD)frame->biWidth;
    const bool widen = frame->biBitCount == 16 || frame->biBitCount == 32;
    const DWORD imageBytes = widen ? DibImageBytes(width, frame->biHeight, 24) : layout.pixelBytes;
    if (!imageBytes)
        return false;
    GlobalBlock pixels(imageBytes);
    if (!pixels.bytes())
        return false;
    if (widen) {
        DWORD rows = (DWORD)(frame->biHeight < 0 ? -frame->biHeight : frame->biHeight);
        if (!convertRowsTo24(layout.pixels, frame->biBitCount, layout.sixteenBits, width, rows, pixels.bytes()))
            return false;
        out->biBitCount = 24;
        out->biCompression = BI_RGB;
        out->biClrUsed = 0;
        out->biClrImportant = 0;
    } else {
        CopyMemory(pixels.bytes(), layout.pixels, imageBytes);
    }
    out->biSizeImage = imageBytes;
    *info = header.detach();
    *bits = pixels.detach();
    return true;
}

bool create(REFCLSID clsid, REFIID iid, void** object)
{
    return SUCCEEDED(ole32::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER, iid,
                                             object))
        && *object;
}

// The display name of the first video compressor called "Microsoft RLE";
// free it with ole32::CoTaskMemFree.
LPOLESTR rleCompressorName()
{
    DirectShowDevice devices;
    UINT count = 0;
    IMoniker** monikers = devices.enumerateCategory(CLSID_VideoCompressorCategory, &count);
    LPOLESTR display = nullptr;
    for (UINT i = 0; i < count; ++i) {
        BSTR name = devices.friendlyName(monikers[i]);
        const bool matches = name && lstrcmpiW(name, L"Microsoft RLE") == 0;
        oleaut32::SysFreeString(name);
        if (matches) {
            display = devices.displayName(monikers[i]);
            break;
        }
    }
    DirectShowDevice::releaseMonikers(monikers, count);
    return display;
}

// The compressor is bound anew from its display name, as a filter of its own.
bool bindRleCompressor(ComPtr<IBaseFilter>& compressor)
{
    LPOLESTR display = rleCompressorName();
    if (!display)
        return false;
    ComPtr<IBindCtx> context;
    ComPtr<IMoniker> moniker;
    ULONG eaten = 0;
    bool bound = SUCCEEDED(ole32::CreateBindCtx(0, context.out())) && context
        && SUCCEEDED(ole32::MkParseDisplayName(context.get(), display, &eaten, moniker.out())) && moniker
        && SUCCEEDED(moniker->BindToObject(context.get(), nullptr, IID_IBaseFilter, compressor.outVoid()))
        && compressor;
    ole32::CoTaskMemFree(display);
    return bound;
}

bool toWide(const char* path, WCHAR (&wide)[MAX_PATH])
{
    return MultiByteToWideChar(CP_ACP, 0, path, -1, wide, MAX_PATH) != 0;
}

// Runs the graph over the interval and waits, a bounded time, for it to
// finish; the graph is stopped either way.
bool runInterval(ICaptureGraphBuilder* builder, IBaseFilter* compressor, IMediaControl* control,
                 IMediaEvent* events, unsigned seconds)
{
    ComPtr<IMediaSeeking> seeking;
    LONGLONG duration = 0, start = 0, stop = 0;
    if (FAILED(builder->FindInterface(nullptr, compressor, IID_IMediaSeeking, seeking.outVoid())) || !seeking
        || FAILED(seeking->SetTimeFormat(&TIME_FORMAT_MEDIA_TIME)) || FAILED(seeking->GetDuration(&duration))
        || !clipInterval(seconds, duration, &start, &stop)
        || FAILED(seeking->SetPositions(&start, AM_SEEKING_AbsolutePositioning, &stop,
                                        AM_SEEKING_AbsolutePositioning))
        || FAILED(control->Run()))
        return false;
    LONG code = 0;
    const bool completed = SUCCEEDED(events->WaitForCompletion(GraphWaitMilliseconds, &code));
    return SUCCEEDED(control->Stop()) && completed;
}

} // namespace

bool ConvertToClip(const char* sourcePath, const char* clipPath, unsigned seconds)
{
    WCHAR source[MAX_PATH], clip[MAX_PATH];
    if (!sourcePath || !clipPath || !toWide(sourcePath, source) || !toWide(clipPath, clip))
        return false;
    LockScope hold(captureLock);
    ComPtr<ICaptureGraphBuilder> builder;
    ComPtr<IGraphBuilder> graph;
    ComPtr<IBaseFilter> reader;
    ComPtr<IBaseFilter> compressor;
    if (!create(CLSID_CaptureGraphBuilder, IID_ICaptureGraphBuilder, builder.outVoid())
        || !create(CLSID_FilterGraph, IID_IGraphBuilder, graph.outVoid())
        || !create(CLSID_AsyncReader, IID_IBaseFilter, reader.outVoid()) || !bindRleCompressor(compressor))
        return false;
    ComPtr<IFileSourceFilter> file;
    if (!file.queryFrom(reader.get(), IID_IFileSourceFilter) || FAILED(file->Load(source, nullptr))
        || FAILED(graph->AddFilter(reader.get(), source)) || FAILED(graph->AddFilter(compressor.get(), L"Compressor")))
        return false;
    ComPtr<IMediaControl> control;
    ComPtr<IMediaEvent> events;
    ComPtr<IBaseFilter> multiplexer;
    ComPtr<IFileSinkFilter> sink;
    if (!control.queryFrom(graph.get(), IID_IMediaControl) || !events.queryFrom(graph.get(), IID_IMediaEvent)
        || FAILED(builder->SetFiltergraph(graph.get()))
        || FAILED(builder->SetOutputFileName(&MEDIASUBTYPE_Avi, clip, multiplexer.out(), sink.out()))
        || FAILED(builder->RenderStream(nullptr, reader.get(), compressor.get(), multiplexer.get())))
        return false;
    // A second pass takes a further stream of the source when there is one;
    // with none it fails, which does not matter.
    builder->RenderStream(nullptr, reader.get(), compressor.get(), multiplexer.get());
    return runInterval(builder.get(), compressor.get(), control.get(), events.get(), seconds);
}

bool CaptureFrame(const char* aviPath, unsigned seconds, HGLOBAL* info, HGLOBAL* bits)
{
    if (info)
        *info = nullptr;
    if (bits)
        *bits = nullptr;
    if (!aviPath || !info || !bits)
        return false;
    LockScope hold(captureLock);
    // The AVI file library creates its file and stream handlers through COM.
    if (!avifil32::BindAviFile() || !ole32::OleInitialize())
        return false;
    AviVideo video;
    if (!video.open(aviPath))
        return false;
    const BITMAPINFOHEADER* frame = video.frameAt(seconds);
    return frame && copyFrame(frame, info, bits);
}
