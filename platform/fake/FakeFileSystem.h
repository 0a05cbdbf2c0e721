#pragma once
// An in-memory file system with Windows path rules: backslashes, names compared ignoring
// case, repeated backslashes accepted, '*' and '?' wildcards in the search. A file can be
// locked, as one that another program holds open without sharing. Faults are injected by
// the wrapper in platform/fault, not here.
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace qm {

class FakeFileSystem : public IFileSystem {
public:
    void Search(const std::string& pattern,
                const std::function<bool(const FoundEntry&)>& visit) override;
    std::unique_ptr<IReadStream> OpenRead(const std::string& path) override;
    std::unique_ptr<IWriteStream> OpenWrite(const std::string& path, WriteMode mode) override;
    bool SameName(const std::string& a, const std::string& b) override;
    bool Copy(const std::string& from, const std::string& to) override;
    bool Delete(const std::string& path) override;
    bool MoveReplacing(const std::string& from, const std::string& to) override;
    bool Rename(const std::string& from, const std::string& to) override;
    bool CreateFolder(const std::string& path) override;
    bool RemoveFolder(const std::string& path) override;
    WriteAccess ProbeWrite(const std::string& path) override;
    bool ShortPath(const std::string& path, std::string& out) override;
    std::uint32_t LogicalDrives() override;
    DriveKind KindOfDrive(const std::string& root) override;

    // Test set-up and inspection.
    void AddFolder(const std::string& path);
    void AddFile(const std::string& path, const std::string& content = std::string());
    bool Exists(const std::string& path) const;
    std::string Content(const std::string& path) const;
    void Remove(const std::string& path);

    bool IsFolder(const std::string& path) const;
    // Locks the file as a program that holds it open without sharing: it can then be
    // neither opened, replaced, renamed nor deleted.
    void Lock(const std::string& path);
    // Protects a file, or the files directly in a folder, as a standard user finds those of
    // the Windows directory: they read as before, but cannot be written, replaced, renamed or
    // deleted, and none can be created there (Windows answers "access denied").
    void Protect(const std::string& path);

    std::map<char, DriveKind> drives{{'C', DriveKind::Fixed}};  // upper-case letter -> kind
    // Short names the file system made: a file's path -> its short file name. A file
    // without an entry has no short name.
    std::map<std::string, std::string> shortNames;
    // What would reach the disk in which order: "flush PATH" for a flush to the disk, and
    // "move FROM > TO" for a move that replaces a file.
    std::vector<std::string> journal;

private:
    struct Node {
        std::string path;     // as first given, normalised
        std::string content;
        bool isFolder = false;
    };
    static std::string Normalise(const std::string& path);
    static std::string Key(const std::string& path);
    void AddParents(const std::string& path);
    bool IsLocked(const std::string& path) const;
    bool IsProtected(const std::string& path) const;
    bool HasChildren(const std::string& key) const;
    bool ParentExists(const std::string& path) const;
    std::set<std::string> m_locked;       // folded, normalised paths
    std::set<std::string> m_protected;    // folded, normalised paths of files and folders
    std::map<std::string, Node> m_nodes;  // by folded, normalised path
};

}  // namespace qm
