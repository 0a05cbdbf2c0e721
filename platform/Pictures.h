#pragma once
// Pictures other than bitmaps (JPEG, PNG, GIF, TIFF) as the program uses them: the size of
// a file's first frame, and that frame decoded and scaled. The Win32 backend uses the
// Windows Imaging Component (a system DLL from Windows XP SP3 on, and in Wine); where it
// cannot be created, nothing but bitmaps is used.
#include <cstdint>
#include <string>
#include <vector>

namespace qm {

class IPictureDecoder {
public:
    virtual ~IPictureDecoder() = default;
    // False where the decoder cannot be had on this system.
    virtual bool Available() = 0;
    // The first frame's size as its header gives it, before any pixel is decoded; false when
    // the file is no picture the decoder knows (whatever its name's ending says).
    virtual bool FrameSize(const std::string& path, int& width, int& height) = 0;
    // The first frame (of an animated GIF, the first picture) as 32-bit BGRA pixels, top row
    // first, rows packed, scaled to `width` x `height` with a high-quality filter where that
    // is not its own size. False when it cannot be decoded whole.
    virtual bool DecodeScaled(const std::string& path, int width, int height, std::vector<std::uint8_t>& bgra) = 0;
};

}  // namespace qm
