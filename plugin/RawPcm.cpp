#include "RawPcm.h"

#include "GlobalBlock.h"
#include "RecognitionFile.h"
#include "Winmm.h"

namespace {

bool writeChunk(HMMIO file, FOURCC id, const void* data, DWORD size)
{
    MMCKINFO chunk = {};
    chunk.ckid = id;
    return winmm::mmioCreateChunk(file, &chunk, 0) == MMSYSERR_NOERROR &&
           winmm::mmioWrite(file, (const char*)data, (LONG)size) == (LONG)size &&
           winmm::mmioAscend(file, &chunk, 0) == MMSYSERR_NOERROR;
}

} // namespace

bool WriteWaveFile(const char* wavePath, const PCMWAVEFORMAT& format, const void* data, DWORD size)
{
    // mmio takes the name in a buffer of its own: a longer one would be cut
    // short and name another file.
    if (!wavePath || lstrlenA(wavePath) >= MAX_PATH || (!data && size) || size > 0x7FFFFFF0)
        return false;
    char name[MAX_PATH];
    lstrcpynA(name, wavePath, sizeof name);
    HMMIO file = winmm::mmioOpenA(name, nullptr, MMIO_CREATE | MMIO_WRITE | MMIO_EXCLUSIVE | MMIO_ALLOCBUF);
    if (!file)
        return false;
    MMCKINFO riff = {};
    riff.fccType = mmioFOURCC('W', 'A', 'V', 'E');
    bool written = winmm::mmioCreateChunk(file, &riff, MMIO_CREATERIFF) == MMSYSERR_NOERROR &&
                   writeChunk(file, mmioFOURCC('f', 'm', 't', ' '), &format, sizeof format) &&
                   writeChunk(file, mmioFOURCC('d', 'a', 't', 'a'), data, size) &&
                   winmm::mmioAscend(file, &riff, 0) == MMSYSERR_NOERROR && winmm::mmioFlush(file, 0) == 0;
    written = winmm::mmioClose(file, 0) == MMSYSERR_NOERROR && written;
    // Not every mmio layer passes a failed disk write on: Wine's flush, its
    // buffered writes and its ascend report success whatever the disk said.
    // A file as long as its RIFF header says is the one that was written.
    WIN32_FILE_ATTRIBUTE_DATA stored;
    written = written && GetFileAttributesExA(name, GetFileExInfoStandard, &stored) && stored.nFileSizeHigh == 0 &&
              stored.nFileSizeLow == 44 + size + (size & 1);
    if (!written)
        DeleteFileA(wavePath);
    return written;
}

bool ConvertRawPcm(const char* rawPath, const char* wavePath, const PCMWAVEFORMAT& format)
{
    RecognitionFile raw(rawPath);
    ULONGLONG size;
    if (!raw.size(&size) || size > 0x7FFFFFF0)
        return false;
    GlobalBlock samples((DWORD)size);
    if (!samples.bytes() || (size && !raw.readExactAt(0, samples.bytes(), (DWORD)size)))
        return false;
    raw.close();
    return WriteWaveFile(wavePath, format, samples.bytes(), (DWORD)size);
}
