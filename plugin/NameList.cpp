#include "ConfigDialogs.h"
#include "PluginState.h"

namespace {

LRESULT toList(HWND dialog, const NameListControls& ids, UINT message, WPARAM w = 0, LPARAM l = 0)
{
    return SendDlgItemMessageA(dialog, ids.list, message, w, l);
}

INT_PTR CALLBACK nameListProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG)
        SetWindowLongPtrA(window, DWLP_USER, lParam);
    const NameListDialog* dialog = reinterpret_cast<const NameListDialog*>(GetWindowLongPtrA(window, DWLP_USER));
    if (!dialog)
        return FALSE;
    switch (message) {
    case WM_INITDIALOG:
        // Names never outgrow the buffers they are read into.
        SendDlgItemMessageA(window, dialog->ids.edit, EM_LIMITTEXT, MAX_PATH - 1, 0);
        dialog->fill(GetDlgItem(window, dialog->ids.list));
        dialog->update(window);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(window, IDOK);
            return TRUE;
        }
        dialog->command(window, wParam);
        dialog->update(window);
        return TRUE;
    }
    return FALSE;
}

} // namespace

INT_PTR RunNameListDialog(HWND owner, const NameListDialog& dialog)
{
    return DialogBoxParamA(PluginModule, MAKEINTRESOURCEA(dialog.resource), owner, nameListProc, (LPARAM)&dialog);
}

void UpdateNameListButtons(HWND dialog, const NameListControls& ids)
{
    char name[MAX_PATH];
    bool addable = EditedName(dialog, ids, name) && toList(dialog, ids, LB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)name) == LB_ERR;
    EnableWindow(GetDlgItem(dialog, ids.add), addable);
    EnableWindow(GetDlgItem(dialog, ids.remove), toList(dialog, ids, LB_GETCURSEL) != LB_ERR);
}

bool EditedName(HWND dialog, const NameListControls& ids, char (&name)[MAX_PATH])
{
    return GetDlgItemTextA(dialog, ids.edit, name, MAX_PATH) > 0;
}

void AddListedName(HWND dialog, const NameListControls& ids, const char* name)
{
    LRESULT at = toList(dialog, ids, LB_ADDSTRING, 0, (LPARAM)name);
    if (at >= 0)
        toList(dialog, ids, LB_SETCURSEL, (WPARAM)at);
    SetDlgItemTextA(dialog, ids.edit, "");
}

bool SelectedName(HWND dialog, const NameListControls& ids, char (&name)[MAX_PATH])
{
    LRESULT at = toList(dialog, ids, LB_GETCURSEL);
    LRESULT length = at == LB_ERR ? LB_ERR : toList(dialog, ids, LB_GETTEXTLEN, (WPARAM)at);
    return length != LB_ERR && length < MAX_PATH && toList(dialog, ids, LB_GETTEXT, (WPARAM)at, (LPARAM)name) != LB_ERR;
}

bool TakeSelectedName(HWND dialog, const NameListControls& ids, char (&name)[MAX_PATH])
{
    if (!SelectedName(dialog, ids, name))
        return false;
    toList(dialog, ids, LB_DELETESTRING, (WPARAM)toList(dialog, ids, LB_GETCURSEL));
    SetDlgItemTextA(dialog, ids.edit, name);
    return true;
}
