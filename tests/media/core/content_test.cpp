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
