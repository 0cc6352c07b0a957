#include <stddef.h>
#include <stdint.h>
#include <string.h>

#include <memory>

#include "ForwardRecord.h"

namespace {

// A record that is accepted holds exactly what the builders write for what
// was read from it: version, command, the command's own payload length, a
// zero word for Next and End, a non-empty path up to its zero or its first
// 259 characters.
void checkRecord(const uint8_t* data, size_t size)
{
    forward::Record record;
    if (!forward::check(data, size, &record))
        return;
    uint8_t built[forward::LargestRecord];
    size_t length, compared;
    if (record.command == forward::PlayFile) {
        size_t path = strlen(record.path);
        if (path == 0 || path >= forward::PathSize)
            __builtin_trap();
        length = forward::buildPlayFile(built, record.word, record.milliseconds, record.externalEngines, record.path);
        compared = forward::HeaderSize + 12 + path + (path < forward::PathSize - 1);
    } else if (record.command == forward::QueryCurrentFile) {
        length = forward::buildQuery(built);
        compared = forward::HeaderSize;  // the payload carries nothing in
    } else {
        uint32_t word = record.command == forward::ShowUsage ? record.word : 0;
        length = compared = forward::buildWord(built, (forward::Command)record.command, word);
    }
    if (size < length || memcmp(built, data, compared) != 0)
        __builtin_trap();
}

} // namespace

// The receiver's checks on records from any other process. Raw bytes seldom
// carry a valid header, so the rest of each input is also checked behind the
// header of the command that its first byte names.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    checkRecord(data, size);
    if (size == 0 || size > forward::LargestRecord)
        return 0;
    uint8_t header[forward::LargestRecord];
    forward::buildWord(header, (forward::Command)(data[0] % 5), 0);  // any command's header
    // Exactly the record's size, so that the sanitizer sees a read past it.
    std::unique_ptr<uint8_t[]> record(new uint8_t[forward::HeaderSize + size - 1]);
    memcpy(record.get(), header, forward::HeaderSize);
    memcpy(record.get() + forward::HeaderSize, data + 1, size - 1);
    checkRecord(record.get(), forward::HeaderSize + size - 1);
    return 0;
}
