#include <windows.h>

// The smallest Win32 program: the cost of a process start under Wine.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return 0; }
