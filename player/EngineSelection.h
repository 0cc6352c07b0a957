#pragma once
#include <windows.h>

#include "PlayerSettings.h"

class MediaContext;
class MediaDevice;

// The outside engine tried last ("external-engine kind").
enum ExternalEngineKind : DWORD {
    ExternalKindNone = 0,
    ExternalKindVbmp3 = 1,
    ExternalKindSoftMpeg = 2,
};

// What the last selection left for the open medium. The four flags are
// cleared at the start of every selection; SoftMPEG plays through MCI and
// counts as MCI.
struct EngineSelection {
    MediaDevice* currentDevice = nullptr; // the engine whose open ran last
    BOOL mciOpened = FALSE;
    BOOL directShowOpened = FALSE;
    BOOL directMusicOpened = FALSE;
    BOOL vbmp3Opened = FALSE;
    DWORD externalKind = ExternalKindNone;
};

// The label of an engine in the order list (UTF-16, for the list box); null
// outside 1-7.
const wchar_t* engineLabel(int engineIndex);

// Opens fileName on the first engine of the context that takes it: by the
// device order of the store when playOptions.flags holds FlagAdvancedOrder,
// else by the fixed rules of the flag word. Answers whether one opened it;
// selection.currentDevice then holds it. Starting playback, and listing the
// filters after DirectShow opened the file, are the caller's part.
BOOL openOnSelectedEngine(MediaContext& context, const char* fileName, EngineSelection& selection,
                          const RegistryStore& store = playerStore);

// Copies the "Order" value of that index, at most size - 1 characters; false
// when it is missing or empty.
BOOL readOrderEntry(UINT index, char* buffer, UINT size, const RegistryStore& store = playerStore);

// Fills the order list box. With defaults: the engines that work here, then
// every installed MCI device; without: the stored order. Each item's data is
// its engine index (0 for an MCI device, whose text follows "MCI - ").
void fillOrderList(HWND listBox, BOOL defaults, MediaContext& context,
                   const RegistryStore& store = playerStore);

// The text an item of the order list stores: its engine key, or the MCI
// device name after "MCI - ". False for an item that names nothing.
const UINT OrderEntrySize = 256;
bool orderEntryOf(HWND listBox, LRESULT item, char (&entry)[OrderEntrySize]);

// Replaces the stored order by the items of the list box.
void saveOrderList(HWND listBox, const RegistryStore& store = playerStore);

// Gives the MCI engine the installed MCI devices whose "Device" value says
// they are not used. Called when the main window is created and whenever the
// settings dialogs store; each list replaces the last.
void buildMciExclusions(MediaContext& context, const RegistryStore& store = playerStore);
