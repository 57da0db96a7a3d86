// Drawing calls and the text button. Nothing is cached between calls: each
// call sets the colour it needs, FillBox makes its brush afresh and DrawLine
// its pen.
#include "draw.h"

#include <cstring>

#include "shell.h"

uint32_t TextColour = ScreenInk;

int FormatDecimal(char* out, int32_t value) {
    // Built from the last digit backwards; the magnitude is taken in 64 bits
    // so that the most negative value prints correctly too.
    char digits[12];
    int count = 0;
    int64_t magnitude = value < 0 ? -(int64_t)value : (int64_t)value;
    do {
        digits[count++] = (char)('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude > 0);
    int length = 0;
    if (value < 0) out[length++] = '-';
    while (count > 0) out[length++] = digits[--count];
    out[length] = 0;
    return length;
}

void PutText(SurfaceHandle surface, int x, int y, const char* text) {
    PlatformSetTextColour(surface, TextColour);
    PlatformTextOut(surface, x, y, text, (int)strlen(text));
}

void PutNumber(SurfaceHandle surface, int x, int y, int32_t value) {
    char text[12];
    FormatDecimal(text, value);
    PutText(surface, x, y, text);
}

void PutTextStyled(SurfaceHandle surface, int x, int y, const char* text, int font, uint32_t colour) {
    if (font == UseLargeFont) PlatformSelectFont(surface, LargeFont);
    if (font == UseSmallFont) PlatformSelectFont(surface, SmallFont);
    PlatformSetTransparentText(surface);
    PlatformSetTextColour(surface, colour);
    PlatformTextOut(surface, x, y, text, (int)strlen(text));
    if (font == UseSmallFont) PlatformSelectFont(surface, LargeFont);
}

void PutNumberStyled(SurfaceHandle surface, int x, int y, int32_t value, int font, uint32_t colour) {
    char text[12];
    FormatDecimal(text, value);
    PutTextStyled(surface, x, y, text, font, colour);
}

int TextButtonWidth(const char* text) {
    int bytes = (int)strlen(text);
    return PixelsPerByte * (bytes > ButtonMinimumBytes ? bytes : ButtonMinimumBytes);
}

int TextButton(SurfaceHandle surface, int x, int y, const char* text, int disabled) {
    const int width = TextButtonWidth(text);
    const bool over = x <= MouseX && MouseX < x + width && y <= MouseY && MouseY < y + ButtonHotHeight;
    int hot = 0;
    if (over && disabled == 0) {
        PlatformSetTextColour(surface, HotInk);
        FillBox(surface, x, y, width, ButtonBoxHeight, ColourRed(HotBox), ColourGreen(HotBox), ColourBlue(HotBox));
        hot = 1;
    } else {
        PlatformSetTextColour(surface, TextColour);
    }
    if (disabled == 1) PlatformSetTextColour(surface, DisabledInk);
    PlatformTextOut(surface, x, y, text, (int)strlen(text));
    if (disabled == 0) DrawLine(surface, x, y + ButtonUnderlineRow, x + width, y + ButtonUnderlineRow, TextColour);
    PlatformSetTextColour(surface, TextColour);
    return hot;
}

void FillBox(SurfaceHandle surface, int x, int y, int width, int height, int red, int green, int blue) {
    PlatformFillRectangle(surface, x, y, x + width, y + height, MakeColour(red, green, blue));
}

void DrawLine(SurfaceHandle surface, int x1, int y1, int x2, int y2, uint32_t colour) {
    PlatformDrawLine(surface, x1, y1, x2, y2, colour);
}

// Moves a destination coordinate so that the scaled copy is centred on the
// source-sized box at that coordinate (truncating halves).
static int CentreOffset(int position, int sourceSize, int targetSize) {
    if (sourceSize > targetSize) return position + (sourceSize - targetSize) / 2;
    if (sourceSize < targetSize) return position - (targetSize - sourceSize) / 2;
    return position;
}

void BlitImage(SurfaceHandle target, SurfaceHandle source, int dx, int dy, int sx, int sy,
               int sourceWidth, int sourceHeight, int targetWidth, int targetHeight) {
    // A picture that failed to load leaves its place as the screen drew it.
    if (!source) return;
    dx = CentreOffset(dx, sourceWidth, targetWidth);
    dy = CentreOffset(dy, sourceHeight, targetHeight);
    PlatformTransparentBlit(target, dx, dy, targetWidth, targetHeight, source, sx, sy, sourceWidth, sourceHeight);
}
