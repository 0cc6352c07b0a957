#include "PlayerProcess.h"

#include "TestPaths.h"

namespace {

const DWORD PollInterval = 10;

template <typename Text>
Text commandLine(const Text& program, const std::vector<Text>& arguments)
{
    const typename Text::value_type quote = '"', blank = ' ';
    Text line = quote + program + quote;
    for (const Text& a : arguments)
        line += blank + (quote + a + quote);
    return line;
}

struct DialogSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK findDialog(HWND window, LPARAM lParam)
{
    DialogSearch* search = (DialogSearch*)lParam;
    DWORD id = 0;
    char className[16] = "";
    GetWindowThreadProcessId(window, &id);
    GetClassNameA(window, className, sizeof className);
    if (id == search->processId && lstrcmpA(className, "#32770") == 0 && IsWindowVisible(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

} // namespace

HWND waitForDialog(DWORD processId, DWORD milliseconds)
{
    DWORD start = GetTickCount();
    do {
        DialogSearch search = {processId, nullptr};
        EnumWindows(findDialog, (LPARAM)&search);
        if (search.found)
            return search.found;
        Sleep(PollInterval);
    } while (GetTickCount() - start < milliseconds);
    return nullptr;
}

const std::vector<std::string> mciOnly = {"-TryByMci", "-NoTryByDirectShow", "-NoTryByDirectMusic",
                                          "-NoTryByExternalEngine"};

std::string PlayerProcess::program() const { return program_.empty() ? besideTests("PLAYER.EXE") : program_; }

bool PlayerProcess::start(const std::vector<std::string>& arguments)
{
    kill();
    std::string line = commandLine(program(), arguments);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info;
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return false;
    return took(info);
}

bool PlayerProcess::start(const std::vector<std::wstring>& arguments)
{
    kill();
    std::wstring line = commandLine(widened(program()), arguments);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info;
    if (!CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return false;
    return took(info);
}

bool PlayerProcess::took(const PROCESS_INFORMATION& info)
{
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    id_ = info.dwProcessId;
    return true;
}

bool PlayerProcess::waitForEnd(DWORD milliseconds)
{
    return !process_ || WaitForSingleObject(process_, milliseconds) == WAIT_OBJECT_0;
}

DWORD PlayerProcess::exitCode() const
{
    DWORD code = STILL_ACTIVE;
    if (process_)
        GetExitCodeProcess(process_, &code);
    return code;
}

bool PlayerProcess::running() const { return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }

void PlayerProcess::kill()
{
    if (!process_)
        return;
    if (running()) {
        TerminateProcess(process_, 1);
        WaitForSingleObject(process_, 10000);
    }
    CloseHandle(process_);
    process_ = nullptr;
}

void killRunningPlayers()
{
    // Bounded: a player held by a debugger outlives TerminateProcess.
    for (int attempt = 0; attempt < 5; ++attempt) {
        HWND window = FindWindowA("PlayerControlClass", nullptr);
        if (!window)
            return;
        DWORD id = 0;
        GetWindowThreadProcessId(window, &id);
        HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id);
        if (!process)
            return;
        TerminateProcess(process, 1);
        WaitForSingleObject(process, 10000);
        CloseHandle(process);
    }
}

bool runningPlayerState(RunningPlayerState* state) { return queryRunningPlayer(state) != FALSE; }

bool waitForCurrentFile(const std::string& name, DWORD startedFiles, DWORD milliseconds)
{
    DWORD start = GetTickCount();
    do {
        RunningPlayerState state;
        if (queryRunningPlayer(&state) && lstrcmpiA(state.currentFile, name.c_str()) == 0 &&
            state.startedFiles >= startedFiles)
            return true;
        Sleep(PollInterval);
    } while (GetTickCount() - start < milliseconds);
    return false;
}
