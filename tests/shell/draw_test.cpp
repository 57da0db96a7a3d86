// Drawing calls and the text button, read back pixel by pixel.
#include <climits>

#include "shell_fixture.h"

class DrawTest : public HeadlessShell {
protected:
    void SetUp() override {
        HeadlessShell::SetUp();
        FillBox(BackBuffer, 0, 0, ScreenWidth, ScreenHeight, 208, 202, 192);
    }
    uint32_t At(int x, int y) { return HeadlessReadPixel(BackBuffer, x, y); }
    // A surface with the BackBuffer's picture, LargeFont and transparent text.
    SurfaceHandle CopyOfBackBuffer() {
        SurfaceHandle copy = PlatformCreateSurface(ScreenWidth, ScreenHeight);
        PlatformCopy(copy, 0, 0, ScreenWidth, ScreenHeight, BackBuffer, 0, 0);
        PlatformSelectFont(copy, LargeFont);
        PlatformSetTransparentText(copy);
        return copy;
    }
};

TEST(FormatDecimal, WritesSignAndDigits) {
    const struct {
        int32_t Value;
        const char* Text;
    } cases[] = {{0, "0"}, {-5, "-5"}, {123, "123"}, {INT_MAX, "2147483647"}, {INT_MIN, "-2147483648"}};
    for (const auto& c : cases) {
        char text[12];
        EXPECT_EQ(FormatDecimal(text, c.Value), (int)strlen(c.Text));
        EXPECT_STREQ(text, c.Text);
    }
}

TEST_F(DrawTest, TextButtonHotAreaAndWidth) {
    const struct {
        const char* Text;
        int X, Y, MouseX, MouseY, Disabled, Hot;
    } cases[] = {
        // A one-character full-width button is 21 pixels wide (at least three bytes).
        {"１", 100, 100, 100, 100, 0, 1},
        {"１", 100, 100, 120, 100, 0, 1},
        {"１", 100, 100, 121, 100, 0, 0},
        {"１", 100, 100, 99, 100, 0, 0},
        // The hot area is 15 rows high.
        {"１", 100, 100, 110, 114, 0, 1},
        {"１", 100, 100, 110, 115, 0, 0},
        {"１", 100, 100, 110, 99, 0, 0},
        // 8 bytes: 56 pixels.
        {"人物編集", 20, 40, 20, 40, 0, 1},
        {"人物編集", 20, 40, 75, 54, 0, 1},
        {"人物編集", 20, 40, 76, 40, 0, 0},
        {"人物編集", 20, 40, 20, 55, 0, 0},
        {"人物編集", 20, 40, 19, 47, 0, 0},
        // Disabled buttons, and other values of the flag, are never hot.
        {"人物編集", 20, 40, 30, 45, 1, 0},
        {"人物編集", 20, 40, 30, 45, 2, 0},
        {"人物編集", 20, 40, 30, 45, -1, 0},
    };
    for (const auto& c : cases) {
        MouseX = c.MouseX;
        MouseY = c.MouseY;
        EXPECT_EQ(TextButton(BackBuffer, c.X, c.Y, c.Text, c.Disabled), c.Hot)
            << c.X << "," << c.Y << " mouse " << c.MouseX << "," << c.MouseY << " disabled " << c.Disabled;
    }
    EXPECT_EQ(TextButtonWidth("１"), 21);
    EXPECT_EQ(TextButtonWidth(""), 21);
    EXPECT_EQ(TextButtonWidth("シナリオに反映"), 98);
}

TEST_F(DrawTest, HotButtonHighlightIs14RowsWithUnderlineOnRow13) {
    // "１" leaves columns 14..20 of the button free of text.
    MouseX = 105;
    MouseY = 105;
    ASSERT_EQ(TextButton(BackBuffer, 100, 100, "１", 0), 1);
    EXPECT_EQ(At(118, 106), HotBox);
    EXPECT_EQ(At(118, 113), ScreenInk);        // the underline, over the box
    EXPECT_EQ(At(120, 113), ScreenInk);        // its last pixel, x + w - 1
    EXPECT_EQ(At(121, 113), ScreenBackground); // its end point is not drawn
    EXPECT_EQ(At(118, 114), ScreenBackground); // the box is 14 rows high
    EXPECT_EQ(At(118, 99), ScreenBackground);

    // The text is white on the box.
    bool white = false;
    for (int y = 100; y < 113; ++y)
        for (int x = 100; x < 114; ++x) white = white || At(x, y) == HotInk;
    EXPECT_TRUE(white);
}

TEST_F(DrawTest, ButtonLookByDisabledFlag) {
    const struct {
        int Disabled;
        uint32_t Ink;
        bool Underlined;
    } cases[] = {{0, HotInk, true}, {1, DisabledInk, false}, {2, ScreenInk, false}};
    MouseX = 110;  // over every button: only the enabled one highlights
    int y = 10;
    for (const auto& c : cases) {
        MouseY = y + 5;
        TextButton(BackBuffer, 100, y, "１", c.Disabled);
        EXPECT_EQ(At(118, y + 13), c.Underlined ? ScreenInk : ScreenBackground)
            << "disabled " << c.Disabled;
        // Inside the box's outline (drawn in the current pen).
        int ink = 0, other = 0;
        for (int row = y + 1; row < y + 13; ++row)
            for (int x = 101; x < 114; ++x) {
                uint32_t p = At(x, row);
                if (p == c.Ink) ++ink;
                else if (p != ScreenBackground && p != HotBox) ++other;
            }
        EXPECT_GT(ink, 0) << "disabled " << c.Disabled;
        EXPECT_EQ(other, 0) << "disabled " << c.Disabled;
        y += 30;
    }
    // The enabled one under the mouse was highlighted, then the others were not.
    EXPECT_EQ(At(118, 16), HotBox);
    EXPECT_EQ(At(118, 46), ScreenBackground);
    EXPECT_EQ(At(118, 76), ScreenBackground);
}

TEST_F(DrawTest, FillBoxCoversWidthByHeightWithBorderInTheLastLinePen) {
    FillBox(BackBuffer, 10, 10, 5, 4, 255, 0, 0);
    EXPECT_EQ(At(10, 10), MakeColour(0, 0, 0));  // border: black pen before any line
    EXPECT_EQ(At(14, 13), MakeColour(0, 0, 0));
    EXPECT_EQ(At(12, 11), MakeColour(255, 0, 0));
    EXPECT_EQ(At(15, 11), ScreenBackground);
    EXPECT_EQ(At(12, 14), ScreenBackground);

    DrawLine(BackBuffer, 0, 0, 1, 0, MakeColour(0, 255, 0));
    FillBox(BackBuffer, 30, 30, 5, 4, 255, 0, 0);
    EXPECT_EQ(At(30, 30), MakeColour(0, 255, 0));
    EXPECT_EQ(At(32, 31), MakeColour(255, 0, 0));
}

TEST_F(DrawTest, DrawLineLeavesOutItsEndPoint) {
    DrawLine(BackBuffer, 50, 60, 55, 60, MakeColour(1, 2, 3));
    DrawLine(BackBuffer, 70, 60, 70, 64, MakeColour(1, 2, 3));
    EXPECT_EQ(At(50, 60), MakeColour(1, 2, 3));
    EXPECT_EQ(At(54, 60), MakeColour(1, 2, 3));
    EXPECT_EQ(At(55, 60), ScreenBackground);
    EXPECT_EQ(At(70, 63), MakeColour(1, 2, 3));
    EXPECT_EQ(At(70, 64), ScreenBackground);
}

TEST_F(DrawTest, BlitImageCentresTheScaledCopy) {
    const uint32_t white = MakeColour(255, 255, 255);
    SurfaceHandle icon = PlatformCreateSurface(64, 64);
    ASSERT_NE(icon, nullptr);
    PlatformDrawLine(icon, 0, 0, 0, 0, white);  // draws nothing; the outline pen becomes white
    PlatformFillRectangle(icon, 0, 0, 64, 64, white);
    PlatformDrawLine(icon, 63, 31, 64, 31, MakeColour(0, 0, 0));  // the bottom-right source pixel

    // A 32 x 32 icon enlarged to 48 x 48 at 100, 100 covers 92..139; its
    // black border pixels are transparent.
    BlitImage(BackBuffer, icon, 100, 100, 32, 0, 32, 32, 48, 48);
    EXPECT_EQ(At(92, 92), white);
    EXPECT_EQ(At(139, 139), ScreenBackground);  // the icon's bottom-right pixel is black
    EXPECT_EQ(At(137, 137), white);
    EXPECT_EQ(At(91, 100), ScreenBackground);
    EXPECT_EQ(At(100, 91), ScreenBackground);
    EXPECT_EQ(At(140, 120), ScreenBackground);

    // A source larger than the target moves the copy in by half the difference.
    BlitImage(BackBuffer, icon, 300, 300, 32, 0, 28, 28, 14, 14);
    EXPECT_EQ(At(307, 307), white);
    EXPECT_EQ(At(306, 307), ScreenBackground);
    EXPECT_EQ(At(320, 320), white);
    EXPECT_EQ(At(321, 320), ScreenBackground);
    PlatformReleaseSurface(icon);
}

TEST_F(DrawTest, BlitImageOfAMissingPictureDrawsNothing) {
    BlitImage(BackBuffer, nullptr, 100, 100, 0, 0, 32, 32, 48, 48);
    for (int y = 90; y < 142; ++y)
        for (int x = 90; x < 142; ++x) ASSERT_EQ(At(x, y), ScreenBackground);
}

TEST_F(DrawTest, PutNumberDrawsHyphenMinusAndDigits) {
    SurfaceHandle expected = CopyOfBackBuffer();
    PutNumber(BackBuffer, 10, 10, -5);
    PutText(expected, 10, 10, "-5");
    EXPECT_TRUE(SameRegion(BackBuffer, expected, 0, 0, 100, 40));

    // One half-width cell of minus, then the digit.
    SurfaceHandle digit = CopyOfBackBuffer();
    PlatformFillRectangle(digit, 0, 0, 100, 40, ScreenBackground);
    PutText(digit, 17, 10, "5");
    EXPECT_TRUE(SameRegion(BackBuffer, digit, 17, 10, 7, 14));
    EXPECT_FALSE(SameRegion(BackBuffer, digit, 10, 10, 7, 14));
    PlatformReleaseSurface(expected);
    PlatformReleaseSurface(digit);
}

TEST_F(DrawTest, StyledTextLeavesTheLargeFontSelected) {
    SurfaceHandle reference = CopyOfBackBuffer();
    PutText(reference, 10, 10, "漢字ABC");
    for (int font : {UseSmallFont, UseLargeFont}) {
        PutTextStyled(BackBuffer, 10, 200, "小さい", font, MakeColour(200, 0, 0));
        FillBox(BackBuffer, 0, 0, 200, 40, 208, 202, 192);
        PutText(BackBuffer, 10, 10, "漢字ABC");
        EXPECT_TRUE(SameRegion(BackBuffer, reference, 1, 1, 198, 38)) << "font " << font;
    }
    // The two fonts do draw differently.
    SurfaceHandle small = CopyOfBackBuffer();
    SurfaceHandle large = CopyOfBackBuffer();
    PutTextStyled(small, 10, 300, "漢字", UseSmallFont, ScreenInk);
    PutTextStyled(large, 10, 300, "漢字", UseLargeFont, ScreenInk);
    EXPECT_FALSE(SameRegion(small, large, 0, 290, 100, 30));
    PlatformReleaseSurface(reference);
    PlatformReleaseSurface(small);
    PlatformReleaseSurface(large);
}
