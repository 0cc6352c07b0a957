#include "ControlPanel.h"

#include "DirectShowDevice.h"
#include "MainWindow.h"
#include "PlayerCore.h"
#include "TrackInfo.h"
#include "resource.h"

namespace {

HWND panel = nullptr;

// The controls that reach to the panel's right edge.
const int stretchedControls[] = {IDC_FILE_NAME,         IDC_TRACK,         IDC_ALBUM,
                                  IDC_ARTIST,            IDC_YEAR,          IDC_GENRE,
                                  IDC_WAVE_VOLUME,       IDC_SYNTHESIZER_VOLUME,
                                  IDC_CDDA_VOLUME,       IDC_OUTPUT_VOLUME, IDC_FILTER_LIST};

void stretchToEdge(HWND dialog, int controlId, int width)
{
    HWND control = GetDlgItem(dialog, controlId);
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    if (rect.left >= width) {
        ShowWindow(control, SW_HIDE);
        return;
    }
    SetWindowPos(control, nullptr, 0, 0, width - rect.left - 4 > 0 ? width - rect.left - 4 : 1,
                 rect.bottom - rect.top, SWP_NOMOVE | SWP_NOZORDER);
    ShowWindow(control, SW_SHOW);
}

INT_PTR onSize(HWND dialog, int width)
{
    for (int id : stretchedControls)
        stretchToEdge(dialog, id, width);
    return TRUE;
}

INT_PTR CALLBACK controlPanelProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return FALSE;
    case WM_SIZE:
        return onSize(dialog, LOWORD(lParam));
    case WM_LBUTTONUP:
        SendMessageA(GetParent(dialog), WM_COMMAND, IDM_PAUSE, 0);
        return TRUE;
    case WM_LBUTTONDBLCLK:
        SendMessageA(GetParent(dialog), WM_COMMAND, CommandStop, 0);
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace

HWND createControlPanel(HWND mainWindow)
{
    panel = CreateDialogParamA(instanceHandle, MAKEINTRESOURCEA(IDD_CONTROL_PANEL), mainWindow,
                               controlPanelProc, 0);
    return panel;
}

HWND controlPanelDialog()
{
    return IsWindow(panel) ? panel : nullptr;
}

void showPanelTrack(const char* path, TrackInfo& info)
{
    if (!controlPanelDialog())
        return;
    struct Shown {
        int control;
        int field;
    };
    const Shown shown[] = {{IDC_TRACK, TrackInfo::Name},         {IDC_ALBUM, TrackInfo::Product},
                           {IDC_ARTIST, TrackInfo::Artist},       {IDC_YEAR, TrackInfo::CreationDate},
                           {IDC_GENRE, TrackInfo::Genre}};
    SetDlgItemTextA(panel, IDC_FILE_NAME, path);
    for (const Shown& item : shown) {
        const char* text = info.field(item.field);
        SetDlgItemTextA(panel, item.control, text ? text : "");
    }
}

void showPanelFilters(DirectShowDevice& device, const char* path)
{
    if (!controlPanelDialog())
        return;
    char** names = nullptr;
    UINT count = device.filterNames(&names);
    int source = device.sourceFilterIndex();
    int pathLength = lstrlenA(path);
    for (UINT i = 0; i < count; ++i) {
        BOOL readsFile = static_cast<int>(i) == source ||
                         (lstrlenA(names[i]) >= pathLength && pathLength > 0 &&
                          CompareStringA(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, names[i], pathLength, path,
                                        pathLength) == CSTR_EQUAL);
        SendDlgItemMessageA(panel, IDC_FILTER_LIST, LB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(readsFile ? "Media File" : names[i]));
    }
    DirectShowDevice::freeFilterNames(names, count);
}

void clearPanelFilterList()
{
    if (controlPanelDialog()) {
        SendDlgItemMessageA(panel, IDC_FILTER_LIST, LB_RESETCONTENT, 0, 0);
        EnableWindow(GetDlgItem(panel, IDC_FILTER_PROPERTY), FALSE);
    }
}
