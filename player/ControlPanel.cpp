#include "ControlPanel.h"

#include <commctrl.h>

#include "DetailDialog.h"
#include "DirectShowDevice.h"
#include "FilterPages.h"
#include "MainWindow.h"
#include "MainWindowState.h"
#include "MediaContext.h"
#include "MixerLines.h"
#include "PlayerCore.h"
#include "TrackInfo.h"
#include "resource.h"

namespace {

HWND panel = nullptr;

// The real names of the listed filters, in list order: the list shows the
// source filter as "Media File".
struct FilterList {
    char** names = nullptr;
    UINT count = 0;
};

FilterList filters;

struct VolumeBar {
    int control;
    DWORD componentType;
};

const VolumeBar volumeBars[] = {{IDC_WAVE_VOLUME, MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT},
                                {IDC_SYNTHESIZER_VOLUME, MIXERLINE_COMPONENTTYPE_SRC_SYNTHESIZER},
                                {IDC_CDDA_VOLUME, MIXERLINE_COMPONENTTYPE_SRC_COMPACTDISC},
                                {IDC_OUTPUT_VOLUME, MIXERLINE_COMPONENTTYPE_DST_SPEAKERS}};

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

// The user moved a volume trackbar.
INT_PTR onVolumeScroll(HWND trackbar)
{
    for (const VolumeBar& volume : volumeBars)
        if (GetDlgItem(panel, volume.control) == trackbar)
            mixerLines.writeVolume(MixerLines::slotOfComponentType(volume.componentType),
                                   static_cast<LONG>(SendMessageA(trackbar, TBM_GETPOS, 0, 0)));
    return TRUE;
}

// Starts the system volume program, found through the search path.
void startVolumeProgram()
{
    char commandLine[] = "SNDVOL32.EXE";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_FORCEOFFFEEDBACK;
    PROCESS_INFORMATION process;
    if (!CreateProcessA(nullptr, commandLine, nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS, nullptr, nullptr,
                        &startup, &process))
        return;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

// The selected filter's real name; null when nothing is selected.
const char* selectedFilter()
{
    LRESULT index = SendDlgItemMessageA(panel, IDC_FILTER_LIST, LB_GETCURSEL, 0, 0);
    return index >= 0 && static_cast<UINT>(index) < filters.count ? filters.names[index] : nullptr;
}

void onFilterSelected()
{
    const char* name = selectedFilter();
    EnableWindow(GetDlgItem(panel, IDC_FILTER_PROPERTY),
                 name && filterHasPropertyPages(mediaContext->directShowDevice(), name));
}

void onFilterProperty()
{
    if (const char* name = selectedFilter())
        showFilterPropertyFrame(mainWindow, mediaContext->directShowDevice(), name);
}

INT_PTR onCommand(WORD control, WORD code)
{
    switch (control) {
    case IDC_DETAIL:
        showDetailDialog(mainWindow, playback.currentFile, trackInfo);
        break;
    case IDC_VOLUME_PROGRAM:
        startVolumeProgram();
        break;
    case IDC_FILTER_LIST:
        if (code == LBN_SELCHANGE)
            onFilterSelected();
        break;
    case IDC_FILTER_PROPERTY:
        onFilterProperty();
        break;
    default:
        return FALSE;
    }
    return TRUE;
}

INT_PTR CALLBACK controlPanelProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return FALSE;
    case WM_COMMAND:
        return onCommand(LOWORD(wParam), HIWORD(wParam));
    case WM_HSCROLL:
        return onVolumeScroll(reinterpret_cast<HWND>(lParam));
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
    clearPanelFilterList();
    if (!controlPanelDialog())
        return;
    filters.count = device.filterNames(&filters.names);
    int source = device.sourceFilterIndex();
    int pathLength = lstrlenA(path);
    for (UINT i = 0; i < filters.count; ++i) {
        const char* name = filters.names[i];
        BOOL readsFile = static_cast<int>(i) == source ||
                         (lstrlenA(name) >= pathLength && pathLength > 0 &&
                          CompareStringA(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, name, pathLength, path,
                                         pathLength) == CSTR_EQUAL);
        SendDlgItemMessageA(panel, IDC_FILTER_LIST, LB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(readsFile ? "Media File" : name));
    }
}

void clearPanelFilterList()
{
    DirectShowDevice::freeFilterNames(filters.names, filters.count);
    filters = FilterList();
    if (controlPanelDialog()) {
        SendDlgItemMessageA(panel, IDC_FILTER_LIST, LB_RESETCONTENT, 0, 0);
        EnableWindow(GetDlgItem(panel, IDC_FILTER_PROPERTY), FALSE);
    }
}

void bindVolumeBars(HWND mainWindow)
{
    mixerLines.setCallbackWindow(MixerLines::allSlots, mainWindow);
    for (const VolumeBar& volume : volumeBars) {
        int slot = MixerLines::slotOfComponentType(volume.componentType);
        MixerLines::Volume level;
        if (!mixerLines.readVolume(slot, &level))
            continue;
        HWND trackbar = GetDlgItem(panel, volume.control);
        SendMessageA(trackbar, TBM_SETTICFREQ, 1, 0);
        SendMessageA(trackbar, TBM_SETRANGEMIN, FALSE, level.minimum);
        SendMessageA(trackbar, TBM_SETRANGEMAX, FALSE, level.maximum);
        SendMessageA(trackbar, TBM_SETPOS, TRUE, level.value);
        EnableWindow(trackbar, level.connected);
    }
}

void followMixerControl(DWORD controlId)
{
    int slot = mixerLines.slotOfControl(controlId);
    MixerLines::Volume level;
    if (slot < 0 || !controlPanelDialog() || !mixerLines.readVolume(slot, &level))
        return;
    for (const VolumeBar& volume : volumeBars) {
        HWND trackbar = GetDlgItem(panel, volume.control);
        if (MixerLines::slotOfComponentType(volume.componentType) == slot &&
            SendMessageA(trackbar, TBM_GETPOS, 0, 0) != level.value)
            SendMessageA(trackbar, TBM_SETPOS, TRUE, level.value);
    }
}
