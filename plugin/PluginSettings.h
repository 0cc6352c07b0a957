#pragma once
#include <windows.h>

#include "RegistryStore.h"

class MediaContext;

// The plug-in's settings as last read from "Software\Malvoren\Pixamor".
// Exports read them; the configuration dialog changes and saves them.
struct PluginSettings {
    bool playKnownFiles = true;
    bool useDirectShow = true;
    bool useDirectMusicForMidi = false;
    bool tryUnknownFile = true;
    bool preferDirectShow = true;
    bool showImage = false;
    DWORD framePosition = 0;  // seconds from the start
    bool playWhenPreview = false;
    bool playWhenOpen = true;
    DWORD milliseconds = 5000;  // PlayToEnd: no limit
    bool repeat = false;
    bool setPitch = false;
    double rate = 1.0;
    bool enableDvd = false;  // read only
};

const DWORD PlayToEnd = 0xFFFFFFFF;

extern PluginSettings pluginSettings;
// "Software\Malvoren\Pixamor" and its subkeys "Bitmap" and "Cache".
extern RegistryStore pluginStore;
extern RegistryStore bitmapStore;
extern RegistryStore cacheStore;

// Tests pass a store of their own.
void LoadPluginSettings(const RegistryStore& store = pluginStore);
void SavePluginSettings(const RegistryStore& store = pluginStore);

// The accepted extensions ("Accept": a DWORD per extension with its dot,
// nonzero = accepted), loaded into memory when the library is loaded.
class AcceptList {
public:
    explicit AcceptList(const char* keyPath);
    ~AcceptList();
    AcceptList(const AcceptList&) = delete;
    AcceptList& operator=(const AcceptList&) = delete;

    // Rereads the accepted names from the registry.
    void LoadAcceptList();
    // Deletes every value and writes the predefined extensions, then reloads.
    void ResetAcceptList();
    // Written at once; the in-memory list changes at the next load.
    void SetAccepted(const char* extension, bool accepted);
    // extension with its dot, compared without regard to case.
    bool IsAccepted(const char* extension) const;
    void FillAcceptListBox(HWND listBox) const;

    UINT count() const { return count_; }
    const char* name(UINT index) const { return index < count_ ? names_[index] : nullptr; }

private:
    void clear();

    RegistryStore store_;
    mutable CountedLock lock_;
    char** names_ = nullptr;
    UINT count_ = 0;
};

extern AcceptList acceptList;

// The predefined accepted extensions, in the order they are written.
extern const char* const predefinedExtensions[];
const UINT predefinedExtensionCount = 55;

// PcmExtensionList: headerless PCM files, one 16-byte PCM format record per
// extension (no dot)
// under "extension". Tests pass a store of their own.
PCMWAVEFORMAT ReadPcmFormat(const char* extension, const RegistryStore& store = pluginStore);
// Builds the record: block size channels x bits / 8, bytes per second
// samples per second x block size.
void WritePcmFormat(const char* extension, DWORD samplesPerSecond, WORD bitsPerSample, WORD channels,
                    const RegistryStore& store = pluginStore);
void DeletePcmExtension(const char* extension, const RegistryStore& store = pluginStore);
bool IsPcmExtension(const char* extension, const RegistryStore& store = pluginStore);
void FillPcmListBox(HWND listBox, const RegistryStore& store = pluginStore);
// 1 channel, 22050 samples per second, 8 bits.
PCMWAVEFORMAT defaultPcmFormat();

// The MCI devices that the player does not use (nonzero under the player's
// "Device" key), handed to the context's MCI probe; the list stays empty
// when a query fails.
void BuildExcludedMciDevices(MediaContext& context,
                             const char* playerDeviceKey = "Software\\Malvoren\\Player\\Device");
