// The readers that pick an MCI device from the first bytes of a file.
#include "MciDevice.h"

#include "Bytes.h"
#include "CdAudio.h"
#include "ContentTests.h"
#include "RecognitionFile.h"

namespace {

const DWORD headSize = 12;

bool isRiffForm(const uint8_t* head, const char* form) { return isFourCc(head, "RIFF") && isFourCc(head + 8, form); }

// A standard MIDI file: the header chunk and, right after it, a track chunk.
// Every chunk must end inside the file: the sequencer reads a track for as
// long as its length says, past the end of the file too, and a length near
// 4 GB keeps it busy inside the open for hours (seen under Wine).
bool isStandardMidi(RecognitionFile& file, const uint8_t* head)
{
    ULONGLONG size = 0;
    uint64_t at = 0;
    if (!midiTrackOffset(head, &at) || !file.size(&size))
        return false;
    uint8_t chunk[8];
    if (!file.readExactAt(at, chunk, 8) || !isFourCc(chunk, "MTrk"))
        return false;
    do {
        at += 8 + (ULONGLONG)readBe32(chunk + 4);
        if (at > size)
            return false;
    } while (file.readExactAt(at, chunk, 8));
    return true;
}

} // namespace

BOOL MciDevice::readRiffForm(const char* fileName, const char* form, DWORD_PTR deviceType, DWORD openFlags)
{
    uint8_t head[headSize];
    RecognitionFile file(fileName);
    if (!file.readExactAt(0, head, headSize) || !isRiffForm(head, form))
        return FALSE;
    acceptFile(deviceType, openFlags);
    return TRUE;
}

BOOL MciDevice::readWave(const char* fileName)
{
    return readRiffForm(fileName, "WAVE", MCI_DEVTYPE_WAVEFORM_AUDIO, MCI_OPEN_TYPE | MCI_OPEN_TYPE_ID | MCI_OPEN_ELEMENT);
}

BOOL MciDevice::readAvi(const char* fileName)
{
    return readRiffForm(fileName, "AVI ", (DWORD_PTR) "avivideo", MCI_OPEN_TYPE | MCI_OPEN_ELEMENT);
}

BOOL MciDevice::readSequencer(const char* fileName)
{
    uint8_t head[headSize];
    RecognitionFile file(fileName);
    if (!file.readExactAt(0, head, headSize))
        return FALSE;
    if (!isRiffForm(head, "RMID") && !isRiffForm(head, "MIDS") && !isStandardMidi(file, head))
        return FALSE;
    acceptFile(MCI_DEVTYPE_SEQUENCER, MCI_OPEN_TYPE | MCI_OPEN_TYPE_ID | MCI_OPEN_ELEMENT);
    return TRUE;
}

BOOL MciDevice::readCdTrack(const char* fileName, DWORD_PTR* deviceType, DWORD* openFlags)
{
    LockScope hold(lock);
    if (!fileName || !deviceType || !openFlags)
        return FALSE;
    uint8_t record[cdaRecordSize];
    RecognitionFile file(fileName);
    if (!file.readExactAt(0, record, cdaRecordSize))
        return FALSE;
    unsigned track = cdaTrackNumber(record, cdaRecordSize);
    if (!track)
        return FALSE;
    *deviceType = (DWORD)track << 16 | MCI_DEVTYPE_CD_AUDIO;
    *openFlags = MCI_OPEN_TYPE | MCI_OPEN_TYPE_ID | MCI_OPEN_ELEMENT;
    return TRUE;
}

BOOL MciDevice::readCdAudio(const char* fileName)
{
    DWORD_PTR deviceType = 0;
    DWORD openFlags = 0;
    if (!readCdTrack(fileName, &deviceType, &openFlags))
        return FALSE;
    acceptFile(deviceType, openFlags);
    return TRUE;
}
