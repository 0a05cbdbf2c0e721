#pragma once
// An in-memory file system with Windows path rules: backslashes, names compared ignoring
// case, repeated backslashes accepted, '*' and '?' wildcards in the search. Files can be
// marked unreadable, or to fail after a number of bytes, to test what a load does then.
#include <map>
#include <set>
#include <string>

#include "platform/FileSystem.h"

namespace qm {

class FakeFileSystem : public IFileSystem {
public:
    void Search(const std::string& pattern,
                const std::function<bool(const FoundEntry&)>& visit) override;
    std::unique_ptr<IReadStream> OpenRead(const std::string& path) override;
    std::unique_ptr<IWriteStream> OpenWrite(const std::string& path, WriteMode mode) override;
    bool SameName(const std::string& a, const std::string& b) override;

    // Test set-up and inspection.
    void AddFolder(const std::string& path);
    void AddFile(const std::string& path, const std::string& content = std::string());
    bool Exists(const std::string& path) const;
    std::string Content(const std::string& path) const;
    void Remove(const std::string& path);

    std::set<std::string> unreadable;              // folded paths that cannot be opened
    std::map<std::string, long> readErrorAfter;    // folded path -> bytes readable before an error

private:
    struct Node {
        std::string path;     // as first given, normalised
        std::string content;
        bool isFolder = false;
    };
    static std::string Normalise(const std::string& path);
    static std::string Key(const std::string& path);
    void AddParents(const std::string& path);
    std::map<std::string, Node> m_nodes;  // by folded, normalised path
};

}  // namespace qm
