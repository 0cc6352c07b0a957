#pragma once
#include <windows.h>

class MediaContext;
class MediaDevice;

// The engines of the device order. The index is the item data of the order
// list box; 0 stands for one installed MCI device named by the entry itself.
enum EngineIndex : UINT {
    EngineMciDevice = 0,
    EngineMci = 1,
    EngineMciUnknown = 2,
    EngineDirectShow = 3,
    EngineDirectShowUnknown = 4,
    EngineDirectMusic = 5,
    EngineVbmp3 = 6,
    EngineSoftMpeg = 7,
    EngineIndexCount = 8,
};

// The outside engine tried last ("external-engine kind").
enum ExternalEngineKind : DWORD {
    ExternalKindNone = 0,
    ExternalKindVbmp3 = 1,
    ExternalKindSoftMpeg = 2,
};

// What the last selection left for the open medium. The flags are cleared at
// the start of every selection; SoftMPEG plays through MCI and counts as MCI.
struct EngineSelection {
    MediaDevice* currentDevice = nullptr; // the engine whose open ran last
    BOOL mciOpened = FALSE;
    BOOL directShowOpened = FALSE;
    BOOL directMusicOpened = FALSE;
    BOOL vbmp3Opened = FALSE;
    DWORD externalKind = ExternalKindNone;
};

// The key stored for an engine in "Order" and "Device" ("MCI", ...); null for
// EngineMciDevice and out-of-range indices.
const char* engineKey(UINT index);
// The label shown for an engine in the order list (UTF-16, for the list box).
const wchar_t* engineLabel(UINT index);

// Opens fileName on the first engine of the context that takes it: by the
// device order when the flag word holds FlagAdvancedOrder, else by the fixed
// rules. Answers whether one opened it; selection.currentDevice then holds
// it. Starting playback is the caller's part.
BOOL openOnSelectedEngine(MediaContext& context, const char* fileName, EngineSelection& selection);

// Copies the "Order" value of that index, at most size - 1 characters; false
// when it is missing or empty.
BOOL readOrderEntry(UINT index, char* buffer, UINT size);

// Fills the order list box: the engines available here and every installed
// MCI device (defaults true), or the stored order (defaults false). Each
// item's data is its engine index.
void fillOrderList(HWND listBox, BOOL defaults, MediaContext& context);

// Replaces the stored order by the items of the list box.
void saveOrderList(HWND listBox);

// Gives the MCI engine the installed MCI devices whose "Device" value says
// they are not used. Called once, when the main window is created.
void buildMciExclusions(MediaContext& context);
