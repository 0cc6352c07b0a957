#pragma once
#include <stddef.h>
#include <stdint.h>

// The record one player start (or the plug-in) hands to the running player
// as the data block of WM_COPYDATA. All integers are 32-bit little-endian:
// version (1), command, payload length, payload.
namespace forward {

enum Command : uint32_t {
    ShowUsage = 0,         // payload: owner window handle or 0
    PlayFile = 1,          // payload: flags, milliseconds, externalEngines, path[260]
    Next = 2,              // payload: one word, 0
    End = 3,               // payload: one word, 0
    QueryCurrentFile = 4,  // payload: 260 zero bytes
};

const uint32_t Version = 1;
const size_t HeaderSize = 12;
const size_t PathSize = 260;
const size_t WordPayload = 4;
const size_t PlayFilePayload = 12 + PathSize;
const size_t QueryPayload = PathSize;
const size_t LargestRecord = HeaderSize + PlayFilePayload;

// A checked record. path is always terminated: a path that fills all 260
// bytes without a zero is taken as its first 259 characters.
struct Record {
    uint32_t command;
    uint32_t word;  // ShowUsage: the owner; Next and End: 0; PlayFile: flags
    int32_t milliseconds;
    uint32_t externalEngines;
    char path[PathSize];
};

// Checks, in this order, a size above 11, version 1, the command's exact
// payload length, a zero word for Next and End, a non-empty path for
// PlayFile. Reads no byte at or past size. False for anything else.
bool check(const uint8_t* bytes, size_t size, Record* record);

// Builders: each writes a whole record into out (LargestRecord bytes are
// always enough) and answers its size. The path is cut to 259 characters.
size_t buildWord(uint8_t* out, Command command, uint32_t word);
size_t buildPlayFile(uint8_t* out, uint32_t flags, int32_t milliseconds, uint32_t externalEngines,
                     const char* path);
size_t buildQuery(uint8_t* out);

} // namespace forward
