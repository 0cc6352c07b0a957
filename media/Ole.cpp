#include "Ole.h"

#include "DynamicLibrary.h"

namespace {

// What a thread's OleInitialize found, kept in the thread's own slot: threads
// of a host initialise and uninitialise COM each for themselves.
enum ComState { ComNotInitialised, ComInitialisedByOwner, ComInitialisedByUs };

// The three OLE libraries with their locks and the thread slot of the COM
// state. At exit the libraries are freed in the order OLEAUT32, OLEPRO32,
// OLE32.
struct OleBinding {
    DynamicLibrary ole32{"OLE32.DLL"};
    DynamicLibrary olepro32{"OLEPRO32.DLL"};
    DynamicLibrary oleaut32{"OLEAUT32.DLL"};
    CountedLock ole32Lock;
    CountedLock olepro32Lock;
    CountedLock oleaut32Lock;
    const DWORD comSlot = TlsAlloc();

    ComState comState() const
    {
        return comSlot == TLS_OUT_OF_INDEXES ? ComNotInitialised : (ComState)(UINT_PTR)TlsGetValue(comSlot);
    }
    void setComState(ComState state) const { TlsSetValue(comSlot, (LPVOID)(UINT_PTR)state); }

    ~OleBinding()
    {
        if (comSlot != TLS_OUT_OF_INDEXES)
            TlsFree(comSlot);
        oleaut32.free();
        olepro32.free();
        ole32.free();
    }
};

// Built before, and torn down after, every static object of default
// priority, so that their constructors and destructors may use the bindings.
OleBinding instance __attribute__((init_priority(110)));

OleBinding& binding()
{
    return instance;
}

// For an entry of an OLE library: the caller holds that library's lock. Null
// when COM cannot be initialised or the entry is missing.
template <typename Function>
Function comEntry(Function& cached, DynamicLibrary& library, CountedLock& lock, const char* name)
{
    if (!ole32::OleInitialize())
        return nullptr;
    return library.resolve(cached, name, lock);
}

template <typename Function>
Function ole32Entry(Function& cached, const char* name)
{
    return comEntry(cached, binding().ole32, binding().ole32Lock, name);
}

const HRESULT missingOle = -1;

} // namespace

namespace ole32 {

BOOL OleInitialize()
{
    OleBinding& ole = binding();
    LockScope scope(ole.ole32Lock);
    if (ole.comState() == ComNotInitialised && ole.comSlot != TLS_OUT_OF_INDEXES) {
        static decltype(&::OleInitialize) cached;
        auto function = ole.ole32.resolve(cached, "OleInitialize", ole.ole32Lock);
        HRESULT result = function ? function(nullptr) : E_FAIL;
        // S_FALSE (already initialised on this thread) counts as success and
        // as one more initialisation to undo. A thread that its owner put in
        // the multithreaded apartment can use COM as it is; that
        // initialisation is not ours to undo.
        if (SUCCEEDED(result))
            ole.setComState(ComInitialisedByUs);
        else if (result == RPC_E_CHANGED_MODE)
            ole.setComState(ComInitialisedByOwner);
    }
    return ole.comState() != ComNotInitialised;
}

void OleUninitialize()
{
    OleBinding& ole = binding();
    LockScope scope(ole.ole32Lock);
    ComState state = ole.comState();
    if (state == ComNotInitialised)
        return;
    if (state == ComInitialisedByUs) {
        static decltype(&::OleUninitialize) cached;
        auto function = ole.ole32.resolve(cached, "OleUninitialize", ole.ole32Lock);
        if (!function)
            return;
        function();
    }
    ole.setComState(ComNotInitialised);
}

HRESULT CoCreateInstance(REFCLSID clsid, LPUNKNOWN outer, DWORD context, REFIID iid, LPVOID* object)
{
    LockScope scope(binding().ole32Lock);
    static decltype(&::CoCreateInstance) cached;
    auto function = ole32Entry(cached, "CoCreateInstance");
    return function ? function(clsid, outer, context, iid, object) : missingOle;
}

BOOL CoTaskMemFree(LPVOID block)
{
    LockScope scope(binding().ole32Lock);
    static decltype(&::CoTaskMemFree) cached;
    auto function = ole32Entry(cached, "CoTaskMemFree");
    if (!function)
        return FALSE;
    function(block);
    return TRUE;
}

BOOL RegisterDragDrop(HWND window, IDropTarget* target, BOOL registering)
{
    LockScope scope(binding().ole32Lock);
    HRESULT result = missingOle;
    if (registering) {
        static decltype(&::RegisterDragDrop) cached;
        auto function = ole32Entry(cached, "RegisterDragDrop");
        if (!function)
            return FALSE;
        result = function(window, target);
    } else {
        static decltype(&::RevokeDragDrop) cached;
        auto function = ole32Entry(cached, "RevokeDragDrop");
        if (!function)
            return FALSE;
        result = function(window);
    }
    return SUCCEEDED(result);
}

HRESULT CreateBindCtx(DWORD reserved, LPBC* context)
{
    LockScope scope(binding().ole32Lock);
    static decltype(&::CreateBindCtx) cached;
    auto function = ole32Entry(cached, "CreateBindCtx");
    return function ? function(reserved, context) : missingOle;
}

HRESULT MkParseDisplayName(LPBC context, LPCOLESTR name, ULONG* eaten, LPMONIKER* moniker)
{
    LockScope scope(binding().ole32Lock);
    static decltype(&::MkParseDisplayName) cached;
    auto function = ole32Entry(cached, "MkParseDisplayName");
    return function ? function(context, name, eaten, moniker) : missingOle;
}

BOOL guidsEqual(REFGUID a, REFGUID b, BOOL* answered)
{
    // Looked up at every use and never cached; the lock only covers the
    // loading of the library, not the comparison.
    typedef BOOL(WINAPI * Compare)(REFGUID, REFGUID);
    Compare function = nullptr;
    {
        OleBinding& ole = binding();
        LockScope scope(ole.ole32Lock);
        function = reinterpret_cast<Compare>(ole.ole32.entry("IsEqualGUID"));
    }
    if (answered)
        *answered = function != nullptr;
    return function ? function(a, b) : FALSE;
}

} // namespace ole32

namespace olepro32 {

HRESULT OleCreatePropertyFrame(HWND owner, UINT x, UINT y, LPCOLESTR caption, ULONG objectCount,
                               LPUNKNOWN* objects, ULONG pageCount, LPCLSID pages, LCID locale,
                               DWORD reserved, LPVOID reserved2)
{
    OleBinding& ole = binding();
    LockScope scope(ole.olepro32Lock);
    static decltype(&::OleCreatePropertyFrame) cached;
    auto function = comEntry(cached, ole.olepro32, ole.olepro32Lock, "OleCreatePropertyFrame");
    return function ? function(owner, x, y, caption, objectCount, objects, pageCount, pages, locale,
                               reserved, reserved2)
                    : missingOle;
}

} // namespace olepro32

namespace oleaut32 {

HRESULT SysFreeString(BSTR text)
{
    OleBinding& ole = binding();
    LockScope scope(ole.oleaut32Lock);
    static decltype(&::SysFreeString) cached;
    auto function = comEntry(cached, ole.oleaut32, ole.oleaut32Lock, "SysFreeString");
    if (!function)
        return missingOle;
    function(text);
    return S_OK;
}

} // namespace oleaut32
