#include <gtest/gtest.h>
#include <windows.h>
#include <tlhelp32.h>

#include <string>
#include <vector>

#include "MediaFiles.h"
#include "PlayerKeyBackup.h"
#include "PlayerProcess.h"
#include "PluginHost.h"
#include "RecognitionSamples.h"
#include "TestPaths.h"

namespace {

const char PluginKey[] = "Software\\Malvoren\\Pixamor";

// Each test starts from a fresh plug-in key (settings given per test) and
// gets both real keys back at the end; no player is left running.
class PluginE2e : public ::testing::Test {
protected:
    void SetUp() override
    {
        killRunningPlayers();
        samples = sampleMediaFolder();
        if (samples.empty())
            GTEST_SKIP() << "no sample media (tools/make-sample-media.sh writes them)";
        pluginKey.clear();
        folder = makeTempFolder();
    }
    void TearDown() override
    {
        killRunningPlayers();
        if (!folder.empty())
            removeTree(folder);
    }
    // A copy of a sample under another name in the test's folder.
    std::string sample(const char* name, const char* as)
    {
        std::string path = folder + as;
        EXPECT_TRUE(CopyFileA((samples + name).c_str(), path.c_str(), FALSE)) << name;
        return path;
    }
    void setting(const char* name, DWORD value, const char* subkey = "") { pluginKey.setNumber(name, value, subkey); }

    PlayerKeyBackup playerKey;
    PlayerKeyBackup pluginKey{PluginKey};
    std::string samples;
    std::string folder;
};

// The rows of a BMP file beside the tests, to tell which picture came.
std::vector<unsigned char> rowsOf(const std::vector<unsigned char>& bmp)
{
    if (bmp.size() < 14)
        return {};
    DWORD offset = *(const DWORD*)&bmp[10];
    return offset < bmp.size() ? std::vector<unsigned char>(bmp.begin() + offset, bmp.end())
                               : std::vector<unsigned char>();
}

bool shows(const PluginHost::Received& picture, const char* typeBitmap)
{
    return !picture.bmp.empty() && rowsOf(picture.bmp) == rowsOf(readWholeFile(besideTests(typeBitmap)));
}

int countPlayers()
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry = {sizeof entry};
    int count = 0;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
        count += lstrcmpiA(entry.szExeFile, "PLAYER.EXE") == 0;
    CloseHandle(snapshot);
    return count;
}

DWORD handleCount()
{
    DWORD count = 0;
    GetProcessHandleCount(GetCurrentProcess(), &count);
    return count;
}

} // namespace

// A viewer's questions about real media, images with a media extension, a
// playlist and noise: the verdict and the kind's picture, by full
// path with the head and by file.
TEST_F(PluginE2e, answersEachKindWithItsPicture)
{
    setting("PlayWhenOpen", 0);
    std::vector<unsigned char> noise(3000);
    for (size_t i = 0; i < noise.size(); ++i)
        noise[i] = (unsigned char)(i * 7919 % 251);
    writeBytes(folder + "noise.wav", noise);
    std::string wave = sample("pcm16.wav", "tone.WAV");
    writeBytes(folder + "list.m3u", wave.c_str(), wave.size());
    struct Case {
        std::string path;
        int verdict;
        const char* picture;  // null: no picture expected
    } cases[] = {
        {wave, 1, "WAVE.BMP"},
        {sample("msadpcm.wav", "adpcm.wav"), 1, "WAVECDC.BMP"},
        {sample("song.mid", "song.mid"), 1, "MIDI.BMP"},
        {sample("clip.avi", "clip.avi"), 1, "AVI.BMP"},
        {sample("tagged.mp3", "tagged.mp3"), 1, "MPEGA.BMP"},
        {sample("clip.mpg", "clip.mpg"), 1, "MPEGV.BMP"},
        {folder + "list.m3u", 1, "PLAYLIST.BMP"},
        {sample("picture.bmp", "picture.wav"), 0, nullptr},
        {sample("picture.jpg", "photo.wav"), 0, nullptr},
        {folder + "noise.wav", 0, nullptr},
    };
    PluginHost host;
    ASSERT_TRUE(host.loaded());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(c.verdict, host.isSupportedWithHead(c.path));
        if (!c.picture)
            continue;
        PluginHost::Received picture = host.picture(c.path);
        EXPECT_EQ(0, picture.result);
        EXPECT_EQ("", picture.problem);
        EXPECT_TRUE(shows(picture, c.picture));
        PluginHost::Received info = host.pictureInfo(c.path.c_str(), 0, 0);
        EXPECT_EQ(0, info.result);
        EXPECT_EQ(120, info.height);
        EXPECT_EQ(8, info.bitCount);
    }
}

// Names without their folder, with the head in memory or behind a file
// handle placed where the medium starts; a whole file in memory.
TEST_F(PluginE2e, takesHeadsOfNamesItCannotOpen)
{
    setting("PlayWhenOpen", 0);
    std::string wave = sample("pcm16.wav", "tone.wav");
    std::vector<unsigned char> archive(100, 'x');
    std::vector<unsigned char> bytes = readWholeFile(wave);
    archive.insert(archive.end(), bytes.begin(), bytes.end());
    writeBytes(folder + "archive.bin", archive);
    sample("picture.bmp", "picture.wav");
    PluginHost host;
    ASSERT_TRUE(host.loaded());
    std::string elsewhere = makeTempFolder();
    char previous[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, previous);
    SetCurrentDirectoryA(elsewhere.c_str());
    std::vector<unsigned char> head = readWholeFile(wave);
    head.resize(2048);
    EXPECT_EQ(1, host.isSupported("tone.wav", (DWORD)(UINT_PTR)head.data()));
    std::vector<unsigned char> image = readWholeFile(folder + "picture.wav");
    image.resize(2048);
    EXPECT_EQ(0, host.isSupported("picture.wav", (DWORD)(UINT_PTR)image.data()));
    EXPECT_EQ(0, host.isSupported("tone.wav", 0));
    HANDLE file = CreateFileA((folder + "archive.bin").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    SetFilePointer(file, 100, nullptr, FILE_BEGIN);
    EXPECT_EQ(1, host.isSupported("member.wav", (DWORD)(UINT_PTR)file));
    EXPECT_EQ(100u, SetFilePointer(file, 0, nullptr, FILE_CURRENT));
    CloseHandle(file);
    SetCurrentDirectoryA(previous);
    removeTree(elsewhere);

    PluginHost::Received picture = host.pictureFromMemory(bytes);
    EXPECT_EQ(0, picture.result);
    EXPECT_TRUE(shows(picture, "WAVE.BMP"));
    EXPECT_EQ(-1, host.pictureFromMemory(std::vector<unsigned char>(bytes.begin(), bytes.begin() + 3)).result);
    std::string list = wave + "\r\n";
    EXPECT_EQ(-1, host.pictureFromMemory(std::vector<unsigned char>(list.begin(), list.end())).result);
}

// The settings a user changes: known media refused, unknown media left to
// the raw PCM list; a type picture named in the registry, a lying one, and
// the built-in picture when the file is gone. A fresh key lists the
// predefined extensions and records the paths of the pictures used.
TEST_F(PluginE2e, followsSettingsAndFallsBackToTheBuiltInPicture)
{
    setting("PlayWhenOpen", 0);
    setting("PlayKnownFiles", 0);
    setting("TryUnknownFile", 0);
    std::string wave = sample("pcm16.wav", "tone.wav");
    std::string raw = folder + "tone.dat";
    writeBytes(raw, "\x80\x81\x82\x7f\x7e", 5);
    std::string lying = sample("picture.bmp", "lying.bmp");
    std::vector<unsigned char> bmp = readWholeFile(lying);
    *(LONG*)&bmp[18] = 1 << 30;  // a width whose rows pass the file's end
    writeBytes(lying, bmp);
    {
        PluginHost host;
        ASSERT_TRUE(host.loaded());
        EXPECT_EQ(0, host.isSupportedWithHead(raw));  // no extension record yet: not raw PCM
        EXPECT_EQ(0, host.isSupportedWithHead(wave));
    }
    pluginKey.setBinary("DAT", "", 0, "extension");  // a record of the wrong length: the default format
    pluginKey.setText("Audio", (samples + "picture.bmp").c_str(), "Bitmap\\RawPcm");
    pluginKey.setText("Audio", lying.c_str(), "Bitmap\\Wave");
    PluginHost host;
    EXPECT_EQ(1, host.isSupportedWithHead(raw));
    PluginHost::Received own = host.picture(raw);
    EXPECT_EQ(0, own.result);
    EXPECT_EQ(64, own.width);
    PluginHost::Received builtIn = host.picture(wave);
    EXPECT_EQ("", builtIn.problem);
    EXPECT_EQ(96, builtIn.width);
    EXPECT_EQ(4, builtIn.bitCount);

    HKEY accept;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Malvoren\\Pixamor\\Accept", 0, KEY_READ, &accept));
    DWORD values = 0;
    RegQueryInfoKeyA(accept, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr, nullptr, nullptr,
                     nullptr);
    RegCloseKey(accept);
    EXPECT_EQ(43u, values);
    pluginKey.setText("Audio", "", "Bitmap\\Wave");
    DeleteFileA(besideTests("PIXAMOR.CCH").c_str());
    EXPECT_TRUE(shows(host.picture(wave), "WAVE.BMP"));
    char path[MAX_PATH] = "";
    DWORD size = sizeof path;
    RegGetValueA(HKEY_CURRENT_USER, "Software\\Malvoren\\Pixamor\\Bitmap\\Wave", "Audio", RRF_RT_REG_SZ, nullptr, path,
                 &size);
    EXPECT_STREQ(besideTests("WAVE.BMP").c_str(), path);
}
