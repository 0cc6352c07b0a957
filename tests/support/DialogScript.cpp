#include "DialogScript.h"

namespace {

const DWORD Generous = 60000;
const DWORD PollInterval = 10;

template <typename Condition>
bool waitUntil(Condition condition)
{
    DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > Generous)
            return false;
        Sleep(PollInterval);
    }
    return true;
}

} // namespace

HWND waitForDialogCaption(const char* caption)
{
    HWND found = nullptr;
    waitUntil([&] {
        found = FindWindowA("#32770", caption);
        return found && IsWindowVisible(found);
    });
    return found && IsWindowVisible(found) ? found : nullptr;
}

bool waitForClosed(HWND window)
{
    return waitUntil([&] { return !IsWindow(window); });
}

void clickButton(HWND dialog, int id) { SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

void pressButton(HWND dialog, int id) { PostMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

void selectListItem(HWND dialog, int listId, int item)
{
    HWND list = GetDlgItem(dialog, listId);
    SendMessageA(list, LB_SETCURSEL, (WPARAM)item, 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(listId, LBN_SELCHANGE), (LPARAM)list);
}

bool isItemChecked(HWND dialog, int id) { return SendDlgItemMessageA(dialog, id, BM_GETCHECK, 0, 0) == BST_CHECKED; }

bool isItemEnabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }

bool isItemVisible(HWND dialog, int id) { return IsWindowVisible(GetDlgItem(dialog, id)) != FALSE; }
