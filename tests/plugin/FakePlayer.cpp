// Stands in for the player beside a copied plug-in: writes the command line
// it was started with to "command.txt" beside itself and ends. The text is
// written under another name first, so that it appears whole.
#include <windows.h>

int main()
{
    char folder[MAX_PATH], part[MAX_PATH], whole[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, folder, MAX_PATH);
    while (length && folder[length - 1] != '\\')
        --length;
    folder[length] = 0;
    wsprintfA(part, "%scommand.part", folder);
    wsprintfA(whole, "%scommand.txt", folder);
    const char* command = GetCommandLineA();
    HANDLE file = CreateFileA(part, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    BOOL ok = file != INVALID_HANDLE_VALUE && WriteFile(file, command, lstrlenA(command), &written, nullptr);
    CloseHandle(file);
    return ok && MoveFileA(part, whole) ? 0 : 1;
}
