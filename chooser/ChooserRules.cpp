#include "chooser/ChooserRules.h"

#include "platform/LetterCase.h"
#include "pools/FileKinds.h"

namespace qm {

namespace {

bool BeginsWithProductName(const std::string& name) {
    const std::string folded = FoldPath(name);
    return folded.compare(0, 10, "QUILL MERE") == 0 || folded.compare(0, 9, "QUILLMERE") == 0;
}

}  // namespace

int ListedFileImage(const std::string& name, bool pictures) {
    if (BeginsWithProductName(name)) return -1;
    switch (KindOfName(name, pictures)) {
    case FileKind::sound: return imageSound;
    case FileKind::none: return -1;
    default: return imageDocuments;
    }
}

OptionGroups OptionsForSelection(const std::vector<std::string>& selected) {
    OptionGroups groups;
    for (const std::string& name : selected) {
        const FileKind kind = KindOfName(name, true);
        if (kind == FileKind::sound) groups.sound = true;
        else if (kind == FileKind::wallpaper) groups.wallpaper = true;
    }
    return groups;
}

ChooserSelection RecordSelection(const std::vector<std::string>& selected, bool pictures) {
    ChooserSelection selection;
    for (const std::string& name : selected) {
        const FileKind kind = KindOfName(name, pictures);
        if (kind == FileKind::none) continue;
        selection.names.push_back(name);
        if (kind == FileKind::wallpaper) ++selection.bmpCount;
        else if (kind == FileKind::screenSaver) ++selection.scrCount;
        else ++selection.wavCount;
    }
    return selection;
}

}  // namespace qm
