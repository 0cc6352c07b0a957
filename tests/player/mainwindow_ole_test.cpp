// The main window when its thread cannot take part in drag and drop: COM was
// initialised first on another thread (the OLE binding initialises once per
// process), so registering the drop target fails here.
#include <windows.h>

#include <gtest/gtest.h>

#include "MainWindow.h"
#include "MediaContext.h"
#include "Ole.h"
#include "PlayerCore.h"

namespace {

DWORD WINAPI initialiseOle(void*)
{
    return ole32::OleInitialize();
}

TEST(MainWindowWithoutDrops, IsCreatedAndAnswersItsCommands)
{
    instanceHandle = GetModuleHandleA(nullptr);
    HANDLE thread = CreateThread(nullptr, 0, initialiseOle, nullptr, 0, nullptr);
    ASSERT_NE(nullptr, thread);
    WaitForSingleObject(thread, INFINITE);
    DWORD initialised = 0;
    GetExitCodeThread(thread, &initialised);
    CloseHandle(thread);
    ASSERT_TRUE(initialised);

    mediaContext = new MediaContext;
    HWND window = createMainWindow();
    ASSERT_NE(nullptr, window);
    EXPECT_EQ(window, mainWindow);
    EXPECT_NE(nullptr, controlBarDialog());
    EXPECT_EQ(1, SendMessageA(window, WM_COMMAND, CommandStop, 0));
    DestroyWindow(window);
    EXPECT_EQ(nullptr, mainWindow);
    delete mediaContext;
    mediaContext = nullptr;
}

} // namespace
