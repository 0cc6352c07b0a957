// Stands in for the player beside a copied plug-in: writes the command line
// it was started with to "command.txt" beside itself and ends.
#include <windows.h>

int main()
{
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    while (length && path[length - 1] != '\\')
        --length;
    lstrcpyA(path + length, "command.txt");
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    const char* command = GetCommandLineA();
    BOOL ok = WriteFile(file, command, lstrlenA(command), &written, nullptr);
    return CloseHandle(file) && ok ? 0 : 1;
}
