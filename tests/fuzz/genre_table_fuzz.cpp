#include <stdint.h>
#include <string.h>

#include <string>

#include "GenreTable.h"

// The first byte is the genre number, the rest one table line.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    std::string line(reinterpret_cast<const char*>(data + 1), size - 1);
    const char* name = nullptr;
    size_t length = 0;
    if (parseGenreLine(line.c_str(), data[0], &name, &length)) {
        if (length == 0 || name < line.c_str() || name + length > line.c_str() + strlen(line.c_str()))
            __builtin_trap();
    }
    return 0;
}
