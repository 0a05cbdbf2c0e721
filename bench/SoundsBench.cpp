// How long randomizing every sound scheme takes: 100 schemes of 50 marked events each, and
// how many registry calls one randomized event costs (listing, reading its row, writing
// its ".current" key by delete and create).
//
// Natively the registry is the in-memory fake. Built for Windows and started with
// --real-registry, it runs on the real registry of the current user (under Wine: the
// prefix's), replacing "AppEvents\Schemes\Apps" and removing it again at the end, so run it
// only in a test prefix. Exits non-zero only when the run randomized the wrong number of
// events; a missed speed target is printed, not failed.
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/fake/FakeRegistry.h"
#include "platform/fault/FaultInjection.h"
#include "pools/Pools.h"
#include "pools/RegistryAccess.h"
#include "randomize/EventSounds.h"
#ifdef _WIN32
#include "platform/win32/Win32Platform.h"
#endif

namespace {

using namespace qm;

constexpr int kSchemes = 100;
constexpr int kEvents = 50;
constexpr int kSounds = 100;
constexpr int kSchemesPerSound = 10;
constexpr double kTargetSeconds = 2.0;
const RegistryRoot HKCU = RegistryRoot::CurrentUser;

// Adds up the time spent in each registry operation.
class TimedRegistry : public IRegistry {
public:
    explicit TimedRegistry(IRegistry& inner) : m_inner(inner) {}
    bool KeyExists(RegistryRoot r, const std::string& p) override {
        return Time(RegistryOp::KeyExists, [&] { return m_inner.KeyExists(r, p); });
    }
    bool EnumValue(RegistryRoot r, const std::string& p, unsigned i, RegistryValue& out) override {
        return Time(RegistryOp::EnumValue, [&] { return m_inner.EnumValue(r, p, i, out); });
    }
    bool EnumSubkey(RegistryRoot r, const std::string& p, unsigned i, std::string& name) override {
        return Time(RegistryOp::EnumSubkey, [&] { return m_inner.EnumSubkey(r, p, i, name); });
    }
    bool DeleteKey(RegistryRoot r, const std::string& p) override {
        return Time(RegistryOp::DeleteKey, [&] { return m_inner.DeleteKey(r, p); });
    }
    bool CreateKey(RegistryRoot r, const std::string& p) override {
        return Time(RegistryOp::CreateKey, [&] { return m_inner.CreateKey(r, p); });
    }
    bool ReadValue(RegistryRoot r, const std::string& p, const std::string& n, std::string& d) override {
        return Time(RegistryOp::ReadValue, [&] { return m_inner.ReadValue(r, p, n, d); });
    }
    bool SetValue(RegistryRoot r, const std::string& p, const std::string& n, const std::string& t) override {
        return Time(RegistryOp::SetValue, [&] { return m_inner.SetValue(r, p, n, t); });
    }
    bool KeyWritable(RegistryRoot r, const std::string& p) override {
        return Time(RegistryOp::KeyWritable, [&] { return m_inner.KeyWritable(r, p); });
    }
    bool Contents(RegistryRoot r, const std::string& p, KeyContents& out) override {
        return Time(RegistryOp::Contents, [&] { return m_inner.Contents(r, p, out); });
    }
    bool DeleteValue(RegistryRoot r, const std::string& p, const std::string& n) override {
        return Time(RegistryOp::DeleteValue, [&] { return m_inner.DeleteValue(r, p, n); });
    }
    double Seconds(RegistryOp op) const { return m_seconds[static_cast<int>(op)]; }

private:
    template <typename Call>
    bool Time(RegistryOp op, Call call) {
        const auto start = std::chrono::steady_clock::now();
        const bool result = call();
        m_seconds[static_cast<int>(op)] +=
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        return result;
    }
    IRegistry& m_inner;
    double m_seconds[static_cast<int>(RegistryOp::Count)] = {};
};

class CountingView : public IEventSoundsView {
public:
    void ShowScheme(int) override {}
    void ShowRow(int) override { ++rowsShown; }
    void ShowMessage(const std::string& text) override { std::printf("message: %s\n", text.c_str()); }
    int rowsShown = 0;
};

std::string Numbered(const char* stem, int n) {
    char text[32];
    std::snprintf(text, sizeof text, "%s%03d", stem, n);
    return text;
}

void DeleteTree(IRegistry& registry, const std::string& path) {
    std::vector<std::string> children;
    std::string child;
    for (unsigned i = 0; registry.EnumSubkey(HKCU, path, i, child); ++i) children.push_back(child);
    for (const auto& name : children) DeleteTree(registry, path + "\\" + name);
    registry.DeleteKey(HKCU, path);
}

void BuildTree(IRegistry& registry) {
    DeleteTree(registry, kAppsKey);
    for (int s = 0; s < kSchemes; ++s)
        for (int e = 0; e < kEvents; ++e) {
            const std::string event = std::string(kAppsKey) + "\\" + Numbered("Scheme", s) + "\\" + Numbered("Event", e);
            WriteRegistryString(registry, event + "\\.current", "C:\\Media\\old.wav", HKCU);
            WriteRegistryString(registry, event + "\\Active-QM", "Yes", HKCU);
        }
}

// Every sound listed for ten schemes, so that each scheme has ten candidates.
CPools BuildPool() {
    CPools pools;
    pools.Reset(kSchemesPerSound);
    for (int i = 0; i < kSounds; ++i) {
        pools.m_soundFiles.push_back("C:\\Sounds\\" + Numbered("sound", i) + ".wav");
        SchemeList list = pools.NewSchemeList();
        for (int k = 0; k < kSchemesPerSound; ++k) list.names.push_back(Numbered("Scheme", (i + k * 10) % kSchemes));
        pools.m_soundSchemes.push_back(list);
        ++pools.m_nSoundFiles;
    }
    return pools;
}

}  // namespace

int main(int argc, char** argv) {
    bool real = argc > 1 && std::strcmp(argv[1], "--real-registry") == 0;
    std::unique_ptr<IRegistry> backend;
#ifdef _WIN32
    if (real) backend = std::make_unique<Win32Registry>();
#endif
    if (!backend) {
        real = false;
        backend = std::make_unique<FakeRegistry>();
    }
    BuildTree(*backend);
    CPools pools = BuildPool();

    FaultInjector counter;  // arms no fault: it only counts the calls
    FaultyRegistry counted(*backend, counter);
    TimedRegistry timed(counted);
    CountingView view;
    CEventSounds sounds(timed, view);
    CRandom random;
    random.Seed(1);
    sounds.FillSchemeList();
    counter.Reset();

    const auto start = std::chrono::steady_clock::now();
    sounds.RandomizeAllSchemes(pools, random, true);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    const char* names[] = {"KeyExists", "EnumValue", "EnumSubkey", "DeleteKey", "CreateKey",
                           "ReadValue", "SetValue",  "KeyWritable", "Contents", "DeleteValue"};
    static_assert(sizeof names / sizeof names[0] == static_cast<int>(RegistryOp::Count));
    int calls = 0;
    std::printf("RandomizeAllSchemes, %d schemes x %d marked events, %s registry\n", kSchemes, kEvents,
                real ? "real" : "in-memory");
    const int events = view.rowsShown;
    for (int op = 0; op < static_cast<int>(RegistryOp::Count); ++op) {
        int n = counter.Calls(static_cast<RegistryOp>(op));
        calls += n;
        std::printf("  %-10s %7d calls, %.2f per event, %6.3f s\n", names[op], n, events ? double(n) / events : 0.0,
                    timed.Seconds(static_cast<RegistryOp>(op)));
    }
    std::printf("  events randomized: %d\n  time: %.3f s (%.1f us per event; target under %.1f s: %s)\n", events,
                seconds, events ? seconds * 1e6 / events : 0.0, kTargetSeconds,
                seconds < kTargetSeconds ? "met" : "MISSED");
    std::printf("  registry calls per randomized event: %.2f\n", events ? double(calls) / events : 0.0);
    if (real) DeleteTree(*backend, kAppsKey);
    return events == kSchemes * kEvents ? 0 : 1;
}
