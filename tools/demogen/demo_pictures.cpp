// The demo game's terrain and its pictures: the castle map, the small overview
// map, the icon sheet and the 33 portraits, written as 24-bit Windows bitmaps
// (bottom-up rows, each padded to a multiple of 4 bytes).
#include <cstdio>
#include <cstring>

#include "demo_parts.h"

// ---------------------------------------------------------------- terrain

// Land is a chain of overlapping ellipses ("blobs") whose shoreline is made
// irregular by three octaves of value noise on coarse lattices.
struct TerrainBlob {
    int X, Y, RadiusX, RadiusY;
};

// Where the blobs lie before the seed moves them about: a long island chain
// across the map from south-west to north-east, a mainland coast in the
// north-west corner and a few small islands.
static const TerrainBlob BlobTemplate[] = {
    {300, 1010, 230, 150},  {520, 960, 240, 160},  {740, 910, 250, 170},  {960, 860, 250, 170},
    {1180, 800, 240, 170},  {1400, 740, 250, 180}, {1620, 680, 240, 170}, {1840, 600, 250, 170},
    {2060, 520, 240, 160},  {2280, 440, 230, 160}, {2500, 370, 220, 150}, {2720, 310, 210, 140},
    {2960, 250, 190, 130},  {120, 140, 420, 260},  {820, 1190, 110, 80},  {1500, 1060, 90, 70},
    {2650, 820, 140, 100},  {3050, 980, 120, 90},
};
constexpr int BlobCount = sizeof BlobTemplate / sizeof BlobTemplate[0];

constexpr int CoarseCell = 256, MiddleCell = 64, FineCell = 16;

static struct {
    TerrainBlob Blobs[BlobCount];
    int16_t Coarse[MapWidth / CoarseCell + 2][MapHeight / CoarseCell + 2];
    int16_t Middle[MapWidth / MiddleCell + 2][MapHeight / MiddleCell + 2];
    int16_t Fine[MapWidth / FineCell + 2][MapHeight / FineCell + 2];
} Terrain;

void InitDemoTerrain(unsigned seed) {
    DemoRandom random = MakeRandom(seed, 2);
    for (int b = 0; b < BlobCount; ++b) {
        Terrain.Blobs[b] = BlobTemplate[b];
        Terrain.Blobs[b].X += RandomRange(&random, -60, 60);
        Terrain.Blobs[b].Y += RandomRange(&random, -50, 50);
        Terrain.Blobs[b].RadiusX += RandomRange(&random, -30, 30);
        Terrain.Blobs[b].RadiusY += RandomRange(&random, -20, 20);
    }
    for (int x = 0; x < MapWidth / CoarseCell + 2; ++x)
        for (int y = 0; y < MapHeight / CoarseCell + 2; ++y) Terrain.Coarse[x][y] = (int16_t)RandomRange(&random, -256, 256);
    for (int x = 0; x < MapWidth / MiddleCell + 2; ++x)
        for (int y = 0; y < MapHeight / MiddleCell + 2; ++y) Terrain.Middle[x][y] = (int16_t)RandomRange(&random, -256, 256);
    for (int x = 0; x < MapWidth / FineCell + 2; ++x)
        for (int y = 0; y < MapHeight / FineCell + 2; ++y) Terrain.Fine[x][y] = (int16_t)RandomRange(&random, -256, 256);
}

// Smooth step of t in 0..1024, scaled to 0..1024.
static int SmoothStep(int t) { return (int)((int64_t)t * t * (3 * 1024 - 2 * t) >> 20); }

// Bilinear interpolation of a lattice with cell size cell at x, y.
template <int Columns, int Rows>
static int LatticeValue(const int16_t (&lattice)[Columns][Rows], int cell, int x, int y) {
    int ix = x / cell, iy = y / cell;
    int sx = SmoothStep(x % cell * 1024 / cell), sy = SmoothStep(y % cell * 1024 / cell);
    int top = lattice[ix][iy] * (1024 - sx) + lattice[ix + 1][iy] * sx;
    int bottom = lattice[ix][iy + 1] * (1024 - sx) + lattice[ix + 1][iy + 1] * sx;
    return (int)(((int64_t)top * (1024 - sy) + (int64_t)bottom * sy) >> 20);
}

int DemoElevation(int x, int y) {
    if (x < 0) x = 0;
    if (y < 0) y = 0;
    if (x >= MapWidth) x = MapWidth - 1;
    if (y >= MapHeight) y = MapHeight - 1;
    int64_t best = -2000;
    for (int b = 0; b < BlobCount; ++b) {
        const TerrainBlob& blob = Terrain.Blobs[b];
        int64_t dx = x - blob.X, dy = y - blob.Y;
        int64_t field = 1024 - dx * dx * 1024 / ((int64_t)blob.RadiusX * blob.RadiusX) -
                        dy * dy * 1024 / ((int64_t)blob.RadiusY * blob.RadiusY);
        if (field > best) best = field;
    }
    int noise = LatticeValue(Terrain.Coarse, CoarseCell, x, y) + LatticeValue(Terrain.Middle, MiddleCell, x, y) / 2 +
                LatticeValue(Terrain.Fine, FineCell, x, y) / 4;
    // The blobs give the broad shape, the noise the coast and the hills.
    return (int)(best / 2) + noise;
}

// ---------------------------------------------------------------- colours

static uint32_t Rgb(int red, int green, int blue) {
    if (red < 0) red = 0;
    if (green < 0) green = 0;
    if (blue < 0) blue = 0;
    if (red > 255) red = 255;
    if (green > 255) green = 255;
    if (blue > 255) blue = 255;
    return (uint32_t)red << 16 | (uint32_t)green << 8 | (uint32_t)blue;
}

// Linear blend of two colours, amount 0..256 towards the second.
static uint32_t Blend(uint32_t from, uint32_t to, int amount) {
    if (amount < 0) amount = 0;
    if (amount > 256) amount = 256;
    int r = (int)(from >> 16 & 255) * (256 - amount) + (int)(to >> 16 & 255) * amount;
    int g = (int)(from >> 8 & 255) * (256 - amount) + (int)(to >> 8 & 255) * amount;
    int b = (int)(from & 255) * (256 - amount) + (int)(to & 255) * amount;
    return Rgb(r >> 8, g >> 8, b >> 8);
}

// Colour of terrain of a height; shade (about -64..64) lightens slopes that
// face the north-west and darkens the others. Sea is always bluer than it is
// red or green, land never is.
static uint32_t TerrainColour(int height, int shade) {
    if (height <= 0) {
        uint32_t shallow = Rgb(104, 172, 214), deep = Rgb(28, 72, 142);
        return Blend(shallow, deep, -height * 256 / 700);
    }
    uint32_t colour;
    if (height < 24) colour = Rgb(224, 208, 158);
    else if (height < 420) colour = Blend(Rgb(132, 186, 96), Rgb(78, 142, 64), (height - 24) * 256 / 396);
    else if (height < 640) colour = Blend(Rgb(78, 142, 64), Rgb(146, 130, 84), (height - 420) * 256 / 220);
    else if (height < 860) colour = Blend(Rgb(146, 130, 84), Rgb(150, 142, 132), (height - 640) * 256 / 220);
    else colour = Rgb(236, 236, 232);
    if (shade > 0) return Blend(colour, Rgb(255, 250, 235), shade > 64 ? 64 : shade);
    return Blend(colour, Rgb(40, 50, 30), -shade > 64 ? 64 : -shade);
}

// ---------------------------------------------------------------- bitmaps

constexpr int BitmapHeaderBytes = 54;
static int RowBytes(int width) { return (width * 3 + 3) / 4 * 4; }

// One picture at a time is built here; the castle map is the largest.
static struct {
    int Width, Height;
    unsigned long Size;
    unsigned char Bytes[BitmapHeaderBytes + (MapWidth * 3 + 3) / 4 * 4 * MapHeight];
} Picture;

static void PutLittle(unsigned char* at, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) at[i] = (unsigned char)(value >> (8 * i));
}

// Starts a black picture of width x height with its file and info headers.
static void BeginPicture(int width, int height) {
    Picture.Width = width;
    Picture.Height = height;
    unsigned long imageBytes = (unsigned long)RowBytes(width) * (unsigned long)height;
    Picture.Size = BitmapHeaderBytes + imageBytes;
    memset(Picture.Bytes, 0, Picture.Size);
    unsigned char* h = Picture.Bytes;
    h[0] = 'B';
    h[1] = 'M';
    PutLittle(h + 2, (uint32_t)Picture.Size, 4);
    PutLittle(h + 10, BitmapHeaderBytes, 4);  // pixels follow the headers
    PutLittle(h + 14, 40, 4);                 // size of the info header
    PutLittle(h + 18, (uint32_t)width, 4);
    PutLittle(h + 22, (uint32_t)height, 4);   // positive: rows stored bottom-up
    PutLittle(h + 26, 1, 2);                  // planes
    PutLittle(h + 28, 24, 2);                 // bits per pixel
    PutLittle(h + 30, 0, 4);                  // no compression
    PutLittle(h + 34, (uint32_t)imageBytes, 4);
    PutLittle(h + 38, 2835, 4);               // 72 dots per inch
    PutLittle(h + 42, 2835, 4);
}

static void SetPixel(int x, int y, uint32_t rgb) {
    if (x < 0 || y < 0 || x >= Picture.Width || y >= Picture.Height) return;
    unsigned char* at = Picture.Bytes + BitmapHeaderBytes + (unsigned long)RowBytes(Picture.Width) * (unsigned long)(Picture.Height - 1 - y) + (unsigned long)x * 3;
    at[0] = (unsigned char)(rgb & 255);  // stored blue, green, red
    at[1] = (unsigned char)(rgb >> 8 & 255);
    at[2] = (unsigned char)(rgb >> 16 & 255);
}

static void FillRect(int x, int y, int width, int height, uint32_t rgb) {
    for (int j = y; j < y + height; ++j)
        for (int i = x; i < x + width; ++i) SetPixel(i, j, rgb);
}

static int FinishPicture(const char* prefix, const char* name) {
    return WriteDemoFile(prefix, name, Picture.Bytes, Picture.Size);
}

// ---------------------------------------------------------------- the maps

// The castle map: terrain with light from the north-west.
static void DrawCastleMap() {
    BeginPicture(MapWidth, MapHeight);
    static int previous[MapWidth], current[MapWidth];
    for (int x = 0; x < MapWidth; ++x) previous[x] = DemoElevation(x, 0);
    for (int y = 0; y < MapHeight; ++y) {
        for (int x = 0; x < MapWidth; ++x) current[x] = DemoElevation(x, y);
        for (int x = 0; x < MapWidth; ++x) {
            int height = current[x];
            int shade = height > 0 ? (height - previous[x > 0 ? x - 1 : 0]) / 2 : 0;
            SetPixel(x, y, TerrainColour(height, shade));
        }
        memcpy(previous, current, sizeof previous);
    }
}

// The overview map: the same country at one eighth of the size.
constexpr int OverviewScale = 8;
static void DrawOverviewMap() {
    BeginPicture(MapWidth / OverviewScale, MapHeight / OverviewScale);
    for (int y = 0; y < Picture.Height; ++y)
        for (int x = 0; x < Picture.Width; ++x)
            SetPixel(x, y, TerrainColour(DemoElevation(x * OverviewScale + OverviewScale / 2, y * OverviewScale + OverviewScale / 2), 0));
}

// ---------------------------------------------------------------- icon sheet

// The sheet is black (transparent) apart from its cells. Its width is not a
// multiple of four pixels, so each of its rows ends in padding bytes.
constexpr int IconSheetWidth = 50, IconSheetHeight = 280;
constexpr int MarkerCellX = 0, MarkerCellY = 256;

static void DrawIconSheet() {
    BeginPicture(IconSheetWidth, IconSheetHeight);
    // Highlight, 32 x 32 at 0, 0: a golden frame with cut corners; its inside
    // stays transparent so that what it marks shows through.
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            int fromSide = x < 31 - x ? x : 31 - x;
            int fromTop = y < 31 - y ? y : 31 - y;
            if (fromSide + fromTop < 3) continue;  // cut corners
            int edge = fromSide < fromTop ? fromSide : fromTop;
            if (edge == 0) SetPixel(x, y, Rgb(150, 90, 10));
            else if (edge <= 2) SetPixel(x, y, Rgb(255, 206, 48));
            else if (edge == 3) SetPixel(x, y, Rgb(200, 140, 20));
        }
    // Castle marker, 20 x 20 at 0, 256: a light plate with a dark red rim, on
    // which the map draws the owner's letter.
    FillRect(MarkerCellX, MarkerCellY, MarkerSize, MarkerSize, Rgb(70, 30, 20));
    FillRect(MarkerCellX + 1, MarkerCellY + 1, MarkerSize - 2, MarkerSize - 2, Rgb(190, 40, 30));
    FillRect(MarkerCellX + 3, MarkerCellY + 3, MarkerSize - 6, MarkerSize - 6, Rgb(246, 236, 206));
}

// ---------------------------------------------------------------- portraits

constexpr int PortraitWidth = 28, PortraitHeight = 36, PortraitCount = 33;

// A head-and-shoulders figure on black. The colours of the garment and the
// crest come from the number, so every portrait differs; the head gear and
// skin vary with it too.
static void DrawPortrait(int number) {
    BeginPicture(PortraitWidth, PortraitHeight);
    uint32_t garment = Rgb(50 + number * 53 % 190, 50 + number * 97 % 190, 50 + number * 31 % 190);
    uint32_t crest = Rgb(255 - number * 37 % 120, 220 - number * 71 % 120, 90 + number * 23 % 120);
    static const uint32_t Skins[3] = {0xF0CCA4, 0xDDB48A, 0xC89A70};
    uint32_t skin = Skins[number / 11 % 3];
    int gear = number % 3;  // 0 topknot, 1 helmet, 2 hood
    // Shoulders: a trapezoid widening downwards.
    for (int y = 25; y < PortraitHeight; ++y) {
        int half = 6 + (y - 25);
        for (int x = 14 - half; x < 14 + half; ++x) SetPixel(x, y, garment);
    }
    // Collar and crest.
    FillRect(11, 25, 6, 2, Blend(garment, Rgb(255, 255, 255), 96));
    FillRect(13, 29, 3, 3, crest);
    // Head: an ellipse 14 wide and 16 high.
    for (int y = 9; y < 26; ++y)
        for (int x = 7; x < 21; ++x) {
            int dx = 2 * x + 1 - 28, dy = 2 * y + 1 - 34;
            if (dx * dx * 64 + dy * dy * 49 <= 64 * 49 * 4) SetPixel(x, y, skin);
        }
    uint32_t dark = Rgb(24, 20, 28);
    if (gear == 0) {
        FillRect(8, 8, 12, 4, dark);
        FillRect(12, 4, 4, 4, dark);
    } else if (gear == 1) {
        FillRect(7, 7, 14, 5, Rgb(90, 90, 100));
        FillRect(5, 11, 18, 2, Rgb(110, 110, 120));
        FillRect(12, 2, 4, 5, crest);
    } else {
        FillRect(6, 6, 16, 5, garment);
        FillRect(6, 11, 2, 12, garment);
        FillRect(20, 11, 2, 12, garment);
    }
    // Eyes, brows and mouth.
    FillRect(10, 16, 2, 1, dark);
    FillRect(16, 16, 2, 1, dark);
    FillRect(10, 14, 3, 1, dark);
    FillRect(15, 14, 3, 1, dark);
    FillRect(12, 21, 4, 1, Rgb(150, 60, 60));
}

int WriteDemoPictures(const char* prefix) {
    DrawCastleMap();
    if (!FinishPicture(prefix, "gdata\\tizu01.gdat")) return 0;
    DrawOverviewMap();
    if (!FinishPicture(prefix, "gdata\\map0.gdat")) return 0;
    DrawIconSheet();
    if (!FinishPicture(prefix, "gdata\\etc00.gdat")) return 0;
    for (int k = 0; k < PortraitCount; ++k) {
        DrawPortrait(k);
        char name[32];
        snprintf(name, sizeof name, "gdata\\g00\\ky%02da.gdat", k);
        if (!FinishPicture(prefix, name)) return 0;
    }
    return 1;
}
