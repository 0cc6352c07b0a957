#pragma once
#include <string>
#include <vector>

// Small writers of real media files for tests.

// RIFF WAVE with 16-bit PCM silence-free tone (a square wave), playable by MCI and DirectShow.
bool writePcmWave(const std::string& path, unsigned milliseconds, unsigned rate = 22050, unsigned channels = 1);

// The bytes of a RIFF WAVE header (44 bytes) for PCM data of dataBytes bytes.
std::vector<unsigned char> pcmWaveHeader(unsigned dataBytes, unsigned rate, unsigned channels, unsigned bits);

// Writes bytes as given.
bool writeBytes(const std::string& path, const void* bytes, size_t size);
bool writeBytes(const std::string& path, const std::vector<unsigned char>& bytes);

bool fileExists(const std::string& path);

// The whole file, empty when it cannot be read.
std::vector<unsigned char> readWholeFile(const std::string& path);
