#include <gtest/gtest.h>

#include <stdlib.h>
#include <string.h>
#include <string>

#include <process.h>

#include "MediaFiles.h"
#include "Ole.h"
#include "RichEdit.h"
#include "TestPaths.h"
#include "Winmm.h"

// The tests named Without* expect a library to be disabled through
// WINEDLLOVERRIDES (see bindings.cmake); in an ordinary run they are skipped.

namespace {

bool overridden(const char* library)
{
    const char* overrides = getenv("WINEDLLOVERRIDES");
    return overrides && strstr(overrides, (std::string(library) + "=").c_str());
}

// A platform entry reached past the bindings, to look at COM from outside.
template <typename Function>
Function platformEntry(const char* library, const char* name)
{
    return reinterpret_cast<Function>(GetProcAddress(GetModuleHandleA(library), name));
}

// Whether COM is initialised on the calling thread: CoInitializeEx answers
// S_OK only on a thread without COM, and is undone at once.
bool threadHasCom()
{
    auto initialise = platformEntry<HRESULT(WINAPI*)(LPVOID, DWORD)>("OLE32.DLL", "CoInitializeEx");
    auto uninitialise = platformEntry<void(WINAPI*)()>("OLE32.DLL", "CoUninitialize");
    if (!initialise || !uninitialise)
        return false;
    HRESULT result = initialise(nullptr, COINIT_APARTMENTTHREADED);
    if (SUCCEEDED(result))
        uninitialise();
    return result != S_OK;
}

DWORD mciDeviceCount()
{
    DWORD count = 0;
    MCI_SYSINFO_PARMSA info = {};
    info.lpstrReturn = reinterpret_cast<LPSTR>(&count);
    info.dwRetSize = sizeof count;
    info.wDeviceType = MCI_ALL_DEVICE_ID;
    if (winmm::mciSendCommandA(MCI_ALL_DEVICE_ID, MCI_SYSINFO, MCI_SYSINFO_QUANTITY,
                               reinterpret_cast<DWORD_PTR>(&info)) != 0)
        return 0;
    return count;
}

// A drop target that accepts nothing.
class RefusingDropTarget : public IDropTarget {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        if (iid == IID_IUnknown || iid == IID_IDropTarget) {
            *object = this;
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references); }
    ULONG STDMETHODCALLTYPE Release() override { return InterlockedDecrement(&references); }
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject*, DWORD, POINTL, DWORD* effect) override
    {
        *effect = DROPEFFECT_NONE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD* effect) override
    {
        *effect = DROPEFFECT_NONE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragLeave() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject*, DWORD, POINTL, DWORD* effect) override
    {
        *effect = DROPEFFECT_NONE;
        return S_OK;
    }
    LONG references = 1;
};

// A window destroyed at the end of the scope.
struct TestWindow {
    HWND handle = CreateWindowExA(0, "STATIC", "bindings", WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    ~TestWindow()
    {
        if (handle)
            DestroyWindow(handle);
    }
};

// Runs a function on a thread of its own and waits for it.
template <typename Body>
void onOtherThread(Body body)
{
    struct Call {
        static unsigned __stdcall run(void* argument)
        {
            (*static_cast<Body*>(argument))();
            return 0;
        }
    };
    HANDLE thread = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, Call::run, &body, 0, nullptr));
    ASSERT_NE(nullptr, thread);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread, 60000));
    CloseHandle(thread);
}

// Static objects of the programs may use the bindings while they are built.
struct UsesBindingsWhenBuilt {
    DWORD mciDevices = mciDeviceCount();
    BOOL guidAnswered = FALSE;
    UsesBindingsWhenBuilt() { ole32::guidsEqual(IID_IUnknown, IID_IUnknown, &guidAnswered); }
};
UsesBindingsWhenBuilt usesBindingsWhenBuilt;

} // namespace

TEST(Mci, bindingsServeStaticObjectsWhileTheyAreBuilt)
{
    EXPECT_EQ(mciDeviceCount(), usesBindingsWhenBuilt.mciDevices);
    EXPECT_TRUE(usesBindingsWhenBuilt.guidAnswered);
}

TEST(Mci, commandsReachTheMultimediaLibrary)
{
    EXPECT_GT(mciDeviceCount(), 0u);
    // A real MCI error, not the binding's own failure value.
    EXPECT_EQ(static_cast<MCIERROR>(MCIERR_INVALID_DEVICE_ID),
              winmm::mciSendCommandA(4321, MCI_STATUS, 0, 0));
}

TEST(Mmio, readsAndWritesRiffFiles)
{
    std::string folder = makeTempFolder();
    std::string wave = folder + "tone.wav";
    ASSERT_TRUE(writePcmWave(wave, 100));

    HMMIO file = winmm::mmioOpenA(&wave[0], nullptr, MMIO_READ);
    ASSERT_NE(nullptr, file);
    MMCKINFO riff = {};
    riff.fccType = mmioFOURCC('W', 'A', 'V', 'E');
    EXPECT_EQ(MMSYSERR_NOERROR, winmm::mmioDescend(file, &riff, nullptr, MMIO_FINDRIFF));
    MMCKINFO format = {};
    format.ckid = mmioFOURCC('f', 'm', 't', ' ');
    EXPECT_EQ(MMSYSERR_NOERROR, winmm::mmioDescend(file, &format, &riff, MMIO_FINDCHUNK));
    PCMWAVEFORMAT pcm = {};
    EXPECT_EQ(static_cast<LONG>(sizeof pcm),
              winmm::mmioRead(file, reinterpret_cast<HPSTR>(&pcm), sizeof pcm));
    EXPECT_EQ(22050u, pcm.wf.nSamplesPerSec);
    EXPECT_EQ(0, winmm::mmioSeek(file, 0, SEEK_SET));
    EXPECT_EQ(MMSYSERR_NOERROR, winmm::mmioClose(file, 0));

    std::string written = folder + "written.wav";
    file = winmm::mmioOpenA(&written[0], nullptr, MMIO_CREATE | MMIO_WRITE);
    ASSERT_NE(nullptr, file);
    MMCKINFO outer = {};
    outer.fccType = mmioFOURCC('T', 'E', 'S', 'T');
    EXPECT_EQ(MMSYSERR_NOERROR, winmm::mmioCreateChunk(file, &outer, MMIO_CREATERIFF));
    MMCKINFO data = {};
    data.ckid = mmioFOURCC('d', 'a', 't', 'a');
    EXPECT_EQ(MMSYSERR_NOERROR, winmm::mmioCreateChunk(file, &data, 0));
    EXPECT_EQ(4, winmm::mmioWrite(file, "abcd", 4));
    EXPECT_EQ(MMSYSERR_NOERROR, winmm::mmioAscend(file, &data, 0));
    EXPECT_EQ(MMSYSERR_NOERROR, winmm::mmioAscend(file, &outer, 0));
    EXPECT_EQ(MMSYSERR_NOERROR, winmm::mmioFlush(file, 0));
    EXPECT_EQ(MMSYSERR_NOERROR, winmm::mmioClose(file, 0));

    WIN32_FILE_ATTRIBUTE_DATA attributes = {};
    EXPECT_TRUE(GetFileAttributesExA(written.c_str(), GetFileExInfoStandard, &attributes));
    EXPECT_EQ(12u + 8u + 4u, attributes.nFileSizeLow);
    removeTree(folder);
}

TEST(Mixer, answersFromTheMultimediaLibrary)
{
    HMIXER mixer = nullptr;
    MMRESULT opened = winmm::mixerOpen(&mixer, 0, 0, 0, MIXER_OBJECTF_MIXER);
    if (opened != MMSYSERR_NOERROR)
        GTEST_SKIP() << "no mixer device: " << opened;
    MIXERLINEA line = {};
    line.cbStruct = sizeof line;
    line.dwComponentType = MIXERLINE_COMPONENTTYPE_DST_SPEAKERS;
    MMRESULT found = winmm::mixerGetLineInfoA(reinterpret_cast<HMIXEROBJ>(mixer), &line,
                                              MIXER_GETLINEINFOF_COMPONENTTYPE | MIXER_OBJECTF_HMIXER);
    if (found == MMSYSERR_NOERROR) {
        MIXERCONTROLA control = {};
        MIXERLINECONTROLSA controls = {};
        controls.cbStruct = sizeof controls;
        controls.dwLineID = line.dwLineID;
        controls.dwControlType = MIXERCONTROL_CONTROLTYPE_VOLUME;
        controls.cControls = 1;
        controls.cbmxctrl = sizeof control;
        controls.pamxctrl = &control;
        if (winmm::mixerGetLineControlsA(reinterpret_cast<HMIXEROBJ>(mixer), &controls,
                                         MIXER_GETLINECONTROLSF_ONEBYTYPE | MIXER_OBJECTF_HMIXER) ==
            MMSYSERR_NOERROR) {
            MIXERCONTROLDETAILS_UNSIGNED volume[2] = {};
            MIXERCONTROLDETAILS details = {};
            details.cbStruct = sizeof details;
            details.dwControlID = control.dwControlID;
            details.cChannels = 1;
            details.cbDetails = sizeof volume[0];
            details.paDetails = volume;
            EXPECT_EQ(MMSYSERR_NOERROR,
                      winmm::mixerGetControlDetailsA(reinterpret_cast<HMIXEROBJ>(mixer), &details,
                                                     MIXER_GETCONTROLDETAILSF_VALUE | MIXER_OBJECTF_HMIXER));
            EXPECT_EQ(MMSYSERR_NOERROR,
                      winmm::mixerSetControlDetails(reinterpret_cast<HMIXEROBJ>(mixer), &details,
                                                    MIXER_SETCONTROLDETAILSF_VALUE | MIXER_OBJECTF_HMIXER));
        }
    }
    EXPECT_EQ(MMSYSERR_NOERROR, winmm::mixerClose(mixer));
}

// As a viewer calls the plug-in from several threads: each thread's
// initialisation is its own, once however often it asks, and is undone by
// that thread alone.
TEST(Ole, initialisesComOncePerThread)
{
    ole32::OleUninitialize();
    ASSERT_TRUE(ole32::OleInitialize());
    EXPECT_TRUE(ole32::OleInitialize());
    EXPECT_TRUE(threadHasCom());
    bool otherAnswer = false, otherHadCom = false, otherKeptCom = true;
    onOtherThread([&] {
        otherAnswer = ole32::OleInitialize();
        otherHadCom = threadHasCom();
        ole32::OleUninitialize();
        otherKeptCom = threadHasCom();
    });
    EXPECT_TRUE(otherAnswer);
    EXPECT_TRUE(otherHadCom);
    EXPECT_FALSE(otherKeptCom);
    // The other thread's undoing left this thread's initialisation, which
    // one uninitialisation undoes.
    EXPECT_TRUE(threadHasCom());
    ole32::OleUninitialize();
    EXPECT_FALSE(threadHasCom());
    ole32::OleUninitialize();
    EXPECT_FALSE(threadHasCom());
}

TEST(Ole, usesTheMultithreadedApartmentOfAThreadAsItIs)
{
    ole32::OleUninitialize();
    auto initialise = platformEntry<HRESULT(WINAPI*)(LPVOID, DWORD)>("OLE32.DLL", "CoInitializeEx");
    auto uninitialise = platformEntry<void(WINAPI*)()>("OLE32.DLL", "CoUninitialize");
    ASSERT_TRUE(initialise && uninitialise);
    bool answered = false;
    HRESULT created = E_FAIL;
    bool keptCom = false;
    onOtherThread([&] {
        if (FAILED(initialise(nullptr, COINIT_MULTITHREADED)))
            return;
        answered = ole32::OleInitialize();
        IUnknown* object = nullptr;
        created = ole32::CoCreateInstance(CLSID_StdGlobalInterfaceTable, nullptr, CLSCTX_INPROC_SERVER,
                                          IID_IUnknown, reinterpret_cast<void**>(&object));
        if (object)
            object->Release();
        ole32::OleUninitialize();
        keptCom = threadHasCom();
        uninitialise();
    });
    EXPECT_TRUE(answered);
    EXPECT_EQ(S_OK, created);
    EXPECT_TRUE(keptCom);
}

TEST(Ole, entriesInitialiseComThemselves)
{
    ole32::OleUninitialize();
    IUnknown* object = nullptr;
    ASSERT_EQ(S_OK, ole32::CoCreateInstance(CLSID_StdGlobalInterfaceTable, nullptr, CLSCTX_INPROC_SERVER,
                                            IID_IUnknown, reinterpret_cast<void**>(&object)));
    ASSERT_NE(nullptr, object);
    object->Release();
    EXPECT_TRUE(threadHasCom());

    EXPECT_TRUE(ole32::CoTaskMemFree(nullptr));
    auto allocate = platformEntry<LPVOID(WINAPI*)(SIZE_T)>("OLE32.DLL", "CoTaskMemAlloc");
    ASSERT_NE(nullptr, allocate);
    EXPECT_TRUE(ole32::CoTaskMemFree(allocate(64)));
    EXPECT_EQ(S_OK, oleaut32::SysFreeString(nullptr));

    IBindCtx* context = nullptr;
    ASSERT_EQ(S_OK, ole32::CreateBindCtx(0, &context));
    ULONG eaten = 0;
    IMoniker* moniker = nullptr;
    HRESULT parsed = ole32::MkParseDisplayName(context, L"\x01no such thing", &eaten, &moniker);
    EXPECT_TRUE(FAILED(parsed));
    EXPECT_NE(static_cast<HRESULT>(-1), parsed);
    if (moniker)
        moniker->Release();
    context->Release();
}

TEST(Ole, registersAndRevokesDropTargets)
{
    TestWindow window;
    ASSERT_NE(nullptr, window.handle);
    RefusingDropTarget target;
    EXPECT_TRUE(ole32::RegisterDragDrop(window.handle, &target, TRUE));
    EXPECT_FALSE(ole32::RegisterDragDrop(window.handle, &target, TRUE));
    EXPECT_TRUE(ole32::RegisterDragDrop(window.handle, nullptr, FALSE));
    EXPECT_FALSE(ole32::RegisterDragDrop(window.handle, nullptr, FALSE));
    EXPECT_EQ(1, target.references);
}

TEST(Ole, comparesGuidsThroughTheLibrary)
{
    BOOL answered = FALSE;
    EXPECT_TRUE(ole32::guidsEqual(IID_IUnknown, IID_IUnknown, &answered));
    EXPECT_TRUE(answered);
    EXPECT_FALSE(ole32::guidsEqual(IID_IUnknown, IID_IDropTarget, &answered));
    EXPECT_TRUE(answered);
}

TEST(RichEdit, loadsTheControlLibrary)
{
    ASSERT_TRUE(loadRichEdit());
    EXPECT_TRUE(loadRichEdit());
    WNDCLASSA richEdit = {};
    EXPECT_TRUE(GetClassInfoA(nullptr, "RichEdit", &richEdit));
    TestWindow owner;
    HWND control = CreateWindowExA(0, "RichEdit", "text", WS_CHILD, 0, 0, 40, 20, owner.handle, nullptr,
                                   GetModuleHandleA(nullptr), nullptr);
    EXPECT_NE(nullptr, control);
    if (control)
        DestroyWindow(control);
    freeRichEdit();
    freeRichEdit();
}

TEST(WithoutWinmm, everyEntryAnswersItsFailureValue)
{
    if (!overridden("winmm"))
        GTEST_SKIP() << "needs WINEDLLOVERRIDES=winmm=";
    ASSERT_EQ(nullptr, LoadLibraryA("WINMM.DLL"));
    EXPECT_EQ(1u, winmm::mciSendCommandA(0, MCI_SYSINFO, MCI_SYSINFO_QUANTITY, 0));
    char name[] = "C:\\nothing.wav";
    EXPECT_EQ(nullptr, winmm::mmioOpenA(name, nullptr, MMIO_READ));
    HMMIO none = nullptr;
    MMCKINFO chunk = {};
    char buffer[4];
    EXPECT_EQ(static_cast<MMRESULT>(MMIOERR_CHUNKNOTFOUND), winmm::mmioDescend(none, &chunk, nullptr, 0));
    EXPECT_EQ(-1, winmm::mmioSeek(none, 0, SEEK_SET));
    EXPECT_EQ(-1, winmm::mmioRead(none, buffer, 4));
    EXPECT_EQ(-1, winmm::mmioWrite(none, buffer, 4));
    EXPECT_EQ(static_cast<MMRESULT>(MMIOERR_CANNOTWRITE), winmm::mmioCreateChunk(none, &chunk, 0));
    EXPECT_EQ(static_cast<MMRESULT>(MMIOERR_CANNOTWRITE), winmm::mmioAscend(none, &chunk, 0));
    EXPECT_EQ(static_cast<MMRESULT>(MMIOERR_CANNOTWRITE), winmm::mmioFlush(none, 0));
    EXPECT_EQ(static_cast<MMRESULT>(MMIOERR_CANNOTWRITE), winmm::mmioClose(none, 0));
    HMIXER mixer = nullptr;
    MIXERLINEA line = {};
    MIXERLINECONTROLSA controls = {};
    MIXERCONTROLDETAILS details = {};
    const MMRESULT bad = MMSYSERR_BADDEVICEID;
    EXPECT_EQ(bad, winmm::mixerOpen(&mixer, 0, 0, 0, 0));
    EXPECT_EQ(bad, winmm::mixerGetLineInfoA(nullptr, &line, 0));
    EXPECT_EQ(bad, winmm::mixerGetLineControlsA(nullptr, &controls, 0));
    EXPECT_EQ(bad, winmm::mixerGetControlDetailsA(nullptr, &details, 0));
    EXPECT_EQ(bad, winmm::mixerSetControlDetails(nullptr, &details, 0));
    EXPECT_EQ(bad, winmm::mixerClose(mixer));
}

TEST(WithoutOle, everyEntryAnswersItsFailureValue)
{
    if (!overridden("ole32"))
        GTEST_SKIP() << "needs WINEDLLOVERRIDES=ole32=";
    ASSERT_EQ(nullptr, LoadLibraryA("OLE32.DLL"));
    EXPECT_FALSE(ole32::OleInitialize());
    ole32::OleUninitialize();
    IUnknown* object = nullptr;
    EXPECT_EQ(static_cast<HRESULT>(-1),
              ole32::CoCreateInstance(CLSID_StdGlobalInterfaceTable, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_IUnknown, reinterpret_cast<void**>(&object)));
    EXPECT_EQ(nullptr, object);
    int block = 0;
    EXPECT_FALSE(ole32::CoTaskMemFree(&block));
    TestWindow window;
    RefusingDropTarget target;
    EXPECT_FALSE(ole32::RegisterDragDrop(window.handle, &target, TRUE));
    EXPECT_FALSE(ole32::RegisterDragDrop(window.handle, nullptr, FALSE));
    IBindCtx* context = nullptr;
    EXPECT_EQ(static_cast<HRESULT>(-1), ole32::CreateBindCtx(0, &context));
    ULONG eaten = 0;
    IMoniker* moniker = nullptr;
    EXPECT_EQ(static_cast<HRESULT>(-1), ole32::MkParseDisplayName(nullptr, L"x", &eaten, &moniker));
    EXPECT_EQ(static_cast<HRESULT>(-1), oleaut32::SysFreeString(nullptr));
    EXPECT_EQ(static_cast<HRESULT>(-1), olepro32::OleCreatePropertyFrame(window.handle, 0, 0, L"x", 0, nullptr,
                                                                         0, nullptr, 0, 0, nullptr));
    BOOL answered = TRUE;
    EXPECT_FALSE(ole32::guidsEqual(IID_IUnknown, IID_IUnknown, &answered));
    EXPECT_FALSE(answered);
    // Wine's WINMM imports OLE32, so here MCI is gone too, and fails cleanly.
    if (!LoadLibraryA("WINMM.DLL")) {
        EXPECT_EQ(1u, winmm::mciSendCommandA(0, MCI_SYSINFO, MCI_SYSINFO_QUANTITY, 0));
    }
}

TEST(WithoutOlepro32, propertyFramesFailButComWorks)
{
    if (!overridden("olepro32"))
        GTEST_SKIP() << "needs WINEDLLOVERRIDES=olepro32=";
    ASSERT_EQ(nullptr, LoadLibraryA("OLEPRO32.DLL"));
    TestWindow window;
    EXPECT_EQ(static_cast<HRESULT>(-1), olepro32::OleCreatePropertyFrame(window.handle, 0, 0, L"x", 0, nullptr,
                                                                         0, nullptr, 0, 0, nullptr));
    EXPECT_TRUE(ole32::OleInitialize());
}
