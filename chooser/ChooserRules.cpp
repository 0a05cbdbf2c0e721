#include "chooser/ChooserRules.h"

#include "platform/FoldPath.h"

namespace qm {

namespace {

std::string Tail(const std::string& name, std::size_t count) {
    return name.size() >= count ? name.substr(name.size() - count) : std::string();
}

bool BeginsWithProductName(const std::string& name) {
    const std::string folded = FoldPath(name);
    return folded.compare(0, 10, "QUILL MERE") == 0 || folded.compare(0, 9, "QUILLMERE") == 0;
}

bool HasListedEnding(const std::string& name) {
    const std::string end = Tail(name, 4);
    for (const char* listed : {".wav", ".bmp", ".scr", ".WAV", ".BMP", ".SCR"})
        if (end == listed) return true;
    return false;
}

}  // namespace

int ListedFileImage(const std::string& name) {
    if (BeginsWithProductName(name)) return -1;
    const std::string end = Tail(name, 4);
    if (end == ".wav" || end == ".WAV") return imageSound;
    if (HasListedEnding(name)) return imageDocuments;
    return -1;
}

OptionGroups OptionsForSelection(const std::vector<std::string>& selected) {
    OptionGroups groups;
    for (const std::string& name : selected) {
        const std::string end = Tail(name, 4);
        if (end == ".wav" || end == ".WAV") groups.sound = true;
        else if (end == ".bmp" || end == ".BMP") groups.wallpaper = true;
    }
    return groups;
}

ChooserSelection RecordSelection(const std::vector<std::string>& selected) {
    ChooserSelection selection;
    for (const std::string& name : selected) {
        if (!HasListedEnding(name)) continue;
        selection.names.push_back(name);
        const std::string end = Tail(name, 3);
        if (end == "bmp" || end == "BMP") ++selection.bmpCount;
        else if (end == "scr" || end == "SCR") ++selection.scrCount;
        else ++selection.wavCount;
    }
    return selection;
}

}  // namespace qm
