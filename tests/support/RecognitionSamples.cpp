#include "RecognitionSamples.h"

#include "TestPaths.h"

std::string sampleMediaFolder()
{
    std::string folder = besideTests("..\\samples\\");
    return GetFileAttributesA((folder + "song.mid").c_str()) == INVALID_FILE_ATTRIBUTES ? std::string() : folder;
}

MediaKind recognizeByContent(MediaContext& context, const char* path)
{
    if (context.isKnownMedia(path) || context.isQuickTime(path) || context.isRealMedia(path) ||
        context.isAiff(path) || context.isAu(path) || context.hasTrackTag(path))
        return context.kind();
    return MediaKindUnknown;
}

UINT readFileHead(const char* path, BYTE* bytes, UINT size)
{
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    DWORD read = 0;
    if (!ReadFile(file, bytes, size, &read, nullptr))
        read = 0;
    CloseHandle(file);
    return read;
}
