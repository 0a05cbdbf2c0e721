#pragma once
// The kind of a file by its ending, the one rule that the chooser's listing, its option
// controls, what it records and the additions to the pools all follow. An ending is taken
// whole and in one of two spellings, all lower or all upper case (".jpg" and ".JPG", never
// ".Jpg"), as Windows 95 programs named them. Bitmaps are the pictures every Windows shows;
// the other pictures need the Windows Imaging Component to be turned into a bitmap.
#include <string>

namespace qm {

enum class FileKind { none, sound, wallpaper, screenSaver };

// `pictures`: whether pictures other than bitmaps can be decoded here.
FileKind KindOfName(const std::string& name, bool pictures);
// A ".bmp" or ".BMP" file: installed byte for byte.
bool IsBitmapName(const std::string& name);
// A JPEG by its ending: the one kind whose orientation is read from its EXIF segment.
bool IsJpegName(const std::string& name);

}  // namespace qm
