#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "Bytes.h"
#include "ContentTests.h"
#include "MediaContext.h"
#include "MediaFiles.h"
#include "TestPaths.h"

namespace {

using Bytes = std::vector<unsigned char>;

Bytes bytesOf(const std::string& text) { return Bytes(text.begin(), text.end()); }

Bytes riffHeader(const char* form, uint32_t riffSize, uint16_t tag = 1)
{
    Bytes b = bytesOf(std::string("RIFF....") + form + "fmt ....\x01");
    b.resize(22);
    writeLe32(&b[4], riffSize);
    writeLe16(&b[20], tag);
    return b;
}

Bytes midiFile(uint32_t headerLength, const char* chunkAt14)
{
    Bytes b = bytesOf("MThd");
    b.resize(14, 0);
    b[7] = (unsigned char)headerLength;
    b[4] = (unsigned char)(headerLength >> 24);
    b[5] = (unsigned char)(headerLength >> 16);
    b[6] = (unsigned char)(headerLength >> 8);
    Bytes chunk = bytesOf(chunkAt14);
    b.insert(b.end(), chunk.begin(), chunk.end());
    return b;
}

class Recognition : public ::testing::Test {
protected:
    void SetUp() override { folder = makeTempFolder(); }
    void TearDown() override
    {
        EXPECT_EQ(0, context.lock().depth());
        // The playlist test moves into the list's folder; leave it so it can go.
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        SetCurrentDirectoryA(temp);
        removeTree(folder);
        EXPECT_FALSE(fileExists(folder));
    }

    std::string file(const char* name, const Bytes& bytes)
    {
        std::string path = folder + name;
        EXPECT_TRUE(writeBytes(path, bytes));
        return path;
    }
    std::string file(const char* name, const std::string& text) { return file(name, bytesOf(text)); }

    std::string streams() const
    {
        if (context.hasAudio() && context.hasVideo())
            return "Both";
        return context.hasAudio() ? "Audio" : context.hasVideo() ? "Video" : "Unknown";
    }

    // Every file test, for files that none of them may take.
    void rejectedByEveryTest(const std::string& path)
    {
        const char* p = path.c_str();
        EXPECT_FALSE(context.isKnownMedia(p)) << path;
        EXPECT_FALSE(context.isWaveMpeg(p) || context.isRiffMp3(p) || context.isWave(p) || context.isCdxa(p) ||
                     context.isAvi(p) || context.isMidi(p) || context.isCdda(p))
            << path;
        EXPECT_FALSE(context.isQuickTime(p) || context.isRealMedia(p) || context.isAiff(p) || context.isAu(p) ||
                     context.hasTrackTag(p))
            << path;
    }

    MediaContext context;
    std::string folder;
};

TEST_F(Recognition, knownChainOnFiles)
{
    std::string wave = folder + "tone.wav";
    ASSERT_TRUE(writePcmWave(wave, 100));
    ASSERT_TRUE(context.isKnownMedia(wave.c_str()));
    EXPECT_EQ(MediaKindWave, context.kind());
    EXPECT_EQ(1, context.waveFormatTag());
    EXPECT_EQ("Audio", streams());

    Bytes mpegWave = riffHeader("WAVE", 100, 0x55);
    mpegWave.resize(108);
    std::string mp = file("mpeg.wav", mpegWave);
    ASSERT_TRUE(context.isKnownMedia(mp.c_str()));
    EXPECT_EQ(MediaKindMpeg, context.kind());
    EXPECT_EQ(0x55, context.waveFormatTag());
    EXPECT_TRUE(context.isWave(mp.c_str()));
    EXPECT_EQ(MediaKindWave, context.kind());

    struct {
        const char* form;
        MediaKind kind;
        const char* streams;
    } forms[] = {{"RMP3", MediaKindMpeg, "Audio"}, {"CDXA", MediaKindCdxa, "Unknown"},
                 {"AVI ", MediaKindAvi, "Unknown"}, {"RMID", MediaKindMidi, "Audio"},
                 {"CDDA", MediaKindCdda, "Audio"}};
    for (auto& f : forms) {
        std::string path = file("riff.bin", bytesOf(std::string("RIFF\x04\0\0\0", 8) + f.form));
        EXPECT_TRUE(context.isKnownMedia(path.c_str())) << f.form;
        EXPECT_EQ(f.kind, context.kind()) << f.form;
        EXPECT_EQ(f.streams, streams()) << f.form;
    }
    EXPECT_TRUE(context.isCdda(file("track01.cda", bytesOf("RIFF....CDDAfmt ")).c_str()));
    EXPECT_TRUE(context.isAvi(file("a.avi", bytesOf("RIFF....AVI LIST")).c_str()));
    EXPECT_FALSE(context.isAvi(file("b.avi", bytesOf("RIFF....AVI")).c_str()));
}

TEST_F(Recognition, waveSizeRule)
{
    // RIFF size = file size - 8, as every writer leaves it.
    Bytes exact = riffHeader("WAVE", 92);
    exact.resize(100);
    EXPECT_TRUE(context.isWave(file("exact.wav", exact).c_str()));

    // More than 14 bytes beyond the RIFF size: only with "data" at offset R.
    Bytes longer = riffHeader("WAVE", 40);
    longer.resize(63);
    EXPECT_FALSE(context.isWave(file("long.wav", longer).c_str()));
    memcpy(&longer[40], "data", 4);
    EXPECT_TRUE(context.isWave(file("long.wav", longer).c_str()));
    longer.resize(62);
    memcpy(&longer[40], "junk", 4);
    EXPECT_TRUE(context.isWave(file("long.wav", longer).c_str()));

    // Streaming writers leave huge sizes: past the end, so accepted.
    for (uint32_t size : {0xFFFFFFFFu, 0xFFFFFFFCu, 0x7FFFF000u}) {
        Bytes streamed = riffHeader("WAVE", size);
        streamed.resize(200);
        EXPECT_TRUE(context.isWave(file("streamed.wav", streamed).c_str())) << size;
    }
    // The buffer variant has no size rule.
    EXPECT_TRUE(context.isWave(longer.data(), (UINT)longer.size()));
    EXPECT_FALSE(context.isWave(longer.data(), 21));
}

TEST_F(Recognition, midiTrackChunkIsReadFromTheFile)
{
    EXPECT_TRUE(context.isMidi(file("a.mid", midiFile(6, "MTrk")).c_str()));
    EXPECT_EQ(MediaKindMidi, context.kind());
    EXPECT_EQ("Audio", streams());
    EXPECT_FALSE(context.isMidi(file("b.mid", midiFile(6, "MTrx")).c_str()));
    EXPECT_FALSE(context.isMidi(file("c.mid", midiFile(6, "MT")).c_str()));
    // The file holds only 18 bytes: too short for the buffer rule.
    Bytes b = midiFile(6, "MTrk");
    EXPECT_FALSE(context.isMidi(b.data(), (UINT)b.size()));
    b.resize(23);
    EXPECT_TRUE(context.isMidi(b.data(), (UINT)b.size()));
    // Lengths whose sum with 8 passes 2^32 are past any end.
    for (uint32_t length : {0xFFFFFFF8u, 0xFFFFFFFFu, 0x7FFFFFFFu})
        EXPECT_FALSE(context.isMidi(file("d.mid", midiFile(length, "MTrkMTrkMTrk")).c_str())) << length;
    EXPECT_TRUE(context.isMidi(file("e.rmi", bytesOf("RIFF....RMIDdata")).c_str()));
    EXPECT_TRUE(context.isKnownMedia(file("f.mid", midiFile(6, "MTrk")).c_str()));
}

TEST_F(Recognition, otherFormatsOnFiles)
{
    EXPECT_TRUE(context.isQuickTime(file("a.mov", bytesOf(std::string("\0\0\0\x08mdat", 8))).c_str()));
    EXPECT_EQ(MediaKindQuickTime, context.kind());
    EXPECT_FALSE(context.isQuickTime(file("b.mov", bytesOf(std::string("\0\0\0\x08mda", 7))).c_str()));
    EXPECT_TRUE(context.isAiff(file("a.aif", bytesOf("FORM....AIFFCOMM")).c_str()));
    EXPECT_EQ(MediaKindAiff, context.kind());
    EXPECT_TRUE(context.isAu(file("a.au", bytesOf(".snd")).c_str()));
    EXPECT_EQ(MediaKindAu, context.kind());

    ASSERT_TRUE(context.isOtherMedia(file("c.aif", bytesOf("FORM....AIFF")).c_str()));
    EXPECT_EQ(MediaKindAiff, context.kind());
    ASSERT_TRUE(context.isOtherMedia(file("c.mov", bytesOf(std::string("\0\0\0\x10moov", 8))).c_str()));
    EXPECT_EQ(MediaKindQuickTime, context.kind());
    EXPECT_EQ("Unknown", streams());
    // Files that two tests take, most of them ending with a version 1 tag, go
    // to the earlier test of the chain.
    Bytes tag(128, ' ');
    memcpy(&tag[0], "TAG", 3);
    const struct {
        const char* name;
        std::string head;
        MediaKind kind;
    } claimedTwice[] = {{"t.aif", "FORM....AIFF", MediaKindAiff},
                        {"t.au", ".snd", MediaKindAu},
                        {"t.mov", std::string("\0\0\0\x08mdat", 8), MediaKindQuickTime},
                        {"t.ra", ".ra\xFD", MediaKindRealMedia},
                        {"snd.mov", ".sndmdat", MediaKindQuickTime}};
    for (const auto& c : claimedTwice) {
        Bytes bytes = bytesOf(c.head);
        bytes.insert(bytes.end(), tag.begin(), tag.end());
        ASSERT_TRUE(context.isOtherMedia(file(c.name, bytes).c_str())) << c.name;
        EXPECT_EQ(c.kind, context.kind()) << c.name;
    }
    // A line list counts the entries that exist.
    ASSERT_TRUE(writePcmWave(folder + "a.wav", 10) && writePcmWave(folder + "b.wav", 10));
    ASSERT_TRUE(context.isOtherMedia(file("list.m3u", "a.wav\r\nb.wav\r\n").c_str()));
    EXPECT_EQ(MediaKindPlayList, context.kind());
    EXPECT_EQ(2u, context.playlistEntryCount());
    EXPECT_FALSE(context.isOtherMedia(file("notes.txt", "a.wav\r\n").c_str()));
}

TEST_F(Recognition, realMediaFilesAndReferences)
{
    std::string address = "  rtsp://media.example/clip.rm\r\n";
    ASSERT_TRUE(context.isRealMedia(file("x.ram", address).c_str()));
    EXPECT_EQ(MediaKindRealMedia, context.kind());
    EXPECT_EQ("Unknown", streams());
    EXPECT_FALSE(context.isRealMedia(file("x.txt", address).c_str()));
    EXPECT_TRUE(context.isOtherMedia(file("y.RMM", address).c_str()));

    ASSERT_TRUE(context.isRealMedia(file("x.dat", bytesOf(".ra\xFD\0\0")).c_str()));
    EXPECT_EQ("Audio", streams());
    ASSERT_TRUE(context.isRealMedia(file("x.rm", bytesOf(std::string(".RMF\0\0\0\x12", 8))).c_str()));
    EXPECT_EQ("Unknown", streams());

    // The first word may come after more than one block of blanks.
    EXPECT_TRUE(context.isRealMedia(file("far.ram", std::string(3000, ' ') + "http://a/b").c_str()));
    EXPECT_FALSE(context.isRealMedia(file("blank.ram", std::string(2500, '\n')).c_str()));
    // Zeros end the search for the first word: no later block is read.
    EXPECT_FALSE(context.isRealMedia(file("zeros.ra", std::string(3000, '\0') + ".ra\xFD").c_str()));
    EXPECT_FALSE(context.isRealMedia(file("short.ra", std::string(".r")).c_str()));
}

TEST_F(Recognition, trackTagAtEitherEnd)
{
    Bytes tail(300, 0xFF);
    memcpy(&tail[300 - 128], "TAG", 3);
    ASSERT_TRUE(context.hasTrackTag(file("tail.mp3", tail).c_str()));
    EXPECT_EQ(MediaKindMpeg, context.kind());
    EXPECT_EQ("Audio", streams());
    EXPECT_TRUE(context.hasTrackTag(file("head.mp3", bytesOf("TAG")).c_str()));
    EXPECT_TRUE(context.isOtherMedia(file("tail2.mp3", tail).c_str()));

    Bytes shortTail(127, 0xFF);
    memcpy(&shortTail[0] + 100, "TAG", 3);
    EXPECT_FALSE(context.hasTrackTag(file("short.mp3", shortTail).c_str()));
    EXPECT_FALSE(context.hasTrackTag(file("ta.mp3", bytesOf("TA")).c_str()));
    tail[300 - 128] = 'X';
    EXPECT_FALSE(context.hasTrackTag(file("none.mp3", tail).c_str()));
}

TEST_F(Recognition, textFilesInTheJapaneseCodePage)
{
    ASSERT_EQ(932u, GetACP()) << "the tests run with the Japanese code page";
    ASSERT_TRUE(context.isTextFile(file("empty.txt", std::string()).c_str()));
    EXPECT_EQ(MediaKindText, context.kind());
    EXPECT_EQ("Unknown", streams());
    // Kanji, single-byte kana, tabs and line ends.
    EXPECT_TRUE(context.isTextFile(file("ja.txt", "\x93\xFA\x96\x7B\x8C\xEA\t\xB6\xC5\r\nabc\n").c_str()));
    EXPECT_TRUE(context.isTextFile(file("cut.txt", "abc\x82").c_str()));
    EXPECT_FALSE(context.isTextFile(file("pair.txt", "abc\x82\n").c_str()));
    EXPECT_FALSE(context.isTextFile(file("zero.txt", std::string("a\0b", 3)).c_str()));
    EXPECT_FALSE(context.isTextFile(file("ff.txt", "abc\x0C").c_str()));
    // Trail bytes are 40-7E and 80-FC; A0 and FD-FF are no characters.
    EXPECT_TRUE(context.isTextFile(file("trail.txt", "\x81\x40\x9F\xFC\x81\x80").c_str()));
    EXPECT_FALSE(context.isTextFile(file("del.txt", "\x82\x7F").c_str()));
    EXPECT_FALSE(context.isTextFile(file("a0.txt", "abc\xA0").c_str()));
    EXPECT_FALSE(context.isTextFile(file("fd.txt", "abc\xFD").c_str()));

    std::string wave = folder + "tone.wav";
    ASSERT_TRUE(writePcmWave(wave, 50));
    EXPECT_FALSE(context.isTextFile(wave.c_str()));
    // Only the first 10240 bytes are looked at.
    std::string longText(20000, 'a');
    longText[15000] = '\0';
    EXPECT_TRUE(context.isTextFile(file("long.txt", longText).c_str()));
    longText[10239] = '\0';
    EXPECT_FALSE(context.isTextFile(file("long.txt", longText).c_str()));
}

TEST_F(Recognition, badInputIsRejected)
{
    rejectedByEveryTest(folder + "missing.wav");
    rejectedByEveryTest(folder);
    rejectedByEveryTest(folder.substr(0, folder.size() - 1));
    rejectedByEveryTest(file("empty.wav", Bytes()));
    rejectedByEveryTest(file("riff11.wav", bytesOf("RIFF....WAV")));
    Bytes cut = riffHeader("WAVE", 14);
    cut.pop_back();
    rejectedByEveryTest(file("riff21.wav", cut));
    rejectedByEveryTest(file("mthd.mid", bytesOf("MThd\0\0")));
    EXPECT_FALSE(context.isKnownMedia(nullptr));
    EXPECT_FALSE(context.isOtherMedia(nullptr));
    EXPECT_FALSE(context.isTextFile(nullptr));
    EXPECT_FALSE(context.isTextFile(folder.c_str()));
    // Device names are no files: the null device reads as empty.
    EXPECT_FALSE(context.isTextFile("NUL"));
    EXPECT_FALSE(context.isTextFile((folder + "nul.txt").c_str()));
    rejectedByEveryTest("NUL");
    EXPECT_FALSE(context.probeWithMci(nullptr));
    EXPECT_FALSE(context.isKnownMediaBuffer(nullptr, 64));
    EXPECT_FALSE(context.isOtherMediaBuffer(nullptr, 64));
    EXPECT_FALSE(context.isOtherMedia(file("plain.bin", Bytes(64, 0x01)).c_str()));
}

TEST_F(Recognition, filesAreClosedOnEveryPath)
{
    // A file can be deleted only when no handle is left open on it.
    const Bytes contents[] = {riffHeader("WAVE", 92), riffHeader("WAVE", 4), bytesOf("RIFF....AVI "),
                              midiFile(6, "MTrk"), midiFile(6, "xxxx"), bytesOf(std::string(2000, ' ') + "x"),
                              bytesOf("TAG"), Bytes(500, 'a'), Bytes()};
    for (const Bytes& bytes : contents) {
        std::string path = file("probe.bin", bytes);
        const char* p = path.c_str();
        context.isKnownMedia(p);
        context.isOtherMedia(p);
        context.isTextFile(p);
        context.hasTrackTag(p);
        context.isWave(p);
        context.isMidi(p);
        context.isRealMedia(p);
        EXPECT_TRUE(DeleteFileA(p)) << GetLastError();
    }
}

// A caller that holds the lock across a test and its reads sees its own
// file's verdict while another thread recognises other files.
TEST_F(Recognition, theLockKeepsAVerdictWithItsCaller)
{
    struct Worker {
        MediaContext* context;
        std::string path;
        MediaKind expected;
        LONG mismatches;
        static DWORD WINAPI run(void* argument)
        {
            Worker* w = static_cast<Worker*>(argument);
            for (int i = 0; i < 300; ++i) {
                LockScope hold(w->context->lock());
                if (!w->context->isKnownMedia(w->path.c_str()) || w->context->kind() != w->expected)
                    ++w->mismatches;
            }
            return 0;
        }
    };
    std::string wave = folder + "tone.wav";
    ASSERT_TRUE(writePcmWave(wave, 20));
    Worker workers[] = {{&context, wave, MediaKindWave, 0},
                        {&context, file("a.mid", midiFile(6, "MTrk")), MediaKindMidi, 0},
                        {&context, file("a.avi", bytesOf("RIFF....AVI ")), MediaKindAvi, 0}};
    HANDLE threads[3];
    for (int i = 0; i < 3; ++i)
        threads[i] = CreateThread(nullptr, 0, Worker::run, &workers[i], 0, nullptr);
    WaitForMultipleObjects(3, threads, TRUE, INFINITE);
    for (int i = 0; i < 3; ++i) {
        CloseHandle(threads[i]);
        EXPECT_EQ(0, workers[i].mismatches) << workers[i].path;
    }
}

TEST_F(Recognition, bufferVariantsRecordWhatTheyFound)
{
    Bytes wave = riffHeader("WAVE", 100, 2);
    ASSERT_TRUE(context.isKnownMediaBuffer(wave.data(), (UINT)wave.size()));
    EXPECT_EQ(MediaKindWave, context.kind());
    EXPECT_EQ(2, context.waveFormatTag());
    EXPECT_STREQ("WaveWithCodec", waveLabel(context.waveFormatTag()));
    Bytes mpeg = riffHeader("WAVE", 100, 0x50);
    ASSERT_TRUE(context.isWaveMpeg(mpeg.data(), (UINT)mpeg.size()));
    EXPECT_EQ(0x50, context.waveFormatTag());
    // A test that rejects leaves the recorded tag alone.
    Bytes avi = bytesOf("RIFF....AVI ");
    EXPECT_FALSE(context.isWave(avi.data(), (UINT)avi.size()));
    EXPECT_EQ(0x50, context.waveFormatTag());
    ASSERT_TRUE(context.isKnownMediaBuffer(avi.data(), (UINT)avi.size()));
    EXPECT_EQ(MediaKindAvi, context.kind());
    Bytes ra = bytesOf(".ra\xFD");
    ASSERT_TRUE(context.isOtherMediaBuffer(ra.data(), (UINT)ra.size()));
    EXPECT_EQ(MediaKindRealMedia, context.kind());
    EXPECT_FALSE(context.isOtherMediaBuffer(ra.data(), 3));
    EXPECT_FALSE(context.isKnownMediaBuffer(wave.data(), 11));
}

TEST_F(Recognition, probingKeepsTheAcceptedKind)
{
    // Without a probe request the streams are not examined.
    std::string avi = file("a.avi", bytesOf(std::string("RIFF\x04\0\0\0AVI ", 12)));
    ASSERT_TRUE(context.isAvi(avi.c_str()));
    EXPECT_EQ("Unknown", streams());
    // With one, a probe that cannot open the file (here a header that reads
    // as text, which the MCI probe refuses) leaves the test's verdict.
    context.setProbeRequests(1);
    context.setProbeWithDirectShow(0);
    std::string printable = file("text.avi", "RIFFabcdAVI LISTmore text");
    ASSERT_TRUE(context.isAvi(printable.c_str()));
    EXPECT_EQ(MediaKindAvi, context.kind());
    EXPECT_FALSE(context.probeWithMci(printable.c_str()));
    ASSERT_TRUE(context.isQuickTime(file("b.mov", "abcdmdatxyz").c_str()));
    EXPECT_EQ(MediaKindQuickTime, context.kind());
    ASSERT_TRUE(context.isKnownMedia(file("c.cdxa", "RIFFabcdCDXAxyz").c_str()));
    EXPECT_EQ(MediaKindCdxa, context.kind());
}

}  // namespace
