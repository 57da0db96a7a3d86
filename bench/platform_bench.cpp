// Cost of the drawing calls on the software surfaces: a frame of the size
// the editor's list screens draw (a background, some dozens of short strings
// in both fonts, boxes, lines and icon copies) and its text alone.
#include <benchmark/benchmark.h>

#include <cstring>

#include "platform/headless.h"

namespace {

const char* const Strings[] = {"織田信長", "人物編集", "ｱｲｳｴｵ", "武田信玄", "上杉謙信", "－－－－",
                               "1234",     "保存",     "毛利元就", "シナリオに反映", "長宗我部元親", "ABCxyz"};

struct Scene {
    SurfaceHandle Back = PlatformCreateSurface(640, 480);
    SurfaceHandle Icon = PlatformCreateSurface(32, 32);
    FontHandle Large = PlatformCreateFont("ＭＳ ゴシック", 14);
    FontHandle Small = PlatformCreateFont("ＭＳ ゴシック", 10);
    Scene() {
        PlatformSelectFont(Back, Large);
        PlatformSetTransparentText(Back);
        PlatformFillRectangle(Icon, 4, 4, 28, 28, MakeColour(200, 40, 40));
    }
    ~Scene() {
        PlatformReleaseFont(Small);
        PlatformReleaseFont(Large);
        PlatformReleaseSurface(Icon);
        PlatformReleaseSurface(Back);
    }
    // 48 strings in the large font and 12 in the small one.
    void Text() {
        PlatformSetTextColour(Back, MakeColour(50, 50, 50));
        for (int i = 0; i < 48; ++i) {
            const char* s = Strings[i % 12];
            PlatformTextOut(Back, 20 + (i % 4) * 150, 20 + (i / 4) * 20, s, (int)strlen(s));
        }
        PlatformSelectFont(Back, Small);
        for (int i = 0; i < 12; ++i) PlatformTextOut(Back, 20 + i * 50, 300, Strings[i], (int)strlen(Strings[i]));
        PlatformSelectFont(Back, Large);
    }
    void Frame() {
        PlatformFillRectangle(Back, 0, 0, 640, 480, MakeColour(208, 202, 192));
        for (int i = 0; i < 10; ++i) PlatformFillRectangle(Back, 20, 20 + i * 20, 120, 34 + i * 20, MakeColour(0, 0, 200));
        Text();
        for (int i = 0; i < 20; ++i) PlatformDrawLine(Back, 20, 33 + i * 20, 600, 33 + i * 20, MakeColour(50, 50, 50));
        for (int i = 0; i < 10; ++i) PlatformTransparentBlit(Back, 40 + i * 50, 400, 48, 48, Icon, 0, 0, 32, 32);
    }
};

void TextOfAFrame(benchmark::State& state) {
    Scene scene;
    for (auto _ : state) {
        scene.Text();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(TextOfAFrame)->Unit(benchmark::kMicrosecond);

void WholeFrame(benchmark::State& state) {
    Scene scene;
    for (auto _ : state) {
        scene.Frame();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(WholeFrame)->Unit(benchmark::kMicrosecond);

}  // namespace
