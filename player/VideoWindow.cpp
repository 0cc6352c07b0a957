#include "VideoWindow.h"

#include "PlayerCore.h"
#include "StateCursor.h"
#include "resource.h"

namespace {

const char videoClassName[] = "PlayerVideoClass";

HWND mainOf(HWND video)
{
    return GetParent(video);
}

LRESULT onMouseMove(HWND video)
{
    updateStateCursor(mainOf(video));
    return 0;
}

LRESULT onLeftButtonUp(HWND video)
{
    SendMessageA(mainOf(video), WM_COMMAND, IDM_PAUSE, 0);
    return 0;
}

LRESULT onLeftDoubleClick(HWND video)
{
    SendMessageA(mainOf(video), WM_COMMAND, CommandStop, 0);
    return 0;
}

LRESULT CALLBACK videoWindowProc(HWND video, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_MOUSEMOVE:
        return onMouseMove(video);
    case WM_LBUTTONUP:
        return onLeftButtonUp(video);
    case WM_LBUTTONDBLCLK:
        return onLeftDoubleClick(video);
    default:
        return DefWindowProcA(video, message, wParam, lParam);
    }
}

} // namespace

BOOL registerVideoWindowClass()
{
    WNDCLASSEXA windowClass = {};
    if (GetClassInfoExA(instanceHandle, videoClassName, &windowClass))
        return TRUE;
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = videoWindowProc;
    windowClass.hInstance = instanceHandle;
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = videoClassName;
    return RegisterClassExA(&windowClass) != 0;
}

HWND createVideoWindow(HWND parent, int width, int height)
{
    return CreateWindowExA(WS_EX_CLIENTEDGE, videoClassName, "",
                           WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, width, height, parent,
                           nullptr, instanceHandle, nullptr);
}
