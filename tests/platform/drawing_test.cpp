// Drawing on software surfaces: rectangles with the pen, lines, transparent
// stretch copies, plain copies, clipping and text.
#include <gtest/gtest.h>
#include <limits.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/headless.h"

namespace {

constexpr uint32_t Back = MakeColour(208, 202, 192);
constexpr uint32_t Fill = MakeColour(0, 0, 200);
constexpr uint32_t Pen = MakeColour(255, 0, 0);
constexpr int Width = 16;
constexpr int Height = 12;

// A small surface painted in the background colour (its black pen kept).
struct SmallSurface {
    SurfaceHandle S = PlatformCreateSurface(Width, Height);
    // The rectangle's border lies just off the surface, so every pixel gets
    // the fill; the pen stays black.
    SmallSurface() { PlatformFillRectangle(S, -1, -1, Width + 1, Height + 1, Back); }
    ~SmallSurface() { PlatformReleaseSurface(S); }
    uint32_t At(int x, int y) const { return HeadlessReadPixel(S, x, y); }
};

struct Box {
    long long X1, Y1, X2, Y2;
};

// Reference of a filled rectangle: the normalised half-open area, its
// outermost rows and columns in the pen colour.
uint32_t ExpectedBox(Box b, int x, int y, uint32_t pen) {
    long long x1 = b.X1 < b.X2 ? b.X1 : b.X2, x2 = b.X1 < b.X2 ? b.X2 : b.X1;
    long long y1 = b.Y1 < b.Y2 ? b.Y1 : b.Y2, y2 = b.Y1 < b.Y2 ? b.Y2 : b.Y1;
    if (x < x1 || x >= x2 || y < y1 || y >= y2) return Back;
    if (x == x1 || x == x2 - 1 || y == y1 || y == y2 - 1) return pen;
    return Fill;
}

TEST(Drawing, FilledRectangleMatchesTheReferenceAtAndBeyondEveryEdge) {
    const Box boxes[] = {
        {2, 3, 9, 8},                    // inside
        {9, 8, 2, 3},                    // corners swapped
        {4, 4, 5, 5},                    // one pixel: all border
        {4, 4, 4, 9},                    // empty width: nothing
        {-5, -5, 3, 3},                  // beyond the top-left
        {10, 6, Width + 7, Height + 2},  // beyond the bottom-right
        {0, 0, Width, Height},           // exactly the surface
        {-1, -1, Width + 1, Height + 1}, // one beyond: the border is off the surface
        {Width, 0, Width + 5, 5},        // entirely right of it
        {INT_MIN, INT_MIN, INT_MAX, INT_MAX},
        {INT_MAX, INT_MAX, INT_MIN, INT_MIN},
        {INT_MIN, 3, 5, INT_MAX},
    };
    for (const Box& b : boxes) {
        SCOPED_TRACE(testing::Message() << b.X1 << "," << b.Y1 << " - " << b.X2 << "," << b.Y2);
        SmallSurface s;
        PlatformFillRectangle(s.S, (int)b.X1, (int)b.Y1, (int)b.X2, (int)b.Y2, Fill);
        for (int y = 0; y < Height; ++y)
            for (int x = 0; x < Width; ++x) ASSERT_EQ(s.At(x, y), ExpectedBox(b, x, y, 0)) << x << "," << y;
    }
}

TEST(Drawing, LineLeavesOutItsEndPointAndItsPenBordersLaterRectangles) {
    struct Case {
        int X1, Y1, X2, Y2;
        const char* Drawn;  // the pixels expected, as "x,y;" items
    } cases[] = {
        {1, 2, 6, 2, "1,2;2,2;3,2;4,2;5,2;"},
        {6, 2, 1, 2, "6,2;5,2;4,2;3,2;2,2;"},
        {3, 1, 3, 4, "3,1;3,2;3,3;"},
        {0, 0, 4, 4, "0,0;1,1;2,2;3,3;"},
        {4, 0, 0, 4, "4,0;3,1;2,2;1,3;"},
        {0, 0, 6, 2, "0,0;1,0;2,1;3,1;4,1;5,2;"},
        {5, 5, 5, 5, ""},
        {-100, 5, 100, 5, "0,5;1,5;2,5;3,5;4,5;5,5;6,5;7,5;8,5;9,5;10,5;11,5;12,5;13,5;14,5;15,5;"},
        {INT_MIN, INT_MIN, INT_MAX, INT_MAX, "0,0;1,1;2,2;3,3;4,4;5,5;6,6;7,7;8,8;9,9;10,10;11,11;"},
        {INT_MAX, 0, INT_MIN, 0, "0,0;1,0;2,0;3,0;4,0;5,0;6,0;7,0;8,0;9,0;10,0;11,0;12,0;13,0;14,0;15,0;"},
        {Width, 3, Width + 50, 9, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.X1 << "," << c.Y1 << " - " << c.X2 << "," << c.Y2);
        SmallSurface s;
        PlatformDrawLine(s.S, c.X1, c.Y1, c.X2, c.Y2, Pen);
        std::string drawn;
        for (int y = 0; y < Height; ++y)
            for (int x = 0; x < Width; ++x)
                if (s.At(x, y) == Pen) drawn += std::to_string(x) + "," + std::to_string(y) + ";";
        // Compare as sets: sort the items.
        auto items = [](const std::string& text) {
            std::vector<std::string> list;
            size_t at = 0;
            while (at < text.size()) {
                size_t end = text.find(';', at);
                list.push_back(text.substr(at, end - at));
                at = end + 1;
            }
            std::sort(list.begin(), list.end());
            return list;
        };
        EXPECT_EQ(items(drawn), items(c.Drawn));

        // The line's pen stays selected and draws the next rectangle's border.
        Box b{8, 6, 12, 10};
        PlatformFillRectangle(s.S, 8, 6, 12, 10, Fill);
        EXPECT_EQ(s.At(8, 6), ExpectedBox(b, 8, 6, Pen));
        EXPECT_EQ(s.At(9, 7), Fill);
    }
}

// A 32 x 32 source with a black key pixel on every fifth diagonal.
SurfaceHandle MakeIcon() {
    SurfaceHandle icon = PlatformCreateSurface(32, 32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            if ((x + y) % 5 != 0) PlatformDrawLine(icon, x, y, x + 1, y, MakeColour(x * 8, y * 8, 100));
    return icon;
}

TEST(Drawing, TransparentStretchPicksNearestPixelsAndSkipsBlack) {
    SurfaceHandle icon = MakeIcon();
    SurfaceHandle target = PlatformCreateSurface(200, 200);
    PlatformFillRectangle(target, -1, -1, 201, 201, Back);
    PlatformTransparentBlit(target, 100, 100, 48, 48, icon, 0, 0, 32, 32);
    for (int y = 90; y < 160; ++y)
        for (int x = 90; x < 160; ++x) {
            uint32_t expected = Back;
            if (x >= 100 && x < 148 && y >= 100 && y < 148) {
                int sx = (x - 100) * 32 / 48, sy = (y - 100) * 32 / 48;
                uint32_t source = HeadlessReadPixel(icon, sx, sy);
                if (source != 0) expected = source;
            }
            ASSERT_EQ(HeadlessReadPixel(target, x, y), expected) << x << "," << y;
        }
    PlatformReleaseSurface(target);
    PlatformReleaseSurface(icon);
}

TEST(Drawing, CopiesAreClippedToBothSurfaces) {
    SurfaceHandle icon = MakeIcon();
    struct Blit {
        int Dx, Dy, Dw, Dh, Sx, Sy, Sw, Sh;
    } blits[] = {
        {-40, -40, 48, 48, 0, 0, 32, 32},
        {Width - 3, Height - 2, 48, 48, 0, 0, 32, 32},
        {0, 0, Width, Height, 20, 20, 32, 32},  // source partly outside
        {0, 0, Width, Height, -50, -50, 32, 32},
        {INT_MIN, INT_MIN, INT_MAX, INT_MAX, 0, 0, 32, 32},
        {2, 2, INT_MAX, INT_MAX, INT_MIN, INT_MIN, INT_MAX, INT_MAX},
        {0, 0, 0, 5, 0, 0, 32, 32},
        {0, 0, -5, -5, 0, 0, 32, 32},
    };
    for (const Blit& b : blits) {
        SmallSurface s;
        PlatformTransparentBlit(s.S, b.Dx, b.Dy, b.Dw, b.Dh, icon, b.Sx, b.Sy, b.Sw, b.Sh);
        PlatformCopy(s.S, b.Dx, b.Dy, b.Dw, b.Dh, icon, b.Sx, b.Sy);
    }
    // A 1:1 copy whose source starts off the icon copies only the part on it.
    SmallSurface s;
    PlatformCopy(s.S, 0, 0, Width, Height, icon, -4, 28);
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x) {
            bool onIcon = x >= 4 && y < 4;
            ASSERT_EQ(s.At(x, y), onIcon ? HeadlessReadPixel(icon, x - 4, y + 28) : Back) << x << "," << y;
        }
    PlatformReleaseSurface(icon);
}

TEST(Drawing, OverlappingCopyWithinOneSurfaceMovesThePicture) {
    SurfaceHandle icon = MakeIcon();
    SurfaceHandle moved = MakeIcon();
    PlatformCopy(moved, 3, 2, 32, 32, moved, 0, 0);
    for (int y = 2; y < 32; ++y)
        for (int x = 3; x < 32; ++x)
            ASSERT_EQ(HeadlessReadPixel(moved, x, y), HeadlessReadPixel(icon, x - 3, y - 2)) << x << "," << y;
    PlatformCopy(moved, 0, 0, 32, 32, moved, 3, 2);  // and back
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 29; ++x)
            ASSERT_EQ(HeadlessReadPixel(moved, x, y), HeadlessReadPixel(icon, x, y)) << x << "," << y;
    PlatformReleaseSurface(moved);
    PlatformReleaseSurface(icon);
}

TEST(Drawing, NullHandlesAreIgnored) {
    FontHandle font = PlatformCreateFont("ＭＳ ゴシック", 14);
    SurfaceHandle s = PlatformCreateSurface(4, 4);
    PlatformSelectFont(nullptr, font);
    PlatformSelectFont(s, nullptr);
    PlatformSetTextColour(nullptr, 1);
    PlatformSetTransparentText(nullptr);
    PlatformTextOut(nullptr, 0, 0, "a", 1);
    PlatformTextOut(s, 0, 0, "a", 1);  // no font selected: nothing
    PlatformFillRectangle(nullptr, 0, 0, 4, 4, Fill);
    PlatformDrawLine(nullptr, 0, 0, 4, 4, Fill);
    PlatformTransparentBlit(nullptr, 0, 0, 4, 4, s, 0, 0, 4, 4);
    PlatformTransparentBlit(s, 0, 0, 4, 4, nullptr, 0, 0, 4, 4);
    PlatformCopy(s, 0, 0, 4, 4, nullptr, 0, 0);
    int w = 1, h = 1;
    PlatformSurfaceSize(nullptr, &w, &h);
    EXPECT_EQ(w, 0);
    EXPECT_EQ(h, 0);
    EXPECT_EQ(HeadlessReadPixel(nullptr, 0, 0), 0u);
    EXPECT_EQ(HeadlessReadPixel(s, 4, 0), 0u);
    EXPECT_EQ(PlatformCreateSurface(0, 10), nullptr);
    EXPECT_EQ(PlatformCreateSurface(10, -1), nullptr);
    PlatformReleaseSurface(s);
    PlatformReleaseFont(font);
}

// ---------------------------------------------------------------- text

struct TextFixture : testing::Test {
    FontHandle Font = PlatformCreateFont("ＭＳ ゴシック", 14);
    SurfaceHandle S = PlatformCreateSurface(200, 40);
    static constexpr uint32_t Ink = MakeColour(50, 50, 50);
    void SetUp() override {
        ASSERT_NE(Font, nullptr) << "no Japanese Gothic font found";
        PlatformSelectFont(S, Font);
        PlatformSetTextColour(S, Ink);
    }
    void TearDown() override {
        PlatformReleaseSurface(S);
        PlatformReleaseFont(Font);
    }
    // The columns (from, to inclusive) holding pixels of the colour; -1, -1 for none.
    void Columns(uint32_t colour, int* from, int* to) {
        *from = *to = -1;
        for (int x = 0; x < 200; ++x)
            for (int y = 0; y < 40; ++y)
                if (HeadlessReadPixel(S, x, y) == colour) {
                    if (*from < 0) *from = x;
                    *to = x;
                }
    }
    int Count(uint32_t colour, int x1, int y1, int x2, int y2) {
        int n = 0;
        for (int y = y1; y < y2; ++y)
            for (int x = x1; x < x2; ++x) n += HeadlessReadPixel(S, x, y) == colour;
        return n;
    }
};

TEST_F(TextFixture, FullWidthDashDrawsInkInsideItsCell) {
    PlatformSetTransparentText(S);
    PlatformTextOut(S, 10, 5, "－", 2);
    int inside = Count(Ink, 10, 5, 24, 19);
    EXPECT_GT(inside, 4);
    EXPECT_EQ(Count(Ink, 0, 0, 200, 40), inside) << "ink outside the 14 x 14 cell";
}

TEST_F(TextFixture, TextAdvancesHalfACellPerByte) {
    struct Case {
        const char* Text;
        int Bytes;
        int Inked;  // 1 when ink is expected
    } cases[] = {
        {"人物編集ABCD", 12, 1},      // full- and half-width: 84 px
        {"ｱｲｳｴｵ", 5, 1},             // half-width katakana are single bytes
        {"\x80\xFF\xA0", 3, 0},       // invalid bytes: no ink, one half cell each
        {"表\x81", 3, 1},             // a lead byte without its trail
        {"\x85\x40", 2, 0},           // a well-formed code with no character
        {"  ", 2, 0},
    };
    const uint32_t white = MakeColour(255, 255, 255);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Text);
        PlatformFillRectangle(S, -1, -1, 201, 41, 0);
        // Opaque text fills each cell white first, which shows its advance.
        PlatformTextOut(S, 10, 5, c.Text, c.Bytes);
        int from, to;
        Columns(white, &from, &to);
        EXPECT_EQ(from, 10);
        EXPECT_EQ(to, 10 + 7 * c.Bytes - 1);
        EXPECT_EQ(Count(white, 0, 0, 200, 5) + Count(white, 0, 19, 200, 40), 0) << "cell is 14 px high";
        EXPECT_EQ(Count(Ink, 0, 0, 200, 40) > 0, c.Inked == 1);
    }
}

TEST_F(TextFixture, TextIsClippedAtEveryEdge) {
    PlatformSetTransparentText(S);
    const int places[][2] = {{-7, 0}, {195, 30}, {-1000, -1000}, {INT_MIN, INT_MIN}, {INT_MAX - 3, 10}, {0, 33}};
    for (const auto& p : places) PlatformTextOut(S, p[0], p[1], "－表示ABC", 9);
    EXPECT_GT(Count(Ink, 0, 0, 200, 40), 0);
}

TEST(Fonts, SmallFontHasItsOwnCell) {
    FontHandle small = PlatformCreateFont("ＭＳ ゴシック", 10);
    ASSERT_NE(small, nullptr);
    SurfaceHandle s = PlatformCreateSurface(100, 20);
    PlatformSelectFont(s, small);
    PlatformTextOut(s, 0, 0, "ABCD", 4);
    int last = -1, bottom = -1;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 100; ++x)
            if (HeadlessReadPixel(s, x, y) == MakeColour(255, 255, 255)) {
                if (x > last) last = x;
                if (y > bottom) bottom = y;
            }
    EXPECT_EQ(last, 19);
    EXPECT_EQ(bottom, 9);
    PlatformReleaseSurface(s);
    PlatformReleaseFont(small);
}

}  // namespace
