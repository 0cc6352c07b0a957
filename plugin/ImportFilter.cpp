#include "ImportFilter.h"

#include <string.h>

#include "BmpHeader.h"
#include "Classification.h"
#include "FrameCapture.h"
#include "FrameGrab.h"
#include "InfoCache.h"
#include "MediaContext.h"
#include "Ole.h"
#include "PlayerLaunch.h"
#include "PluginSettings.h"
#include "PluginState.h"
#include "RecognitionFile.h"
#include "TypePicture.h"

namespace {

const DWORD HeaderImageSize = 2048;

// Undoes, at the end of an export, an OLE initialisation that a probe made.
struct OleCallScope {
    ~OleCallScope() { ole32::OleUninitialize(); }
};

// Up to 2 KB from a file handle's current position, which is left where it
// was; zero-padded.
bool readThroughHandle(HANDLE handle, BYTE* image)
{
    LARGE_INTEGER zero = {}, start;
    if (!SetFilePointerEx(handle, zero, &start, FILE_CURRENT))
        return false;
    DWORD read = 0;
    BOOL done = ReadFile(handle, image, HeaderImageSize, &read, nullptr);
    SetFilePointerEx(handle, start, nullptr, FILE_BEGIN);
    return done && read > 0;
}

// The header image that dw stands for; false when there is none. No address
// lies in the first 64 KB, and file handles are small values: anything with
// a bit above the low 16 set is an address (in 64-bit also one whose bits 16
// to 31 happen to be clear, which HIWORD would miss).
bool headerImage(ULONG_PTR dw, BYTE* image)
{
    memset(image, 0, HeaderImageSize);
    if (dw >> 16) {
        if (IsBadReadPtr((const void*)dw, HeaderImageSize))
            return false;
        memcpy(image, (const void*)dw, HeaderImageSize);
        return true;
    }
    return dw && readThroughHandle((HANDLE)dw, image);
}

// The viewer's own image formats; a PNG also opens as a playable file in
// some DirectShow set-ups.
bool isRejectedImage(const BYTE* head, DWORD size)
{
    return (size >= 2 && memcmp(head, "BM", 2) == 0) || (size >= 10 && memcmp(head + 6, "JFIF", 4) == 0) ||
           (size >= 4 && memcmp(head, "GIF8", 4) == 0) || (size >= 4 && memcmp(head, "\x89PNG", 4) == 0);
}

// Recognition reads only the head of a memory image: an image beyond 4 GB
// (64-bit viewers) is looked at through its first 4 GB.
UINT imageSize(LONG_PTR len) { return (ULONG_PTR)len > MAXDWORD ? MAXDWORD : (UINT)len; }

// Pictures are not made of those images either.
bool isImageFile(const char* buf, LONG_PTR len, bool fileMode)
{
    BYTE head[10] = {};
    if (!fileMode)
        return len > 0 && isRejectedImage((const BYTE*)buf, imageSize(len));
    RecognitionFile file(buf);
    return isRejectedImage(head, file.readSomeAt(0, head, sizeof head));
}

// The known chain reads the file that the caller holds open; it is closed
// before anything that an engine opens. The context's lock is held from the
// probe settings to the last test, as a picture built on another thread sets
// them too.
DWORD verdictOfFile(MediaContext& context, RecognitionFile& file, const char* name)
{
    LockScope hold(context.lock());
    BYTE head[10] = {};
    if (isRejectedImage(head, file.readSomeAt(0, head, sizeof head)))
        return 0;
    context.setProbeRequests(0);
    if (context.isKnownMedia(file, name))
        return pluginSettings.playKnownFiles ? 1 : 0;
    file.close();
    if (pluginSettings.tryUnknownFile) {
        if (context.isOtherMedia(name))
            return 1;
        context.setProbeWithDirectShow(pluginSettings.preferDirectShow);
        if (pluginSettings.preferDirectShow ? context.probeWithDirectShowEngine(name) : context.probeWithMci(name))
            return 1;
    }
    return IsPcmExtension(extensionOf(name)) ? 1 : 0;
}

DWORD verdictOfImage(MediaContext& context, const char* name, const BYTE* image)
{
    LockScope hold(context.lock());
    if (isRejectedImage(image, HeaderImageSize))
        return 0;
    context.setProbeRequests(0);
    if (context.isKnownMediaBuffer(image, HeaderImageSize))
        return pluginSettings.playKnownFiles ? 1 : 0;
    if (pluginSettings.tryUnknownFile && context.isOtherMediaBuffer(image, HeaderImageSize, name))
        return 1;
    return IsPcmExtension(extensionOf(name)) ? 1 : 0;
}

// Where a real frame may come from: the file itself (an AVI file's own
// frame, else one that a DirectShow graph decodes), or a clip converted to AVI.
enum FrameSources { DecodedFrame = 1, ConvertedFrame = 2, AnyFrame = DecodedFrame | ConvertedFrame };

bool captureFrame(const char* path, bool avi, int sources, Picture* picture)
{
    const DWORD seconds = pluginSettings.framePosition;
    bool captured = (sources & DecodedFrame)
        && ((avi && CaptureFrame(path, seconds, &picture->info, &picture->bits))
            || GrabFrame(path, seconds, GraphWaitMilliseconds, &picture->info, &picture->bits));
    if (!captured && (sources & ConvertedFrame) && ConvertToClip(path, FramePath, seconds))
        captured = CaptureFrame(FramePath, seconds, &picture->info, &picture->bits);
    DeleteFileA(FramePath);
    return captured;
}

// A memory image is written to a temporary file of its own for the capture,
// which is deleted after; one too large for a single write is not captured.
bool captureImageFrame(const char* image, LONG_PTR len, bool avi, Picture* picture)
{
    if (len <= 0 || (ULONG_PTR)len > MAXDWORD)
        return false;
    char folder[MAX_PATH], path[MAX_PATH];
    DWORD folderLength = GetTempPathA(MAX_PATH, folder);
    if (!folderLength || folderLength >= MAX_PATH || !GetTempFileNameA(folder, "pix", 0, path))
        return false;
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY, nullptr);
    DWORD written = 0;
    bool whole = file != INVALID_HANDLE_VALUE && WriteFile(file, image, (DWORD)len, &written, nullptr)
        && written == (DWORD)len;
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
    bool captured = whole && captureFrame(path, avi, AnyFrame, picture);
    DeleteFileA(path);
    return captured;
}

// Whether the blocks hold what their header says; biSizeImage is then the
// rows' size, since viewers copy that many bytes.
bool checkPicture(const Picture& picture)
{
    DibLayout layout;
    if (!readPictureLayout(picture, &layout))
        return false;
    ((BITMAPINFOHEADER*)picture.info)->biSizeImage = layout.pixelBytes;
    return true;
}

struct Classified {
    MediaClass media;
    bool hasVideo;  // has, or may have
    bool streamsUnexamined;
    bool avi;
};

// Names the medium and tells whether it has video; without probeStreams the
// streams that only a probe tells stay unexamined. The context's lock is held
// from the probe requests to the stream flags: a support question on another
// thread would otherwise change them in between.
bool classify(MediaContext& context, const char* buf, LONG_PTR len, bool fileMode, bool probeStreams,
              Classified* found)
{
    LockScope hold(context.lock());
    if (isImageFile(buf, len, fileMode))
        return false;
    context.setProbeRequests(probeStreams ? 1 : 0);
    context.clearStreams();
    bool classified = fileMode ? ClassifyFile(context, buf, &found->media)
                               : len > 0 && ClassifyImage(context, (const BYTE*)buf, imageSize(len), &found->media);
    // The content tests seldom tell a memory image's streams (an AVI head
    // does not): one that holds no known sound may still have a picture,
    // which the frame grab finds out.
    found->hasVideo = classified && (context.hasVideo() || (!fileMode && !context.hasAudio()));
    found->streamsUnexamined = classified && context.streamsUnexamined();
    found->avi = classified && strcmp(found->media.kind, "Avi") == 0;
    return classified;
}

// A frame that passed its check becomes the picture and is cached.
bool keepFrame(PictureHolder& frame, bool captured, bool fileMode, const char* name, const FileStamp* stamp,
               Picture* picture)
{
    if (!captured || !checkPicture(frame.get()))
        return false;
    StorePicture(frame.get(), fileMode, name, stamp);
    *picture = frame.release();
    return true;
}

// stamp is the file's in file mode, null for a memory image.
int buildPicture(MediaContext& context, const char* buf, LONG_PTR len, const FileStamp* stamp, Picture* picture,
                 bool wantBits)
{
    const bool fileMode = stamp != nullptr;
    const char* name = fileMode ? buf : nullptr;
    // One key serves the lookup and the store of the verdict.
    CacheSection section(fileMode);
    DWORD verdict = 0;
    char cached[MAX_PATH];
    if (fileMode && section.LookupVerdict(name, stamp, &verdict) && verdict && section.LookupPicture(cached) &&
        LoadBitmapFile(cached, picture, wantBits))
        return 0;
    // When frames are shown, a file whose streams only a probe would tell
    // has its frame decoded first: a frame shows the video, and the grab's
    // graph costs a fraction of the probe's. Without one the streams are probed.
    const bool decodeFirst = fileMode && pluginSettings.showImage;
    Classified found;
    if (!classify(context, buf, len, fileMode, !decodeFirst, &found))
        return -1;
    // An image has no name to key a verdict with; its picture is still cached.
    section.StoreVerdict(name, 1, stamp);
    const bool decodeTried = found.streamsUnexamined;
    if (decodeTried) {
        PictureHolder frame;
        bool decoded = captureFrame(buf, found.avi, DecodedFrame, &frame.get());
        if (keepFrame(frame, decoded, fileMode, name, stamp, picture))
            return 0;
        if (!classify(context, buf, len, fileMode, true, &found))
            return -1;
    }
    if (found.hasVideo && pluginSettings.showImage) {
        PictureHolder frame;
        const int sources = decodeTried ? ConvertedFrame : AnyFrame;
        bool captured = fileMode ? captureFrame(buf, found.avi, sources, &frame.get())
                                 : captureImageFrame(buf, len, found.avi, &frame.get());
        if (keepFrame(frame, captured, fileMode, name, stamp, picture))
            return 0;
    }
    if (!LoadTypePicture(found.media, picture, wantBits))
        return -1;
    if (wantBits)
        StorePicture(*picture, fileMode, name, stamp);
    else
        ClearPicture(fileMode);
    return 0;
}

} // namespace

int IsSupportedFile(const char* filename, ULONG_PTR dw)
{
    MediaContext* context = pluginContext();
    if (!filename || !context || strlen(filename) >= MAX_PATH)
        return 0;
    const char* extension = extensionOf(filename);
    if (!*extension || !acceptList.IsAccepted(extension - 1))
        return 0;
    OleCallScope ole;
    // One open of the file serves the cache's stamp, the first bytes and the
    // known chain; one key serves the lookup and the store.
    RecognitionFile file(filename);
    FileStamp stamp;
    bool openable = stampOf(file, &stamp);
    CacheSection section(openable);
    DWORD verdict = 0;
    if (openable) {
        if (section.LookupVerdict(filename, &stamp, &verdict))
            return verdict;
        verdict = verdictOfFile(*context, file, filename);
    } else {
        // An archive member, or a name that viewers pass with its folder left
        // off: either way dw carries the medium's head.
        BYTE image[HeaderImageSize];
        if (!headerImage(dw, image))
            return 0;
        verdict = verdictOfImage(*context, filename, image);
    }
    section.StoreVerdict(filename, verdict, openable ? &stamp : nullptr);
    return verdict;
}

int BuildPicture(const char* buf, LONG_PTR len, UINT flag, HGLOBAL* info, HGLOBAL* bits)
{
    if (!info)
        return -1;
    LockScope hold(PictureLock);
    *info = nullptr;
    if (bits)
        *bits = nullptr;
    MediaContext* context = pluginContext();
    bool fileMode = (flag & 1) == 0;
    // Device names ("NUL", "COM1.wav") open devices that a probe would read
    // forever: file mode takes files on a disk only. The open that tells
    // also gives the cache its stamp.
    FileStamp stamp;
    if (!buf || !context || (fileMode && (strlen(buf) >= MAX_PATH || !stampOfPath(buf, &stamp))))
        return -1;
    OleCallScope ole;
    PictureHolder picture;
    int result = buildPicture(*context, buf, len, fileMode ? &stamp : nullptr, &picture.get(), bits != nullptr);
    if (result != 0 || !checkPicture(picture.get()))
        return -1;
    picture.handOver(info, bits);
    return 0;
}

int GetPictureInfoOf(const char* buf, LONG_PTR len, UINT flag, PictureInfo* info)
{
    if (!info)
        return -1;
    HGLOBAL header = nullptr;
    int result = BuildPicture(buf, len, flag, &header, nullptr);
    if (result != 0)
        return result;
    const BITMAPINFOHEADER* bitmap = (const BITMAPINFOHEADER*)header;
    memset(info, 0, sizeof *info);
    info->width = bitmap->biWidth;
    info->height = bitmap->biHeight < 0 ? -bitmap->biHeight : bitmap->biHeight;
    info->colorDepth = (SHORT)bitmap->biBitCount;
    GlobalFree(header);
    return 0;
}

int GetPictureOf(const char* buf, LONG_PTR len, UINT flag, HGLOBAL* info, HGLOBAL* bits, bool preview)
{
    if (!info || !bits)
        return -1;
    int result = BuildPicture(buf, len, flag, info, bits);
    MediaContext* context = pluginContext();
    if (result == 0 && context && (preview ? pluginSettings.playWhenPreview : pluginSettings.playWhenOpen))
        LaunchPlayer(*context, buf, len, flag);
    return result;
}
