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

// What tells the dialogs apart: the caption (the template's, a format in
// which "%s" becomes the program's name), OK (id 1) and Cancel (id 2) are
// common to all.
struct SettingsDialogKind {
    WORD templateId;
    void (*init)(HWND dialog);   // reads the settings and sets the controls
    void (*store)(HWND dialog);  // on OK: stores the settings and reads them again
    // Any other command; false when it was not handled. May be null.
    bool (*command)(HWND dialog, WORD id, WORD code);
    bool initSetsFocus;
};
INT_PTR runSettingsDialog(const SettingsDialogKind& kind, HWND owner);

// Helpers of the dialogs' own code.
bool isChecked(HWND dialog, int id);
void setChecked(HWND dialog, int id, bool checked);
void enableItem(HWND dialog, int id, bool enabled);
