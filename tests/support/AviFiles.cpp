#include "AviFiles.h"

#include <vector>

#include "Bytes.h"
#include "MediaFiles.h"

namespace {

class RiffBuilder {
public:
    void fourCc(const char* code) { bytes_.insert(bytes_.end(), code, code + 4); }
    void le32(uint32_t value)
    {
        size_t at = bytes_.size();
        bytes_.resize(at + 4);
        writeLe32(&bytes_[at], value);
    }
    void le16(uint16_t value)
    {
        size_t at = bytes_.size();
        bytes_.resize(at + 2);
        writeLe16(&bytes_[at], value);
    }
    // Starts a chunk (or a list/form when form is given); answers where its size goes.
    size_t open(const char* id, const char* form = nullptr)
    {
        fourCc(id);
        size_t sizeAt = bytes_.size();
        le32(0);
        if (form)
            fourCc(form);
        return sizeAt;
    }
    void close(size_t sizeAt)
    {
        if (bytes_.size() % 2)
            bytes_.push_back(0);
        writeLe32(&bytes_[sizeAt], (uint32_t)(bytes_.size() - sizeAt - 4));
    }
    size_t size() const { return bytes_.size(); }
    std::vector<unsigned char>& bytes() { return bytes_; }

private:
    std::vector<unsigned char> bytes_;
};

} // namespace

bool writeUncompressedAvi(const std::string& path, unsigned width, unsigned height, unsigned frames,
                          unsigned framesPerSecond, bool topDown)
{
    unsigned rowBytes = (width * 3 + 3) & ~3u;
    unsigned frameBytes = rowBytes * height;
    RiffBuilder avi;
    size_t riff = avi.open("RIFF", "AVI ");
    size_t hdrl = avi.open("LIST", "hdrl");
    size_t avih = avi.open("avih");
    avi.le32(1000000 / framesPerSecond);
    avi.le32(frameBytes * framesPerSecond);
    avi.le32(0);
    avi.le32(0x10); // has an index
    avi.le32(frames);
    avi.le32(0);
    avi.le32(1);
    avi.le32(frameBytes);
    avi.le32(width);
    avi.le32(height);
    for (int i = 0; i < 4; ++i)
        avi.le32(0);
    avi.close(avih);
    size_t strl = avi.open("LIST", "strl");
    size_t strh = avi.open("strh");
    avi.fourCc("vids");
    avi.fourCc("DIB ");
    avi.le32(0);
    avi.le32(0);
    avi.le32(0);
    avi.le32(1);
    avi.le32(framesPerSecond);
    avi.le32(0);
    avi.le32(frames);
    avi.le32(frameBytes);
    avi.le32(0xFFFFFFFF);
    avi.le32(0);
    avi.le16(0);
    avi.le16(0);
    avi.le16((uint16_t)width);
    avi.le16((uint16_t)height);
    avi.close(strh);
    size_t strf = avi.open("strf");
    avi.le32(40);
    avi.le32(width);
    avi.le32(topDown ? 0u - height : height);
    avi.le16(1);
    avi.le16(24);
    avi.le32(0);
    avi.le32(frameBytes);
    for (int i = 0; i < 4; ++i)
        avi.le32(0);
    avi.close(strf);
    avi.close(strl);
    avi.close(hdrl);
    size_t movi = avi.open("LIST", "movi");
    size_t moviStart = movi - 4;
    std::vector<size_t> offsets;
    for (unsigned f = 0; f < frames; ++f) {
        offsets.push_back(avi.size() - moviStart);
        size_t chunk = avi.open("00db");
        avi.bytes().resize(avi.size() + frameBytes, (unsigned char)(f * 37));
        avi.close(chunk);
    }
    avi.close(movi);
    size_t idx1 = avi.open("idx1");
    for (size_t offset : offsets) {
        avi.fourCc("00db");
        avi.le32(0x10); // key frame
        avi.le32((uint32_t)offset);
        avi.le32(frameBytes);
    }
    avi.close(idx1);
    avi.close(riff);
    return writeBytes(path, avi.bytes());
}
