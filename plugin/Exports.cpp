#include <windows.h>

#include "ImportFilter.h"
#include "PluginInfo.h"
#include "PluginState.h"

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

int WINAPI IsSupported(LPCSTR filename, DWORD dw)
{
    return IsSupportedFile(filename, dw);
}

int WINAPI GetPictureInfo(LPCSTR buf, LONG len, UINT flag, void* info)
{
    return GetPictureInfoOf(buf, len, flag, (PictureInfo*)info);
}

int WINAPI GetPicture(LPCSTR buf, LONG len, UINT flag, HLOCAL* info, HLOCAL* bits, FARPROC, LONG)
{
    return GetPictureOf(buf, len, flag, info, bits, false);
}

int WINAPI GetPreview(LPCSTR buf, LONG len, UINT flag, HLOCAL* info, HLOCAL* bits, FARPROC, LONG)
{
    return GetPictureOf(buf, len, flag, info, bits, true);
}

// The configuration dialog comes with its own change; until then every
// request is refused.
int WINAPI ConfigurationDlg(HWND, int)
{
    return -1;
}

} // extern "C"
