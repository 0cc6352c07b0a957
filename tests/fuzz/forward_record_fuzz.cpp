#include <stddef.h>
#include <stdint.h>
#include <string.h>

#include "ForwardRecord.h"

// The receiver's checks on records from any other process.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    forward::Record record;
    if (forward::check(data, size, &record) && record.command == forward::PlayFile &&
        strlen(record.path) >= forward::PathSize)
        __builtin_trap();
    return 0;
}
