// Time per file of the recognition chains against the least any content test
// must do: open the file, read 22 bytes, close it.
//   recognition_bench [SAMPLE-FOLDER] [FILE-COUNT]
// Writes a folder of mixed files (every kind the writers below make, text,
// pictures, empty files, plus copies of the sample folder's files), then times
// each loop over all of them several times and prints medians.
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <string>
#include <vector>

#include "Bytes.h"
#include "MediaContext.h"
#include "MediaFiles.h"
#include "RecognitionSamples.h"
#include "TestPaths.h"

namespace {

using Bytes = std::vector<unsigned char>;

Bytes text(const std::string& s) { return Bytes(s.begin(), s.end()); }

Bytes padded(Bytes b, size_t size, unsigned char fill)
{
    b.resize(std::max(b.size(), size), fill);
    return b;
}

Bytes riff(const char* form, size_t size, uint16_t tag)
{
    Bytes b = text(std::string("RIFF....") + form + "fmt \x10\0\0\0");
    b.resize(22);
    writeLe16(&b[20], tag);
    b = padded(b, size, 0x11);
    writeLe32(&b[4], (uint32_t)size - 8);
    return b;
}

// One file of the i-th kind in turn; sizes vary with i.
Bytes mixedFile(unsigned i)
{
    size_t size = 64 + (i * 7919u) % 65536;
    switch (i % 20) {
    case 0: return padded(pcmWaveHeader((unsigned)size, 22050, 1, 16), size + 44, 0x40);
    case 1: return riff("WAVE", size, 0x55);
    case 2: return riff("WAVE", size, 2);
    case 3: return riff("AVI ", size, 0);
    case 4: return padded(text(std::string("MThd\0\0\0\x06\0\0\0\x01\0\x60MTrk", 18)), size, 0);
    case 5: return riff("CDDA", 44, 0);
    case 6: return padded(text("FORM....AIFFCOMM"), size, 0x22);
    case 7: return padded(text(".snd\0\0\0\x18"), size, 0x33);
    case 8: return padded(text(std::string("\0\0\0\x20moov", 8)), size, 0x44);
    case 9: return padded(text(std::string(".RMF\0\0\0\x12", 8)), size, 0x55);
    case 10: return text("rtsp://media.example/clip" + std::to_string(i) + ".rm\r\n");
    case 11: {
        Bytes b(size, 0xFF);
        memcpy(&b[size - 128], "TAG", 3);
        return b;
    }
    case 12: return text("#EXTM3U\r\nfile0.bin\r\nfile1.bin\r\nmissing.wav\r\n");
    case 13: return padded(text("\x93\xFA\x96\x7B\x8C\xEA\r\n"), size % 9000, 'x');
    case 14: return padded(text("BM"), size, 0x7F);
    case 15: return padded(text("\x89PNG\r\n\x1A\n"), size, 0x01);
    case 16: return padded(text("\xFF\xD8\xFF\xE0\0\x10JFIF"), size, 0x02);
    case 17: return padded(text("GIF89a"), size, 0x03);
    case 18: return Bytes();
    default: {
        Bytes b(size);
        for (size_t k = 0; k < size; ++k)
            b[k] = (unsigned char)((k * 2654435761u + i) >> 13);
        return b;
    }
    }
}

std::vector<std::string> writeMixedFolder(const std::string& folder, unsigned count, const std::string& samples)
{
    std::vector<std::string> paths;
    for (unsigned i = 0; i < count; ++i) {
        const char* extension = i % 20 == 10 ? ".ram" : i % 20 == 12 ? ".m3u" : ".bin";
        paths.push_back(folder + "file" + std::to_string(i) + extension);
        writeBytes(paths.back(), mixedFile(i));
    }
    if (samples.empty())
        return paths;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((samples + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return paths;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && found.cFileName[0] != '.') {
            paths.push_back(folder + "sample-" + found.cFileName);
            CopyFileA((samples + found.cFileName).c_str(), paths.back().c_str(), FALSE);
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return paths;
}

BOOL bareOpenRead(const char* path)
{
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return FALSE;
    BYTE head[22];
    DWORD read = 0;
    BOOL ok = ReadFile(file, head, sizeof head, &read, nullptr) && read == sizeof head;
    CloseHandle(file);
    return ok;
}

BOOL outsideEnginesOpen(MediaContext& context, const char* path)
{
    if (context.vbmp3Device().open(path))
        return context.vbmp3Device().close();
    if (context.softMpegDevice().open(path))
        return context.softMpegDevice().close();
    return FALSE;
}

struct Loop {
    const char* name;
    BOOL (*run)(MediaContext& context, const char* path);
    std::vector<double> microseconds;
    unsigned accepted = 0;
};

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv)
{
    std::string samples = argc > 1 ? argv[1] : sampleMediaFolder();
    if (!samples.empty() && samples.back() != '\\')
        samples += '\\';
    unsigned count = argc > 2 ? (unsigned)atoi(argv[2]) : 1200;
    const unsigned rounds = 5;

    std::string folder = makeTempFolder();
    std::vector<std::string> paths = writeMixedFolder(folder, count, samples);
    MediaContext context;
    context.setProbeRequests(0);
    Loop loops[] = {
        {"open + 22-byte read + close", [](MediaContext&, const char* p) { return bareOpenRead(p); }, {}},
        {"known chain", [](MediaContext& c, const char* p) { return c.isKnownMedia(p); }, {}},
        {"other chain, no probes", [](MediaContext& c, const char* p) { return c.isOtherMedia(p); }, {}},
        // The part of the other chain that its last two steps take.
        {"VBMP3 + SoftMPEG open only", [](MediaContext& c, const char* p) { return outsideEnginesOpen(c, p); }, {}},
    };
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    for (Loop& loop : loops)
        for (const std::string& path : paths)
            loop.run(context, path.c_str());  // warm the cache
    for (unsigned round = 0; round < rounds; ++round)
        for (Loop& loop : loops) {
            loop.accepted = 0;
            for (const std::string& path : paths) {
                QueryPerformanceCounter(&start);
                loop.accepted += loop.run(context, path.c_str()) ? 1 : 0;
                QueryPerformanceCounter(&end);
                loop.microseconds.push_back((end.QuadPart - start.QuadPart) * 1e6 / frequency.QuadPart);
            }
        }
    printf("%u files (%u rounds), samples %s\n", (unsigned)paths.size(), rounds,
           samples.empty() ? "absent" : samples.c_str());
    double bare = median(loops[0].microseconds);
    for (Loop& loop : loops)
        printf("%-30s median %8.1f us per file, %.2f x bare, accepted %u\n", loop.name, median(loop.microseconds),
               bare > 0 ? median(loop.microseconds) / bare : 0.0, loop.accepted);
    removeTree(folder);
    return 0;
}
