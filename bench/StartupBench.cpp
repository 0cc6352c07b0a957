#include <windows.h>

#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <string>
#include <vector>

#include "PlayerProcess.h"
#include "TestPaths.h"

// Measures, in one run under Wine:
//   a) a trivial Win32 program started and ended;
//   b) PLAYER.EXE started as a second instance that forwards one file and
//      exits, until the primary reports the new file as started;
//   c) a cold PLAYER.EXE start until its first file has started playing;
// b and c once with MCI alone and once with DirectShow as the standard engine.
// Usage: startup_bench RUNS FILE1 FILE2   (two wave files, several seconds long)
//        startup_bench watch              (prints the running player's state)
namespace {

const DWORD Generous = 60000;

double now()
{
    LARGE_INTEGER count, frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return (double)count.QuadPart * 1000.0 / (double)frequency.QuadPart;
}

DWORD startedFiles()
{
    RunningPlayerState state;
    return runningPlayerState(&state) ? state.startedFiles : 0;
}

// Asks the running player to end, as a second start with "-End" does, and
// waits until it has: a player cut off while it plays would leave the next
// start to wait for the audio device.
void endPlayer(PlayerProcess& primary)
{
    PlayerProcess end;
    if (end.start({"-End"}))
        end.waitForEnd(Generous);
    primary.waitForEnd(Generous);
}

// 0, a failed measurement, for no runs at all.
double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

const std::vector<std::string> directShowStandard = {"-NoTryByMci", "-TryByDirectShow", "-NoTryByDirectMusic",
                                                     "-NoTryByExternalEngine"};

std::vector<std::string> playing(const std::vector<std::string>& engine, const std::string& file)
{
    std::vector<std::string> words = engine;
    words.push_back(file);
    return words;
}

double trivialStart()
{
    std::string line = "\"" + besideTests("bench_trivial.exe") + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info;
    double begin = now();
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return -1;
    WaitForSingleObject(info.hProcess, Generous);
    double elapsed = now() - begin;
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return elapsed;
}

double coldStart(const std::vector<std::string>& engine, const std::string& file)
{
    PlayerProcess player;
    double begin = now();
    if (!player.start(playing(engine, file)))
        return -1;
    double elapsed = waitForCurrentFile(file, 1, Generous) ? now() - begin : -1;
    endPlayer(player);
    return elapsed;
}

double forwardedStart(const std::vector<std::string>& engine, const std::string& file)
{
    DWORD before = startedFiles();
    PlayerProcess second;
    double begin = now();
    if (!second.start(playing(engine, file)))
        return -1;
    double elapsed = waitForCurrentFile(file, before + 1, Generous) ? now() - begin : -1;
    second.waitForEnd(Generous);
    return elapsed;
}

int watch()
{
    for (;;) {
        RunningPlayerState state;
        BOOL answered = runningPlayerState(&state);
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
    std::vector<double> trivial;
    killRunningPlayers();
    for (int i = 0; i < runs; ++i)
        trivial.push_back(trivialStart());
    double a = median(trivial);
    bool measured = a > 0;
    report("a) trivial program start and end", trivial);
    struct Engine {
        const char* name;
        const std::vector<std::string>& words;
    };
    for (const Engine& engine : {Engine{"MCI", mciOnly}, Engine{"DirectShow", directShowStandard}}) {
        std::vector<double> forwarded, cold;
        for (int i = 0; i < runs; ++i)
            cold.push_back(coldStart(engine.words, files[i % 2]));
        PlayerProcess primary;
        if (primary.start(playing(engine.words, files[0])) && waitForCurrentFile(files[0], 1, Generous))
            for (int i = 0; i < runs; ++i)
                forwarded.push_back(forwardedStart(engine.words, files[(i + 1) % 2]));
        endPlayer(primary);
        if (forwarded.empty() || cold.empty()) {
            fprintf(stderr, "a measurement failed\n");
            return 1;
        }
        printf("%s:\n", engine.name);
        report("b) second start forwarding one file", forwarded);
        report("c) cold start until the first file plays", cold);
        double b = median(forwarded), c = median(cold);
        printf("b/a %.2f   c/a %.2f   b/c %.2f\n", b / a, c / a, b / c);
        measured = measured && b > 0 && c > 0;
    }
    return measured ? 0 : 1;
}
