#include "UsageWait.h"

#include "PlayOptions.h"
#include "PlayerCore.h"

namespace {

LONG queueThreadWaits;

} // namespace

void expectUsageDialogClose() { InterlockedExchange(&queueThreadWaits, 1); }

void endUsageWait() { InterlockedExchange(&queueThreadWaits, 0); }

void releaseUsageWait()
{
    if (!InterlockedExchange(&queueThreadWaits, 0))
        return;
    LockScope hold(cancelLock);
    playOptions.flags &= ~FlagRepeat;
    signalPlayDone();
}
