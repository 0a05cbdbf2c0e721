#pragma once
// Pictures other than bitmaps (JPEG, PNG, GIF, TIFF) as the program uses them: the size of
// a file's first frame, and that frame decoded and scaled. The Win32 backend uses the
// Windows Imaging Component (a system DLL from Windows XP SP3 on, and in Wine); where it
// cannot be created, nothing but bitmaps is used.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace qm {

class IPictureDecoder {
public:
    virtual ~IPictureDecoder() = default;
    // False where the decoder cannot be had on this system.
    virtual bool Available() = 0;
    // Chooses, from a frame's own size as its header gives it (before any pixel is decoded),
    // the size to decode it at; false refuses the frame.
    using SizeChoice = std::function<bool(int width, int height, int& decodeWidth, int& decodeHeight)>;
    // Opens the file once: its first frame (of an animated GIF, the first picture), at the size
    // `choose` gives, as 32-bit BGRA pixels, top row first, rows packed, scaled with a
    // high-quality filter where that is not its own size. False when the file is no picture
    // the decoder knows (whatever its name's ending says), `choose` refuses it, or it cannot
    // be decoded whole.
    virtual bool Decode(const std::string& path, const SizeChoice& choose, std::vector<std::uint8_t>& bgra) = 0;
};

}  // namespace qm
