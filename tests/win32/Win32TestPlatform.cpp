// The core tests' platform under Wine: the real registry and real files in a scratch
// folder below the temporary directory.
#include <windows.h>

#include <vector>

#include "core/TestPlatform.h"
#include "platform/PathParts.h"
#include "platform/win32/Win32Platform.h"

namespace qm::test {

namespace {

const char kProgramKey[] = "Software\\Corvalith";

void DeleteFolderTree(const std::string& folder) {
    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA((folder + "*").c_str(), &data);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = data.cFileName;
            if (name == "." || name == "..") continue;
            std::string path = folder + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                DeleteFolderTree(path + "\\");
            else
                DeleteFileA(path.c_str());
        } while (FindNextFileA(search, &data));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}

class Win32TestPlatform : public TestPlatform {
public:
    Win32TestPlatform() {
        DeleteKeyTree(registry, RegistryRoot::LocalMachine, kProgramKey);
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        m_scratch = std::string(temp) + "qm-test-" + std::to_string(GetCurrentProcessId()) + "\\";
        DeleteFolderTree(m_scratch);
        CreateDirectoryA(m_scratch.c_str(), nullptr);
    }
    ~Win32TestPlatform() override {
        for (HANDLE lock : m_locks) CloseHandle(lock);
        DeleteFolderTree(m_scratch);
        DeleteKeyTree(registry, RegistryRoot::LocalMachine, kProgramKey);
    }
    IRegistry& Registry() override { return registry; }
    IFileSystem& Files() override { return files; }
    ISystem& System() override { return system; }
    std::string Scratch() override { return m_scratch; }

    void WriteFile(const std::string& path, const std::string& bytes) override {
        std::string folder = SplitPath(path).folder;
        if (!folder.empty()) CreateDirectoryA(folder.c_str(), nullptr);
        HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) return;
        DWORD written = 0;
        ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(file);
    }
    std::string ReadFile(const std::string& path) override {
        std::string bytes;
        HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) return bytes;
        char buffer[4096];
        DWORD got = 0;
        while (::ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
        CloseHandle(file);
        return bytes;
    }
    // The global call: inside this class, where windows.h renames DeleteFile, the plain
    // name would find this member again and recurse.
    void DeleteFile(const std::string& path) override { ::DeleteFileA(path.c_str()); }
    void SetRawValue(RegistryRoot root, const std::string& key, const std::string& name,
                     const std::string& bytes) override {
        HKEY handle = nullptr;
        if (RegCreateKeyA(root == RegistryRoot::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER, key.c_str(),
                          &handle) != ERROR_SUCCESS)
            return;
        RegSetValueExA(handle, name.empty() ? nullptr : name.c_str(), 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size()));
        RegCloseKey(handle);
    }
    bool LockFile(const std::string& path) override {
        HANDLE lock = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        if (lock == INVALID_HANDLE_VALUE) return false;
        m_locks.push_back(lock);
        return true;
    }

    Win32Registry registry;
    Win32FileSystem files;
    Win32System system;

private:
    std::string m_scratch;
    std::vector<HANDLE> m_locks;
};

}  // namespace

std::unique_ptr<TestPlatform> MakeTestPlatform() { return std::make_unique<Win32TestPlatform>(); }

}  // namespace qm::test
