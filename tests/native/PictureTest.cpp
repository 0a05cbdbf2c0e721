// Photographs made into wallpaper bitmaps: the EXIF orientation, turning upright, fitting the
// screen, laying transparency over the desktop colour and the bitmap file's bytes.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

#include "randomize/Picture.h"

namespace qm::test {

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Bytes Word(bool bigEndian, std::uint32_t value, int bytes) {
    Bytes out;
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<std::uint8_t>(value >> 8 * (bigEndian ? bytes - 1 - i : i)));
    return out;
}

Bytes Segment(std::uint8_t marker, const Bytes& content, std::size_t length = 0) {
    return Bytes{0xFF, marker} + Word(true, static_cast<std::uint32_t>(length ? length : content.size() + 2), 2) +
           content;
}

const Bytes kJfif = Segment(0xE0, {'J', 'F', 'I', 'F', 0, 1, 1, 0, 0, 1, 0, 1, 0, 0});
const Bytes kImageData = Segment(0xDA, {1, 1, 0, 0, 0x3F, 0}) + Bytes{0x12, 0x34, 0xFF, 0x00, 0xFF, 0xD9};

// TIFF data: the header, then IFD0 at `ifd` (directly after the header unless said) with its
// entry count (the number of entries unless said) and 12-byte entries, each value in the
// first two bytes of its field, as a SHORT is kept.
struct Entry { std::uint16_t tag, type; std::uint32_t count, value; };
Bytes Tiff(bool mm, const std::vector<Entry>& entries, std::uint32_t ifd = 8, int count = -1) {
    Bytes out = Bytes(mm ? Bytes{'M', 'M'} : Bytes{'I', 'I'}) + Word(mm, 42, 2) + Word(mm, ifd, 4) +
                Word(mm, static_cast<std::uint32_t>(count < 0 ? entries.size() : count), 2);
    for (const Entry& e : entries)
        out = out + Word(mm, e.tag, 2) + Word(mm, e.type, 2) + Word(mm, e.count, 4) + Word(mm, e.value, 2) + Bytes(2);
    return out + Bytes(4);  // no IFD1
}
Bytes Orientation(bool mm, std::uint32_t value) { return Tiff(mm, {{271, 2, 4, 0}, {274, 3, 1, value}}); }
Bytes Exif(const Bytes& tiff) { return Segment(0xE1, Bytes{'E', 'x', 'i', 'f', 0, 0} + tiff); }
Bytes Jpeg(const Bytes& segments) { return Bytes{0xFF, 0xD8} + segments + kImageData; }
// Comment segments filling `bytes` bytes of the file.
Bytes Padding(std::size_t bytes) {
    Bytes out;
    for (std::size_t part; bytes > 0; bytes -= part) {
        part = std::min<std::size_t>(bytes, 65537);
        if (bytes - part > 0 && bytes - part < 4) part -= 4;
        out = out + Segment(0xFE, Bytes(part - 4, 'x'));
    }
    return out;
}

// Pixel k of a numbered picture: each channel different, so that a swap of two shows.
Bytes Pixel(int k) { return {std::uint8_t(k), std::uint8_t(0x40 + k), std::uint8_t(0x80 + k)}; }
// A picture whose pixels are numbered row by row.
BgrPicture Numbered(int width, int height) {
    BgrPicture picture{{width, height}, {}};
    for (int k = 0; k < width * height; ++k) picture.bgr = picture.bgr + Pixel(k);
    return picture;
}

std::uint32_t Le(const std::string& bytes, std::size_t at, int width) {
    std::uint32_t value = 0;
    for (int i = width; i-- > 0;) value = value << 8 | static_cast<std::uint8_t>(bytes.at(at + i));
    return value;
}

}  // namespace

TEST(Picture, OrientationOfJpegs) {
    struct Row { std::string label; Bytes jpeg; int expected; };
    std::vector<Row> rows = {
        {"no EXIF", Jpeg(kJfif), 1},
        {"value 0", Jpeg(Exif(Orientation(false, 0))), 1},
        {"value 9", Jpeg(Exif(Orientation(true, 9))), 1},
        {"stored as a LONG", Jpeg(Exif(Tiff(false, {{274, 4, 1, 6}}))), 1},
        {"APP1 not Exif", Jpeg(Segment(0xE1, Bytes{'E', 'x', 'i', 'g', 0, 0} + Orientation(false, 6))), 1},
        {"XMP APP1, then Exif", Jpeg(Segment(0xE1, {'h', 't', 't', 'p', 0}) + Exif(Orientation(false, 6))), 6},
        {"APP0, APP2, COM, then APP1",
         Jpeg(kJfif + Segment(0xE2, {1, 2}) + Segment(0xFE, {}) + Exif(Orientation(true, 8))), 8},
        {"fill bytes before APP1", Bytes{0xFF, 0xD8, 0xFF, 0xFF} + Exif(Orientation(true, 3)) + kImageData, 3},
        // The scan's header is a segment like any other, but what follows it is image data.
        {"SOS before APP1", Bytes{0xFF, 0xD8} + Segment(0xDA, {1, 1, 0, 0, 0x3F, 0}) + Exif(Orientation(false, 6)), 1},
        {"EOI before APP1", Bytes{0xFF, 0xD8, 0xFF, 0xD9} + Exif(Orientation(false, 6)), 1},
        {"no SOI", Exif(Orientation(false, 6)) + kImageData, 1},
        {"segment length past the end",
         Jpeg(Segment(0xE1, Bytes{'E', 'x', 'i', 'f', 0, 0} + Orientation(false, 6), 4000)), 1},
        {"APP1 length below 2", Jpeg(Segment(0xE1, Bytes{'E', 'x', 'i', 'f', 0, 0} + Orientation(false, 6), 1)), 1},
        {"entry count off the end", Jpeg(Exif(Tiff(true, {{274, 3, 1, 6}}, 8, 200))), 1},
        {"IFD offset past the end", Jpeg(Exif(Tiff(false, {{274, 3, 1, 6}}, 0xFFFFFFF0u))), 1},
        // IFD0 at 4 counts 4 entries from byte 6; the second is a good orientation entry.
        {"IFD offset looping into the header",
         Jpeg(Exif(Bytes{'I', 'I', 42, 0, 4, 0, 0, 0, 3, 0, 1, 0, 0, 0, 0, 0, 0, 0} + Word(false, 274, 2) +
                   Word(false, 3, 2) + Word(false, 1, 4) + Word(false, 6, 4) + Bytes(24))),
         1},
        {"APP1 beginning just inside 64 KB", Jpeg(Padding(kExifSearchBytes - 3) + Exif(Orientation(false, 5))), 5},
        {"APP1 beginning at 64 KB", Jpeg(Padding(kExifSearchBytes - 2) + Exif(Orientation(false, 5))), 1},
    };
    for (bool mm : {false, true})
        for (int value = 1; value <= 8; ++value)
            rows.push_back(
                {std::string(mm ? "MM " : "II ") + std::to_string(value), Jpeg(Exif(Orientation(mm, value))), value});
    // The TIFF data cut inside each of its fields, in a segment whose length tells the truth.
    const struct { const char* field; std::size_t cut; } cuts[] = {
        {"byte order", 1}, {"magic", 3}, {"IFD offset", 6}, {"entry count", 9}, {"first entry", 15}, {"tag", 23},
        {"type", 25}, {"count", 29}, {"value", 31}, {"value field", 33}};
    const Bytes tiff = Orientation(true, 6);
    for (const auto& cut : cuts)
        rows.push_back(
            {std::string("TIFF cut in ") + cut.field, Jpeg(Exif(Bytes(tiff.begin(), tiff.begin() + cut.cut))), 1});
    // The file cut anywhere before its orientation entry is whole.
    const Bytes whole = Jpeg(kJfif + Exif(tiff));
    for (std::size_t cut = 0; cut < 2 + kJfif.size() + 10 + 34; ++cut)
        rows.push_back({"file cut at " + std::to_string(cut), Bytes(whole.begin(), whole.begin() + cut), 1});
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        EXPECT_EQ(ReadJpegOrientation(row.jpeg.data(), row.jpeg.size()), row.expected);
    }
    EXPECT_EQ(ReadJpegOrientation(nullptr, 0), 1);
}

TEST(Picture, UprightPutsEachPixelWhereTheOrientationSays) {
    // Which pixel of the stored 3 x 2 picture (0 1 2 / 3 4 5) shows at each place, row by row.
    const struct { int orientation; PictureSize size; const char* order; } rows[] = {
        {1, {3, 2}, "012345"}, {2, {3, 2}, "210543"}, {3, {3, 2}, "543210"}, {4, {3, 2}, "345012"},
        {5, {2, 3}, "031425"}, {6, {2, 3}, "304152"}, {7, {2, 3}, "524130"}, {8, {2, 3}, "251403"},
        {0, {3, 2}, "012345"}, {9, {3, 2}, "012345"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.orientation);
        BgrPicture expected{row.size, {}};
        for (const char* k = row.order; *k; ++k) expected.bgr = expected.bgr + Pixel(*k - '0');
        const BgrPicture upright = Upright(Numbered(3, 2), row.orientation);
        EXPECT_EQ(upright.size.width, row.size.width);
        EXPECT_EQ(upright.size.height, row.size.height);
        EXPECT_EQ(upright.bgr, expected.bgr);
    }
}

TEST(Picture, FitWithinScalesOnlyWhatIsLargerThanTheScreen) {
    const struct { const char* label; PictureSize picture, screen, expected; } rows[] = {
        {"landscape to the screen", {4000, 3000}, {1024, 768}, {1024, 768}},
        {"portrait", {3000, 4000}, {1024, 768}, {576, 768}}, {"fits", {800, 600}, {1024, 768}, {800, 600}},
        {"same size", {1024, 768}, {1024, 768}, {1024, 768}}, {"wide", {2000, 500}, {1024, 768}, {1024, 256}},
        {"only too high", {1000, 1000}, {1024, 768}, {768, 768}},
        {"a half rounds up", {2048, 3}, {1024, 768}, {1024, 2}}, {"thin", {1, 10000}, {1024, 768}, {1, 768}},
        {"largest sizes", {INT_MAX, INT_MAX - 1}, {INT_MAX - 1, INT_MAX}, {INT_MAX - 1, INT_MAX - 2}},
        {"no screen", {4000, 3000}, {0, 768}, {4000, 3000}}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.label);
        const PictureSize fit = FitWithin(row.picture, row.screen);
        EXPECT_EQ(fit.width, row.expected.width);
        EXPECT_EQ(fit.height, row.expected.height);
    }
}

TEST(Picture, OverColourBlendsByAlpha) {
    const std::uint32_t blue = 0x00FF0000, grey = 0x00406080;  // COLORREF: 0x00BBGGRR
    const struct { const char* label; Bytes bgra; std::uint32_t colour; Bytes expected; } rows[] = {
        {"opaque", {10, 20, 30, 255}, blue, {10, 20, 30}}, {"transparent", {10, 20, 30, 0}, blue, {255, 0, 0}},
        {"transparent over grey", {10, 20, 30, 0}, grey, {0x40, 0x60, 0x80}},
        {"half white over black", {255, 255, 255, 128}, 0, {128, 128, 128}},
        {"half black over white", {0, 0, 0, 128}, 0x00FFFFFF, {127, 127, 127}},
        {"a pixel too few", {1, 2, 3}, blue, {}}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.label);
        EXPECT_EQ(OverColour({1, 1}, row.bgra, row.colour).bgr, row.expected);
    }
}

TEST(Picture, BitmapFileHeaderOfAThreeByTwoPicture) {
    const std::string bytes = BitmapFileBytes(Numbered(3, 2));
    ASSERT_EQ(bytes.size(), 54u + 2 * 12);
    EXPECT_EQ(bytes.substr(0, 2), "BM");
    const struct { const char* field; std::size_t at; int width; std::uint32_t expected; } rows[] = {
        {"bfSize", 2, 4, 78}, {"bfReserved", 6, 4, 0}, {"bfOffBits", 10, 4, 54}, {"biSize", 14, 4, 40},
        {"biWidth", 18, 4, 3}, {"biHeight", 22, 4, 2}, {"biPlanes", 26, 2, 1}, {"biBitCount", 28, 2, 24},
        {"biCompression", 30, 4, 0}, {"biSizeImage", 34, 4, 24}, {"biXPelsPerMeter", 38, 4, 2835},
        {"biYPelsPerMeter", 42, 4, 2835}, {"biClrUsed", 46, 4, 0}, {"biClrImportant", 50, 4, 0},
        {"padding of the bottom row", 54 + 9, 3, 0}, {"padding of the top row", 66 + 9, 3, 0}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.field);
        EXPECT_EQ(Le(bytes, row.at, row.width), row.expected);
    }
}

TEST(Picture, BitmapFilePixelsReadBackBottomUp) {
    const struct { const char* label; int width, height; } rows[] = {
        {"1 x 1", 1, 1}, {"3 x 2", 3, 2}, {"4 x 3, no padding", 4, 3}, {"5 x 1", 5, 1}, {"2 x 7", 2, 7}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.label);
        const BgrPicture picture = Numbered(row.width, row.height);
        const std::string bytes = BitmapFileBytes(picture);
        ASSERT_GE(bytes.size(), 54u);
        const std::size_t stride = (row.width * 3 + 3) / 4 * 4;
        ASSERT_EQ(bytes.size(), 54 + stride * row.height);
        Bytes back;
        for (int y = row.height; y-- > 0;)
            back.insert(back.end(), bytes.begin() + 54 + y * stride, bytes.begin() + 54 + y * stride + row.width * 3);
        EXPECT_EQ(back, picture.bgr);
    }
}

TEST(Picture, SizesAndBuffersThatDoNotMatchAreRefused) {
    const struct { const char* label; PictureSize size; bool tooLarge; } rows[] = {
        {"1 x 1", {1, 1}, false}, {"10000 x 10000", {10000, 10000}, false},
        {"10000 x 10001", {10000, 10001}, true}, {"1 x 100000000", {1, 100000000}, false},
        {"1 x 100000001", {1, 100000001}, true}, {"largest ints", {INT_MAX, INT_MAX}, true},
        {"no width", {0, 5}, true}, {"negative height", {5, -1}, true}, {"both negative", {-2, -3}, true}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.label);
        EXPECT_EQ(PictureTooLarge(row.size), row.tooLarge);
        // Without a buffer to match even a picture of an allowed size is refused.
        BgrPicture empty{row.size, {}};
        EXPECT_TRUE(Upright(empty, 6).bgr.empty());
        EXPECT_EQ(BitmapFileBytes(empty), "");
        EXPECT_TRUE(OverColour(row.size, {}, 0).bgr.empty());
    }
    BgrPicture cut = Numbered(3, 2);
    cut.bgr.pop_back();
    EXPECT_EQ(Upright(cut, 1).size.width, 0);
    EXPECT_EQ(BitmapFileBytes(cut), "");
}

}  // namespace qm::test
