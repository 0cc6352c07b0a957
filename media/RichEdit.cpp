#include "RichEdit.h"

#include "DynamicLibrary.h"

namespace {

struct RichEditBinding {
    DynamicLibrary library{"RICHED32.DLL"};
    CountedLock lock;
};

RichEditBinding& binding()
{
    static RichEditBinding instance;
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
