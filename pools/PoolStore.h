#pragma once
// The one owner of what the pools keep on disk and in the registry: the pool file, the three
// counters and the places they live in for this user. Every read and write of the pools'
// stored state goes through it, so the rules of loading, adding and rewriting are applied in
// one place: a load reads the counted records; an addition appends or rewrites so that every
// record readable before stays readable; a rewrite applies the user's changes alone; the
// counters always cover the file's whole records.
#include <string>

#include "platform/FileSystem.h"
#include "platform/Registry.h"
#include "platform/System.h"
#include "pools/CounterWrites.h"
#include "pools/PoolAddition.h"
#include "pools/PoolLoader.h"
#include "pools/PoolRewrite.h"
#include "pools/Pools.h"
#include "pools/StoragePlaces.h"

namespace qm {

class CPoolStore {
public:
    // `registry` is the system's registry; the store reads and writes the program's keys in
    // the places chosen by ChoosePlaces, and hands that view on through Registry().
    CPoolStore(IRegistry& registry, IFileSystem& files, ISystem& system)
        : m_settings(registry), m_files(files), m_system(system) {}

    // Settles, before anything is read, where this user's pools and settings live. Only
    // Windows NT has per-user places (Windows 95 and 98 let every user write everywhere).
    // `windowsDir` ends in a backslash; empty, it leaves the pools without a place.
    StorageChoice ChoosePlaces(const std::string& windowsDir);
    const StoragePlaces& Places() const { return m_places; }
    // The registry with the program's keys where this user keeps them.
    IRegistry& Registry() { return m_settings; }

    PoolLoadResult Load(CPools& pools, int schemeCapacity) {
        return LoadPools(pools, m_settings, m_files, m_system, m_places.poolFolder, schemeCapacity);
    }
    AdditionOutcome Add(CPools& pools, const ChosenFiles& chosen) {
        return AddChosenFiles(pools, m_settings, m_files, m_system, m_places.poolFolder, chosen);
    }
    RewriteResult ApplyChanges(const PoolChanges& changes) {
        return RewritePools(m_files, m_settings, m_system, m_places.poolFolder, changes);
    }
    PoolCounts Counters() { return ReadPoolCounters(m_settings); }
    // The add command is refused when the counters together exceed 9,500.
    bool Full() { return PoolsAreFull(m_settings); }

private:
    SettingsRegistry m_settings;
    IFileSystem& m_files;
    ISystem& m_system;
    StoragePlaces m_places;
};

}  // namespace qm
