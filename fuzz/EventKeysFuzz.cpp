// libFuzzer target of the sound randomizer over arbitrary scheme and event keys.
//
// Input layout:
//   bytes 0, 1    the seed of the random generator (little-endian);
//   byte 2        bit 0: the randomization runs unattended (no message for an empty pool);
//                 bit 1: the view lists the rows in reverse order;
//   the rest      records, each an operation byte and its fields. A name or data field is
//                 a length byte and that many bytes (fewer at the end of the input). An
//                 operation byte op does op % 7 (for 2 and 3, op / 7 odd spells the key's
//                 name in other letter case):
//     0  name     an application key below HKCU\AppEvents\Schemes\Apps;
//     1  name     an event key below the last application key (".Default" when none was);
//     2  data     the last event's ".current" key, its default value the data;
//     3  data     the last event's "Active-QM" marker key, its default value the data;
//     4  name     a key below the last key made (any name: nested keys below ".current");
//     5  name, data  a value of that name (empty: the default value) in the last key made;
//     6  data, count, scheme bytes  a sound of the pool, the data its path, count % 4
//                 scheme names, each byte choosing one from the application keys made so
//                 far (with and without their leading dot), "Default" and, for 255, the
//                 empty name that ends a list.
// Key names take the bytes as they are, bytes of 128 and above included, except that a
// backslash (which separates keys) and a zero byte (key names reach Windows as
// zero-terminated text) become '_'; an empty name makes no key.
//
// The schemes and every scheme's events are listed, then every scheme is randomized. The
// whole registry, both roots, is compared before and after: the only change allowed is the
// ".current" key of an event that the listing showed, that is marked (its marker's first
// value reads exactly "Yes") and whose scheme has a sound in the pool. Every such key must
// hold one of those sounds as its default value afterwards, and what else it holds must be
// what a rewrite of it keeps: nothing when it had no subkeys, else its subkeys and named
// values as they were.
// A violated check prints what failed and traps.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "fuzz/FuzzCheck.h"
#include "platform/LetterCase.h"
#include "platform/fake/FakeRegistry.h"
#include "pools/FileEntry.h"
#include "pools/Pools.h"
#include "randomize/EventSounds.h"
#include "randomize/Random.h"
#include "randomize/SoundSchemes.h"

namespace qm::fuzz {

const char kFuzzTarget[] = "event-keys";

}  // namespace qm::fuzz

namespace {

using namespace qm;
using qm::fuzz::Check;

const RegistryRoot kUser = RegistryRoot::CurrentUser;
const char kApps[] = "AppEvents\\Schemes\\Apps";

class InputReader {
public:
    InputReader(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}
    bool AtEnd() const { return m_at >= m_size; }
    std::uint8_t Byte() { return AtEnd() ? 0 : m_data[m_at++]; }
    // A length byte and up to that many bytes.
    std::string Field() {
        const std::size_t length = std::min<std::size_t>(Byte(), m_size - std::min(m_at, m_size));
        std::string field(reinterpret_cast<const char*>(m_data + m_at), length);
        m_at += length;
        return field;
    }
    std::string KeyName() {
        std::string name = Field();
        for (char& c : name)
            if (c == '\\' || c == '\0') c = '_';
        return name;
    }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_at = 0;
};

// Builds the tree and the pool from the records.
struct Scene {
    FakeRegistry registry;
    CPools pools;
    std::vector<std::string> schemeNames{"Default"};  // what a sound's scheme byte chooses from

    void Build(InputReader& in) {
        pools.Reset(CFileEntry::kMaxSchemes);
        std::string app, event, last;
        while (!in.AtEnd()) {
            const std::uint8_t op = in.Byte();
            const bool otherCase = (op / 7) % 2 == 1;
            switch (op % 7) {
                case 0:
                    if (MakeKey(std::string(kApps), in.KeyName(), app)) {
                        AddSchemeNames(app.substr(sizeof kApps));
                        event.clear();
                        last = app;
                    }
                    break;
                case 1:
                    if (app.empty() && MakeKey(std::string(kApps), ".Default", app)) AddSchemeNames(".Default");
                    if (MakeKey(app, in.KeyName(), event)) last = event;
                    break;
                case 2:
                case 3: {
                    const std::string data = in.Field();
                    const char* name = op % 7 == 2 ? (otherCase ? ".CURRENT" : ".current")
                                                   : (otherCase ? "active-qm" : "Active-QM");
                    if (!event.empty() && MakeKey(event, name, last))
                        registry.SetRawValue(kUser, last, std::string(), data);
                    break;
                }
                case 4: {
                    std::string made;
                    const std::string name = in.KeyName();
                    if (!last.empty() && MakeKey(last, name, made)) last = made;
                    break;
                }
                case 5: {
                    const std::string name = in.Field();
                    const std::string data = in.Field();
                    if (!last.empty()) registry.SetRawValue(kUser, last, name, data);
                    break;
                }
                default:
                    AddSound(in);
                    break;
            }
        }
    }

private:
    bool MakeKey(const std::string& parent, const std::string& name, std::string& path) {
        if (name.empty()) return false;
        path = parent + "\\" + name;
        return registry.CreateKey(kUser, path);
    }
    void AddSchemeNames(const std::string& appKey) {
        schemeNames.push_back(appKey);
        if (appKey[0] == '.') schemeNames.push_back(appKey.substr(1));
    }
    void AddSound(InputReader& in) {
        pools.m_soundFiles.push_back(in.Field());
        SchemeList list = pools.NewSchemeList();
        for (int count = in.Byte() % 4; count > 0; --count) {
            const std::uint8_t choice = in.Byte();
            list.names.push_back(choice == 255 ? std::string() : schemeNames[choice % schemeNames.size()]);
        }
        pools.m_soundSchemes.push_back(list);
        ++pools.m_nSoundFiles;
    }
};

// Everything a key holds, as listed through the registry's interface.
struct KeyState {
    std::string name;  // as spelled
    std::vector<RegistryValue> values;
    std::size_t subkeys = 0;  // a key with any cannot be deleted, so a rewrite keeps its values
};
using Snapshot = std::map<std::string, KeyState>;  // by root and folded path

std::string SnapshotKey(RegistryRoot root, const std::string& path) {
    return (root == kUser ? "HKCU\\" : "HKLM\\") + FoldPath(path);
}

void Walk(IRegistry& registry, RegistryRoot root, const std::string& path, const std::string& name,
          Snapshot& snapshot) {
    KeyState state;
    state.name = name;
    RegistryValue value;
    for (unsigned i = 0; registry.EnumValue(root, path, i, value); ++i) state.values.push_back(value);
    std::string child;
    for (unsigned i = 0; registry.EnumSubkey(root, path, i, child); ++i) {
        ++state.subkeys;
        Walk(registry, root, path.empty() ? child : path + "\\" + child, child, snapshot);
    }
    snapshot[SnapshotKey(root, path)] = std::move(state);
}

Snapshot Take(IRegistry& registry) {
    Snapshot snapshot;
    for (RegistryRoot root : {RegistryRoot::LocalMachine, kUser})
        Walk(registry, root, std::string(), std::string(), snapshot);
    return snapshot;
}

bool SameValues(const std::vector<RegistryValue>& a, const std::vector<RegistryValue>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i].name != b[i].name || a[i].data != b[i].data) return false;
    return true;
}

// Whether the event's marker reads exactly "Yes": its first value, up to a zero byte.
bool Marked(const Snapshot& snapshot, const std::string& eventKey) {
    auto marker = snapshot.find(SnapshotKey(kUser, eventKey + "\\Active-QM"));
    return marker != snapshot.end() && !marker->second.values.empty() &&
           std::string(marker->second.values[0].data.c_str()) == "Yes";
}

// The paths of the pool's sounds whose scheme list names `scheme` before its first empty name.
std::vector<std::string> SoundsFor(const CPools& pools, const std::string& scheme) {
    std::vector<std::string> paths;
    for (std::size_t i = 0; i < pools.m_soundSchemes.size(); ++i)
        for (const std::string& name : pools.m_soundSchemes[i].names) {
            if (name.empty()) break;
            if (name == scheme) {
                paths.push_back(pools.m_soundFiles[i]);
                break;
            }
        }
    return paths;
}

// A ".current" key that may be rewritten, and the sounds it may then hold.
using Rewrites = std::map<std::string, std::vector<std::string>>;

// The rewrite of a ".current" key: a default value from `sounds` first; the rest as the
// key held it when it had subkeys (its deletion is refused and the value set in place),
// nothing when it had none or did not exist.
void CheckRewritten(const KeyState* was, const KeyState& now, const std::vector<std::string>& sounds) {
    bool fromPool = false;
    for (const std::string& path : sounds)
        fromPool = fromPool || (!now.values.empty() && now.values[0].name.empty() &&
                                now.values[0].data == path + std::string(1, '\0'));
    Check(fromPool, "a randomized .current does not hold a sound of its scheme as its default value");
    std::vector<RegistryValue> rest;
    if (was && was->subkeys > 0)
        for (const RegistryValue& value : was->values)
            if (!value.name.empty()) rest.push_back(value);
    Check(SameValues(std::vector<RegistryValue>(now.values.begin() + 1, now.values.end()), rest),
          "a randomized .current holds other values than a rewrite keeps");
}

class CountingView : public IEventSoundsView {
public:
    void ShowScheme(int) override {
        if (!reverseRows || !model) return;
        std::vector<int> order;
        for (int i = static_cast<int>(model->Rows().size()) - 1; i >= 0; --i) order.push_back(i);
        model->SetRowOrder(order);
    }
    void ShowRow(int) override {}
    void ShowMessage(const std::string&) override { ++messages; }

    CEventSounds* model = nullptr;
    bool reverseRows = false;
    int messages = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    InputReader in(data, size);
    const unsigned seedLow = in.Byte();
    const unsigned seed = seedLow | (static_cast<unsigned>(in.Byte()) << 8);
    const std::uint8_t options = in.Byte();
    const bool unattended = (options & 1) != 0;
    Scene scene;
    scene.Build(in);
    const Snapshot before = Take(scene.registry);

    CountingView view;
    view.reverseRows = (options & 2) != 0;
    CEventSounds sounds(scene.registry, view);
    view.model = &sounds;
    sounds.FillSchemeList();
    Rewrites rewrites;
    for (int i = 0; i < static_cast<int>(sounds.Schemes().size()); ++i) {
        sounds.SelectScheme(i);
        const std::string& scheme = sounds.Schemes()[i];
        const std::string appKey = std::string(kApps) + "\\" + (scheme == "Default" ? ".Default" : scheme);
        const std::vector<std::string> poolSounds = SoundsFor(scene.pools, scheme);
        for (const EventRow& row : sounds.Rows()) {
            const std::string eventKey = appKey + "\\" + row.keyName;
            Check(before.count(SnapshotKey(kUser, eventKey)) == 1, "a listed event has no key");
            const bool marked = Marked(before, eventKey);
            Check(row.marked == marked, "a row's mark differs from its marker key");
            if (!marked || poolSounds.empty()) continue;
            std::vector<std::string>& allowed = rewrites[SnapshotKey(kUser, eventKey + "\\.current")];
            allowed.insert(allowed.end(), poolSounds.begin(), poolSounds.end());
        }
    }

    CRandom random;
    random.Seed(seed);
    sounds.RandomizeAllSchemes(scene.pools, random, unattended);
    Check(view.messages == (scene.pools.m_nSoundFiles == 0 && !unattended ? 1 : 0),
          "the empty-pool message was shown wrongly");

    const Snapshot after = Take(scene.registry);
    for (const auto& [key, was] : before) {
        auto now = after.find(key);
        auto rewrite = rewrites.find(key);
        if (rewrite == rewrites.end()) {
            // Its subkeys are keys of the snapshot themselves, each compared on its own.
            Check(now != after.end() && now->second.name == was.name && SameValues(now->second.values, was.values),
                  "a key that no randomized event owns changed or went");
            continue;
        }
        Check(now != after.end(), "a randomized .current key went");
        CheckRewritten(&was, now->second, rewrite->second);
    }
    for (const auto& [key, now] : after) {
        if (before.count(key)) continue;
        auto rewrite = rewrites.find(key);
        Check(rewrite != rewrites.end(), "a key was made that no randomized event owns");
        CheckRewritten(nullptr, now, rewrite->second);
    }
    for (const auto& [key, allowed] : rewrites)
        Check(after.count(key) == 1, "a marked event of a scheme with sounds got no .current key");
    return 0;
}
