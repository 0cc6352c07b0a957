#include <stdint.h>
#include <string.h>

#include "BmpHeader.h"
#include "DibRows.h"

// Any head and any claimed file size: an accepted layout never places a part
// past the file's end and its sizes agree with the row arithmetic.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 8)
        return 0;
    uint64_t fileSize;
    memcpy(&fileSize, data, sizeof fileSize);
    fileSize &= 0xFFFFFFFFFFull;
    BmpFileLayout layout;
    if (!readBmpFileLayout(data + 8, size - 8, fileSize, &layout))
        return 0;
    const DibLayout& dib = layout.dib;
    if ((uint64_t)layout.pixelOffset + dib.pixelBytes > fileSize ||
        (uint64_t)layout.colourTableOffset + dib.colourTableBytes > fileSize || dib.width <= 0 || dib.height == 0 ||
        dib.pixelBytes != DibImageBytes((uint32_t)dib.width, dib.height, dib.bitCount) || dib.colourTableBytes > 1024)
        __builtin_trap();
    return 0;
}
