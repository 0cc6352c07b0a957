#include "EngineSelection.h"

#include <new>

#include "MediaContext.h"

namespace {

const char orderSubkey[] = "Order";
const char mciPrefix[] = "MCI - ";
const UINT mciPrefixLength = sizeof mciPrefix - 1;
const DWORD openByTypeName = MCI_OPEN_TYPE | MCI_OPEN_ELEMENT;

const wchar_t* const engineLabels[] = {
    L"MCI - 既知メディア",        L"MCI - 未知メディア",        L"DirectShow - 既知メディア",
    L"DirectShow - 未知メディア", L"DirectMusic - MIDI",        L"VBMP3 - 外部エンジン",
    L"SoftMPEG - 外部エンジン",
};

// The engine whose key the entry is, else EngineMciDevice: the entry names
// an MCI device.
int engineIndexOf(const char* entry)
{
    for (int engine = EngineMci; engine <= EngineSoftMpeg; ++engine) {
        if (lstrcmpA(entry, engineKey(engine)) == 0)
            return engine;
    }
    return EngineMciDevice;
}

// Opens one file on the engines of one context and records the outcome.
class Selector {
public:
    Selector(MediaContext& context, const char* fileName, EngineSelection& selection)
        : context_(context), fileName_(fileName), selection_(selection)
    {
    }

    BOOL byFixedRules();
    BOOL byDeviceOrder(const RegistryStore& store);

private:
    BOOL tryEntry(const char* entry, BOOL known, const RegistryStore& store);
    BOOL tryMci();
    BOOL tryDirectShow();
    BOOL tryDirectMusic();
    BOOL tryVbmp3();
    BOOL trySoftMpeg();
    BOOL tryMciDevice(const char* typeName);

    MediaContext& context_;
    const char* fileName_;
    EngineSelection& selection_;
};

BOOL Selector::tryMci()
{
    selection_.currentDevice = &context_.mciDevice();
    selection_.mciOpened = context_.mciDevice().open(fileName_);
    return selection_.mciOpened;
}

BOOL Selector::tryDirectShow()
{
    selection_.currentDevice = &context_.directShowDevice();
    selection_.directShowOpened = context_.directShowDevice().open(fileName_);
    return selection_.directShowOpened;
}

BOOL Selector::tryDirectMusic()
{
    selection_.currentDevice = &context_.directMusicDevice();
    selection_.directMusicOpened = context_.directMusicDevice().open(fileName_);
    return selection_.directMusicOpened;
}

BOOL Selector::tryVbmp3()
{
    selection_.externalKind = ExternalKindVbmp3;
    selection_.currentDevice = &context_.vbmp3Device();
    selection_.vbmp3Opened = context_.vbmp3Device().open(fileName_);
    return selection_.vbmp3Opened;
}

BOOL Selector::trySoftMpeg()
{
    selection_.externalKind = ExternalKindSoftMpeg;
    selection_.currentDevice = &context_.softMpegDevice();
    selection_.mciOpened = context_.softMpegDevice().open(fileName_);
    return selection_.mciOpened;
}

// An installed MCI device named by the order: the file goes to it directly,
// without the readers of the MCI engine; "cdaudio" takes only track files.
BOOL Selector::tryMciDevice(const char* typeName)
{
    MciDevice& mci = context_.mciDevice();
    BOOL opened;
    if (lstrcmpiA(typeName, "cdaudio") == 0) {
        DWORD_PTR deviceType = 0;
        DWORD openFlags = 0;
        opened = mci.readCdTrack(fileName_, &deviceType, &openFlags) &&
                 mci.openWithDevice(fileName_, deviceType, openFlags);
    } else {
        opened = mci.openWithDevice(fileName_, typeName, openByTypeName);
    }
    if (opened) {
        selection_.currentDevice = &mci;
        selection_.mciOpened = TRUE;
    }
    return opened;
}

BOOL Selector::byFixedRules()
{
    if (playOptions.flags & FlagTryByExternalEngine) {
        if ((playOptions.externalEngines & ExternalVbmp3) && tryVbmp3())
            return TRUE;
        if ((playOptions.externalEngines & ExternalSoftMpeg) && trySoftMpeg())
            return TRUE;
    }
    if ((playOptions.flags & FlagTryByDirectMusic) && context_.isMidi(fileName_) && tryDirectMusic())
        return TRUE;
    BOOL mciTried = (playOptions.flags & FlagTryByMci) || context_.isCdda(fileName_);
    if (mciTried && tryMci())
        return TRUE;
    DirectShowDevice& directShow = context_.directShowDevice();
    if (directShow.probe(fileName_) && tryDirectShow())
        return TRUE;
    // DirectShow is the standard engine but the machine has none: MCI, the
    // other standard engine, takes the file rather than leaving it unplayed.
    return !mciTried && !directShow.canCreateGraph() && tryMci();
}

BOOL Selector::tryEntry(const char* entry, BOOL known, const RegistryStore& store)
{
    if (!isDeviceEnabled(entry, store))
        return FALSE;
    switch (engineIndexOf(entry)) {
    case EngineMci: return known && tryMci();
    case EngineMciUnknown: return !known && tryMci();
    case EngineDirectShow: return known && tryDirectShow();
    case EngineDirectShowUnknown: return !known && tryDirectShow();
    case EngineDirectMusic: return context_.isMidi(fileName_) && tryDirectMusic();
    case EngineVbmp3: return tryVbmp3();
    case EngineSoftMpeg: return trySoftMpeg();
    default: return tryMciDevice(entry);
    }
}

BOOL Selector::byDeviceOrder(const RegistryStore& store)
{
    BOOL known = context_.isKnownMedia(fileName_);
    char entry[OrderEntrySize];
    for (UINT index = 0; readOrderEntry(index, entry, sizeof entry, store); ++index) {
        if (tryEntry(entry, known, store))
            return TRUE;
    }
    return FALSE;
}

void orderValueName(UINT index, char (&name)[16]) { wsprintfA(name, "%03u", index); }

void addItem(HWND listBox, const wchar_t* label, int engineIndex)
{
    LRESULT item = SendMessageW(listBox, LB_ADDSTRING, 0, (LPARAM)label);
    if (item >= 0)
        SendMessageW(listBox, LB_SETITEMDATA, (WPARAM)item, (LPARAM)engineIndex);
}

void addMciDeviceItem(HWND listBox, const char* typeName)
{
    char text[OrderEntrySize + sizeof mciPrefix];
    lstrcpyA(text, mciPrefix);
    lstrcpynA(text + mciPrefixLength, typeName, OrderEntrySize);
    LRESULT item = SendMessageA(listBox, LB_ADDSTRING, 0, (LPARAM)text);
    if (item >= 0)
        SendMessageA(listBox, LB_SETITEMDATA, (WPARAM)item, (LPARAM)EngineMciDevice);
}

void fillDefaultOrder(HWND listBox, MediaContext& context)
{
    addItem(listBox, engineLabel(EngineMci), EngineMci);
    addItem(listBox, engineLabel(EngineMciUnknown), EngineMciUnknown);
    if (context.directShowDevice().canCreateGraph()) {
        addItem(listBox, engineLabel(EngineDirectShow), EngineDirectShow);
        addItem(listBox, engineLabel(EngineDirectShowUnknown), EngineDirectShowUnknown);
    }
    if (context.directMusicDevice().canCreate())
        addItem(listBox, engineLabel(EngineDirectMusic), EngineDirectMusic);
    if (context.vbmp3Device().isAvailable())
        addItem(listBox, engineLabel(EngineVbmp3), EngineVbmp3);
    if (context.softMpegDevice().isAvailable())
        addItem(listBox, engineLabel(EngineSoftMpeg), EngineSoftMpeg);
    MciDevice& mci = context.mciDevice();
    UINT count = mci.deviceCount();
    char name[OrderEntrySize];
    for (UINT i = 0; i < count && mci.deviceName(i, name, sizeof name); ++i)
        addMciDeviceItem(listBox, name);
}

// The entries the selection walks: up to the first missing or empty one.
void fillStoredOrder(HWND listBox, const RegistryStore& store)
{
    char entry[OrderEntrySize];
    for (UINT index = 0; readOrderEntry(index, entry, sizeof entry, store); ++index) {
        int engine = engineIndexOf(entry);
        if (engine == EngineMciDevice)
            addMciDeviceItem(listBox, entry);
        else
            addItem(listBox, engineLabel(engine), engine);
    }
}

void clearStoredOrder(const RegistryStore& store)
{
    for (DWORD index = store.countValues(orderSubkey); index-- > 0;) {
        HeapText name = store.valueNameAt(index, orderSubkey);
        if (name)
            store.deleteValue(name.get(), orderSubkey);
    }
}

} // namespace

// The text an item stores: its engine key, or the MCI device name after the
// "MCI - " prefix. False for an item that names nothing, which is left out
// so that the entries after it stay in reach of the walk.
bool orderEntryOf(HWND listBox, LRESULT item, char (&entry)[OrderEntrySize])
{
    const char* key = engineKey((int)SendMessageA(listBox, LB_GETITEMDATA, (WPARAM)item, 0));
    if (key) {
        lstrcpynA(entry, key, OrderEntrySize);
        return true;
    }
    LRESULT length = SendMessageA(listBox, LB_GETTEXTLEN, (WPARAM)item, 0);
    if (length <= (LRESULT)mciPrefixLength || length >= (LRESULT)(OrderEntrySize + mciPrefixLength))
        return false;
    char text[OrderEntrySize + sizeof mciPrefix];
    if (SendMessageA(listBox, LB_GETTEXT, (WPARAM)item, (LPARAM)text) != length)
        return false;
    lstrcpynA(entry, text + mciPrefixLength, OrderEntrySize);
    return true;
}

const wchar_t* engineLabel(int engineIndex)
{
    if (engineIndex < EngineMci || engineIndex > EngineSoftMpeg)
        return nullptr;
    return engineLabels[engineIndex - EngineMci];
}

BOOL openOnSelectedEngine(MediaContext& context, const char* fileName, EngineSelection& selection,
                          const RegistryStore& store)
{
    selection.mciOpened = selection.directShowOpened = FALSE;
    selection.directMusicOpened = selection.vbmp3Opened = FALSE;
    if (!fileName)
        return FALSE;
    Selector selector(context, fileName, selection);
    if (playOptions.flags & FlagAdvancedOrder)
        return selector.byDeviceOrder(store);
    return selector.byFixedRules();
}

BOOL readOrderEntry(UINT index, char* buffer, UINT size, const RegistryStore& store)
{
    if (!buffer || size == 0)
        return FALSE;
    buffer[0] = '\0';
    char name[16];
    orderValueName(index, name);
    HeapText text = store.readText(name, "", orderSubkey);
    if (!text || !text.get()[0])
        return FALSE;
    lstrcpynA(buffer, text.get(), (int)size);
    return TRUE;
}

void fillOrderList(HWND listBox, BOOL defaults, MediaContext& context, const RegistryStore& store)
{
    if (defaults) {
        SendMessageW(listBox, LB_RESETCONTENT, 0, 0);
        fillDefaultOrder(listBox, context);
    } else {
        fillStoredOrder(listBox, store);
    }
}

void saveOrderList(HWND listBox, const RegistryStore& store)
{
    clearStoredOrder(store);
    LRESULT count = SendMessageA(listBox, LB_GETCOUNT, 0, 0);
    UINT saved = 0;
    for (LRESULT item = 0; item < count; ++item) {
        char entry[OrderEntrySize];
        if (!orderEntryOf(listBox, item, entry))
            continue;
        char name[16];
        orderValueName(saved++, name);
        store.writeText(entry, name, orderSubkey);
    }
}

void buildMciExclusions(MediaContext& context, const RegistryStore& store)
{
    MciDevice& mci = context.mciDevice();
    UINT count = mci.deviceCount();
    char** names = new (std::nothrow) char*[count ? count : 1];
    UINT excluded = 0;
    bool complete = names != nullptr;
    char name[OrderEntrySize];
    for (UINT i = 0; i < count && complete; ++i) {
        complete = mci.deviceName(i, name, sizeof name) != FALSE;
        if (complete && !isDeviceEnabled(name, store)) {
            names[excluded] = new (std::nothrow) char[lstrlenA(name) + 1];
            complete = names[excluded] != nullptr;
            if (complete)
                lstrcpyA(names[excluded++], name);
        }
    }
    // The context owns the list and hands it to the device, so playback and
    // recognition probes keep the same devices out. A name that cannot be
    // read or kept drops the whole list.
    context.setMciDeviceNames(names, excluded);
    if (!complete)
        context.setMciDeviceNames(nullptr, 0);
}
