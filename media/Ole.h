#pragma once
#include <windows.h>
#include <ole2.h>
#include <olectl.h>

// OLE32, OLEPRO32 and OLEAUT32 entries bound at run time. Every entry but
// OleInitialize, OleUninitialize and guidsEqual first makes sure COM is
// initialised and answers its failure value without calling the platform
// when it is not. OLE calls are serialised process-wide.
namespace ole32 {

// True when COM is initialised on the calling thread. The flag is the
// thread's own: the platform's OleInitialize runs at most once per thread
// while it is set, and OleUninitialize undoes only what this thread's
// OleInitialize did. A thread that its owner already put in the
// multithreaded apartment counts as initialised, and OleUninitialize then
// leaves that apartment alone.
BOOL OleInitialize();
void OleUninitialize();
// -1 when the library is missing.
HRESULT CoCreateInstance(REFCLSID clsid, LPUNKNOWN outer, DWORD context, REFIID iid, LPVOID* object);
// Whether the entry was there to free the block.
BOOL CoTaskMemFree(LPVOID block);
// RegisterDragDrop when registering, else RevokeDragDrop; true when the
// HRESULT is not negative.
BOOL RegisterDragDrop(HWND window, IDropTarget* target, BOOL registering);
HRESULT CreateBindCtx(DWORD reserved, LPBC* context);
HRESULT MkParseDisplayName(LPBC context, LPCOLESTR name, ULONG* eaten, LPMONIKER* moniker);
// IsEqualGUID of OLE32, resolved anew at every use. answered is false when
// the entry is missing: the caller then skips its comparison.
BOOL guidsEqual(REFGUID a, REFGUID b, BOOL* answered);

} // namespace ole32

namespace olepro32 {
HRESULT OleCreatePropertyFrame(HWND owner, UINT x, UINT y, LPCOLESTR caption, ULONG objectCount,
                               LPUNKNOWN* objects, ULONG pageCount, LPCLSID pages, LCID locale,
                               DWORD reserved, LPVOID reserved2);
} // namespace olepro32

namespace oleaut32 {
// -1 when the library is missing, else 0.
HRESULT SysFreeString(BSTR text);
} // namespace oleaut32
