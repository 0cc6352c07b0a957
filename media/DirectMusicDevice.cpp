#include "DirectMusicDevice.h"

// The DirectMusic identifiers are defined here rather than taken from a
// library of identifiers that nothing else needs.
#include <initguid.h>

#include <dmusici.h>

#include "ContentTests.h"
#include "RecognitionFile.h"
#include "Ole.h"

namespace {

const DWORD allGroups = 0xFFFFFFFF;

// A standard MIDI file: "MThd", its header length L, and "MTrk" at L + 8; or
// a RIFF MIDI file. Only disk files are read: a pipe or a port named like a
// MIDI file would block the read.
BOOL isMidiFile(const char* fileName)
{
    RecognitionFile file(fileName);
    BYTE head[MidiHeadSize];
    if (!file.readExactAt(0, head, sizeof head))
        return FALSE;
    ContentMatch match;
    uint64_t trackOffset = 0;
    if (midiTrackOffset(head, &trackOffset)) {
        BYTE track[4];
        return file.readExactAt(trackOffset, track, sizeof track) && matchMidiTrackChunk(track, &match);
    }
    return matchMidi(head, sizeof head, &match);
}

void releaseMusicObjects(ComPtr<IDirectMusicPerformance>& performance, ComPtr<IDirectMusicLoader>& loader,
                         ComPtr<IDirectMusicSegment>& segment)
{
    if (segment) {
        segment->SetParam(GUID_Unload, allGroups, 0, 0, performance.get());
        segment.reset();
    }
    if (performance) {
        performance->CloseDown();
        performance.reset();
    }
    loader.reset();
}

// A performance on the default port, and a loader.
BOOL createMusicObjects(ComPtr<IDirectMusicPerformance>& performance, ComPtr<IDirectMusicLoader>& loader)
{
    return SUCCEEDED(ole32::CoCreateInstance(CLSID_DirectMusicPerformance, nullptr, CLSCTX_INPROC_SERVER,
                                             IID_IDirectMusicPerformance2, performance.outVoid()))
        && performance
        && SUCCEEDED(ole32::CoCreateInstance(CLSID_DirectMusicLoader, nullptr, CLSCTX_INPROC_SERVER,
                                             IID_IDirectMusicLoader, loader.outVoid()))
        && loader && SUCCEEDED(performance->Init(nullptr, nullptr, nullptr))
        && SUCCEEDED(performance->AddPort(nullptr));
}

// The folder of a full path, keeping the backslash of a drive's root ("C:\"),
// which without it would name the drive's current folder; and the file name.
BOOL splitPath(const char* fullPath, WCHAR* folder, WCHAR* name)
{
    WCHAR wide[MAX_PATH];
    if (!MultiByteToWideChar(CP_ACP, 0, fullPath, -1, wide, MAX_PATH))
        return FALSE;
    WCHAR* last = wcsrchr(wide, L'\\');
    if (!last)
        return FALSE;
    lstrcpynW(name, last + 1, MAX_PATH);
    size_t folderLength = last - wide;
    if (folderLength == 2 && wide[1] == L':')
        ++folderLength;
    lstrcpynW(folder, wide, (int)folderLength + 1);
    return name[0] != L'\0';
}

} // namespace

DirectMusicDevice::DirectMusicDevice() = default;

DirectMusicDevice::~DirectMusicDevice()
{
    close();
}

BOOL DirectMusicDevice::probe(const char* fileName)
{
    LockScope hold(lock);
    return fileName && isMidiFile(fileName);
}

BOOL DirectMusicDevice::open(const char* fileName)
{
    if (!fileName)
        return FALSE;
    LockScope hold(lock);
    close();
    if (!isAvailable())
        return FALSE;
    if (!loadSegment(fileName)) {
        releaseObjects();
        return FALSE;
    }
    lstrcpynA(fileName_, fileName, MAX_PATH);
    return TRUE;
}

// The loader looks in the file's own folder, where instruments and files that
// the segment refers to are found; a relative name is taken from the current folder.
BOOL DirectMusicDevice::loadSegment(const char* fileName)
{
    char fullPath[MAX_PATH];
    DWORD length = GetFullPathNameA(fileName, MAX_PATH, fullPath, nullptr);
    DMUS_OBJECTDESC description;
    ZeroMemory(&description, sizeof description);
    description.dwSize = sizeof description;
    description.dwValidData = DMUS_OBJ_CLASS | DMUS_OBJ_FILENAME;
    description.guidClass = CLSID_DirectMusicSegment;
    WCHAR folder[MAX_PATH];
    if (!length || length >= MAX_PATH || !splitPath(fullPath, folder, description.wszFileName))
        return FALSE;
    releaseObjects();
    return createMusicObjects(performance_, loader_)
        && SUCCEEDED(loader_->SetSearchDirectory(GUID_DirectMusicAllTypes, folder, FALSE))
        && SUCCEEDED(loader_->GetObject(&description, IID_IDirectMusicSegment2, segment_.outVoid())) && segment_
        && SUCCEEDED(segment_->SetParam(GUID_StandardMIDIFile, allGroups, 0, 0, performance_.get()))
        && SUCCEEDED(segment_->SetParam(GUID_Download, allGroups, 0, 0, performance_.get()));
}

void DirectMusicDevice::releaseObjects()
{
    releaseMusicObjects(performance_, loader_, segment_);
}

BOOL DirectMusicDevice::close()
{
    LockScope hold(lock);
    stop();
    if (fileName_[0]) {
        releaseObjects();
        fileName_[0] = '\0';
        lengthMusicTime_ = -1;
        lengthReferenceTime_ = -1;
    }
    return TRUE;
}

BOOL DirectMusicDevice::canCreate()
{
    LockScope hold(lock);
    ComPtr<IDirectMusicPerformance> performance;
    ComPtr<IDirectMusicLoader> loader;
    ComPtr<IDirectMusicSegment> noSegment;
    BOOL created = createMusicObjects(performance, loader);
    releaseMusicObjects(performance, loader, noSegment);
    return created;
}

// There is no pause: every play starts the segment from its beginning.
BOOL DirectMusicDevice::play(BOOL)
{
    LockScope hold(lock);
    if (!performance_ || !segment_)
        return FALSE;
    REFERENCE_TIME end = 0, latency = 0;
    MUSIC_TIME length = 0;
    if (FAILED(performance_->PlaySegment(segment_.get(), 0, 0, nullptr)) || FAILED(segment_->GetLength(&length)))
        return FALSE;
    lengthMusicTime_ = length;
    if (FAILED(performance_->MusicToReferenceTime(length, &end)) || FAILED(performance_->GetLatencyTime(&latency)))
        return FALSE;
    lengthReferenceTime_ = end - latency;
    return TRUE;
}

// Stops everything the performance plays.
BOOL DirectMusicDevice::stop()
{
    LockScope hold(lock);
    return isPlaying() && SUCCEEDED(performance_->Stop(nullptr, nullptr, 0, 0));
}

// IsPlaying answers S_FALSE for a loaded segment that does not play, and both
// count: this tells whether a segment is loaded, which the getters rely on.
BOOL DirectMusicDevice::isPlaying()
{
    LockScope hold(lock);
    return performance_ && segment_ && SUCCEEDED(performance_->IsPlaying(segment_.get(), nullptr));
}

BOOL DirectMusicDevice::getLengthMusicTime(LONG* length)
{
    LockScope hold(lock);
    BOOL loaded = isPlaying();
    if (loaded && length)
        *length = lengthMusicTime_;
    return loaded && length;
}

BOOL DirectMusicDevice::getLengthReferenceTime(LONGLONG* length)
{
    LockScope hold(lock);
    BOOL loaded = isPlaying();
    if (loaded && length)
        *length = lengthReferenceTime_;
    return loaded && length;
}

BOOL DirectMusicDevice::getPositionMusicTime(LONG* position)
{
    LockScope hold(lock);
    return position && isPlaying() && SUCCEEDED(performance_->GetTime(nullptr, position));
}

BOOL DirectMusicDevice::getPositionReferenceTime(LONGLONG* position)
{
    LockScope hold(lock);
    return position && isPlaying() && SUCCEEDED(performance_->GetTime(position, nullptr));
}
