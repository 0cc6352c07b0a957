#include <windows.h>
#include <shellapi.h>

#include "ControlPanel.h"
#include "MainWindow.h"
#include "MainWindowState.h"
#include "MediaDevice.h"
#include "PlayerCore.h"
#include "PlayerSettings.h"
#include "resource.h"

namespace {

const wchar_t pauseText[] = L"一時停止(&U)\tSPACE";
const wchar_t resumeText[] = L"再開(&U)\tSPACE";

void setItemText(HMENU menu, UINT command, const wchar_t* text)
{
    MENUITEMINFOW item = {};
    item.cbSize = sizeof item;
    item.fMask = MIIM_STRING;
    item.dwTypeData = const_cast<wchar_t*>(text);
    SetMenuItemInfoW(menu, command, FALSE, &item);
}

void enableItem(HMENU menu, UINT command, BOOL enabled)
{
    EnableMenuItem(menu, command, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

void checkItem(HMENU menu, UINT command, BOOL checked)
{
    CheckMenuItem(menu, command, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

} // namespace

void preparePopupMenu(HWND window, HMENU popup)
{
    MediaDevice* device = playback.deviceOpen ? playback.currentDevice : nullptr;
    if (device)
        setItemText(popup, IDM_PAUSE, device->isPlaying() ? pauseText : resumeText);
    checkItem(popup, IDM_REPEAT, playerSettings.repeat);
    enableItem(popup, IDM_MUTE, device && playback.canMute);
    checkItem(popup, IDM_MUTE, device && playback.muted);
    checkItem(popup, IDM_SHOW, IsWindowVisible(window));
    enableItem(popup, IDM_VIDEO_SIZE, !IsRectEmpty(&playback.videoRect) && !videoHasItsSize());
    BOOL files = clipboardHasFiles();
    enableItem(popup, IDM_CLIPBOARD_PLAY, files);
    enableItem(popup, IDM_CLIPBOARD_ADD, files);
    HWND panel = controlPanelDialog();
    enableItem(popup, IDM_PROPERTIES, panel != nullptr);
    checkItem(popup, IDM_PROPERTIES, panel && IsWindowVisible(panel));
}

void showPopupMenu(HWND window)
{
    HMENU menu = LoadMenuA(instanceHandle, MAKEINTRESOURCEA(IDR_MENU));
    if (!menu)
        return;
    HMENU popup = GetSubMenu(menu, 0);
    POINT point;
    if (popup && GetCursorPos(&point)) {
        preparePopupMenu(window, popup);
        SetForegroundWindow(window);
        TrackPopupMenu(popup, TPM_RIGHTBUTTON, point.x, point.y, 0, window, nullptr);
        // lets the menu close when the user clicks elsewhere
        PostMessageA(window, WM_NULL, 0, 0);
    }
    DestroyMenu(menu);
}
