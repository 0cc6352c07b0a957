#pragma once
#include <windows.h>

// The plug-in's configuration dialogs, from the plug-in's own resources.

// The main dialog, modal and owned by owner; settings change only on OK.
INT_PTR ShowConfiguration(HWND owner);

// The sub-dialogs write each change to the registry at once.
INT_PTR ShowAcceptDialog(HWND owner);
INT_PTR ShowPcmDialog(HWND owner);

// An edit box beside a sorted list box of extension names, as both
// sub-dialogs have them.
struct NameListControls {
    int edit;
    int list;
    int add;
    int remove;
};

// Add is enabled when the edit holds a name the list lacks (compared without
// regard to case), Remove when a name is selected.
void UpdateNameListButtons(HWND dialog, const NameListControls& ids);
// The edit's text; false when it is empty.
bool EditedName(HWND dialog, const NameListControls& ids, char (&name)[MAX_PATH]);
// Adds name to the list and selects it, and empties the edit.
void AddListedName(HWND dialog, const NameListControls& ids, const char* name);
// The selected name; false when none is selected.
bool SelectedName(HWND dialog, const NameListControls& ids, char (&name)[MAX_PATH]);
// Removes the selected name from the list and puts it in the edit; false
// when none is selected.
bool TakeSelectedName(HWND dialog, const NameListControls& ids, char (&name)[MAX_PATH]);

// A sub-dialog built around a name list: what it does beyond the frame that
// both share.
struct NameListDialog {
    int resource;
    NameListControls ids;
    void (*fill)(HWND list);
    // Every notification of a control but OK and the close command.
    void (*command)(HWND dialog, WPARAM wParam);
    // Runs at opening and after every notification.
    void (*update)(HWND dialog);
};

// Runs the dialog modally, owned by owner; OK and the close command end it.
INT_PTR RunNameListDialog(HWND owner, const NameListDialog& dialog);
