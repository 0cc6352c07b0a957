#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Bytes.h"
#include "ContentTests.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes bytesOf(const std::string& text) { return Bytes(text.begin(), text.end()); }

// "RIFF", a size, the form type, then "fmt " and a format tag at 20.
Bytes riff(const char* form, uint32_t size = 100, uint16_t tag = 1)
{
    Bytes b = bytesOf(std::string("RIFF....") + form + "fmt ....");
    writeLe32(&b[4], size);
    b.resize(22);
    writeLe16(&b[20], tag);
    return b;
}

Bytes midi(uint32_t headerLength, size_t size)
{
    Bytes b(size, 0);
    memcpy(&b[0], "MThd", 4);
    b[4] = (uint8_t)(headerLength >> 24);
    b[5] = (uint8_t)(headerLength >> 16);
    b[6] = (uint8_t)(headerLength >> 8);
    b[7] = (uint8_t)headerLength;
    if ((uint64_t)headerLength + 12 <= size)
        memcpy(&b[headerLength + 8], "MTrk", 4);
    return b;
}

ContentMatch known(const Bytes& b)
{
    ContentMatch m;
    EXPECT_TRUE(matchKnownMedia(b.data(), b.size(), &m));
    return m;
}

}  // namespace

TEST(ContentTests, knownChainNamesEveryRiffForm)
{
    EXPECT_EQ(MediaKindWave, known(riff("WAVE")).kind);
    EXPECT_EQ(MediaKindMpeg, known(bytesOf("RIFF....RMP3")).kind);
    EXPECT_EQ(MediaKindCdxa, known(bytesOf("RIFF....CDXA")).kind);
    EXPECT_EQ(MediaKindAvi, known(bytesOf("RIFF....AVI ")).kind);
    EXPECT_EQ(MediaKindCdda, known(bytesOf("RIFF....CDDA")).kind);
    EXPECT_EQ(MediaKindMidi, known(bytesOf("RIFF....RMID")).kind);
    EXPECT_EQ(MediaKindMidi, known(bytesOf("RIFF....MIDS")).kind);
    ContentMatch m = known(bytesOf("RIFF....AVI "));
    EXPECT_FALSE(m.hasAudio || m.hasVideo);
    EXPECT_TRUE(known(bytesOf("RIFF....CDDA")).hasAudio);
}

TEST(ContentTests, mpegAudioInsideWaveComesBeforeWave)
{
    for (uint16_t tag : {0x0050, 0x0055}) {
        ContentMatch m = known(riff("WAVE", 100, tag));
        EXPECT_EQ(MediaKindMpeg, m.kind);
        EXPECT_TRUE(m.hasWaveFormatTag);
        EXPECT_EQ(tag, m.waveFormatTag);
    }
    // Without "fmt " at 12 it is a plain wave whose tag is recorded.
    Bytes b = riff("WAVE", 100, 0x55);
    memcpy(&b[12], "fmt_", 4);
    ContentMatch m = known(b);
    EXPECT_EQ(MediaKindWave, m.kind);
    EXPECT_EQ(0x55, m.waveFormatTag);
    EXPECT_TRUE(m.hasAudio);
    EXPECT_FALSE(m.hasVideo);
}

TEST(ContentTests, eachCheckNeedsItsMinimumSize)
{
    ContentMatch m;
    Bytes wave = riff("WAVE", 100, 0x55);
    EXPECT_FALSE(matchWaveMpeg(wave.data(), 21, &m));
    EXPECT_FALSE(matchWave(wave.data(), 21, &m));
    EXPECT_TRUE(matchWave(wave.data(), 22, &m));
    Bytes avi = bytesOf("RIFF....AVI ");
    EXPECT_FALSE(matchAvi(avi.data(), 11, &m));
    EXPECT_FALSE(matchKnownMedia(avi.data(), 11, &m));
    Bytes mov = bytesOf("....mdat");
    EXPECT_FALSE(matchQuickTime(mov.data(), 7, &m));
    EXPECT_TRUE(matchQuickTime(mov.data(), 8, &m));
    EXPECT_TRUE(matchQuickTime(bytesOf(std::string("\0\0\0\x20moov", 8)).data(), 8, &m));
    EXPECT_FALSE(matchAu(bytesOf(".snd").data(), 3, &m));
    EXPECT_TRUE(matchAu(bytesOf(".snd").data(), 4, &m));
    EXPECT_FALSE(matchRealMedia(bytesOf(".ra\xFD").data(), 3, &m));
    // A null buffer is no file at all, whatever size comes with it.
    EXPECT_FALSE(matchKnownMedia(nullptr, 100, &m));
    EXPECT_FALSE(matchOtherMedia(nullptr, 100, &m));
}

TEST(ContentTests, midiNeedsTheTrackChunkInsideTheBuffer)
{
    ContentMatch m;
    Bytes b = midi(6, 23);
    EXPECT_TRUE(matchMidi(b.data(), b.size(), &m));
    EXPECT_EQ(MediaKindMidi, m.kind);
    EXPECT_TRUE(m.hasAudio);
    // Length plus 16 must stay below the size.
    EXPECT_FALSE(matchMidi(b.data(), 22, &m));
    memcpy(&b[14], "MTrx", 4);
    EXPECT_FALSE(matchMidi(b.data(), b.size(), &m));
    // Lengths near 2^32 must not wrap around to an offset inside the buffer,
    // whichever offset that would be.
    for (uint32_t length : {0xFFFFFFF0u, 0xFFFFFFF4u, 0xFFFFFFF8u, 0xFFFFFFFFu}) {
        Bytes huge = midi(length, 64);
        for (size_t at = 8; at + 4 <= huge.size(); at += 4)
            memcpy(&huge[at], "MTrk", 4);
        EXPECT_FALSE(matchMidi(huge.data(), huge.size(), &m)) << length;
    }
    EXPECT_FALSE(matchMidi(b.data(), 11, &m));
}

TEST(ContentTests, midiFileOffsetsDoNotWrap)
{
    uint64_t offset = 0;
    EXPECT_TRUE(midiTrackOffset(midi(6, 12).data(), &offset));
    EXPECT_EQ(14u, offset);
    EXPECT_TRUE(midiTrackOffset(midi(0xFFFFFFF8u, 12).data(), &offset));
    EXPECT_EQ(0x100000000ull, offset);
    EXPECT_FALSE(midiTrackOffset(bytesOf("RIFF....RMID").data(), &offset));
    ContentMatch m;
    EXPECT_TRUE(matchMidiTrackChunk(bytesOf("MTrk").data(), &m));
    EXPECT_FALSE(matchMidiTrackChunk(bytesOf("mtrk").data(), &m));
}

TEST(ContentTests, otherChainNamesEachFormat)
{
    ContentMatch m;
    ASSERT_TRUE(matchOtherMedia(bytesOf("FORM....AIFF").data(), 12, &m));
    EXPECT_EQ(MediaKindAiff, m.kind);
    ASSERT_TRUE(matchOtherMedia(bytesOf(".snd").data(), 4, &m));
    EXPECT_EQ(MediaKindAu, m.kind);
    ASSERT_TRUE(matchOtherMedia(bytesOf(std::string(".RMF\0\0\0\x12", 8)).data(), 8, &m));
    EXPECT_EQ(MediaKindRealMedia, m.kind);
    EXPECT_FALSE(m.hasAudio);
    ASSERT_TRUE(matchOtherMedia(bytesOf(".ra\xFD").data(), 4, &m));
    EXPECT_TRUE(m.hasAudio);
    EXPECT_FALSE(m.hasVideo);
    ASSERT_TRUE(matchOtherMedia(bytesOf("....moov").data(), 8, &m));
    EXPECT_EQ(MediaKindQuickTime, m.kind);
    // Heads that two tests take go to the earlier one.
    ASSERT_TRUE(matchOtherMedia(bytesOf(".sndmdat").data(), 8, &m));
    EXPECT_EQ(MediaKindQuickTime, m.kind);
    ASSERT_TRUE(matchOtherMedia(bytesOf(".RMFmoov").data(), 8, &m));
    EXPECT_EQ(MediaKindQuickTime, m.kind);
    EXPECT_FALSE(matchOtherMedia(bytesOf("FORM....AIFC").data(), 12, &m));
    EXPECT_FALSE(matchOtherMedia(bytesOf("RIFF....WAVE").data(), 12, &m));
}

TEST(ContentTests, waveSizeRule)
{
    const uint8_t data[4] = {'d', 'a', 't', 'a'}, other[4] = {'L', 'I', 'S', 'T'};
    // The RIFF size reaches past the end: accepted without a look.
    EXPECT_FALSE(waveNeedsLookAtRiffSize(100, 97));
    // A RIFF size of file size minus 8: the look lands in the data, and the
    // end is within 22 bytes of R, so anything there is fine.
    EXPECT_TRUE(waveNeedsLookAtRiffSize(100, 92));
    EXPECT_TRUE(waveAcceptsLook(100, 92, other));
    EXPECT_TRUE(waveAcceptsLook(100, 78, other));
    EXPECT_FALSE(waveAcceptsLook(101, 78, other));
    EXPECT_TRUE(waveAcceptsLook(1000, 78, data));
    // Streaming writers leave 0xFFFFFFFF or similar: past any real end.
    EXPECT_FALSE(waveNeedsLookAtRiffSize(1000, 0xFFFFFFFFu));
    EXPECT_FALSE(waveNeedsLookAtRiffSize(1000, 0xFFFFFFFCu));
    EXPECT_TRUE(waveAcceptsLook(0x100000000ull, 0xFFFFFFF0u, other));
    EXPECT_FALSE(waveAcceptsLook(0x200000000ull, 0xFFFFFFF0u, other));
}

TEST(ContentTests, realMediaTokens)
{
    size_t start = 0, length = 0;
    Bytes text = bytesOf(" \t\r\n rtsp://host/a.rm\nnext");
    ASSERT_TRUE(firstToken(text.data(), text.size(), &start, &length));
    EXPECT_EQ("rtsp://host/a.rm", std::string((const char*)&text[start], length));
    // The text ends at the first NUL byte.
    Bytes hidden = bytesOf(std::string("  \0word", 7));
    EXPECT_FALSE(firstToken(hidden.data(), hidden.size(), &start, &length));
    EXPECT_FALSE(firstToken(bytesOf(" \r\n\t").data(), 4, &start, &length));
    EXPECT_FALSE(firstToken(nullptr, 0, &start, &length));
    EXPECT_TRUE(isBlankBlock(bytesOf(" \r\n\t ").data(), 5));
    EXPECT_FALSE(isBlankBlock(hidden.data(), hidden.size()));
    Bytes whole = bytesOf("abc");
    ASSERT_TRUE(firstToken(whole.data(), 3, &start, &length));
    EXPECT_EQ(3u, length);

    for (const char* name : {"x.ram", "C:\\a.b\\X.RA", "y.Rm", "z.rmm"})
        EXPECT_TRUE(hasRealMediaReferenceExtension(name)) << name;
    for (const char* name : {"x.txt", "x.", "ram", "x.rams", "x.ram.txt", ""})
        EXPECT_FALSE(hasRealMediaReferenceExtension(name)) << name;
    EXPECT_FALSE(hasRealMediaReferenceExtension(nullptr));

    ContentMatch m;
    Bytes address = bytesOf("RTSP://server/clip");
    EXPECT_TRUE(matchRealMediaToken("x.ram", address.data(), address.size(), &m));
    EXPECT_EQ(MediaKindRealMedia, m.kind);
    EXPECT_FALSE(m.hasAudio || m.hasVideo);
    EXPECT_FALSE(matchRealMediaToken("x.txt", address.data(), address.size(), &m));
    Bytes ftp = bytesOf("ftp://a"), web = bytesOf("Http://a"), mail = bytesOf("mailto:a");
    EXPECT_TRUE(matchRealMediaToken("x.rm", ftp.data(), ftp.size(), &m));
    EXPECT_TRUE(matchRealMediaToken("x.rmm", web.data(), web.size(), &m));
    EXPECT_FALSE(matchRealMediaToken("x.rm", mail.data(), mail.size(), &m));
    Bytes ra = bytesOf(".ra\xFD");
    EXPECT_TRUE(matchRealMediaToken("x.dat", ra.data(), ra.size(), &m));
    EXPECT_TRUE(m.hasAudio);
    // A 3-character token is read with its terminator.
    EXPECT_TRUE(matchRealMediaToken("x.dat", ra.data(), 3, &m));
    EXPECT_FALSE(matchRealMediaToken("x.dat", ra.data(), 2, &m));
}

TEST(ContentTests, trackTag)
{
    ContentMatch m;
    EXPECT_TRUE(matchTrackTag(bytesOf("TAG").data(), &m));
    EXPECT_EQ(MediaKindMpeg, m.kind);
    EXPECT_TRUE(m.hasAudio);
    EXPECT_FALSE(matchTrackTag(bytesOf("tag").data(), &m));
}

TEST(ContentTests, waveLabels)
{
    EXPECT_STREQ("Wave", waveLabel(1));
    for (unsigned tag : {2, 3, 5, 7, 16, 24, 32, 38, 48, 61, 64, 65, 80, 85, 96, 103, 128, 256, 512, 514, 515, 544,
                         768, 1024, 4096, 4100, 4352, 5120})
        EXPECT_STREQ("WaveWithCodec", waveLabel((uint16_t)tag)) << tag;
    for (unsigned tag : {0, 4, 8, 15, 25, 31, 39, 47, 62, 66, 81, 86, 95, 104, 129, 513, 516, 769, 4095, 4101, 4353,
                         5121, 0xFFFE, 0xFFFF})
        EXPECT_EQ(nullptr, waveLabel((uint16_t)tag)) << tag;
}

namespace {

Bytes operator+(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// MPEG-1 layer III frames of 417 bytes (128 kbit/s, 44.1 kHz); rate changes
// the sample-rate index of the second frame.
Bytes mp3Frames(int count, uint8_t secondRate = 0)
{
    Bytes b;
    for (int i = 0; i < count; ++i) {
        Bytes frame(417, 0x55);
        frame[0] = 0xFF, frame[1] = 0xFB, frame[2] = (uint8_t)(0x90 | (i ? secondRate << 2 : 0)), frame[3] = 0x64;
        b = b + frame;
    }
    return b;
}

Bytes id3(uint32_t bodySize, uint8_t version = 4)
{
    Bytes b = bytesOf("ID3");
    b.push_back(version);
    b.push_back(0);
    b.push_back(0);
    for (int shift = 21; shift >= 0; shift -= 7)
        b.push_back((uint8_t)(bodySize >> shift & 0x7F));
    b.resize(10 + (bodySize < 1000 ? bodySize : 0));
    return b;
}

Bytes box(const char* type, const Bytes& body)
{
    Bytes b(4);
    uint32_t size = (uint32_t)(8 + body.size());
    b = {(uint8_t)(size >> 24), (uint8_t)(size >> 16), (uint8_t)(size >> 8), (uint8_t)size};
    return b + bytesOf(type) + body;
}

Bytes handler(const char* type) { return box("hdlr", Bytes(8, 0) + bytesOf(type) + Bytes(12, 0)); }

// Transport packets: a program table naming the map at 0x100, the map with
// the stream types given.
Bytes transport(const Bytes& streamTypes)
{
    auto packet = [](uint16_t pid, const Bytes& section) {
        Bytes p = {0x47, (uint8_t)(0x40 | pid >> 8), (uint8_t)pid, 0x10, 0x00};
        p = p + section + Bytes(4, 0);
        p.resize(188, 0xFF);
        return p;
    };
    Bytes pat = {0x00, 0xB0, 13, 0, 1, 0xC1, 0, 0, 0, 1, 0xE1, 0x00};
    Bytes streams;
    for (uint8_t type : streamTypes)
        streams = streams + Bytes{type, 0xE1, 0x01, 0xF0, 0x00};
    uint8_t length = (uint8_t)(9 + streams.size() + 4);
    Bytes pmt = Bytes{0x02, 0xB0, length, 0, 1, 0xC1, 0, 0, 0xE1, 0x01, 0xF0, 0x00} + streams;
    return packet(0, pat) + packet(0x100, pmt) + packet(0x101, {});
}

struct HeadCase {
    const char* what;
    Bytes bytes;
    bool matches;
    MediaKind kind = MediaKindUnknown;
    bool audio = false, video = false, known = false;
};

}  // namespace

// Every format found by its head, what it says about the streams, and the
// near misses that must stay unrecognised.
TEST(ContentTests, headChainNamesFormatsAndStreams)
{
    const Bytes asf = {0x30, 0x26, 0xB2, 0x75, 0x8E, 0x66, 0xCF, 0x11, 0xA6, 0xD9, 0x00, 0xAA, 0x00, 0x62, 0xCE, 0x6C};
    const Bytes asfAudio = {0x40, 0x9E, 0x69, 0xF8, 0x4D, 0x5B, 0xCF, 0x11,
                            0xA8, 0xFD, 0x00, 0x80, 0x5F, 0x5C, 0x44, 0x2B};
    Bytes asfHeader = asf + Bytes{200, 0, 0, 0, 0, 0, 0, 0} + Bytes(6, 0) + Bytes(40, 0) + asfAudio;
    asfHeader.resize(200);
    Bytes ftyp = box("ftyp", bytesOf("isom") + Bytes(4, 0) + bytesOf("isommp41"));
    Bytes pack = {0, 0, 1, 0xBA, 0x21, 0, 1, 0, 1, 0x80, 0, 1};
    Bytes systemHeader = {0, 0, 1, 0xBB, 0, 12, 0x80, 0, 1, 0x04, 0xE1, 0xFF};
    Bytes sequence = {0, 0, 1, 0xB3, 0x14, 0x00, 0xF0, 0x13};
    Bytes noise(600);
    for (size_t i = 0; i < noise.size(); ++i)
        noise[i] = (uint8_t)(i * 7919 % 251);
    Bytes stray = noise;
    stray[0] = 0xFF, stray[1] = 0xFB, stray[2] = 0x90, stray[3] = 0x64;
    const Bytes empty = transport({});
    Bytes ebml = Bytes{0x1A, 0x45, 0xDF, 0xA3} + Bytes(20, 0) + Bytes{0x16, 0x54, 0xAE, 0x6B, 0x90, 0xAE, 0x83, 0x81, 1};
    const HeadCase cases[] = {
        {"two MP3 frames", mp3Frames(2), true, MediaKindMpeg, true, false, true},
        {"two frames after an ID3v2 tag", id3(30) + mp3Frames(2), true, MediaKindMpeg, true, false, true},
        {"an ID3v2.3 tag", id3(30, 3) + mp3Frames(2), true, MediaKindMpeg, true, false, true},
        {"one frame, then noise", mp3Frames(1) + noise, false},
        {"one stray sync in noise", stray, false},
        {"frames whose sample rates differ", mp3Frames(2, 1), false},
        {"a tag past the head", id3(100000) + mp3Frames(2), false},
        {"text starting ID3", bytesOf("ID3 tags are what most MP3 files begin with."), false},
        {"a pack and a system header", pack + systemHeader, true, MediaKindMpeg, true, true, true},
        {"a pack alone", pack, true, MediaKindMpeg, false, false, false},
        {"a pack and a video packet", pack + Bytes{0, 0, 1, 0xE0, 0, 2, 0, 0}, true, MediaKindMpeg, false, true, true},
        {"a video sequence header", sequence, true, MediaKindMpeg, false, true, true},
        {"a sequence header of no size", Bytes{0, 0, 1, 0xB3, 0, 0, 0, 0x13}, false},
        {"a transport stream", transport({0x1B, 0x0F}), true, MediaKindMpeg, true, true, true},
        {"a transport stream of one audio stream", transport({0x03}), true, MediaKindMpeg, true, false, true},
        {"two transport sync bytes", Bytes(empty.begin(), empty.begin() + 376), false},
        {"a Windows Media header", asfHeader, true, MediaKindWindowsMedia, true, false, true},
        {"a Windows Media header past the head", Bytes(asfHeader.begin(), asfHeader.begin() + 100), true,
         MediaKindWindowsMedia, true, false, true},
        {"an MP4 with its movie box", ftyp + box("moov", handler("vide") + handler("soun")), true,
         MediaKindQuickTime, true, true, true},
        {"an MP4 whose movie box is further on", ftyp + box("mdat", Bytes(8, 0)), true, MediaKindQuickTime, false,
         false, false},
        {"an audio brand, the movie box further on", box("ftyp", bytesOf("M4A ") + Bytes(4, 0) + bytesOf("isom")),
         true, MediaKindQuickTime, true, false, true},
        {"a cut type box", Bytes(ftyp.begin(), ftyp.begin() + 20), false},
        {"a cut type box padded with zeros", Bytes(ftyp.begin(), ftyp.begin() + 20) + Bytes(100, 0), false},
        {"an image type box", box("ftyp", bytesOf("heic") + Bytes(4, 0)), false},
        {"AIFF-C", bytesOf("FORM....AIFC"), true, MediaKindAiff, true, false, true},
        {"Ogg Vorbis", bytesOf("OggS") + Bytes{0, 2} + Bytes(20, 0) + Bytes{1, 30} + bytesOf("\x01vorbis") +
                           Bytes(23, 0),
         true, MediaKindUnknown, true, false, true},
        {"FLAC", bytesOf("fLaC") + Bytes(34, 0), true, MediaKindUnknown, true, false, true},
        {"Matroska", ebml, true, MediaKindUnknown, false, true, true},
    };
    for (const HeadCase& c : cases) {
        SCOPED_TRACE(c.what);
        ContentMatch m;
        ASSERT_EQ(c.matches, matchHeadMedia(c.bytes.data(), c.bytes.size(), &m));
        if (!c.matches)
            continue;
        EXPECT_EQ(c.kind, m.kind);
        EXPECT_EQ(c.audio, m.hasAudio);
        EXPECT_EQ(c.video, m.hasVideo);
        EXPECT_EQ(c.known, m.streamsKnown);
    }
}

// A header image whose tag hides the frames counts only under an MPEG audio
// name, and only while the frames that it does show fit.
TEST(ContentTests, namedHeadVouchesForFramesBehindATag)
{
    ContentMatch m;
    Bytes big = id3(100000) + mp3Frames(2);
    EXPECT_TRUE(matchHeadMediaNamed("C:\\a.b\\song.MP3", big.data(), 2048, &m));
    EXPECT_EQ(MediaKindMpeg, m.kind);
    EXPECT_TRUE(m.hasAudio);
    EXPECT_FALSE(matchHeadMediaNamed("song.wav", big.data(), 2048, &m));
    EXPECT_FALSE(matchHeadMediaNamed(nullptr, big.data(), 2048, &m));
    Bytes shown = id3(30) + mp3Frames(1) + Bytes(600, 0x55);
    EXPECT_FALSE(matchHeadMediaNamed("song.mp3", shown.data(), shown.size(), &m));
    Bytes cut = id3(30) + mp3Frames(2);
    EXPECT_TRUE(matchHeadMediaNamed("song.mpa", cut.data(), 100, &m));
    EXPECT_FALSE(matchHeadMediaNamed("song.mp3", bytesOf("ID3 text").data(), 8, &m));
    uint64_t end = 0;
    EXPECT_TRUE(id3v2TagEnd(big.data(), big.size(), &end));
    EXPECT_EQ(100010u, end);
    for (const char* name : {"a.mp3", "a.MP2", "x.y\\a.mpa", "a.Mp1"})
        EXPECT_TRUE(hasMpegAudioExtension(name)) << name;
    for (const char* name : {"a.mp4", "mp3", "a.mp3\\b", "a.mp3x", ""})
        EXPECT_FALSE(hasMpegAudioExtension(name)) << name;
}
