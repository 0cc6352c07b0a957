#pragma once
#include <stddef.h>
#include <stdint.h>
#include <string.h>

// Reading fixed-layout numbers and four-character codes from byte blocks.
// Callers check the bounds; these only assemble bytes.

inline uint16_t readLe16(const uint8_t* p) { return (uint16_t)(p[0] | p[1] << 8); }

inline uint32_t readLe32(const uint8_t* p)
{
    return (uint32_t)p[0] | (uint32_t)p[1] << 8 | (uint32_t)p[2] << 16 | (uint32_t)p[3] << 24;
}

inline uint32_t readBe32(const uint8_t* p)
{
    return (uint32_t)p[0] << 24 | (uint32_t)p[1] << 16 | (uint32_t)p[2] << 8 | (uint32_t)p[3];
}

inline void writeLe16(uint8_t* p, uint16_t v)
{
    p[0] = (uint8_t)v;
    p[1] = (uint8_t)(v >> 8);
}

inline void writeLe32(uint8_t* p, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = (uint8_t)(v >> (8 * i));
}

// The four bytes at p, in file order, are the code ("RIFF" is 52 49 46 46).
inline bool isFourCc(const uint8_t* p, const char* code) { return memcmp(p, code, 4) == 0; }
