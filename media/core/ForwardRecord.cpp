#include "ForwardRecord.h"

#include <string.h>

#include "Bytes.h"

namespace forward {

namespace {

size_t payloadFor(uint32_t command)
{
    switch (command) {
    case ShowUsage:
    case Next:
    case End:
        return WordPayload;
    case PlayFile:
        return PlayFilePayload;
    case QueryCurrentFile:
        return QueryPayload;
    default:
        return 0;
    }
}

void copyPath(char* to, const uint8_t* from)
{
    size_t n = 0;
    while (n < PathSize - 1 && from[n])
        ++n;
    memcpy(to, from, n);
    to[n] = 0;
}

size_t writeHeader(uint8_t* out, Command command)
{
    size_t payload = payloadFor(command);
    writeLe32(out, Version);
    writeLe32(out + 4, command);
    writeLe32(out + 8, (uint32_t)payload);
    memset(out + HeaderSize, 0, payload);
    return HeaderSize + payload;
}

} // namespace

bool check(const uint8_t* bytes, size_t size, Record* record)
{
    if (!bytes || size < HeaderSize)
        return false;
    if (readLe32(bytes) != Version)
        return false;
    uint32_t command = readLe32(bytes + 4);
    size_t payload = payloadFor(command);
    if (payload == 0 || readLe32(bytes + 8) != payload || size < HeaderSize + payload)
        return false;
    const uint8_t* p = bytes + HeaderSize;
    memset(record, 0, sizeof *record);
    record->command = command;
    switch (command) {
    case ShowUsage:
        record->word = readLe32(p);
        return true;
    case Next:
    case End:
        record->word = readLe32(p);
        return record->word == 0;
    case PlayFile:
        record->word = readLe32(p);
        record->milliseconds = (int32_t)readLe32(p + 4);
        record->externalEngines = readLe32(p + 8);
        copyPath(record->path, p + 12);
        return record->path[0] != 0;
    default:
        return true;  // QueryCurrentFile: the payload carries nothing in
    }
}

size_t buildWord(uint8_t* out, Command command, uint32_t word)
{
    size_t size = writeHeader(out, command);
    writeLe32(out + HeaderSize, word);
    return size;
}

size_t buildPlayFile(uint8_t* out, uint32_t flags, int32_t milliseconds, uint32_t externalEngines,
                     const char* path)
{
    size_t size = writeHeader(out, PlayFile);
    uint8_t* p = out + HeaderSize;
    writeLe32(p, flags);
    writeLe32(p + 4, (uint32_t)milliseconds);
    writeLe32(p + 8, externalEngines);
    size_t n = strlen(path);
    memcpy(p + 12, path, n < PathSize - 1 ? n : PathSize - 1);
    return size;
}

size_t buildQuery(uint8_t* out) { return writeHeader(out, QueryCurrentFile); }

} // namespace forward
