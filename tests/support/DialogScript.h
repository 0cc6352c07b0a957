#pragma once
#include <windows.h>

// Driving a dialog of this or another process by messages, as a user
// would: what a second thread of a test does while the dialog's own thread
// runs it.

// The visible dialog with this caption; null when none appeared in time.
HWND waitForDialogCaption(const char* caption);
// True once the window is gone.
bool waitForClosed(HWND window);
// A click handled before the call returns.
void clickButton(HWND dialog, int id);
// A click posted, for buttons that open or close a modal dialog.
void pressButton(HWND dialog, int id);
// Selects an item of a list box as a user's click does (with LBN_SELCHANGE).
void selectListItem(HWND dialog, int listId, int item);
bool isItemChecked(HWND dialog, int id);
bool isItemEnabled(HWND dialog, int id);
bool isItemVisible(HWND dialog, int id);
