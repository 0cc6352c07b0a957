#include "PluginSettings.h"

#include <new>
#include <string.h>

#include "MediaContext.h"

PluginSettings pluginSettings;
// Built before the static objects of default priority (the accepted list).
RegistryStore pluginStore __attribute__((init_priority(120))){"Software\\Malvoren\\Pixamor", HKEY_CURRENT_USER};
RegistryStore bitmapStore __attribute__((init_priority(120))){"Software\\Malvoren\\Pixamor\\Bitmap",
                                                              HKEY_CURRENT_USER};
RegistryStore cacheStore __attribute__((init_priority(120))){"Software\\Malvoren\\Pixamor\\Cache",
                                                             HKEY_CURRENT_USER};
AcceptList acceptList{"Software\\Malvoren\\Pixamor\\Accept"};

const char* const predefinedExtensions[predefinedExtensionCount] = {
    ".WAV", ".AVI", ".IVF", ".IVA", ".MID", ".RMI", ".MIDI", ".DAT", ".CDA", ".AIF", ".AIFF",
    ".AIFC", ".AU", ".SND", ".MOV", ".QT", ".RA", ".RAM", ".RM", ".RMM", ".ASF", ".ASX",
    ".LSF", ".LSX", ".WM", ".WMA", ".WAX", ".WMV", ".WVX", ".MPEG", ".MPG", ".MPE", ".MPV",
    ".MLV", ".MP2", ".MPV2", ".MP2V", ".MPA", ".MP3", ".RMP", ".VOB", ".M3U", ".PLS",
    // Formats found by their heads, written after the first ones.
    ".MP4", ".M4A", ".M4V", ".3GP", ".MKV", ".WEBM", ".OGG", ".OGA", ".OGV", ".OPUS", ".FLAC", ".TS",
};

namespace {

const char* const pcmSubkey = "extension";

// A stored ratio of any other length than a double reads as 1.0.
double readRate(const RegistryStore& store)
{
    ByteBuffer bytes = store.value("Rate").readBinary();
    double rate = 1.0;
    if (bytes.size() == sizeof rate)
        memcpy(&rate, bytes.data(), sizeof rate);
    return rate;
}

char* copyName(const char* name)
{
    size_t length = strlen(name) + 1;
    char* copy = new (std::nothrow) char[length];
    if (copy)
        memcpy(copy, name, length);
    return copy;
}

void freeNames(char** names, UINT count)
{
    for (UINT i = 0; i < count; ++i)
        delete[] names[i];
    delete[] names;
}

// Copies of names gathered into an array of a known greatest size.
class NameList {
public:
    explicit NameList(UINT capacity) : names_(new (std::nothrow) char*[capacity ? capacity : 1]), capacity_(capacity) {}
    ~NameList() { freeNames(names_, count_); }
    NameList(const NameList&) = delete;
    NameList& operator=(const NameList&) = delete;

    bool ready() const { return names_ != nullptr; }
    bool add(const char* name)
    {
        char* copy = count_ < capacity_ ? copyName(name) : nullptr;
        if (copy)
            names_[count_++] = copy;
        return copy != nullptr;
    }
    char** release(UINT* count)
    {
        char** names = names_;
        *count = count_;
        names_ = nullptr;
        count_ = 0;
        return names;
    }

private:
    char** names_;
    UINT capacity_;
    UINT count_ = 0;
};

} // namespace

void LoadPluginSettings(const RegistryStore& store)
{
    PluginSettings& s = pluginSettings;
    s.playKnownFiles = store.readFlag("PlayKnownFiles", true);
    s.useDirectShow = store.readFlag("UseDirectShow", true);
    s.useDirectMusicForMidi = store.readFlag("UseDirectMusicForMidi", false);
    s.tryUnknownFile = store.readFlag("TryUnknownFile", true);
    s.preferDirectShow = store.readFlag("PreferDirectShow", true);
    s.showImage = store.readFlag("ShowImage", false);
    s.framePosition = store.value("FramePosition", 0).readNumber();
    s.playWhenPreview = store.readFlag("PlayWhenPreview", false);
    s.playWhenOpen = store.readFlag("PlayWhenOpen", true);
    s.milliseconds = store.value("Milliseconds", 5000).readNumber();
    s.repeat = store.readFlag("Repeat", false);
    s.setPitch = store.readFlag("SetPitch", false);
    s.rate = readRate(store);
    s.enableDvd = store.readFlag("EnableDvd", false);
}

void SavePluginSettings(const RegistryStore& store)
{
    const PluginSettings& s = pluginSettings;
    store.writeFlag("PlayKnownFiles", s.playKnownFiles);
    store.writeFlag("UseDirectShow", s.useDirectShow);
    store.writeFlag("UseDirectMusicForMidi", s.useDirectMusicForMidi);
    store.writeFlag("TryUnknownFile", s.tryUnknownFile);
    store.writeFlag("PreferDirectShow", s.preferDirectShow);
    store.writeFlag("ShowImage", s.showImage);
    store.value("FramePosition").writeNumber(s.framePosition);
    store.writeFlag("PlayWhenPreview", s.playWhenPreview);
    store.writeFlag("PlayWhenOpen", s.playWhenOpen);
    store.value("Milliseconds").writeNumber(s.milliseconds);
    store.writeFlag("Repeat", s.repeat);
    store.writeFlag("SetPitch", s.setPitch);
    store.value("Rate").writeBinary(ByteBuffer(&s.rate, sizeof s.rate));
}

AcceptList::AcceptList(const char* keyPath) : store_(keyPath)
{
    HKEY key = store_.openKey();
    if (!key) {
        ResetAcceptList();
        return;
    }
    RegCloseKey(key);
    LoadAcceptList();
}

AcceptList::~AcceptList() { clear(); }

void AcceptList::clear()
{
    LockScope hold(lock_);
    freeNames(names_, count_);
    names_ = nullptr;
    count_ = 0;
}

void AcceptList::LoadAcceptList()
{
    LockScope hold(lock_);
    clear();
    DWORD total = store_.countValues();
    NameList list(total);
    if (total == 0 || !list.ready())
        return;
    for (DWORD i = 0; i < total; ++i) {
        HeapText name = store_.valueNameAt(i);
        if (name && store_.readNumber(name.get(), 0) != 0 && !list.add(name.get()))
            break;
    }
    names_ = list.release(&count_);
}

void AcceptList::ResetAcceptList()
{
    LockScope hold(lock_);
    // Deleting shifts the indexes down: the first value is deleted until none is left.
    for (DWORD left = store_.countValues(); left > 0; --left) {
        HeapText name = store_.valueNameAt(0);
        if (!name)
            break;
        store_.deleteValue(name.get());
    }
    for (UINT i = 0; i < predefinedExtensionCount; ++i)
        store_.writeNumber(1, predefinedExtensions[i]);
    LoadAcceptList();
}

void AcceptList::SetAccepted(const char* extension, bool accepted)
{
    if (extension && *extension)
        store_.writeNumber(accepted ? 1 : 0, extension);
}

bool AcceptList::IsAccepted(const char* extension) const
{
    if (!extension || !*extension)
        return false;
    LockScope hold(lock_);
    for (UINT i = 0; i < count_; ++i)
        if (lstrcmpiA(names_[i], extension) == 0)
            return true;
    return false;
}

void AcceptList::FillAcceptListBox(HWND listBox) const
{
    LockScope hold(lock_);
    for (UINT i = 0; i < count_; ++i)
        SendMessageA(listBox, LB_ADDSTRING, 0, (LPARAM)names_[i]);
}

PCMWAVEFORMAT defaultPcmFormat()
{
    PCMWAVEFORMAT format = {};
    format.wf.wFormatTag = WAVE_FORMAT_PCM;
    format.wf.nChannels = 1;
    format.wf.nSamplesPerSec = 22050;
    format.wf.nAvgBytesPerSec = 22050;
    format.wf.nBlockAlign = 1;
    format.wBitsPerSample = 8;
    return format;
}

// A stored record of any other length than 16 bytes reads as the default.
PCMWAVEFORMAT ReadPcmFormat(const char* extension, const RegistryStore& store)
{
    PCMWAVEFORMAT format = defaultPcmFormat();
    if (!extension)
        return format;
    ByteBuffer bytes = store.readBinary(extension, nullptr, pcmSubkey);
    if (bytes.size() == sizeof format)
        memcpy(&format, bytes.data(), sizeof format);
    return format;
}

void WritePcmFormat(const char* extension, DWORD samplesPerSecond, WORD bitsPerSample, WORD channels,
                    const RegistryStore& store)
{
    if (!extension)
        return;
    PCMWAVEFORMAT format = defaultPcmFormat();
    format.wf.nChannels = channels;
    format.wf.nSamplesPerSec = samplesPerSecond;
    format.wf.nBlockAlign = (WORD)(channels * bitsPerSample / 8);
    format.wf.nAvgBytesPerSec = samplesPerSecond * format.wf.nBlockAlign;
    format.wBitsPerSample = bitsPerSample;
    store.writeBinary(ByteBuffer(&format, sizeof format), extension, pcmSubkey);
}

void DeletePcmExtension(const char* extension, const RegistryStore& store)
{
    if (extension)
        store.deleteValue(extension, pcmSubkey);
}

bool IsPcmExtension(const char* extension, const RegistryStore& store)
{
    if (!extension || !*extension)
        return false;
    DWORD total = store.countValues(pcmSubkey);
    for (DWORD i = 0; i < total; ++i) {
        HeapText name = store.valueNameAt(i, pcmSubkey);
        if (name && lstrcmpiA(name.get(), extension) == 0)
            return true;
    }
    return false;
}

void FillPcmListBox(HWND listBox, const RegistryStore& store)
{
    DWORD total = store.countValues(pcmSubkey);
    for (DWORD i = 0; i < total; ++i) {
        HeapText name = store.valueNameAt(i, pcmSubkey);
        if (name && *name)
            SendMessageA(listBox, LB_ADDSTRING, 0, (LPARAM)name.get());
    }
}

void BuildExcludedMciDevices(MediaContext& context, const char* playerDeviceKey)
{
    context.setMciDeviceNames(nullptr, 0);
    RegistryStore devices(playerDeviceKey);
    MciDevice& mci = context.mciDevice();
    UINT total = mci.deviceCount();
    NameList list(total);
    if (total == 0 || !list.ready())
        return;
    for (UINT i = 0; i < total; ++i) {
        char name[MAX_PATH];
        if (!mci.deviceName(i, name, sizeof name))
            return;
        if (devices.readNumber(name, 0) != 0 && !list.add(name))
            return;
    }
    UINT kept;
    char** names = list.release(&kept);
    context.setMciDeviceNames(names, kept);
}
