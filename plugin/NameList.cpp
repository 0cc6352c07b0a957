#include "ConfigDialogs.h"

namespace {

LRESULT toList(HWND dialog, const NameListControls& ids, UINT message, WPARAM w = 0, LPARAM l = 0)
{
    return SendDlgItemMessageA(dialog, ids.list, message, w, l);
}

} // namespace

void PrepareNameList(HWND dialog, const NameListControls& ids)
{
    SendDlgItemMessageA(dialog, ids.edit, EM_LIMITTEXT, MAX_PATH - 1, 0);
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
