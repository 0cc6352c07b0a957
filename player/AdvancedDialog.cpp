#include "EngineSelection.h"
#include "MainWindow.h"
#include "MediaContext.h"
#include "PlayerCore.h"
#include "PlayerSettings.h"
#include "SettingsDialog.h"
#include "resource.h"

namespace {

const int tickButtons[] = {IDC_TICKS_AUTOMATIC, IDC_TICKS_SECONDS, IDC_TICKS_MINUTES};

HWND orderList(HWND dialog) { return GetDlgItem(dialog, IDC_DEVICE_ORDER); }

LRESULT selectedItem(HWND dialog) { return SendMessageW(orderList(dialog), LB_GETCURSEL, 0, 0); }

// Up, Down and "Use This Device" follow the selection; the check shows the
// selected entry's "Device" value.
void showSelection(HWND dialog)
{
    HWND list = orderList(dialog);
    LRESULT item = selectedItem(dialog);
    LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    char entry[OrderEntrySize];
    bool named = item >= 0 && orderEntryOf(list, item, entry);
    enableItem(dialog, IDC_ORDER_UP, item > 0);
    enableItem(dialog, IDC_ORDER_DOWN, item >= 0 && item + 1 < count);
    enableItem(dialog, IDC_USE_THIS_DEVICE, named);
    setChecked(dialog, IDC_USE_THIS_DEVICE, named && isDeviceEnabled(entry));
}

// Moves the selected entry by one place (step -1 or 1), label and engine
// index together; the stored order changes only on Close.
void moveSelected(HWND dialog, int step)
{
    HWND list = orderList(dialog);
    LRESULT item = selectedItem(dialog);
    LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    LRESULT target = item + step;
    LRESULT length = item >= 0 ? SendMessageW(list, LB_GETTEXTLEN, (WPARAM)item, 0) : LB_ERR;
    wchar_t text[OrderEntrySize + 16];
    if (target < 0 || target >= count || length < 0 || length >= (LRESULT)(sizeof text / sizeof *text))
        return;
    SendMessageW(list, LB_GETTEXT, (WPARAM)item, (LPARAM)text);
    LRESULT data = SendMessageW(list, LB_GETITEMDATA, (WPARAM)item, 0);
    SendMessageW(list, LB_DELETESTRING, (WPARAM)item, 0);
    LRESULT moved = SendMessageW(list, LB_INSERTSTRING, (WPARAM)target, (LPARAM)text);
    if (moved >= 0) {
        SendMessageW(list, LB_SETITEMDATA, (WPARAM)moved, data);
        SendMessageW(list, LB_SETCURSEL, (WPARAM)moved, 0);
    }
    showSelection(dialog);
}

// Switching an entry on or off is written at once, unlike its place.
void useSelected(HWND dialog)
{
    char entry[OrderEntrySize];
    LRESULT item = selectedItem(dialog);
    if (item >= 0 && orderEntryOf(orderList(dialog), item, entry))
        setDeviceEnabled(entry, isChecked(dialog, IDC_USE_THIS_DEVICE));
}

void refreshOrder(HWND dialog)
{
    if (mediaContext)
        fillOrderList(orderList(dialog), TRUE, *mediaContext);
    showSelection(dialog);
}

void initAdvanced(HWND dialog)
{
    loadTrackbarTicks();
    CheckRadioButton(dialog, IDC_TICKS_AUTOMATIC, IDC_TICKS_MINUTES, tickButtons[playerSettings.trackbarTicks]);
    if (mediaContext)
        fillOrderList(orderList(dialog), FALSE, *mediaContext);
    enableItem(dialog, IDC_ORDER_REFRESH, mediaContext != nullptr);
    showSelection(dialog);
}

void storeAdvanced(HWND dialog)
{
    DWORD ticks = TicksAutomatic;
    for (DWORD i = 0; i < 3; ++i)
        if (isChecked(dialog, tickButtons[i]))
            ticks = i;
    playerSettings.trackbarTicks = ticks;
    saveTrackbarTicks();
    saveOrderList(orderList(dialog));
    loadTrackbarTicks();
    // "Use This Device" wrote the devices' switches already
    applySettingsToPlayer();
}

bool advancedCommand(HWND dialog, WORD id, WORD code)
{
    if (id == IDC_DEVICE_ORDER) {
        if (code == LBN_SELCHANGE)
            showSelection(dialog);
        return true;
    }
    if (code != BN_CLICKED)
        return false;
    switch (id) {
    case IDC_ORDER_UP:
        moveSelected(dialog, -1);
        return true;
    case IDC_ORDER_DOWN:
        moveSelected(dialog, 1);
        return true;
    case IDC_ORDER_REFRESH:
        refreshOrder(dialog);
        return true;
    case IDC_USE_THIS_DEVICE:
        useSelected(dialog);
        return true;
    }
    return false;
}

// Its "&Close" has the id of OK and stores like it.
const SettingsDialogKind advancedDialog = {IDD_ADVANCED, initAdvanced, storeAdvanced, advancedCommand, false};

} // namespace

INT_PTR runAdvancedDialog(HWND owner) { return runSettingsDialog(advancedDialog, owner); }
