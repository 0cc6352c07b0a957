#include <gtest/gtest.h>
#include <windows.h>

#include <string.h>

#include <string>
#include <vector>

#include "MediaFiles.h"
#include "PlayerKeyBackup.h"
#include "PlayerRun.h"
#include "PluginHost.h"
#include "TestPaths.h"

// PLAYER.EXE and the plug-in as a user gets them: started and loaded from
// the folder that package-test.sh unpacked the zip into (PACKAGE_FOLDER),
// never from beside the tests.
namespace {

std::string fileVersion(const std::string& path)
{
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    std::vector<char> block(size + 1);
    char* text = nullptr;
    UINT length = 0;
    if (!size || !GetFileVersionInfoA(path.c_str(), 0, size, block.data()) ||
        !VerQueryValueA(block.data(), "\\StringFileInfo\\041104B0\\FileVersion", (void**)&text, &length))
        return "";
    return text;
}

// The machine a program or DLL is built for, from its PE header; 0 when unreadable.
WORD machineOf(const std::string& path)
{
    std::vector<unsigned char> bytes = readWholeFile(path);
    if (bytes.size() < 0x40)
        return 0;
    DWORD at = *(const DWORD*)&bytes[0x3C];
    if (at > bytes.size() - 6 || memcmp(&bytes[at], "PE\0\0", 4) != 0)
        return 0;
    return *(const WORD*)&bytes[at + 4];
}

class Package : public ::testing::Test {
protected:
    void SetUp() override
    {
        char name[MAX_PATH];
        DWORD n = GetEnvironmentVariableA("PACKAGE_FOLDER", name, MAX_PATH);
        ASSERT_TRUE(n > 0 && n < MAX_PATH) << "PACKAGE_FOLDER names no folder: run package-test.sh";
        folder = name;
        n = GetEnvironmentVariableA("PACKAGE_BINARIES", name, MAX_PATH);
        ASSERT_TRUE(n > 0 && n < MAX_PATH) << "PACKAGE_BINARIES names no binaries: run package-test.sh";
        binaries = name;
    }

    std::string folder;
    std::string binaries;  // the names, a blank between two
};

// The shipped package holds the i686 player and plug-in beside PIXAMOR.SPH;
// the package of the x86_64 suite holds x86_64 binaries only.
WORD expectedMachine(const std::string& name, bool shipped)
{
    if (name == "PIXAMOR.SPH" || (!shipped && sizeof(void*) == 8))
        return IMAGE_FILE_MACHINE_AMD64;
    return IMAGE_FILE_MACHINE_I386;
}

// Each binary carries the version; 32-bit viewers load the .spi, 64-bit
// viewers the .sph, which starts the player beside it.
TEST_F(Package, BothBinariesCarryTheVersion)
{
    bool shipped = binaries.find("PIXAMOR.SPI") != std::string::npos;
    for (size_t at = 0, end; at < binaries.size(); at = end + 1) {
        end = binaries.find(' ', at);
        end = end == std::string::npos ? binaries.size() : end;
        std::string name = binaries.substr(at, end - at);
        SCOPED_TRACE(name);
        EXPECT_EQ(PACKAGE_VERSION, fileVersion(folder + name));
        EXPECT_EQ(expectedMachine(name, shipped), machineOf(folder + name));
    }
}

// A fresh user's first file.
TEST_F(Package, ThePlayerPlaysAFileToItsEnd)
{
    killRunningPlayers();
    PlayerKeyBackup key;
    ASSERT_TRUE(key.clear());
    std::string temp = makeTempFolder();
    std::string sample = temp + "sample.wav";
    ASSERT_TRUE(writePcmWave(sample, 800));
    PlayerRun run(folder + "PLAYER.EXE");
    ASSERT_TRUE(run.start({sample}));
    ASSERT_TRUE(run.watchToEnd(INFINITE));
    EXPECT_TRUE(run.sawPlaying(sample, 1)) << run.story();
    removeTree(temp);
}

// A fresh user's viewer opens a wave: the plug-in shows the wave's type
// picture from its own folder and starts the player that sits beside it.
TEST_F(Package, ThePlugInShowsTheTypePictureAndStartsThePlayerBesideIt)
{
    killRunningPlayers();
    PlayerKeyBackup playerKey;
    PlayerKeyBackup pluginKey{"Software\\Malvoren\\Pixamor"};
    ASSERT_TRUE(playerKey.clear());
    ASSERT_TRUE(pluginKey.clear());
    std::string temp = makeTempFolder();
    std::string sample = temp + "sample.wav";
    ASSERT_TRUE(writePcmWave(sample, 800));
    {
        PluginHost host(folder + PluginFileName);
        ASSERT_TRUE(host.loaded());
        PluginHost::Received picture = host.picture(sample);
        ASSERT_EQ(0, picture.result);
        EXPECT_EQ("", picture.problem);
        EXPECT_TRUE(picture.bmp == readWholeFile(besideTests("WAVE.BMP"))) << picture.width << "x" << picture.height;
    }
    ASSERT_TRUE(waitForCurrentFile(sample, 1, INFINITE));
    // Ended before the settings are put back; a player already gone opens nothing.
    DWORD id = 0;
    GetWindowThreadProcessId(FindWindowA("PlayerControlClass", nullptr), &id);
    if (HANDLE player = OpenProcess(SYNCHRONIZE, FALSE, id)) {
        WaitForSingleObject(player, INFINITE);
        CloseHandle(player);
    }
    removeTree(temp);
}

} // namespace
