// Pictures from BMP files (every bit depth and row order), refused files,
// game paths that differ in letter case, and PNG snapshots.
#include <gtest/gtest.h>
#include <png.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/headless.h"

namespace {

constexpr int PictureWidth = 5;  // odd, so that rows need padding
constexpr int PictureHeight = 3;

uint32_t PaletteColour(int index) { return MakeColour(index, 255 - index, (index * 7) & 0xFF); }

// The colour the fixture holds at x, y for a bit depth: a palette index with
// the diagonal at the highest index (so flips and mirrors show), or for 24
// and 32 bits a colour of its own.
uint32_t FixtureColour(int bits, int x, int y) {
    if (bits >= 24) return MakeColour(x * 40 + 1, y * 80 + 2, x == y ? 255 : 3);
    int top = (1 << bits) - 1;
    return PaletteColour(x == y ? top : (x + 4 * y) % top);
}

void Put16(std::vector<unsigned char>& out, int v) {
    out.push_back((unsigned char)v);
    out.push_back((unsigned char)(v >> 8));
}
void Put32(std::vector<unsigned char>& out, long v) {
    Put16(out, (int)(v & 0xFFFF));
    Put16(out, (int)((v >> 16) & 0xFFFF));
}

// A minimal BMP writer for the fixtures (BITMAPINFOHEADER, uncompressed).
std::vector<unsigned char> WriteBmp(int bits, bool topDown) {
    int colours = bits <= 8 ? 1 << bits : 0;
    int rowBytes = ((PictureWidth * bits + 31) / 32) * 4;
    int offset = 14 + 40 + colours * 4;
    std::vector<unsigned char> out;
    out.push_back('B');
    out.push_back('M');
    Put32(out, offset + rowBytes * PictureHeight);
    Put32(out, 0);
    Put32(out, offset);
    Put32(out, 40);
    Put32(out, PictureWidth);
    Put32(out, topDown ? -PictureHeight : PictureHeight);
    Put16(out, 1);
    Put16(out, bits);
    Put32(out, 0);  // BI_RGB
    Put32(out, rowBytes * PictureHeight);
    Put32(out, 2835);
    Put32(out, 2835);
    Put32(out, colours);
    Put32(out, 0);
    for (int i = 0; i < colours; ++i) {
        uint32_t c = PaletteColour(i);
        out.push_back((unsigned char)ColourBlue(c));
        out.push_back((unsigned char)ColourGreen(c));
        out.push_back((unsigned char)ColourRed(c));
        out.push_back(0);
    }
    for (int row = 0; row < PictureHeight; ++row) {
        int y = topDown ? row : PictureHeight - 1 - row;
        std::vector<unsigned char> line((size_t)rowBytes, 0);
        for (int x = 0; x < PictureWidth; ++x) {
            uint32_t c = FixtureColour(bits, x, y);
            if (bits >= 24) {
                int at = x * bits / 8;
                line[at] = (unsigned char)ColourBlue(c);
                line[at + 1] = (unsigned char)ColourGreen(c);
                line[at + 2] = (unsigned char)ColourRed(c);
            } else {
                int index = ColourRed(c);  // PaletteColour keeps the index in red
                int bit = x * bits;
                line[bit / 8] |= (unsigned char)(index << (8 - bits - bit % 8));
            }
        }
        out.insert(out.end(), line.begin(), line.end());
    }
    return out;
}

void WriteFile(const std::string& path, const std::vector<unsigned char>& bytes) {
    FILE* f = fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr) << path;
    if (!bytes.empty()) fwrite(bytes.data(), 1, bytes.size(), f);
    fclose(f);
}

TEST(Pictures, BmpFilesOfEveryDepthAndRowOrderLoadAtTheirNaturalSize) {
    mkdir("gdata", 0755);
    for (int bits : {1, 4, 8, 24, 32})
        for (bool topDown : {false, true}) {
            SCOPED_TRACE(testing::Message() << bits << " bits" << (topDown ? ", top-down" : ", bottom-up"));
            WriteFile("gdata/picture.gdat", WriteBmp(bits, topDown));
            SurfaceHandle picture = PlatformLoadPicture("gdata\\picture.gdat");
            ASSERT_NE(picture, nullptr);
            int w, h;
            PlatformSurfaceSize(picture, &w, &h);
            EXPECT_EQ(w, PictureWidth);
            EXPECT_EQ(h, PictureHeight);
            for (int y = 0; y < PictureHeight; ++y)
                for (int x = 0; x < PictureWidth; ++x)
                    EXPECT_EQ(HeadlessReadPixel(picture, x, y), FixtureColour(bits, x, y)) << x << "," << y;
            PlatformReleaseSurface(picture);
        }
}

TEST(Pictures, MissingOrBrokenFilesGiveNoPicture) {
    std::vector<unsigned char> good = WriteBmp(24, false);
    std::vector<unsigned char> truncated(good.begin(), good.begin() + 60);
    std::vector<unsigned char> badMagic = good;
    badMagic[0] = 'X';
    std::vector<unsigned char> garbage;
    for (int i = 0; i < 300; ++i) garbage.push_back((unsigned char)(i * 37 + 11));
    struct Case {
        const char* Name;
        std::vector<unsigned char> Bytes;
    } cases[] = {{"empty", {}}, {"garbage", garbage}, {"truncated", truncated}, {"bad magic", badMagic}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        WriteFile("broken.gdat", c.Bytes);
        EXPECT_EQ(PlatformLoadPicture("broken.gdat"), nullptr);
    }
    EXPECT_EQ(PlatformLoadPicture("gdata\\no-such-file.gdat"), nullptr);
    EXPECT_EQ(PlatformLoadPicture(nullptr), nullptr);
}

TEST(Pictures, GamePathsFindFilesThatDifferInLetterCase) {
    mkdir("GData2", 0755);
    mkdir("GData2/G00", 0755);
    WriteFile("GData2/G00/KY03A.GDAT", WriteBmp(8, false));
    SurfaceHandle picture = PlatformLoadPicture("gdata2\\g00\\ky03a.gdat");
    EXPECT_NE(picture, nullptr);
    PlatformReleaseSurface(picture);
}

TEST(Pictures, PngSnapshotHoldsTheSurfacePixels) {
    SurfaceHandle s = PlatformCreateSurface(3, 2);
    const uint32_t colours[] = {MakeColour(1, 2, 3), MakeColour(255, 0, 0), MakeColour(0, 255, 0),
                                MakeColour(0, 0, 255), MakeColour(208, 202, 192), MakeColour(255, 255, 255)};
    for (int i = 0; i < 6; ++i) PlatformDrawLine(s, i % 3, i / 3, i % 3 + 1, i / 3, colours[i]);
    ASSERT_EQ(HeadlessSavePng(s, "snapshot.png"), 1);
    EXPECT_EQ(HeadlessSavePng(s, "no-such-folder/snapshot.png"), 0);
    EXPECT_EQ(HeadlessSavePng(nullptr, "null.png"), 0);
    PlatformReleaseSurface(s);

    png_image image;
    memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&image, "snapshot.png"));
    EXPECT_EQ(image.width, 3u);
    EXPECT_EQ(image.height, 2u);
    image.format = PNG_FORMAT_RGB;
    unsigned char rgb[18];
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, rgb, 9, nullptr));
    for (int i = 0; i < 6; ++i) EXPECT_EQ(MakeColour(rgb[i * 3], rgb[i * 3 + 1], rgb[i * 3 + 2]), colours[i]) << i;
}

}  // namespace
