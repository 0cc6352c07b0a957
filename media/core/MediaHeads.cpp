// Content tests for the formats that a viewer's header image names by
// itself: MPEG streams and audio, Windows Media, ISO media, AIFF-C, Ogg, FLAC
// and Matroska. Where the head tells the streams, the match says so.
#include <string.h>

#include "Bytes.h"
#include "ContentTests.h"

namespace {

bool accept(ContentMatch* match, MediaKind kind, bool hasAudio, bool hasVideo, bool streamsKnown)
{
    *match = ContentMatch();
    match->kind = kind;
    match->hasAudio = hasAudio;
    match->hasVideo = hasVideo;
    match->streamsKnown = streamsKnown;
    return true;
}

uint16_t readBe16(const uint8_t* p) { return (uint16_t)(p[0] << 8 | p[1]); }

bool startCode(const uint8_t* p, uint8_t id) { return p[0] == 0 && p[1] == 0 && p[2] == 1 && p[3] == id; }

// Where bytes holds needle at or after from, or size when nowhere.
size_t find(const uint8_t* bytes, size_t size, size_t from, const uint8_t* needle, size_t length)
{
    for (size_t i = from; i + length <= size; ++i)
        if (memcmp(bytes + i, needle, length) == 0)
            return i;
    return size;
}

struct Streams {
    bool audio = false;
    bool video = false;
    bool known = false;
};

// --- MPEG program (system) streams: packs, the system header, packets ---

void noteStreamId(uint8_t id, Streams* streams)
{
    // 0xBD carries the AC-3 and LPCM sound of DVDs.
    if ((id >= 0xC0 && id <= 0xDF) || id == 0xBD)
        streams->audio = streams->known = true;
    else if (id >= 0xE0 && id <= 0xEF)
        streams->video = streams->known = true;
}

// The length of the pack header at p (MPEG-1 or MPEG-2 layout), 0 when it is
// neither or does not fit.
size_t packHeaderLength(const uint8_t* p, size_t left)
{
    if (left >= 12 && (p[4] & 0xF0) == 0x20)
        return 12;
    if (left >= 14 && (p[4] & 0xC0) == 0x40)
        return 14 + (p[13] & 7);
    return 0;
}

// Walks packs and packets from the start for as long as they lie in the head.
Streams programStreams(const uint8_t* bytes, size_t size)
{
    Streams streams;
    size_t at = 0;
    while (at + 6 <= size && bytes[at] == 0 && bytes[at + 1] == 0 && bytes[at + 2] == 1) {
        uint8_t id = bytes[at + 3];
        size_t length;
        if (id == 0xBA) {
            length = packHeaderLength(bytes + at, size - at);
        } else if (id == 0xBB && at + 12 <= size) {
            // The system header's bounds count the streams the whole file has.
            streams.known = true;
            streams.audio = streams.audio || bytes[at + 9] >> 2;
            streams.video = streams.video || (bytes[at + 10] & 0x1F);
            length = 6 + (size_t)readBe16(bytes + at + 4);
        } else if (id > 0xBB) {
            noteStreamId(id, &streams);
            length = 6 + (size_t)readBe16(bytes + at + 4);
        } else {
            break;
        }
        if (length == 0)
            break;
        at += length;
    }
    return streams;
}

bool isVideoSequenceHeader(const uint8_t* bytes, size_t size)
{
    if (size < 8 || !startCode(bytes, 0xB3))
        return false;
    unsigned width = (unsigned)bytes[4] << 4 | bytes[5] >> 4;
    unsigned height = (unsigned)(bytes[5] & 0x0F) << 8 | bytes[6];
    unsigned aspect = bytes[7] >> 4, rate = bytes[7] & 0x0F;
    return width && height && aspect && rate >= 1 && rate <= 8;
}

// --- MPEG transport streams: the program map of the first program ---

const size_t TsPacket = 188;

void noteTsStreamType(uint8_t type, Streams* streams)
{
    static const uint8_t video[] = {0x01, 0x02, 0x10, 0x1B, 0x24, 0x42, 0xEA};
    static const uint8_t audio[] = {0x03, 0x04, 0x0F, 0x11, 0x81, 0x82, 0x83, 0x84, 0x85, 0x86, 0x87};
    if (memchr(video, type, sizeof video))
        streams->video = streams->known = true;
    if (memchr(audio, type, sizeof audio))
        streams->audio = streams->known = true;
}

// The section that starts in the packet at p, with its length; false when the
// packet starts none or the section does not end inside it.
bool tsSection(const uint8_t* p, unsigned* pid, const uint8_t** section, size_t* length)
{
    if (p[0] != 0x47 || !(p[1] & 0x40))
        return false;
    *pid = (unsigned)(p[1] & 0x1F) << 8 | p[2];
    size_t at = 4;
    if (p[3] & 0x20)
        at += 1 + (size_t)p[4];
    if (!(p[3] & 0x10) || at >= TsPacket)
        return false;
    at += 1 + (size_t)p[at];
    if (at + 3 > TsPacket)
        return false;
    *section = p + at;
    *length = 3 + ((size_t)(p[at + 1] & 0x0F) << 8 | p[at + 2]);
    // Sections end with a 4-byte checksum.
    return at + *length <= TsPacket && *length >= 12 + 4;
}

void readProgramMap(const uint8_t* s, size_t length, Streams* streams)
{
    size_t at = 12 + ((size_t)(s[10] & 0x0F) << 8 | s[11]);
    while (at + 5 <= length - 4) {
        noteTsStreamType(s[at], streams);
        at += 5 + ((size_t)(s[at + 3] & 0x0F) << 8 | s[at + 4]);
    }
}

Streams transportStreams(const uint8_t* bytes, size_t size)
{
    Streams streams;
    unsigned mapPid = 0x2000;  // none yet
    for (size_t at = 0; at + TsPacket <= size; at += TsPacket) {
        unsigned pid;
        const uint8_t* s;
        size_t length;
        if (!tsSection(bytes + at, &pid, &s, &length))
            continue;
        if (pid == 0 && s[0] == 0x00) {
            // The first program with a number; program 0 names the network table.
            for (size_t entry = 8; entry + 4 <= length - 4 && mapPid == 0x2000; entry += 4)
                if (readBe16(s + entry))
                    mapPid = readBe16(s + entry + 2) & 0x1FFF;
        } else if (pid == mapPid && s[0] == 0x02) {
            readProgramMap(s, length, &streams);
            break;
        }
    }
    return streams;
}

bool isTransportStream(const uint8_t* bytes, size_t size)
{
    return size > 2 * TsPacket && bytes[0] == 0x47 && bytes[TsPacket] == 0x47 && bytes[2 * TsPacket] == 0x47;
}

// --- MPEG audio frames ---

struct FrameHeader {
    unsigned version;  // bits 19-20: 3 MPEG-1, 2 MPEG-2, 0 MPEG-2.5
    unsigned layer;    // 1 to 3
    unsigned sampleRate;
    unsigned length;   // bytes, header included
};

bool readFrameHeader(const uint8_t* p, FrameHeader* header)
{
    static const uint16_t bitrates[5][14] = {
        {32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448},  // MPEG-1 layer I
        {32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},     // MPEG-1 layer II
        {32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320},      // MPEG-1 layer III
        {32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256},     // MPEG-2 layer I
        {8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},          // MPEG-2 layers II, III
    };
    static const unsigned rates[3] = {44100, 48000, 32000};
    if (p[0] != 0xFF || (p[1] & 0xE0) != 0xE0)
        return false;
    unsigned version = p[1] >> 3 & 3, layerBits = p[1] >> 1 & 3;
    unsigned bitrateIndex = p[2] >> 4, rateIndex = p[2] >> 2 & 3, padding = p[2] >> 1 & 1;
    // Reserved values; a free bit rate gives no length to find the next frame by.
    if (version == 1 || layerBits == 0 || bitrateIndex == 0 || bitrateIndex == 15 || rateIndex == 3 ||
        (p[3] & 3) == 2)
        return false;
    bool mpeg1 = version == 3;
    unsigned layer = 4 - layerBits;
    unsigned table = mpeg1 ? layer - 1 : layer == 1 ? 3 : 4;
    unsigned long bitrate = bitrates[table][bitrateIndex - 1] * 1000ul;
    unsigned rate = rates[rateIndex] >> (mpeg1 ? 0 : version == 2 ? 1 : 2);
    header->version = version;
    header->layer = layer;
    header->sampleRate = rate;
    if (layer == 1)
        header->length = (unsigned)((12 * bitrate / rate + padding) * 4);
    else
        header->length = (unsigned)((layer == 3 && !mpeg1 ? 72 : 144) * bitrate / rate + padding);
    return true;
}

enum FramesSeen { FramesFound, FramesRefuted, FramesCut };

// Two consecutive frames of one stream from offset 0, the second where the
// first one's length says.
FramesSeen twoFrames(const uint8_t* bytes, size_t size)
{
    FrameHeader first, second;
    if (!bytes || size < 4)
        return FramesCut;
    if (!readFrameHeader(bytes, &first))
        return FramesRefuted;
    if ((size_t)first.length + 4 > size)
        return FramesCut;
    if (!readFrameHeader(bytes + first.length, &second) || second.version != first.version ||
        second.layer != first.layer || second.sampleRate != first.sampleRate)
        return FramesRefuted;
    return FramesFound;
}

// Where the audio starts: 0, or past a well-formed ID3v2 tag.
uint64_t audioStart(const uint8_t* bytes, size_t size, bool* tagged)
{
    uint64_t end = 0;
    *tagged = id3v2TagEnd(bytes, size, &end);
    return *tagged ? end : 0;
}

// --- ISO media ---

bool isIsoBrand(const uint8_t* brand)
{
    static const char* const prefixes[] = {"iso", "mp4", "M4V", "M4A", "M4B", "M4P", "3gp", "3g2",
                                           "qt  ", "avc1", "mmp4", "dash", "f4v ", "MSNV", "XAVC"};
    for (const char* prefix : prefixes)
        if (memcmp(brand, prefix, strlen(prefix)) == 0)
            return true;
    return false;
}

// The tracks of a movie box that lies wholly in the head; the boxes before it
// are stepped over by their sizes.
Streams isoStreams(const uint8_t* bytes, size_t size)
{
    Streams streams;
    size_t at = 0;
    while (at + 8 <= size) {
        size_t length = readBe32(bytes + at);
        if (length < 8 || length > size - at)
            break;
        if (isFourCc(bytes + at + 4, "moov")) {
            streams.known = true;
            const uint8_t* box = bytes + at;
            for (size_t h = find(box, length, 8, (const uint8_t*)"hdlr", 4); h + 16 <= length;
                 h = find(box, length, h + 4, (const uint8_t*)"hdlr", 4)) {
                streams.video = streams.video || isFourCc(box + h + 12, "vide");
                streams.audio = streams.audio || isFourCc(box + h + 12, "soun");
            }
            break;
        }
        at += length;
    }
    return streams;
}

// --- Windows Media ---

const uint8_t AsfHeaderGuid[16] = {0x30, 0x26, 0xB2, 0x75, 0x8E, 0x66, 0xCF, 0x11,
                                   0xA6, 0xD9, 0x00, 0xAA, 0x00, 0x62, 0xCE, 0x6C};
const uint8_t AsfAudioMediaGuid[16] = {0x40, 0x9E, 0x69, 0xF8, 0x4D, 0x5B, 0xCF, 0x11,
                                       0xA8, 0xFD, 0x00, 0x80, 0x5F, 0x5C, 0x44, 0x2B};
const uint8_t AsfVideoMediaGuid[16] = {0xC0, 0xEF, 0x19, 0xBC, 0x4D, 0x5B, 0xCF, 0x11,
                                       0xA8, 0xFD, 0x00, 0x80, 0x5F, 0x5C, 0x44, 0x2B};

// --- Ogg, FLAC, Matroska ---

void noteOggCodec(const uint8_t* packet, size_t length, Streams* streams)
{
    struct Codec {
        const char* id;
        size_t length;
        bool video;
    };
    static const Codec codecs[] = {{"\x01vorbis", 7, false}, {"OpusHead", 8, false}, {"\x7f" "FLAC", 5, false},
                                   {"Speex   ", 8, false},   {"\x80theora", 7, true}, {"OVP80", 5, true}};
    for (const Codec& c : codecs)
        if (length >= c.length && memcmp(packet, c.id, c.length) == 0) {
            (c.video ? streams->video : streams->audio) = true;
            streams->known = true;
        }
}

// The first packet of each stream: the pages that begin streams come first.
Streams oggStreams(const uint8_t* bytes, size_t size)
{
    Streams streams;
    size_t at = 0;
    while (at + 27 <= size && isFourCc(bytes + at, "OggS") && (bytes[at + 5] & 2)) {
        size_t segments = bytes[at + 26], body = at + 27 + segments;
        if (body > size)
            break;
        size_t length = 0;
        for (size_t i = 0; i < segments; ++i)
            length += bytes[at + 27 + i];
        noteOggCodec(bytes + body, (body + length < size ? body + length : size) - body, &streams);
        at = body + length;
    }
    return streams;
}

// Track types after the Tracks element: 0x83, a one-byte size, 1 video or 2 audio.
Streams matroskaStreams(const uint8_t* bytes, size_t size)
{
    static const uint8_t tracks[4] = {0x16, 0x54, 0xAE, 0x6B};
    static const uint8_t video[3] = {0x83, 0x81, 0x01}, audio[3] = {0x83, 0x81, 0x02};
    Streams streams;
    size_t at = find(bytes, size, 0, tracks, 4);
    if (at == size)
        return streams;
    streams.video = find(bytes, size, at, video, 3) < size;
    streams.audio = find(bytes, size, at, audio, 3) < size;
    streams.known = streams.video || streams.audio;
    return streams;
}

bool acceptStreams(ContentMatch* match, MediaKind kind, const Streams& streams)
{
    return accept(match, kind, streams.audio, streams.video, streams.known);
}

const char* extensionAfterDot(const char* name)
{
    const char* dot = name ? strrchr(name, '.') : nullptr;
    if (!dot || strchr(dot, '\\') || strchr(dot, '/'))
        return nullptr;
    return dot + 1;
}

bool sameNoCase(const char* a, const char* b)
{
    for (; *a && *b; ++a, ++b)
        if ((*a | 0x20) != (*b | 0x20))
            return false;
    return *a == *b;
}

}  // namespace

bool matchMpegStream(const uint8_t* bytes, size_t size, ContentMatch* match)
{
    if (!bytes)
        return false;
    if (size >= 12 && startCode(bytes, 0xBA) && packHeaderLength(bytes, size))
        return acceptStreams(match, MediaKindMpeg, programStreams(bytes, size));
    if (isVideoSequenceHeader(bytes, size))
        return accept(match, MediaKindMpeg, false, true, true);
    if (isTransportStream(bytes, size))
        return acceptStreams(match, MediaKindMpeg, transportStreams(bytes, size));
    return false;
}

bool id3v2TagEnd(const uint8_t* bytes, size_t size, uint64_t* end)
{
    if (!bytes || size < 10 || memcmp(bytes, "ID3", 3) != 0 || bytes[3] < 2 || bytes[3] > 4 || bytes[4] == 0xFF)
        return false;
    // Flags that the tag's version does not define must be clear.
    static const uint8_t undefinedFlags[3] = {0x3F, 0x1F, 0x0F};
    if (bytes[5] & undefinedFlags[bytes[3] - 2])
        return false;
    uint32_t length = 0;
    for (int i = 6; i < 10; ++i) {
        if (bytes[i] & 0x80)
            return false;
        length = length << 7 | bytes[i];
    }
    bool footer = bytes[3] == 4 && (bytes[5] & 0x10);
    *end = 10 + (uint64_t)length + (footer ? 10 : 0);
    return true;
}

bool matchMpegAudioFrames(const uint8_t* bytes, size_t size, ContentMatch* match)
{
    return twoFrames(bytes, size) == FramesFound && accept(match, MediaKindMpeg, true, false, true);
}

bool matchMpegAudio(const uint8_t* bytes, size_t size, ContentMatch* match)
{
    bool tagged;
    uint64_t start = audioStart(bytes, size, &tagged);
    return start <= size && matchMpegAudioFrames(bytes + start, size - (size_t)start, match);
}

bool hasMpegAudioExtension(const char* name)
{
    const char* extension = extensionAfterDot(name);
    if (!extension)
        return false;
    static const char* const known[] = {"mp3", "mp2", "mp1", "mpa"};
    for (const char* k : known)
        if (sameNoCase(extension, k))
            return true;
    return false;
}

bool matchMpegAudioNamed(const char* name, const uint8_t* bytes, size_t size, ContentMatch* match)
{
    if (matchMpegAudio(bytes, size, match))
        return true;
    // A large tag (cover pictures) hides the frames from a 2 KB head: the
    // name has to vouch for them, and what the head does show must fit.
    bool tagged;
    uint64_t start = audioStart(bytes, size, &tagged);
    if (!tagged || !hasMpegAudioExtension(name))
        return false;
    if (start < size && twoFrames(bytes + start, size - (size_t)start) != FramesCut)
        return false;
    return accept(match, MediaKindMpeg, true, false, true);
}

bool matchWindowsMedia(const uint8_t* bytes, size_t size, ContentMatch* match)
{
    if (!bytes || size < 30 || memcmp(bytes, AsfHeaderGuid, 16) != 0)
        return false;
    uint64_t headerSize = readLe32(bytes + 16) | (uint64_t)readLe32(bytes + 20) << 32;
    if (headerSize < 30)
        return false;
    size_t span = headerSize < size ? (size_t)headerSize : size;
    Streams streams;
    streams.audio = find(bytes, span, 30, AsfAudioMediaGuid, 16) < span;
    streams.video = find(bytes, span, 30, AsfVideoMediaGuid, 16) < span;
    // With the whole header in the head, a stream type not found is not there.
    streams.known = streams.audio || streams.video || headerSize <= size;
    return acceptStreams(match, MediaKindWindowsMedia, streams);
}

bool matchIsoMedia(const uint8_t* bytes, size_t size, ContentMatch* match)
{
    if (!bytes || size < 16 || !isFourCc(bytes + 4, "ftyp") || !isIsoBrand(bytes + 8))
        return false;
    // The whole type box, a brand list of whole entries: a cut one is no movie.
    uint32_t length = readBe32(bytes);
    if (length < 16 || length > size || (length - 16) % 4 != 0)
        return false;
    // Brands are printable: a cut box that the caller padded with zeros is none.
    for (uint32_t i = 16; i < length; ++i)
        if (bytes[i] < 0x20 || bytes[i] > 0x7E)
            return false;
    Streams streams = isoStreams(bytes, size);
    // With the movie box further on, Apple's audio brands still tell a sound
    // (an M4B audiobook may carry chapter pictures, so it is not counted).
    if (!streams.known && (isFourCc(bytes + 8, "M4A ") || isFourCc(bytes + 8, "M4P "))) {
        streams.audio = true;
        streams.known = true;
    }
    return acceptStreams(match, MediaKindQuickTime, streams);
}

bool matchAiffC(const uint8_t* bytes, size_t size, ContentMatch* match)
{
    return bytes && size >= RiffHeadSize && isFourCc(bytes, "FORM") && isFourCc(bytes + 8, "AIFC") &&
           accept(match, MediaKindAiff, true, false, true);
}

bool matchOpenContainer(const uint8_t* bytes, size_t size, ContentMatch* match)
{
    if (!bytes || size < 4)
        return false;
    if (size >= 27 && isFourCc(bytes, "OggS") && bytes[4] == 0)
        return acceptStreams(match, MediaKindUnknown, oggStreams(bytes, size));
    if (isFourCc(bytes, "fLaC"))
        return accept(match, MediaKindUnknown, true, false, true);
    if (bytes[0] == 0x1A && bytes[1] == 0x45 && bytes[2] == 0xDF && bytes[3] == 0xA3)
        return acceptStreams(match, MediaKindUnknown, matroskaStreams(bytes, size));
    return false;
}

bool matchHeadMedia(const uint8_t* bytes, size_t size, ContentMatch* match)
{
    for (ContentCheck check : HeadChain)
        if (check(bytes, size, match))
            return true;
    return false;
}

bool matchHeadMediaNamed(const char* name, const uint8_t* bytes, size_t size, ContentMatch* match)
{
    return matchHeadMedia(bytes, size, match) || matchMpegAudioNamed(name, bytes, size, match);
}

const ContentCheck HeadChain[HeadChainLength] = {matchWindowsMedia, matchIsoMedia,   matchAiffC,
                                                 matchMpegStream,   matchMpegAudio, matchOpenContainer};
