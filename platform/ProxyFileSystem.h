#pragma once
// A file system that hands every call to another one; derive from it to change one verb
// and keep the rest (the fault wrapper, the fuzzer's file system).
#include "platform/FileSystem.h"

namespace qm {

class ProxyFileSystem : public IFileSystem {
public:
    explicit ProxyFileSystem(IFileSystem& inner) : m_inner(inner) {}

    void Search(const std::string& pattern, const std::function<bool(const FoundEntry&)>& visit) override {
        m_inner.Search(pattern, visit);
    }
    std::unique_ptr<IReadStream> OpenRead(const std::string& path) override { return m_inner.OpenRead(path); }
    std::unique_ptr<IWriteStream> OpenWrite(const std::string& path, WriteMode mode) override {
        return m_inner.OpenWrite(path, mode);
    }
    bool SameName(const std::string& a, const std::string& b) override { return m_inner.SameName(a, b); }
    bool Copy(const std::string& from, const std::string& to) override { return m_inner.Copy(from, to); }
    bool Delete(const std::string& path) override { return m_inner.Delete(path); }
    bool MoveReplacing(const std::string& from, const std::string& to) override {
        return m_inner.MoveReplacing(from, to);
    }
    bool Rename(const std::string& from, const std::string& to) override { return m_inner.Rename(from, to); }
    bool CreateFolder(const std::string& path) override { return m_inner.CreateFolder(path); }
    bool RemoveFolder(const std::string& path) override { return m_inner.RemoveFolder(path); }
    WriteAccess ProbeWrite(const std::string& path) override { return m_inner.ProbeWrite(path); }
    bool ShortPath(const std::string& path, std::string& out) override { return m_inner.ShortPath(path, out); }
    std::uint32_t LogicalDrives() override { return m_inner.LogicalDrives(); }
    DriveKind KindOfDrive(const std::string& root) override { return m_inner.KindOfDrive(root); }

protected:
    IFileSystem& m_inner;
};

}  // namespace qm
