#include "TrackInfo.h"

#include <new>
#include <string.h>

#include "GenreTable.h"
#include "Id3v1.h"
#include "RecognitionFile.h"
#include "TextLines.h"
#include "Winmm.h"

namespace {

const char* const chunkIds[TrackInfo::fieldCount] = {
    "IARL", "IART", "ICMS", "ICMT", "ICOP", "ICRD", "ICRP", "IDIM", "IDPI",
    "IENG", "IGNR", "IKEY", "ILGT", "IMED", "INAM", "IPLT", "IPRD", "ISBJ",
    "ISFT", "ISHP", "ISRC", "ISRF", "ITCH", "ISMP", "IDIT", "IMP3", "ILYC",
};

char* copyText(const char* text, size_t length)
{
    char* copy = new (std::nothrow) char[length + 1];
    if (copy) {
        memcpy(copy, text, length);
        copy[length] = '\0';
    }
    return copy;
}

// A file opened through the bound multimedia file functions, closed when
// the scope ends.
class MmioFile {
public:
    explicit MmioFile(const char* path)
    {
        char name[MAX_PATH];
        if (strlen(path) < sizeof name) {
            strcpy(name, path);
            handle_ = winmm::mmioOpenA(name, nullptr, MMIO_READ | MMIO_ALLOCBUF | MMIO_DENYWRITE);
        }
    }
    ~MmioFile()
    {
        if (handle_)
            winmm::mmioClose(handle_, 0);
    }
    MmioFile(const MmioFile&) = delete;
    MmioFile& operator=(const MmioFile&) = delete;

    HMMIO handle() const { return handle_; }

private:
    HMMIO handle_ = nullptr;
};

bool descendToForm(HMMIO mmio, MMCKINFO* riff)
{
    riff->fccType = mmioFOURCC('R', 'M', 'P', '3');
    if (winmm::mmioDescend(mmio, riff, nullptr, MMIO_FINDRIFF) == MMSYSERR_NOERROR)
        return true;
    if (winmm::mmioSeek(mmio, 0, SEEK_SET) != 0)
        return false;
    riff->fccType = mmioFOURCC('W', 'A', 'V', 'E');
    return winmm::mmioDescend(mmio, riff, nullptr, MMIO_FINDRIFF) == MMSYSERR_NOERROR;
}

// Size of the file at path, or 0 when it cannot be known.
ULONGLONG fileSize(const char* path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path, GetFileExInfoStandard, &data))
        return 0;
    return (ULONGLONG)data.nFileSizeHigh << 32 | data.nFileSizeLow;
}

// The text of the INFO chunk id of a RIFF "RMP3" or "WAVE" file, or null.
char* readInfoChunk(const char* path, FOURCC id)
{
    MmioFile file(path);
    if (!file.handle())
        return nullptr;
    MMCKINFO riff = {};
    MMCKINFO list = {};
    MMCKINFO chunk = {};
    if (!descendToForm(file.handle(), &riff))
        return nullptr;
    list.fccType = mmioFOURCC('I', 'N', 'F', 'O');
    if (winmm::mmioDescend(file.handle(), &list, &riff, MMIO_FINDLIST) != MMSYSERR_NOERROR)
        return nullptr;
    chunk.ckid = id;
    if (winmm::mmioDescend(file.handle(), &chunk, &list, MMIO_FINDCHUNK) != MMSYSERR_NOERROR || chunk.ckid != id)
        return nullptr;
    // The size comes from the file; a chunk that would run past its end is
    // refused before anything is allocated for it.
    if ((ULONGLONG)chunk.dwDataOffset + chunk.cksize > fileSize(path) || chunk.cksize > 0x7FFFFFFF)
        return nullptr;
    char* data = new (std::nothrow) char[chunk.cksize + 1];
    if (!data)
        return nullptr;
    if (winmm::mmioRead(file.handle(), data, (LONG)chunk.cksize) != (LONG)chunk.cksize) {
        delete[] data;
        return nullptr;
    }
    data[chunk.cksize] = '\0';
    return data;
}

// The version 1 tag at the end of the file at path.
bool readTag(const char* path, Id3v1Tag* tag)
{
    RecognitionFile file(path);
    uint8_t block[Id3v1Tag::size];
    ULONGLONG size = 0;
    return file.size(&size) && size >= sizeof block && file.readExactAt(size - sizeof block, block, sizeof block) &&
           parseId3v1Tag(block, tag);
}

// The tag's text for a field that the tag fills, other than the genre.
const char* tagText(const Id3v1Tag& tag, int index)
{
    switch (index) {
    case TrackInfo::Artist:
        return tag.artist;
    case TrackInfo::Comments:
        return tag.comment;
    case TrackInfo::CreationDate:
        return tag.year;
    case TrackInfo::Name:
        return tag.title;
    default:
        return tag.album;
    }
}

// The name of genre number in the table at tablePath, or null.
char* genreName(const char* tablePath, unsigned number)
{
    TextLines lines(tablePath);
    while (lines.next()) {
        const char* name = nullptr;
        size_t length = 0;
        if (parseGenreLine(lines.line(), number, &name, &length))
            return copyText(name, length);
    }
    return nullptr;
}

} // namespace

TrackInfo::TrackInfo()
{
    for (int i = 0; i < fieldCount; ++i)
        fieldIds_[i] = mmioFOURCC(chunkIds[i][0], chunkIds[i][1], chunkIds[i][2], chunkIds[i][3]);
}

TrackInfo::~TrackInfo()
{
    clear();
}

void TrackInfo::clear()
{
    LockScope hold(lock_);
    for (char*& text : fields_) {
        delete[] text;
        text = nullptr;
    }
}

void TrackInfo::load(const char* path, const char* genreTablePath, int index)
{
    LockScope hold(lock_);
    clear();
    if (!path || index < allFields || index >= fieldCount)
        return;
    for (int i = 0; i < fieldCount; ++i) {
        if (index == allFields || index == i)
            fields_[i] = readInfoChunk(path, fieldIds_[i]);
    }
    loadFromTag(path, genreTablePath, index);
}

// Fills, from the version 1 tag, the requested fields that the INFO list
// left null; an empty INFO chunk still counts as the field.
void TrackInfo::loadFromTag(const char* path, const char* genreTablePath, int index)
{
    static const int tagFields[] = {Artist, Comments, CreationDate, Name, Genre, Product};
    bool wanted = index == allFields;
    for (int i : tagFields)
        wanted = wanted || index == i;
    Id3v1Tag tag;
    if (!wanted || !readTag(path, &tag))
        return;
    for (int i : tagFields) {
        if ((index != allFields && index != i) || fields_[i])
            continue;
        if (i == Genre)
            fields_[i] = genreTablePath ? genreName(genreTablePath, tag.genre) : nullptr;
        else
            fields_[i] = copyText(tagText(tag, i), strlen(tagText(tag, i)));
    }
}

const char* TrackInfo::field(int index)
{
    LockScope hold(lock_);
    return index >= 0 && index < fieldCount ? fields_[index] : nullptr;
}

BOOL TrackInfo::copyField(int index, char* buffer, UINT size)
{
    LockScope hold(lock_);
    const char* text = field(index);
    if (!buffer || size == 0)
        return FALSE;
    buffer[0] = '\0';
    if (!text)
        return FALSE;
    lstrcpynA(buffer, text, (int)size);
    return TRUE;
}
