#include "TextBytes.h"

namespace {

bool isLineControl(uint8_t c) { return c == '\t' || c == '\n' || c == '\r'; }

}  // namespace

bool isTextBytes(const uint8_t* bytes, size_t size, const TextByteClasses& classes)
{
    for (size_t i = 0; i < size; ++i) {
        uint8_t flags = classes.flags[bytes[i]];
        if (flags & TextLeadByte) {
            if (i + 1 == size)
                return true;
            if (!(classes.flags[bytes[++i]] & TextTrailByte))
                return false;
        } else if (!(flags & TextPrintableByte) && !isLineControl(bytes[i])) {
            return false;
        }
    }
    return true;
}
