#include "Classification.h"

#include <string.h>

#include "ContentTests.h"
#include "MediaContext.h"
#include "PluginSettings.h"

namespace {

// A kind's name and its pictures: with stream variants one per stream kind,
// else the single one in `both`.
struct KindPictures {
    const char* kind;
    const char* both;
    const char* audio;
    const char* video;
    const char* unknown;
};

const KindPictures Wave = {"Wave", "WAVE.BMP", nullptr, nullptr, nullptr};
const KindPictures WaveWithCodec = {"WaveWithCodec", "WAVECDC.BMP", nullptr, nullptr, nullptr};
const KindPictures Midi = {"Midi", "MIDI.BMP", nullptr, nullptr, nullptr};
const KindPictures Cdda = {"Cdda", "CDDA.BMP", nullptr, nullptr, nullptr};
const KindPictures Au = {"Au", "AU.BMP", nullptr, nullptr, nullptr};
const KindPictures Aiff = {"Aiff", "AIFF.BMP", nullptr, nullptr, nullptr};
const KindPictures PlayList = {"PlayList", "PLAYLIST.BMP", nullptr, nullptr, nullptr};
const KindPictures RawPcm = {"RawPcm", "RAWPCM.BMP", nullptr, nullptr, nullptr};
const KindPictures Avi = {"Avi", "AVI.BMP", "AVIA.BMP", "AVIV.BMP", "AVIU.BMP"};
const KindPictures Cdxa = {"Cdxa", "CDXA.BMP", "CDXAA.BMP", "CDXAV.BMP", "CDXAU.BMP"};
const KindPictures QuickTime = {"QuickTime", "QT.BMP", "QTA.BMP", "QTV.BMP", "QTU.BMP"};
const KindPictures RealMedia = {"RealMedia", "RM.BMP", "RMA.BMP", "RMV.BMP", "RMU.BMP"};
const KindPictures Mpeg = {"Mpeg", "MPEG.BMP", "MPEGA.BMP", "MPEGV.BMP", "MPEGU.BMP"};
const KindPictures Playable = {"Playable", "DSHOW.BMP", "DSHOWA.BMP", "DSHOWV.BMP", "DSHOWU.BMP"};
const KindPictures WindowsMedia = {"WindowsMedia", "WM.BMP", "WMA.BMP", "WMV.BMP", "WMU.BMP"};

// With a fixed stream kind; a kind with variants still shows its plain picture.
MediaClass fixed(const KindPictures& pictures, const char* stream)
{
    return MediaClass{pictures.kind, stream, pictures.both};
}

// The stream kind the context's flags give, and the picture of that variant.
MediaClass fromStreams(const KindPictures& pictures, const MediaContext& context)
{
    const char* bitmap = pictures.both;
    if (pictures.audio && !(context.hasAudio() && context.hasVideo()))
        bitmap = context.hasAudio() ? pictures.audio : context.hasVideo() ? pictures.video : pictures.unknown;
    return MediaClass{pictures.kind, context.streamKind(), bitmap};
}

// A wave file counts only with a format tag that has a label.
bool waveClass(const MediaContext& context, MediaClass* media)
{
    const char* label = waveLabel(context.waveFormatTag());
    if (!label)
        return false;
    *media = fixed(strcmp(label, "Wave") == 0 ? Wave : WaveWithCodec, "Audio");
    return true;
}

const KindPictures* probedPictures(MediaKind kind)
{
    switch (kind) {
    case MediaKindUnknown: return &Playable;
    case MediaKindWave: return &Wave;
    case MediaKindMidi: return &Midi;
    case MediaKindAvi: return &Avi;
    case MediaKindMpeg: return &Mpeg;
    case MediaKindCdda: return &Cdda;
    case MediaKindCdxa: return &Cdxa;
    case MediaKindAu: return &Au;
    case MediaKindAiff: return &Aiff;
    case MediaKindQuickTime: return &QuickTime;
    case MediaKindRealMedia: return &RealMedia;
    case MediaKindPlayList: return &PlayList;
    case MediaKindWindowsMedia: return &WindowsMedia;
    default: return nullptr;
    }
}

typedef BOOL (MediaContext::*FileTest)(const char*);
typedef BOOL (MediaContext::*ImageTest)(const BYTE*, UINT);

struct FileSource {
    const char* path;
};
struct ImageSource {
    const BYTE* bytes;
    UINT size;
};

// One content test in both variants.
struct Test {
    FileTest file;
    ImageTest image;
};
#define CONTENT_TEST(name) Test{static_cast<FileTest>(&MediaContext::name), static_cast<ImageTest>(&MediaContext::name)}

BOOL run(MediaContext& context, const Test& test, FileSource source) { return (context.*test.file)(source.path); }
BOOL run(MediaContext& context, const Test& test, ImageSource source)
{
    return (context.*test.image)(source.bytes, source.size);
}

// Which setting decides the engine of a test's stream probe: the one for
// known media or the one for other media.
enum ProbeSetting { KnownMediaEngine, OtherMediaEngine };
enum StreamRule { AudioOnly, FromStreams, WaveRule };

struct ChainStep {
    Test test;
    ProbeSetting probe;
    const KindPictures* pictures;
    StreamRule streams;
};

// The content tests that both chains share, in their order.
const ChainStep ContentChain[] = {
    {CONTENT_TEST(isWaveMpeg), OtherMediaEngine, &Mpeg, AudioOnly},
    {CONTENT_TEST(isRiffMp3), OtherMediaEngine, &Mpeg, AudioOnly},
    {CONTENT_TEST(isWave), KnownMediaEngine, nullptr, WaveRule},
    {CONTENT_TEST(isMidi), KnownMediaEngine, &Midi, AudioOnly},
    {CONTENT_TEST(isAvi), KnownMediaEngine, &Avi, FromStreams},
    {CONTENT_TEST(isCdxa), OtherMediaEngine, &Cdxa, FromStreams},
    {CONTENT_TEST(isCdda), KnownMediaEngine, &Cdda, AudioOnly},
    {CONTENT_TEST(isQuickTime), OtherMediaEngine, &QuickTime, FromStreams},
    {CONTENT_TEST(isRealMedia), OtherMediaEngine, &RealMedia, FromStreams},
    {CONTENT_TEST(isAiff), OtherMediaEngine, &Aiff, AudioOnly},
    {CONTENT_TEST(isAu), OtherMediaEngine, &Au, AudioOnly},
};

BOOL runHeadTests(MediaContext& context, FileSource source) { return context.isMediaByHead(source.path); }
BOOL runHeadTests(MediaContext& context, ImageSource source)
{
    return context.isMediaByHeadBuffer(source.bytes, source.size);
}

// The formats found by their heads, after every other content test: each
// shows its kind's pictures, Ogg, FLAC and Matroska those of a playable file.
template <typename Source>
bool classifyByHead(MediaContext& context, Source source, MediaClass* media)
{
    context.setProbeWithDirectShow(pluginSettings.preferDirectShow);
    if (!runHeadTests(context, source))
        return false;
    *media = fromStreams(*probedPictures(context.kind()), context);
    return true;
}

template <typename Source>
bool classifyContent(MediaContext& context, Source source, MediaClass* media)
{
    for (const ChainStep& step : ContentChain) {
        const PluginSettings& s = pluginSettings;
        context.setProbeWithDirectShow(step.probe == KnownMediaEngine ? s.useDirectShow : s.preferDirectShow);
        if (!run(context, step.test, source))
            continue;
        switch (step.streams) {
        case AudioOnly: *media = fixed(*step.pictures, "Audio"); return true;
        case FromStreams: *media = fromStreams(*step.pictures, context); return true;
        case WaveRule:
            if (waveClass(context, media))
                return true;
            break;
        }
    }
    return false;
}

} // namespace

const char* extensionOf(const char* name)
{
    if (!name)
        return "";
    const char* dot = strrchr(name, '.');
    const char* slash = strrchr(name, '\\');
    const char* forward = strrchr(name, '/');
    if (!dot || (slash && slash > dot) || (forward && forward > dot))
        return "";
    return dot + 1;
}

bool ClassifyFile(MediaContext& context, const char* path, MediaClass* media)
{
    LockScope hold(context.lock());
    if (classifyContent(context, FileSource{path}, media))
        return true;
    if (context.isPlaylist(path)) {
        *media = fixed(PlayList, "Both");
        return true;
    }
    if (classifyByHead(context, FileSource{path}, media))
        return true;
    const PluginSettings& s = pluginSettings;
    if (s.tryUnknownFile) {
        bool probed = s.preferDirectShow ? context.probeWithDirectShowEngine(path) : context.probeWithMci(path);
        if (probed) {
            const KindPictures* pictures = s.preferDirectShow ? probedPictures(context.kind()) : &Playable;
            if (!pictures)
                return false;
            *media = fromStreams(*pictures, context);
            return true;
        }
    }
    if (IsPcmExtension(extensionOf(path))) {
        *media = fixed(RawPcm, "Audio");
        return true;
    }
    return false;
}

bool ClassifyImage(MediaContext& context, const BYTE* bytes, UINT size, MediaClass* media)
{
    LockScope hold(context.lock());
    return classifyContent(context, ImageSource{bytes, size}, media) ||
           classifyByHead(context, ImageSource{bytes, size}, media);
}
