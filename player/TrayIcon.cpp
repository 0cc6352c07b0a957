#include "TrayIcon.h"

#include <shellapi.h>

#include "MainWindow.h"
#include "PlayerCore.h"
#include "resource.h"

namespace {

struct TrayState {
    HWND window = nullptr;
    UINT callbackMessage = 0;
    char tip[64] = {};
    UINT stateIcon = 0;  // 503 or 504 once a file was opened
    BOOL usageShown = FALSE;
};

TrayState tray;

NOTIFYICONDATAA trayData(UINT flags)
{
    NOTIFYICONDATAA data = {};
    data.cbSize = sizeof data;
    data.hWnd = tray.window;
    data.uID = 0;
    data.uFlags = flags;
    return data;
}

BOOL showIcon(UINT iconId)
{
    if (!tray.window)
        return FALSE;
    NOTIFYICONDATAA data = trayData(NIF_ICON);
    data.hIcon = static_cast<HICON>(LoadImageA(instanceHandle, MAKEINTRESOURCEA(iconId), IMAGE_ICON,
                                                GetSystemMetrics(SM_CXSMICON),
                                                GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    return data.hIcon && Shell_NotifyIconA(NIM_MODIFY, &data);
}

} // namespace

void cutTrayTip(char* tip, const char* text)
{
    const UINT room = 63;
    UINT length = 0;
    while (text[length]) {
        UINT next = IsDBCSLeadByte(static_cast<BYTE>(text[length])) && text[length + 1] ? 2 : 1;
        if (length + next > room)
            break;
        length += next;
    }
    CopyMemory(tip, text, length);
    tip[length] = 0;
}

BOOL addTrayIcon(HWND window, UINT callbackMessage)
{
    tray = TrayState();
    tray.window = window;
    tray.callbackMessage = callbackMessage;
    NOTIFYICONDATAA data = trayData(NIF_MESSAGE);
    data.uCallbackMessage = callbackMessage;
    if (Shell_NotifyIconA(NIM_ADD, &data))
        return TRUE;
    tray.window = nullptr;
    return FALSE;
}

BOOL showTrayStateIcon(UINT iconId)
{
    tray.stateIcon = iconId;
    return tray.usageShown || showIcon(iconId);
}

BOOL setTrayTip(const char* text)
{
    if (!tray.window)
        return FALSE;
    cutTrayTip(tray.tip, text);
    NOTIFYICONDATAA data = trayData(NIF_TIP);
    lstrcpyA(data.szTip, tray.tip);
    return Shell_NotifyIconA(NIM_MODIFY, &data);
}

BOOL deleteTrayIcon()
{
    if (!tray.window)
        return FALSE;
    NOTIFYICONDATAA data = trayData(0);
    tray.window = nullptr;
    return Shell_NotifyIconA(NIM_DELETE, &data);
}

BOOL restoreTrayIcon()
{
    if (!tray.window)
        return FALSE;
    NOTIFYICONDATAA data = trayData(NIF_MESSAGE | NIF_TIP);
    data.uCallbackMessage = tray.callbackMessage;
    lstrcpyA(data.szTip, tray.tip);
    if (!Shell_NotifyIconA(NIM_ADD, &data))
        return FALSE;
    UINT icon = tray.usageShown ? IDI_USAGE : tray.stateIcon;
    return !icon || showIcon(icon);
}

void showUsageTrayIcon(BOOL shown)
{
    tray.usageShown = shown;
    if (shown)
        showIcon(IDI_USAGE);
    else
        showIcon(tray.stateIcon ? tray.stateIcon : IDI_STOPPED);
}
