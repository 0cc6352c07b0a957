#include <gtest/gtest.h>
#include <windows.h>

#include <locale.h>

#include <cstring>
#include <string>
#include <vector>

#include "MediaFiles.h"
#include "PlayerKeyBackup.h"
#include "PlayerProcess.h"
#include "PluginHost.h"
#include "TestPaths.h"

// A copy of the plug-in with a stand-in player beside it: the player's whole
// command line for each engine choice, the repeat, rate and time settings, a
// memory image played from a temporary file, and the two settings that say
// whether a picture or a preview starts the player at all. Settings are read
// when the plug-in loads, so each row loads it afresh. The viewer's locale
// has a decimal comma, which the rate never takes.
TEST(PlayerCommand, carriesTheSettingsAndTheFile)
{
    ASSERT_NE(nullptr, setlocale(LC_ALL, "German"));
    PlayerKeyBackup pluginKey("Software\\Malvoren\\Pixamor");
    std::string folder = makeTempFolder();
    for (const char* name : {PluginFileName, "WAVE.BMP", "MIDI.BMP"})
        ASSERT_TRUE(CopyFileA(besideTests(name).c_str(), (folder + name).c_str(), FALSE)) << name;
    ASSERT_TRUE(CopyFileA(besideTests("fake_player.exe").c_str(), (folder + "PLAYER.EXE").c_str(), FALSE));
    std::string wave = folder + "tone.wav", midi = folder + "song.mid", recorded = folder + "command.txt";
    ASSERT_TRUE(writePcmWave(wave, 100));
    ASSERT_TRUE(writeBytes(midi, "MThd\0\0\0\6\0\0\0\1\0\x60MTrk\0\0\0\4\0\xFF\x2F\0", 26));
    std::vector<unsigned char> image = readWholeFile(wave);
    SetEnvironmentVariableA("TMP", nullptr);  // temporary files go beside the plug-in
    // The plug-in's processes join the test's job, as the test itself does: the
    // count of those started is exact as soon as a call returns.
    HANDLE job = CreateJobObjectA(nullptr, nullptr);
    ASSERT_TRUE(AssignProcessToJobObject(job, GetCurrentProcess()));
    auto processes = [job]() {
        JOBOBJECT_BASIC_ACCOUNTING_INFORMATION counts = {};
        QueryInformationJobObject(job, JobObjectBasicAccountingInformation, &counts, sizeof counts, nullptr);
        return counts;
    };

    const std::string player = "\"" + folder + "PLAYER.EXE\" ", tail = " -rate1.000000 -milliseconds5000 \"";
    const std::string directShow = "-NoTryByMci -TryByDirectShow -NoTryByDirectMusic -NormalClass ";
    const std::string others[] = {"-NoTryByMci -NoTryByDirectShow -TryByDirectMusic -NormalClass ",
                                  "-TryByMci -NoTryByDirectShow -NoTryByDirectMusic -NormalClass "};
    struct Row {
        std::vector<std::pair<const char*, DWORD>> settings;
        double rate;              // stored when not 0
        const std::string* file;  // null: the wave as a memory image
        bool preview;
        std::string command;      // up to the quoted file; empty: nothing starts
        DWORD rateBytes = sizeof(double);  // a stored ratio of another size reads as 1.0
    } rows[] = {
        {{}, 0, &wave, false, player + directShow + " -NoRepeat" + tail},
        {{{"UseDirectMusicForMidi", 1}, {"Repeat", 1}, {"Milliseconds", 0xFFFFFFFF}}, 2.0, &midi, false,
         player + others[0] + " -RepeatEach -rate1.000000 -milliseconds0 \""},
        {{{"UseDirectShow", 0}, {"SetPitch", 1}, {"Milliseconds", 1234}}, 1.25, &midi, false,
         player + others[1] + " -NoRepeat -rate1.250000 -milliseconds1234 \""},
        {{{"SetPitch", 1}}, 1.25, &wave, false, player + directShow + " -NoRepeat" + tail, 4},
        {{{"SetPitch", 1}}, 1.25, &wave, false, player + directShow + " -NoRepeat" + tail, 12},
        {{}, 0, nullptr, false, player + directShow + "-Delete -NoRepeat" + tail},
        {{{"PlayWhenPreview", 1}, {"PlayWhenOpen", 0}}, 0, &wave, true, player + directShow + " -NoRepeat" + tail},
        {{}, 0, &wave, true, ""},
        {{{"PlayWhenOpen", 0}, {"PlayWhenPreview", 1}}, 0, &wave, false, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.command.empty() ? "no player" : row.command);
        pluginKey.clear();
        for (const auto& setting : row.settings)
            pluginKey.setNumber(setting.first, setting.second);
        unsigned char rate[12] = {};
        memcpy(rate, &row.rate, sizeof row.rate);
        if (row.rate)
            pluginKey.setBinary("Rate", rate, row.rateBytes);
        DWORD before = processes().TotalProcesses;
        {
            PluginHost host(folder + PluginFileName);
            ASSERT_TRUE(host.loaded());
            EXPECT_EQ(0, (row.file ? host.picture(*row.file, row.preview)
                                   : host.pictureFromMemory(image, row.preview)).result);
        }
        EXPECT_EQ(before + !row.command.empty(), processes().TotalProcesses);
        if (row.command.empty())
            continue;
        std::vector<unsigned char> line;  // whole once the stand-in player has ended
        for (DWORD start = GetTickCount();
             (line.empty() || processes().ActiveProcesses > 1) && GetTickCount() - start < 30000; Sleep(20))
            line = readWholeFile(recorded);
        EXPECT_TRUE(DeleteFileA(recorded.c_str()));
        WIN32_FIND_DATAA found = {};
        FindClose(FindFirstFileA((folder + "WAVE*.wav").c_str(), &found));
        std::string file = row.file ? *row.file : folder + found.cFileName;
        EXPECT_EQ(row.command + file + "\"", std::string(line.begin(), line.end()));
        if (!row.file) {
            EXPECT_EQ(image, readWholeFile(file));
            EXPECT_TRUE(DeleteFileA(file.c_str())) << file;
        }
    }
    CloseHandle(job);
    removeTree(folder);
    setlocale(LC_ALL, "C");
}

// The plug-in and the real player in a folder whose name has a blank, with
// a program planted at the shorter path that an unquoted command line would
// start: the player starts and plays the file, and only it.
TEST(PlayerCommand, folderWithABlankStartsThePlayerOnTheFileAlone)
{
    killRunningPlayers();
    PlayerKeyBackup playerKey;
    PlayerKeyBackup pluginKey("Software\\Malvoren\\Pixamor");
    pluginKey.clear();
    std::string parent = makeTempFolder(), folder = parent + "Program Files\\";
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    for (const char* name : {PluginFileName, "WAVE.BMP", "PLAYER.EXE"})
        ASSERT_TRUE(CopyFileA(besideTests(name).c_str(), (folder + name).c_str(), FALSE)) << name;
    ASSERT_TRUE(CopyFileA(besideTests("fake_player.exe").c_str(), (parent + "Program.exe").c_str(), FALSE));
    std::string wave = folder + "tone.wav";
    ASSERT_TRUE(writePcmWave(wave, 3000));
    {
        PluginHost host(folder + PluginFileName);
        ASSERT_TRUE(host.loaded());
        EXPECT_EQ(0, host.picture(wave).result);
    }
    RunningPlayerState state = {};
    EXPECT_TRUE(waitForCurrentFile(wave, 1, 30000));
    EXPECT_TRUE(runningPlayerState(&state));
    EXPECT_EQ(1u, state.startedFiles);
    killRunningPlayers();
    EXPECT_FALSE(fileExists(parent + "command.txt"));
    removeTree(parent);
}

// A copy of the plug-in with no player beside it: the memory image and the
// converted raw PCM file it wrote for the player are deleted again, since no
// player is there to delete them.
TEST(PlayerCommand, noPlayerLeavesNoTemporaryFile)
{
    PlayerKeyBackup pluginKey("Software\\Malvoren\\Pixamor");
    pluginKey.clear();
    pluginKey.setNumber("TryUnknownFile", 0);
    pluginKey.setBinary("DAT", "", 0, "extension");
    std::string folder = makeTempFolder();
    for (const char* name : {PluginFileName, "WAVE.BMP", "RAWPCM.BMP"})
        ASSERT_TRUE(CopyFileA(besideTests(name).c_str(), (folder + name).c_str(), FALSE)) << name;
    std::string wave = folder + "tone.wav", raw = folder + "tone.dat";
    ASSERT_TRUE(writePcmWave(wave, 100));
    ASSERT_TRUE(writeBytes(raw, "\x80\x81\x82\x7f\x7e", 5));
    SetEnvironmentVariableA("TMP", nullptr);  // temporary files go beside the plug-in
    {
        PluginHost host(folder + PluginFileName);
        ASSERT_TRUE(host.loaded());
        EXPECT_EQ(0, host.pictureFromMemory(readWholeFile(wave)).result);
        EXPECT_EQ(0, host.picture(raw).result);
    }
    for (const char* pattern : {"WAVE*.wav", "RawPCM*.dat"}) {
        WIN32_FIND_DATAA found = {};
        HANDLE search = FindFirstFileA((folder + pattern).c_str(), &found);
        EXPECT_EQ(INVALID_HANDLE_VALUE, search) << found.cFileName;
        if (search != INVALID_HANDLE_VALUE)
            FindClose(search);
    }
    removeTree(folder);
}
