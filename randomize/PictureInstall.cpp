#include "randomize/PictureInstall.h"

#include "pools/FileSearch.h"
#include "pools/FileKinds.h"
#include "pools/ProgramKeys.h"
#include "pools/RegistryAccess.h"
#include "pools/WholeFiles.h"
#include "randomize/Picture.h"

namespace qm {

namespace {

// A JPEG's EXIF segment begins within its first kExifSearchBytes and runs at most 64 KB.
int OrientationOf(IFileSystem& files, const std::string& path) {
    std::string head;
    if (!ReadWhole(files, path, head, kExifSearchBytes + 64 * 1024)) return 1;
    return ReadJpegOrientation(reinterpret_cast<const std::uint8_t*>(head.data()), head.size());
}

}  // namespace

bool InstallPicture(DisplayContext& display, const std::string& source, const std::string& target, bool centred) {
    IPictureDecoder* decoder = display.pictures;
    if (!decoder) return false;
    const int orientation = IsJpegName(source) ? OrientationOf(display.files, source) : 1;
    const bool turned = orientation >= 5;  // orientations 5 to 8 swap width and height
    PictureSize screen;
    const bool fit = centred && display.system.PrimaryScreenSize(screen.width, screen.height);
    PictureSize decoded;
    auto choose = [&](int width, int height, int& decodeWidth, int& decodeHeight) {
        const PictureSize frame{width, height};
        if (PictureTooLarge(frame)) return false;  // from the header, before any pixel
        const PictureSize upright = turned ? PictureSize{height, width} : frame;
        const PictureSize shown = fit ? FitWithin(upright, screen) : upright;
        decoded = turned ? PictureSize{shown.height, shown.width} : shown;
        decodeWidth = decoded.width;
        decodeHeight = decoded.height;
        return true;
    };
    std::vector<std::uint8_t> bgra;
    if (!decoder->Decode(source, choose, bgra)) return false;
    const BgrPicture picture = Upright(OverColour(decoded, bgra, display.system.DesktopColour()), orientation);
    bgra = std::vector<std::uint8_t>();  // given back before the file's bytes are made
    const std::string bytes = BitmapFileBytes(picture);
    if (bytes.empty()) return false;
    if (!ReplaceWhole(display.files, target, target + ".tmp", bytes)) return false;
    WriteRegistryString(display.registry, kInstalledPictureKey, std::to_string(bytes.size()) + "|" + source,
                        RegistryRoot::LocalMachine);
    return true;
}

std::string ConvertedPictureOf(IRegistry& registry, IFileSystem& files, const std::string& installedPath) {
    const std::string text = ReadRegistryString(registry, RegistryRoot::LocalMachine, kInstalledPictureKey);
    const std::size_t bar = text.find('|');
    if (bar == std::string::npos || bar == 0) return std::string();
    const long long size = TextToInt(text.substr(0, bar));
    if (size <= 0 || static_cast<long long>(FileSizeOf(files, installedPath)) != size) return std::string();
    return text.substr(bar + 1);
}

void ForgetConvertedPicture(IRegistry& registry) {
    registry.DeleteKey(RegistryRoot::LocalMachine, kInstalledPictureKey);
}

}  // namespace qm
