// Every writer of stored state, struck at each of its platform calls in turn (a failure of
// that call, then the process ending just before it): what a fresh program then finds is
// the old state or the new one, whole. Natively on the fakes; under Wine on the real
// registry and files.
#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "core/DisplayTestKit.h"
#include "core/PoolBytes.h"
#include "core/PoolFixture.h"
#include "core/SoundTree.h"
#include "core/StoredStateSweep.h"
#include "pools/CounterWrites.h"
#include "pools/FileSearch.h"
#include "pools/PoolAddition.h"
#include "pools/PoolRewrite.h"
#include "pools/StoragePlaces.h"
#include "prefs/Preferences.h"
#include "randomize/SystemIni.h"

namespace qm::test {

namespace {

using Entries = std::set<std::pair<std::string, std::string>>;  // path, what the entry holds

// HKEY_LOCAL_MACHINE as a standard user finds it: it reads, but takes no change.
class MachineKeysRefused : public ProxyRegistry {
public:
    using ProxyRegistry::ProxyRegistry;
    bool CreateKey(RegistryRoot root, const std::string& path) override {
        return root != RegistryRoot::LocalMachine && m_inner.CreateKey(root, path);
    }
    bool DeleteKey(RegistryRoot root, const std::string& path) override {
        return root != RegistryRoot::LocalMachine && m_inner.DeleteKey(root, path);
    }
    bool SetValue(RegistryRoot root, const std::string& path, const std::string& name,
                  const std::string& text) override {
        return root != RegistryRoot::LocalMachine && m_inner.SetValue(root, path, name, text);
    }
    bool DeleteValue(RegistryRoot root, const std::string& path, const std::string& name) override {
        return root != RegistryRoot::LocalMachine && m_inner.DeleteValue(root, path, name);
    }
};

}  // namespace

class StoredState : public PoolFixture {
protected:
    // Five entries (two wallpapers, one screen saver, two sounds of the schemes Alpha and
    // Beta), counted, then `extra` records, and the pools loaded from them.
    void PreparePools(const std::string& extra = std::string(), int extraSounds = 0) {
        for (const char* name : {"a.bmp", "b.bmp", "c.scr", "d.wav", "e.wav", "f.bmp", "g.wav"}) File(name);
        platform->DeleteFile(windowsDir + kPoolTempFileName);
        WritePoolFile(FiveRecords() + extra);
        SetCounters(2 + extraSounds, 2, 1);
        LoadPools(pools, platform->Registry(), platform->Files(), platform->System(), windowsDir, 100);
    }
    std::string FiveRecords() {
        return Record("a.bmp", media, 0, 1, 0, 0, 0) + Record("b.bmp", media, 0, 1, 0, 0, 1) +
               Record("c.scr", media, 0, 0, 1, 0, 0) + Record("d.wav", media, 1, 0, 0, 1, 0, {"Alpha"}) +
               Record("e.wav", media, 1, 0, 0, 2, 0, {"Alpha", "Beta"});
    }
    Entries Five() {
        return {{media + "a.bmp", "tile 0"}, {media + "b.bmp", "tile 1"}, {media + "c.scr", ""},
                {media + "d.wav", "Alpha"}, {media + "e.wav", "Alpha Beta"}};
    }
    // The pools a fresh program loads.
    Entries Loaded() {
        CPools fresh;
        EXPECT_FALSE(
            LoadPools(fresh, platform->Registry(), platform->Files(), platform->System(), windowsDir, 100).fileUnreadable);
        Entries entries;
        for (int i = 0; i < fresh.m_nWallpaperFiles; ++i)
            entries.insert({fresh.m_wallpaperFiles[i], "tile " + std::to_string(fresh.m_wallpaperTile[i])});
        for (const std::string& path : fresh.m_screenSaverFiles) entries.insert({path, ""});
        for (int i = 0; i < fresh.m_nSoundFiles; ++i) {
            std::string names;
            for (const std::string& name : fresh.m_soundSchemes[i].names) names += (names.empty() ? "" : " ") + name;
            entries.insert({fresh.m_soundFiles[i], names});
        }
        return entries;
    }
    // Each loaded entry is as it was or as the change made it, every path both states hold
    // is still there, and nothing else (no torn or foreign record) is.
    void ExpectOldOrNewPools(const Entries& before, const Entries& after, bool whole) {
        const Entries now = Loaded();
        if (whole) {
            EXPECT_EQ(now, after);
            return;
        }
        std::set<std::string> paths, beforePaths;
        for (const auto& entry : now) {
            EXPECT_TRUE(before.count(entry) || after.count(entry)) << entry.first << ": " << entry.second;
            paths.insert(entry.first);
        }
        for (const auto& entry : before) beforePaths.insert(entry.first);
        for (const auto& entry : after)
            if (beforePaths.count(entry.first)) EXPECT_TRUE(paths.count(entry.first)) << entry.first << " was lost";
    }
    void ExpectOneOf(const std::string& actual, const std::string& old, const std::string& fresh, bool whole) {
        if (whole)
            EXPECT_EQ(actual, fresh);
        else
            EXPECT_TRUE(actual == old || actual == fresh) << actual;
    }
    void Sweep(const StoredStateWriter& writer) { SweepEveryCall(*platform, writer); }

    CPools pools;
};

TEST_F(StoredState, AnAdditionByAppendOrByRewriteLosesNothing) {
    Entries after = Five();
    after.insert({{media + "f.bmp", "tile 1"}, {media + "g.wav", "Beta"}});
    // Appended to a file of counted records; rewritten where a record's file is missing.
    for (const std::string& extra : {std::string(), Record("gone.wav", media, 1, 0, 0, 0, 0)}) {
        SCOPED_TRACE(extra.empty() ? "append" : "rewrite");
        bool rewritten = false;
        Sweep({[&] { PreparePools(extra, extra.empty() ? 0 : 1); },
               [&](IRegistry& registry, IFileSystem& files) {
                   rewritten = AddChosenFiles(pools, registry, files, platform->System(), windowsDir,
                                              ChosenFiles{media, {"f.bmp", "g.wav"}, {"Beta"}, true})
                                   .rewritten;
               },
               [&](bool whole) {
                   ExpectOldOrNewPools(Five(), after, whole);
                   if (whole) EXPECT_EQ(rewritten, !extra.empty());
               }});
    }
}

TEST_F(StoredState, MakeChangesLosesNothing) {
    // Beyond the counted records, one the dialog never showed: it is kept.
    const std::string beyond = Record("f.bmp", media, 0, 1, 0, 0, 0);
    PoolChanges changes;
    changes.listed = {media + "a.bmp", media + "b.bmp", media + "c.scr", media + "d.wav", media + "e.wav"};
    changes.removed = {media + "a.bmp"};
    changes.tiles[media + "b.bmp"] = 0;
    changes.schemes[media + "e.wav"] = {"Beta"};
    changes.shownSchemes = {"Alpha", "Beta"};
    const Entries after = {{media + "b.bmp", "tile 0"}, {media + "c.scr", ""}, {media + "d.wav", "Alpha"},
                           {media + "e.wav", "Beta"},   {media + "f.bmp", "tile 0"}};
    Sweep({[&] { PreparePools(beyond); },
           [&](IRegistry& registry, IFileSystem& files) {
               RewritePools(files, registry, platform->System(), windowsDir, changes);
           },
           [&](bool whole) { ExpectOldOrNewPools(Five(), after, whole); }});
}

// A load reads as many records as the counters add up to: whatever fails, every counter
// holds a count and together they still cover the file's five records.
TEST_F(StoredState, CounterWritesNeverCoverFewerRecords) {
    const PoolCounts targets = {3, 1, 1};
    Sweep({[&] { PreparePools(); },
           [&](IRegistry& registry, IFileSystem&) { WritePoolCounters(registry, targets); },
           [&](bool whole) {
               const char* keys[] = {kSoundCounterKey, kWallpaperCounterKey, kScreenSaverCounterKey};
               long long sum = 0;
               for (int pool = 0; pool < 3; ++pool) {
                   const std::string text = ReadRegistryString(platform->Registry(), RegistryRoot::LocalMachine, keys[pool]);
                   EXPECT_FALSE(text.empty()) << keys[pool];
                   sum += TextToInt(text);
                   if (whole) EXPECT_EQ(TextToInt(text), targets[pool]);
               }
               EXPECT_GE(sum, 5);
           }});
}

TEST_F(StoredState, PreferencesHoldTheOldOrTheNewString) {
    Sweep({[&] { SavePreferences(platform->Registry(), CPreferences{"nn", "nnn|"}); },
           [&](IRegistry& registry, IFileSystem&) { SavePreferences(registry, CPreferences{"yy", "yyn3"}); },
           [&](bool whole) {
               ExpectOneOf(ReadRegistryString(platform->Registry(), RegistryRoot::LocalMachine, kPreferencesKey),
                           "nnnnn|;", "yyyyn3;", whole);
           }});
}

// Two schemes of three events: every event's sound is its old file or a new one, and every
// mark is its old text or the new one.
TEST_F(StoredState, EventSoundsAndMarksHoldTheOldOrTheNewText) {
    const std::vector<std::string> schemes = {"Alpha", "Beta"}, events = {"One", "Two", "Three"};
    const CPools sounds = SoundPool({{"C:\\New\\x.wav", schemes}, {"C:\\New\\y.wav", schemes}});
    auto prepare = [&] {
        DeleteKeyTree(platform->Registry(), HKCU, kAppsKey);
        for (const std::string& scheme : schemes)
            for (const std::string& event : events)
                AddEvent(platform->Registry(), scheme, event, "C:\\Old\\" + scheme + event + ".wav",
                         event == "Two" ? "No" : "Yes");
    };
    auto eachEvent = [&](const std::function<void(const std::string&, const std::string&)>& check) {
        for (const std::string& scheme : schemes)
            for (const std::string& event : events) {
                SCOPED_TRACE(scheme + "\\" + event);
                check(scheme, event);
            }
    };
    RecordingSoundsView view;
    CRandom random;
    Sweep({prepare,
           [&](IRegistry& registry, IFileSystem&) {
               CEventSounds model(registry, view);
               model.FillSchemeList();
               model.RandomizeAllSchemes(sounds, random, true);
           },
           [&](bool whole) {
               eachEvent([&](const std::string& scheme, const std::string& event) {
                   const std::string current = Current(platform->Registry(), scheme, event);
                   const bool fresh = current == "C:\\New\\x.wav" || current == "C:\\New\\y.wav";
                   const bool old = current == "C:\\Old\\" + scheme + event + ".wav";
                   if (event == "Two")
                       EXPECT_TRUE(old) << current;  // unmarked
                   else
                       EXPECT_TRUE(fresh || (old && !whole)) << current;
               });
           }});
    Sweep({prepare,
           [&](IRegistry& registry, IFileSystem&) {
               CEventSounds model(registry, view);
               model.FillSchemeList();
               for (int scheme = 0; scheme < static_cast<int>(model.Schemes().size()); ++scheme) {
                   model.SelectScheme(scheme);
                   model.MarkAll(true);
               }
           },
           [&](bool whole) {
               eachEvent([&](const std::string& scheme, const std::string& event) {
                   ExpectOneOf(Marker(platform->Registry(), scheme, event), event == "Two" ? "No" : "Yes", "Yes", whole);
                   EXPECT_EQ(Current(platform->Registry(), scheme, event), "C:\\Old\\" + scheme + event + ".wav");
               });
           }});
}

TEST_F(StoredState, SystemIniAndTheInstalledCopiesHoldTheirOldOrNewContentWhole) {
    const std::string oldIni = "[boot]\r\nSCRNSAVE.EXE=C:\\old.scr\r\nshell=Explorer.exe\r\n";
    const std::string newIni = "[boot]\r\nSCRNSAVE.EXE=C:\\new.scr\r\nshell=Explorer.exe\r\n";
    Sweep({[&] {
               platform->WriteFile(windowsDir + kSystemIniName, oldIni);
               platform->DeleteFile(windowsDir + kSystemIniTempName);
           },
           [&](IRegistry&, IFileSystem& files) { SetScreenSaverInSystemIni(files, windowsDir, "C:\\new.scr"); },
           [&](bool whole) { ExpectOneOf(platform->ReadFile(windowsDir + kSystemIniName), oldIni, newIni, whole); }});

    EventLog log;
    std::string flags = "yy";
    RecordingView view(log, flags);
    CRandom random;
    for (const std::string& installed : {windowsDir + kInstalledWallpaperName, windowsDir + kInstalledScreenSaverName}) {
        SCOPED_TRACE(installed);
        Sweep({[&] {
                   platform->WriteFile(media + "drawn", "the drawn file, all of it");
                   platform->WriteFile(installed, "the copy installed before");
                   platform->DeleteFile(installed + ".tmp");
               },
               [&](IRegistry& registry, IFileSystem& files) {
                   DisplayContext display{registry, files, platform->System(), random, pools, flags, view, windowsDir, true};
                   InstallCopy(display, media + "drawn", installed);
               },
               [&](bool whole) {
                   ExpectOneOf(platform->ReadFile(installed), "the copy installed before", "the drawn file, all of it",
                               whole);
               }});
    }
}

// A standard user's first start copies the machine-wide pools: a process ended anywhere
// leaves no copy (the next start makes it) or a whole one with its counters.
TEST_F(StoredState, ThePerUserCopyIsWholeOrNotThereAndIsMadeAgainNextTime) {
    const std::string userFolder = windowsDir + "user\\Quill Mere\\";
    const std::string userPool = userFolder + kPoolFileName;
    auto chooseAsStandardUser = [&](IRegistry& registry, IFileSystem& files) {
        MachineKeysRefused refused(registry);
        return ChooseStoragePlaces(refused, files, windowsDir, windowsDir + "system32\\", userFolder);
    };
    auto expectWholeCopy = [&] {
        EXPECT_EQ(platform->ReadFile(userPool), FiveRecords());
        SettingsRegistry settings(platform->Registry());
        settings.SetPerUser(true);
        EXPECT_EQ(ReadPoolCounters(settings), (PoolCounts{2, 2, 1}));
        CPreferences prefs;
        EXPECT_EQ(LoadPreferences(settings, prefs), 1);
    };
    Sweep({[&] {
               DeleteKeyTree(platform->Registry(), HKCU, "Software\\Corvalith");
               platform->DeleteFile(userPool);
               platform->DeleteFile(userFolder + kPoolTempFileName);
               platform->WriteFile(windowsDir + "user\\keep.txt", "");
               PreparePools();
               SavePreferences(platform->Registry(), CPreferences{"ny", "ynn|"});
           },
           [&](IRegistry& registry, IFileSystem& files) { chooseAsStandardUser(registry, files); },
           [&](bool whole) {
               if (whole || FindFileInFolder(platform->Files(), userFolder, kPoolFileName)) expectWholeCopy();
               EXPECT_TRUE(chooseAsStandardUser(platform->Registry(), platform->Files()).places.perUser);
               expectWholeCopy();  // the next start
           }});
}

}  // namespace qm::test
