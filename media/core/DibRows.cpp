#include "DibRows.h"

static const uint64_t dibLimit = 0x7FFFFFFF;

uint32_t DibRowBytes(uint32_t width, uint32_t bitCount)
{
    uint64_t bytes;
    switch (bitCount) {
    case 1:
    case 4: bytes = ((uint64_t)width * bitCount + 7) / 8 + 3; break;
    case 8:
    case 16:
    case 24: bytes = (uint64_t)width * (bitCount / 8) + 3; break;
    case 32: bytes = (uint64_t)width * 4; break;
    default: return 0;
    }
    bytes &= ~(uint64_t)3;
    return bytes > dibLimit ? 0 : (uint32_t)bytes;
}

uint32_t DibImageBytes(uint32_t width, int32_t height, uint32_t bitCount)
{
    uint64_t rows = height < 0 ? (uint64_t)(-(int64_t)height) : (uint64_t)height;
    uint64_t bytes = (uint64_t)DibRowBytes(width, bitCount) * rows;
    return bytes > dibLimit ? 0 : (uint32_t)bytes;
}
