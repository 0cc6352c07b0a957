#include "NumberText.h"

#include <math.h>
#include <stdlib.h>

bool parseUnsigned32(const char* text, uint32_t* value)
{
    if (!text || !*text)
        return false;
    uint64_t number = 0;
    for (const char* p = text; *p; ++p) {
        if (*p < '0' || *p > '9')
            return false;
        number = number * 10 + (uint64_t)(*p - '0');
        if (number > UINT32_MAX)
            return false;
    }
    *value = (uint32_t)number;
    return true;
}

bool parseDecimalFraction(const char* text, double* value)
{
    if (!text)
        return false;
    if (!*text) {
        *value = 0;
        return true;
    }
    // strtod alone would also take hexadecimal, exponents and "inf".
    for (const char* p = text; *p; ++p)
        if ((*p < '0' || *p > '9') && *p != '.')
            return false;
    char* end = nullptr;
    double number = strtod(text, &end);
    if (end == text || *end || !isfinite(number))
        return false;
    *value = number;
    return true;
}
