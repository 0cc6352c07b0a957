#include "PlaylistText.h"

#include <string.h>

namespace {

char lowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? (char)(c - 'A' + 'a') : c;
}

bool equalsNoCase(const char* a, const char* b)
{
    for (; *a && *b; ++a, ++b) {
        if (lowerAscii(*a) != lowerAscii(*b))
            return false;
    }
    return *a == *b;
}

// The first position at or after from where pattern (lower-case ASCII)
// starts, seen through a lower-cased copy of line, or null. Matches start
// only on character boundaries; a match cannot run into a double-byte
// character since the pattern holds no lead bytes.
const char* findNoCase(const char* line, const char* from, const char* pattern, LeadByteTest isLeadByte)
{
    size_t patternLength = strlen(pattern);
    const char* p = line;
    while (*p) {
        if (p >= from) {
            size_t k = 0;
            while (k < patternLength && p[k] && lowerAscii(p[k]) == pattern[k])
                ++k;
            if (k == patternLength)
                return p;
        }
        p += (isLeadByte && isLeadByte((unsigned char)*p) && p[1]) ? 2 : 1;
    }
    return nullptr;
}

bool isDriveLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool hasDrive(const char* path)
{
    return isDriveLetter(path[0]) && path[1] == ':';
}

bool isSlash(char c)
{
    return c == '\\' || c == '/';
}

// The length of the drive (C:) or share (\\server\share) that begins path.
size_t rootLength(const char* path)
{
    if (hasDrive(path))
        return 2;
    if (!isSlash(path[0]) || !isSlash(path[1]))
        return 0;
    size_t i = 2;
    for (int part = 0; part < 2; ++part) {
        while (path[i] && !isSlash(path[i]))
            ++i;
        if (part == 0 && path[i])
            ++i;
    }
    return i;
}

bool concat(char* out, size_t outSize, const char* head, size_t headLength, const char* tail)
{
    size_t tailLength = strlen(tail);
    if (headLength + tailLength + 1 > outSize)
        return false;
    memmove(out, head, headLength);
    memmove(out + headLength, tail, tailLength + 1);
    return true;
}

} // namespace

PlaylistFormat playlistFormatOf(const char* path)
{
    const char* dot = strrchr(path, '.');
    if (!dot || !dot[1])
        return PlaylistFormatNone;
    if (equalsNoCase(dot, ".m3u"))
        return PlaylistFormatLines;
    if (equalsNoCase(dot, ".pls"))
        return PlaylistFormatProfile;
    if (equalsNoCase(dot, ".asx") || equalsNoCase(dot, ".wax") || equalsNoCase(dot, ".wvx"))
        return PlaylistFormatReferences;
    return PlaylistFormatNone;
}

char* cutAtLastLf(char* line)
{
    char* lf = strrchr(line, '\n');
    if (lf)
        *lf = '\0';
    return line;
}

bool isLineListEntry(const char* line)
{
    return line[0] != '\0' && line[0] != '#';
}

bool findReference(const char* line, LeadByteTest isLeadByte, size_t* start, size_t* length)
{
    static const char* const steps[] = {"<", "ref", "href", "=", "\"", "\"", "/", ">"};
    const char* from = line;
    const char* opening = nullptr;
    const char* closing = nullptr;
    for (size_t i = 0; i < sizeof steps / sizeof steps[0]; ++i) {
        const char* found = findNoCase(line, from, steps[i], isLeadByte);
        if (!found)
            return false;
        if (i == 4)
            opening = found;
        if (i == 5)
            closing = found;
        from = found + strlen(steps[i]);
    }
    *start = (size_t)(opening + 1 - line);
    *length = (size_t)(closing - opening - 1);
    return true;
}

uint32_t parseEntryCount(const char* text)
{
    uint64_t value = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        value = value * 10 + (uint64_t)(*text - '0');
        if (value > UINT32_MAX)
            return UINT32_MAX;
    }
    return (uint32_t)value;
}

bool parseFileKey(const char* key, uint32_t* number)
{
    static const char prefix[] = "file";
    for (size_t i = 0; i < 4; ++i) {
        if (lowerAscii(key[i]) != prefix[i])
            return false;
    }
    const char* digits = key + 4;
    size_t count = strlen(digits);
    if (count == 0 || count > 10 || digits[0] == '0' || strspn(digits, "0123456789") != count)
        return false;
    uint64_t value = 0;
    for (size_t i = 0; i < count; ++i)
        value = value * 10 + (uint64_t)(digits[i] - '0');
    if (value > UINT32_MAX)
        return false;
    *number = (uint32_t)value;
    return true;
}

bool resolveEntryPath(const char* directory, const char* entry, char* out, size_t outSize)
{
    bool uncOrRooted = isSlash(entry[0]);
    if ((uncOrRooted && isSlash(entry[1])) || (hasDrive(entry) && isSlash(entry[2])))
        return concat(out, outSize, "", 0, entry);
    if (hasDrive(entry)) {
        // "X:name" is relative to the current directory of drive X, which is
        // the playlist's only when the playlist is on X.
        if (hasDrive(directory) && lowerAscii(directory[0]) == lowerAscii(entry[0]))
            return concat(out, outSize, directory, strlen(directory), entry + 2);
        return concat(out, outSize, "", 0, entry);
    }
    if (uncOrRooted)
        return concat(out, outSize, directory, rootLength(directory), entry);
    return concat(out, outSize, directory, strlen(directory), entry);
}
