// libFuzzer target of the EXIF orientation of a JPEG.
//
// Input: the bytes of a file, JPEG or not.
//
// ReadJpegOrientation must give 1 to 8 and read nothing outside the input (every copy below
// is a heap block of exactly its length, so that AddressSanitizer sees a read past it). When a
// plain walk over the segments (fill bytes, and markers each followed by a length of at least
// 2 that fits in the input) reaches an SOS marker, what follows the marker is image data and
// cannot change the result: the input cut right after the marker, and the input with an EXIF
// segment naming another orientation appended, both give what the whole input gave.
// A violated check prints what failed and traps.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>

#include "fuzz/FuzzCheck.h"
#include "randomize/Picture.h"

namespace qm::fuzz {

const char kFuzzTarget[] = "exif";

}  // namespace qm::fuzz

namespace {

using qm::fuzz::Check;

// Where the SOS marker's two bytes end, if the walk reaches one; nothing for an input that is
// not a JPEG, a length-less marker, a length that does not fit or an input that ends first.
std::optional<std::size_t> EndOfSosMarker(const std::uint8_t* data, std::size_t size) {
    if (size < 2 || data[0] != 0xFF || data[1] != 0xD8) return std::nullopt;
    std::size_t pos = 2;
    while (pos + 1 < size && data[pos] == 0xFF) {
        const std::uint8_t marker = data[pos + 1];
        if (marker == 0xFF) {
            ++pos;
            continue;
        }
        if (marker == 0xDA) return pos + 2;
        if (marker == 0x00 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD9) || size - pos < 4)
            return std::nullopt;
        const std::size_t length = std::size_t{data[pos + 2]} << 8 | data[pos + 3];
        if (length < 2 || size - pos - 2 < length) return std::nullopt;
        pos += 2 + length;
    }
    return std::nullopt;
}

// An EXIF segment, big-endian, whose IFD0 holds only the orientation `value`.
constexpr std::size_t kExifSegmentBytes = 4 + 6 + 8 + 2 + 12 + 4;
void PutExifSegment(std::uint8_t* out, int value) {
    const std::uint8_t segment[kExifSegmentBytes] = {
        0xFF, 0xE1, 0, kExifSegmentBytes - 2, 'E', 'x', 'i', 'f', 0, 0,  // APP1, its length, "Exif"
        'M', 'M', 0, 42, 0, 0, 0, 8,                                      // TIFF header, IFD0 at 8
        0, 1,                                                             // one entry: 274, SHORT, 1
        0x01, 0x12, 0, 3, 0, 0, 0, 1, 0, static_cast<std::uint8_t>(value), 0, 0,
        0, 0, 0, 0};  // no IFD1
    std::memcpy(out, segment, sizeof segment);
}

// The orientation read from a copy of `head`, followed by an EXIF segment naming
// `appendedValue` unless that is 0.
int OrientationOf(const std::uint8_t* head, std::size_t headSize, int appendedValue) {
    const std::size_t size = headSize + (appendedValue != 0 ? kExifSegmentBytes : 0);
    std::unique_ptr<std::uint8_t[]> copy(new std::uint8_t[size > 0 ? size : 1]);
    if (headSize > 0) std::memcpy(copy.get(), head, headSize);
    if (appendedValue != 0) PutExifSegment(copy.get() + headSize, appendedValue);
    return qm::ReadJpegOrientation(copy.get(), size);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const int orientation = qm::ReadJpegOrientation(data, size);
    Check(orientation >= 1 && orientation <= 8, "the orientation is outside 1 to 8");

    const std::optional<std::size_t> sosEnd = EndOfSosMarker(data, size);
    if (!sosEnd) return 0;
    const int other = orientation % 8 + 1;
    Check(OrientationOf(data, *sosEnd, 0) == orientation,
          "cutting the input after its SOS marker changed the orientation");
    Check(OrientationOf(data, size, other) == orientation,
          "an EXIF segment appended after the SOS marker changed the orientation");
    Check(OrientationOf(data, *sosEnd, other) == orientation,
          "an EXIF segment right after the SOS marker changed the orientation");
    return 0;
}
