#include <gtest/gtest.h>

#include "PlayerSettings.h"
#include "RegistryTestKey.h"

namespace {

// Each test starts from fresh settings and options and a key of its own.
class PlayerSettingsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        playerSettings = PlayerSettings();
        playOptions = PlayOptions();
    }
    void TearDown() override
    {
        playerSettings = PlayerSettings();
        playOptions = PlayOptions();
    }
    void put(const char* name, DWORD number, const char* subkey = nullptr)
    {
        ASSERT_TRUE(key.writeRaw(subkey, name, REG_DWORD, &number, sizeof number));
    }
    DWORD stored(const char* name, const char* subkey = nullptr)
    {
        DWORD number = 0xDEADBEEF;
        EXPECT_EQ(static_cast<DWORD>(REG_DWORD), key.readRaw(subkey, name, &number, sizeof number)) << name;
        return number;
    }

    RegistryTestKey key;
    RegistryStore store{key.path()};
};

} // namespace

TEST_F(PlayerSettingsTest, theRootStoreAddressesThePlayersKey)
{
    EXPECT_STREQ("Software\\Malvoren\\Player", playerStore.keyPath());
    EXPECT_EQ(HKEY_CURRENT_USER, playerStore.root());
    EXPECT_STREQ("Software\\Malvoren\\Player\\Order",
                 playerStore.textValue("000", "", "Order").fullKeyPath().get());
}

TEST_F(PlayerSettingsTest, aFreshUserGetsTheDefaults)
{
    playOptions.flags = FlagTryByMci | FlagDirectShowForDvd | FlagRepeat | FlagDelete;
    loadGeneralSettings(store);
    const PlayerSettings& s = playerSettings;
    EXPECT_TRUE(s.useDirectShow);
    EXPECT_TRUE(s.useExternalPlaybackEngine);
    EXPECT_EQ(static_cast<DWORD>(ExternalVbmp3), s.externalPlaybackEngine);
    EXPECT_TRUE(s.adjustSizeWhenDeviceHasVideo);
    EXPECT_TRUE(s.repositionWithinScreen);
    EXPECT_TRUE(s.showTrackName);
    EXPECT_TRUE(s.hideWhenDeviceHasNoVideo);
    EXPECT_FALSE(s.hideAlways || s.showOnTopMost || s.useStateCursor || s.useDirectMusicForMidi ||
                 s.enableDvd || s.useDirectShowForDvd || s.decodeByHardware || s.useAdvancedConfiguration ||
                 s.repeat || s.repeatEach);
    // Bits the settings do not own are kept.
    EXPECT_EQ(FlagDirectShowStandard | FlagTryByExternalEngine | FlagDelete, playOptions.flags);
    EXPECT_EQ(static_cast<DWORD>(ExternalVbmp3), playOptions.externalEngines);

    loadWindowRect(store);
    loadPositionSettings(store);
    loadPriority(store);
    loadTrackbarTicks(store);
    EXPECT_EQ(0, s.x + s.y + s.width + s.height);
    EXPECT_EQ(-1, s.horizontalPosition);
    EXPECT_EQ(-1, s.verticalPosition);
    EXPECT_EQ(static_cast<DWORD>(NORMAL_PRIORITY_CLASS), s.processPriority);
    EXPECT_EQ(0u, s.trackbarTicks);
    EXPECT_EQ(FlagDirectShowStandard | FlagTryByExternalEngine | FlagDelete, playOptions.flags);
}

TEST_F(PlayerSettingsTest, storedValuesBecomeTheEngineAndRepeatBits)
{
    put("UseDirectShow", 0);
    put("UseDirectShowForDvd", 1);
    put("UseDirectMusicForMidi", 1);
    put("UseExternalPlaybackEngine", 0);
    put("ExternalPlaybackEngine", 0xFF);
    put("UseAdvancedConfiguration", 1);
    put("Repeat", 1);
    put("RepeatEach", 1);
    playOptions.flags = FlagDirectShowStandard;
    loadGeneralSettings(store);
    // The DVD bit follows its own value even without DirectShow as the
    // standard engine.
    EXPECT_EQ(FlagTryByMci | FlagTryByDirectMusic | FlagDirectShowForDvd | FlagAdvancedOrder | FlagRepeat |
                  FlagRepeatEach,
              playOptions.flags);
    EXPECT_EQ(static_cast<DWORD>(ExternalVbmp3 | ExternalSoftMpeg), playOptions.externalEngines);

    put("UseDirectShow", 1);
    put("UseDirectShowForDvd", 0);
    loadGeneralSettings(store);
    EXPECT_EQ(FlagDirectShowStandard, playOptions.flags & (FlagDirectShowStandard | FlagTryByMci | FlagDirectShowForDvd));
}

TEST_F(PlayerSettingsTest, repeatEachTakesEffectOnlyWithRepeat)
{
    put("RepeatEach", 1);
    playOptions.flags = FlagRepeat | FlagRepeatEach;
    loadGeneralSettings(store);
    EXPECT_TRUE(playerSettings.repeatEach);
    EXPECT_EQ(0u, playOptions.flags & (FlagRepeat | FlagRepeatEach));
}

TEST_F(PlayerSettingsTest, wrongTypedValuesReadAsTheirDefault)
{
    ASSERT_TRUE(key.writeRaw(nullptr, "UseDirectShow", REG_SZ, "0", 2));
    ASSERT_TRUE(key.writeRaw(nullptr, "ShowTrackName", REG_BINARY, "\0\0\0\0\0\0\0\0", 8));
    ASSERT_TRUE(key.writeRaw(nullptr, "ProcessPriority", REG_SZ, "128", 4));
    loadGeneralSettings(store);
    loadPriority(store);
    EXPECT_TRUE(playerSettings.useDirectShow);
    EXPECT_TRUE(playerSettings.showTrackName);
    EXPECT_EQ(static_cast<DWORD>(NORMAL_PRIORITY_CLASS), playerSettings.processPriority);
}

TEST_F(PlayerSettingsTest, savingWritesTheGeneralValuesButLeavesTheDvdSwitchAlone)
{
    playerSettings.useDirectShow = false;
    playerSettings.useDirectShowForDvd = true;
    playerSettings.repeat = true;
    playerSettings.externalPlaybackEngine = ExternalSoftMpeg;
    saveGeneralSettings(store);
    EXPECT_EQ(0u, stored("UseDirectShow"));
    EXPECT_EQ(1u, stored("Repeat"));
    EXPECT_EQ(1u, stored("ShowTrackName"));
    EXPECT_EQ(static_cast<DWORD>(ExternalSoftMpeg), stored("ExternalPlaybackEngine"));
    EXPECT_EQ(static_cast<DWORD>(REG_NONE), key.readRaw(nullptr, "EnableDvd"));
    EXPECT_EQ(static_cast<DWORD>(REG_NONE), key.readRaw(nullptr, "UseDirectShowForDvd"));
    EXPECT_EQ(static_cast<DWORD>(REG_NONE), key.readRaw(nullptr, "DecodeByHardware"));

    put("EnableDvd", 1);
    put("DecodeByHardware", 1);
    loadGeneralSettings(store);
    playerSettings.decodeByHardware = false;
    playerSettings.useDirectShowForDvd = true;
    saveGeneralSettings(store);
    EXPECT_EQ(1u, stored("UseDirectShowForDvd"));
    EXPECT_EQ(0u, stored("DecodeByHardware"));
    EXPECT_EQ(1u, stored("EnableDvd"));

    PlayerSettings saved = playerSettings;
    playerSettings = PlayerSettings();
    loadGeneralSettings(store);
    EXPECT_FALSE(playerSettings.useDirectShow);
    EXPECT_TRUE(playerSettings.repeat);
    EXPECT_EQ(saved.externalPlaybackEngine, playerSettings.externalPlaybackEngine);
}

TEST_F(PlayerSettingsTest, positionBitsFollowTheStoredPlacement)
{
    put("HorizontalPosition", 2);
    put("VerticalPosition", 0);
    put("Unresizable", 1);
    playOptions.flags = FlagCentreOnScreen | FlagDelete;
    loadPositionSettings(store);
    EXPECT_EQ(FlagRightOnScreen | FlagTopOnScreen | FlagUnresizable | FlagDelete, playOptions.flags);

    put("HorizontalPosition", 1);
    put("VerticalPosition", 7);
    put("Unresizable", 0);
    loadPositionSettings(store);
    EXPECT_EQ(FlagHorizontalCentre | FlagDelete, playOptions.flags);
    EXPECT_EQ(-1, playerSettings.verticalPosition);
}

TEST_F(PlayerSettingsTest, centerOnScreenIgnoresTheStoredPositions)
{
    put("CenterOnScreen", 1);
    put("HorizontalPosition", 0);
    put("VerticalPosition", 2);
    loadPositionSettings(store);
    EXPECT_EQ(static_cast<DWORD>(FlagCentreOnScreen), playOptions.flags);
    EXPECT_EQ(-1, playerSettings.horizontalPosition);
    EXPECT_EQ(-1, playerSettings.verticalPosition);

    playerSettings.horizontalPosition = 1;
    savePositionSettings(store);
    EXPECT_EQ(1u, stored("HorizontalPosition"));
    EXPECT_EQ(1u, stored("CenterOnScreen"));
}

TEST_F(PlayerSettingsTest, realtimeNeedsToBeEnabled)
{
    put("ProcessPriority", REALTIME_PRIORITY_CLASS);
    playOptions.flags = FlagRealtimeClass;
    loadPriority(store);
    EXPECT_EQ(static_cast<DWORD>(HIGH_PRIORITY_CLASS), playerSettings.processPriority);
    EXPECT_EQ(static_cast<DWORD>(FlagHighClass), playOptions.flags);

    put("EnableRealtime", 1);
    loadPriority(store);
    EXPECT_EQ(static_cast<DWORD>(REALTIME_PRIORITY_CLASS), playerSettings.processPriority);
    EXPECT_EQ(static_cast<DWORD>(FlagRealtimeClass), playOptions.flags);

    put("ProcessPriority", IDLE_PRIORITY_CLASS);
    loadPriority(store);
    EXPECT_EQ(static_cast<DWORD>(NORMAL_PRIORITY_CLASS), playerSettings.processPriority);
    EXPECT_EQ(0u, playOptions.flags);

    playerSettings.processPriority = HIGH_PRIORITY_CLASS;
    savePriority(store);
    EXPECT_EQ(static_cast<DWORD>(HIGH_PRIORITY_CLASS), stored("ProcessPriority"));
    EXPECT_EQ(1u, stored("EnableRealtime"));
}

TEST_F(PlayerSettingsTest, trackbarTicksStayInRange)
{
    put("TrackbarTicks", 2);
    loadTrackbarTicks(store);
    EXPECT_EQ(2u, playerSettings.trackbarTicks);
    put("TrackbarTicks", 3);
    loadTrackbarTicks(store);
    EXPECT_EQ(0u, playerSettings.trackbarTicks);
    playerSettings.trackbarTicks = 1;
    saveTrackbarTicks(store);
    EXPECT_EQ(1u, stored("TrackbarTicks"));
}

TEST_F(PlayerSettingsTest, windowRectKeepsTheRestoredPlaceOfAMinimisedWindow)
{
    HWND window = CreateWindowExA(0, "STATIC", "settings", WS_OVERLAPPEDWINDOW, 40, 50, 300, 200, nullptr,
                                  nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, window);
    ShowWindow(window, SW_SHOWMINNOACTIVE);
    saveWindowRect(window, store);
    DestroyWindow(window);
    playerSettings = PlayerSettings();
    loadWindowRect(store);
    EXPECT_EQ(40, playerSettings.x);
    EXPECT_EQ(50, playerSettings.y);
    EXPECT_EQ(300, playerSettings.width);
    EXPECT_EQ(200, playerSettings.height);

    put("X", static_cast<DWORD>(-20));
    loadWindowRect(store);
    EXPECT_EQ(-20, playerSettings.x);
}

TEST_F(PlayerSettingsTest, devicesAreEnabledUnlessTheirValueIsOne)
{
    EXPECT_TRUE(isDeviceEnabled("waveaudio", store));
    EXPECT_TRUE(isDeviceEnabled(EngineDirectShow, store));
    setDeviceEnabled("waveaudio", false, store);
    EXPECT_EQ(1u, stored("waveaudio", "Device"));
    EXPECT_FALSE(isDeviceEnabled("waveaudio", store));
    setDeviceEnabled("waveaudio", true, store);
    EXPECT_EQ(0u, stored("waveaudio", "Device"));
    EXPECT_TRUE(isDeviceEnabled("waveaudio", store));

    put("sequencer", 2, "Device");
    EXPECT_TRUE(isDeviceEnabled("sequencer", store));

    setDeviceEnabled(EngineSoftMpeg, false, store);
    EXPECT_EQ(1u, stored("SoftMPEG", "Device"));
    EXPECT_FALSE(isDeviceEnabled("SoftMPEG", store));
    EXPECT_FALSE(isDeviceEnabled(EngineSoftMpeg, store));

    // Not an engine: nothing is written and nothing reads as enabled.
    setDeviceEnabled(0, false, store);
    setDeviceEnabled(8, false, store);
    setDeviceEnabled(nullptr, false, store);
    EXPECT_FALSE(isDeviceEnabled(0, store));
    EXPECT_FALSE(isDeviceEnabled(nullptr, store));
    EXPECT_EQ(3u, store.countValues("Device"));
}

TEST_F(PlayerSettingsTest, engineKeysFollowTheIndexes)
{
    const char* expected[] = {"MCI",         "MCIUnknown", "DirectShow", "DirectShowUnknown",
                              "DirectMusic", "VBMP3",      "SoftMPEG"};
    for (int i = 1; i <= 7; ++i)
        EXPECT_STREQ(expected[i - 1], engineKey(i));
    EXPECT_EQ(nullptr, engineKey(0));
    EXPECT_EQ(nullptr, engineKey(8));
    EXPECT_EQ(nullptr, engineKey(-1));
}
