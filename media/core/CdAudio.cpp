#include "CdAudio.h"

#include "Bytes.h"

unsigned cdaTrackNumber(const uint8_t* bytes, size_t size)
{
    if (!bytes || size < cdaRecordSize)
        return 0;
    if (!isFourCc(bytes, "RIFF") || !isFourCc(bytes + 8, "CDDA") || !isFourCc(bytes + 12, "fmt "))
        return 0;
    unsigned track = readLe16(bytes + 22);
    return track <= cdLastTrack ? track : 0;
}

uint32_t makeTmsf(unsigned track, unsigned minutes, unsigned seconds, unsigned frames)
{
    return (track & 0xFF) | (minutes & 0xFF) << 8 | (seconds & 0xFF) << 16 | (frames & 0xFFu) << 24;
}

unsigned tmsfSeconds(uint32_t tmsf) { return (tmsf >> 8 & 0xFF) * 60 + (tmsf >> 16 & 0xFF); }

unsigned msfSeconds(uint32_t msf) { return (msf & 0xFF) * 60 + (msf >> 8 & 0xFF); }

uint32_t cdTrackEnd(unsigned track, uint32_t msfLength)
{
    return makeTmsf(track, msfLength & 0xFF, msfLength >> 8 & 0xFF, 0);
}

bool cdTrackPosition(unsigned track, unsigned seconds, uint32_t* tmsf)
{
    if (seconds / 60 > 0xFF)
        return false;
    *tmsf = makeTmsf(track, seconds / 60, seconds % 60, 0);
    return true;
}
