#include "PosixFileSystem.h"
#include "platform/PathParts.h"

#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cctype>

namespace qm::bench {

namespace {

class PosixReadStream : public IReadStream {
public:
    PosixReadStream(int fd, std::int64_t size) : m_fd(fd), m_size(size) {}
    ~PosixReadStream() override { ::close(m_fd); }
    PosixReadStream(const PosixReadStream&) = delete;
    PosixReadStream& operator=(const PosixReadStream&) = delete;

    long Read(void* buffer, std::size_t count) override {
        for (;;) {
            ssize_t got = ::read(m_fd, buffer, count);
            if (got >= 0) return static_cast<long>(got);
            if (errno != EINTR) return -1;
        }
    }
    std::int64_t Size() override { return m_size; }

private:
    int m_fd;
    std::int64_t m_size;  // taken when the file was opened
};

class PosixWriteStream : public IWriteStream {
public:
    explicit PosixWriteStream(int fd) : m_fd(fd) {}
    ~PosixWriteStream() override { Close(); }
    PosixWriteStream(const PosixWriteStream&) = delete;
    PosixWriteStream& operator=(const PosixWriteStream&) = delete;

    bool Write(const void* data, std::size_t count) override {
        if (m_fd < 0 || m_failed) return false;
        const char* p = static_cast<const char*>(data);
        while (count > 0) {
            ssize_t put = ::write(m_fd, p, count);
            if (put < 0) {
                if (errno == EINTR) continue;
                m_failed = true;
                return false;
            }
            p += put;
            count -= static_cast<std::size_t>(put);
        }
        return true;
    }
    bool FlushToDisk() override { return m_fd >= 0 && fsync(m_fd) == 0; }
    bool Close() override {
        if (m_fd < 0) return !m_failed;
        if (::close(m_fd) != 0) m_failed = true;
        m_fd = -1;
        return !m_failed;
    }

private:
    int m_fd;
    bool m_failed = false;
};

bool HasWildcard(const std::string& name) { return name.find_first_of("*?") != std::string::npos; }

// fnmatch gives '[' and backslash a meaning of their own; on Windows only '*' and '?' are special.
std::string FnmatchPattern(const std::string& name) {
    std::string out;
    for (char c : name) {
        if (c == '[' || c == '\\') out += '\\';
        out += c;
    }
    return out;
}

}  // namespace

std::string PosixFileSystem::ToPosix(const std::string& path) {
    std::size_t start = 0;
    if (path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0]))) start = 2;
    std::string out = path.substr(start);
    for (char& c : out)
        if (c == '\\') c = '/';
    return out;
}

void PosixFileSystem::Search(const std::string& pattern,
                             const std::function<bool(const FoundEntry&)>& visit) {
    const PathParts parts = SplitPath(pattern);
    const std::string& folder = parts.folder;
    const std::string& name = parts.name;
    if (name.empty()) return;  // a pattern ending in a backslash finds nothing, as on Windows

    if (!HasWildcard(name)) {
        struct stat st;
        if (::stat(ToPosix(pattern).c_str(), &st) != 0) return;
        bool isFolder = S_ISDIR(st.st_mode);
        visit(FoundEntry{name, isFolder ? 0 : static_cast<std::uint64_t>(st.st_size), isFolder});
        return;
    }

    std::string dirPath = folder.empty() ? std::string(".") : ToPosix(folder);
    DIR* dir = ::opendir(dirPath.c_str());
    if (!dir) return;
    const std::string match = FnmatchPattern(name);
    while (struct dirent* item = ::readdir(dir)) {
        std::string entryName = item->d_name;
        if (entryName == "." || entryName == "..") continue;
        if (::fnmatch(match.c_str(), entryName.c_str(), FNM_CASEFOLD) != 0) continue;
        struct stat st;
        if (::fstatat(::dirfd(dir), item->d_name, &st, 0) != 0) continue;  // vanished meanwhile
        bool isFolder = S_ISDIR(st.st_mode);
        if (!visit(FoundEntry{entryName, isFolder ? 0 : static_cast<std::uint64_t>(st.st_size), isFolder})) break;
    }
    ::closedir(dir);
}

std::unique_ptr<IReadStream> PosixFileSystem::OpenRead(const std::string& path) {
    int fd = ::open(ToPosix(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return nullptr;
    struct stat st;
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        ::close(fd);
        return nullptr;
    }
    return std::make_unique<PosixReadStream>(fd, static_cast<std::int64_t>(st.st_size));
}

std::unique_ptr<IWriteStream> PosixFileSystem::OpenWrite(const std::string& path, WriteMode mode) {
    int flags = O_WRONLY | O_CREAT | O_CLOEXEC | (mode == WriteMode::Append ? O_APPEND : O_TRUNC);
    int fd = ::open(ToPosix(path).c_str(), flags, 0644);
    if (fd < 0) return nullptr;
    return std::make_unique<PosixWriteStream>(fd);
}

bool PosixFileSystem::SameName(const std::string& a, const std::string& b) {
    return ::strcasecmp(a.c_str(), b.c_str()) == 0;
}

bool PosixFileSystem::Copy(const std::string& from, const std::string& to) {
    std::unique_ptr<IReadStream> in = OpenRead(from);
    std::unique_ptr<IWriteStream> out = in ? OpenWrite(to, WriteMode::CreateAlways) : nullptr;
    if (!out) return false;
    char buffer[65536];
    for (long got; (got = in->Read(buffer, sizeof buffer)) != 0;)
        if (got < 0 || !out->Write(buffer, static_cast<std::size_t>(got))) return false;
    return out->Close();
}

bool PosixFileSystem::Delete(const std::string& path) { return ::unlink(ToPosix(path).c_str()) == 0; }

bool PosixFileSystem::MoveReplacing(const std::string& from, const std::string& to) {
    return ::rename(ToPosix(from).c_str(), ToPosix(to).c_str()) == 0;
}

bool PosixFileSystem::Rename(const std::string& from, const std::string& to) {
    struct stat st;
    if (::stat(ToPosix(to).c_str(), &st) == 0) return false;
    return ::rename(ToPosix(from).c_str(), ToPosix(to).c_str()) == 0;
}

bool PosixFileSystem::CreateFolder(const std::string& path) { return ::mkdir(ToPosix(path).c_str(), 0755) == 0; }

bool PosixFileSystem::RemoveFolder(const std::string& path) { return ::rmdir(ToPosix(path).c_str()) == 0; }

}  // namespace qm::bench
