#include "PlayerSettings.h"

PlayerSettings playerSettings;
// Built before the static objects of default priority, which may read settings.
RegistryStore playerStore __attribute__((init_priority(120))){"Software\\Malvoren\\Player", HKEY_CURRENT_USER};

namespace {

const char* const deviceSubkey = "Device";

LONG readSigned(const RegistryStore& store, const char* name, LONG defaultValue)
{
    return static_cast<LONG>(store.value(name, static_cast<DWORD>(defaultValue)).readNumber());
}

void writeSigned(const RegistryStore& store, const char* name, LONG value)
{
    store.value(name).writeNumber(static_cast<DWORD>(value));
}

// -1 (none), 0, 1 or 2; anything else counts as none.
LONG readPlacement(const RegistryStore& store, const char* name)
{
    LONG placement = readSigned(store, name, -1);
    return placement >= 0 && placement <= 2 ? placement : -1;
}

void setBit(DWORD& word, DWORD bit, bool on)
{
    if (on)
        word |= bit;
    else
        word &= ~bit;
}

void computeEngineAndRepeatFlags(const PlayerSettings& settings, PlayOptions& options)
{
    DWORD& flags = options.flags;
    if (settings.useDirectShow) {
        flags |= FlagDirectShowStandard;
        flags &= ~FlagTryByMci;
    } else {
        flags |= FlagTryByMci;
        flags &= ~(FlagDirectShowStandard | FlagDirectShowForDvd);
    }
    setBit(flags, FlagTryByDirectMusic, settings.useDirectMusicForMidi);
    setBit(flags, FlagDirectShowForDvd, settings.useDirectShowForDvd);
    setBit(flags, FlagTryByExternalEngine, settings.useExternalPlaybackEngine);
    options.externalEngines = settings.externalPlaybackEngine;
    setBit(flags, FlagRepeatEach, settings.repeatEach);
    if (settings.repeat)
        flags |= FlagRepeat;
    else
        flags &= ~(FlagRepeat | FlagRepeatEach);
    setBit(flags, FlagAdvancedOrder, settings.useAdvancedConfiguration);
}

const DWORD horizontalFlags[] = {FlagLeftOnScreen, FlagHorizontalCentre, FlagRightOnScreen};
const DWORD verticalFlags[] = {FlagTopOnScreen, FlagVerticalCentre, FlagBottomOnScreen};

void computePositionFlags(const PlayerSettings& settings, PlayOptions& options)
{
    DWORD& flags = options.flags;
    setBit(flags, FlagUnresizable, settings.unresizable);
    flags &= ~FlagPositionMask;
    if (settings.centerOnScreen) {
        flags |= FlagCentreOnScreen;
        return;
    }
    if (settings.horizontalPosition >= 0)
        flags |= horizontalFlags[settings.horizontalPosition];
    if (settings.verticalPosition >= 0)
        flags |= verticalFlags[settings.verticalPosition];
}

// The DVD values belong to a feature that is switched on by hand in the
// registry; the player writes them only while it is on and never writes the
// switch itself.
enum Saving { SavedAlways, SavedWithDvd, NeverSaved };

struct GeneralFlag {
    const char* name;
    bool PlayerSettings::*member;
    bool defaultValue;
    Saving saving;
};

const GeneralFlag generalFlags[] = {
    {"HideAlways", &PlayerSettings::hideAlways, false, SavedAlways},
    {"HideWhenDeviceHasNoVideo", &PlayerSettings::hideWhenDeviceHasNoVideo, true, SavedAlways},
    {"AdjustSizeWhenDeviceHasVideo", &PlayerSettings::adjustSizeWhenDeviceHasVideo, true, SavedAlways},
    {"RepositionWithinScreen", &PlayerSettings::repositionWithinScreen, true, SavedAlways},
    {"ShowOnTopMost", &PlayerSettings::showOnTopMost, false, SavedAlways},
    {"UseStateCursor", &PlayerSettings::useStateCursor, false, SavedAlways},
    {"UseDirectShow", &PlayerSettings::useDirectShow, true, SavedAlways},
    {"UseDirectMusicForMidi", &PlayerSettings::useDirectMusicForMidi, false, SavedAlways},
    {"EnableDvd", &PlayerSettings::enableDvd, false, NeverSaved},
    {"UseDirectShowForDvd", &PlayerSettings::useDirectShowForDvd, false, SavedWithDvd},
    {"DecodeByHardware", &PlayerSettings::decodeByHardware, false, SavedWithDvd},
    {"UseExternalPlaybackEngine", &PlayerSettings::useExternalPlaybackEngine, true, SavedAlways},
    {"UseAdvancedConfiguration", &PlayerSettings::useAdvancedConfiguration, false, SavedAlways},
    {"Repeat", &PlayerSettings::repeat, false, SavedAlways},
    {"RepeatEach", &PlayerSettings::repeatEach, false, SavedAlways},
    {"ShowTrackName", &PlayerSettings::showTrackName, true, SavedAlways},
};

const char* const engineKeys[] = {"MCI",         "MCIUnknown", "DirectShow", "DirectShowUnknown",
                                  "DirectMusic", "VBMP3",      "SoftMPEG"};

} // namespace

void loadGeneralSettings(const RegistryStore& store)
{
    PlayerSettings& s = playerSettings;
    for (const GeneralFlag& flag : generalFlags)
        s.*flag.member = store.readFlag(flag.name, flag.defaultValue);
    s.externalPlaybackEngine =
        store.value("ExternalPlaybackEngine", ExternalVbmp3).readNumber() & (ExternalVbmp3 | ExternalSoftMpeg);
    computeEngineAndRepeatFlags(s, playOptions);
}

void saveGeneralSettings(const RegistryStore& store)
{
    const PlayerSettings& s = playerSettings;
    for (const GeneralFlag& flag : generalFlags) {
        if (flag.saving == SavedAlways || (flag.saving == SavedWithDvd && s.enableDvd))
            store.writeFlag(flag.name, s.*flag.member);
    }
    store.value("ExternalPlaybackEngine").writeNumber(s.externalPlaybackEngine);
}

void loadWindowRect(const RegistryStore& store)
{
    PlayerSettings& s = playerSettings;
    s.x = readSigned(store, "X", 0);
    s.y = readSigned(store, "Y", 0);
    s.width = readSigned(store, "Width", 0);
    s.height = readSigned(store, "Height", 0);
}

void saveWindowRect(const RegistryStore& store)
{
    const PlayerSettings& s = playerSettings;
    writeSigned(store, "X", s.x);
    writeSigned(store, "Y", s.y);
    writeSigned(store, "Width", s.width);
    writeSigned(store, "Height", s.height);
}

void saveWindowRect(HWND window, const RegistryStore& store)
{
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    if (!GetWindowPlacement(window, &placement))
        return;
    const RECT& normal = placement.rcNormalPosition;
    PlayerSettings& s = playerSettings;
    s.x = normal.left;
    s.y = normal.top;
    s.width = normal.right - normal.left;
    s.height = normal.bottom - normal.top;
    saveWindowRect(store);
}

void loadPositionSettings(const RegistryStore& store)
{
    PlayerSettings& s = playerSettings;
    s.unresizable = store.readFlag("Unresizable", false);
    s.centerOnScreen = store.readFlag("CenterOnScreen", false);
    if (!s.centerOnScreen) {
        s.horizontalPosition = readPlacement(store, "HorizontalPosition");
        s.verticalPosition = readPlacement(store, "VerticalPosition");
    }
    computePositionFlags(s, playOptions);
}

void savePositionSettings(const RegistryStore& store)
{
    const PlayerSettings& s = playerSettings;
    store.writeFlag("Unresizable", s.unresizable);
    store.writeFlag("CenterOnScreen", s.centerOnScreen);
    writeSigned(store, "HorizontalPosition", s.horizontalPosition);
    writeSigned(store, "VerticalPosition", s.verticalPosition);
}

void loadPriority(const RegistryStore& store)
{
    PlayerSettings& s = playerSettings;
    s.enableRealtime = store.readFlag("EnableRealtime", false);
    DWORD priority = store.value("ProcessPriority", NORMAL_PRIORITY_CLASS).readNumber();
    if (priority == REALTIME_PRIORITY_CLASS && !s.enableRealtime)
        priority = HIGH_PRIORITY_CLASS;
    if (priority != NORMAL_PRIORITY_CLASS && priority != HIGH_PRIORITY_CLASS &&
        priority != REALTIME_PRIORITY_CLASS)
        priority = NORMAL_PRIORITY_CLASS;
    s.processPriority = priority;
    DWORD& flags = playOptions.flags;
    flags &= ~(FlagHighClass | FlagRealtimeClass);
    if (priority == HIGH_PRIORITY_CLASS)
        flags |= FlagHighClass;
    else if (priority == REALTIME_PRIORITY_CLASS)
        flags |= FlagRealtimeClass;
}

void savePriority(const RegistryStore& store)
{
    store.value("ProcessPriority").writeNumber(playerSettings.processPriority);
}

void loadTrackbarTicks(const RegistryStore& store)
{
    DWORD ticks = store.value("TrackbarTicks", TicksAutomatic).readNumber();
    playerSettings.trackbarTicks = ticks <= TicksMinutes ? ticks : TicksAutomatic;
}

void saveTrackbarTicks(const RegistryStore& store)
{
    store.value("TrackbarTicks").writeNumber(playerSettings.trackbarTicks);
}

const char* engineKey(int engineIndex)
{
    if (engineIndex < EngineMci || engineIndex > EngineSoftMpeg)
        return nullptr;
    return engineKeys[engineIndex - EngineMci];
}

bool isDeviceEnabled(const char* name, const RegistryStore& store)
{
    if (!name)
        return false;
    return store.value(name, 0, deviceSubkey).readNumber() != 1;
}

void setDeviceEnabled(const char* name, bool enabled, const RegistryStore& store)
{
    if (name)
        store.value(name, 0, deviceSubkey).writeNumber(enabled ? 0 : 1);
}

bool isDeviceEnabled(int engineIndex, const RegistryStore& store)
{
    return isDeviceEnabled(engineKey(engineIndex), store);
}

void setDeviceEnabled(int engineIndex, bool enabled, const RegistryStore& store)
{
    setDeviceEnabled(engineKey(engineIndex), enabled, store);
}
