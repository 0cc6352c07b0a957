// The accepted extensions: each Add, Remove and Default is stored at once.
#include "ConfigDialogs.h"
#include "PluginSettings.h"
#include "resource.h"

namespace {

const NameListControls names = {IDC_ACCEPT_EXTENSION, IDC_ACCEPT_LIST, IDC_ACCEPT_ADD, IDC_ACCEPT_REMOVE};

void UpdateAcceptControls(HWND dialog)
{
    UpdateNameListButtons(dialog, names);
}

void fill(HWND list)
{
    acceptList.FillAcceptListBox(list);
}

void command(HWND dialog, WPARAM wParam)
{
    if (HIWORD(wParam) != BN_CLICKED)
        return;
    char name[MAX_PATH];
    switch (LOWORD(wParam)) {
    case IDC_ACCEPT_ADD:
        if (EditedName(dialog, names, name)) {
            acceptList.SetAccepted(name, true);
            AddListedName(dialog, names, name);
        }
        break;
    case IDC_ACCEPT_REMOVE:
        if (TakeSelectedName(dialog, names, name))
            acceptList.SetAccepted(name, false);
        break;
    case IDC_ACCEPT_DEFAULT:
        acceptList.ResetAcceptList();
        SendDlgItemMessageA(dialog, IDC_ACCEPT_LIST, LB_RESETCONTENT, 0, 0);
        fill(GetDlgItem(dialog, IDC_ACCEPT_LIST));
        break;
    }
}

} // namespace

INT_PTR ShowAcceptDialog(HWND owner)
{
    return RunNameListDialog(owner, {IDD_ACCEPT, names, fill, command, UpdateAcceptControls});
}
