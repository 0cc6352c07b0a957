#include "FramePixels.h"

#include "Bytes.h"
#include "DibRows.h"

namespace {

const int64_t halfSecond = 5000000;
const int64_t oneSecond = 10000000;

void pixel16To24(uint16_t p, SixteenBitLayout layout, uint8_t* out)
{
    out[0] = (uint8_t)((p << 3) & 0xF8);
    if (layout == SixteenBitLayout::Rgb565) {
        out[1] = (uint8_t)((p >> 3) & 0xFC);
        out[2] = (uint8_t)((p >> 8) & 0xF8);
    } else {
        out[1] = (uint8_t)((p >> 2) & 0xF8);
        out[2] = (uint8_t)((p >> 7) & 0xF8);
    }
}

} // namespace

bool convertRowsTo24(const uint8_t* source, uint32_t bitCount, SixteenBitLayout layout, uint32_t width,
                     uint32_t rows, uint8_t* destination)
{
    if (bitCount != 16 && bitCount != 32)
        return false;
    uint32_t sourceRow = DibRowBytes(width, bitCount);
    uint32_t destinationRow = DibRowBytes(width, 24);
    if (width && (!sourceRow || !destinationRow))
        return false;
    for (uint32_t y = 0; y < rows; ++y) {
        const uint8_t* in = source + (uint64_t)y * sourceRow;
        uint8_t* out = destination + (uint64_t)y * destinationRow;
        for (uint32_t x = 0; x < width; ++x, out += 3) {
            if (bitCount == 16)
                pixel16To24(readLe16(in + 2 * x), layout, out);
            else
                memcpy(out, in + 4 * x, 3);
        }
        // The row's padding is written too, so no byte of the block is left undefined.
        memset(out, 0, destinationRow - 3 * width);
    }
    return true;
}

int32_t frameMilliseconds(uint32_t seconds)
{
    uint64_t milliseconds = (uint64_t)seconds * 1000;
    return milliseconds > INT32_MAX ? INT32_MAX : (int32_t)milliseconds;
}

bool clipInterval(uint32_t seconds, int64_t duration, int64_t* start, int64_t* stop)
{
    if (duration <= 0)
        return false;
    int64_t end = (int64_t)seconds * oneSecond + halfSecond;
    if (end >= duration - 1)
        end = duration - 1;
    *stop = end;
    *start = duration > halfSecond ? end - halfSecond : 0;
    return true;
}
