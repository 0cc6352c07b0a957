#pragma once
#include <windows.h>

// The usage dialog (dialog 510): modeless, on the user-interface thread, at
// most one at a time.

// The open dialog, or null.
HWND usageDialog();

// Opens the dialog owned by owner (or none) unless one is open. False when
// it cannot be created; the caller then acts as if it had been closed.
BOOL openUsageDialog(HWND owner);
// Destroys the dialog. When the queue thread waits for it, Repeat is cleared
// and the queue thread released.
void closeUsageDialog();

// The usage text with the program's name in place of "%s".
void formatUsageText(char* text, size_t size);
