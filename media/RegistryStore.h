#pragma once
#include <windows.h>

#include <memory>
#include <stdlib.h>

#include "ByteBuffer.h"
#include "CountedLock.h"

// A string on the C heap, freed with free() when it goes out of scope.
struct FreeDeleter {
    void operator()(void* block) const { free(block); }
};
using HeapText = std::unique_ptr<char, FreeDeleter>;

// Typed access to the values under one key of the current user. Each program
// keeps one root store for its key; a setting is read or written through a
// short-lived accessor copied from it:
//     store.value("UseDirectShow", 1).readNumber()
//     store.textValue("000", "", "Order").readText()
// Reads fall back to their default and writes fail silently. The strings
// given to a store are shared, not copied: callers keep them alive.
class RegistryStore : public ByteBuffer {
public:
    RegistryStore(const char* keyPath, HKEY root = HKEY_CURRENT_USER);
    // A copy gets a lock of its own and a copy of the bytes.
    RegistryStore(const RegistryStore& other);
    RegistryStore& operator=(const RegistryStore&) = delete;

    // Accessors: stores on the same key carrying a value name, a default and
    // an optional subkey below the key.
    RegistryStore value(const char* name) const;
    RegistryStore value(const char* name, DWORD defaultNumber) const;
    RegistryStore value(const char* name, DWORD defaultNumber, const char* subkey) const;
    RegistryStore textValue(const char* name, const char* defaultText, const char* subkey = nullptr) const;

    // In the operations below a null name means the accessor's value name
    // (itself null for the key's default value) and extra, when not null, is
    // one more subkey below the accessor's own.

    // keyPath, then subkey, then extra, joined by backslashes; an empty but
    // non-null extra ends the path with a backslash. Null when memory runs out.
    HeapText fullKeyPath(const char* extra = nullptr) const;

    // 0 when the key cannot be opened.
    DWORD countValues(const char* extra = nullptr) const;
    // The longest value name plus its terminating zero; 1 when the key cannot
    // be opened.
    DWORD maxValueNameLength(const char* extra = nullptr) const;
    // Null when the key cannot be opened or there is no such value.
    HeapText valueNameAt(DWORD index, const char* extra = nullptr) const;
    void deleteValue(const char* name = nullptr, const char* extra = nullptr) const;

    // A stored REG_DWORD, else the accessor's default.
    DWORD readNumber() const;
    DWORD readNumber(const char* name, DWORD defaultNumber, const char* extra = nullptr) const;
    // A stored number as a flag (nonzero is true), else the default.
    bool readFlag(const char* name, bool defaultValue) const { return readNumber(name, defaultValue ? 1 : 0) != 0; }
    void writeFlag(const char* name, bool value) const { writeNumber(value ? 1 : 0, name); }
    // A stored REG_SZ, else a copy of the default (the accessor's when null,
    // "" when that is null too). Null only when memory runs out.
    HeapText readText(const char* name = nullptr, const char* defaultText = nullptr,
                      const char* extra = nullptr) const;
    // Both replace a value of another type; they answer their input.
    DWORD writeNumber(DWORD number, const char* name = nullptr, const char* extra = nullptr) const;
    const char* writeText(const char* text, const char* name = nullptr, const char* extra = nullptr) const;

    // The key at fullKeyPath(""), opened for reading, or null. The caller
    // closes it.
    HKEY openKey() const;
    // The stored bytes whatever their type, else a copy of the default (the
    // accessor's own bytes when null).
    ByteBuffer readBinary(const char* name = nullptr, const ByteBuffer* defaultBytes = nullptr,
                          const char* extra = nullptr) const;
    // Writes the bytes as REG_BINARY and answers a copy of them.
    ByteBuffer writeBinary(const ByteBuffer& bytes, const char* name = nullptr,
                           const char* extra = nullptr) const;

    HKEY root() const { return root_; }
    const char* keyPath() const { return keyPath_; }
    const char* subkey() const { return subkey_; }
    const char* valueName() const { return valueName_; }
    DWORD defaultNumber() const { return defaultNumber_; }
    const char* defaultText() const { return defaultText_; }

private:
    RegistryStore accessor(const char* name, DWORD defaultNumber, const char* defaultText,
                           const char* subkey) const;
    const char* nameOr(const char* name) const { return name ? name : valueName_; }
    HKEY openForReading(const char* extra) const;
    bool queryKeyInfo(const char* extra, DWORD* count, DWORD* longestName) const;
    HKEY openForWriting(const char* extra, DWORD keepType, const char* name) const;

    mutable CountedLock storeLock_;
    DWORD defaultNumber_ = 0;
    HKEY root_;
    const char* keyPath_;
    const char* subkey_ = nullptr;
    const char* valueName_ = nullptr;
    const char* defaultText_ = nullptr;
};
