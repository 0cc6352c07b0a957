#include <gtest/gtest.h>
#include <windows.h>

#include <dshow.h>

#include <string>

#include "ComPtr.h"
#include "DirectShowProbe.h"
#include "DshowSamples.h"
#include "MediaContext.h"
#include "MediaFiles.h"
#include "TestPaths.h"

namespace {

struct TypeCase {
    const GUID* major;
    const GUID* sub;
    MediaKind kind;
};

MediaKind kindOf(const TypeCase& type)
{
    MediaKind kind = MediaKindText;
    EXPECT_TRUE(mediaKindOfType(*type.major, *type.sub, &kind));
    return kind;
}

TEST(MediaTypeKinds, FollowThePublishedIdentifiers)
{
    const TypeCase cases[] = {
        {&MEDIATYPE_Audio, &MEDIASUBTYPE_PCM, MediaKindWave},
        {&MEDIATYPE_Audio, &MEDIASUBTYPE_MPEG1Payload, MediaKindMpeg},
        {&MEDIATYPE_Audio, &MEDIASUBTYPE_MPEG1Packet, MediaKindMpeg},
        {&MEDIATYPE_Audio, &MEDIASUBTYPE_MPEG1AudioPayload, MediaKindUnknown},
        {&MEDIATYPE_Audio, &MEDIASUBTYPE_MPEG2_AUDIO, MediaKindMpeg},
        {&MEDIATYPE_Audio, &MEDIASUBTYPE_DOLBY_AC3, MediaKindMpeg},
        {&MEDIATYPE_MPEG2_PES, &GUID_NULL, MediaKindMpeg},
        {&MEDIATYPE_Stream, &MEDIASUBTYPE_Avi, MediaKindAvi},
        {&MEDIATYPE_Stream, &MEDIASUBTYPE_WAVE, MediaKindWave},
        {&MEDIATYPE_Stream, &MEDIASUBTYPE_AU, MediaKindAu},
        {&MEDIATYPE_Stream, &MEDIASUBTYPE_AIFF, MediaKindAiff},
        {&MEDIATYPE_Stream, &MEDIASUBTYPE_MPEG1Video, MediaKindMpeg},
        {&MEDIATYPE_Stream, &MEDIASUBTYPE_MPEG1System, MediaKindMpeg},
        {&MEDIATYPE_Stream, &MEDIASUBTYPE_MPEG1VideoCD, MediaKindMpeg},
        {&MEDIATYPE_Stream, &MEDIASUBTYPE_MPEG1Audio, MediaKindMpeg},
        {&MEDIATYPE_Stream, &MEDIASUBTYPE_QTMovie, MediaKindUnknown},
        {&MEDIATYPE_Stream, &MEDIASUBTYPE_MPEG1Packet, MediaKindUnknown},
        {&MEDIATYPE_Stream, &MEDIASUBTYPE_MPEG2_PROGRAM, MediaKindMpeg},
        {&MEDIATYPE_Stream, &MEDIASUBTYPE_MPEG2_TRANSPORT, MediaKindMpeg},
        {&MEDIATYPE_Video, &MEDIASUBTYPE_QTMovie, MediaKindQuickTime},
        {&MEDIATYPE_Video, &MEDIASUBTYPE_QTRpza, MediaKindQuickTime},
        {&MEDIATYPE_Video, &MEDIASUBTYPE_QTSmc, MediaKindQuickTime},
        {&MEDIATYPE_Video, &MEDIASUBTYPE_QTRle, MediaKindQuickTime},
        {&MEDIATYPE_Video, &MEDIASUBTYPE_QTJpeg, MediaKindQuickTime},
        {&MEDIATYPE_Video, &MEDIASUBTYPE_MPEG1Payload, MediaKindMpeg},
        {&MEDIATYPE_Video, &MEDIASUBTYPE_RGB24, MediaKindUnknown},
        {&MEDIATYPE_Video, &MEDIASUBTYPE_MPEG2_VIDEO, MediaKindMpeg},
        {&MEDIATYPE_Video, &MEDIASUBTYPE_DVD_SUBPICTURE, MediaKindMpeg},
        {&MEDIATYPE_Text, &MEDIASUBTYPE_MPEG1Packet, MediaKindUnknown},
        {&MEDIATYPE_Text, &MEDIASUBTYPE_DVD_LPCM_AUDIO, MediaKindMpeg},
        {&MEDIATYPE_Text, &MEDIATYPE_DVD_ENCRYPTED_PACK, MediaKindMpeg},
        {&MEDIATYPE_Text, &MEDIATYPE_DVD_NAVIGATION, MediaKindMpeg},
        {&MEDIATYPE_Text, &MEDIASUBTYPE_DVD_NAVIGATION_PCI, MediaKindMpeg},
        {&MEDIATYPE_Text, &MEDIASUBTYPE_DVD_NAVIGATION_DSI, MediaKindMpeg},
        {&MEDIATYPE_Text, &MEDIASUBTYPE_DVD_NAVIGATION_PROVIDER, MediaKindMpeg},
        {&GUID_NULL, &GUID_NULL, MediaKindUnknown},
    };
    for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(cases[i].kind, kindOf(cases[i]));
    }
}

class DirectShowProbe : public ::testing::Test {
protected:
    void SetUp() override
    {
        context.setProbeRequests(1);
        context.setProbeWithDirectShow(1);
    }
    MediaContext context;
};

TEST_F(DirectShowProbe, FindsKindAndStreamsOfEachSample)
{
    // The kinds are those of the source filter's first stream as Wine's
    // reader gives it: a byte stream with a subtype found from the content.
    // Wine's reader has no QuickTime subtype, so a movie stays Unknown there.
    struct Sample {
        const char* name;
        MediaKind kind;
        BOOL audio;
        BOOL video;
    };
    const Sample samples[] = {
        {"dshow-pcm.wav", MediaKindWave, TRUE, FALSE},      {"dshow-adpcm.wav", MediaKindWave, TRUE, FALSE},
        {"dshow-tone.mp3", MediaKindMpeg, TRUE, FALSE},     {"dshow-mpeg1.mpg", MediaKindMpeg, TRUE, TRUE},
        {"dshow-rle.avi", MediaKindAvi, FALSE, TRUE},       {"dshow-rle-sound.avi", MediaKindAvi, TRUE, TRUE},
        {"dshow-movie.mov", MediaKindUnknown, TRUE, TRUE},
    };
    int probed = 0;
    for (const Sample& sample : samples) {
        std::string path = dshowSample(sample.name);
        if (!fileExists(path))
            continue;
        ++probed;
        SCOPED_TRACE(sample.name);
        ASSERT_TRUE(context.probeWithDirectShowEngine(path.c_str()));
        EXPECT_EQ(sample.kind, context.kind());
        EXPECT_EQ(sample.audio, context.hasAudio());
        EXPECT_EQ(sample.video, context.hasVideo());
        // Nothing stays open after a probe.
        ComPtr<IGraphBuilder> graph;
        EXPECT_FALSE(context.directShowDevice().graph(graph.out()));
    }
    if (!probed)
        GTEST_SKIP() << "no samples (tools/make-dshow-media.sh writes them)";
}

TEST_F(DirectShowProbe, ReadsTheFirstStreamOfTheOpenFileOnly)
{
    REQUIRE_DSHOW_SAMPLE(path, "dshow-rle.avi");
    DirectShowDevice& device = context.directShowDevice();
    ASSERT_TRUE(device.open(path.c_str()));
    EXPECT_TRUE(context.readFirstStreamType(path.c_str()));
    context.classifyMediaType();
    EXPECT_EQ(MediaKindAvi, context.kind());
    EXPECT_FALSE(context.hasAudio());
    EXPECT_TRUE(context.hasVideo());
    // Another file is not in the graph.
    EXPECT_FALSE(context.readFirstStreamType(dshowSample("dshow-pcm.wav").c_str()));
    EXPECT_FALSE(context.readFirstStreamType(nullptr));
    device.close();
    // With nothing read, an earlier file's types are not used again.
    EXPECT_FALSE(context.readFirstStreamType(path.c_str()));
    context.classifyMediaType();
    EXPECT_EQ(MediaKindUnknown, context.kind());
}

// "テスト.wav" in the Japanese code page: the path reaches the graph and the
// source filter through the system code page.
TEST_F(DirectShowProbe, ReadsAFileWithANameInTheSystemCodePage)
{
    REQUIRE_DSHOW_SAMPLE(path, "dshow-rle-sound.avi");
    std::string folder = makeTempFolder();
    std::string named = folder + "\x83\x65\x83\x58\x83\x67.avi";
    ASSERT_TRUE(CopyFileA(path.c_str(), named.c_str(), FALSE));
    EXPECT_TRUE(context.probeWithDirectShowEngine(named.c_str()));
    EXPECT_EQ(MediaKindAvi, context.kind());
    EXPECT_TRUE(context.hasAudio());
    EXPECT_TRUE(context.hasVideo());
    removeTree(folder);
}

TEST_F(DirectShowProbe, RefusesWhatItCannotOpen)
{
    EXPECT_FALSE(context.probeWithDirectShowEngine(nullptr));
    std::string folder = makeTempFolder();
    EXPECT_FALSE(context.probeWithDirectShowEngine((folder + "missing.avi").c_str()));
    const char text[] = "RIFF is only a word here\r\n";
    ASSERT_TRUE(writeBytes(folder + "words.avi", text, sizeof text - 1));
    EXPECT_FALSE(context.probeWithDirectShowEngine((folder + "words.avi").c_str()));
    removeTree(folder);
}

TEST_F(DirectShowProbe, HandsTheDvdSettingToTheDevice)
{
    REQUIRE_DSHOW_SAMPLE(path, "dshow-pcm.wav");
    context.setEnableDvd(1);
    EXPECT_TRUE(context.probeWithDirectShowEngine(path.c_str()));
    EXPECT_TRUE(context.directShowDevice().dvdEnabled());
    EXPECT_EQ(MediaKindWave, context.kind());
    context.setEnableDvd(0);
    EXPECT_TRUE(context.probeWithDirectShowEngine(path.c_str()));
    EXPECT_FALSE(context.directShowDevice().dvdEnabled());
}

} // namespace
