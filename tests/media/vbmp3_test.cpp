#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "MediaFiles.h"
#include "OutsideEngines.h"
#include "TestPaths.h"
#include "Vbmp3Device.h"

namespace {

const DWORD generousWait = 20000;

// Test entries of the stand-in library.
template <typename Function> Function doubleEntry(const char* name)
{
    return reinterpret_cast<Function>(vbmp3DoubleEntry(name));
}
LONG doublePitch() { return doubleEntry<LONG(WINAPI*)()>("vbmp3test_pitch")(); }
LONG doubleVolume() { return doubleEntry<LONG(WINAPI*)()>("vbmp3test_volume")(); }
BOOL doubleIsOpen() { return doubleEntry<BOOL(WINAPI*)()>("vbmp3test_isOpen")(); }
BOOL doubleCallbacksOn() { return doubleEntry<BOOL(WINAPI*)()>("vbmp3test_callbacksOn")(); }
void doubleRefuse(const char* entry, BOOL refuse)
{
    doubleEntry<BOOL(WINAPI*)(const char*, BOOL)>("vbmp3test_refuse")(entry, refuse);
}

// The end-of-play callback: counts the ends and wakes the test.
HANDLE endEvent;
LONG endCode;
void WINAPI onEnd(DWORD code, DWORD)
{
    InterlockedExchange(&endCode, (LONG)code);
    SetEvent(endEvent);
}

class Vbmp3DeviceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(useVbmp3Double());
        folder = makeTempFolder();
        shortFile = folder + "short.mp3";
        longFile = folder + "long.mp3";
        ASSERT_TRUE(writeMp3Stub(shortFile, 1));
        ASSERT_TRUE(writeMp3Stub(longFile, 30));
        endEvent = CreateEventA(nullptr, FALSE, FALSE, nullptr);
        endCode = 0;
        device.reset(new Vbmp3Device);
    }
    void TearDown() override
    {
        device.reset();
        CloseHandle(endEvent);
        removeTree(folder);
        useVbmp3Double(false);
    }

    std::string folder, shortFile, longFile;
    std::unique_ptr<Vbmp3Device> device;
};

TEST_F(Vbmp3DeviceTest, OpenTakesTheLengthFromTheInformationRecord)
{
    ASSERT_TRUE(device->isAvailable());
    ASSERT_TRUE(device->open(longFile.c_str()));
    LONG length = 0;
    EXPECT_TRUE(device->getLength(&length));
    EXPECT_EQ(30, length);
    EXPECT_TRUE(device->canMute());
    EXPECT_TRUE(device->close());
    EXPECT_FALSE(device->getLength(&length));
    EXPECT_FALSE(device->close());
    EXPECT_FALSE(doubleIsOpen());
}

TEST_F(Vbmp3DeviceTest, ProbeLeavesNothingOpenAndRefusesOtherFiles)
{
    EXPECT_TRUE(device->probe(longFile.c_str()));
    EXPECT_FALSE(doubleIsOpen());
    std::string wave = folder + "tone.wav";
    ASSERT_TRUE(writePcmWave(wave, 200));
    EXPECT_FALSE(device->probe(wave.c_str()));
    EXPECT_FALSE(device->open(wave.c_str()));
    EXPECT_FALSE(device->open((folder + "absent.mp3").c_str()));
    EXPECT_FALSE(device->open(nullptr));
}

TEST_F(Vbmp3DeviceTest, PauseResumeAndStop)
{
    ASSERT_TRUE(device->open(longFile.c_str()));
    EXPECT_FALSE(device->play(TRUE)) << "nothing to pause before the first start";
    ASSERT_TRUE(device->play(FALSE));
    EXPECT_TRUE(device->isPlaying());
    ASSERT_TRUE(device->play(TRUE));
    EXPECT_FALSE(device->isPlaying());
    ASSERT_TRUE(device->play(FALSE));
    EXPECT_TRUE(device->isPlaying());
    EXPECT_TRUE(device->stop());
    EXPECT_FALSE(device->isPlaying());
    EXPECT_FALSE(device->stop());
}

TEST_F(Vbmp3DeviceTest, StopWhilePausedFailsButTheNextPlayStartsFromTheBeginning)
{
    ASSERT_TRUE(device->open(longFile.c_str()));
    ASSERT_TRUE(device->play(FALSE));
    ASSERT_TRUE(device->play(TRUE));
    ASSERT_TRUE(device->seek(20));
    LONG position = 0;
    ASSERT_TRUE(device->getPosition(&position));
    EXPECT_EQ(20, position);
    EXPECT_FALSE(device->stop());
    ASSERT_TRUE(device->play(FALSE));
    ASSERT_TRUE(device->getPosition(&position));
    EXPECT_LT(position, 20);
    EXPECT_TRUE(device->isPlaying());
}

TEST_F(Vbmp3DeviceTest, ASeekPastTheEndIsRefusedAndLeavesThePosition)
{
    ASSERT_TRUE(device->open(longFile.c_str()));
    ASSERT_TRUE(device->seek(10));
    // 4294968 seconds are 4294968000 ms, which a 32-bit count wraps to 704.
    for (UINT seconds : {31u, 4294968u}) {
        EXPECT_FALSE(device->seek(seconds)) << seconds;
        LONG position = 0;
        ASSERT_TRUE(device->getPosition(&position));
        EXPECT_EQ(10, position) << seconds;
    }
}

TEST_F(Vbmp3DeviceTest, ARateTakesEffectAtTheNextStartFromStopped)
{
    ASSERT_TRUE(device->open(longFile.c_str()));
    ASSERT_TRUE(device->play(FALSE));
    EXPECT_EQ(100, doublePitch());
    ASSERT_TRUE(device->setRatePercent(150));
    ASSERT_TRUE(device->play(TRUE));
    ASSERT_TRUE(device->play(FALSE));
    EXPECT_EQ(100, doublePitch()) << "a resume keeps the running rate";
    ASSERT_TRUE(device->stop());
    ASSERT_TRUE(device->play(FALSE));
    EXPECT_EQ(150, doublePitch());

    double rate = 0;
    LONG percent = 0;
    EXPECT_TRUE(device->getRate(&rate));
    EXPECT_DOUBLE_EQ(1.5, rate);
    EXPECT_TRUE(device->setRate(0.755));
    EXPECT_TRUE(device->getRatePercent(&percent));
    EXPECT_EQ(75, percent);
}

TEST_F(Vbmp3DeviceTest, AStartRefusedByTheLibraryLeavesTheDeviceStopped)
{
    ASSERT_TRUE(device->open(longFile.c_str()));
    ASSERT_TRUE(device->setRatePercent(1000));
    EXPECT_FALSE(device->play(FALSE));
    EXPECT_FALSE(device->isPlaying());
    EXPECT_FALSE(device->play(TRUE));
}

TEST_F(Vbmp3DeviceTest, TheEndOfTheFileArrivesThroughTheCallback)
{
    device->setCallback(onEnd);
    ASSERT_TRUE(device->open(shortFile.c_str()));
    ASSERT_TRUE(device->play(FALSE));
    EXPECT_TRUE(doubleCallbacksOn());
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(endEvent, generousWait));
    EXPECT_EQ(4, endCode);
    EXPECT_FALSE(device->isPlaying());
    LONG position = 0;
    EXPECT_TRUE(device->getPosition(&position));
    EXPECT_EQ(1, position);
}

TEST_F(Vbmp3DeviceTest, ASecondOpenClosesTheFirstFileAndItsCallbacks)
{
    device->setCallback(onEnd);
    ASSERT_TRUE(device->open(shortFile.c_str()));
    ASSERT_TRUE(device->play(FALSE));
    ASSERT_TRUE(device->open(longFile.c_str()));
    EXPECT_FALSE(doubleCallbacksOn());
    EXPECT_FALSE(device->isPlaying());
    LONG length = 0;
    ASSERT_TRUE(device->getLength(&length));
    EXPECT_EQ(30, length);
    EXPECT_FALSE(device->play(TRUE)) << "the new file was never started";
}

TEST_F(Vbmp3DeviceTest, RefusalsAtOpenGiveTheFileBack)
{
    ASSERT_TRUE(device->isAvailable()) << "loads the library";
    device->setCallback(onEnd);
    doubleRefuse("vbmp3_callback", TRUE);
    EXPECT_FALSE(device->open(longFile.c_str()));
    EXPECT_FALSE(doubleIsOpen());
    doubleRefuse("vbmp3_callback", FALSE);

    doubleRefuse("vbmp3_getVolume", TRUE);
    EXPECT_FALSE(device->open(longFile.c_str()));
    EXPECT_FALSE(doubleIsOpen());
    EXPECT_FALSE(doubleCallbacksOn());
    doubleRefuse("vbmp3_getVolume", FALSE);

    doubleRefuse("vbmp3_setVolume", TRUE);
    EXPECT_TRUE(device->open(longFile.c_str())) << "a library without volume control still plays";
    EXPECT_FALSE(device->canMute());
    doubleRefuse("vbmp3_setVolume", FALSE);
}

TEST_F(Vbmp3DeviceTest, MuteSilencesAndRestoresTheVolumeFoundAtOpen)
{
    EXPECT_FALSE(device->setMute(TRUE)) << "nothing open";
    ASSERT_TRUE(device->open(longFile.c_str()));
    ASSERT_TRUE(device->setMute(TRUE));
    EXPECT_EQ(MAKELONG(0, 0), doubleVolume());
    ASSERT_TRUE(device->setMute(FALSE));
    EXPECT_EQ(MAKELONG(100, 100), doubleVolume());
}

TEST_F(Vbmp3DeviceTest, AShortLivedDeviceDoesNotFreeTheLibraryUnderAnother)
{
    ASSERT_TRUE(device->open(longFile.c_str()));
    ASSERT_TRUE(device->play(FALSE));
    {
        Vbmp3Device lengthProbe;
        EXPECT_TRUE(lengthProbe.isAvailable());
    }
    EXPECT_TRUE(device->isPlaying());
    device.reset();
    EXPECT_EQ(nullptr, GetModuleHandleA("VBMP3.DLL")) << "the last device unloads the library";
}

// Without the library every binding answers 0 and the engine opens nothing.
// The library is either not on the search path or, in the variant that
// disables it in the loader (VBMP3_DISABLED set), on the path but refused.
class Vbmp3MissingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        useVbmp3Double(GetEnvironmentVariableA("VBMP3_DISABLED", nullptr, 0) != 0);
        ASSERT_EQ(nullptr, GetModuleHandleA("VBMP3.DLL"));
    }
    void TearDown() override { useVbmp3Double(false); }
};

TEST_F(Vbmp3MissingTest, EveryBindingAnswersZero)
{
    CountedLock lock;
    Vbmp3Library vbmp3(lock);
    BYTE info[Vbmp3InfoSize] = {};
    LONG zero = 0, left = 0, right = 0;
    EXPECT_EQ(0, vbmp3.vbmp3_init());
    EXPECT_EQ(0, vbmp3.vbmp3_free());
    EXPECT_EQ(0, vbmp3.vbmp3_open("C:\\any.mp3", info));
    EXPECT_EQ(0, vbmp3.vbmp3_close(&zero));
    EXPECT_EQ(0, vbmp3.vbmp3_play(&zero));
    EXPECT_EQ(0, vbmp3.vbmp3_pause());
    EXPECT_EQ(0, vbmp3.vbmp3_restart());
    EXPECT_EQ(0, vbmp3.vbmp3_stop(&zero));
    EXPECT_EQ(0, vbmp3.vbmp3_seek(1));
    EXPECT_EQ(0, vbmp3.vbmp3_getState(&zero));
    EXPECT_EQ(0, vbmp3.vbmp3_setPitch(100));
    EXPECT_EQ(0, vbmp3.vbmp3_callback(onEnd));
    EXPECT_EQ(0, vbmp3.vbmp3_startCallback());
    EXPECT_EQ(0, vbmp3.vbmp3_stopCallback());
    EXPECT_EQ(0, vbmp3.vbmp3_getVolume(&left, &right));
    EXPECT_EQ(0, vbmp3.vbmp3_setVolume(0, 0));
    EXPECT_EQ(0, lock.depth()) << "resolution leaves the lock";
}

TEST_F(Vbmp3MissingTest, TheEngineOpensNothing)
{
    std::string folder = makeTempFolder();
    std::string file = folder + "song.mp3";
    ASSERT_TRUE(writeMp3Stub(file, 3));
    Vbmp3Device device;
    EXPECT_FALSE(device.isAvailable());
    EXPECT_FALSE(device.probe(file.c_str()));
    EXPECT_FALSE(device.open(file.c_str()));
    EXPECT_FALSE(device.play(FALSE));
    EXPECT_FALSE(device.isPlaying());
    removeTree(folder);
}

} // namespace
