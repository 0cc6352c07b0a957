#pragma once
#include <windows.h>

// Bits of the player's flag word.
enum PlayFlag : DWORD {
    FlagDelete = 0x1,
    FlagAdd = 0x2,
    FlagHighClass = 0x10,
    FlagRealtimeClass = 0x20,
    FlagTryByMci = 0x100,
    FlagDirectShowStandard = 0x200,
    FlagTryByDirectMusic = 0x400,
    FlagDirectShowForDvd = 0x800,
    FlagTryByExternalEngine = 0x1000,
    FlagAdvancedOrder = 0x2000,
    FlagRepeat = 0x10000,
    FlagRepeatEach = 0x20000,
    FlagAcceptedWhileDropping = 0x100000,
    FlagLeftOnScreen = 0x1000000,
    FlagHorizontalCentre = 0x2000000,
    FlagRightOnScreen = 0x4000000,
    FlagCentreOnScreen = 0x8000000,
    FlagTopOnScreen = 0x10000000,
    FlagVerticalCentre = 0x20000000,
    FlagBottomOnScreen = 0x40000000,
    FlagUnresizable = 0x80000000,
    FlagPositionMask = 0x7F000000,
};

// Bits of externalEngines.
enum ExternalEngine : DWORD {
    ExternalVbmp3 = 0x1,
    ExternalSoftMpeg = 0x2,
};

// The process-wide options: read by the queue thread and the user-interface
// thread, set by the settings and then by option words.
struct PlayOptions {
    DWORD flags = 0;
    LONG milliseconds = -1;  // -1 plays the whole file
    double rate = 1.0;
    LONG ratePercent = 100;
    DWORD externalEngines = 0;
};

extern PlayOptions playOptions;
