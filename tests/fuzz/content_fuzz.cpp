// Every content check, the chains and the file-side rules over arbitrary
// first bytes. Besides memory safety: a check that accepts a prefix accepts
// the longer buffer too (more bytes never undo a match), and the chains
// answer exactly what their checks answer in order.
#include <stdint.h>
#include <stdlib.h>

#include "Bytes.h"
#include "ContentTests.h"

namespace {

const ContentCheck knownChain[] = {matchWaveMpeg, matchRiffMp3, matchWave, matchCdxa,
                                   matchAvi,      matchMidi,    matchCdda};
const ContentCheck otherChain[] = {matchQuickTime, matchRealMedia, matchAiff, matchAu};

void check(bool condition)
{
    if (!condition)
        abort();
}

void chainAgrees(const ContentCheck* chain, size_t count, bool (*whole)(const uint8_t*, size_t, ContentMatch*),
                 const uint8_t* data, size_t size)
{
    ContentMatch byChain, byStep;
    bool accepted = whole(data, size, &byChain);
    bool any = false;
    for (size_t i = 0; i < count && !any; ++i)
        any = chain[i](data, size, &byStep);
    check(accepted == any);
    if (accepted)
        check(byChain.kind == byStep.kind && byChain.hasAudio == byStep.hasAudio);
}

void longerStillMatches(const uint8_t* data, size_t size)
{
    if (size == 0)
        return;
    ContentMatch m;
    for (ContentCheck c : knownChain)
        if (c(data, size - 1, &m))
            check(c(data, size, &m));
    for (ContentCheck c : otherChain)
        if (c(data, size - 1, &m))
            check(c(data, size, &m));
    for (ContentCheck c : HeadChain)
        if (c(data, size - 1, &m))
            check(c(data, size, &m));
}

// Heads: the named chain takes all that the plain one takes; a name never
// makes MPEG audio out of bytes without a tag; the file readers' frames after
// a tag are the buffer's frames.
void heads(const uint8_t* data, size_t size)
{
    ContentMatch plain, named;
    bool byHead = matchHeadMedia(data, size, &plain);
    check(!byHead || matchHeadMediaNamed("a.mp3", data, size, &named));
    uint64_t end = 0;
    bool tagged = id3v2TagEnd(data, size, &end);
    if (!tagged && !byHead)
        check(!matchHeadMediaNamed("a.mp3", data, size, &named));
    if (tagged && end <= size)
        check(matchMpegAudio(data, size, &plain) ==
              matchMpegAudioFrames(data + end, size - (size_t)end, &named));
    if (byHead && plain.kind == MediaKindMpeg && !tagged && data[0] == 0xFF)
        check(plain.hasAudio && !plain.hasVideo);
}

// The file readers' rules with the input standing in for the whole file.
void fileRules(const uint8_t* data, size_t size)
{
    if (size >= WaveHeadSize) {
        uint32_t riffSize = readLe32(data + 4);
        if (waveNeedsLookAtRiffSize(size, riffSize)) {
            check((uint64_t)riffSize + 4 <= size);
            waveAcceptsLook(size, riffSize, data + riffSize);
        }
    }
    uint64_t offset;
    ContentMatch m;
    if (size >= MidiHeadSize && midiTrackOffset(data, &offset) && offset + 4 <= size)
        matchMidiTrackChunk(data + offset, &m);
    size_t start, length;
    bool token = firstToken(data, size, &start, &length);
    check(!(token && isBlankBlock(data, size)));
    if (token) {
        check(start + length <= size && length > 0);
        const char* names[] = {"a.ram", "a.dat"};
        matchRealMediaToken(names[data[0] & 1], data + start, length, &m);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    chainAgrees(knownChain, 7, matchKnownMedia, data, size);
    chainAgrees(otherChain, 4, matchOtherMedia, data, size);
    chainAgrees(HeadChain, HeadChainLength, matchHeadMedia, data, size);
    heads(data, size);
    longerStillMatches(data, size);
    fileRules(data, size);
    if (size >= 2)
        waveLabel(readLe16(data));
    return 0;
}
