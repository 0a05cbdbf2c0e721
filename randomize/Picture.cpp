#include "randomize/Picture.h"

#include <algorithm>
#include <cstring>

namespace qm {

namespace {

std::uint64_t PixelCount(PictureSize size) {
    return static_cast<std::uint64_t>(size.width) * static_cast<std::uint64_t>(size.height);
}

// Whether the buffer holds exactly the pixels its size says; only such a picture is worked on.
bool Consistent(const BgrPicture& picture) {
    return !PictureTooLarge(picture.size) && picture.bgr.size() == PixelCount(picture.size) * 3;
}

// --- JPEG and EXIF ---------------------------------------------------------------------

const std::uint8_t kMarkerSoi = 0xD8;
const std::uint8_t kMarkerEoi = 0xD9;
const std::uint8_t kMarkerSos = 0xDA;
const std::uint8_t kMarkerApp1 = 0xE1;
const std::uint8_t kMarkerTem = 0x01;
const std::uint16_t kTagOrientation = 274;
const std::uint16_t kTypeShort = 3;
const std::size_t kTiffHeaderBytes = 8;
const std::size_t kIfdEntryBytes = 12;

// The TIFF data inside the EXIF segment, read in its own byte order. Offsets are from the
// start of the TIFF header, as EXIF counts them; a read past the end gives false.
class TiffReader {
public:
    TiffReader(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    bool ReadByteOrder() {
        if (m_size < 2) return false;
        if (m_data[0] == 'I' && m_data[1] == 'I')
            m_bigEndian = false;
        else if (m_data[0] == 'M' && m_data[1] == 'M')
            m_bigEndian = true;
        else
            return false;
        return true;
    }

    bool U16(std::uint64_t offset, std::uint16_t& value) const {
        if (offset > m_size || m_size - offset < 2) return false;
        const std::uint8_t* p = m_data + offset;
        value =
            m_bigEndian ? static_cast<std::uint16_t>(p[0] << 8 | p[1]) : static_cast<std::uint16_t>(p[1] << 8 | p[0]);
        return true;
    }

    bool U32(std::uint64_t offset, std::uint32_t& value) const {
        std::uint16_t first = 0, second = 0;
        if (!U16(offset, first) || !U16(offset + 2, second)) return false;
        value = m_bigEndian ? (std::uint32_t{first} << 16 | second) : (std::uint32_t{second} << 16 | first);
        return true;
    }

    std::size_t Size() const { return m_size; }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    bool m_bigEndian = false;
};

// The orientation in the TIFF data of an EXIF segment, or 1. Only IFD0 is read: the tag there
// is the main image's; IFD1's would be the thumbnail's.
int OrientationInTiff(const std::uint8_t* data, std::size_t size) {
    TiffReader tiff(data, size);
    std::uint16_t magic = 0;
    std::uint32_t ifd = 0;
    if (!tiff.ReadByteOrder() || !tiff.U16(2, magic) || magic != 42 || !tiff.U32(4, ifd)) return 1;
    // An IFD inside the header would be read from the header's own bytes: a loop, not data.
    if (ifd < kTiffHeaderBytes) return 1;
    std::uint16_t count = 0;
    if (!tiff.U16(ifd, count)) return 1;
    // Every entry the count announces must be there; a count that runs off the end says the
    // directory is not what it claims, so none of its entries is trusted.
    const std::uint64_t entries = std::uint64_t{ifd} + 2;
    if (entries + std::uint64_t{count} * kIfdEntryBytes > tiff.Size()) return 1;
    for (std::uint16_t i = 0; i < count; ++i) {
        const std::uint64_t entry = entries + std::uint64_t{i} * kIfdEntryBytes;
        std::uint16_t tag = 0, type = 0, value = 0;
        std::uint32_t values = 0;
        tiff.U16(entry, tag);
        if (tag != kTagOrientation) continue;
        tiff.U16(entry + 2, type);
        tiff.U32(entry + 4, values);
        // One SHORT, held in the first two bytes of the entry's value field.
        if (type != kTypeShort || values != 1) return 1;
        tiff.U16(entry + 8, value);
        return value >= 1 && value <= 8 ? value : 1;
    }
    return 1;
}

bool IsExifHeader(const std::uint8_t* content, std::size_t length) {
    static const std::uint8_t kExif[6] = {'E', 'x', 'i', 'f', 0, 0};
    return length >= sizeof kExif && std::memcmp(content, kExif, sizeof kExif) == 0;
}

// --- Pixels ----------------------------------------------------------------------------

void PutLe16(std::string& out, std::uint32_t value) {
    out.push_back(static_cast<char>(value & 0xFF));
    out.push_back(static_cast<char>((value >> 8) & 0xFF));
}

void PutLe32(std::string& out, std::uint32_t value) {
    PutLe16(out, value & 0xFFFF);
    PutLe16(out, value >> 16);
}

// A channel of `over` laid on `under` with the given alpha, rounded to the nearest value.
std::uint8_t Blend(std::uint8_t over, std::uint8_t under, std::uint8_t alpha) {
    const unsigned sum = unsigned{over} * alpha + unsigned{under} * (255u - alpha);
    return static_cast<std::uint8_t>((sum + 127u) / 255u);
}

}  // namespace

bool PictureTooLarge(PictureSize size) {
    if (size.width <= 0 || size.height <= 0) return true;
    return PixelCount(size) > static_cast<std::uint64_t>(kMaxPicturePixels);
}

int ReadJpegOrientation(const std::uint8_t* data, std::size_t size) {
    if (data == nullptr || size < 4 || data[0] != 0xFF || data[1] != kMarkerSoi) return 1;
    const std::size_t searchEnd = std::min(size, kExifSearchBytes);
    std::size_t pos = 2;
    while (pos < searchEnd) {
        if (data[pos] != 0xFF || pos + 1 >= size) return 1;  // no marker where one must be
        const std::uint8_t marker = data[pos + 1];
        if (marker == 0xFF) {  // a fill byte, which may come before any marker
            ++pos;
            continue;
        }
        if (marker == kMarkerSos || marker == kMarkerEoi) return 1;  // the image data, or its end, and no EXIF
        if (marker == 0x00 || marker == kMarkerSoi) return 1;
        if (marker == kMarkerTem || (marker >= 0xD0 && marker <= 0xD7)) {  // markers without a length
            pos += 2;
            continue;
        }
        if (size - pos < 4) return 1;
        const std::size_t length = std::size_t{data[pos + 2]} << 8 | data[pos + 3];
        // The length counts its own two bytes, and the whole segment must be in the file.
        if (length < 2 || size - pos - 2 < length) return 1;
        const std::uint8_t* content = data + pos + 4;
        const std::size_t contentLength = length - 2;
        // The first EXIF segment decides; other APP1 segments (XMP, say) are passed over.
        if (marker == kMarkerApp1 && IsExifHeader(content, contentLength))
            return OrientationInTiff(content + 6, contentLength - 6);
        pos += 2 + length;
    }
    return 1;
}

BgrPicture Upright(const BgrPicture& picture, int orientation) {
    if (!Consistent(picture)) return {};
    if (orientation < 2 || orientation > 8) return picture;
    const int w = picture.size.width, h = picture.size.height;
    const bool swaps = orientation >= 5;
    BgrPicture out;
    out.size = swaps ? PictureSize{h, w} : PictureSize{w, h};
    out.bgr.resize(picture.bgr.size());
    // For each pixel of the upright picture, the pixel of the stored one that shows there.
    for (int y = 0; y < out.size.height; ++y) {
        for (int x = 0; x < out.size.width; ++x) {
            int sx = x, sy = y;
            switch (orientation) {
                case 2: sx = w - 1 - x; break;
                case 3: sx = w - 1 - x, sy = h - 1 - y; break;
                case 4: sy = h - 1 - y; break;
                case 5: sx = y, sy = x; break;
                case 6: sx = y, sy = h - 1 - x; break;
                case 7: sx = w - 1 - y, sy = h - 1 - x; break;
                case 8: sx = w - 1 - y, sy = x; break;
            }
            const std::size_t from = (static_cast<std::size_t>(sy) * w + sx) * 3;
            const std::size_t to = (static_cast<std::size_t>(y) * out.size.width + x) * 3;
            std::copy_n(picture.bgr.begin() + from, 3, out.bgr.begin() + to);
        }
    }
    return out;
}

PictureSize FitWithin(PictureSize picture, PictureSize screen) {
    if (picture.width <= 0 || picture.height <= 0 || screen.width <= 0 || screen.height <= 0) return picture;
    if (picture.width <= screen.width && picture.height <= screen.height) return picture;
    const std::uint64_t pw = picture.width, ph = picture.height, sw = screen.width, sh = screen.height;
    // The side that needs the smaller scale takes the screen's length; the other is scaled
    // with it, a half rounded up. The products stay below 2^63 for any two int sizes.
    auto scaled = [](std::uint64_t length, std::uint64_t to, std::uint64_t from) {
        return static_cast<int>(std::max<std::uint64_t>(1, (2 * length * to + from) / (2 * from)));
    };
    if (sw * ph <= sh * pw) return {screen.width, scaled(ph, sw, pw)};
    return {scaled(pw, sh, ph), screen.height};
}

BgrPicture OverColour(PictureSize size, const std::vector<std::uint8_t>& bgra, std::uint32_t colour) {
    if (PictureTooLarge(size) || bgra.size() != PixelCount(size) * 4) return {};
    const std::uint8_t under[3] = {static_cast<std::uint8_t>(colour >> 16), static_cast<std::uint8_t>(colour >> 8),
                                   static_cast<std::uint8_t>(colour)};
    BgrPicture out;
    out.size = size;
    out.bgr.resize(PixelCount(size) * 3);
    for (std::size_t i = 0, o = 0; i < bgra.size(); i += 4, o += 3) {
        const std::uint8_t alpha = bgra[i + 3];
        for (int c = 0; c < 3; ++c) out.bgr[o + c] = Blend(bgra[i + c], under[c], alpha);
    }
    return out;
}

std::string BitmapFileBytes(const BgrPicture& picture) {
    if (!Consistent(picture)) return {};
    const std::uint32_t width = static_cast<std::uint32_t>(picture.size.width);
    const std::uint32_t height = static_cast<std::uint32_t>(picture.size.height);
    // At most kMaxPicturePixels pixels: even one row of them, padded, stays far below 4 GB.
    const std::uint32_t rowBytes = width * 3;
    const std::uint32_t stride = (rowBytes + 3) & ~3u;
    const std::uint32_t imageBytes = stride * height;
    const std::uint32_t headerBytes = 14 + 40;
    const std::uint32_t pixelsPerMetre = 2835;

    std::string out;
    out.reserve(headerBytes + imageBytes);
    out += "BM";
    PutLe32(out, headerBytes + imageBytes);
    PutLe32(out, 0);  // the two reserved words
    PutLe32(out, headerBytes);
    PutLe32(out, 40);
    PutLe32(out, width);
    PutLe32(out, height);
    PutLe16(out, 1);   // planes
    PutLe16(out, 24);  // bits a pixel
    PutLe32(out, 0);   // BI_RGB
    PutLe32(out, imageBytes);
    PutLe32(out, pixelsPerMetre);
    PutLe32(out, pixelsPerMetre);
    PutLe32(out, 0);  // colours used
    PutLe32(out, 0);  // colours important
    for (std::uint32_t row = height; row-- > 0;) {
        const char* first = reinterpret_cast<const char*>(picture.bgr.data()) + std::size_t{row} * rowBytes;
        out.append(first, rowBytes);
        out.append(stride - rowBytes, '\0');
    }
    return out;
}

}  // namespace qm
