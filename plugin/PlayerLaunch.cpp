#include "PlayerLaunch.h"

#include <stdio.h>
#include <string.h>

#include "Classification.h"
#include "MediaContext.h"
#include "NumberText.h"
#include "PluginSettings.h"
#include "PluginState.h"
#include "RawPcm.h"
#include "RunningPlayer.h"

const char* const MciWords = "-TryByMci -NoTryByDirectShow -NoTryByDirectMusic -NormalClass";
const char* const DirectShowWords = "-NoTryByMci -TryByDirectShow -NoTryByDirectMusic -NormalClass";
const char* const DirectMusicWords = "-NoTryByMci -NoTryByDirectShow -TryByDirectMusic -NormalClass";

namespace {

CountedLock TempNameLock;
const size_t CommandSize = 2 * MAX_PATH + 200;

const char* knownMediaWords() { return pluginSettings.useDirectShow ? DirectShowWords : MciWords; }
const char* otherMediaWords() { return pluginSettings.preferDirectShow ? DirectShowWords : MciWords; }
const char* midiWords() { return pluginSettings.useDirectMusicForMidi ? DirectMusicWords : knownMediaWords(); }

bool isFolder(const char* path)
{
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The process runs on its own; neither of its handles is kept.
bool startPlayer(char* command, HANDLE* process)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_FORCEOFFFEEDBACK;
    PROCESS_INFORMATION started = {};
    if (!CreateProcessA(nullptr, command, nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS, nullptr, nullptr,
                        &startup, &started))
        return false;
    CloseHandle(started.hThread);
    if (process)
        *process = started.hProcess;
    else
        CloseHandle(started.hProcess);
    return true;
}

bool startPlaying(const char* engineWords, bool deleteAfter, const char* file)
{
    char command[CommandSize];
    return BuildPlayCommand(command, sizeof command, engineWords, deleteAfter, file) && startPlayer(command, nullptr);
}

void play(const char* engineWords, const char* file)
{
    startPlaying(engineWords, false, file);
}

// The player deletes a temporary file once it has played it; one that no
// player took is deleted here, or every such picture would leave one behind.
void playTemporary(const char* engineWords, const char* temporary)
{
    if (!startPlaying(engineWords, true, temporary))
        DeleteFileA(temporary);
}

void launchFile(MediaContext& context, const char* name)
{
    if (IsPlayingNow(name))
        return;
    if (context.isWave(name) || context.isAvi(name) || context.isCdxa(name))
        return play(knownMediaWords(), name);
    if (context.isMidi(name))
        return play(midiWords(), name);
    if (context.isCdda(name))
        return play(MciWords, name);
    if (pluginSettings.tryUnknownFile)
        return play(otherMediaWords(), name);
    const char* extension = extensionOf(name);
    char temporary[MAX_PATH];
    if (!IsPcmExtension(extension) || !MakeTempName("RawPCM", extension - 1, temporary))
        return;
    if (!ConvertRawPcm(name, temporary, ReadPcmFormat(extension))) {
        DeleteFileA(temporary);
        return;
    }
    playTemporary(knownMediaWords(), temporary);
}

// The file of a memory image: its prefix, extension and engine words.
struct ImageKind {
    const char* prefix;
    const char* extension;
    const char* words;
};

bool writeWhole(const char* path, const void* bytes, DWORD size)
{
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    bool whole = WriteFile(file, bytes, size, &written, nullptr) && written == size;
    CloseHandle(file);
    return whole;
}

void launchImage(MediaContext& context, const BYTE* bytes, DWORD size)
{
    ImageKind kind = {nullptr, nullptr, knownMediaWords()};
    if (context.isWave(bytes, size))
        kind = {"WAVE", ".wav", knownMediaWords()};
    else if (context.isAvi(bytes, size))
        kind = {"AVI", ".avi", knownMediaWords()};
    else if (context.isMidi(bytes, size))
        kind = {"MIDI", ".mid", midiWords()};
    else if (context.isCdxa(bytes, size))
        kind = {"CDXA", ".dat", knownMediaWords()};
    else if (context.isCdda(bytes, size))
        kind = {"CDDA", ".cda", MciWords};
    char temporary[MAX_PATH];
    if (!MakeTempName(kind.prefix ? kind.prefix : "RawPCM", kind.extension ? kind.extension : ".pcm", temporary))
        return;
    bool written = kind.prefix ? writeWhole(temporary, bytes, size)
                               : WriteWaveFile(temporary, defaultPcmFormat(), bytes, size);
    if (!written) {
        DeleteFileA(temporary);
        return;
    }
    playTemporary(kind.words, temporary);
}

} // namespace

bool BuildPlayCommand(char* command, size_t size, const char* engineWords, bool deleteAfter, const char* file)
{
    const PluginSettings& s = pluginSettings;
    char rate[32];
    // A stored rate that no engine could play leaves the player's own.
    if (!formatDecimalFraction(s.setPitch ? s.rate : 1.0, rate, sizeof rate))
        formatDecimalFraction(1.0, rate, sizeof rate);
    // The program's path is quoted: in a folder such as "C:\Program Files" an
    // unquoted one would first start "C:\Program.exe".
    int length = snprintf(command, size, "\"%s%s\" %s %s %s -rate%s -milliseconds%u \"%s\"", ModuleDirectory,
                          "PLAYER.EXE", engineWords, deleteAfter ? "-Delete" : "",
                          s.repeat ? "-RepeatEach" : "-NoRepeat", rate,
                          s.milliseconds == PlayToEnd ? 0u : (unsigned)s.milliseconds, file);
    return length > 0 && (size_t)length < size;
}

bool IsPlayingNow(const char* name)
{
    char playing[MAX_PATH];
    return name && queryRunningPlayerFile(playing) && lstrcmpiA(playing, name) == 0;
}

bool MakeTempName(const char* prefix, const char* extension, char* path)
{
    LockScope hold(TempNameLock);
    char directory[MAX_PATH];
    DWORD length = GetEnvironmentVariableA("TMP", directory, sizeof directory);
    if (length == 0 || length >= sizeof directory - 1 || !isFolder(directory))
        strcpy(directory, ModuleDirectory);
    length = (DWORD)strlen(directory);
    const char* separator = length && directory[length - 1] != '\\' ? "\\" : "";
    for (unsigned number = GetCurrentProcessId() % 10000, tries = 0; tries < 10000; ++number, ++tries) {
        char stem[MAX_PATH];
        int stemLength = snprintf(stem, sizeof stem, "%s%s%s%u", directory, separator, prefix, number);
        if (stemLength <= 0 || (size_t)stemLength + strlen(extension) >= MAX_PATH)
            return false;
        if (GetFileAttributesA(stem) != INVALID_FILE_ATTRIBUTES)
            continue;
        snprintf(path, MAX_PATH, "%s%s", stem, extension);
        // Creating it keeps the name taken; an existing file is never reused.
        HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            CloseHandle(file);
            return true;
        }
        if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS)
            return false;
    }
    return false;
}

void LaunchPlayer(MediaContext& context, const char* buf, LONG_PTR len, UINT flag)
{
    if (!buf)
        return;
    LockScope hold(context.lock());
    context.setProbeRequests(0);
    if (flag & 1) {
        // A WAVE file holds at most 4 GB; a larger image is not cut short.
        if (len > 0 && (ULONG_PTR)len <= MAXDWORD)
            launchImage(context, (const BYTE*)buf, (DWORD)len);
    } else {
        launchFile(context, buf);
    }
}

DWORD WINAPI ShowPlayerSettings(LPVOID dialog)
{
    HWND window = (HWND)dialog;
    char command[CommandSize];
    HANDLE process = nullptr;
    int length = snprintf(command, sizeof command, "\"%s%s\" -help%u", ModuleDirectory, "PLAYER.EXE",
                          (unsigned)(UINT_PTR)window);
    if (length > 0 && length < (int)sizeof command && startPlayer(command, &process)) {
        WaitForSingleObject(process, INFINITE);
        CloseHandle(process);
    }
    EnableWindow(window, TRUE);
    SetForegroundWindow(window);
    return 0;
}
