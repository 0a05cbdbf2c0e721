#pragma once
// Installing a wallpaper that is not a bitmap: the picture is decoded, turned upright from
// its EXIF orientation, laid over the desktop colour where it is transparent, scaled down to
// the primary screen when it is centred and larger, and written as a 24-bit bitmap to the
// installed copy, which holds the old bitmap or the new one whole. Since the copy's size is
// then not the picture's, the picture it was made from is remembered for the next start.
#include <string>

#include "randomize/DisplaySettings.h"

namespace qm {

// False, with the installed copy as it was, when the picture cannot be decoded (no decoder,
// a corrupt or truncated file, one that is no picture, a frame above kMaxPicturePixels).
bool InstallPicture(DisplayContext& display, const std::string& source, const std::string& target, bool centred);

// The picture whose conversion the installed copy at `installedPath` is, while the copy still
// has the size it had then; empty otherwise (another copy, or a bitmap, was installed since).
std::string ConvertedPictureOf(IRegistry& registry, IFileSystem& files, const std::string& installedPath);
// A bitmap was installed: no picture is remembered any more.
void ForgetConvertedPicture(IRegistry& registry);

}  // namespace qm
