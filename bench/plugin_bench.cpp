// Time per call of the plug-in's exports as a viewer makes them, against
// baselines timed in the same run: the bare open + 22-byte read + close, the
// registry and file calls that one cache lookup needs, those that storing the
// verdict for a name that does not open needs, and a bare DirectShow
// graph grabbing the same video frame as GetPicture with "ShowImage".
//   plugin_bench [FILE-COUNT]
// Also reports the process's handle and GDI object counts around 10 rounds
// of IsSupported and one round of GetPicture over all files.
#include <windows.h>
#include <dshow.h>
#include <qedit.h>

#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <string>
#include <vector>

#include "DshowSamples.h"
#include "MediaFiles.h"
#include "PlayerKeyBackup.h"
#include "PluginHost.h"
#include "TestPaths.h"

namespace {

LARGE_INTEGER frequency;

template <typename Call>
double microseconds(Call call)
{
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    call();
    QueryPerformanceCounter(&end);
    return (end.QuadPart - start.QuadPart) * 1e6 / frequency.QuadPart;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

void bareOpenRead(const char* path)
{
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN,
                              nullptr);
    BYTE head[22];
    DWORD read = 0;
    ReadFile(file, head, sizeof head, &read, nullptr);
    CloseHandle(file);
}

// What a cache lookup cannot do without: the section's key opened once, its
// five values read, the file opened for its size and times.
void registryAndFile(const char* path)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Malvoren\\Pixamor\\Cache\\Openable", 0, KEY_QUERY_VALUE, &key))
        return;
    char name[MAX_PATH];
    DWORD size = sizeof name, number, numberSize = sizeof number;
    FILETIME times[2];
    DWORD timeSize = sizeof times[0];
    RegQueryValueExA(key, nullptr, nullptr, nullptr, (BYTE*)name, &size);
    RegQueryValueExA(key, "Playable", nullptr, nullptr, (BYTE*)&number, &numberSize);
    RegQueryValueExA(key, "Size", nullptr, nullptr, (BYTE*)&number, &numberSize);
    RegQueryValueExA(key, "Created", nullptr, nullptr, (BYTE*)&times[0], &timeSize);
    RegQueryValueExA(key, "LastWritten", nullptr, nullptr, (BYTE*)&times[1], &timeSize);
    RegCloseKey(key);
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    LARGE_INTEGER fileSize;
    GetFileSizeEx(file, &fileSize);
    GetFileTime(file, &times[0], nullptr, &times[1]);
    CloseHandle(file);
}

// What a fresh verdict for a name that does not open cannot do without: the
// failed open, and the section's entry written (name, verdict and zero
// times, size and the four picture values deleted).
void unopenableStore(const char* name)
{
    HANDLE file = CreateFileA(name, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Malvoren\\Pixamor\\Cache\\Unopenable", 0, nullptr, 0,
                        KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key, nullptr))
        return;
    for (const char* value : {"Image", "ImageSize", "ImageCreated", "ImageLastWritten", "Size"})
        RegDeleteValueA(key, value);
    DWORD verdict = 1;
    FILETIME zero = {};
    RegSetValueExA(key, nullptr, 0, REG_SZ, (const BYTE*)name, (DWORD)strlen(name) + 1);
    RegSetValueExA(key, "Playable", 0, REG_DWORD, (const BYTE*)&verdict, sizeof verdict);
    RegSetValueExA(key, "Created", 0, REG_BINARY, (const BYTE*)&zero, sizeof zero);
    RegSetValueExA(key, "LastWritten", 0, REG_BINARY, (const BYTE*)&zero, sizeof zero);
    RegCloseKey(key);
}

// A BMP file read whole into a fixed block, as a loader must at least do.
void bareBitmapLoad(const char* path)
{
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    DWORD size = GetFileSize(file, nullptr), read = 0;
    HGLOBAL block = GlobalAlloc(GMEM_FIXED, size);
    ReadFile(file, block, size, &read, nullptr);
    GlobalFree(block);
    CloseHandle(file);
}

// The least a frame grab does: source, sample grabber (24-bit RGB) and null
// renderer, no clock, a seek, a run until the one sample is there, a stop and
// a copy of the pixels. Nothing is checked; every object is released.
bool bareGrab(const wchar_t* path, LONGLONG position)
{
    const CLSID grabberClass = {0xC1F400A0, 0x3F08, 0x11D3, {0x9F, 0x0B, 0x00, 0x60, 0x08, 0x03, 0x9E, 0x37}};
    const CLSID nullClass = {0xC1F400A4, 0x3F08, 0x11D3, {0x9F, 0x0B, 0x00, 0x60, 0x08, 0x03, 0x9E, 0x37}};
    IGraphBuilder* graph = nullptr;
    IBaseFilter *source = nullptr, *grabberFilter = nullptr, *renderer = nullptr;
    ISampleGrabber* grabber = nullptr;
    IPin *out = nullptr, *in = nullptr, *grabbed = nullptr, *rendered = nullptr;
    IEnumPins* pins = nullptr;
    IMediaControl* control = nullptr;
    IMediaEvent* events = nullptr;
    IMediaFilter* timing = nullptr;
    IMediaSeeking* seeking = nullptr;
    CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder, (void**)&graph);
    CoCreateInstance(grabberClass, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, (void**)&grabberFilter);
    CoCreateInstance(nullClass, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, (void**)&renderer);
    grabberFilter->QueryInterface(IID_ISampleGrabber, (void**)&grabber);
    AM_MEDIA_TYPE type = {};
    type.majortype = MEDIATYPE_Video;
    type.subtype = MEDIASUBTYPE_RGB24;
    grabber->SetMediaType(&type);
    grabber->SetBufferSamples(TRUE);
    grabber->SetOneShot(TRUE);
    graph->AddSourceFilter(path, L"Source", &source);
    graph->AddFilter(grabberFilter, L"Sample Grabber");
    graph->AddFilter(renderer, L"Null Renderer");
    source->EnumPins(&pins);
    pins->Next(1, &out, nullptr);
    pins->Release();
    grabberFilter->EnumPins(&pins);
    pins->Next(1, &in, nullptr);
    pins->Next(1, &grabbed, nullptr);
    pins->Release();
    renderer->EnumPins(&pins);
    pins->Next(1, &rendered, nullptr);
    pins->Release();
    graph->Connect(out, in);
    graph->Connect(grabbed, rendered);
    graph->QueryInterface(IID_IMediaFilter, (void**)&timing);
    timing->SetSyncSource(nullptr);
    graph->QueryInterface(IID_IMediaSeeking, (void**)&seeking);
    seeking->SetPositions(&position, AM_SEEKING_AbsolutePositioning, nullptr, AM_SEEKING_NoPositioning);
    graph->QueryInterface(IID_IMediaControl, (void**)&control);
    graph->QueryInterface(IID_IMediaEvent, (void**)&events);
    control->Run();
    LONG size = 0, code = 0;
    for (int slice = 0; slice < 250 && FAILED(grabber->GetCurrentBuffer(&size, nullptr)); ++slice)
        events->WaitForCompletion(20, &code);
    control->Stop();
    std::vector<BYTE> pixels(size > 0 ? size : 1);
    bool grabbedFrame = size > 0 && SUCCEEDED(grabber->GetCurrentBuffer(&size, (LONG*)pixels.data()));
    IUnknown* all[] = {seeking, timing, events, control, rendered, grabbed, in, out, grabber, renderer,
                       grabberFilter, source, graph};
    for (IUnknown* object : all)
        object->Release();
    return grabbedFrame;
}

// Wine answers 0 for both counts; nextHandle shows handles left open there.
DWORD handles()
{
    DWORD count = 0;
    GetProcessHandleCount(GetCurrentProcess(), &count);
    return count;
}

DWORD gdiObjects() { return GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS); }

typedef int(WINAPI* IsSupportedWideFn)(LPCWSTR, ULONG_PTR);

// IsSupportedW against IsSupported on the same files, in turn, so that both
// see the machine alike; each file is touched before each first question,
// which is then a miss. Nothing when the plug-in has no wide entries.
void compareWideQuestions(const PluginHost& host, const std::vector<std::string>& waves)
{
    auto wide = (IsSupportedWideFn)GetProcAddress(GetModuleHandleA(PluginFileName), "IsSupportedW");
    if (!wide) {
        printf("IsSupportedW: not exported, not compared\n");
        return;
    }
    std::vector<double> miss, hit, ansiMiss, ansiHit;
    for (size_t i = 0; i < waves.size(); ++i) {
        WCHAR name[MAX_PATH];
        MultiByteToWideChar(CP_ACP, 0, waves[i].c_str(), -1, name, MAX_PATH);
        writePcmWave(waves[i], 20 + (i + 3) % 50);
        ansiMiss.push_back(microseconds([&] { host.isSupported(waves[i].c_str(), 0); }));
        ansiHit.push_back(microseconds([&] { host.isSupported(waves[i].c_str(), 0); }));
        writePcmWave(waves[i], 20 + (i + 4) % 50);
        miss.push_back(microseconds([&] { wide(name, 0); }));
        hit.push_back(microseconds([&] { wide(name, 0); }));
    }
    printf("%-44s %8.1f us  %.2f x IsSupported %.1f us\n", "IsSupportedW, known media, cache miss", median(miss),
           median(miss) / median(ansiMiss), median(ansiMiss));
    printf("%-44s %8.1f us  %.2f x IsSupported %.1f us\n", "IsSupportedW, same file again (cache hit)",
           median(hit), median(hit) / median(ansiHit), median(ansiHit));
}

} // namespace

int main(int argc, char** argv)
{
    unsigned count = argc > 1 ? (unsigned)atoi(argv[1]) : 1000;
    QueryPerformanceFrequency(&frequency);
    PlayerKeyBackup pluginKey("Software\\Malvoren\\Pixamor");
    pluginKey.clear();
    pluginKey.setNumber("PlayWhenOpen", 0);
    // Read at load; waves have no picture to grab, so only the videos' rounds take frames.
    pluginKey.setNumber("ShowImage", 1);
    pluginKey.setNumber("FramePosition", 1);
    // Loaded before the files are written, so a failed load leaves none behind.
    PluginHost host;
    if (!host.loaded()) {
        printf("%s does not load beside the benchmark\n", PluginFileName);
        return 1;
    }
    std::string folder = makeTempFolder();
    std::vector<std::string> waves, refused;
    for (unsigned i = 0; i < count; ++i) {
        waves.push_back(folder + "tone" + std::to_string(i) + ".wav");
        refused.push_back(folder + "data" + std::to_string(i) + ".bin");
        writePcmWave(waves.back(), 20 + i % 50);
        writeBytes(refused.back(), "RIFF", 4);
    }
    std::vector<double> bare, baseline, refusedTimes, miss, hit, picture, cachedPicture, loader;
    std::string typeBitmap = besideTests("WAVE.BMP");
    DWORD handlesBefore = handles(), gdiBefore = gdiObjects();
    UINT_PTR slotBefore = nextHandle();
    for (unsigned round = 0; round < 10; ++round)
        for (unsigned i = 0; i < count; ++i) {
            const char* wave = waves[i].c_str();
            bare.push_back(microseconds([&] { bareOpenRead(wave); }));
            baseline.push_back(microseconds([&] { registryAndFile(wave); }));
            refusedTimes.push_back(microseconds([&] { host.isSupported(refused[i].c_str(), 0); }));
            // Touching the file makes the first question a miss in every round.
            if (round > 0)
                writePcmWave(waves[i], 20 + (i + round) % 50);
            miss.push_back(microseconds([&] { host.isSupported(wave, 0); }));
            hit.push_back(microseconds([&] { host.isSupported(wave, 0); }));
        }
    // A viewer that passes an MP3's base name and its 2 KB head (an archive
    // member), against opening and reading the file itself.
    std::string mp3 = besideTests("..\\samples\\head-id3.mp3");
    std::vector<unsigned char> mp3Head = readWholeFile(mp3);
    mp3Head.resize(2048);
    std::vector<double> bareMp3, nameOnly, storeMp3;
    int mp3Verdicts = 0;
    for (unsigned i = 0; i < count; ++i) {
        bareMp3.push_back(microseconds([&] { bareOpenRead(mp3.c_str()); }));
        storeMp3.push_back(microseconds([&] { unopenableStore("member.mp3"); }));
        nameOnly.push_back(
            microseconds([&] { mp3Verdicts += host.isSupported("member.mp3", (ULONG_PTR)mp3Head.data()); }));
    }
    DWORD handlesAfterSupport = handles(), gdiAfterSupport = gdiObjects();
    UINT_PTR slotAfterSupport = nextHandle();
    unsigned pictures = 0;
    for (unsigned i = 0; i < count; ++i) {
        picture.push_back(microseconds([&] { pictures += host.picture(waves[i]).result == 0; }));
        cachedPicture.push_back(microseconds([&] { host.picture(waves[i]); }));
        loader.push_back(microseconds([&] { bareBitmapLoad(typeBitmap.c_str()); }));
    }
    DWORD handlesAfterPicture = handles(), gdiAfterPicture = gdiObjects();
    UINT_PTR slotAfterPicture = nextHandle();

    // A real frame at 1 s of a 320 x 240 video, from a fresh copy each time
    // (else the cache answers), against the bare graph on the same file.
    // Neither head names the streams: the frame is looked for before a probe.
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    struct FrameRow {
        const char* sample;
        std::vector<double> picture, bare;
        unsigned frames = 0, bareFrames = 0;
    } frameRows[] = {{"dshow-seconds.mp4", {}, {}}, {"dshow-seconds-mpeg4.avi", {}, {}}};
    for (FrameRow& row : frameRows) {
        const std::string video = dshowSample(row.sample);
        wchar_t wideVideo[MAX_PATH];
        MultiByteToWideChar(CP_ACP, 0, video.c_str(), -1, wideVideo, MAX_PATH);
        if (!fileExists(video))
            continue;
        bareGrab(wideVideo, 10000000);  // the first graph of a kind loads its decoders
        for (unsigned i = 0; i < 21; ++i) {
            std::string copy = folder + "clip" + std::to_string(i) + video.substr(video.rfind('.'));
            CopyFileA(video.c_str(), copy.c_str(), FALSE);
            row.picture.push_back(microseconds([&] { row.frames += host.picture(copy).bitCount == 24; }));
            row.bare.push_back(microseconds([&] { row.bareFrames += bareGrab(wideVideo, 10000000); }));
        }
    }
    CoUninitialize();

    double bareMedian = median(bare), baselineMedian = median(baseline);
    printf("%u files, 10 rounds of IsSupported, 1 round of GetPicture (%u pictures)\n", count, pictures);
    printf("%-44s %8.1f us\n", "bare open + 22-byte read + close", bareMedian);
    printf("%-44s %8.1f us  %.2f x bare\n", "registry and file calls of one lookup", baselineMedian,
           baselineMedian / bareMedian);
    printf("%-44s %8.1f us\n", "IsSupported, extension not accepted", median(refusedTimes));
    printf("%-44s %8.1f us  %.2f x (lookup baseline + bare)\n", "IsSupported, known media, cache miss",
           median(miss), median(miss) / (baselineMedian + bareMedian));
    printf("%-44s %8.1f us  %.2f x lookup baseline\n", "IsSupported, same file again (cache hit)", median(hit),
           median(hit) / baselineMedian);
    printf("%-44s %8.1f us\n", "bare open + read + close of an MP3", median(bareMp3));
    printf("%-44s %8.1f us\n", "failed open + the verdict's registry writes", median(storeMp3));
    printf("%-44s %8.1f us  %.2f x bare MP3 open, %.2f x failed open + writes (%d of %u taken)\n",
           "IsSupported, MP3 base name + 2 KB head", median(nameOnly), median(nameOnly) / median(bareMp3),
           median(nameOnly) / median(storeMp3), mp3Verdicts, count);
    printf("%-44s %8.1f us  %.2f x bare BMP load\n", "GetPicture, type picture (fresh file)", median(picture),
           median(picture) / median(loader));
    printf("%-44s %8.1f us  %.2f x bare BMP load\n", "GetPicture, same file again (cached picture)",
           median(cachedPicture), median(cachedPicture) / median(loader));
    printf("%-44s %8.1f us\n", "bare BMP load of WAVE.BMP", median(loader));
    for (const FrameRow& row : frameRows)
        printf("GetPicture, frame of %-23s %8.1f us  %.2f x bare graph %.1f us (%u and %u of %u frames)\n",
               row.sample, median(row.picture), median(row.picture) / median(row.bare), median(row.bare),
               row.frames, row.bareFrames, (unsigned)row.picture.size());
    compareWideQuestions(host, waves);
    printf("handles: %lu before, %lu after IsSupported, %lu after GetPicture\n", handlesBefore, handlesAfterSupport,
           handlesAfterPicture);
    printf("next handle value: %#x before, %#x after IsSupported, %#x after GetPicture\n", (unsigned)slotBefore,
           (unsigned)slotAfterSupport, (unsigned)slotAfterPicture);
    printf("GDI objects: %lu before, %lu after IsSupported, %lu after GetPicture\n", gdiBefore, gdiAfterSupport,
           gdiAfterPicture);
    removeTree(folder);
    return 0;
}
