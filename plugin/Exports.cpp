#include <windows.h>

#include "ConfigDialogs.h"
#include "ImportFilter.h"
#include "PluginInfo.h"
#include "PluginState.h"
#include "WideEntries.h"

// Lengths, user data and IsSupported's dw are pointer-sized: the same types
// as LONG and DWORD in 32-bit, 64 bits wide for 64-bit viewers.
extern "C" {

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        DisableThreadLibraryCalls(module);
        // Without its paths or context every export refuses; loading still succeeds.
        attachPlugin(module);
    } else if (reason == DLL_PROCESS_DETACH) {
        detachPlugin();
    }
    return TRUE;
}

int WINAPI GetPluginInfo(int infono, LPSTR buf, int buflen)
{
    return pluginInfoText(infono, buf, buflen);
}

int WINAPI IsSupported(LPCSTR filename, ULONG_PTR dw)
{
    return IsSupportedFile(filename, dw);
}

int WINAPI GetPictureInfo(LPCSTR buf, LONG_PTR len, UINT flag, void* info)
{
    return GetPictureInfoOf(buf, len, flag, (PictureInfo*)info);
}

int WINAPI GetPicture(LPCSTR buf, LONG_PTR len, UINT flag, HLOCAL* info, HLOCAL* bits, FARPROC, LONG_PTR)
{
    return GetPictureOf(buf, len, flag, info, bits, false);
}

int WINAPI GetPreview(LPCSTR buf, LONG_PTR len, UINT flag, HLOCAL* info, HLOCAL* bits, FARPROC, LONG_PTR)
{
    return GetPictureOf(buf, len, flag, info, bits, true);
}

// The UTF-16 twins, for viewers that look for them first. Lengths and the
// user data are pointer-sized, as such viewers pass them.
int WINAPI GetPluginInfoW(int infono, LPWSTR buf, int buflen)
{
    return pluginInfoTextWide(infono, buf, buflen);
}

int WINAPI IsSupportedW(LPCWSTR filename, ULONG_PTR dw)
{
    return IsSupportedWide(filename, dw);
}

int WINAPI GetPictureInfoW(LPCWSTR buf, LONG_PTR len, UINT flag, void* info)
{
    return GetPictureInfoWide(buf, len, flag, (PictureInfo*)info);
}

int WINAPI GetPictureW(LPCWSTR buf, LONG_PTR len, UINT flag, HLOCAL* info, HLOCAL* bits, FARPROC, LONG_PTR)
{
    return GetPictureWide(buf, len, flag, info, bits, false);
}

int WINAPI GetPreviewW(LPCWSTR buf, LONG_PTR len, UINT flag, HLOCAL* info, HLOCAL* bits, FARPROC, LONG_PTR)
{
    return GetPictureWide(buf, len, flag, info, bits, true);
}

// 1 is the settings dialog; 0 (the about box) and anything else show nothing.
int WINAPI ConfigurationDlg(HWND parent, int fnc)
{
    if (fnc != 1)
        return -1;
    ShowConfiguration(parent);
    return 0;
}

} // extern "C"
