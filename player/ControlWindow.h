#pragma once
#include <windows.h>

// The user-interface thread: registers "PlayerControlClass", creates the
// control window and then the main window, signals playDoneEvent and runs
// the message loop. Answers the thread handle, or null when it could not be
// started.
HANDLE startUserInterfaceThread();
