#pragma once
#include <stddef.h>
#include <stdint.h>

#include "../MediaKind.h"

// Content tests on the first bytes of a file. Each check answers whether the
// bytes (size of them, from offset 0) match and, on a match, fills *match
// with what the file holds. The same checks serve a caller's header buffer
// and the file readers, so the two cannot drift apart.

struct ContentMatch {
    MediaKind kind = MediaKindUnknown;
    bool hasAudio = false;
    bool hasVideo = false;
    // Waves record the format tag at offset 20.
    bool hasWaveFormatTag = false;
    uint16_t waveFormatTag = 0;
    // The head told the streams (or that there are none of a kind): the file
    // readers need not ask an engine.
    bool streamsKnown = false;
};

using ContentCheck = bool (*)(const uint8_t* bytes, size_t size, ContentMatch* match);

// How many bytes from offset 0 the file reader hands each check: exactly the
// minimum the check needs.
enum : size_t {
    WaveHeadSize = 22,
    RiffHeadSize = 12,
    MidiHeadSize = 12,
    QuickTimeHeadSize = 8,
    AuHeadSize = 4,
    RealMediaBlockSize = 1024,
    TrackTagSize = 128,
    // The formats found by their heads look at no more than a viewer's
    // header image of an archive member.
    HeadImageSize = 2048,
    // Two MPEG audio frame headers at the longest frame apart.
    MpegAudioFramesSize = 2885,
};

bool matchWaveMpeg(const uint8_t* bytes, size_t size, ContentMatch* match);
bool matchRiffMp3(const uint8_t* bytes, size_t size, ContentMatch* match);
// The header only: the file reader adds the size rule below.
bool matchWave(const uint8_t* bytes, size_t size, ContentMatch* match);
bool matchCdxa(const uint8_t* bytes, size_t size, ContentMatch* match);
bool matchAvi(const uint8_t* bytes, size_t size, ContentMatch* match);
// Needs the track chunk inside the buffer, "MThd" length plus 16 bytes.
bool matchMidi(const uint8_t* bytes, size_t size, ContentMatch* match);
bool matchCdda(const uint8_t* bytes, size_t size, ContentMatch* match);
bool matchQuickTime(const uint8_t* bytes, size_t size, ContentMatch* match);
bool matchRealMedia(const uint8_t* bytes, size_t size, ContentMatch* match);
bool matchAiff(const uint8_t* bytes, size_t size, ContentMatch* match);
bool matchAu(const uint8_t* bytes, size_t size, ContentMatch* match);

// The buffer chains: the first check that matches decides.
bool matchKnownMedia(const uint8_t* bytes, size_t size, ContentMatch* match);
bool matchOtherMedia(const uint8_t* bytes, size_t size, ContentMatch* match);

// Formats found by their heads, tried after the chains above.
// MPEG program stream (a pack), video elementary stream (a sequence header)
// or transport stream (sync bytes at 0, 188 and 376): Mpeg, with the streams
// that the packs' system header or packets, or the program map, name.
bool matchMpegStream(const uint8_t* bytes, size_t size, ContentMatch* match);
// MPEG audio: two consecutive frames of one stream, from 0 or right after an
// ID3v2 tag that ends inside the buffer. One sync word alone never matches.
bool matchMpegAudio(const uint8_t* bytes, size_t size, ContentMatch* match);
// The two frames from offset 0; the file readers read them past the tag.
bool matchMpegAudioFrames(const uint8_t* bytes, size_t size, ContentMatch* match);
// A well-formed ID3v2 tag header at 0: where the audio after the tag starts.
bool id3v2TagEnd(const uint8_t* bytes, size_t size, uint64_t* end);
// ".mp3", ".mp2", ".mp1" or ".mpa" (any case).
bool hasMpegAudioExtension(const char* name);
// A header image with a name: besides matchMpegAudio, a tag that hides the
// frames from the head counts when the name has an MPEG audio extension.
bool matchMpegAudioNamed(const char* name, const uint8_t* bytes, size_t size, ContentMatch* match);
// An ASF header object: WindowsMedia, streams from its stream types.
bool matchWindowsMedia(const uint8_t* bytes, size_t size, ContentMatch* match);
// An ISO media type box ("ftyp", an MP4, M4A, 3GP or QuickTime brand):
// QuickTime, streams from the track handlers of a movie box in the head.
bool matchIsoMedia(const uint8_t* bytes, size_t size, ContentMatch* match);
// "FORM" and "AIFC": Aiff.
bool matchAiffC(const uint8_t* bytes, size_t size, ContentMatch* match);
// Ogg, FLAC and Matroska (WebM): kind Unknown, streams where the head says.
bool matchOpenContainer(const uint8_t* bytes, size_t size, ContentMatch* match);

enum { HeadChainLength = 6 };
extern const ContentCheck HeadChain[HeadChainLength];
bool matchHeadMedia(const uint8_t* bytes, size_t size, ContentMatch* match);
// The chain with matchMpegAudioNamed for a named header image.
bool matchHeadMediaNamed(const char* name, const uint8_t* bytes, size_t size, ContentMatch* match);

// Wave size rule, file readers only. F is the file size, R the RIFF size at
// offset 4. When waveNeedsLookAtRiffSize answers false the wave is accepted;
// otherwise the reader reads the 4 bytes at offset R and asks waveAcceptsLook
// (a failed read rejects). Computed without wrap-around: a huge RIFF size, as
// streaming writers leave it, is past the end and accepted.
bool waveNeedsLookAtRiffSize(uint64_t fileSize, uint32_t riffSize);
bool waveAcceptsLook(uint64_t fileSize, uint32_t riffSize, const uint8_t bytesAtRiffSize[4]);

// MIDI, file readers: for a 12-byte head that starts "MThd", the offset of
// the 4 bytes that must be "MTrk" (64-bit, so a huge length cannot wrap to a
// small offset). Answers false for any other head.
bool midiTrackOffset(const uint8_t head[12], uint64_t* offset);
// The 4 bytes at that offset: "MTrk" makes the file MIDI.
bool matchMidiTrackChunk(const uint8_t bytes[4], ContentMatch* match);

// RealMedia, file readers. The block's text ends at its first NUL byte; a
// token is a run of characters other than space, tab, LF and CR.
bool firstToken(const uint8_t* block, size_t size, size_t* start, size_t* length);
// A block of separators only: the token may still come in the next block.
// A block whose text ended at a NUL before any token ends the search, so a
// file of zeros is not read to its end.
bool isBlankBlock(const uint8_t* block, size_t size);
// A file name whose extension is ".ra", ".rm", ".ram" or ".rmm" (any case).
bool hasRealMediaReferenceExtension(const char* path);
// The first token of a RealMedia file or reference file: an address in a file
// with a RealMedia extension, or the buffer rule on the token's first 4 bytes.
bool matchRealMediaToken(const char* path, const uint8_t* token, size_t length, ContentMatch* match);

// A 128-byte ID3v1 tag begins "TAG"; a file with one at its start or at 128
// bytes before its end is taken for MPEG audio.
bool matchTrackTag(const uint8_t bytes[3], ContentMatch* match);

// The plug-in's label for an accepted wave: "Wave", "WaveWithCodec", or null
// when the format tag is not one it labels.
const char* waveLabel(uint16_t waveFormatTag);
