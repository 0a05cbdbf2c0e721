#pragma once
// The sound events Windows keeps for the current user, as the "Event Sounds" group shows
// them. Below HKEY_CURRENT_USER "AppEvents\Schemes\Apps" every program that registered
// sounds has an application key (the window calls it a scheme, ".Default" being the system
// sounds), and every sound event an event key below that. Windows plays the file named by
// the event's ".current" key; this program marks the events it may change in an
// "Active-QM" key of its own next to it ("Yes" or "No").
#include <string>
#include <vector>

#include "platform/Registry.h"

namespace qm {

extern const char kAppsKey[];         // "AppEvents\\Schemes\\Apps"
extern const char kCurrentKeyName[];  // ".current"
extern const char kMarkerKeyName[];   // "Active-QM"
extern const char kMarkedText[];      // "Yes"
extern const char kUnmarkedText[];    // "No"

constexpr unsigned kMaxSchemesListed = 100;  // application keys looked at, by index
constexpr unsigned kMaxEventsListed = 50;    // event keys looked at per scheme

// A key name as the lists show it: one leading dot removed.
std::string WithoutLeadingDot(const std::string& name);
// The application key of a scheme as the chooser shows it; "Default" stands for ".Default",
// every other text is the key's own name.
std::string ApplicationKeyOf(const std::string& scheme);
// Scheme and event texts ignore the case of ASCII letters only: the program's own rule for
// them, under which accented letters keep their case and their byte order.
// Whether `text` begins with `prefix`.
bool BeginsWithIgnoringCase(const std::string& text, const std::string& prefix);
// Text order, as the sorted chooser and event list place their items.
bool ListOrderLess(const std::string& a, const std::string& b);

// The schemes of the first 100 application keys, sorted. A name that a listed scheme
// already begins with (ignoring case) is dropped, as the chooser's prefix search drops it,
// so enumeration order decides which of two such names stays.
std::vector<std::string> ListSchemes(IRegistry& registry);

// One event of the selected scheme, as a row of the event list shows it.
struct EventRow {
    std::string name;         // the event key's name without one leading dot
    std::string keyName;      // the event key's own name, which the row reads and writes
    bool marked = false;      // the row's check box
    std::string currentFile;  // file-name part of the ".current" value, empty when none
};

// The rows of the first 50 event keys of `scheme`, sorted by name; of two keys shown under
// exactly the same name (".Open" and "Open") the first enumerated is kept. Marks and files
// are not read here.
std::vector<EventRow> ListEvents(IRegistry& registry, const std::string& scheme);

// The event key a row addresses. A dotted event (".Default" under ".Default") keeps its
// dot here, so a new sound reaches the event Windows actually plays.
std::string EventKeyOf(const std::string& scheme, const EventRow& row);

// Reads the row's mark: only the exact text "Yes" marks it.
void ReadEventMark(IRegistry& registry, const std::string& scheme, EventRow& row);
// Reads the file name of the row's current sound.
void ReadCurrentFile(IRegistry& registry, const std::string& scheme, EventRow& row);

// Writes the text of a key below an event: deleted and created again with only its
// default value. A key that cannot be deleted because it has subkeys of its own (which
// Windows NT refuses to delete) gets its default value set in place, its subkeys kept.
bool WriteEventKeyText(IRegistry& registry, const std::string& key, const std::string& text);

// Writes "Yes" or "No" to the row's marker key, creating it when missing.
bool WriteMarker(IRegistry& registry, const std::string& scheme, const EventRow& row, bool marked);

}  // namespace qm
