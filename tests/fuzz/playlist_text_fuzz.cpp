#include <stdint.h>
#include <string.h>

#include <string>

#include "PlaylistText.h"

namespace {

bool highLead(unsigned char b)
{
    return b >= 0x81 && b <= 0xFC;
}

} // namespace

// The first byte picks the lead-byte rule; the rest is one line of text, cut
// at a NUL into a playlist directory and an entry.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    LeadByteTest lead = (data[0] & 1) ? highLead : nullptr;

    size_t start = 0, length = 0;
    if (findReference(text.c_str(), lead, &start, &length) && start + length > strlen(text.c_str()))
        __builtin_trap();

    std::string line = text;
    cutAtLastLf(&line[0]);
    isLineListEntry(line.c_str());
    playlistFormatOf(text.c_str());
    parseEntryCount(text.c_str());
    uint32_t number = 0;
    parseFileKey(text.c_str(), &number);

    size_t nul = text.find('\0');
    std::string directory = text.substr(0, nul);
    std::string entry = nul == std::string::npos ? std::string() : text.substr(nul + 1);
    char out[260];
    if (resolveEntryPath(directory.c_str(), entry.c_str(), out, sizeof out) && strlen(out) >= sizeof out)
        __builtin_trap();
    return 0;
}
