#pragma once
// Building sound-event trees and sound pools for tests, and a view that records what the
// event-sounds model asked it to show.
#include <string>
#include <vector>

#include "core/TestPlatform.h"
#include "pools/Pools.h"
#include "pools/RegistryAccess.h"
#include "randomize/EventSounds.h"

namespace qm::test {

const RegistryRoot HKCU = RegistryRoot::CurrentUser;

inline std::string EventKey(const std::string& appKey, const std::string& event) {
    return std::string(kAppsKey) + "\\" + appKey + "\\" + event;
}

// An event key under application key `appKey`; a text of "-" leaves that key out.
inline void AddEvent(IRegistry& registry, const std::string& appKey, const std::string& event,
                     const std::string& current = "-", const std::string& marker = "-") {
    const std::string key = EventKey(appKey, event);
    registry.CreateKey(HKCU, key);
    if (current != "-") WriteRegistryString(registry, key + "\\.current", current, HKCU);
    if (marker != "-") WriteRegistryString(registry, key + "\\Active-QM", marker, HKCU);
}

inline std::string Current(IRegistry& registry, const std::string& appKey, const std::string& event) {
    return ReadRegistryString(registry, HKCU, EventKey(appKey, event) + "\\.current");
}

inline std::string Marker(IRegistry& registry, const std::string& appKey, const std::string& event) {
    return ReadRegistryString(registry, HKCU, EventKey(appKey, event) + "\\Active-QM");
}

// A sound pool: each entry a path and the schemes it is listed for.
inline CPools SoundPool(const std::vector<std::pair<std::string, std::vector<std::string>>>& sounds) {
    CPools pools;
    pools.Reset(100);
    for (const auto& [path, schemes] : sounds) {
        pools.m_soundFiles.push_back(path);
        SchemeList list = pools.NewSchemeList();
        list.names = schemes;
        pools.m_soundSchemes.push_back(list);
        ++pools.m_nSoundFiles;
    }
    return pools;
}

class RecordingSoundsView : public IEventSoundsView {
public:
    void ShowScheme(int index) override {
        shownSchemes.push_back(index);
        if (reverseRows && model) {
            std::vector<int> order;
            for (int i = static_cast<int>(model->Rows().size()) - 1; i >= 0; --i) order.push_back(i);
            model->SetRowOrder(order);
        }
    }
    void ShowRow(int row) override { shownRows.push_back(row); }
    void ShowMessage(const std::string& text) override { messages.push_back(text); }

    CEventSounds* model = nullptr;
    bool reverseRows = false;  // a view that sorts its rows the other way round
    std::vector<int> shownSchemes;
    std::vector<int> shownRows;
    std::vector<std::string> messages;
};

// The names shown by the rows, in row order.
inline std::vector<std::string> RowNames(const CEventSounds& sounds) {
    std::vector<std::string> names;
    for (const auto& row : sounds.Rows()) names.push_back(row.name);
    return names;
}

inline int IndexOfScheme(const CEventSounds& sounds, const std::string& scheme) {
    const auto& schemes = sounds.Schemes();
    for (std::size_t i = 0; i < schemes.size(); ++i)
        if (schemes[i] == scheme) return static_cast<int>(i);
    return -1;
}

}  // namespace qm::test
