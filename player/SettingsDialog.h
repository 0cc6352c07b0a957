#pragma once
#include <windows.h>

// The modal settings dialogs (511 to 514 and 517), on the user-interface
// thread. Each reads its settings when it opens; OK (and the advanced
// dialog's Close) stores them and reads them again, so that the flag word is
// recomputed; Cancel stores nothing.

// The configuration dialog (511), from which the others open. Answers IDOK
// or IDCANCEL, or -1 when it could not be created.
INT_PTR runConfigurationDialog(HWND owner);
// The advanced dialog (517): the seek bar's ticks and the device order.
INT_PTR runAdvancedDialog(HWND owner);

// Helpers of the dialogs' own code.
INT_PTR runSettingsDialog(WORD templateId, HWND owner, DLGPROC procedure);
// The template's caption is a format: "%s" becomes the program's name.
void setCaptionFromFormat(HWND dialog);
bool isChecked(HWND dialog, int id);
void setChecked(HWND dialog, int id, bool checked);
void enableItem(HWND dialog, int id, bool enabled);
