#include "ControlWindow.h"

#include "Forwarding.h"
#include "MainWindow.h"
#include "Ole.h"
#include "PlayerCore.h"
#include "RichEdit.h"
#include "UsageDialog.h"
#include "resource.h"

namespace {

const char ControlClass[] = "PlayerControlClass";

void onCreate(HWND window)
{
    {
        LockScope hold(dropLock);
        dropBusy = 0;
    }
    // Closed until the queue thread has started its first file.
    InterlockedExchange(&forwardGate, 0);
    openCurrentFileReply(window);
}

void onDestroy()
{
    controlWindow = nullptr;
    closeCurrentFileReply();
    closeUsageDialog();
    if (mainWindow)
        DestroyWindow(mainWindow);
    PostQuitMessage(0);
}

// A play request of the queue thread, handed on to the main window; the gate
// stays taken while the file is being opened.
LRESULT onPlay(LPARAM fileName)
{
    InterlockedIncrement(&forwardGate);
    LRESULT result = SendMessageA(mainWindow, WM_COMMAND, CommandPlay, fileName);
    if (!result)
        signalPlayDone();  // the queue thread moves on at once
    InterlockedExchange(&forwardGate, -1);
    if (result)
        countStartedFile();
    return result;
}

void onShutDown(HWND window)
{
    SendMessageA(mainWindow, WM_COMMAND, CommandStop, 0);
    DestroyWindow(window);
}

// The dialog could not be created: act as if it had been closed.
void showUsage(HWND owner)
{
    if (!openUsageDialog(owner))
        closeUsageDialog();
}

LRESULT onCommand(HWND window, WORD command, LPARAM lParam)
{
    switch (command) {
    case CommandPlay:
        return onPlay(lParam);
    case CommandShutDown:
        onShutDown(window);
        return 0;
    case CommandShowUsage:  // dispatched here by a modal loop
        showUsage((HWND)lParam);
        return 0;
    }
    return 0;
}

LRESULT CALLBACK controlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        onCreate(window);
        return 0;
    case WM_DESTROY:
        onDestroy();
        return 0;
    case WM_COMMAND:
        return onCommand(window, LOWORD(wParam), lParam);
    case WM_COPYDATA:
        return receiveRecord((const COPYDATASTRUCT*)lParam);
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

bool registerControlClass()
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = controlProc;
    windowClass.hInstance = instanceHandle;
    windowClass.lpszClassName = ControlClass;
    return RegisterClassA(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

bool createWindows()
{
    controlWindow = CreateWindowExA(0, ControlClass, "", 0, 0, 0, 0, 0, nullptr, nullptr, instanceHandle, nullptr);
    if (!controlWindow)
        return false;
    if (createMainWindow())
        return true;
    DestroyWindow(controlWindow);
    return false;
}

// Posted commands of the loop: 104 and 105 to the control window, and the
// usage dialog's own 104 (its OK or Cancel).
bool handleLoopCommand(const MSG& msg)
{
    if (msg.message != WM_COMMAND)
        return false;
    WORD command = LOWORD(msg.wParam);
    if (msg.hwnd && msg.hwnd == usageDialog() && command == CommandShutDown) {
        closeUsageDialog();
        return true;
    }
    if (!msg.hwnd || msg.hwnd != controlWindow)
        return false;
    if (command == CommandShutDown)
        closeUsageDialog();
    else if (command == CommandShowUsage)
        showUsage((HWND)msg.lParam);
    else
        return false;
    return true;
}

bool isDialogMessageOf(HWND dialog, MSG* msg) { return dialog && IsDialogMessageA(dialog, msg); }

int messageLoop()
{
    HACCEL accelerators = LoadAcceleratorsA(instanceHandle, MAKEINTRESOURCEA(IDR_ACCELERATORS));
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (handleLoopCommand(msg))
            continue;
        if (accelerators && mainWindow && TranslateAcceleratorA(mainWindow, accelerators, &msg))
            continue;
        if (isDialogMessageOf(controlBarDialog(), &msg) || isDialogMessageOf(controlPanelDialog(), &msg) ||
            isDialogMessageOf(usageDialog(), &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return (int)msg.wParam;
}

DWORD WINAPI userInterfaceThread(void*)
{
    if (!registerControlClass() || !createWindows()) {
        signalPlayDone();
        return 0;
    }
    signalPlayDone();
    int code = messageLoop();
    freeRichEdit();
    // The main window initialised OLE on this thread; only this thread can undo it.
    ole32::OleUninitialize();
    return code;
}

} // namespace

HANDLE startUserInterfaceThread()
{
    DWORD id;
    return CreateThread(nullptr, 0, userInterfaceThread, nullptr, 0, &id);
}
