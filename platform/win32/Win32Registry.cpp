#include <windows.h>

#include <mutex>
#include <vector>

#include "platform/win32/HeldKeys.h"
#include "platform/win32/Win32Platform.h"

namespace qm {

struct Win32Registry::OpenKeys {
    std::mutex mutex;
    HeldKeys keys;

    // Runs `call` on the key opened for `use`, held from an earlier call where possible.
    // A held handle whose key was deleted meanwhile (by another program, or deleted and
    // created again), or that lacks the access, is dropped and the key opened afresh once.
    template <typename Call>
    LONG With(RegistryRoot root, const std::string& path, HeldKeys::Use use, Call call) {
        std::lock_guard<std::mutex> lock(mutex);
        LONG result = ERROR_FILE_NOT_FOUND;
        for (int attempt = 0; attempt < 2; ++attempt) {
            HKEY key = keys.Get(root, path, use);
            if (!key) return ERROR_FILE_NOT_FOUND;
            result = call(key);
            if (result != ERROR_KEY_DELETED && result != ERROR_ACCESS_DENIED) return result;
            keys.Drop(root, path);
        }
        return result;
    }
};

Win32Registry::Win32Registry() : m_open(std::make_unique<OpenKeys>()) {}
Win32Registry::~Win32Registry() = default;

bool Win32Registry::KeyExists(RegistryRoot root, const std::string& path) {
    // Asked afresh every time: a held handle would still answer for a key deleted since.
    HKEY key = nullptr;
    if (RegOpenKeyExA(RootKey(root), path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

bool Win32Registry::EnumValue(RegistryRoot root, const std::string& path, unsigned index,
                              RegistryValue& out) {
    return m_open->With(root, path, HeldKeys::kRead, [&](HKEY key) -> LONG {
        // Most values fit these buffers at the first try; a longer name or text is read
        // whole with buffers sized from what the key says its longest ones are.
        char name[256];
        BYTE data[1024];
        DWORD nameLen = sizeof name, dataLen = sizeof data, type = 0;
        LONG result = RegEnumValueA(key, index, name, &nameLen, nullptr, &type, data, &dataLen);
        if (result == ERROR_SUCCESS) {
            out.name.assign(name, nameLen);
            out.data.assign(reinterpret_cast<const char*>(data), dataLen);
            return result;
        }
        if (result != ERROR_MORE_DATA) return result;
        DWORD maxName = 0, maxData = 0;
        result = RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &maxName,
                                  &maxData, nullptr, nullptr);
        if (result != ERROR_SUCCESS) return result;
        if (maxData > kMaxValueBytes) return ERROR_MORE_DATA;
        std::vector<char> longName(maxName + 2);
        std::vector<BYTE> longData(maxData + 2);
        nameLen = static_cast<DWORD>(longName.size());
        dataLen = static_cast<DWORD>(longData.size());
        result = RegEnumValueA(key, index, longName.data(), &nameLen, nullptr, &type, longData.data(), &dataLen);
        if (result != ERROR_SUCCESS) return result;
        out.name.assign(longName.data(), nameLen);
        out.data.assign(reinterpret_cast<const char*>(longData.data()), dataLen);
        return result;
    }) == ERROR_SUCCESS;
}

bool Win32Registry::EnumSubkey(RegistryRoot root, const std::string& path, unsigned index,
                               std::string& name) {
    return m_open->With(root, path, HeldKeys::kRead, [&](HKEY key) -> LONG {
        char buffer[256];  // key names are at most 255 characters
        DWORD length = sizeof buffer;
        LONG result = RegEnumKeyExA(key, index, buffer, &length, nullptr, nullptr, nullptr, nullptr);
        if (result == ERROR_SUCCESS) name.assign(buffer, length);
        return result;
    }) == ERROR_SUCCESS;
}

bool Win32Registry::DeleteKey(RegistryRoot root, const std::string& path) {
    std::lock_guard<std::mutex> lock(m_open->mutex);
    m_open->keys.Drop(root, path);
    const LONG result = RegDeleteKeyA(RootKey(root), path.c_str());
    return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
}

bool Win32Registry::CreateKey(RegistryRoot root, const std::string& path) {
    HKEY key = nullptr;
    if (RegCreateKeyA(RootKey(root), path.c_str(), &key) != ERROR_SUCCESS) return false;
    // Held for the value that is normally set next.
    std::lock_guard<std::mutex> lock(m_open->mutex);
    m_open->keys.Drop(root, path);
    m_open->keys.Hold(root, path, key, HeldKeys::kRead | HeldKeys::kWrite);
    return true;
}

bool Win32Registry::ReadValue(RegistryRoot root, const std::string& path, const std::string& name,
                              std::string& data) {
    return m_open->With(root, path, HeldKeys::kRead, [&](HKEY key) -> LONG {
        const char* valueName = name.empty() ? nullptr : name.c_str();
        DWORD size = 0;
        LONG result = RegQueryValueExA(key, valueName, nullptr, nullptr, nullptr, &size);
        if (result != ERROR_SUCCESS) return result;
        if (size > kMaxValueBytes) return ERROR_MORE_DATA;
        std::vector<BYTE> buffer(size + 2);
        size = static_cast<DWORD>(buffer.size());
        result = RegQueryValueExA(key, valueName, nullptr, nullptr, buffer.data(), &size);
        if (result == ERROR_SUCCESS) data.assign(reinterpret_cast<const char*>(buffer.data()), size);
        return result;
    }) == ERROR_SUCCESS;
}

bool Win32Registry::SetValue(RegistryRoot root, const std::string& path, const std::string& name,
                             const std::string& text) {
    return m_open->With(root, path, HeldKeys::kWrite, [&](HKEY key) -> LONG {
        return RegSetValueExA(key, name.empty() ? nullptr : name.c_str(), 0, REG_SZ,
                              reinterpret_cast<const BYTE*>(text.c_str()), static_cast<DWORD>(text.size() + 1));
    }) == ERROR_SUCCESS;
}

// Asked afresh, with exactly the rights a writer needs: RegCreateKey would open an existing
// key for a standard user too, with read access alone.
bool Win32Registry::KeyWritable(RegistryRoot root, const std::string& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(RootKey(root), path.c_str(), 0, KEY_SET_VALUE | KEY_CREATE_SUB_KEY, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

bool Win32Registry::Contents(RegistryRoot root, const std::string& path, KeyContents& out) {
    return m_open->With(root, path, HeldKeys::kRead, [&](HKEY key) -> LONG {
        DWORD subkeys = 0, values = 0;
        LONG result = RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr,
                                       nullptr, nullptr, nullptr);
        if (result == ERROR_SUCCESS) {
            out.subkeys = subkeys;
            out.values = values;
        }
        return result;
    }) == ERROR_SUCCESS;
}

bool Win32Registry::DeleteValue(RegistryRoot root, const std::string& path, const std::string& name) {
    const LONG result = m_open->With(root, path, HeldKeys::kWrite, [&](HKEY key) -> LONG {
        return RegDeleteValueA(key, name.empty() ? nullptr : name.c_str());
    });
    return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
}

}  // namespace qm
