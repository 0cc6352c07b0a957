#include <windows.h>

#include "PluginInfo.h"

extern "C" {

int WINAPI GetPluginInfo(int infono, LPSTR buf, int buflen)
{
    return pluginInfoText(infono, buf, buflen);
}

int WINAPI IsSupported(LPCSTR filename, DWORD dw)
{
    return 0;
}

int WINAPI GetPictureInfo(LPCSTR buf, LONG len, UINT flag, void* info)
{
    return -1;
}

int WINAPI GetPicture(LPCSTR buf, LONG len, UINT flag, HLOCAL* info, HLOCAL* bits,
                                            FARPROC progress, LONG data)
{
    return -1;
}

int WINAPI GetPreview(LPCSTR buf, LONG len, UINT flag, HLOCAL* info, HLOCAL* bits,
                                            FARPROC progress, LONG data)
{
    return -1;
}

int WINAPI ConfigurationDlg(HWND parent, int fnc)
{
    return -1;
}

} // extern "C"
