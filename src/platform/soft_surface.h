// Software surfaces shared by the Linux backends (internal to src/platform).
//
// soft_surface.cpp implements the surface, font and drawing calls of
// platform.h over plain 32-bit pixel buffers; the backends add the window,
// the message queue and the dialogs. Pixels hold colours in the 0x00BBGGRR
// form of MakeColour, which is SDL_PIXELFORMAT_XBGR8888 in memory.
#pragma once

#include <cstdint>

#include "platform.h"

struct PlatformSurface {
    int InUse;
    int Width;
    int Height;
    uint32_t* Pixels;  // Width * Height, row by row from the top
    FontHandle Font;
    uint32_t TextColour;
    int TransparentText;  // 0: each character cell is first filled with white
    uint32_t PenColour;
};

// Pixel at x, y (0x00BBGGRR); 0 outside the surface or for null.
uint32_t SoftReadPixel(SurfaceHandle surface, int x, int y);
// Writes the surface as an 8-bit RGB PNG file (a host path). 1 on success.
int SoftSavePng(SurfaceHandle surface, const char* hostPath);
// Cell height of a font (0 for null), and the advance of byteCount bytes of
// text in it (every byte is half a cell wide).
int SoftFontHeight(FontHandle font);
int SoftTextWidth(FontHandle font, int byteCount);
