#pragma once
// The portable half of installing a photograph as the wallpaper: the Windows Imaging
// Component decodes and scales a frame, but under Wine it neither reads the EXIF orientation
// nor turns a picture by 90 degrees, and the desktop wants a plain 24-bit bitmap file. Those
// steps live here, on pixels in memory, so that they are tested natively. Every function takes
// bad input (a buffer that does not match its size, a size without area or too large) without
// crashing: it gives an empty result instead.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace qm {

// Pixels of a picture, top row first, 3 bytes a pixel (blue, green, red), rows packed.
struct PictureSize {
    int width = 0;
    int height = 0;
};
struct BgrPicture {
    PictureSize size;
    std::vector<std::uint8_t> bgr;
};

// The largest frame the program decodes: above it a picture counts as corrupt. Its size is read
// from the header before any pixel is decoded, so no giant allocation happens.
constexpr long long kMaxPicturePixels = 100'000'000;

// Whether a frame of this size is refused: more than kMaxPicturePixels, or a width or height
// of 0 or below.
bool PictureTooLarge(PictureSize size);

// How far into a JPEG the EXIF segment is looked for: a segment must begin within the first
// 64 KB, where cameras and editors put it, so that a file without one is not walked through.
constexpr std::size_t kExifSearchBytes = 64 * 1024;

// The orientation tag (274) of a JPEG's EXIF segment (APP1 "Exif\0\0", TIFF header II or MM,
// IFD0), 1 to 8. 1 when the file has none, or the data is truncated, malformed, loops back
// into its header or names a value outside 1 to 8. Only segments before the image data (SOS)
// that begin within the first kExifSearchBytes are read; nothing outside `data` is.
int ReadJpegOrientation(const std::uint8_t* data, std::size_t size);

// Turns a picture upright from its EXIF orientation: 2 mirror, 3 turn 180, 4 flip, 5 transpose,
// 6 turn 90 clockwise, 7 transverse, 8 turn 90 anticlockwise (5 to 8 swap width and height).
// Any other orientation leaves the picture as it is.
BgrPicture Upright(const BgrPicture& picture, int orientation);

// A centred wallpaper larger than the screen (in either direction) is scaled down to fit it,
// keeping its proportions (rounded to the nearest pixel, a half up, never 0); one that fits is
// not scaled. A tiled wallpaper is never scaled: the caller only asks for centred ones. With a
// picture or screen without area there is nothing to fit and the picture's size comes back.
PictureSize FitWithin(PictureSize picture, PictureSize screen);

// 32-bit BGRA pixels (top row first, alpha not premultiplied, as WIC's 32bppBGRA) laid over an
// opaque colour (0x00BBGGRR, as COLORREF), giving BGR: a transparent pixel comes out in that
// colour, a half-transparent one blended, each channel rounded to the nearest value.
BgrPicture OverColour(PictureSize size, const std::vector<std::uint8_t>& bgra, std::uint32_t colour);

// The bytes of a 24-bit Windows bitmap file of the picture: BITMAPFILEHEADER (14 bytes, "BM"),
// BITMAPINFOHEADER (40 bytes, positive height: rows bottom-up, each padded to 4 bytes with
// zeros), no palette, biSizeImage set, 2835 pixels per metre (72 dpi) in both directions.
std::string BitmapFileBytes(const BgrPicture& picture);

}  // namespace qm
