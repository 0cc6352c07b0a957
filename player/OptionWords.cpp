#include <stdlib.h>
#include <string.h>

#include "ForwardRecord.h"
#include "Forwarding.h"
#include "PlayOptions.h"
#include "PlayQueue.h"
#include "PlayerCore.h"
#include "UsageWait.h"

namespace {

bool isWord(const char* word, const char* name) { return lstrcmpiA(word, name) == 0; }

// The text after a prefix that word begins with, or null.
const char* afterPrefix(const char* word, const char* prefix)
{
    size_t n = strlen(prefix);
    return _strnicmp(word, prefix, n) == 0 ? word + n : nullptr;
}

// The settings dialogs on the user-interface thread change the same word
// under cancelLock.
void setFlags(DWORD set, DWORD clear)
{
    LockScope hold(cancelLock);
    playOptions.flags = (playOptions.flags & ~clear) | set;
}

// A play-time limit: 0, a missing or a negative number plays the whole file.
LONG limitFrom(const char* digits, LONG unit)
{
    long value = strtol(digits, nullptr, 10);
    if (value <= 0)
        return -1;
    return value > 0x7FFFFFFF / unit ? 0x7FFFFFFF : (LONG)value * unit;
}

void setRate(const char* digits)
{
    double rate = strtod(digits, nullptr);
    if (!(rate > 0.0 && rate < 21474836.0))
        return;  // no engine plays at a rate of zero or less
    playOptions.rate = rate;
    playOptions.ratePercent = (LONG)(rate * 100.0);
}

struct FlagWord {
    const char* word;
    DWORD set;
    DWORD clear;
};

const FlagWord flagWords[] = {
    {"Delete", FlagDelete, 0},
    {"NoDelete", 0, FlagDelete},
    {"TryByMci", FlagTryByMci, FlagAdvancedOrder},
    {"NoTryByMci", 0, FlagTryByMci},
    {"TryByDirectShow", FlagDirectShowStandard, FlagAdvancedOrder},
    {"NoTryByDirectShow", 0, FlagDirectShowStandard},
    {"TryByDirectMusic", FlagTryByDirectMusic, FlagAdvancedOrder},
    {"NoTryByDirectMusic", 0, FlagTryByDirectMusic},
    {"TryByExternalEngine", FlagTryByExternalEngine, FlagAdvancedOrder},
    {"NoTryByExternalEngine", 0, FlagTryByExternalEngine},
    {"Repeat", FlagRepeat, FlagRepeatEach},
    {"RepeatEach", FlagRepeatEach, FlagRepeat},
    {"NoRepeat", 0, FlagRepeat | FlagRepeatEach},
    {"NormalClass", 0, FlagHighClass | FlagRealtimeClass},
    {"HighClass", FlagHighClass, FlagRealtimeClass},
    {"RealtimeClass", FlagRealtimeClass, FlagHighClass},
};

// Help: the primary shows the dialog itself and the queue thread waits for
// it; a secondary asks the primary to show it.
int help(const char* digits)
{
    HWND owner = (HWND)(UINT_PTR)strtoul(digits, nullptr, 10);
    if (owner && !IsWindow(owner))
        owner = nullptr;
    if (!isPrimary) {
        forwardWord(forward::ShowUsage, (DWORD)(UINT_PTR)owner);
        return 0;
    }
    expectUsageDialogClose();
    PostMessageA(controlWindow, WM_COMMAND, CommandShowUsage, (LPARAM)owner);
    return 1;
}

} // namespace

int parseOption(const char* word)
{
    for (const FlagWord& f : flagWords)
        if (isWord(word, f.word)) {
            setFlags(f.set, f.clear);
            return 0;
        }
    if (isWord(word, "Add")) {
        if (!isPrimary)
            setFlags(FlagAdd, 0);
    } else if (isWord(word, "Next")) {
        if (!isPrimary)
            forwardWord(forward::Next, 0);
    } else if (isWord(word, "End")) {
        if (isPrimary)
            playQueue.cancelToLast();
        else
            forwardWord(forward::End, 0);
    } else if (const char* n = afterPrefix(word, "Milliseconds")) {
        LockScope hold(queueLock);
        playOptions.milliseconds = limitFrom(n, 1);
    } else if (const char* n = afterPrefix(word, "Seconds")) {
        LockScope hold(queueLock);
        playOptions.milliseconds = limitFrom(n, 1000);
    } else if (const char* n = afterPrefix(word, "Rate")) {
        setRate(n);
    } else if (const char* n = afterPrefix(word, "Help")) {
        return help(n);
    } else if (const char* n = afterPrefix(word, "?")) {
        return help(n);
    }
    return 0;
}
