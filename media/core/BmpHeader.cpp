#include "BmpHeader.h"

#include "Bytes.h"
#include "DibRows.h"

namespace {

const uint32_t PlainRows = 0;
const uint32_t ColourMasks = 3;

} // namespace

bool readDibLayout(const uint8_t* header, size_t size, DibLayout* layout)
{
    if (!header || size < DibHeaderSize || readLe32(header) < DibHeaderSize)
        return false;
    DibLayout dib;
    dib.width = (int32_t)readLe32(header + 4);
    dib.height = (int32_t)readLe32(header + 8);
    uint16_t planes = readLe16(header + 12);
    dib.bitCount = readLe16(header + 14);
    dib.compression = readLe32(header + 16);
    uint32_t coloursUsed = readLe32(header + 32);
    if (planes != 1 || dib.width <= 0 || dib.height == 0 || dib.height == INT32_MIN)
        return false;
    if (dib.bitCount <= 8) {
        uint32_t most = 1u << dib.bitCount;
        if (dib.compression != PlainRows || coloursUsed > most)
            return false;
        dib.colourTableBytes = 4 * (coloursUsed ? coloursUsed : most);
    } else if (dib.compression == ColourMasks && (dib.bitCount == 16 || dib.bitCount == 32)) {
        dib.colourTableBytes = 12;
    } else if (dib.compression == PlainRows) {
        dib.colourTableBytes = 0;
    } else {
        return false;
    }
    dib.pixelBytes = DibImageBytes((uint32_t)dib.width, dib.height, dib.bitCount);
    if (dib.pixelBytes == 0)
        return false;
    if (layout)
        *layout = dib;
    return true;
}

bool readBmpFileLayout(const uint8_t* head, size_t size, uint64_t fileSize, BmpFileLayout* layout)
{
    if (!head || size < BmpFileHeaderSize + DibHeaderSize || head[0] != 'B' || head[1] != 'M')
        return false;
    BmpFileLayout file;
    if (!readDibLayout(head + BmpFileHeaderSize, size - BmpFileHeaderSize, &file.dib))
        return false;
    uint64_t headerSize = readLe32(head + BmpFileHeaderSize);
    // Masks of a 40-byte header follow it; those of a newer header are inside it.
    uint64_t tableOffset = BmpFileHeaderSize + headerSize;
    if (file.dib.colourTableBytes == 12 && headerSize > DibHeaderSize)
        tableOffset = BmpFileHeaderSize + DibHeaderSize;
    file.pixelOffset = readLe32(head + 10);
    if (tableOffset + file.dib.colourTableBytes > fileSize ||
        file.pixelOffset < BmpFileHeaderSize + DibHeaderSize ||
        (uint64_t)file.pixelOffset + file.dib.pixelBytes > fileSize)
        return false;
    file.colourTableOffset = (uint32_t)tableOffset;
    if (layout)
        *layout = file;
    return true;
}

bool writeBmpFileHeader(uint8_t* out, uint32_t infoBytes, uint32_t pixelBytes)
{
    uint64_t total = (uint64_t)BmpFileHeaderSize + infoBytes + pixelBytes;
    if (total > 0xFFFFFFFFu)
        return false;
    out[0] = 'B';
    out[1] = 'M';
    writeLe32(out + 2, (uint32_t)total);
    writeLe32(out + 6, 0);
    writeLe32(out + 10, BmpFileHeaderSize + infoBytes);
    return true;
}
