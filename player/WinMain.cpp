#include <stdlib.h>

#include <new>

#include "ControlWindow.h"
#include "MediaContext.h"
#include "Ole.h"
#include "PlayQueue.h"
#include "PlayerCore.h"
#include "PlayerSettings.h"
#include "RunningPlayer.h"

namespace {

const DWORD UserInterfaceEndWait = 5000;

// The primary's start: the media context, then the user-interface thread,
// which signals playDoneEvent once both windows exist (or failed).
HANDLE startPrimary()
{
    mediaContext = new (std::nothrow) MediaContext;
    if (!mediaContext)
        return nullptr;
    HANDLE thread = startUserInterfaceThread();
    if (!thread)
        return nullptr;
    WaitForSingleObject(playDoneEvent, INFINITE);
    ResetEvent(playDoneEvent);
    return thread;
}

void run(int argc, char** argv, HANDLE* userInterface)
{
    if (!playQueue.assign(argv + 1, argc > 1 ? argc - 1 : 0))
        return;
    // A secondary needs them too: they give the defaults of the words it forwards.
    loadGeneralSettings();
    if (isPrimary) {
        *userInterface = startPrimary();
        if (!*userInterface || !controlWindow || !mainWindow)
            return;
    }
    runQueue();
}

// The windows go first: their stop may still signal playDoneEvent and touch
// the queue, so both are released only after the send has returned.
void exitSteps(HANDLE userInterface)
{
    if (controlWindow)
        SendMessageA(controlWindow, WM_COMMAND, CommandShutDown, 0);
    if (userInterface) {
        WaitForSingleObject(userInterface, UserInterfaceEndWait);
        CloseHandle(userInterface);
    }
    playQueue.clear();
    if (playDoneEvent)
        CloseHandle(playDoneEvent);
    playDoneEvent = nullptr;
    delete mediaContext;
    mediaContext = nullptr;
    ole32::OleUninitialize();
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    instanceHandle = instance;
    playDoneEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    char current[MAX_PATH];
    isPrimary = !queryRunningPlayerFile(current);
    HANDLE userInterface = nullptr;
    if (playDoneEvent)
        run(__argc, __argv, &userInterface);
    exitSteps(userInterface);
    return 0;
}
