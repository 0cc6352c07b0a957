// The recognisers over real files written by sox and ffmpeg
// (tools/make-sample-media.sh, run by the build into build/win32/samples).
#include <gtest/gtest.h>

#include <windows.h>

#include <string.h>

#include <string>

#include "ContentTests.h"
#include "MediaContext.h"
#include "RecognitionSamples.h"
#include "TestPaths.h"

namespace {

struct Sample {
    const char* name;
    MediaKind kind;  // by content; Unknown when no content test takes it
    bool known;
    bool otherByBuffer;  // the buffer chain cannot see names or tags at the end
    const char* waveLabel;
    int byHead = -1;  // the kind that the tests of formats found by their heads give, -1 for none
};

const Sample samples[] = {
    {"pcm16.wav", MediaKindWave, true, false, "Wave"},
    {"ulaw.wav", MediaKindWave, true, false, "WaveWithCodec"},
    {"msadpcm.wav", MediaKindWave, true, false, "WaveWithCodec"},
    {"imaadpcm.wav", MediaKindWave, true, false, "WaveWithCodec"},
    {"sox-streamed.wav", MediaKindWave, true, false, nullptr},  // extensible format, tag 0xFFFE
    {"ffmpeg-streamed.wav", MediaKindWave, true, false, "Wave"},  // RIFF size 0xFFFFFFFF
    {"mp3-in-wave.wav", MediaKindMpeg, true, false, nullptr},
    {"clip.avi", MediaKindAvi, true, false, nullptr},
    {"song.mid", MediaKindMidi, true, false, nullptr},
    {"sound.aiff", MediaKindAiff, false, true, nullptr},
    {"sound.au", MediaKindAu, false, true, nullptr},
    {"tagged.mp3", MediaKindMpeg, false, false, nullptr, MediaKindMpeg},
    {"clip.mov", MediaKindQuickTime, false, true, nullptr},
    {"clip.rm", MediaKindRealMedia, false, true, nullptr},
    {"reference.ram", MediaKindRealMedia, false, false, nullptr},
    // Left to the engines by the first tests; the last ones find them by their heads.
    {"sound.aifc", MediaKindUnknown, false, false, nullptr, MediaKindAiff},
    {"untagged.mp3", MediaKindUnknown, false, false, nullptr, MediaKindMpeg},
    {"clip-ftyp.mov", MediaKindUnknown, false, false, nullptr, MediaKindQuickTime},
    {"clip.mpg", MediaKindUnknown, false, false, nullptr, MediaKindMpeg},
    {"clip.wma", MediaKindUnknown, false, false, nullptr, MediaKindWindowsMedia},
    {"picture.png", MediaKindUnknown, false, false, nullptr},
    {"picture.bmp", MediaKindUnknown, false, false, nullptr},
};

}  // namespace

TEST(RecognitionSamples, eachFileIsNamedByItsContent)
{
    std::string folder = sampleMediaFolder();
    if (folder.empty())
        GTEST_SKIP() << "no sample media: run tools/make-sample-media.sh (needs sox and ffmpeg)";
    MediaContext context;
    int found = 0;
    for (const Sample& s : samples) {
        std::string path = folder + s.name;
        if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES)
            continue;  // its tool or encoder was missing
        ++found;
        SCOPED_TRACE(s.name);
        EXPECT_EQ(s.kind, recognizeByContent(context, path.c_str()));
        EXPECT_EQ(s.known, context.isKnownMedia(path.c_str()) != FALSE);
        // The reference file is one line of text; the rest are binary.
        EXPECT_EQ(strcmp(s.name, "reference.ram") == 0, context.isTextFile(path.c_str()) != FALSE);
        if (s.kind == MediaKindWave) {
            ASSERT_TRUE(context.isWave(path.c_str()));
            EXPECT_STREQ(s.waveLabel, waveLabel(context.waveFormatTag()));
        }
        // The buffer chains on the first bytes agree with the file chains.
        BYTE head[1024];
        UINT size = readFileHead(path.c_str(), head, sizeof head);
        EXPECT_EQ(s.known, context.isKnownMediaBuffer(head, size) != FALSE);
        EXPECT_EQ(s.otherByBuffer || s.byHead >= 0, context.isOtherMediaBuffer(head, size) != FALSE);
        EXPECT_EQ(s.byHead >= 0, context.isMediaByHead(path.c_str()) != FALSE);
        EXPECT_TRUE(s.byHead < 0 || s.byHead == context.kind());
    }
    EXPECT_GT(found, 0);
    EXPECT_EQ(0, context.lock().depth());
}

// With a probe request an engine examines the accepted file's streams: the
// MCI device or the DirectShow device, which also names the kind from the
// first stream's media type.
TEST(RecognitionSamples, probesFindTheStreams)
{
    std::string folder = sampleMediaFolder();
    if (folder.empty())
        GTEST_SKIP() << "no sample media: run tools/make-sample-media.sh (needs sox and ffmpeg)";
    std::string avi = folder + "clip.avi", mov = folder + "clip.mov";
    if (GetFileAttributesA(avi.c_str()) == INVALID_FILE_ATTRIBUTES ||
        GetFileAttributesA(mov.c_str()) == INVALID_FILE_ATTRIBUTES)
        GTEST_SKIP() << "no clip.avi or clip.mov: ffmpeg could not write them";
    MediaContext context;
    context.setProbeRequests(1);
    for (int useDirectShow : {0, 1}) {
        SCOPED_TRACE(useDirectShow ? "DirectShow" : "MCI");
        context.setProbeWithDirectShow(useDirectShow);
        ASSERT_TRUE(context.isAvi(avi.c_str()));
        EXPECT_EQ(MediaKindAvi, context.kind());
        EXPECT_TRUE(context.hasAudio() && context.hasVideo());
        ASSERT_TRUE(context.isKnownMedia(avi.c_str()));
        EXPECT_TRUE(context.hasVideo());
        ASSERT_TRUE(context.isQuickTime(mov.c_str()));
        EXPECT_TRUE(context.hasVideo());
    }
    // The MCI probe leaves the kind of the content test.
    context.setProbeWithDirectShow(0);
    ASSERT_TRUE(context.isQuickTime(mov.c_str()));
    EXPECT_EQ(MediaKindQuickTime, context.kind());
    EXPECT_EQ(0, context.lock().depth());
}
