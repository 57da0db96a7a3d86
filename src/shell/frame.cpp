// Start-up, the window procedure, the frame pump and the orderly shutdown.
#include <cstdint>

#include "draw.h"
#include "main_menu.h"
#include "shell.h"
#include "store/store.h"

SurfaceHandle BackBuffer;
SurfaceHandle MapPicture;
SurfaceHandle Map0Picture;
SurfaceHandle IconSheet;
FontHandle LargeFont;
FontHandle SmallFont;

int32_t QuitFlag;
int32_t FrameReady;
PlatformMessage LastMessage;

int32_t MouseX;
int32_t MouseY;

// 1 between MakeGraphics and ReleaseGraphics. The window can be destroyed
// while a screen is open and the program still ends through the return of
// StartUp afterwards; this keeps the release to one.
static int GraphicsHeld;

constexpr uint32_t StartUpTextColour = MakeColour(30, 30, 30);
static const char ScreenFace[] = "ＭＳ ゴシック";
constexpr int LargeFontHeight = 14;
constexpr int SmallFontHeight = 10;

// Loads one picture; a missing or unreadable file is told once and leaves
// the picture null.
static SurfaceHandle LoadPicture(const char* path) {
    SurfaceHandle picture = PlatformLoadPicture(path);
    if (!picture) PlatformMessageBox("bmpファイルが見つかりません", "", MessageBoxOk);
    return picture;
}

static FontHandle MakeFont(int height) {
    FontHandle font = PlatformCreateFont(ScreenFace, height);
    PlatformSetTransparentText(BackBuffer);
    PlatformSetTextColour(BackBuffer, StartUpTextColour);
    return font;
}

void MakeGraphics() {
    PlatformSetWindowTitle("エディタ");
    BackBuffer = PlatformCreateSurface(ScreenWidth, ScreenHeight);
    GraphicsHeld = 1;
    MapPicture = LoadPicture("gdata\\tizu01.gdat");
    Map0Picture = LoadPicture("gdata\\map0.gdat");
    IconSheet = LoadPicture("gdata\\etc00.gdat");
    LargeFont = MakeFont(LargeFontHeight);
    SmallFont = MakeFont(SmallFontHeight);
    PlatformSelectFont(BackBuffer, LargeFont);
}

void ReleaseGraphics() {
    if (!GraphicsHeld) return;
    GraphicsHeld = 0;
    // The handles become null, so a drawing call that still came would draw nothing.
    PlatformReleaseFont(LargeFont);
    PlatformReleaseFont(SmallFont);
    LargeFont = SmallFont = nullptr;
    SurfaceHandle* surfaces[] = {&BackBuffer, &MapPicture, &Map0Picture, &IconSheet};
    for (SurfaceHandle* surface : surfaces) {
        PlatformReleaseSurface(*surface);
        *surface = nullptr;
    }
}

void StartUp() {
    MakeGraphics();
    ResetGameData();
    LoadCastleFiles();
    MainMenu();
}

void PumpFrame() {
    FrameReady = 0;
    if (PlatformPeekMessage()) {
        if (PlatformGetMessage(&LastMessage))
            PlatformDispatchMessage(&LastMessage);
        else
            QuitFlag = 1;
        return;
    }
    FrameReady = 1;
    PlatformInvalidateWindow();
    PlatformBeginPaint();
}

void PresentFrame() {
    PlatformPresent(BackBuffer, ScreenWidth, ScreenHeight);
    PlatformEndPaint();
}

intptr_t MainWindowProc(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    switch (message) {
    case MessageMouseMove:
        MouseX = (int32_t)((uintptr_t)lParam & 0xFFFF);
        MouseY = (int32_t)(((uintptr_t)lParam >> 16) & 0xFFFF);
        return 0;
    case MessageDestroy:
        ReleaseGraphics();
        PlatformPostQuitMessage(0);
        return 0;
    default:
        return PlatformDefaultWindowProc(message, wParam, lParam);
    }
}

int NextFrame() {
    for (;;) {
        // Once the quit message was taken (perhaps by a screen that has
        // returned since), no further frame begins.
        if (QuitFlag) return 0;
        PumpFrame();
        if (QuitFlag) return 0;
        if (FrameReady) break;
    }
    PollInput();
    TextColour = ScreenInk;
    return 1;
}

void EndFrame() {
    if (!QuitFlag) PlatformSleep(FramePauseMilliseconds);
}
