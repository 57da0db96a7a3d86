// Software surfaces, pictures and text for the Linux backends.
//
// Platform:     any POSIX host; no window system is touched here.
// Limitations:  at most SurfaceLimit surfaces and FontLimit fonts at a time;
//               glyphs are cut to GlyphLimit x GlyphLimit pixels; text is
//               monochrome and laid out in fixed cells (half a cell per byte)
//               as the editor measures it, whatever the face's own advances.
// Dependencies: SDL2 (SDL_LoadBMP and surface conversion only, no SDL_Init),
//               FreeType, fontconfig, libpng, iconv (through host.h and here).
//
// Drawing follows the rules of the window system the editor was written for:
// a filled rectangle covers x1..x2-1 x y1..y2-1 and its outermost pixels take
// the current pen; a line leaves out its end point and its pen stays current;
// the transparent stretch copy picks whole pixels and skips black. Every call
// clips to both surfaces, so any coordinates are safe.
#include "soft_surface.h"

#include <SDL.h>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include <iconv.h>
#include <limits.h>
#include <png.h>
#include <strings.h>

#include <cstdlib>
#include <cstring>

#include "host.h"

constexpr int SurfaceLimit = 256;
constexpr int FontLimit = 16;
constexpr int SurfaceSideLimit = 16384;
constexpr int GlyphLimit = 64;        // widest and tallest glyph kept, pixels
constexpr int GlyphCacheSize = 2048;  // direct-mapped, a power of two
constexpr uint32_t White = MakeColour(255, 255, 255);

struct PlatformFont {
    int InUse;
    int Generation;  // tells cached glyphs of a released font from its successor
    int Height;      // cell height in pixels
    int Ascent;      // pixels from the top of the cell to the baseline
    FT_Face Face;
};

struct Glyph {
    int Valid;
    int FontSlot;
    int Generation;
    uint32_t Codepoint;
    int Left;    // offset of the bitmap from the cell's left edge
    int Top;     // offset of the bitmap from the cell's top edge
    int Width;
    int Height;
    uint64_t Rows[GlyphLimit];  // bit x of Rows[y] set: pixel x, y is ink
};

static struct {
    PlatformSurface Surfaces[SurfaceLimit];
    PlatformFont Fonts[FontLimit];
    Glyph Glyphs[GlyphCacheSize];
    FT_Library FreeType;
    int FreeTypeReady;
    int FontconfigReady;
    int DecoderReady;
    uint16_t SingleByte[256];       // CP932 single bytes to Unicode, 0 = none
    uint16_t DoubleByte[60][256];   // [lead index][trail byte] to Unicode, 0 = none
} Soft;

// ---------------------------------------------------------------- CP932 decoding

static int LeadIndex(unsigned char c) {
    if (c >= 0x81 && c <= 0x9F) return c - 0x81;
    if (c >= 0xE0 && c <= 0xFC) return c - 0xE0 + 31;
    return -1;
}

static int IsTrail(unsigned char c) { return c >= 0x40 && c <= 0xFC && c != 0x7F; }

// Builds the decoding tables once: every double-byte code is run through
// iconv a single time, so drawing text later is a table look-up.
static void PrepareDecoder() {
    if (Soft.DecoderReady) return;
    Soft.DecoderReady = 1;
    for (int c = 0x20; c < 0x7F; ++c) Soft.SingleByte[c] = (uint16_t)c;
    for (int c = 0xA1; c <= 0xDF; ++c) Soft.SingleByte[c] = (uint16_t)(0xFF61 + (c - 0xA1));
    iconv_t cd = iconv_open("UTF-32LE", "CP932");
    if (cd == (iconv_t)-1) return;
    for (int lead = 0; lead < 256; ++lead) {
        int index = LeadIndex((unsigned char)lead);
        if (index < 0) continue;
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            if (!IsTrail((unsigned char)trail)) continue;
            char in[2] = {(char)lead, (char)trail};
            unsigned char out[8];
            char* inAt = in;
            char* outAt = (char*)out;
            size_t inLeft = 2, outLeft = sizeof out;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
            if (iconv(cd, &inAt, &inLeft, &outAt, &outLeft) == (size_t)-1 || inLeft != 0 || outLeft != 4) continue;
            uint32_t cp = out[0] | (out[1] << 8) | ((uint32_t)out[2] << 16) | ((uint32_t)out[3] << 24);
            if (cp > 0 && cp <= 0xFFFF) Soft.DoubleByte[index][trail] = (uint16_t)cp;
        }
    }
    iconv_close(cd);
}

// ---------------------------------------------------------------- surfaces

static PlatformSurface* NewSurface(int width, int height) {
    if (width <= 0 || height <= 0 || width > SurfaceSideLimit || height > SurfaceSideLimit) return nullptr;
    for (PlatformSurface& s : Soft.Surfaces) {
        if (s.InUse) continue;
        s.Pixels = (uint32_t*)calloc((size_t)width * (size_t)height, sizeof(uint32_t));
        if (!s.Pixels) return nullptr;
        s.InUse = 1;
        s.Width = width;
        s.Height = height;
        s.Font = nullptr;
        s.TextColour = 0;
        s.TransparentText = 0;
        s.PenColour = 0;
        return &s;
    }
    return nullptr;
}

SurfaceHandle PlatformCreateSurface(int width, int height) { return NewSurface(width, height); }

SurfaceHandle PlatformLoadPicture(const char* path) {
    char real[PATH_MAX];
    if (!path || !ResolveGamePath(path, real, sizeof real)) return nullptr;
    SDL_Surface* loaded = SDL_LoadBMP(real);
    if (!loaded) return nullptr;
    SDL_Surface* converted = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_XBGR8888, 0);
    SDL_FreeSurface(loaded);
    if (!converted) return nullptr;
    PlatformSurface* s = NewSurface(converted->w, converted->h);
    if (s) {
        SDL_LockSurface(converted);
        for (int y = 0; y < s->Height; ++y) {
            const uint32_t* row = (const uint32_t*)((const unsigned char*)converted->pixels + (size_t)y * converted->pitch);
            for (int x = 0; x < s->Width; ++x) s->Pixels[(size_t)y * s->Width + x] = row[x] & 0x00FFFFFF;
        }
        SDL_UnlockSurface(converted);
    }
    SDL_FreeSurface(converted);
    return s;
}

void PlatformSurfaceSize(SurfaceHandle surface, int* width, int* height) {
    int w = surface ? surface->Width : 0;
    int h = surface ? surface->Height : 0;
    if (width) *width = w;
    if (height) *height = h;
}

void PlatformReleaseSurface(SurfaceHandle surface) {
    if (!surface || !surface->InUse) return;
    free(surface->Pixels);
    memset(surface, 0, sizeof *surface);
}

uint32_t SoftReadPixel(SurfaceHandle surface, int x, int y) {
    if (!surface || x < 0 || y < 0 || x >= surface->Width || y >= surface->Height) return 0;
    return surface->Pixels[(size_t)y * surface->Width + x];
}

int SoftSavePng(SurfaceHandle surface, const char* hostPath) {
    if (!surface || !hostPath) return 0;
    size_t count = (size_t)surface->Width * surface->Height;
    unsigned char* rgb = (unsigned char*)malloc(count * 3);
    if (!rgb) return 0;
    for (size_t i = 0; i < count; ++i) {
        uint32_t c = surface->Pixels[i];
        rgb[i * 3] = (unsigned char)ColourRed(c);
        rgb[i * 3 + 1] = (unsigned char)ColourGreen(c);
        rgb[i * 3 + 2] = (unsigned char)ColourBlue(c);
    }
    png_image image;
    memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = (png_uint_32)surface->Width;
    image.height = (png_uint_32)surface->Height;
    image.format = PNG_FORMAT_RGB;
    int ok = png_image_write_to_file(&image, hostPath, 0, rgb, surface->Width * 3, nullptr) != 0;
    png_image_free(&image);
    free(rgb);
    return ok;
}

// ---------------------------------------------------------------- fonts

// Asks fontconfig for a face. With a family, only a font that really carries
// that family name counts (fontconfig always answers with something).
// Without one, any monospaced face with Japanese coverage counts.
static int FindFontFile(const char* family, char* file, size_t fileSize, int* faceIndex) {
    if (!Soft.FontconfigReady) {
        if (!FcInit()) return 0;
        Soft.FontconfigReady = 1;
        // Fontconfig keeps parts of its configuration until FcFini.
        atexit(FcFini);
    }
    FcPattern* pattern = family ? FcPatternCreate() : FcNameParse((const FcChar8*)"monospace:lang=ja");
    if (!pattern) return 0;
    if (family) FcPatternAddString(pattern, FC_FAMILY, (const FcChar8*)family);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (!match) return 0;

    int accepted = 0;
    if (family) {
        FcChar8* name = nullptr;
        for (int i = 0; FcPatternGetString(match, FC_FAMILY, i, &name) == FcResultMatch; ++i)
            if (strcasecmp((const char*)name, family) == 0) accepted = 1;
    } else {
        FcCharSet* chars = nullptr;
        accepted = FcPatternGetCharSet(match, FC_CHARSET, 0, &chars) == FcResultMatch &&
                   FcCharSetHasChar(chars, 0x3042) && FcCharSetHasChar(chars, 0xFF0D);
    }
    FcChar8* path = nullptr;
    if (accepted && FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch &&
        strlen((const char*)path) < fileSize) {
        strcpy(file, (const char*)path);
        if (FcPatternGetInteger(match, FC_INDEX, 0, faceIndex) != FcResultMatch) *faceIndex = 0;
    } else {
        accepted = 0;
    }
    FcPatternDestroy(match);
    return accepted;
}

FontHandle PlatformCreateFont(const char* faceName, int height) {
    if (height < 0) height = -height;
    if (height == 0) height = 16;
    if (height > GlyphLimit) height = GlyphLimit;
    PlatformFont* font = nullptr;
    for (PlatformFont& f : Soft.Fonts)
        if (!f.InUse) {
            font = &f;
            break;
        }
    if (!font) return nullptr;
    if (!Soft.FreeTypeReady) {
        if (FT_Init_FreeType(&Soft.FreeType) != 0) return nullptr;
        Soft.FreeTypeReady = 1;
    }

    // The editor's own face does not exist here; a monospaced Japanese Gothic
    // with half-width glyphs of exactly half the em stands in for it.
    char file[PATH_MAX];
    int index = 0;
    char face[256] = "";
    if (faceName) Cp932ToUtf8(faceName, strlen(faceName), face, sizeof face);
    if (!(face[0] && FindFontFile(face, file, sizeof file, &index)) &&
        !FindFontFile("IPAGothic", file, sizeof file, &index) && !FindFontFile(nullptr, file, sizeof file, &index))
        return nullptr;

    FT_Face ftFace;
    if (FT_New_Face(Soft.FreeType, file, index, &ftFace) != 0) return nullptr;
    if (FT_Set_Pixel_Sizes(ftFace, 0, (FT_UInt)height) != 0) {
        FT_Done_Face(ftFace);
        return nullptr;
    }
    int ascent;
    if (FT_IS_SCALABLE(ftFace) && ftFace->ascender - ftFace->descender > 0)
        ascent = (height * ftFace->ascender * 2 + (ftFace->ascender - ftFace->descender)) /
                 (2 * (ftFace->ascender - ftFace->descender));
    else
        ascent = (int)(ftFace->size->metrics.ascender >> 6);
    PrepareDecoder();
    font->InUse = 1;
    ++font->Generation;
    font->Height = height;
    font->Ascent = ascent;
    font->Face = ftFace;
    return font;
}

void PlatformReleaseFont(FontHandle font) {
    if (!font || !font->InUse) return;
    FT_Done_Face(font->Face);
    font->Face = nullptr;
    font->InUse = 0;
    // Surfaces that still select it fall back to drawing no text.
    for (PlatformSurface& s : Soft.Surfaces)
        if (s.Font == font) s.Font = nullptr;
}

int SoftFontHeight(FontHandle font) { return font ? font->Height : 0; }

int SoftTextWidth(FontHandle font, int byteCount) {
    return font && byteCount > 0 ? (font->Height / 2) * byteCount : 0;
}

// The cached glyph of a character, rendered on first use. Characters the
// face lacks are cached as empty glyphs.
static const Glyph* GlyphFor(PlatformFont* font, uint32_t cp) {
    int slot = (int)(font - Soft.Fonts);
    uint32_t hash = (cp * 2654435761u) ^ ((uint32_t)slot * 40503u);
    Glyph& g = Soft.Glyphs[(hash >> 7) & (GlyphCacheSize - 1)];
    if (g.Valid && g.Codepoint == cp && g.FontSlot == slot && g.Generation == font->Generation) return &g;
    g.Valid = 1;
    g.FontSlot = slot;
    g.Generation = font->Generation;
    g.Codepoint = cp;
    g.Left = g.Top = g.Width = g.Height = 0;
    FT_UInt index = FT_Get_Char_Index(font->Face, cp);
    if (index == 0 || FT_Load_Glyph(font->Face, index, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) != 0) return &g;
    FT_GlyphSlot slotData = font->Face->glyph;
    const FT_Bitmap& bitmap = slotData->bitmap;
    g.Left = slotData->bitmap_left;
    g.Top = font->Ascent - slotData->bitmap_top;
    g.Width = (int)bitmap.width < GlyphLimit ? (int)bitmap.width : GlyphLimit;
    g.Height = (int)bitmap.rows < GlyphLimit ? (int)bitmap.rows : GlyphLimit;
    for (int y = 0; y < g.Height; ++y) {
        const unsigned char* row = bitmap.buffer + (ptrdiff_t)y * bitmap.pitch;
        uint64_t bits = 0;
        for (int x = 0; x < g.Width; ++x) {
            int ink = bitmap.pixel_mode == FT_PIXEL_MODE_MONO ? (row[x >> 3] >> (7 - (x & 7))) & 1
                      : bitmap.pixel_mode == FT_PIXEL_MODE_GRAY ? row[x] >= 128
                                                                 : 0;
            if (ink) bits |= (uint64_t)1 << x;
        }
        g.Rows[y] = bits;
    }
    return &g;
}

// ---------------------------------------------------------------- drawing

// Fills the half-open area x1..x2-1 x y1..y2-1, clipped to the surface.
static void FillArea(PlatformSurface* s, long long x1, long long y1, long long x2, long long y2, uint32_t colour) {
    if (x1 < 0) x1 = 0;
    if (y1 < 0) y1 = 0;
    if (x2 > s->Width) x2 = s->Width;
    if (y2 > s->Height) y2 = s->Height;
    for (long long y = y1; y < y2; ++y) {
        uint32_t* row = s->Pixels + (size_t)y * s->Width;
        for (long long x = x1; x < x2; ++x) row[x] = colour;
    }
}

static void PutPixel(PlatformSurface* s, long long x, long long y, uint32_t colour) {
    if (x >= 0 && y >= 0 && x < s->Width && y < s->Height) s->Pixels[(size_t)y * s->Width + x] = colour;
}

void PlatformSelectFont(SurfaceHandle surface, FontHandle font) {
    if (surface && font && font->InUse) surface->Font = font;
}

void PlatformSetTextColour(SurfaceHandle surface, uint32_t colour) {
    if (surface) surface->TextColour = colour & 0x00FFFFFF;
}

void PlatformSetTransparentText(SurfaceHandle surface) {
    if (surface) surface->TransparentText = 1;
}

void PlatformTextOut(SurfaceHandle surface, int x, int y, const char* text, int byteCount) {
    if (!surface || !text || byteCount <= 0 || !surface->Font) return;
    PlatformFont* font = surface->Font;
    const unsigned char* bytes = (const unsigned char*)text;
    long long half = font->Height / 2;
    long long cellX = x;
    for (int at = 0; at < byteCount;) {
        uint32_t cp;
        int width;
        int lead = LeadIndex(bytes[at]);
        if (lead >= 0 && at + 1 < byteCount && IsTrail(bytes[at + 1])) {
            cp = Soft.DoubleByte[lead][bytes[at + 1]];
            width = 2;
        } else {
            // A single byte, or a lead byte without its trail: one half cell.
            cp = Soft.SingleByte[bytes[at]];
            width = 1;
        }
        at += width;
        long long advance = half * width;
        if (cellX >= surface->Width) break;
        if (!surface->TransparentText) FillArea(surface, cellX, y, cellX + advance, (long long)y + font->Height, White);
        if (cp > 0x20 && cellX + advance + GlyphLimit > 0) {
            const Glyph* g = GlyphFor(font, cp);
            long long left = cellX + g->Left, top = (long long)y + g->Top;
            for (int gy = 0; gy < g->Height; ++gy) {
                long long py = top + gy;
                if (py < 0 || py >= surface->Height || !g->Rows[gy]) continue;
                uint32_t* row = surface->Pixels + (size_t)py * surface->Width;
                for (int gx = 0; gx < g->Width; ++gx) {
                    long long px = left + gx;
                    if (((g->Rows[gy] >> gx) & 1) && px >= 0 && px < surface->Width) row[px] = surface->TextColour;
                }
            }
        }
        cellX += advance;
    }
}

void PlatformFillRectangle(SurfaceHandle surface, int x1, int y1, int x2, int y2, uint32_t colour) {
    if (!surface) return;
    long long left = x1 < x2 ? x1 : x2, right = x1 < x2 ? x2 : x1;
    long long top = y1 < y2 ? y1 : y2, bottom = y1 < y2 ? y2 : y1;
    if (right <= left || bottom <= top) return;
    FillArea(surface, left, top, right, bottom, colour & 0x00FFFFFF);
    uint32_t pen = surface->PenColour;
    FillArea(surface, left, top, right, top + 1, pen);
    FillArea(surface, left, bottom - 1, right, bottom, pen);
    FillArea(surface, left, top, left + 1, bottom, pen);
    FillArea(surface, right - 1, top, right, bottom, pen);
}

// Steps i = 0 .. steps-1 along the major axis give the minor offset
// round(i * minor / steps) (halves away from the start): Bresenham's choice.
// Only the steps whose major coordinate lies on the surface are visited, so
// a line of any length costs at most one surface side.
static void DrawSteps(PlatformSurface* s, long long majorStart, long long majorSign, long long minorStart,
                      long long minorSign, long long steps, long long minorLength, int majorIsX) {
    long long limit = majorIsX ? s->Width : s->Height;
    long long first, last;  // i range whose major coordinate is within 0..limit-1
    if (majorSign > 0) {
        first = -majorStart;
        last = limit - 1 - majorStart;
    } else {
        first = majorStart - (limit - 1);
        last = majorStart;
    }
    if (first < 0) first = 0;
    if (last > steps - 1) last = steps - 1;
    for (long long i = first; i <= last; ++i) {
        __int128 numerator = (__int128)2 * i * minorLength + steps;
        long long minor = minorStart + minorSign * (long long)(numerator / (2 * steps));
        long long major = majorStart + majorSign * i;
        if (majorIsX)
            PutPixel(s, major, minor, s->PenColour);
        else
            PutPixel(s, minor, major, s->PenColour);
    }
}

void PlatformDrawLine(SurfaceHandle surface, int x1, int y1, int x2, int y2, uint32_t colour) {
    if (!surface) return;
    surface->PenColour = colour & 0x00FFFFFF;
    long long dx = (long long)x2 - x1, dy = (long long)y2 - y1;
    long long ax = dx < 0 ? -dx : dx, ay = dy < 0 ? -dy : dy;
    if (ax == 0 && ay == 0) return;
    if (ax >= ay)
        DrawSteps(surface, x1, dx < 0 ? -1 : 1, y1, dy < 0 ? -1 : 1, ax, ay, 1);
    else
        DrawSteps(surface, y1, dy < 0 ? -1 : 1, x1, dx < 0 ? -1 : 1, ay, ax, 0);
}

// The part of 0..length-1 whose position start + i lies within 0..limit-1,
// as first..end-1.
static void ClipRange(long long start, long long length, long long limit, long long* first, long long* end) {
    *first = start < 0 ? -start : 0;
    *end = limit - start < length ? limit - start : length;
}

void PlatformTransparentBlit(SurfaceHandle target, int dx, int dy, int dw, int dh, SurfaceHandle source, int sx,
                             int sy, int sw, int sh) {
    if (!target || !source || dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;
    long long firstRow, endRow, firstColumn, endColumn;
    ClipRange(dy, dh, target->Height, &firstRow, &endRow);
    ClipRange(dx, dw, target->Width, &firstColumn, &endColumn);
    for (long long j = firstRow; j < endRow; ++j) {
        long long fromY = sy + j * sh / dh;
        if (fromY < 0 || fromY >= source->Height) continue;
        const uint32_t* from = source->Pixels + (size_t)fromY * source->Width;
        uint32_t* to = target->Pixels + (size_t)(dy + j) * target->Width;
        for (long long i = firstColumn; i < endColumn; ++i) {
            long long fromX = sx + i * sw / dw;
            if (fromX < 0 || fromX >= source->Width) continue;
            uint32_t pixel = from[fromX];
            if (pixel & 0x00FFFFFF) to[dx + i] = pixel;
        }
    }
}

void PlatformCopy(SurfaceHandle target, int dx, int dy, int width, int height, SurfaceHandle source, int sx, int sy) {
    if (!target || !source || width <= 0 || height <= 0) return;
    long long firstRow, endRow, firstColumn, endColumn, first, end;
    ClipRange(dy, height, target->Height, &firstRow, &endRow);
    ClipRange(sy, height, source->Height, &first, &end);
    if (first > firstRow) firstRow = first;
    if (end < endRow) endRow = end;
    ClipRange(dx, width, target->Width, &firstColumn, &endColumn);
    ClipRange(sx, width, source->Width, &first, &end);
    if (first > firstColumn) firstColumn = first;
    if (end < endColumn) endColumn = end;
    if (firstRow >= endRow || firstColumn >= endColumn) return;
    size_t bytes = (size_t)(endColumn - firstColumn) * sizeof(uint32_t);
    // Within one surface, walk the rows so that an overlapping copy reads each
    // source row before it is overwritten.
    int upward = target == source && dy > sy;
    for (long long n = 0; n < endRow - firstRow; ++n) {
        long long j = upward ? endRow - 1 - n : firstRow + n;
        memmove(target->Pixels + (size_t)(dy + j) * target->Width + (dx + firstColumn),
                source->Pixels + (size_t)(sy + j) * source->Width + (sx + firstColumn), bytes);
    }
}
