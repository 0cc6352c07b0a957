#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "MediaFiles.h"
#include "PlayerKeyBackup.h"
#include "PluginHost.h"
#include "TestPaths.h"

namespace {

const char MidiBytes[] = "MThd\0\0\0\6\0\0\0\1\0\x60MTrk\0\0\0\4\0\xFF\x2F\0";

// The plug-in's processes join the test's job: their count is exact as soon
// as the call returns, also for a player that has already ended.
JOBOBJECT_BASIC_ACCOUNTING_INFORMATION processes(HANDLE job)
{
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION counts = {};
    QueryInformationJobObject(job, JobObjectBasicAccountingInformation, &counts, sizeof counts, nullptr);
    return counts;
}

std::string firstMatch(const std::string& folder, const char* pattern)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + pattern).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return "";
    FindClose(search);
    return folder + found.cFileName;
}

} // namespace

// A copy of the plug-in with a stand-in player beside it: the player's whole
// command line for each engine choice, the repeat, rate and time settings, a
// memory image played from a temporary file, and the two settings that say
// whether a picture or a preview starts the player at all. Settings are read
// when the plug-in loads, so each row loads it afresh.
TEST(PlayerCommand, carriesTheSettingsAndTheFile)
{
    PlayerKeyBackup pluginKey("Software\\Malvoren\\Pixamor");
    std::string folder = makeTempFolder();
    for (const char* pattern : {"*.BMP", "PIXAMOR.SPI"}) {
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA(besideTests(pattern).c_str(), &found);
        ASSERT_NE(INVALID_HANDLE_VALUE, search) << pattern;
        do
            CopyFileA(besideTests(found.cFileName).c_str(), (folder + found.cFileName).c_str(), FALSE);
        while (FindNextFileA(search, &found));
        FindClose(search);
    }
    ASSERT_TRUE(CopyFileA(besideTests("fake_player.exe").c_str(), (folder + "PLAYER.EXE").c_str(), FALSE));
    std::string wave = folder + "tone.wav", midi = folder + "song.mid";
    ASSERT_TRUE(writePcmWave(wave, 100));
    ASSERT_TRUE(writeBytes(midi, MidiBytes, sizeof MidiBytes - 1));
    std::vector<unsigned char> image = readWholeFile(wave);
    char tmp[MAX_PATH] = "";
    GetEnvironmentVariableA("TMP", tmp, sizeof tmp);
    SetEnvironmentVariableA("TMP", nullptr);  // temporary files then go beside the plug-in
    HANDLE job = CreateJobObjectA(nullptr, nullptr);
    ASSERT_TRUE(AssignProcessToJobObject(job, GetCurrentProcess()));

    const std::string player = folder + "PLAYER.EXE ", tail = " -rate1.000000 -milliseconds5000 \"";
    const std::string mci = "-TryByMci -NoTryByDirectShow -NoTryByDirectMusic -NormalClass ";
    const std::string directShow = "-NoTryByMci -TryByDirectShow -NoTryByDirectMusic -NormalClass ";
    const std::string directMusic = "-NoTryByMci -NoTryByDirectShow -TryByDirectMusic -NormalClass ";
    struct Row {
        std::vector<std::pair<const char*, DWORD>> settings;
        double rate;            // stored when not 0
        const std::string* file;  // null: the wave as a memory image
        bool preview;
        std::string command;    // up to the quoted file; empty: nothing starts
    } rows[] = {
        {{}, 0, &wave, false, player + directShow + " -NoRepeat" + tail},
        {{{"UseDirectMusicForMidi", 1}, {"Repeat", 1}, {"Milliseconds", 0xFFFFFFFF}}, 2.0, &midi, false,
         player + directMusic + " -RepeatEach -rate1.000000 -milliseconds0 \""},
        {{{"UseDirectShow", 0}, {"SetPitch", 1}, {"Milliseconds", 1234}}, 1.25, &midi, false,
         player + mci + " -NoRepeat -rate1.250000 -milliseconds1234 \""},
        {{}, 0, nullptr, false, player + directShow + "-Delete -NoRepeat" + tail},
        {{{"PlayWhenPreview", 1}, {"PlayWhenOpen", 0}}, 0, &wave, true, player + directShow + " -NoRepeat" + tail},
        {{}, 0, &wave, true, ""},
        {{{"PlayWhenOpen", 0}, {"PlayWhenPreview", 1}}, 0, &wave, false, ""},
    };
    std::string recorded = folder + "command.txt";
    for (const Row& row : rows) {
        SCOPED_TRACE(row.command.empty() ? "no player" : row.command);
        pluginKey.clear();
        for (const auto& setting : row.settings)
            pluginKey.setNumber(setting.first, setting.second);
        if (row.rate)
            pluginKey.setBinary("Rate", &row.rate, sizeof row.rate);
        DWORD before = processes(job).TotalProcesses;
        {
            PluginHost host(folder + "PIXAMOR.SPI");
            ASSERT_TRUE(host.loaded());
            PluginHost::Received picture =
                row.file ? host.picture(*row.file, row.preview) : host.pictureFromMemory(image, row.preview);
            EXPECT_EQ(0, picture.result);
        }
        if (row.command.empty()) {
            EXPECT_EQ(before, processes(job).TotalProcesses);
            continue;
        }
        // The line is whole once the stand-in player has ended (the test is in the job too).
        std::vector<unsigned char> line;
        for (DWORD start = GetTickCount();
             (line.empty() || processes(job).ActiveProcesses > 1) && GetTickCount() - start < 30000; Sleep(20))
            line = readWholeFile(recorded);
        EXPECT_TRUE(DeleteFileA(recorded.c_str()));
        EXPECT_EQ(before + 1, processes(job).TotalProcesses);
        std::string file = row.file ? *row.file : firstMatch(folder, "WAVE*.wav");
        EXPECT_EQ(row.command + file + "\"", std::string(line.begin(), line.end()));
        if (!row.file) {
            EXPECT_EQ(image, readWholeFile(file));
            EXPECT_TRUE(DeleteFileA(file.c_str())) << file;
        }
    }
    CloseHandle(job);
    SetEnvironmentVariableA("TMP", tmp[0] ? tmp : nullptr);
    removeTree(folder);
}
