#include <windows.h>

#include "platform/win32/Win32Platform.h"

namespace qm {

namespace {

class Win32ReadStream : public IReadStream {
public:
    explicit Win32ReadStream(HANDLE file) : m_file(file) {}
    ~Win32ReadStream() override { CloseHandle(m_file); }
    long Read(void* buffer, std::size_t count) override {
        DWORD got = 0;
        if (!ReadFile(m_file, buffer, static_cast<DWORD>(count), &got, nullptr)) return -1;
        return static_cast<long>(got);
    }
    std::int64_t Size() override {
        LARGE_INTEGER size;
        return GetFileSizeEx(m_file, &size) ? size.QuadPart : -1;
    }

private:
    HANDLE m_file;
};

class Win32WriteStream : public IWriteStream {
public:
    explicit Win32WriteStream(HANDLE file) : m_file(file) {}
    ~Win32WriteStream() override { Close(); }
    bool Write(const void* data, std::size_t count) override {
        DWORD written = 0;
        bool ok = m_file != INVALID_HANDLE_VALUE &&
                  WriteFile(m_file, data, static_cast<DWORD>(count), &written, nullptr) && written == count;
        m_ok = m_ok && ok;
        return ok;
    }
    bool FlushToDisk() override {
        const bool ok = m_file != INVALID_HANDLE_VALUE && FlushFileBuffers(m_file);
        m_ok = m_ok && ok;
        return ok;
    }
    bool Close() override {
        if (m_file != INVALID_HANDLE_VALUE) {
            m_ok = CloseHandle(m_file) && m_ok;
            m_file = INVALID_HANDLE_VALUE;
        }
        return m_ok;
    }

private:
    HANDLE m_file;
    bool m_ok = true;
};

}  // namespace

void Win32FileSystem::Search(const std::string& pattern,
                             const std::function<bool(const FoundEntry&)>& visit) {
    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA(pattern.c_str(), &data);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        FoundEntry entry;
        entry.name = data.cFileName;
        entry.isFolder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        entry.size = entry.isFolder ? 0 : (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        if (!visit(entry)) break;
    } while (FindNextFileA(search, &data));
    FindClose(search);
}

std::unique_ptr<IReadStream> Win32FileSystem::OpenRead(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) return nullptr;
    return std::make_unique<Win32ReadStream>(file);
}

std::unique_ptr<IWriteStream> Win32FileSystem::OpenWrite(const std::string& path, WriteMode mode) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr,
                              mode == WriteMode::CreateAlways ? CREATE_ALWAYS : OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE) return nullptr;
    if (mode == WriteMode::Append && SetFilePointer(file, 0, nullptr, FILE_END) == INVALID_SET_FILE_POINTER &&
        GetLastError() != NO_ERROR) {
        CloseHandle(file);
        return nullptr;
    }
    return std::make_unique<Win32WriteStream>(file);
}

bool Win32FileSystem::SameName(const std::string& a, const std::string& b) {
    return lstrcmpiA(a.c_str(), b.c_str()) == 0;
}

bool Win32FileSystem::Copy(const std::string& from, const std::string& to) {
    return CopyFileA(from.c_str(), to.c_str(), FALSE) != 0;
}

bool Win32FileSystem::Delete(const std::string& path) { return DeleteFileA(path.c_str()) != 0; }

bool Win32FileSystem::MoveReplacing(const std::string& from, const std::string& to) {
    return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool Win32FileSystem::Rename(const std::string& from, const std::string& to) {
    return MoveFileA(from.c_str(), to.c_str()) != 0;
}

bool Win32FileSystem::CreateFolder(const std::string& path) { return CreateDirectoryA(path.c_str(), nullptr) != 0; }

bool Win32FileSystem::RemoveFolder(const std::string& path) { return RemoveDirectoryA(path.c_str()) != 0; }

// Opening for writing changes nothing in the file, not even its time of change.
WriteAccess Win32FileSystem::ProbeWrite(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        CloseHandle(file);
        return WriteAccess::allowed;
    }
    switch (GetLastError()) {
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: return WriteAccess::inUse;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND: return WriteAccess::missing;
    default: return WriteAccess::denied;  // no rights, a read-only file, or a folder standing there
    }
}

bool Win32FileSystem::ShortPath(const std::string& path, std::string& out) {
    DWORD needed = GetShortPathNameA(path.c_str(), nullptr, 0);
    if (needed == 0) return false;
    std::string buffer(needed, '\0');
    DWORD length = GetShortPathNameA(path.c_str(), &buffer[0], needed);
    if (length == 0 || length >= needed) return false;
    out.assign(buffer.data(), length);
    return true;
}

std::uint32_t Win32FileSystem::LogicalDrives() { return GetLogicalDrives(); }

DriveKind Win32FileSystem::KindOfDrive(const std::string& root) {
    UINT kind = GetDriveTypeA(root.c_str());
    return kind <= DRIVE_RAMDISK ? static_cast<DriveKind>(kind) : DriveKind::Unknown;
}

}  // namespace qm
