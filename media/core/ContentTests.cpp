#include "ContentTests.h"

#include <string.h>

#include "Bytes.h"

namespace {

bool accept(ContentMatch* match, MediaKind kind, bool hasAudio, bool hasVideo)
{
    *match = ContentMatch();
    match->kind = kind;
    match->hasAudio = hasAudio;
    match->hasVideo = hasVideo;
    return true;
}

bool acceptWave(ContentMatch* match, MediaKind kind, const uint8_t* bytes)
{
    accept(match, kind, true, false);
    match->hasWaveFormatTag = true;
    match->waveFormatTag = readLe16(bytes + 20);
    return true;
}

// "RIFF" at 0 and the form type at 8.
bool isRiffForm(const uint8_t* bytes, size_t size, const char* form)
{
    return bytes && size >= RiffHeadSize && isFourCc(bytes, "RIFF") && isFourCc(bytes + 8, form);
}

bool riffForm(const uint8_t* bytes, size_t size, const char* form, ContentMatch* match, MediaKind kind,
              bool hasAudio)
{
    return isRiffForm(bytes, size, form) && accept(match, kind, hasAudio, false);
}

char lower(char c) { return c >= 'A' && c <= 'Z' ? (char)(c - 'A' + 'a') : c; }

bool startsWithNoCase(const uint8_t* text, size_t length, const char* prefix)
{
    size_t n = strlen(prefix);
    if (length < n)
        return false;
    for (size_t i = 0; i < n; ++i)
        if (lower((char)text[i]) != prefix[i])
            return false;
    return true;
}

bool equalsNoCase(const char* text, const char* lowerCase)
{
    for (; *text && *lowerCase; ++text, ++lowerCase)
        if (lower(*text) != *lowerCase)
            return false;
    return *text == *lowerCase;
}

bool isSeparator(uint8_t c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

bool matchRiffMidi(const uint8_t* bytes, size_t size, ContentMatch* match)
{
    return (isRiffForm(bytes, size, "RMID") || isRiffForm(bytes, size, "MIDS")) &&
           accept(match, MediaKindMidi, true, false);
}

}  // namespace

bool matchWaveMpeg(const uint8_t* bytes, size_t size, ContentMatch* match)
{
    if (!bytes || size < WaveHeadSize || !isRiffForm(bytes, size, "WAVE") || !isFourCc(bytes + 12, "fmt "))
        return false;
    uint16_t tag = readLe16(bytes + 20);
    return (tag == 0x0050 || tag == 0x0055) && acceptWave(match, MediaKindMpeg, bytes);
}

bool matchRiffMp3(const uint8_t* bytes, size_t size, ContentMatch* match)
{
    return riffForm(bytes, size, "RMP3", match, MediaKindMpeg, true);
}

bool matchWave(const uint8_t* bytes, size_t size, ContentMatch* match)
{
    return bytes && size >= WaveHeadSize && isRiffForm(bytes, size, "WAVE") &&
           acceptWave(match, MediaKindWave, bytes);
}

bool matchCdxa(const uint8_t* bytes, size_t size, ContentMatch* match)
{
    return riffForm(bytes, size, "CDXA", match, MediaKindCdxa, false);
}

bool matchAvi(const uint8_t* bytes, size_t size, ContentMatch* match)
{
    return riffForm(bytes, size, "AVI ", match, MediaKindAvi, false);
}

bool matchMidi(const uint8_t* bytes, size_t size, ContentMatch* match)
{
    if (!bytes || size < MidiHeadSize)
        return false;
    uint64_t offset;
    if (!midiTrackOffset(bytes, &offset))
        return matchRiffMidi(bytes, size, match);
    // The track chunk's id and length must lie inside the buffer.
    if (offset + 8 >= size)
        return false;
    return matchMidiTrackChunk(bytes + offset, match);
}

bool matchCdda(const uint8_t* bytes, size_t size, ContentMatch* match)
{
    return riffForm(bytes, size, "CDDA", match, MediaKindCdda, true);
}

bool matchQuickTime(const uint8_t* bytes, size_t size, ContentMatch* match)
{
    return bytes && size >= QuickTimeHeadSize && (isFourCc(bytes + 4, "moov") || isFourCc(bytes + 4, "mdat")) &&
           accept(match, MediaKindQuickTime, false, false);
}

bool matchRealMedia(const uint8_t* bytes, size_t size, ContentMatch* match)
{
    if (!bytes || size < 4)
        return false;
    if (isFourCc(bytes, ".RMF"))
        return accept(match, MediaKindRealMedia, false, false);
    if (memcmp(bytes, ".ra", 3) == 0)
        return accept(match, MediaKindRealMedia, true, false);
    return false;
}

bool matchAiff(const uint8_t* bytes, size_t size, ContentMatch* match)
{
    return bytes && size >= RiffHeadSize && isFourCc(bytes, "FORM") && isFourCc(bytes + 8, "AIFF") &&
           accept(match, MediaKindAiff, true, false);
}

bool matchAu(const uint8_t* bytes, size_t size, ContentMatch* match)
{
    return bytes && size >= AuHeadSize && isFourCc(bytes, ".snd") && accept(match, MediaKindAu, true, false);
}

bool matchKnownMedia(const uint8_t* bytes, size_t size, ContentMatch* match)
{
    static const ContentCheck chain[] = {matchWaveMpeg, matchRiffMp3, matchWave, matchCdxa,
                                         matchAvi,      matchMidi,    matchCdda};
    for (ContentCheck check : chain)
        if (check(bytes, size, match))
            return true;
    return false;
}

bool matchOtherMedia(const uint8_t* bytes, size_t size, ContentMatch* match)
{
    static const ContentCheck chain[] = {matchQuickTime, matchRealMedia, matchAiff, matchAu};
    for (ContentCheck check : chain)
        if (check(bytes, size, match))
            return true;
    return false;
}

bool waveNeedsLookAtRiffSize(uint64_t fileSize, uint32_t riffSize) { return (uint64_t)riffSize + 4 <= fileSize; }

bool waveAcceptsLook(uint64_t fileSize, uint32_t riffSize, const uint8_t bytesAtRiffSize[4])
{
    return isFourCc(bytesAtRiffSize, "data") || fileSize <= (uint64_t)riffSize + 22;
}

bool midiTrackOffset(const uint8_t head[12], uint64_t* offset)
{
    if (!isFourCc(head, "MThd"))
        return false;
    *offset = (uint64_t)readBe32(head + 4) + 8;
    return true;
}

bool matchMidiTrackChunk(const uint8_t bytes[4], ContentMatch* match)
{
    return isFourCc(bytes, "MTrk") && accept(match, MediaKindMidi, true, false);
}

bool firstToken(const uint8_t* block, size_t size, size_t* start, size_t* length)
{
    const uint8_t* end = block ? (const uint8_t*)memchr(block, 0, size) : nullptr;
    size_t textEnd = end ? (size_t)(end - block) : size;
    size_t i = 0;
    while (i < textEnd && isSeparator(block[i]))
        ++i;
    if (i == textEnd)
        return false;
    size_t j = i;
    while (j < textEnd && !isSeparator(block[j]))
        ++j;
    *start = i;
    *length = j - i;
    return true;
}

bool isBlankBlock(const uint8_t* block, size_t size)
{
    for (size_t i = 0; i < size; ++i)
        if (!isSeparator(block[i]))
            return false;
    return true;
}

bool hasRealMediaReferenceExtension(const char* path)
{
    const char* dot = path ? strrchr(path, '.') : nullptr;
    if (!dot || !dot[1])
        return false;
    return equalsNoCase(dot, ".ra") || equalsNoCase(dot, ".rm") || equalsNoCase(dot, ".ram") ||
           equalsNoCase(dot, ".rmm");
}

bool matchRealMediaToken(const char* path, const uint8_t* token, size_t length, ContentMatch* match)
{
    if (hasRealMediaReferenceExtension(path) &&
        (startsWithNoCase(token, length, "http://") || startsWithNoCase(token, length, "ftp://") ||
         startsWithNoCase(token, length, "rtsp://")))
        return accept(match, MediaKindRealMedia, false, false);
    // A token shorter than 4 characters ends at its terminator.
    uint8_t head[4] = {};
    memcpy(head, token, length < 4 ? length : 4);
    return matchRealMedia(head, sizeof head, match);
}

bool matchTrackTag(const uint8_t bytes[3], ContentMatch* match)
{
    return memcmp(bytes, "TAG", 3) == 0 && accept(match, MediaKindMpeg, true, false);
}

const char* waveLabel(uint16_t tag)
{
    struct Range {
        uint16_t first, last;
    };
    static const Range codecs[] = {
        {2, 3},     {5, 7},       {16, 24},   {32, 38},   {48, 61},   {64, 65},     {80, 80},
        {85, 85},   {96, 103},    {128, 128}, {256, 256}, {512, 512}, {514, 515},   {544, 544},
        {768, 768}, {1024, 1024}, {4096, 4100}, {4352, 4352}, {5120, 5120},
    };
    if (tag == 1)
        return "Wave";
    for (const Range& r : codecs)
        if (tag >= r.first && tag <= r.last)
            return "WaveWithCodec";
    return nullptr;
}
