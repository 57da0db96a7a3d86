// Drawing calls and the text button. Every screen is drawn from scratch each
// frame into BackBuffer with these immediate calls; a TextButton draws itself
// and reports in the same call whether the mouse is over it.
//
// Text is CP932 and measured in bytes; with LargeFont a byte is 7 pixels wide.
// Coordinates are pixels from the top-left corner; text is placed with the
// top-left of its cell at x, y on a transparent background.
#pragma once

#include <cstdint>

#include "platform/platform.h"

// The look of every screen.
constexpr uint32_t ScreenBackground = MakeColour(208, 202, 192);
constexpr uint32_t ScreenInk = MakeColour(50, 50, 50);
constexpr uint32_t HotInk = MakeColour(255, 255, 255);
constexpr uint32_t HotBox = MakeColour(0, 0, 200);
constexpr uint32_t DisabledInk = MakeColour(100, 100, 100);

// Button height: the hot area is 15 rows, the highlight box 14, the
// underline sits on row y + 13. Width: 7 pixels per byte, at least 3 bytes.
constexpr int ButtonHotHeight = 15;
constexpr int ButtonBoxHeight = 14;
constexpr int ButtonUnderlineRow = 13;
constexpr int PixelsPerByte = 7;
constexpr int ButtonMinimumBytes = 3;

// Colour of PutText, PutNumber and enabled, unhovered buttons. Screens set
// it to ScreenInk at the start of every frame (NextFrame does).
extern uint32_t TextColour;

enum FontChoice : int { UseLargeFont = 0, UseSmallFont = 1 };

// Text in TextColour and the surface's current font.
void PutText(SurfaceHandle surface, int x, int y, const char* text);
// The value in decimal ("-" before negatives), as PutText.
void PutNumber(SurfaceHandle surface, int x, int y, int32_t value);
// Text in the given colour and font (UseLargeFont, UseSmallFont; any other
// value keeps the current font). LargeFont is selected again afterwards; the
// surface's text colour stays at the given colour.
void PutTextStyled(SurfaceHandle surface, int x, int y, const char* text, int font, uint32_t colour);
void PutNumberStyled(SurfaceHandle surface, int x, int y, int32_t value, int font, uint32_t colour);

// A button: underlined text that turns white on a blue box under the mouse.
// disabled 0: enabled; 1: grey, never hot; any other value: plain text in
// TextColour, never hot. Returns 1 when the mouse is over an enabled button.
int TextButton(SurfaceHandle surface, int x, int y, const char* text, int disabled);
// Width in pixels of the button for this text.
int TextButtonWidth(const char* text);

// Filled rectangle covering x..x+width-1, y..y+height-1; its one-pixel border
// is drawn with the surface's current pen (that of the latest DrawLine, black
// before any).
void FillBox(SurfaceHandle surface, int x, int y, int width, int height, int red, int green, int blue);
// One-pixel line without its end point; its pen stays the surface's current pen.
void DrawLine(SurfaceHandle surface, int x1, int y1, int x2, int y2, uint32_t colour);
// Copies the source rectangle sx, sy, sourceWidth x sourceHeight, scaled to
// targetWidth x targetHeight, centred on the source-sized box whose top-left
// is dx, dy; black source pixels are transparent. Draws nothing when the
// source picture is missing.
void BlitImage(SurfaceHandle target, SurfaceHandle source, int dx, int dy, int sx, int sy,
               int sourceWidth, int sourceHeight, int targetWidth, int targetHeight);

// Writes value in decimal into out (at least 12 bytes); returns the length.
int FormatDecimal(char* out, int32_t value);
