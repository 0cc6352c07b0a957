#include "MediaFiles.h"

#include <windows.h>

#include "Bytes.h"

std::vector<unsigned char> pcmWaveHeader(unsigned dataBytes, unsigned rate, unsigned channels, unsigned bits)
{
    std::vector<unsigned char> h(44);
    unsigned blockAlign = channels * bits / 8;
    memcpy(&h[0], "RIFF", 4);
    writeLe32(&h[4], 36 + dataBytes);
    memcpy(&h[8], "WAVEfmt ", 8);
    writeLe32(&h[16], 16);
    writeLe16(&h[20], 1);
    writeLe16(&h[22], (uint16_t)channels);
    writeLe32(&h[24], rate);
    writeLe32(&h[28], rate * blockAlign);
    writeLe16(&h[32], (uint16_t)blockAlign);
    writeLe16(&h[34], (uint16_t)bits);
    memcpy(&h[36], "data", 4);
    writeLe32(&h[40], dataBytes);
    return h;
}

bool writePcmWave(const std::string& path, unsigned milliseconds, unsigned rate, unsigned channels)
{
    unsigned frames = (unsigned)((unsigned long long)rate * milliseconds / 1000);
    std::vector<unsigned char> file = pcmWaveHeader(frames * channels * 2, rate, channels, 16);
    for (unsigned i = 0; i < frames; ++i) {
        int16_t sample = (i / 25) % 2 ? 4000 : -4000;
        for (unsigned c = 0; c < channels; ++c) {
            file.push_back((unsigned char)(sample & 0xFF));
            file.push_back((unsigned char)((sample >> 8) & 0xFF));
        }
    }
    return writeBytes(path, file);
}

bool writeBytes(const std::string& path, const void* bytes, size_t size)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    BOOL ok = WriteFile(file, bytes, (DWORD)size, &written, nullptr) && written == size;
    CloseHandle(file);
    return ok;
}

bool writeBytes(const std::string& path, const std::vector<unsigned char>& bytes)
{
    return writeBytes(path, bytes.data(), bytes.size());
}

bool fileExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<unsigned char> readWholeFile(const std::string& path)
{
    std::vector<unsigned char> bytes;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    DWORD size = GetFileSize(file, nullptr), read = 0;
    bytes.resize(size);
    if (size && (!ReadFile(file, bytes.data(), size, &read, nullptr) || read != size))
        bytes.clear();
    CloseHandle(file);
    return bytes;
}
