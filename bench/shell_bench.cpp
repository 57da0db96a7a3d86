// One frame of the main menu and one of the keypad panel on the headless
// backend: pump, poll, draw, present (the 40 ms pause is counted, not slept).
#include <benchmark/benchmark.h>

#include "platform/headless.h"
#include "shell/main_menu.h"
#include "shell/shell.h"
#include "shell/value_editor.h"

namespace {

// A window that keeps beginning frames for as long as the benchmark runs.
void OpenWindow() {
    HeadlessReset();
    QuitFlag = 0;
    PreviousInput = 0;
    PlatformRegisterWindowClass("bench", MainWindowProc);
    PlatformCreateMainWindow(0, 0, ScreenWidth, ScreenHeight);
    HeadlessSetScript("frames 2000000000\n");
    MakeGraphics();
}

void CloseWindow() {
    ReleaseGraphics();
    HeadlessReset();
}

void MainMenuFrame(benchmark::State& state) {
    OpenWindow();
    MouseX = 40;  // over 人物編集: the highlighted look costs a little more
    MouseY = 47;
    for (auto _ : state) {
        if (!NextFrame()) state.SkipWithError("the window closed");
        benchmark::DoNotOptimize(DrawMainMenu());
        PresentFrame();
        EndFrame();
    }
    CloseWindow();
}
BENCHMARK(MainMenuFrame)->Unit(benchmark::kMicrosecond);

void KeypadPanelFrame(benchmark::State& state) {
    OpenWindow();
    int panelX, panelY;
    ValuePanelPlace(300, 200, &panelX, &panelY);
    MouseX = panelX + 65;  // over 決定
    MouseY = panelY + 145;
    for (auto _ : state) {
        if (!NextFrame()) state.SkipWithError("the window closed");
        benchmark::DoNotOptimize(DrawValuePanel(panelX, panelY, 123456, 1));
        PresentFrame();
        EndFrame();
    }
    CloseWindow();
}
BENCHMARK(KeypadPanelFrame)->Unit(benchmark::kMicrosecond);

}  // namespace
