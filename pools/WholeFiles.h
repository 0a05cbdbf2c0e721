#pragma once
// Small files read and replaced whole: system.ini, the head of a picture, the installed
// wallpaper converted from one. A replacement is written under a temporary name beside the
// file, put on the disk, then moved over the file in one step, so that nobody ever finds
// it half-written, after a failure, a process ended or a power loss.
#include <cstddef>
#include <limits>
#include <string>

#include "platform/FileSystem.h"

namespace qm {

// The file's first `limit` bytes (all of it by default); false on an error of the platform.
bool ReadWhole(IFileSystem& files, const std::string& path, std::string& text,
               std::size_t limit = std::numeric_limits<std::size_t>::max());

// Puts `bytes` in the place of `target` by way of `temp`. False leaves the target as it
// was and no temporary file behind.
bool ReplaceWhole(IFileSystem& files, const std::string& target, const std::string& temp, const std::string& bytes);

}  // namespace qm
