#include <gtest/gtest.h>

#include "MciDevice.h"

#include <digitalv.h>
#include <string>
#include <vector>

#include "AviFiles.h"
#include "CdAudio.h"
#include "MediaFiles.h"
#include "TestPaths.h"
#include "Winmm.h"

namespace {

// One MCI command as the device sent it, with the parameters that matter.
struct SentCommand {
    MCIDEVICEID device = 0;
    UINT message = 0;
    DWORD flags = 0;
    DWORD typeId = 0;          // MCI_OPEN by type number
    std::string typeName;      // MCI_OPEN by type name
    std::string element;       // MCI_OPEN
    DWORD from = 0, to = 0;    // MCI_PLAY, MCI_SEEK
    DWORD item = 0, track = 0; // MCI_STATUS
    DWORD timeFormat = 0, audio = 0;
    HWND window = nullptr;     // MCI_WINDOW
    UINT cmdShow = 0;
    RECT rect = {};            // MCI_PUT
    MCIERROR result = 0;
};

std::vector<SentCommand> sent;

// No drive exists here, so a CD drive is stood in for when a test asks: it
// answers every command to its own device id and passes the rest on.
const MCIDEVICEID cdDriveId = 0xCD;
bool cdDriveInserted = false;
bool cdDriveFailsStatus = false;
// Refuses length queries of any device, as some drivers do.
bool lengthUnknown = false;
DWORD cdMode = MCI_MODE_STOP;
const DWORD cdTrackLengthMsf = 3 | 25 << 8 | 40 << 16;

SentCommand describe(MCIDEVICEID device, UINT message, DWORD flags, DWORD_PTR params)
{
    SentCommand c;
    c.device = device;
    c.message = message;
    c.flags = flags;
    switch (message) {
    case MCI_OPEN: {
        auto* p = (MCI_OPEN_PARMSA*)params;
        if (flags & MCI_OPEN_TYPE_ID)
            c.typeId = (DWORD)(DWORD_PTR)p->lpstrDeviceType;
        else if (flags & MCI_OPEN_TYPE)
            c.typeName = p->lpstrDeviceType;
        if (flags & MCI_OPEN_ELEMENT)
            c.element = p->lpstrElementName;
        break;
    }
    case MCI_PLAY:
        c.from = ((MCI_PLAY_PARMS*)params)->dwFrom;
        c.to = ((MCI_PLAY_PARMS*)params)->dwTo;
        break;
    case MCI_SEEK:
        c.to = ((MCI_SEEK_PARMS*)params)->dwTo;
        break;
    case MCI_STATUS:
        c.item = ((MCI_STATUS_PARMS*)params)->dwItem;
        c.track = ((MCI_STATUS_PARMS*)params)->dwTrack;
        break;
    case MCI_SET:
        c.timeFormat = ((MCI_SET_PARMS*)params)->dwTimeFormat;
        c.audio = ((MCI_SET_PARMS*)params)->dwAudio;
        break;
    case MCI_WINDOW:
        c.window = ((MCI_DGV_WINDOW_PARMSA*)params)->hWnd;
        c.cmdShow = ((MCI_DGV_WINDOW_PARMSA*)params)->nCmdShow;
        break;
    case MCI_PUT:
        c.rect = ((MCI_DGV_PUT_PARMS*)params)->rc;
        break;
    }
    return c;
}

MCIERROR answerAsCdDrive(UINT message, DWORD_PTR params)
{
    switch (message) {
    case MCI_OPEN:
        ((MCI_OPEN_PARMSA*)params)->wDeviceID = cdDriveId;
        return 0;
    case MCI_STATUS: {
        auto* p = (MCI_STATUS_PARMS*)params;
        if (cdDriveFailsStatus)
            return MCIERR_HARDWARE;
        p->dwReturn = p->dwItem == MCI_STATUS_LENGTH     ? cdTrackLengthMsf
                      : p->dwItem == MCI_STATUS_POSITION ? makeTmsf(5, 1, 15, 0)
                                                         : cdMode;
        return 0;
    }
    case MCI_PLAY:
    case MCI_RESUME:
        cdMode = MCI_MODE_PLAY;
        return 0;
    case MCI_PAUSE:
        cdMode = MCI_MODE_PAUSE;
        return 0;
    case MCI_STOP:
    case MCI_CLOSE:
        cdMode = MCI_MODE_STOP;
        return 0;
    case MCI_SEEK:
    case MCI_SET:
        return 0;
    default:
        return MCIERR_UNSUPPORTED_FUNCTION;
    }
}

MCIERROR recordAndSend(MCIDEVICEID device, UINT message, DWORD_PTR flags, DWORD_PTR params)
{
    SentCommand c = describe(device, message, (DWORD)flags, params);
    bool forDrive = cdDriveInserted && (device == cdDriveId || c.typeId == MCI_DEVTYPE_CD_AUDIO);
    if (lengthUnknown && message == MCI_STATUS && c.item == MCI_STATUS_LENGTH)
        c.result = MCIERR_UNSUPPORTED_FUNCTION;
    else if (forDrive)
        c.result = answerAsCdDrive(message, params);
    else
        c.result = winmm::mciSendCommandA(device, message, flags, params);
    sent.push_back(c);
    return c.result;
}

std::vector<SentCommand> commandsOf(UINT message)
{
    std::vector<SentCommand> found;
    for (const SentCommand& c : sent)
        if (c.message == message)
            found.push_back(c);
    return found;
}

// Waits with the messages of this thread's windows flowing.
template <class Condition> bool waitUntil(Condition condition)
{
    for (DWORD start = GetTickCount(); GetTickCount() - start < 20000; Sleep(20)) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
        if (condition())
            return true;
    }
    return false;
}

class Mci : public ::testing::Test {
protected:
    void SetUp() override
    {
        sent.clear();
        cdDriveInserted = false;
        cdDriveFailsStatus = false;
        lengthUnknown = false;
        cdMode = MCI_MODE_STOP;
        folder = makeTempFolder();
        device.setCommandSender(recordAndSend);
    }
    void TearDown() override
    {
        device.close();
        removeTree(folder);
    }

    LONG position()
    {
        LONG seconds = -1;
        return device.getPosition(&seconds) ? seconds : -1;
    }

    std::vector<std::string> installedDevices()
    {
        std::vector<std::string> names;
        char name[256];
        for (UINT i = 0, n = device.deviceCount(); i < n && device.deviceName(i, name, sizeof name); ++i)
            names.push_back(name);
        return names;
    }

    std::string writeCda(uint16_t track)
    {
        unsigned char record[44] = {'R', 'I', 'F', 'F', 36, 0, 0, 0, 'C', 'D', 'D', 'A', 'f', 'm', 't', ' ', 24};
        record[20] = 1;
        record[22] = (unsigned char)track;
        std::string path = folder + "Track05.cda";
        return writeBytes(path, record, sizeof record) ? path : std::string();
    }

    std::string folder;
    MciDevice device;
};

TEST_F(Mci, waveFilePlaysPausesResumesSeeksAndCloses)
{
    std::string wave = folder + "tone.wav";
    ASSERT_TRUE(writePcmWave(wave, 4000));
    ASSERT_TRUE(device.open(wave.c_str()));

    std::vector<SentCommand> opens = commandsOf(MCI_OPEN);
    ASSERT_EQ(1u, opens.size());
    EXPECT_EQ(0x3200u, opens[0].flags);
    EXPECT_EQ(522u, opens[0].typeId);
    EXPECT_EQ(wave, opens[0].element);

    LONG length = 0;
    ASSERT_TRUE(device.getLength(&length));
    EXPECT_EQ(4, length);
    EXPECT_TRUE(device.hasAudio());
    EXPECT_FALSE(device.hasVideo());
    EXPECT_EQ(0, position());

    size_t before = sent.size();
    EXPECT_FALSE(device.play(TRUE)) << "pausing what never started";
    EXPECT_EQ(before, sent.size());

    ASSERT_TRUE(device.play(FALSE));
    EXPECT_TRUE(device.isPlaying());
    ASSERT_TRUE(waitUntil([&] { return position() >= 1; }));

    ASSERT_TRUE(device.play(TRUE));
    EXPECT_FALSE(device.isPlaying());
    LONG paused = position();
    before = sent.size();
    EXPECT_FALSE(device.stop()) << "a paused device stays paused";
    EXPECT_TRUE(commandsOf(MCI_STOP).empty());
    Sleep(1200);
    EXPECT_EQ(paused, position());

    ASSERT_TRUE(device.play(FALSE));
    EXPECT_TRUE(device.isPlaying());

    ASSERT_TRUE(device.seek(2));
    EXPECT_TRUE(device.isPlaying()) << "seek leaves the device playing";
    EXPECT_GE(position(), 2);
    std::vector<SentCommand> seeks = commandsOf(MCI_SEEK);
    ASSERT_EQ(1u, seeks.size());
    EXPECT_EQ(2000u, seeks[0].to);
    EXPECT_EQ(0xAu, seeks[0].flags);

    ASSERT_TRUE(device.stop());
    EXPECT_FALSE(device.isPlaying());
    ASSERT_TRUE(device.close());
    EXPECT_FALSE(device.close());
    EXPECT_FALSE(device.getLength(&length));
    EXPECT_FALSE(device.play(FALSE));
}

// Made by the build with sox when it is installed.
TEST_F(Mci, compressedWaveFilesPlay)
{
    for (const char* name : {"mci_mulaw.wav", "mci_adpcm.wav"}) {
        std::string path = besideTests(name);
        if (!fileExists(path))
            GTEST_SKIP() << name << " was not made";
        ASSERT_TRUE(device.open(path.c_str())) << name;
        LONG length = 0;
        ASSERT_TRUE(device.getLength(&length));
        EXPECT_EQ(3, length) << name;
        ASSERT_TRUE(device.play(FALSE)) << name;
        EXPECT_TRUE(waitUntil([&] { return position() >= 1; })) << name;
        EXPECT_TRUE(device.close()) << name;
    }
}

TEST_F(Mci, muteSwitchesAllChannels)
{
    std::string wave = folder + "tone.wav";
    ASSERT_TRUE(writePcmWave(wave, 2000));
    ASSERT_TRUE(device.open(wave.c_str()));
    ASSERT_TRUE(device.canMute());
    ASSERT_TRUE(device.play(FALSE));
    sent.clear();
    EXPECT_TRUE(device.setMute(TRUE));
    EXPECT_TRUE(device.setMute(FALSE));
    std::vector<SentCommand> sets = commandsOf(MCI_SET);
    ASSERT_EQ(2u, sets.size());
    EXPECT_EQ(0x4800u, sets[0].flags);
    EXPECT_EQ(0x2800u, sets[1].flags);
    EXPECT_EQ((DWORD)MCI_SET_AUDIO_ALL, sets[0].audio);
    EXPECT_TRUE(device.close());
    EXPECT_FALSE(device.setMute(TRUE));
}

TEST_F(Mci, openClosesThePreviousMedium)
{
    std::string first = folder + "first.wav";
    std::string second = folder + "second.wav";
    ASSERT_TRUE(writePcmWave(first, 3000));
    ASSERT_TRUE(writePcmWave(second, 1000));
    ASSERT_TRUE(device.open(first.c_str()));
    ASSERT_TRUE(device.play(FALSE));
    ASSERT_TRUE(device.open(second.c_str()));
    EXPECT_EQ(1u, commandsOf(MCI_CLOSE).size());
    LONG length = 0;
    ASSERT_TRUE(device.getLength(&length));
    EXPECT_EQ(1, length);
    EXPECT_FALSE(device.isPlaying());

    EXPECT_FALSE(device.open((folder + "missing.wav").c_str()));
    EXPECT_EQ(2u, commandsOf(MCI_CLOSE).size());
    EXPECT_FALSE(device.getLength(&length));
}

TEST_F(Mci, mediumOfUnknownLengthStillOpensAndPlays)
{
    std::string wave = folder + "tone.wav";
    ASSERT_TRUE(writePcmWave(wave, 2000));
    lengthUnknown = true;
    ASSERT_TRUE(device.open(wave.c_str()));
    LONG length = 0;
    ASSERT_TRUE(device.getLength(&length));
    EXPECT_EQ(-1, length);
    EXPECT_TRUE(device.play(FALSE));
    EXPECT_TRUE(device.isPlaying());
}

TEST_F(Mci, unreadableAndEmptyNamesFailWithoutCommands)
{
    std::string missing = folder + "missing.wav";
    std::string empty = folder + "empty.wav";
    ASSERT_TRUE(writeBytes(empty, "RIFF", 4));
    std::string everything[] = {"ActiveMovie"};
    std::vector<std::string> names = installedDevices();
    std::vector<char*> excluded;
    for (std::string& name : names)
        excluded.push_back(&name[0]);
    excluded.push_back(&everything[0][0]);
    device.setExcludedDevices(excluded.data(), (UINT)excluded.size());
    sent.clear();
    EXPECT_FALSE(device.probe(missing.c_str()));
    EXPECT_FALSE(device.open(empty.c_str()));
    EXPECT_FALSE(device.open(nullptr));
    EXPECT_FALSE(device.openWithDevice(missing.c_str(), MCI_DEVTYPE_WAVEFORM_AUDIO, 0));
    EXPECT_TRUE(commandsOf(MCI_OPEN).empty());
}

TEST_F(Mci, excludedDeviceIsNeverUsed)
{
    std::string wave = folder + "tone.wav";
    ASSERT_TRUE(writePcmWave(wave, 1000));
    char waveaudio[] = "WaveAudio";
    char* excluded[] = {waveaudio};
    device.setExcludedDevices(excluded, 1);
    device.open(wave.c_str());
    for (const SentCommand& open : commandsOf(MCI_OPEN)) {
        EXPECT_NE(522u, open.typeId);
        EXPECT_NE(0, lstrcmpiA("waveaudio", open.typeName.c_str()));
    }
    device.close();

    device.setExcludedDevices(nullptr, 0);
    sent.clear();
    ASSERT_TRUE(device.open(wave.c_str()));
    EXPECT_EQ(522u, commandsOf(MCI_OPEN).at(0).typeId);
}

TEST_F(Mci, unknownFileGoesToActiveMovieThenToEachOtherInstalledDevice)
{
    std::string text = folder + "notes.txt";
    ASSERT_TRUE(writeBytes(text, "nothing to play here", 20));
    std::vector<std::string> expected = {"ActiveMovie"};
    for (const std::string& name : installedDevices()) {
        bool builtIn = false;
        for (const char* b : {"waveaudio", "sequencer", "avivideo", "cdaudio", "ActiveMovie"})
            builtIn = builtIn || lstrcmpiA(b, name.c_str()) == 0;
        if (!builtIn)
            expected.push_back(name);
    }
    sent.clear();
    BOOL opened = device.probe(text.c_str());
    std::vector<std::string> tried;
    for (const SentCommand& open : commandsOf(MCI_OPEN)) {
        EXPECT_EQ(0x2200u, open.flags);
        EXPECT_EQ(text, open.element);
        tried.push_back(open.typeName);
    }
    if (opened)
        expected.resize(tried.size());
    EXPECT_EQ(expected, tried);
    // Whatever the outcome, the probe leaves nothing open.
    size_t accepted = 0;
    for (const SentCommand& open : commandsOf(MCI_OPEN))
        accepted += open.result == 0;
    EXPECT_EQ(accepted, commandsOf(MCI_CLOSE).size());
    EXPECT_FALSE(device.getLength(nullptr));
}

TEST_F(Mci, midiIsTakenBySequencerAndFailsCleanly)
{
    const unsigned char midi[] = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96,
                                  'M', 'T', 'r', 'k', 0, 0, 0, 12, 0, 0x90, 60, 64, 96, 0x80, 60, 64, 0, 0xFF, 0x2F, 0};
    std::string path = folder + "tune.mid";
    ASSERT_TRUE(writeBytes(path, midi, sizeof midi));
    char activeMovie[] = "ActiveMovie";
    char* excluded[] = {activeMovie};
    device.setExcludedDevices(excluded, 1);
    ASSERT_TRUE(device.probe(path.c_str()));
    sent.clear();
    if (device.open(path.c_str())) {
        EXPECT_EQ(523u, commandsOf(MCI_OPEN).at(0).typeId);
        device.play(FALSE);
        EXPECT_TRUE(device.close());
    }
    EXPECT_FALSE(device.getLength(nullptr));
}

TEST_F(Mci, cdTrackFailsCleanlyWithoutADrive)
{
    std::string cda = writeCda(5);
    DWORD_PTR type = 0;
    DWORD flags = 0;
    ASSERT_TRUE(device.readCdTrack(cda.c_str(), &type, &flags));
    EXPECT_EQ(5u << 16 | 516u, type);
    EXPECT_EQ(0x3200u, flags);
    EXPECT_FALSE(device.readCdTrack((folder + "none.cda").c_str(), &type, &flags));

    EXPECT_FALSE(device.open(cda.c_str()));
    EXPECT_EQ(1u, commandsOf(MCI_OPEN).size());
    EXPECT_FALSE(device.getLength(nullptr));
    EXPECT_FALSE(device.play(FALSE));
    EXPECT_FALSE(device.close());
}

struct CdTrackRead {
    MciDevice* device;
    const char* name;
    BOOL result;
};

DWORD WINAPI readCdTrackOn(void* context)
{
    auto* read = static_cast<CdTrackRead*>(context);
    DWORD_PTR type = 0;
    DWORD flags = 0;
    read->result = read->device->readCdTrack(read->name, &type, &flags);
    return 0;
}

// A name that opens something other than a disk file (a pipe, a serial
// port) is refused before a read that might wait forever for data.
TEST_F(Mci, readersDoNotWaitOnAPipe)
{
    char name[64];
    wsprintfA(name, "\\\\.\\pipe\\mci_reader_%lu", GetCurrentProcessId());
    HANDLE server = CreateNamedPipeA(name, PIPE_ACCESS_DUPLEX, PIPE_TYPE_BYTE | PIPE_WAIT, 1, 64, 64, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, server);
    CdTrackRead read = {&device, name, TRUE};
    HANDLE reader = CreateThread(nullptr, 0, readCdTrackOn, &read, 0, nullptr);
    ASSERT_NE(nullptr, reader);
    // A guard against a hang: a reader still waiting is set free by closing
    // the pipe, and the test fails.
    DWORD waited = WaitForSingleObject(reader, 30000);
    CloseHandle(server);
    WaitForSingleObject(reader, INFINITE);
    CloseHandle(reader);
    EXPECT_EQ(WAIT_OBJECT_0, waited);
    EXPECT_FALSE(read.result);
}

TEST_F(Mci, cdTrackPlaysExactlyItsTrackOnItsDrive)
{
    cdDriveInserted = true;
    std::string cda = writeCda(5);
    ASSERT_TRUE(device.open(cda.c_str()));

    ASSERT_EQ(1u, commandsOf(MCI_OPEN).size());
    SentCommand open = commandsOf(MCI_OPEN)[0];
    EXPECT_EQ(0x3200u, open.flags);
    EXPECT_EQ(516u, open.typeId);
    EXPECT_EQ(cda.substr(0, 2), open.element);
    std::vector<SentCommand> sets = commandsOf(MCI_SET);
    ASSERT_GE(sets.size(), 2u);
    EXPECT_EQ((DWORD)MCI_FORMAT_MSF, sets[0].timeFormat);
    EXPECT_EQ((DWORD)MCI_FORMAT_TMSF, sets[1].timeFormat);
    SentCommand length = commandsOf(MCI_STATUS).at(0);
    EXPECT_EQ(0x110u, length.flags);
    EXPECT_EQ((DWORD)MCI_STATUS_LENGTH, length.item);
    EXPECT_EQ(5u, length.track);
    LONG seconds = 0;
    ASSERT_TRUE(device.getLength(&seconds));
    EXPECT_EQ(205, seconds);

    ASSERT_TRUE(device.play(FALSE));
    SentCommand play = commandsOf(MCI_PLAY).at(0);
    EXPECT_EQ(0xCu, play.flags);
    EXPECT_EQ(makeTmsf(5, 0, 0, 0), play.from);
    EXPECT_EQ(makeTmsf(5, 3, 25, 0), play.to);
    EXPECT_EQ(75, position()) << "counted from the start of the track";

    sent.clear();
    ASSERT_TRUE(device.seek(75));
    ASSERT_EQ(1u, commandsOf(MCI_SEEK).size());
    EXPECT_EQ(0xAu, commandsOf(MCI_SEEK)[0].flags);
    EXPECT_EQ(makeTmsf(5, 1, 15, 0), commandsOf(MCI_SEEK)[0].to);
    play = commandsOf(MCI_PLAY).at(0);
    EXPECT_EQ(0xCu, play.flags);
    EXPECT_EQ(makeTmsf(5, 1, 15, 0), play.from);
    EXPECT_EQ(makeTmsf(5, 3, 25, 0), play.to);
    EXPECT_FALSE(device.seek(256 * 60));

    ASSERT_TRUE(device.close());
    EXPECT_EQ(cdDriveId, commandsOf(MCI_CLOSE).at(0).device);
}

TEST_F(Mci, cdTrackWhoseLengthCannotBeReadIsClosedAgain)
{
    cdDriveInserted = true;
    cdDriveFailsStatus = true;
    std::string cda = writeCda(5);
    EXPECT_FALSE(device.open(cda.c_str()));
    EXPECT_EQ(1u, commandsOf(MCI_CLOSE).size());
    EXPECT_FALSE(device.getLength(nullptr));
}

TEST_F(Mci, nameAddressIsNeverTakenForCdAudio)
{
    // A type name whose address ends in 516 still names a device by name.
    std::vector<char> names(0x10000 + 600);
    char* name = &names[0];
    while (((DWORD_PTR)name & 0xFFFF) != MCI_DEVTYPE_CD_AUDIO)
        ++name;
    lstrcpyA(name, "nosuchdevice");
    std::string wave = folder + "tone.wav";
    ASSERT_TRUE(writePcmWave(wave, 500));
    EXPECT_FALSE(device.openWithDevice(wave.c_str(), name, 0x2200));
    SentCommand open = commandsOf(MCI_OPEN).at(0);
    EXPECT_EQ("nosuchdevice", open.typeName);
    EXPECT_EQ(wave, open.element);
}

class MciVideo : public Mci {
protected:
    void SetUp() override
    {
        Mci::SetUp();
        owner = CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 320, 240, nullptr,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(nullptr, owner);
        avi = folder + "clip.avi";
        ASSERT_TRUE(writeUncompressedAvi(avi, 64, 48, 30, 10));
    }
    void TearDown() override
    {
        Mci::TearDown();
        DestroyWindow(owner);
    }

    HWND owner = nullptr;
    std::string avi;
};

TEST_F(MciVideo, aviHasVideoOfItsSizeAndPlaysInTheOwnerWindow)
{
    ASSERT_TRUE(device.open(avi.c_str()));
    SentCommand open = commandsOf(MCI_OPEN).at(0);
    EXPECT_EQ("avivideo", open.typeName);
    EXPECT_EQ(0x2200u, open.flags);
    ASSERT_TRUE(device.hasVideo());
    LONG width = 0, height = 0;
    ASSERT_TRUE(device.getVideoSize(&width, &height));
    EXPECT_EQ(64, width);
    EXPECT_EQ(48, height);
    LONG length = 0;
    ASSERT_TRUE(device.getLength(&length));
    EXPECT_EQ(3, length);

    ASSERT_TRUE(device.attachVideoWindow(owner, owner, WS_CHILD, 0));
    SentCommand attach = commandsOf(MCI_WINDOW).back();
    EXPECT_EQ(0x50000u, attach.flags);
    EXPECT_EQ(owner, attach.window);
    EXPECT_EQ((UINT)SW_HIDE, attach.cmdShow);
    ASSERT_TRUE(device.showVideo(TRUE));
    EXPECT_EQ((UINT)SW_SHOW, commandsOf(MCI_WINDOW).back().cmdShow);

    ASSERT_TRUE(device.play(FALSE));
    EXPECT_TRUE(waitUntil([&] { return position() >= 1; }));
    ASSERT_TRUE(device.play(TRUE));
    ASSERT_TRUE(device.play(FALSE));

    sent.clear();
    ASSERT_TRUE(device.close());
    std::vector<SentCommand> windows = commandsOf(MCI_WINDOW);
    ASSERT_EQ(2u, windows.size());
    EXPECT_EQ((UINT)SW_HIDE, windows[0].cmdShow);
    EXPECT_EQ(0x10000u, windows[1].flags);
    EXPECT_EQ(nullptr, windows[1].window);
    EXPECT_TRUE(IsWindow(owner));
}

// The picture keeps its native size in the top left corner of the owner,
// and a picture stored top-down gets the same upright rectangle.
TEST_F(MciVideo, pictureKeepsItsNativePlaceUprightInTheOwner)
{
    std::string topDown = folder + "topdown.avi";
    ASSERT_TRUE(writeUncompressedAvi(topDown, 64, 48, 30, 10, true));
    for (const std::string& file : {avi, topDown}) {
        SCOPED_TRACE(file);
        ASSERT_TRUE(device.open(file.c_str()));
        ASSERT_TRUE(device.attachVideoWindow(owner, nullptr, 0, 0));
        MCIDEVICEID id = commandsOf(MCI_WINDOW).back().device;
        for (DWORD which : {(DWORD)MCI_DGV_WHERE_SOURCE, (DWORD)MCI_DGV_WHERE_DESTINATION}) {
            MCI_DGV_RECT_PARMS where = {};
            ASSERT_EQ(0u, winmm::mciSendCommandA(id, MCI_WHERE, which, (DWORD_PTR)&where));
            EXPECT_EQ(0, where.rc.left);
            EXPECT_EQ(0, where.rc.top);
            EXPECT_EQ(64, where.rc.right);
            EXPECT_EQ(48, where.rc.bottom);
        }
        EXPECT_FALSE(device.setVideoWindowRect(0, 0, 128, 96));
        EXPECT_FALSE(device.resizeVideo(128, 96));
        LONG width = 0, height = 0;
        ASSERT_TRUE(device.getVideoSize(&width, &height));
        EXPECT_EQ(64, width);
        EXPECT_EQ(48, height);
        ASSERT_TRUE(device.close());
    }
}

TEST_F(Mci, waveHasNoPictureToPlace)
{
    std::string wave = folder + "tone.wav";
    ASSERT_TRUE(writePcmWave(wave, 500));
    ASSERT_TRUE(device.open(wave.c_str()));
    LONG width = -1, height = -1;
    ASSERT_TRUE(device.getVideoSize(&width, &height));
    EXPECT_EQ(0, width);
    EXPECT_EQ(0, height);
    EXPECT_FALSE(device.setVideoWindowRect(0, 0, 10, 10));
    EXPECT_FALSE(device.moveVideo(1, 1));
}

TEST_F(Mci, installedDevicesAreListedInOrder)
{
    std::vector<std::string> names = installedDevices();
    ASSERT_EQ(device.deviceCount(), names.size());
    bool hasWave = false;
    for (const std::string& name : names)
        hasWave = hasWave || lstrcmpiA(name.c_str(), "waveaudio") == 0;
    EXPECT_TRUE(hasWave);
    char name[64] = "junk";
    EXPECT_FALSE(device.deviceName((UINT)names.size(), name, sizeof name));
    EXPECT_EQ(0, name[0]);
    EXPECT_FALSE(device.deviceName(0, nullptr, 10));
}

// The tick thread asks for the position while the user-interface thread
// opens, plays and closes.
TEST_F(Mci, positionQueriesFromAnotherThreadMeetOpenAndClose)
{
    std::string wave = folder + "tone.wav";
    ASSERT_TRUE(writePcmWave(wave, 1000));
    struct Ticker {
        MciDevice* device;
        volatile LONG stop;
        static DWORD WINAPI run(void* self)
        {
            Ticker* t = (Ticker*)self;
            while (!t->stop) {
                LONG seconds;
                t->device->getPosition(&seconds);
                t->device->isPlaying();
            }
            return 0;
        }
    } ticker = {&device, 0};
    device.setCommandSender(nullptr);
    HANDLE thread = CreateThread(nullptr, 0, Ticker::run, &ticker, 0, nullptr);
    ASSERT_NE(nullptr, thread);
    int opened = 0;
    for (int i = 0; i < 8; ++i) {
        opened += device.open(wave.c_str()) ? 1 : 0;
        device.play(FALSE);
        device.close();
    }
    InterlockedExchange(&ticker.stop, 1);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    EXPECT_EQ(8, opened);
}

// Run with WINMM.DLL disabled (see mci.cmake).
TEST(MciWithoutWinmm, everyOperationFails)
{
    HMODULE winmmModule = LoadLibraryA("winmm.dll");
    if (winmmModule) {
        FreeLibrary(winmmModule);
        GTEST_SKIP() << "WINMM.DLL is present";
    }
    std::string folder = makeTempFolder();
    std::string wave = folder + "tone.wav";
    std::string avi = folder + "clip.avi";
    ASSERT_TRUE(writePcmWave(wave, 500));
    ASSERT_TRUE(writeUncompressedAvi(avi, 16, 16, 2, 2));
    {
        MciDevice device;
        EXPECT_TRUE(device.probe(wave.c_str())) << "the readers need no MCI";
        for (const std::string& file : {wave, avi}) {
            EXPECT_FALSE(device.open(file.c_str()));
            EXPECT_FALSE(device.play(FALSE));
            EXPECT_FALSE(device.isPlaying());
            EXPECT_FALSE(device.getPosition(nullptr));
            EXPECT_FALSE(device.getLength(nullptr));
            EXPECT_FALSE(device.setMute(TRUE));
            EXPECT_FALSE(device.seek(1));
            EXPECT_FALSE(device.showVideo(TRUE));
            EXPECT_FALSE(device.hasVideo());
            EXPECT_FALSE(device.stop());
            EXPECT_FALSE(device.close());
        }
        EXPECT_EQ(0u, device.deviceCount());
        char name[32];
        EXPECT_FALSE(device.deviceName(0, name, sizeof name));
    }
    removeTree(folder);
}

} // namespace
