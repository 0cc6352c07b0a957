#include "RichEdit.h"

#include "DynamicLibrary.h"

namespace {

struct RichEditBinding {
    DynamicLibrary library{"RICHED32.DLL"};
    CountedLock lock;
};

RichEditBinding instance __attribute__((init_priority(110)));

RichEditBinding& binding()
{
    return instance;
}

} // namespace

bool loadRichEdit()
{
    LockScope scope(binding().lock);
    return binding().library.load();
}

void freeRichEdit()
{
    LockScope scope(binding().lock);
    binding().library.free();
}
