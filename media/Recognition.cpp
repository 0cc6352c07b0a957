#include "Bytes.h"
#include "ContentTests.h"
#include "MediaContext.h"
#include "RecognitionFile.h"

// The file variants read a file's first bytes once per call and hand them to
// the same checks as the buffer variants; the few rules that need more of the
// file (the wave size rule, the MIDI track chunk, RealMedia blocks, the tag at
// the end) read it here. A chain reads the first bytes once for all its tests.

// The first bytes of an open file: as many as the widest test of a chain needs.
struct RecognitionHead {
    RecognitionHead(RecognitionFile& file, DWORD want) : file(file) { count = file.readSomeAt(0, bytes, want); }

    RecognitionFile& file;
    BYTE bytes[HeadImageSize];
    DWORD count;
};

// One test of a file chain: how many first bytes it reads, the check, and
// whether an accepted file's streams are probed when the caller asks.
struct RecognitionStep {
    DWORD headSize;
    bool (*check)(RecognitionHead& head, const char* path, ContentMatch* match);
    bool probes;
    // The format's own kind stands whatever a probe's media type says; the
    // probe only tells the streams, and only when the head did not.
    bool keepsKind = false;
};

namespace {

template <ContentCheck check>
bool headOnly(RecognitionHead& head, const char*, ContentMatch* match)
{
    return check(head.bytes, head.count, match);
}

bool waveFile(RecognitionHead& head, const char*, ContentMatch* match)
{
    if (!matchWave(head.bytes, head.count, match))
        return false;
    ULONGLONG fileSize;
    if (!head.file.size(&fileSize))
        return false;
    uint32_t riffSize = readLe32(head.bytes + 4);
    if (!waveNeedsLookAtRiffSize(fileSize, riffSize))
        return true;
    BYTE look[4];
    return head.file.readExactAt(riffSize, look, sizeof look) && waveAcceptsLook(fileSize, riffSize, look);
}

bool midiFile(RecognitionHead& head, const char*, ContentMatch* match)
{
    uint64_t trackOffset;
    if (head.count < MidiHeadSize || !midiTrackOffset(head.bytes, &trackOffset))
        return matchMidi(head.bytes, head.count, match);
    BYTE chunk[4];
    return head.file.readExactAt(trackOffset, chunk, sizeof chunk) && matchMidiTrackChunk(chunk, match);
}

// The first token of the file, looked for block by block.
bool realMediaFile(RecognitionHead& head, const char* path, ContentMatch* match)
{
    BYTE block[RealMediaBlockSize];
    const BYTE* text = head.bytes;
    DWORD count = head.count;
    ULONGLONG next = count;
    size_t start, length;
    while (count > 0) {
        if (firstToken(text, count, &start, &length))
            return matchRealMediaToken(path, text + start, length, match);
        if (!isBlankBlock(text, count))
            return false;
        count = head.file.readSomeAt(next, block, sizeof block);
        next += count;
        text = block;
    }
    return false;
}

bool trackTagFile(RecognitionHead& head, const char*, ContentMatch* match)
{
    if (head.count < 3)
        return false;
    if (matchTrackTag(head.bytes, match))
        return true;
    ULONGLONG fileSize;
    BYTE tail[3];
    return head.file.size(&fileSize) && fileSize >= TrackTagSize &&
           head.file.readExactAt(fileSize - TrackTagSize, tail, sizeof tail) && matchTrackTag(tail, match);
}

// The frames after an ID3v2 tag are read wherever the tag ends.
bool mpegAudioFile(RecognitionHead& head, const char*, ContentMatch* match)
{
    uint64_t start = 0;
    if (!id3v2TagEnd(head.bytes, head.count, &start) && (head.count < 4 || head.bytes[0] != 0xFF))
        return false;
    BYTE frames[MpegAudioFramesSize];
    DWORD count = head.file.readSomeAt(start, frames, sizeof frames);
    return matchMpegAudioFrames(frames, count, match);
}

const RecognitionStep WaveMpegStep = {WaveHeadSize, headOnly<matchWaveMpeg>, false};
const RecognitionStep RiffMp3Step = {RiffHeadSize, headOnly<matchRiffMp3>, false};
const RecognitionStep WaveStep = {WaveHeadSize, waveFile, false};
const RecognitionStep CdxaStep = {RiffHeadSize, headOnly<matchCdxa>, true};
const RecognitionStep AviStep = {RiffHeadSize, headOnly<matchAvi>, true};
const RecognitionStep MidiStep = {MidiHeadSize, midiFile, false};
const RecognitionStep CddaStep = {RiffHeadSize, headOnly<matchCdda>, false};
const RecognitionStep QuickTimeStep = {QuickTimeHeadSize, headOnly<matchQuickTime>, true};
const RecognitionStep RealMediaStep = {RealMediaBlockSize, realMediaFile, false};
const RecognitionStep AiffStep = {RiffHeadSize, headOnly<matchAiff>, false};
const RecognitionStep AuStep = {AuHeadSize, headOnly<matchAu>, false};
const RecognitionStep TrackTagStep = {3, trackTagFile, false};
const RecognitionStep WindowsMediaStep = {HeadImageSize, headOnly<matchWindowsMedia>, true, true};
const RecognitionStep IsoMediaStep = {HeadImageSize, headOnly<matchIsoMedia>, true, true};
const RecognitionStep AiffCStep = {RiffHeadSize, headOnly<matchAiffC>, false, true};
const RecognitionStep MpegStreamStep = {HeadImageSize, headOnly<matchMpegStream>, true, true};
const RecognitionStep MpegAudioStep = {HeadImageSize, mpegAudioFile, false, true};
const RecognitionStep OpenContainerStep = {HeadImageSize, headOnly<matchOpenContainer>, true, true};

const RecognitionStep KnownChain[] = {WaveMpegStep, RiffMp3Step, WaveStep, CdxaStep, AviStep, MidiStep, CddaStep};
const RecognitionStep OtherContentChain[] = {QuickTimeStep, RealMediaStep, AiffStep, AuStep, TrackTagStep};
// In the order of HeadChain.
const RecognitionStep HeadFileChain[HeadChainLength] = {WindowsMediaStep, IsoMediaStep,   AiffCStep,
                                                        MpegStreamStep,   MpegAudioStep, OpenContainerStep};

}  // namespace

BOOL MediaContext::accept(const ContentMatch& match)
{
    kind_ = match.kind;
    hasAudio_ = match.hasAudio;
    hasVideo_ = match.hasVideo;
    streamsUnexamined_ = FALSE;
    if (match.hasWaveFormatTag)
        waveFormatTag_ = match.waveFormatTag;
    return TRUE;
}

BOOL MediaContext::checkBuffer(const BYTE* bytes, UINT size, bool (*check)(const BYTE*, size_t, ContentMatch*))
{
    LockScope hold(lock_);
    ContentMatch match;
    return check(bytes, size, &match) && accept(match);
}

namespace {

// The first step of a chain that takes the file, or null.
const RecognitionStep* matchingStep(RecognitionFile& file, const char* path, const RecognitionStep* steps,
                                    size_t count, ContentMatch* match)
{
    DWORD headSize = 0;
    for (size_t i = 0; i < count; ++i)
        if (steps[i].headSize > headSize)
            headSize = steps[i].headSize;
    RecognitionHead head(file, headSize);
    for (size_t i = 0; i < count; ++i)
        if (steps[i].check(head, path, match))
            return &steps[i];
    return nullptr;
}

}  // namespace

BOOL MediaContext::runFileSteps(const char* path, const RecognitionStep* steps, size_t count)
{
    LockScope hold(lock_);
    ContentMatch match;
    const RecognitionStep* found;
    {
        RecognitionFile file(path);
        found = matchingStep(file, path, steps, count, &match);
    }
    // The file is closed before an engine opens it.
    if (!found)
        return FALSE;
    accept(match);
    if (found->probes && !match.streamsKnown)
        probeStreams(path);
    if (found->keepsKind)
        kind_ = match.kind;
    return TRUE;
}

void MediaContext::probeStreams(const char* path)
{
    if (!probeRequest1_ && !probeRequest2_) {
        streamsUnexamined_ = TRUE;
        return;
    }
    MediaKind accepted = kind_;
    BOOL probed = probeWithDirectShow_ ? probeWithDirectShowEngine(path) : probeWithMci(path);
    // The text test inside a failed probe must not relabel an accepted file.
    if (!probed)
        kind_ = accepted;
}

BOOL MediaContext::probeWithMci(const char* path)
{
    LockScope hold(lock_);
    if (!path)
        return FALSE;
    mciDevice_.setExcludedDevices(mciDeviceNames_, mciDeviceNameCount_);
    if (isTextFile(path) || !mciDevice_.open(path))
        return FALSE;
    hasAudio_ = mciDevice_.hasAudio() != FALSE;
    hasVideo_ = mciDevice_.hasVideo() != FALSE;
    mciDevice_.close();
    return TRUE;
}

BOOL MediaContext::isKnownMedia(const char* path) { return runFileSteps(path, KnownChain, 7); }

BOOL MediaContext::isKnownMedia(RecognitionFile& file, const char* path)
{
    LockScope hold(lock_);
    ContentMatch match;
    return matchingStep(file, path, KnownChain, 7, &match) && accept(match);
}

BOOL MediaContext::isOtherMedia(const char* path)
{
    LockScope hold(lock_);
    if (runFileSteps(path, OtherContentChain, 5))
        return TRUE;
    if (isPlaylist(path))
        return TRUE;
    // The outside engines decide by opening the file; nothing stays open.
    MediaDevice* device = &vbmp3Device_;
    MediaKind kind = MediaKindMpeg;
    if (!vbmp3Device_.open(path)) {
        device = &softMpegDevice_;
        kind = MediaKindSoftMpeg;
        if (!softMpegDevice_.open(path))
            return isMediaByHead(path);
    }
    device->close();
    kind_ = kind;
    hasAudio_ = device->hasAudio() != FALSE;
    hasVideo_ = device->hasVideo() != FALSE;
    return TRUE;
}

BOOL MediaContext::isKnownMediaBuffer(const BYTE* bytes, UINT size) { return checkBuffer(bytes, size, matchKnownMedia); }
BOOL MediaContext::isOtherMediaBuffer(const BYTE* bytes, UINT size, const char* name)
{
    LockScope hold(lock_);
    return checkBuffer(bytes, size, matchOtherMedia) || isMediaByHeadBuffer(bytes, size, name);
}

BOOL MediaContext::isMediaByHead(const char* path) { return runFileSteps(path, HeadFileChain, HeadChainLength); }

BOOL MediaContext::isMediaByHeadBuffer(const BYTE* bytes, UINT size, const char* name)
{
    LockScope hold(lock_);
    ContentMatch match;
    return matchHeadMediaNamed(name, bytes, size, &match) && accept(match);
}

BOOL MediaContext::isWaveMpeg(const char* path) { return runFileSteps(path, &WaveMpegStep, 1); }
BOOL MediaContext::isWaveMpeg(const BYTE* bytes, UINT size) { return checkBuffer(bytes, size, matchWaveMpeg); }
BOOL MediaContext::isRiffMp3(const char* path) { return runFileSteps(path, &RiffMp3Step, 1); }
BOOL MediaContext::isRiffMp3(const BYTE* bytes, UINT size) { return checkBuffer(bytes, size, matchRiffMp3); }
BOOL MediaContext::isWave(const char* path) { return runFileSteps(path, &WaveStep, 1); }
BOOL MediaContext::isWave(const BYTE* bytes, UINT size) { return checkBuffer(bytes, size, matchWave); }
BOOL MediaContext::isCdxa(const char* path) { return runFileSteps(path, &CdxaStep, 1); }
BOOL MediaContext::isCdxa(const BYTE* bytes, UINT size) { return checkBuffer(bytes, size, matchCdxa); }
BOOL MediaContext::isAvi(const char* path) { return runFileSteps(path, &AviStep, 1); }
BOOL MediaContext::isAvi(const BYTE* bytes, UINT size) { return checkBuffer(bytes, size, matchAvi); }
BOOL MediaContext::isMidi(const char* path) { return runFileSteps(path, &MidiStep, 1); }
BOOL MediaContext::isMidi(const BYTE* bytes, UINT size) { return checkBuffer(bytes, size, matchMidi); }
BOOL MediaContext::isCdda(const char* path) { return runFileSteps(path, &CddaStep, 1); }
BOOL MediaContext::isCdda(const BYTE* bytes, UINT size) { return checkBuffer(bytes, size, matchCdda); }
BOOL MediaContext::isQuickTime(const char* path) { return runFileSteps(path, &QuickTimeStep, 1); }
BOOL MediaContext::isQuickTime(const BYTE* bytes, UINT size) { return checkBuffer(bytes, size, matchQuickTime); }
BOOL MediaContext::isRealMedia(const char* path) { return runFileSteps(path, &RealMediaStep, 1); }
BOOL MediaContext::isRealMedia(const BYTE* bytes, UINT size) { return checkBuffer(bytes, size, matchRealMedia); }
BOOL MediaContext::isAiff(const char* path) { return runFileSteps(path, &AiffStep, 1); }
BOOL MediaContext::isAiff(const BYTE* bytes, UINT size) { return checkBuffer(bytes, size, matchAiff); }
BOOL MediaContext::isAu(const char* path) { return runFileSteps(path, &AuStep, 1); }
BOOL MediaContext::isAu(const BYTE* bytes, UINT size) { return checkBuffer(bytes, size, matchAu); }
BOOL MediaContext::hasTrackTag(const char* path) { return runFileSteps(path, &TrackTagStep, 1); }
BOOL MediaContext::isMpegStream(const char* path) { return runFileSteps(path, &MpegStreamStep, 1); }
BOOL MediaContext::isMpegStream(const BYTE* bytes, UINT size) { return checkBuffer(bytes, size, matchMpegStream); }
BOOL MediaContext::isMpegAudio(const char* path) { return runFileSteps(path, &MpegAudioStep, 1); }
BOOL MediaContext::isMpegAudio(const BYTE* bytes, UINT size) { return checkBuffer(bytes, size, matchMpegAudio); }
BOOL MediaContext::isWindowsMedia(const char* path) { return runFileSteps(path, &WindowsMediaStep, 1); }
BOOL MediaContext::isWindowsMedia(const BYTE* bytes, UINT size) { return checkBuffer(bytes, size, matchWindowsMedia); }
BOOL MediaContext::isIsoMedia(const char* path) { return runFileSteps(path, &IsoMediaStep, 1); }
BOOL MediaContext::isIsoMedia(const BYTE* bytes, UINT size) { return checkBuffer(bytes, size, matchIsoMedia); }
BOOL MediaContext::isAiffC(const char* path) { return runFileSteps(path, &AiffCStep, 1); }
BOOL MediaContext::isAiffC(const BYTE* bytes, UINT size) { return checkBuffer(bytes, size, matchAiffC); }
BOOL MediaContext::isOpenContainer(const char* path) { return runFileSteps(path, &OpenContainerStep, 1); }
BOOL MediaContext::isOpenContainer(const BYTE* bytes, UINT size) { return checkBuffer(bytes, size, matchOpenContainer); }
