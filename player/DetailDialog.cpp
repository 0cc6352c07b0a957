#include "DetailDialog.h"

#include <shlwapi.h>

#include "PlayerCore.h"
#include "TrackInfo.h"
#include "resource.h"

namespace {

// The dialog's item names: resource 516 of type 240, records of a 16-bit
// control identifier, a 16-bit word, a 32-bit length of the name with its
// terminating zero, and the name; a record starting with a zero byte ends
// the list, and so does one that does not fit or lacks its zero.
const DWORD detailNamesType = 240;
const DWORD recordHead = 8;

void addItemNames(HWND combo)
{
    HRSRC found = FindResourceA(instanceHandle, MAKEINTRESOURCEA(IDD_PROPERTY), MAKEINTRESOURCEA(detailNamesType));
    HGLOBAL loaded = found ? LoadResource(instanceHandle, found) : nullptr;
    const BYTE* bytes = loaded ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
    DWORD size = bytes ? SizeofResource(instanceHandle, found) : 0;
    DWORD at = 0;
    while (at + recordHead <= size && bytes[at] != 0) {
        DWORD length;
        CopyMemory(&length, bytes + at + 4, sizeof length);
        const char* name = reinterpret_cast<const char*>(bytes + at + recordHead);
        if (length == 0 || length > size - at - recordHead || name[length - 1] != 0)
            break;
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
        at += recordHead + length;
    }
}

struct DetailContext {
    const char* path;
    TrackInfo* info;
};

void showSelectedItem(HWND dialog, TrackInfo& info)
{
    LRESULT index = SendDlgItemMessageA(dialog, IDC_DETAIL_ITEMS, CB_GETCURSEL, 0, 0);
    const char* text = index >= 0 ? info.field(static_cast<int>(index)) : nullptr;
    SetDlgItemTextA(dialog, IDC_DETAIL_TEXT, text ? text : "");
}

INT_PTR onInitDialog(HWND dialog, const DetailContext& context)
{
    SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(context.info));
    SetWindowTextA(dialog, PathFindFileNameA(context.path));
    addItemNames(GetDlgItem(dialog, IDC_DETAIL_ITEMS));
    SendDlgItemMessageA(dialog, IDC_DETAIL_ITEMS, CB_SETCURSEL, 0, 0);
    showSelectedItem(dialog, *context.info);
    return TRUE;
}

INT_PTR onCommand(HWND dialog, WORD control, WORD code)
{
    if (control == IDOK || control == IDCANCEL) {
        EndDialog(dialog, control);
        return TRUE;
    }
    TrackInfo* info = reinterpret_cast<TrackInfo*>(GetWindowLongPtrA(dialog, DWLP_USER));
    if (control == IDC_DETAIL_ITEMS && code == CBN_SELCHANGE && info) {
        showSelectedItem(dialog, *info);
        return TRUE;
    }
    return FALSE;
}

INT_PTR CALLBACK detailDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return onInitDialog(dialog, *reinterpret_cast<const DetailContext*>(lParam));
    case WM_COMMAND:
        return onCommand(dialog, LOWORD(wParam), HIWORD(wParam));
    default:
        return FALSE;
    }
}

} // namespace

void showDetailDialog(HWND owner, const char* path, TrackInfo& info)
{
    DetailContext context = {path, &info};
    DialogBoxParamA(instanceHandle, MAKEINTRESOURCEA(IDD_PROPERTY), owner, detailDialogProc,
                    reinterpret_cast<LPARAM>(&context));
}
