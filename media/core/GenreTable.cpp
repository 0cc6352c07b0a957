#include "GenreTable.h"

#include <stdint.h>
#include <string.h>

namespace {

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r' || c == '\n';
}

// Reads a hexadecimal number as a base-16 conversion does; a line without a
// digit holds no number. Large values saturate, which matches no genre.
const char* readHex(const char* p, int64_t* value)
{
    while (isBlank(*p))
        ++p;
    bool negative = *p == '-';
    if (*p == '-' || *p == '+')
        ++p;
    if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X') && hexDigit(p[2]) >= 0)
        p += 2;
    if (hexDigit(*p) < 0)
        return nullptr;
    int64_t v = 0;
    for (; hexDigit(*p) >= 0; ++p) {
        if (v < 0x100000000LL)
            v = v * 16 + hexDigit(*p);
    }
    *value = negative ? -v : v;
    return p;
}

} // namespace

bool parseGenreLine(const char* line, unsigned genre, const char** name, size_t* length)
{
    if (line[0] == '#')
        return false;
    int64_t number = 0;
    const char* end = readHex(line, &number);
    if (!end || *end != ':' || number != (int64_t)genre)
        return false;
    const char* text = end + 1;
    size_t n = strcspn(text, "\r\n");
    if (n == 0)
        return false;
    *name = text;
    *length = n;
    return true;
}
