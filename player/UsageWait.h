#pragma once

// "-Help" in the primary makes the queue thread wait until the usage dialog
// is closed. A dialog that a forwarded record opened is closed without
// touching the queue thread or Repeat.

// The queue thread is about to wait for the dialog.
void expectUsageDialogClose();
// The queue thread's wait has ended, by the dialog or by something else
// (Next, End, a new list): a later close must not end the next file.
void endUsageWait();
// The dialog is closed: when the queue thread waits for it, Repeat is
// cleared (so that a lone "-Help" ends the program) and the thread released.
void releaseUsageWait();
