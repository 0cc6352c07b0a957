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
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    int count = 0;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
        count += lstrcmpiA(entry.szExeFile, "PLAYER.EXE") == 0;
    CloseHandle(snapshot);
    return count;
}

// Support questions asked over and over on a thread of their own, two names
// in turn so that none is answered from the cache, until told to stop.
struct SupportQuestions {
    const PluginHost* host;
    std::string names[2];
    volatile LONG stop;
};

DWORD WINAPI askSupportQuestions(LPVOID parameter)
{
    SupportQuestions* questions = static_cast<SupportQuestions*>(parameter);
    for (unsigned i = 0; !questions->stop; ++i)
        questions->host->isSupportedWithHead(questions->names[i % 2]);
    return 0;
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

// Media that only their heads name, as ffmpeg and sox write them: each is
// supported by its name and 2 KB head from another folder, and pictured from
// the whole file in memory and from its path, with the kind's picture of the
// streams that the head (or, in file mode, a probe) finds. Near misses get
// nothing in any mode.
TEST_F(PluginE2e, namesMediaByTheirHeadsInEveryMode)
{
    setting("PlayWhenOpen", 0);
    std::vector<unsigned char> stray(3000);
    for (size_t i = 0; i < stray.size(); ++i)
        stray[i] = (unsigned char)(i * 7919 % 251);
    const unsigned char sync[] = {0xFF, 0xFB, 0x90, 0x64};
    std::copy(sync, sync + 4, stray.begin() + 100);
    writeBytes(folder + "stray.mp3", stray);
    writeBytes(folder + "text.mp3", "ID3 tags begin most MP3 files.\r\n", 32);
    writeBytes(folder + "cut.mp4", "\0\0\0\x20" "ftypisom\0\0\2\0isom", 20);
    sample("picture.png", "picture.mp3");
    struct Row {
        const char* sample;
        const char* inMemory;  // null: refused in every mode
        const char* onDisk;
        bool probeDecides = false;  // on disk the device probe has the last word
    } rows[] = {
        {"head-system.mpg", "MPEG.BMP", "MPEG.BMP"},
        {"head-video.mpv", "MPEGV.BMP", "MPEGV.BMP"},
        {"head-transport.ts", "MPEG.BMP", "MPEG.BMP"},
        {"head-id3.mp3", "MPEGA.BMP", "MPEGA.BMP"},
        {"clip.wma", "WMA.BMP", "WMA.BMP"},
        {"head-clip.wmv", "WM.BMP", "WM.BMP"},
        // The movie box at the end: only the whole file or a probe tells the tracks.
        {"head-clip.mp4", "QT.BMP", "QT.BMP"},
        {"head-sound.m4a", "QTA.BMP", "QTA.BMP"},
        {"head-sound.ogg", "DSHOWA.BMP", "DSHOWA.BMP"},
        {"head-sound.flac", "DSHOWA.BMP", "DSHOWA.BMP"},
        {"head-clip.webm", "DSHOW.BMP", "DSHOW.BMP"},
        {"head-clip.mkv", "DSHOW.BMP", "DSHOW.BMP"},
        {"sound.aifc", "AIFF.BMP", "AIFF.BMP"},
        // Wine's probe takes this noise for playable now and then.
        {"stray.mp3", nullptr, nullptr, true},
        {"text.mp3", nullptr, nullptr},
        {"cut.mp4", nullptr, nullptr},
        {"picture.mp3", nullptr, nullptr},
    };
    PluginHost host;
    ASSERT_TRUE(host.loaded());
    std::string elsewhere = makeTempFolder();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.sample);
        std::string path = folder + row.sample;
        if (!fileExists(path) && !fileExists(samples + row.sample))
            continue;  // its encoder was missing
        if (!fileExists(path))
            sample(row.sample, row.sample);
        std::vector<unsigned char> bytes = readWholeFile(path), head = bytes;
        head.resize(2048);
        char previous[MAX_PATH];
        GetCurrentDirectoryA(MAX_PATH, previous);
        SetCurrentDirectoryA(elsewhere.c_str());
        EXPECT_EQ(row.inMemory ? 1 : 0, host.isSupported(row.sample, (ULONG_PTR)head.data()));
        SetCurrentDirectoryA(previous);
        PluginHost::Received memory = host.pictureFromMemory(bytes);
        EXPECT_EQ(row.inMemory ? 0 : -1, memory.result);
        EXPECT_TRUE(!row.inMemory || shows(memory, row.inMemory)) << row.inMemory;
        if (row.probeDecides)
            continue;
        EXPECT_EQ(row.onDisk ? 1 : 0, host.isSupportedWithHead(path));
        PluginHost::Received disk = host.picture(path);
        EXPECT_EQ(row.onDisk ? 0 : -1, disk.result);
        EXPECT_TRUE(!row.onDisk || shows(disk, row.onDisk)) << row.onDisk;
    }
    removeTree(elsewhere);
}

// With frames shown, a file whose tracks its head does not name has its
// frame looked for before its streams are probed: a video gives its frame,
// a sound still the picture of the streams that the probe then finds.
TEST_F(PluginE2e, looksForAFrameBeforeProbingTheStreams)
{
    setting("PlayWhenOpen", 0);
    setting("ShowImage", 1);
    PluginHost host;
    ASSERT_TRUE(host.loaded());
    struct Row {
        const char* sample;
        const char* typePicture;  // null: a frame
    } rows[] = {{"sound.mp4", "QTA.BMP"}, {"head-clip.mp4", nullptr}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.sample);
        if (!fileExists(samples + row.sample))
            continue;  // its encoder was missing
        PluginHost::Received disk = host.picture(sample(row.sample, row.sample));
        ASSERT_EQ(0, disk.result);
        EXPECT_EQ(row.typePicture ? 8 : 24, disk.bitCount);
        EXPECT_TRUE(!row.typePicture || shows(disk, row.typePicture));
    }
}

// Names without their folder, with the head in memory or behind a file
// handle placed where the medium starts; whole files in memory.
TEST_F(PluginE2e, takesHeadsOfNamesItCannotOpen)
{
    setting("PlayWhenOpen", 0);
    std::string wave = sample("pcm16.wav", "tone.wav");
    std::vector<unsigned char> archive(100, 'x');
    std::vector<unsigned char> bytes = readWholeFile(wave);
    archive.insert(archive.end(), bytes.begin(), bytes.end());
    writeBytes(folder + "archive.bin", archive);
    struct Case {
        std::string path;
        const char* name;
        int verdict;
        const char* picture;  // from the whole file in memory; null: none
    } cases[] = {
        {wave, "tone.wav", 1, "WAVE.BMP"},
        {sample("clip.avi", "clip.avi"), "clip.avi", 1, "AVIU.BMP"},
        {sample("clip.mpg", "clip.mpg"), "clip.mpg", 1, nullptr},
        {sample("picture.bmp", "picture.wav"), "picture.wav", 0, nullptr},
    };
    PluginHost host;
    ASSERT_TRUE(host.loaded());
    std::string elsewhere = makeTempFolder();
    char previous[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, previous);
    SetCurrentDirectoryA(elsewhere.c_str());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<unsigned char> whole = readWholeFile(c.path);
        EXPECT_EQ(c.verdict, host.isSupported(c.name, HeadImage(whole).address()));
        if (c.picture) {
            EXPECT_TRUE(shows(host.pictureFromMemory(whole), c.picture));
        }
    }
    EXPECT_EQ(0, host.isSupported("tone.wav", 0));
    HANDLE file = CreateFileA((folder + "archive.bin").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    SetFilePointer(file, 100, nullptr, FILE_BEGIN);
    EXPECT_EQ(1, host.isSupported("member.wav", (ULONG_PTR)file));
    EXPECT_EQ(100u, SetFilePointer(file, 0, nullptr, FILE_CURRENT));
    CloseHandle(file);
    SetCurrentDirectoryA(previous);
    removeTree(elsewhere);

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
    DWORD accepted = 0, value = 0, valueSize = sizeof value;
    char name[16];
    for (DWORD i = 0, length = sizeof name;
         RegEnumValueA(accept, i, name, &length, nullptr, nullptr, (BYTE*)&value, &valueSize) == ERROR_SUCCESS;
         ++i, length = sizeof name, valueSize = sizeof value)
        accepted += value == 1;
    RegCloseKey(accept);
    EXPECT_EQ(55u, accepted);
    pluginKey.setText("Audio", "", "Bitmap\\Wave");
    DeleteFileA(besideTests("PIXAMOR.CCH").c_str());
    EXPECT_TRUE(shows(host.picture(wave), "WAVE.BMP"));
    char path[MAX_PATH] = "";
    DWORD size = sizeof path;
    RegGetValueA(HKEY_CURRENT_USER, "Software\\Malvoren\\Pixamor\\Bitmap\\Wave", "Audio", RRF_RT_REG_SZ, nullptr, path,
                 &size);
    EXPECT_STREQ(besideTests("WAVE.BMP").c_str(), path);
}

// A second viewer process gets the verdict from the cache while the file is
// unchanged, even though recognition would now refuse it; a touched file is
// examined afresh.
TEST_F(PluginE2e, cacheAnswersAnotherProcessUntilTheFileChanges)
{
    setting("PlayWhenOpen", 0);
    std::string wave = sample("pcm16.wav", "tone.wav");
    {
        PluginHost host;
        ASSERT_EQ(1, host.isSupportedWithHead(wave));
    }
    setting("PlayKnownFiles", 0);
    auto askInAnotherProcess = [&]() {
        std::string command = "\"" + besideTests("plugin_host_probe.exe") + "\" \"" + wave + "\"";
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process = {};
        if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
            return (DWORD)-1;
        WaitForSingleObject(process.hProcess, INFINITE);
        DWORD code = (DWORD)-1;
        GetExitCodeProcess(process.hProcess, &code);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        return code;
    };
    EXPECT_EQ(1u, askInAnotherProcess());
    // Rewritten in place with the same size, as a tag edit does. Wine derives
    // a file's creation time from its last write; a real volume keeps it,
    // which the stored creation time brought up to date stands in for: only
    // the write time then tells that the file changed.
    std::vector<unsigned char> bytes = readWholeFile(wave);
    HANDLE file = CreateFileA(wave.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(file, bytes.data(), (DWORD)bytes.size(), &written, nullptr));
    FILETIME later = {0x12345678, 0x01D00000}, created;
    SetFileTime(file, nullptr, nullptr, &later);
    GetFileTime(file, &created, nullptr, nullptr);
    CloseHandle(file);
    ASSERT_TRUE(pluginKey.setBinary("Created", &created, sizeof created, "Cache\\Openable"));
    EXPECT_EQ(0u, askInAnotherProcess());
}

// While another viewer holds the cached picture file open, a new picture
// cannot replace it: the next question about the new file gets its own
// picture, never the one the file still holds.
TEST_F(PluginE2e, cacheNeverHandsOutAPictureItCouldNotWrite)
{
    setting("PlayWhenOpen", 0);
    std::string wave = sample("pcm16.wav", "tone.wav");
    std::string midi = sample("song.mid", "song.mid");
    PluginHost host;
    ASSERT_TRUE(shows(host.picture(wave), "WAVE.BMP"));
    HANDLE reader = CreateFileA(besideTests("PIXAMOR.CCH").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, reader);
    EXPECT_TRUE(shows(host.picture(midi), "MIDI.BMP"));
    EXPECT_TRUE(shows(host.picture(midi), "MIDI.BMP"));
    CloseHandle(reader);
}

// A viewer that asks whether files are supported on one thread while it
// builds the picture of a video on another: the questions must not change
// how the picture's recognition examines the video's streams. Questions
// about one file alone, whose verdict each picture of the video replaces,
// never leave that file with the video's picture.
TEST_F(PluginE2e, supportQuestionsOnAnotherThreadLeaveAPictureAlone)
{
    setting("PlayWhenOpen", 0);
    std::string video = sample("clip.avi", "clip.avi"), wave = sample("pcm16.wav", "one.wav");
    PluginHost host;
    ASSERT_TRUE(host.loaded());
    for (const std::string& other : {sample("pcm16.wav", "two.wav"), wave}) {
        SupportQuestions questions = {&host, {wave, other}, 0};
        HANDLE thread = CreateThread(nullptr, 0, askSupportQuestions, &questions, 0, nullptr);
        ASSERT_NE(nullptr, thread);
        int wrong = 0;
        for (int i = 0; i < 8; ++i) {
            wrong += !shows(host.picture(video), "AVI.BMP");
            wrong += other == wave && !shows(host.picture(wave), "WAVE.BMP");
        }
        InterlockedExchange(&questions.stop, 1);
        WaitForSingleObject(thread, INFINITE);
        CloseHandle(thread);
        EXPECT_EQ(0, wrong) << other;
    }
}

// The one temporary file matching pattern in folder plays and is deleted by
// the player afterwards.
void expectPlayedAndDeleted(const std::string& folder, const char* pattern)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + pattern).c_str(), &found);
    ASSERT_NE(INVALID_HANDLE_VALUE, search) << pattern;
    FindClose(search);
    std::string temporary = folder + found.cFileName;
    EXPECT_TRUE(waitForCurrentFile(temporary, 1, 30000)) << temporary;
    DWORD start = GetTickCount();
    while (fileExists(temporary) && GetTickCount() - start < 30000)
        Sleep(50);
    EXPECT_FALSE(fileExists(temporary));
    killRunningPlayers();
}

// With the player beside the plug-in and the default settings, a picture
// starts the player on the file, but not a second time while it plays; a
// memory image is written to a "WAVE*.wav" file that the player deletes, and
// so is a headerless PCM file converted to WAVE.
TEST_F(PluginE2e, pictureStartsThePlayerOnce)
{
    std::string wave = folder + "long.wav";
    ASSERT_TRUE(writePcmWave(wave, 4000));
    std::string raw = folder + "tone.dat";
    std::vector<unsigned char> samples(22050);
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = (unsigned char)(i / 25 % 2 ? 0xA0 : 0x60);
    writeBytes(raw, samples);
    // TMP names the test's folder until the test ends, also when it fails.
    struct TempFolder {
        explicit TempFolder(const std::string& folder) { SetEnvironmentVariableA("TMP", folder.c_str()); }
        ~TempFolder() { SetEnvironmentVariableA("TMP", nullptr); }
    } temp(folder);
    {
        PluginHost host;
        ASSERT_EQ(0, host.picture(wave).result);
        ASSERT_TRUE(waitForCurrentFile(wave, 1, 30000));
        ASSERT_EQ(0, host.picture(wave).result);
        EXPECT_EQ(1, countPlayers());
        killRunningPlayers();
        ASSERT_EQ(0, host.pictureFromMemory(readWholeFile(sample("pcm16.wav", "short.wav"))).result);
        expectPlayedAndDeleted(folder, "WAVE*.wav");
    }
    setting("TryUnknownFile", 0);
    pluginKey.setBinary("DAT", "", 0, "extension");
    PluginHost host;
    ASSERT_EQ(0, host.picture(raw).result);
    expectPlayedAndDeleted(folder, "RawPCM*.dat");
}

// Names in UTF-16 as today's viewers pass them. One that the code page holds
// answers as through the 8-bit entries; ones that it lacks (an emoji, Korean,
// a Latin letter outside it) reach the file through its short name: by name,
// and as a head or an image in memory. A picture of a WAVE starts the player
// on a name it opens, seen playing through the reply path.
TEST_F(PluginE2e, wideNamesReachTheFileAndThePlayer)
{
    setting("PlayWhenOpen", 0);
    const std::wstring wide = widened(folder);
    const std::string japanese = folder + "\x93\xfa\x96\x7b\x8c\xea.wav";  // in the code page
    struct Case {
        const char* sample;
        std::wstring path;
        const char* picture;
        const char* inMemory;  // a memory image tells no AVI's streams
        bool played;
    } cases[] = {
        {"pcm16.wav", wide + L"tone \U0001F3B5.wav", "WAVE.BMP", "WAVE.BMP", true},
        {"tagged.mp3", wide + L"\uD55C\uAE00.mp3", "MPEGA.BMP", "MPEGA.BMP", false},
        {"clip.avi", wide + L"caf\u0151.avi", "AVI.BMP", "AVIU.BMP", false},
        {"pcm16.wav", widened(japanese), "WAVE.BMP", "WAVE.BMP", true},
    };
    {
        PluginHost host;
        ASSERT_TRUE(host.loaded());
        for (const Case& c : cases) {
            SCOPED_TRACE(c.sample);
            ASSERT_TRUE(CopyFileW(widened(samples + c.sample).c_str(), c.path.c_str(), FALSE));
            EXPECT_EQ(1, host.isSupportedWide(c.path, 0));
            PluginHost::Received picture = host.pictureWide(c.path);
            EXPECT_EQ(0, picture.result);
            EXPECT_EQ("", picture.problem);
            EXPECT_TRUE(shows(picture, c.picture));
            // A member of an archive: a name that does not open, with the head
            // in memory or nothing.
            std::wstring member = c.path.substr(0, c.path.size() - 4) + L"\\member" + c.path.substr(c.path.size() - 4);
            std::vector<unsigned char> bytes = readWholeFile(samples + c.sample), head = bytes;
            head.resize(2048);
            EXPECT_EQ(1, host.isSupportedWide(member, (ULONG_PTR)head.data()));
            EXPECT_EQ(0, host.isSupportedWide(member, 0));
            EXPECT_EQ(-1, host.pictureWide(member).result);
            EXPECT_TRUE(shows(host.pictureWideFromMemory(bytes), c.inMemory));
        }
        EXPECT_EQ(1, host.isSupported(japanese.c_str(), 0));
    }
    pluginKey.clear();
    PluginHost host;
    for (const Case& c : cases) {
        if (!c.played)
            continue;
        std::string opened = shortNameOf(c.path);
        ASSERT_NE("", opened);
        if (c.path == widened(japanese))
            opened = japanese;
        ASSERT_EQ(0, host.pictureWide(c.path).result);
        EXPECT_TRUE(waitForCurrentFile(opened, 1, 30000)) << opened;
        killRunningPlayers();
    }
}

// Bad input gets 0 or -1 and leaves no handle or block behind.
TEST_F(PluginE2e, refusesBadInputCleanly)
{
    setting("PlayWhenOpen", 0);
    std::string empty = folder + "empty.wav";
    writeBytes(empty, "", 0);
    CreateDirectoryA((folder + "folder.wav").c_str(), nullptr);
    std::string longName = folder + std::string(300, 'a') + ".wav";
    std::string directory = folder + "folder.wav";
    const char* names[] = {nullptr, "", longName.c_str(), directory.c_str(), "NUL", "COM1.wav", empty.c_str(),
                           "noextension"};
    PluginHost host;
    ASSERT_TRUE(host.loaded());
    UINT_PTR handles = nextHandle();
    BYTE head[2048] = {};
    for (const char* name : names) {
        SCOPED_TRACE(name ? name : "(null)");
        EXPECT_EQ(0, host.isSupported(name, 0));
        EXPECT_EQ(0, host.isSupported(name, (ULONG_PTR)head));
        EXPECT_EQ(-1, host.picture(name ? name : "").result);
        EXPECT_EQ(-1, host.pictureInfo(name, 0, 0).result);
    }
    HLOCAL info = nullptr;
    EXPECT_EQ(-1, host.getPicture("abc", 3, 1, &info, nullptr));
    EXPECT_EQ(-1, host.getPicture(sample("pcm16.wav", "tone.wav").c_str(), 0, 0, nullptr, &info));
    EXPECT_EQ(nullptr, info);
    EXPECT_EQ(-1, host.pictureInfo(nullptr, 3, 1).result);
    EXPECT_EQ(-1, host.configurationDialog(nullptr, 0));
    EXPECT_EQ(handles, nextHandle());

    // A cached picture file that lies about its size but whose stamp matches
    // the cache entry is not believed: the picture is built afresh.
    std::string wave = folder + "tone.wav";
    ASSERT_TRUE(shows(host.picture(wave), "WAVE.BMP"));
    std::string cached = besideTests("PIXAMOR.CCH");
    std::vector<unsigned char> lying = readWholeFile(cached);
    ASSERT_GT(lying.size(), 54u);
    *(WORD*)&lying[28] = 7;  // a bit count of 7
    writeBytes(cached, lying);
    WIN32_FILE_ATTRIBUTE_DATA stamp;
    ASSERT_TRUE(GetFileAttributesExA(cached.c_str(), GetFileExInfoStandard, &stamp));
    setting("ImageSize", stamp.nFileSizeLow, "Cache\\Openable");
    pluginKey.setBinary("ImageCreated", &stamp.ftCreationTime, 8, "Cache\\Openable");
    pluginKey.setBinary("ImageLastWritten", &stamp.ftLastWriteTime, 8, "Cache\\Openable");
    PluginHost::Received again = host.picture(wave);
    EXPECT_EQ("", again.problem);
    EXPECT_TRUE(shows(again, "WAVE.BMP"));
}

// A name whose extension is not accepted is refused without being opened. A
// pipe server sees each opening of its name as a client that connects: the
// pipe named ".bin" sees none, the same pipe named ".wav" (accepted, opened,
// then refused for its empty head) sees one.
TEST(PluginRefusal, refusedExtensionOpensNothing)
{
    PlayerKeyBackup pluginKey(PluginKey);
    pluginKey.clear();
    PluginHost host;
    ASSERT_TRUE(host.loaded());
    BYTE head[2048] = {};
    for (const char* extension : {".wav", ".bin"}) {
        SCOPED_TRACE(extension);
        std::string name = "\\\\.\\pipe\\pixamor-" + std::to_string(GetCurrentProcessId()) + extension;
        HANDLE pipe = CreateNamedPipeA(name.c_str(), PIPE_ACCESS_OUTBOUND | FILE_FLAG_OVERLAPPED, PIPE_TYPE_BYTE, 1,
                                       0, 0, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, pipe);
        OVERLAPPED connect = {};
        connect.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        ConnectNamedPipe(pipe, &connect);
        EXPECT_EQ(0, host.isSupported(name.c_str(), (ULONG_PTR)head));
        // An open completes the connection before CreateFile returns.
        DWORD none;
        EXPECT_EQ(strcmp(extension, ".wav") == 0, !!GetOverlappedResult(pipe, &connect, &none, FALSE));
        CancelIo(pipe);
        GetOverlappedResult(pipe, &connect, &none, TRUE);
        CloseHandle(connect.hEvent);
        CloseHandle(pipe);
    }
}
