// Probing a file's streams with the DirectShow engine, and the kind that the
// media type of the source's first stream stands for.
#include "DirectShowProbe.h"

#include <dshow.h>

#include "MediaContext.h"

#include "Ole.h"

namespace {

BOOL same(REFGUID a, REFGUID b)
{
    BOOL answered = FALSE;
    return ole32::guidsEqual(a, b, &answered) && answered;
}

BOOL isAnyOf(REFGUID type, const GUID* const* candidates, size_t count)
{
    for (size_t i = 0; i < count; ++i)
        if (same(type, *candidates[i]))
            return TRUE;
    return FALSE;
}

template <size_t N>
BOOL isAnyOf(REFGUID type, const GUID* const (&candidates)[N])
{
    return isAnyOf(type, candidates, N);
}

MediaKind packetKind(REFGUID subType)
{
    const GUID* const packets[] = {&MEDIASUBTYPE_MPEG1Packet, &MEDIASUBTYPE_MPEG1Payload};
    return isAnyOf(subType, packets) ? MediaKindMpeg : MediaKindUnknown;
}

MediaKind streamKind(REFGUID subType)
{
    const GUID* const mpeg[] = {&MEDIASUBTYPE_MPEG1Video, &MEDIASUBTYPE_MPEG1System, &MEDIASUBTYPE_MPEG1VideoCD,
                                &MEDIASUBTYPE_MPEG1Audio};
    if (same(subType, MEDIASUBTYPE_Avi))
        return MediaKindAvi;
    if (same(subType, MEDIASUBTYPE_WAVE))
        return MediaKindWave;
    if (same(subType, MEDIASUBTYPE_AU))
        return MediaKindAu;
    if (same(subType, MEDIASUBTYPE_AIFF))
        return MediaKindAiff;
    return isAnyOf(subType, mpeg) ? MediaKindMpeg : MediaKindUnknown;
}

MediaKind kindOfMediaType(REFGUID majorType, REFGUID subType)
{
    if (same(majorType, MEDIATYPE_Audio))
        return same(subType, MEDIASUBTYPE_PCM) ? MediaKindWave : packetKind(subType);
    if (same(majorType, MEDIATYPE_MPEG2_PES))
        return MediaKindMpeg;
    if (same(majorType, MEDIATYPE_Stream))
        return streamKind(subType);
    if (same(majorType, MEDIATYPE_Video)) {
        const GUID* const quickTime[] = {&MEDIASUBTYPE_QTMovie, &MEDIASUBTYPE_QTRpza, &MEDIASUBTYPE_QTSmc,
                                         &MEDIASUBTYPE_QTRle, &MEDIASUBTYPE_QTJpeg};
        return isAnyOf(subType, quickTime) ? MediaKindQuickTime : packetKind(subType);
    }
    return MediaKindUnknown;
}

// MPEG-2 and DVD streams, whatever their major type.
BOOL isMpeg2OrDvdType(REFGUID subType)
{
    const GUID* const types[] = {
        &MEDIASUBTYPE_MPEG2_VIDEO,        &MEDIASUBTYPE_MPEG2_PROGRAM,          &MEDIASUBTYPE_MPEG2_TRANSPORT,
        &MEDIASUBTYPE_MPEG2_AUDIO,        &MEDIASUBTYPE_DOLBY_AC3,              &MEDIASUBTYPE_DVD_SUBPICTURE,
        &MEDIASUBTYPE_DVD_LPCM_AUDIO,     &MEDIATYPE_DVD_ENCRYPTED_PACK,        &MEDIATYPE_DVD_NAVIGATION,
        &MEDIASUBTYPE_DVD_NAVIGATION_PCI, &MEDIASUBTYPE_DVD_NAVIGATION_DSI,     &MEDIASUBTYPE_DVD_NAVIGATION_PROVIDER};
    return isAnyOf(subType, types);
}

} // namespace

void freeMediaTypeParts(AM_MEDIA_TYPE& type)
{
    if (type.cbFormat && type.pbFormat)
        ole32::CoTaskMemFree(type.pbFormat);
    if (type.pUnk)
        type.pUnk->Release();
}

BOOL mediaKindOfType(REFGUID majorType, REFGUID subType, MediaKind* kind)
{
    BOOL answered = FALSE;
    ole32::guidsEqual(majorType, subType, &answered);
    if (!answered)
        return FALSE;
    *kind = kindOfMediaType(majorType, subType);
    if (*kind == MediaKindUnknown && isMpeg2OrDvdType(subType))
        *kind = MediaKindMpeg;
    return TRUE;
}

BOOL MediaContext::probeWithDirectShowEngine(const char* path)
{
    LockScope hold(lock_);
    if (!path || isTextFile(path))
        return FALSE;
    directShowDevice_.setDvdEnabled(enableDvd_);
    if (!directShowDevice_.open(path))
        return FALSE;
    readFirstStreamType(path);
    classifyMediaType();
    hasAudio_ = directShowDevice_.hasAudio();
    hasVideo_ = directShowDevice_.hasVideo();
    directShowDevice_.close();
    return TRUE;
}

// The types are cleared first, so that a file whose stream cannot be read is
// never classified by the types of an earlier file.
BOOL MediaContext::readFirstStreamType(const char* path)
{
    LockScope hold(lock_);
    majorType_ = GUID_NULL;
    subType_ = GUID_NULL;
    ComPtr<IBaseFilter> source;
    ComPtr<IEnumPins> pins;
    ComPtr<IPin> pin;
    if (!path || !directShowDevice_.sourceFilter(path, source.out()) || FAILED(source->EnumPins(pins.out())) || !pins
        || pins->Next(1, pin.out(), nullptr) != S_OK || !pin)
        return FALSE;
    AM_MEDIA_TYPE type;
    ZeroMemory(&type, sizeof type);
    if (FAILED(pin->ConnectionMediaType(&type)))
        return FALSE;
    hasAudio_ = directShowDevice_.hasAudio();
    hasVideo_ = directShowDevice_.hasVideo();
    majorType_ = type.majortype;
    subType_ = type.subtype;
    freeMediaTypeParts(type);
    return TRUE;
}

void MediaContext::classifyMediaType()
{
    LockScope hold(lock_);
    MediaKind found = MediaKindUnknown;
    if (!mediaKindOfType(majorType_, subType_, &found))
        return;
    if (found == MediaKindUnknown && directShowDevice_.isWindowsMediaGraph())
        found = MediaKindWindowsMedia;
    kind_ = found;
}
