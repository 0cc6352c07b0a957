#pragma once
#include <windows.h>

// The primary's receiver of forwarded records (WM_COPYDATA of the control
// window): 1 accepted, 0 refused. A refused record changes nothing.
LRESULT receiveRecord(const COPYDATASTRUCT* data);

// Starts the reply block of QueryCurrentFile for the control window, and
// ends it.
BOOL openCurrentFileReply(HWND window);
void closeCurrentFileReply();
// A file has started playing (the reply block counts them).
void countStartedFile();

// A secondary start hands one name to the primary as a PlayFile record with
// the current options. A refused name is dropped, and with Delete in force
// the files it names are deleted. Answers the primary's result.
LRESULT forwardName(const char* path);
// Secondary starts: ShowUsage, Next and End records.
LRESULT forwardWord(DWORD command, DWORD word);
// True once the primary did not answer a record in time; the second start
// then forwards nothing more and ends with failure.
bool forwardingFailed();

// Deletes every file (not directory) in the pattern's directory whose name
// matches the pattern itself.
void deleteMatches(const char* pattern);
