#pragma once
#include "CountedLock.h"

// The text fields of a file's RIFF INFO list, completed from its ID3v1 tag
// with genre numbers named through a genre table file. Loads run on the
// user-interface thread; the lock lets other threads read fields meanwhile.
class TrackInfo {
public:
    static const int fieldCount = 27;
    static const int allFields = -1;
    // Indices of the fields that the tag can fill.
    enum {
        Artist = 1,
        Comments = 3,
        CreationDate = 5,
        Genre = 10,
        Name = 14,
        Product = 16,
    };

    TrackInfo();
    ~TrackInfo();
    TrackInfo(const TrackInfo&) = delete;
    TrackInfo& operator=(const TrackInfo&) = delete;

    // Frees every field, then loads field index (0-26) or all of them (-1) of
    // path; another index loads nothing. genreTablePath may be null.
    void load(const char* path, const char* genreTablePath, int index);
    // The field's text or null; valid until the next load or clear on the
    // loading thread. Other threads use copyField.
    const char* field(int index);
    // Copies the field into buffer (cut to size - 1 characters); false and
    // an empty buffer when the field is null; false without a buffer.
    BOOL copyField(int index, char* buffer, UINT size);
    void clear();

    // The RIFF INFO chunk id of a field.
    FOURCC fieldId(int index) const { return fieldIds_[index]; }

private:
    void loadFromTag(const char* path, const char* genreTablePath, int index);

    char* fields_[fieldCount] = {};
    CountedLock lock_;
    FOURCC fieldIds_[fieldCount];
};
