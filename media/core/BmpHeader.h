#pragma once
#include <stddef.h>
#include <stdint.h>

// Device-independent bitmaps as the plug-in hands them out and reads them
// from BMP files: a 40-byte BITMAPINFOHEADER, its colour table or colour
// masks, and the pixel rows.

const uint32_t BmpFileHeaderSize = 14;
const uint32_t DibHeaderSize = 40;

// The sizes that one bitmap header implies.
struct DibLayout {
    int32_t width;
    int32_t height;              // negative for top-down rows
    uint16_t bitCount;
    uint32_t compression;        // 0 plain rows, 3 colour masks
    uint32_t colourTableBytes;   // colour entries or the three masks
    uint32_t pixelBytes;         // row bytes x |height|
    uint32_t infoBytes() const { return DibHeaderSize + colourTableBytes; }
};

// Checks a BITMAPINFOHEADER whose own size field may be larger (the newer
// header versions) and fills the layout: one plane, a positive width, a
// nonzero height, 1, 4, 8, 16, 24 or 32 bits, plain rows or (16 and 32 bits)
// colour masks, at most 2^bits colours, pixel bytes within 2 GB.
bool readDibLayout(const uint8_t* header, size_t size, DibLayout* layout);

// Where a BMP file's parts lie.
struct BmpFileLayout {
    DibLayout dib;
    uint32_t colourTableOffset;  // right behind the header as the file sizes it
    uint32_t pixelOffset;
};

// Checks the file header and the bitmap header at the start of a BMP file
// (head holds at least the first 54 bytes) against the file's size: the
// colour table and the pixel rows lie within the file.
bool readBmpFileLayout(const uint8_t* head, size_t size, uint64_t fileSize, BmpFileLayout* layout);

// The 14-byte file header of a BMP file holding infoBytes of header and
// colour table followed by pixelBytes of rows; false when it would pass 4 GB.
bool writeBmpFileHeader(uint8_t* out, uint32_t infoBytes, uint32_t pixelBytes);
