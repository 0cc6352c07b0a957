#include <windows.h>

#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <string>
#include <vector>

#include "RunningPlayer.h"

// Measures, in one run under Wine:
//   a) a trivial Win32 program started and ended;
//   b) PLAYER.EXE started as a second instance that forwards one file and
//      exits, until the primary reports the new file as started;
//   c) a cold PLAYER.EXE start until its first file has started playing.
// Usage: startup_bench RUNS FILE1 FILE2   (two wave files, several seconds long)
//        startup_bench watch              (prints the running player's state)
namespace {

const DWORD Generous = 60000;

std::string besideMe(const char* name)
{
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, n);
    return folder.substr(0, folder.find_last_of('\\') + 1) + name;
}

HANDLE start(const std::string& program, const std::string& arguments)
{
    std::string line = "\"" + program + "\" " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info;
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return nullptr;
    CloseHandle(info.hThread);
    return info.hProcess;
}

double now()
{
    LARGE_INTEGER count, frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return (double)count.QuadPart * 1000.0 / (double)frequency.QuadPart;
}

// Waits until the running player reports file as current with more than
// started files started; false on time-out.
bool waitForStart(const std::string& file, DWORD started)
{
    DWORD begin = GetTickCount();
    while (GetTickCount() - begin < Generous) {
        RunningPlayerState state;
        if (queryRunningPlayer(&state) && lstrcmpiA(state.currentFile, file.c_str()) == 0 &&
            state.startedFiles > started)
            return true;
        Sleep(1);
    }
    return false;
}

DWORD startedFiles()
{
    RunningPlayerState state;
    return queryRunningPlayer(&state) ? state.startedFiles : 0;
}

void endRunningPlayer()
{
    HWND window = FindWindowA("PlayerControlClass", nullptr);
    DWORD id = 0;
    if (!window || !GetWindowThreadProcessId(window, &id))
        return;
    HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id);
    if (!process)
        return;
    HANDLE end = start(besideMe("PLAYER.EXE"), "-End");
    if (end) {
        WaitForSingleObject(end, Generous);
        CloseHandle(end);
    }
    if (WaitForSingleObject(process, Generous) != WAIT_OBJECT_0)
        TerminateProcess(process, 1);
    CloseHandle(process);
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

const char engines[] = "-TryByMci -NoTryByDirectShow -NoTryByDirectMusic -NoTryByExternalEngine";

double trivialStart()
{
    double begin = now();
    HANDLE process = start(besideMe("bench_trivial.exe"), "");
    if (!process)
        return -1;
    WaitForSingleObject(process, Generous);
    CloseHandle(process);
    return now() - begin;
}

double coldStart(const std::string& file)
{
    double begin = now();
    HANDLE process = start(besideMe("PLAYER.EXE"), std::string(engines) + " \"" + file + "\"");
    if (!process)
        return -1;
    double elapsed = waitForStart(file, 0) ? now() - begin : -1;
    CloseHandle(process);
    endRunningPlayer();
    return elapsed;
}

double forwardedStart(const std::string& file)
{
    DWORD before = startedFiles();
    double begin = now();
    HANDLE process = start(besideMe("PLAYER.EXE"), std::string(engines) + " \"" + file + "\"");
    if (!process)
        return -1;
    double elapsed = waitForStart(file, before) ? now() - begin : -1;
    WaitForSingleObject(process, Generous);
    CloseHandle(process);
    return elapsed;
}

int watch()
{
    for (;;) {
        RunningPlayerState state;
        BOOL answered = queryRunningPlayer(&state);
        printf("%lu %d %lu %s\n", GetTickCount(), answered, state.startedFiles, state.currentFile);
        fflush(stdout);
        Sleep(250);
    }
}

void report(const char* what, const std::vector<double>& values)
{
    printf("%-46s median %8.1f ms  (", what, median(values));
    for (double v : values)
        printf(" %.0f", v);
    printf(" )\n");
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && strcmp(argv[1], "watch") == 0)
        return watch();
    if (argc != 4) {
        fprintf(stderr, "usage: startup_bench RUNS FILE1 FILE2 | startup_bench watch\n");
        return 2;
    }
    int runs = atoi(argv[1]);
    std::string files[2] = {argv[2], argv[3]};
    std::vector<double> trivial, forwarded, cold;
    endRunningPlayer();
    for (int i = 0; i < runs; ++i)
        trivial.push_back(trivialStart());
    for (int i = 0; i < runs; ++i)
        cold.push_back(coldStart(files[i % 2]));
    HANDLE primary = start(besideMe("PLAYER.EXE"), std::string(engines) + " \"" + files[0] + "\"");
    if (primary && waitForStart(files[0], 0))
        for (int i = 0; i < runs; ++i)
            forwarded.push_back(forwardedStart(files[(i + 1) % 2]));
    if (primary)
        CloseHandle(primary);
    endRunningPlayer();
    if (trivial.empty() || forwarded.empty() || cold.empty()) {
        fprintf(stderr, "a measurement failed\n");
        return 1;
    }
    double a = median(trivial), b = median(forwarded), c = median(cold);
    report("a) trivial program start and end", trivial);
    report("b) second start forwarding one file", forwarded);
    report("c) cold start until the first file plays", cold);
    printf("b/a %.2f   c/a %.2f\n", b / a, c / a);
    return (a > 0 && b > 0 && c > 0) ? 0 : 1;
}
