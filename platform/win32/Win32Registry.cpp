#include <windows.h>

#include <vector>

#include "platform/win32/Win32Platform.h"

namespace qm {

namespace {

HKEY RootKey(RegistryRoot root) {
    return root == RegistryRoot::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

// Opens the root itself, then the subkey below it; closes both on destruction.
class OpenKey {
public:
    OpenKey(RegistryRoot root, const std::string& path, REGSAM access) {
        if (RegOpenKeyA(RootKey(root), nullptr, &m_root) != ERROR_SUCCESS) return;
        if (RegOpenKeyExA(m_root, path.c_str(), 0, access, &m_key) != ERROR_SUCCESS) m_key = nullptr;
    }
    ~OpenKey() {
        if (m_key) RegCloseKey(m_key);
        if (m_root) RegCloseKey(m_root);
    }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;
    HKEY get() const { return m_key; }

private:
    HKEY m_root = nullptr;
    HKEY m_key = nullptr;
};

}  // namespace

bool Win32Registry::KeyExists(RegistryRoot root, const std::string& path) {
    return OpenKey(root, path, KEY_READ).get() != nullptr;
}

bool Win32Registry::EnumValue(RegistryRoot root, const std::string& path, unsigned index,
                              RegistryValue& out) {
    OpenKey key(root, path, KEY_READ);
    if (!key.get()) return false;
    // Buffers sized from what the key says its longest name and value are, so long
    // names and long text are read whole instead of failing or overrunning.
    DWORD maxName = 0, maxData = 0;
    if (RegQueryInfoKeyA(key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &maxName,
                         &maxData, nullptr, nullptr) != ERROR_SUCCESS ||
        maxData > kMaxValueBytes)
        return false;
    std::vector<char> name(maxName + 2);
    std::vector<BYTE> data(maxData + 2);
    DWORD nameLen = static_cast<DWORD>(name.size());
    DWORD dataLen = static_cast<DWORD>(data.size());
    DWORD type = 0;
    if (RegEnumValueA(key.get(), index, name.data(), &nameLen, nullptr, &type, data.data(), &dataLen) !=
        ERROR_SUCCESS)
        return false;
    out.name.assign(name.data(), nameLen);
    out.data.assign(reinterpret_cast<const char*>(data.data()), dataLen);
    return true;
}

bool Win32Registry::EnumSubkey(RegistryRoot root, const std::string& path, unsigned index,
                               std::string& name) {
    OpenKey key(root, path, KEY_READ);
    if (!key.get()) return false;
    char buffer[256];  // key names are at most 255 characters
    DWORD length = sizeof buffer;
    if (RegEnumKeyExA(key.get(), index, buffer, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return false;
    name.assign(buffer, length);
    return true;
}

bool Win32Registry::DeleteKey(RegistryRoot root, const std::string& path) {
    return RegDeleteKeyA(RootKey(root), path.c_str()) == ERROR_SUCCESS;
}

bool Win32Registry::CreateKey(RegistryRoot root, const std::string& path) {
    HKEY key = nullptr;
    if (RegCreateKeyA(RootKey(root), path.c_str(), &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

bool Win32Registry::ReadValue(RegistryRoot root, const std::string& path, const std::string& name,
                              std::string& data) {
    OpenKey key(root, path, KEY_READ);
    if (!key.get()) return false;
    const char* valueName = name.empty() ? nullptr : name.c_str();
    DWORD size = 0;
    if (RegQueryValueExA(key.get(), valueName, nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS ||
        size > kMaxValueBytes)
        return false;
    std::vector<BYTE> buffer(size + 2);
    size = static_cast<DWORD>(buffer.size());
    if (RegQueryValueExA(key.get(), valueName, nullptr, nullptr, buffer.data(), &size) != ERROR_SUCCESS) return false;
    data.assign(reinterpret_cast<const char*>(buffer.data()), size);
    return true;
}

bool Win32Registry::SetValue(RegistryRoot root, const std::string& path, const std::string& name,
                             const std::string& text) {
    OpenKey key(root, path, KEY_SET_VALUE);
    if (!key.get()) return false;
    return RegSetValueExA(key.get(), name.empty() ? nullptr : name.c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(text.c_str()), static_cast<DWORD>(text.size() + 1)) ==
           ERROR_SUCCESS;
}

}  // namespace qm
