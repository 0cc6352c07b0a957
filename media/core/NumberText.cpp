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

namespace {

// Digits past this many carry no more precision in a double.
const int SignificantDigits = 18;

} // namespace

bool parseDecimalFraction(const char* text, double* value)
{
    if (!text)
        return false;
    if (!*text) {
        *value = 0;
        return true;
    }
    // Read by hand: strtod takes the locale's decimal point (and would also
    // take hexadecimal, exponents and "inf").
    uint64_t digits = 0;
    int kept = 0, scale = 0, seen = 0;
    bool point = false;
    for (const char* p = text; *p; ++p) {
        if (*p == '.' && !point) {
            point = true;
            continue;
        }
        if (*p < '0' || *p > '9')
            return false;
        ++seen;
        if (kept == 0 && *p == '0') {
            scale -= point;
            continue;
        }
        if (kept < SignificantDigits) {
            digits = digits * 10 + (uint64_t)(*p - '0');
            ++kept;
            scale -= point;
        } else {
            scale += !point;
        }
    }
    if (!seen)
        return false;
    double number = (double)digits;
    if (scale < 0)
        number /= pow(10.0, -scale);
    else
        number *= pow(10.0, scale);
    if (!isfinite(number))
        return false;
    *value = number;
    return true;
}

bool formatDecimalFraction(double value, char* text, size_t size)
{
    if (!(value >= 0 && value < 1e12))
        return false;
    uint64_t micros = (uint64_t)llround(value * 1e6);
    char reversed[32];
    size_t length = 0;
    for (int place = 0; place < 7 || micros; ++place) {
        if (place == 6)
            reversed[length++] = '.';
        reversed[length++] = (char)('0' + micros % 10);
        micros /= 10;
    }
    if (length >= size)
        return false;
    for (size_t i = 0; i < length; ++i)
        text[i] = reversed[length - 1 - i];
    text[length] = 0;
    return true;
}
