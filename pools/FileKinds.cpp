#include "pools/FileKinds.h"

#include <algorithm>

#include "platform/LetterCase.h"

namespace qm {

namespace {

// True when `name` ends in `lower` or in its upper-case spelling.
bool EndsIn(const std::string& name, const char* lower) {
    const std::string ending(lower);
    if (name.size() < ending.size()) return false;
    const std::string tail = name.substr(name.size() - ending.size());
    std::string upper = ending;
    std::transform(upper.begin(), upper.end(), upper.begin(), UpperAscii);
    return tail == ending || tail == upper;
}

}  // namespace

bool IsBitmapName(const std::string& name) { return EndsIn(name, ".bmp"); }

bool IsJpegName(const std::string& name) { return EndsIn(name, ".jpg") || EndsIn(name, ".jpeg"); }

FileKind KindOfName(const std::string& name, bool pictures) {
    if (EndsIn(name, ".wav")) return FileKind::sound;
    if (EndsIn(name, ".scr")) return FileKind::screenSaver;
    if (IsBitmapName(name)) return FileKind::wallpaper;
    if (pictures)
        for (const char* ending : {".jpg", ".jpeg", ".png", ".gif", ".tif", ".tiff"})
            if (EndsIn(name, ending)) return FileKind::wallpaper;
    return FileKind::none;
}

}  // namespace qm
