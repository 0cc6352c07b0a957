// The accepted extensions: each Add, Remove and Default is stored at once.
#include "ConfigDialogs.h"
#include "PluginSettings.h"
#include "PluginState.h"
#include "resource.h"

namespace {

const NameListControls names = {IDC_ACCEPT_EXTENSION, IDC_ACCEPT_LIST, IDC_ACCEPT_ADD, IDC_ACCEPT_REMOVE};

void UpdateAcceptControls(HWND dialog)
{
    UpdateNameListButtons(dialog, names);
}

void command(HWND dialog, int id)
{
    char name[MAX_PATH];
    switch (id) {
    case IDC_ACCEPT_ADD:
        if (EditedName(dialog, names, name)) {
            acceptList.setAccepted(name, true);
            AddListedName(dialog, names, name);
        }
        break;
    case IDC_ACCEPT_REMOVE:
        if (TakeSelectedName(dialog, names, name))
            acceptList.setAccepted(name, false);
        break;
    case IDC_ACCEPT_DEFAULT:
        acceptList.reset();
        SendDlgItemMessageA(dialog, IDC_ACCEPT_LIST, LB_RESETCONTENT, 0, 0);
        acceptList.fillListBox(GetDlgItem(dialog, IDC_ACCEPT_LIST));
        break;
    }
}

INT_PTR CALLBACK acceptProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        PrepareNameList(dialog, names);
        acceptList.fillListBox(GetDlgItem(dialog, IDC_ACCEPT_LIST));
        UpdateAcceptControls(dialog);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, IDOK);
            return TRUE;
        }
        if (HIWORD(wParam) == BN_CLICKED)
            command(dialog, LOWORD(wParam));
        UpdateAcceptControls(dialog);
        return TRUE;
    }
    return FALSE;
}

} // namespace

INT_PTR ShowAcceptDialog(HWND owner)
{
    return DialogBoxParamA(PluginModule, MAKEINTRESOURCEA(IDD_ACCEPT), owner, acceptProc, 0);
}
