#pragma once
#include <windows.h>

#include "PlayOptions.h"
#include "RegistryStore.h"

// The player's settings as last read from the registry. The window and the
// dialogs read these; the dialogs change them and save them back.
struct PlayerSettings {
    // General values.
    bool hideAlways = false;
    bool hideWhenDeviceHasNoVideo = true;
    bool adjustSizeWhenDeviceHasVideo = true;
    bool repositionWithinScreen = true;
    bool showOnTopMost = false;
    bool useStateCursor = false;
    bool useDirectShow = true;
    bool useDirectMusicForMidi = false;
    bool enableDvd = false;  // read only
    bool useDirectShowForDvd = false;
    bool decodeByHardware = false;
    bool useExternalPlaybackEngine = true;
    DWORD externalPlaybackEngine = ExternalVbmp3;
    bool useAdvancedConfiguration = false;
    bool repeat = false;
    bool repeatEach = false;
    bool showTrackName = true;

    // The main window's normal rectangle, in screen pixels.
    LONG x = 0;
    LONG y = 0;
    LONG width = 0;
    LONG height = 0;

    // Position values.
    bool unresizable = false;
    bool centerOnScreen = false;
    LONG horizontalPosition = -1;  // -1 none, 0 left, 1 centre, 2 right
    LONG verticalPosition = -1;    // -1 none, 0 top, 1 centre, 2 bottom

    // Priority values.
    DWORD processPriority = NORMAL_PRIORITY_CLASS;
    bool enableRealtime = false;  // read only

    DWORD trackbarTicks = 0;  // 0 automatic, 1 seconds, 2 minutes
};

enum TrackbarTickSpacing : DWORD { TicksAutomatic = 0, TicksSeconds = 1, TicksMinutes = 2 };

extern PlayerSettings playerSettings;
// The player's root store: "Software\Malvoren\Player" of the current user.
extern RegistryStore playerStore;

// Each load reads its values into playerSettings and, where the values feed
// it, recomputes their bits of playOptions. Tests pass a store of their own.
void loadGeneralSettings(const RegistryStore& store = playerStore);
void saveGeneralSettings(const RegistryStore& store = playerStore);
void loadWindowRect(const RegistryStore& store = playerStore);
void saveWindowRect(const RegistryStore& store = playerStore);
// Takes the window's normal (restored) rectangle, so that a minimised or
// maximised window keeps its restored place.
void saveWindowRect(HWND window, const RegistryStore& store = playerStore);
void loadPositionSettings(const RegistryStore& store = playerStore);
void savePositionSettings(const RegistryStore& store = playerStore);
void loadPriority(const RegistryStore& store = playerStore);
void savePriority(const RegistryStore& store = playerStore);
void loadTrackbarTicks(const RegistryStore& store = playerStore);
void saveTrackbarTicks(const RegistryStore& store = playerStore);

// Engine indexes 1-7 of the device order and their keys under "Device" and
// "Order": "MCI", "MCIUnknown", "DirectShow", "DirectShowUnknown",
// "DirectMusic", "VBMP3", "SoftMPEG". Index 0 stands for an MCI device name.
enum EngineIndex : int {
    EngineMciDevice = 0,
    EngineMci = 1,
    EngineMciUnknown = 2,
    EngineDirectShow = 3,
    EngineDirectShowUnknown = 4,
    EngineDirectMusic = 5,
    EngineVbmp3 = 6,
    EngineSoftMpeg = 7,
};
// Null outside 1-7.
const char* engineKey(int engineIndex);

// By engine key or MCI device type name: enabled unless the "Device" value
// is 1.
bool isDeviceEnabled(const char* name, const RegistryStore& store = playerStore);
void setDeviceEnabled(const char* name, bool enabled, const RegistryStore& store = playerStore);
// By engine index 1-7; other indexes are not engines and read as disabled.
bool isDeviceEnabled(int engineIndex, const RegistryStore& store = playerStore);
void setDeviceEnabled(int engineIndex, bool enabled, const RegistryStore& store = playerStore);
