// The devices and filters that the system device enumerator lists by
// category, for the plug-in's search of a video compressor.
#include "DirectShowDevice.h"

#include <dshow.h>

#include "DirectShowEnum.h"
#include "Ole.h"

IMoniker** DirectShowDevice::enumerateCategory(REFCLSID category, UINT* count)
{
    if (!count)
        return nullptr;
    *count = 0;
    LockScope hold(lock);
    ComPtr<ICreateDevEnum> devices;
    ComPtr<IEnumMoniker> monikers;
    if (FAILED(ole32::CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER, IID_ICreateDevEnum,
                                       devices.outVoid()))
        || !devices)
        return nullptr;
    // S_FALSE with no enumerator: the category is empty.
    if (devices->CreateClassEnumerator(category, monikers.out(), 0) != S_OK || !monikers)
        return nullptr;
    return enumerateAll<IMoniker>(monikers.get(), count);
}

void DirectShowDevice::releaseMonikers(IMoniker** monikers, UINT count)
{
    releaseAll(monikers, count);
}

BSTR DirectShowDevice::friendlyName(IMoniker* moniker)
{
    if (!moniker)
        return nullptr;
    LockScope hold(lock);
    ComPtr<IPropertyBag> properties;
    if (FAILED(moniker->BindToStorage(nullptr, nullptr, IID_IPropertyBag, properties.outVoid())) || !properties)
        return nullptr;
    // Asking for a string makes the bag convert, so nothing but a string
    // (which the caller frees) can come back.
    VARIANT value;
    ZeroMemory(&value, sizeof value);
    value.vt = VT_BSTR;
    if (FAILED(properties->Read(L"FriendlyName", &value, nullptr)) || value.vt != VT_BSTR)
        return nullptr;
    return value.bstrVal;
}

LPOLESTR DirectShowDevice::displayName(IMoniker* moniker)
{
    if (!moniker)
        return nullptr;
    LockScope hold(lock);
    ComPtr<IBindCtx> context;
    LPOLESTR name = nullptr;
    if (FAILED(ole32::CreateBindCtx(0, context.out())) || !context
        || FAILED(moniker->GetDisplayName(context.get(), nullptr, &name)))
        return nullptr;
    return name;
}
