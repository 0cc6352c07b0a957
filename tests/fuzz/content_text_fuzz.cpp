// The text scan over arbitrary bytes with an arbitrary code-page table taken
// from the input's first 256 bytes. A block that is text stays text when any
// of its prefixes is scanned, unless the cut splits a pair (which the scan
// accepts at the very end anyway).
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include "TextBytes.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TextByteClasses classes;
    if (size < sizeof classes.flags)
        return 0;
    memcpy(classes.flags, data, sizeof classes.flags);
    const uint8_t* text = data + sizeof classes.flags;
    size_t length = size - sizeof classes.flags;
    if (isTextBytes(text, length, classes))
        for (size_t cut = 0; cut < length; ++cut)
            if (!isTextBytes(text, cut, classes))
                abort();
    return 0;
}
