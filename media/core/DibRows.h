#pragma once
#include <stdint.h>

// Bytes in one pixel row of a device-independent bitmap, padded to a multiple
// of four; 0 for a depth that is not 1, 4, 8, 16, 24 or 32 bits, or for a row
// too wide to be addressed (over 2 GB).
uint32_t DibRowBytes(uint32_t width, uint32_t bitCount);

// Row bytes times |height|; 0 when that would not fit in 2 GB.
uint32_t DibImageBytes(uint32_t width, int32_t height, uint32_t bitCount);
