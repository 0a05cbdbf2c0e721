#include "randomize/SoundSchemes.h"

#include <algorithm>

#include "platform/LetterCase.h"
#include "pools/FileSearch.h"
#include "pools/RegistryAccess.h"

namespace qm {

const char kAppsKey[] = "AppEvents\\Schemes\\Apps";
const char kCurrentKeyName[] = ".current";
const char kMarkerKeyName[] = "Active-QM";
const char kMarkedText[] = "Yes";
const char kUnmarkedText[] = "No";

namespace {

const char kDefaultScheme[] = "Default";
const char kDefaultKey[] = ".Default";

// Subkey names of `path` by index 0, 1, 2, ... up to `limit` of them, stopping at the
// first index past the last one.
std::vector<std::string> SubkeyNames(IRegistry& registry, const std::string& path, unsigned limit) {
    std::vector<std::string> names;
    std::string name;
    for (unsigned i = 0; i < limit && registry.EnumSubkey(RegistryRoot::CurrentUser, path, i, name); ++i)
        names.push_back(name);
    return names;
}

}  // namespace

std::string WithoutLeadingDot(const std::string& name) {
    return !name.empty() && name[0] == '.' ? name.substr(1) : name;
}

std::string ApplicationKeyOf(const std::string& scheme) {
    return std::string(kAppsKey) + "\\" + (scheme == kDefaultScheme ? kDefaultKey : scheme);
}

bool BeginsWithIgnoringCase(const std::string& text, const std::string& prefix) {
    return prefix.size() <= text.size() &&
           EqualIgnoringAsciiCase(std::string_view(text).substr(0, prefix.size()), prefix);
}

bool ListOrderLess(const std::string& a, const std::string& b) {
    return LessIgnoringAsciiCase(a, b);
}

std::vector<std::string> ListSchemes(IRegistry& registry) {
    std::vector<std::string> schemes;
    for (const std::string& key : SubkeyNames(registry, kAppsKey, kMaxSchemesListed)) {
        std::string scheme = WithoutLeadingDot(key);
        // A key named "." would list an empty scheme whose "events" are the applications.
        if (scheme.empty()) continue;
        bool covered = std::any_of(schemes.begin(), schemes.end(),
                                   [&](const std::string& listed) { return BeginsWithIgnoringCase(listed, scheme); });
        if (!covered) schemes.push_back(scheme);
    }
    std::stable_sort(schemes.begin(), schemes.end(), ListOrderLess);
    return schemes;
}

std::vector<EventRow> ListEvents(IRegistry& registry, const std::string& scheme) {
    std::vector<EventRow> rows;
    for (const std::string& key : SubkeyNames(registry, ApplicationKeyOf(scheme), kMaxEventsListed)) {
        EventRow row;
        row.name = WithoutLeadingDot(key);
        row.keyName = key;
        bool shown = std::any_of(rows.begin(), rows.end(), [&](const EventRow& r) { return r.name == row.name; });
        if (!shown) rows.push_back(row);
    }
    std::stable_sort(rows.begin(), rows.end(),
                     [](const EventRow& a, const EventRow& b) { return ListOrderLess(a.name, b.name); });
    return rows;
}

std::string EventKeyOf(const std::string& scheme, const EventRow& row) {
    return ApplicationKeyOf(scheme) + "\\" + row.keyName;
}

void ReadEventMark(IRegistry& registry, const std::string& scheme, EventRow& row) {
    const std::string key = EventKeyOf(scheme, row) + "\\" + kMarkerKeyName;
    row.marked = ReadRegistryString(registry, RegistryRoot::CurrentUser, key) == kMarkedText;
}

void ReadCurrentFile(IRegistry& registry, const std::string& scheme, EventRow& row) {
    const std::string key = EventKeyOf(scheme, row) + "\\" + kCurrentKeyName;
    row.currentFile = FileNameOfPath(ReadRegistryString(registry, RegistryRoot::CurrentUser, key));
}

bool WriteEventKeyText(IRegistry& registry, const std::string& key, const std::string& text) {
    if (WriteRegistryString(registry, key, text, RegistryRoot::CurrentUser)) return true;
    std::string child;
    if (!registry.EnumSubkey(RegistryRoot::CurrentUser, key, 0, child)) return false;
    return registry.SetValue(RegistryRoot::CurrentUser, key, std::string(), text);
}

bool WriteMarker(IRegistry& registry, const std::string& scheme, const EventRow& row, bool marked) {
    return WriteEventKeyText(registry, EventKeyOf(scheme, row) + "\\" + kMarkerKeyName,
                             marked ? kMarkedText : kUnmarkedText);
}

}  // namespace qm
