#pragma once
// Fault injection for tests: wrappers that sit over any file system or registry (the
// in-memory fakes natively, the real Win32 backend under Wine), count the calls of each
// operation and fail the Nth one, once or from then on. A failed call does nothing and
// reports failure the way the platform would (false, nullptr, a read of -1, no entries).
//
// A test can also count every call of both wrappers together and strike the Nth of them,
// whatever it is: it fails once, or the process "dies" there, and from then on no call
// reaches the platform. What the platform then holds is exactly what a process ended just
// before that call would leave behind (what a file stream had written is on the file, as
// the system keeps it after a process dies), for a fresh program object to start on.
#include <array>

#include "platform/ProxyFileSystem.h"
#include "platform/Registry.h"

namespace qm {

enum class FileOp { Search, OpenRead, OpenWrite, Read, Write, FlushToDisk, Close, Copy, Delete, MoveReplacing,
                    Rename, CreateFolder, RemoveFolder, ProbeWrite, Count };
enum class RegistryOp { KeyExists, EnumValue, EnumSubkey, DeleteKey, CreateKey, ReadValue, SetValue, KeyWritable,
                        Contents, DeleteValue, Count };

// What strikes the Nth call of all: a failure of that call alone, or the end of the process.
enum class Strike { fail, die };

class FaultInjector {
public:
    // Call number `nth` (counted from 1 since the last Reset) of `op` fails; with `persist`,
    // every later call of it fails too.
    void FailNth(FileOp op, int nth, bool persist = false) { Arm(Slot(op), nth, persist); }
    void FailNth(RegistryOp op, int nth, bool persist = false) { Arm(Slot(op), nth, persist); }
    // Calls of `op` made so far.
    int Calls(FileOp op) const { return m_slots[Slot(op)].calls; }
    int Calls(RegistryOp op) const { return m_slots[Slot(op)].calls; }
    // Call number `nth` of all calls (counted from 1 since the last Reset) is struck.
    void StrikeCall(int nth, Strike strike) {
        m_strikeAt = nth;
        m_strike = strike;
    }
    // Calls of every operation made so far, those after a death included.
    int TotalCalls() const { return m_total; }
    bool Dead() const { return m_dead; }
    // Forgets every count and every armed fault.
    void Reset() {
        m_slots = {};
        m_total = 0;
        m_strikeAt = 0;
        m_dead = false;
    }

    // Counts one call of `op`; true when that call is to fail.
    bool Fails(FileOp op) { return Count(Slot(op)); }
    bool Fails(RegistryOp op) { return Count(Slot(op)); }

private:
    struct Counter {
        int calls = 0;
        int failAt = 0;  // 0: never
        bool persist = false;
    };
    static constexpr std::size_t kFileOps = static_cast<std::size_t>(FileOp::Count);
    static std::size_t Slot(FileOp op) { return static_cast<std::size_t>(op); }
    static std::size_t Slot(RegistryOp op) { return kFileOps + static_cast<std::size_t>(op); }
    void Arm(std::size_t slot, int nth, bool persist) {
        m_slots[slot].failAt = nth;
        m_slots[slot].persist = persist;
    }
    bool Count(std::size_t slot) {
        Counter& counter = m_slots[slot];
        ++counter.calls;
        if (++m_total == m_strikeAt) {
            if (m_strike == Strike::die) m_dead = true;
            return true;
        }
        if (m_dead) return true;
        if (counter.failAt <= 0) return false;
        return counter.calls == counter.failAt || (counter.persist && counter.calls > counter.failAt);
    }
    std::array<Counter, kFileOps + static_cast<std::size_t>(RegistryOp::Count)> m_slots{};
    int m_total = 0;
    int m_strikeAt = 0;  // 0: never
    Strike m_strike = Strike::fail;
    bool m_dead = false;
};

class FaultyFileSystem : public ProxyFileSystem {
public:
    FaultyFileSystem(IFileSystem& inner, FaultInjector& faults) : ProxyFileSystem(inner), m_faults(faults) {}

    void Search(const std::string& pattern, const std::function<bool(const FoundEntry&)>& visit) override;
    std::unique_ptr<IReadStream> OpenRead(const std::string& path) override;
    std::unique_ptr<IWriteStream> OpenWrite(const std::string& path, WriteMode mode) override;
    bool Copy(const std::string& from, const std::string& to) override;
    bool Delete(const std::string& path) override;
    bool MoveReplacing(const std::string& from, const std::string& to) override;
    bool Rename(const std::string& from, const std::string& to) override;
    bool CreateFolder(const std::string& path) override;
    bool RemoveFolder(const std::string& path) override;
    WriteAccess ProbeWrite(const std::string& path) override;

private:
    FaultInjector& m_faults;
};

class FaultyRegistry : public IRegistry {
public:
    FaultyRegistry(IRegistry& inner, FaultInjector& faults) : m_inner(inner), m_faults(faults) {}

    bool KeyExists(RegistryRoot root, const std::string& path) override;
    bool EnumValue(RegistryRoot root, const std::string& path, unsigned index, RegistryValue& out) override;
    bool EnumSubkey(RegistryRoot root, const std::string& path, unsigned index, std::string& name) override;
    bool DeleteKey(RegistryRoot root, const std::string& path) override;
    bool CreateKey(RegistryRoot root, const std::string& path) override;
    bool ReadValue(RegistryRoot root, const std::string& path, const std::string& name, std::string& data) override;
    bool SetValue(RegistryRoot root, const std::string& path, const std::string& name,
                  const std::string& text) override;
    bool KeyWritable(RegistryRoot root, const std::string& path) override;
    bool Contents(RegistryRoot root, const std::string& path, KeyContents& out) override;
    bool DeleteValue(RegistryRoot root, const std::string& path, const std::string& name) override;

private:
    IRegistry& m_inner;
    FaultInjector& m_faults;
};

}  // namespace qm
