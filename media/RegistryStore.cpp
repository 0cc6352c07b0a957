#include "RegistryStore.h"

#include <string.h>

namespace {

// An open registry key, closed at the end of the scope.
class OpenKey {
public:
    explicit OpenKey(HKEY key) : key_(key) {}
    ~OpenKey()
    {
        if (key_)
            RegCloseKey(key_);
    }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;
    HKEY get() const { return key_; }
    explicit operator bool() const { return key_ != nullptr; }

private:
    HKEY key_;
};

bool isSet(const char* text)
{
    return text && *text;
}

HeapText copyText(const char* text)
{
    if (!text)
        text = "";
    size_t length = strlen(text) + 1;
    char* copy = static_cast<char*>(malloc(length));
    if (copy)
        memcpy(copy, text, length);
    return HeapText(copy);
}

// The type of a stored value, REG_NONE when it is missing.
DWORD storedType(HKEY key, const char* name)
{
    DWORD type = REG_NONE;
    if (RegQueryValueExA(key, name, nullptr, &type, nullptr, nullptr) != ERROR_SUCCESS)
        return REG_NONE;
    return type;
}

} // namespace

RegistryStore::RegistryStore(const char* keyPath, HKEY root) : root_(root), keyPath_(keyPath) {}

RegistryStore::RegistryStore(const RegistryStore& other)
    : ByteBuffer(other),
      defaultNumber_(other.defaultNumber_),
      root_(other.root_),
      keyPath_(other.keyPath_),
      subkey_(other.subkey_),
      valueName_(other.valueName_),
      defaultText_(other.defaultText_)
{
}

RegistryStore RegistryStore::accessor(const char* name, DWORD defaultNumber, const char* defaultText,
                                      const char* subkey) const
{
    RegistryStore store(keyPath_, root_);
    store.valueName_ = name;
    store.defaultNumber_ = defaultNumber;
    store.defaultText_ = defaultText;
    store.subkey_ = subkey;
    return store;
}

RegistryStore RegistryStore::value(const char* name) const
{
    return accessor(name, 0, nullptr, nullptr);
}

RegistryStore RegistryStore::value(const char* name, DWORD defaultNumber) const
{
    return accessor(name, defaultNumber, nullptr, nullptr);
}

RegistryStore RegistryStore::value(const char* name, DWORD defaultNumber, const char* subkey) const
{
    return accessor(name, defaultNumber, nullptr, subkey);
}

RegistryStore RegistryStore::textValue(const char* name, const char* defaultText, const char* subkey) const
{
    return accessor(name, 0, defaultText, subkey);
}

HeapText RegistryStore::fullKeyPath(const char* extra) const
{
    size_t length = (keyPath_ ? strlen(keyPath_) : 0) + (subkey_ ? strlen(subkey_) : 0) +
                    (extra ? strlen(extra) : 0) + 3;
    char* path = static_cast<char*>(malloc(length));
    if (!path)
        return nullptr;
    *path = '\0';
    if (isSet(keyPath_))
        strcat(path, keyPath_);
    if (isSet(subkey_)) {
        if (*path)
            strcat(path, "\\");
        strcat(path, subkey_);
    }
    if (extra) {
        if (*path)
            strcat(path, "\\");
        strcat(path, extra);
    }
    return HeapText(path);
}

HKEY RegistryStore::openForReading(const char* extra) const
{
    HeapText path = fullKeyPath(extra);
    HKEY key = nullptr;
    if (!path || RegOpenKeyExA(root_, path.get(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return nullptr;
    return key;
}

// Creates the key when needed and removes a value of that name whose type is
// not keepType, so that the write that follows replaces it.
HKEY RegistryStore::openForWriting(const char* extra, DWORD keepType, const char* name) const
{
    HeapText path = fullKeyPath(extra);
    HKEY key = nullptr;
    if (!path || RegCreateKeyExA(root_, path.get(), 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE,
                                 nullptr, &key, nullptr) != ERROR_SUCCESS)
        return nullptr;
    DWORD type = storedType(key, name);
    if (type != REG_NONE && type != keepType)
        RegDeleteValueA(key, name);
    return key;
}

bool RegistryStore::queryKeyInfo(const char* extra, DWORD* count, DWORD* longestName) const
{
    LockScope scope(storeLock_);
    OpenKey key(openForReading(extra));
    return key && RegQueryInfoKeyA(key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, count,
                                   longestName, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

DWORD RegistryStore::countValues(const char* extra) const
{
    DWORD count = 0;
    return queryKeyInfo(extra, &count, nullptr) ? count : 0;
}

DWORD RegistryStore::maxValueNameLength(const char* extra) const
{
    DWORD longest = 0;
    return queryKeyInfo(extra, nullptr, &longest) ? longest + 1 : 1;
}

HeapText RegistryStore::valueNameAt(DWORD index, const char* extra) const
{
    LockScope scope(storeLock_);
    DWORD capacity = maxValueNameLength(extra);
    OpenKey key(openForReading(extra));
    if (!key)
        return nullptr;
    HeapText name(static_cast<char*>(malloc(capacity)));
    if (!name)
        return nullptr;
    DWORD length = capacity;
    if (RegEnumValueA(key.get(), index, name.get(), &length, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS)
        return nullptr;
    return name;
}

void RegistryStore::deleteValue(const char* name, const char* extra) const
{
    LockScope scope(storeLock_);
    HeapText path = fullKeyPath(extra);
    HKEY opened = nullptr;
    if (!path || RegOpenKeyExA(root_, path.get(), 0, KEY_SET_VALUE, &opened) != ERROR_SUCCESS)
        return;
    OpenKey key(opened);
    RegDeleteValueA(key.get(), nameOr(name));
}

DWORD RegistryStore::readNumber() const
{
    return readNumber(nullptr, defaultNumber_, nullptr);
}

DWORD RegistryStore::readNumber(const char* name, DWORD defaultNumber, const char* extra) const
{
    LockScope scope(storeLock_);
    OpenKey key(openForReading(extra));
    if (!key)
        return defaultNumber;
    DWORD number = 0;
    DWORD type = REG_NONE;
    DWORD size = sizeof number;
    if (RegQueryValueExA(key.get(), nameOr(name), nullptr, &type, reinterpret_cast<BYTE*>(&number),
                         &size) != ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof number)
        return defaultNumber;
    return number;
}

HeapText RegistryStore::readText(const char* name, const char* defaultText, const char* extra) const
{
    LockScope scope(storeLock_);
    const char* fallback = defaultText ? defaultText : defaultText_;
    OpenKey key(openForReading(extra));
    if (!key)
        return copyText(fallback);
    name = nameOr(name);
    // The value may change between the size query and the read; a few
    // attempts cover that before giving up on it.
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD type = REG_NONE;
        DWORD size = 0;
        if (RegQueryValueExA(key.get(), name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
            type != REG_SZ)
            break;
        // One byte more than stored: a value written without its terminating
        // zero still reads as a terminated string.
        HeapText text(static_cast<char*>(malloc(size + 1)));
        if (!text)
            return nullptr;
        LONG status = RegQueryValueExA(key.get(), name, nullptr, &type,
                                       reinterpret_cast<BYTE*>(text.get()), &size);
        if (status == ERROR_MORE_DATA)
            continue;
        if (status != ERROR_SUCCESS || type != REG_SZ)
            break;
        text.get()[size] = '\0';
        return text;
    }
    return copyText(fallback);
}

DWORD RegistryStore::writeNumber(DWORD number, const char* name, const char* extra) const
{
    LockScope scope(storeLock_);
    name = nameOr(name);
    OpenKey key(openForWriting(extra, REG_DWORD, name));
    if (key)
        RegSetValueExA(key.get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                       sizeof number);
    return number;
}

const char* RegistryStore::writeText(const char* text, const char* name, const char* extra) const
{
    if (!text)
        return text;
    LockScope scope(storeLock_);
    name = nameOr(name);
    OpenKey key(openForWriting(extra, REG_SZ, name));
    if (key)
        RegSetValueExA(key.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                       static_cast<DWORD>(strlen(text) + 1));
    return text;
}

HKEY RegistryStore::openKey() const
{
    return openForReading("");
}

ByteBuffer RegistryStore::readBinary(const char* name, const ByteBuffer* defaultBytes, const char* extra) const
{
    LockScope scope(storeLock_);
    const ByteBuffer& fallback = defaultBytes ? *defaultBytes : *this;
    OpenKey key(openForReading(extra));
    if (!key)
        return fallback;
    name = nameOr(name);
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD size = 0;
        if (RegQueryValueExA(key.get(), name, nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS)
            break;
        ByteBuffer bytes;
        if (size == 0)
            return bytes;
        if (!bytes.resizeZeroed(size))
            break;
        LONG status = RegQueryValueExA(key.get(), name, nullptr, nullptr, bytes.data(), &size);
        if (status == ERROR_MORE_DATA)
            continue;
        if (status != ERROR_SUCCESS)
            break;
        if (size < bytes.size()) {
            ByteBuffer exact(bytes.data(), size);
            return exact;
        }
        return bytes;
    }
    return fallback;
}

ByteBuffer RegistryStore::writeBinary(const ByteBuffer& bytes, const char* name, const char* extra) const
{
    ByteBuffer copy(bytes);
    LockScope scope(storeLock_);
    name = nameOr(name);
    OpenKey key(openForWriting(extra, REG_BINARY, name));
    if (key)
        RegSetValueExA(key.get(), name, 0, REG_BINARY, copy.data(), copy.size());
    return copy;
}
