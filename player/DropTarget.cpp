#include "DropTarget.h"

#include <shellapi.h>

#include "PlayerCore.h"

namespace {

DWORD effectOfKeys(DWORD keys)
{
    return (keys & MK_CONTROL) ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
}

// Releases a storage medium of type TYMED_HGLOBAL that holds a CF_HDROP list,
// without ReleaseStgMedium: the medium's owner releases it, or the list is
// ours and DragFinish frees it.
void releaseFileList(STGMEDIUM& medium)
{
    if (medium.pUnkForRelease)
        medium.pUnkForRelease->Release();
    else
        DragFinish(static_cast<HDROP>(medium.hGlobal));
}

} // namespace

DropTarget::~DropTarget()
{
    forgetData();
}

void DropTarget::forgetData()
{
    if (data_)
        data_->Release();
    data_ = nullptr;
}

HRESULT STDMETHODCALLTYPE DropTarget::QueryInterface(REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDropTarget)) {
        *object = static_cast<IDropTarget*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE DropTarget::AddRef()
{
    return InterlockedIncrement(&references_);
}

ULONG STDMETHODCALLTYPE DropTarget::Release()
{
    LONG left = InterlockedDecrement(&references_);
    if (left == 0)
        delete this;
    return left;
}

HRESULT STDMETHODCALLTYPE DropTarget::DragEnter(IDataObject* data, DWORD keys, POINTL, DWORD* effect)
{
    forgetData();
    data_ = data;
    if (data_)
        data_->AddRef();
    *effect = effectOfKeys(keys);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE DropTarget::DragOver(DWORD keys, POINTL, DWORD* effect)
{
    *effect = data_ ? effectOfKeys(keys) : DROPEFFECT_NONE;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE DropTarget::DragLeave()
{
    forgetData();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE DropTarget::Drop(IDataObject* data, DWORD keys, POINTL, DWORD* effect)
{
    *effect = DROPEFFECT_NONE;
    FORMATETC format = {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM medium = {};
    HRESULT result = data ? data->GetData(&format, &medium) : E_INVALIDARG;
    if (SUCCEEDED(result) && medium.tymed != TYMED_HGLOBAL) {
        // asked for global memory only; anything else is the owner's to free
        if (medium.pUnkForRelease)
            medium.pUnkForRelease->Release();
        result = DV_E_TYMED;
    }
    if (SUCCEEDED(result)) {
        replaceQueueFromDrop(static_cast<HDROP>(medium.hGlobal), (keys & MK_CONTROL) != 0);
        releaseFileList(medium);
        *effect = DROPEFFECT_COPY;
    }
    forgetData();
    return SUCCEEDED(result) ? S_OK : E_FAIL;
}
