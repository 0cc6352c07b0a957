#pragma once

// The rich-edit control library "RICHED32.DLL", which registers the
// "RichEdit" window class that the player's usage dialog uses. Loaded on
// first use; freed by the thread that owns the dialogs when it ends.
bool loadRichEdit();
void freeRichEdit();
