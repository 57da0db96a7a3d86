// A small program on the Windows backend alone, for checking it under Wine or
// on Windows without the editor: tools/wine-check.sh runs it.
//
// It opens the main window as the editor does, draws a known picture every
// frame (boxes, lines, text in both fonts, a picture with black as the
// transparent colour, enlarged) and walks through the modal calls one by one
// when told to. Progress goes to "window-smoke.txt" in the working directory,
// one line per step; the checking script waits for a line, looks at the
// screen or pokes the dialogs (win32-poke.exe), and then creates a file
// "go-<step>" to let the program take the next step:
//
//   go-messagebox  a Yes/No message box; line "answer N"
//   go-dialog      the text dialog with limit 12, as often as the file is
//                  made again; line "dialog R HEX" (R the result, HEX the
//                  CP932 bytes received)
//
// The program ends when its window is closed, with exit code 0.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "platform/host.h"
#include "platform/platform.h"

namespace {

constexpr uint32_t Background = MakeColour(208, 202, 192);

FILE* Report;

void Note(const char* line) {
    fputs(line, Report);
    fputc('\n', Report);
    fflush(Report);
}

// Takes the file "go-<step>" away if it is there; 1 when it was.
int Told(const char* step) {
    char name[64];
    snprintf(name, sizeof name, "go-%s", step);
    return DeleteFileA(name) ? 1 : 0;
}

// A 32 x 32 24-bit bottom-up BMP: a black frame 4 pixels wide around green.
int WritePicture(const char* path) {
    unsigned char file[54 + 32 * 32 * 3] = {};
    auto put32 = [&](int at, unsigned value) {
        for (int i = 0; i < 4; ++i) file[at + i] = (unsigned char)(value >> (8 * i));
    };
    file[0] = 'B';
    file[1] = 'M';
    put32(2, sizeof file);
    put32(10, 54);
    put32(14, 40);
    put32(18, 32);
    put32(22, 32);
    file[26] = 1;
    file[28] = 24;
    put32(34, 32 * 32 * 3);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            int frame = x < 4 || x >= 28 || y < 4 || y >= 28;
            unsigned char* pixel = file + 54 + (y * 32 + x) * 3;  // blue, green, red
            pixel[1] = frame ? 0 : 200;
        }
    return WriteGameFile(path, file, sizeof file) == WriteOk;
}

intptr_t SmokeWindowProcedure(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    if (message == MessageDestroy) {
        PlatformPostQuitMessage(0);
        return 0;
    }
    return PlatformDefaultWindowProc(message, wParam, lParam);
}

void Draw(SurfaceHandle back, SurfaceHandle picture, FontHandle large, FontHandle small) {
    PlatformFillRectangle(back, 0, 0, 640, 480, Background);  // black border: no line drawn yet
    PlatformFillRectangle(back, 20, 40, 76, 54, MakeColour(0, 0, 200));
    PlatformSetTextColour(back, MakeColour(50, 50, 50));
    PlatformTextOut(back, 20, 100, "人物編集", 8);
    PlatformSelectFont(back, small);
    PlatformSetTextColour(back, MakeColour(255, 255, 255));
    PlatformTextOut(back, 20, 130, "シナリオ", 8);
    PlatformSelectFont(back, large);
    PlatformDrawLine(back, 10, 200, 200, 200, MakeColour(255, 0, 0));
    PlatformFillRectangle(back, 300, 40, 340, 60, MakeColour(0, 0, 200));  // red border now
    PlatformTransparentBlit(back, 300, 100, 48, 48, picture, 0, 0, 32, 32);
    PlatformCopy(back, 400, 40, 40, 20, back, 300, 40);
}

}  // namespace

int ApplicationEntry() {
    Report = fopen("window-smoke.txt", "wb");
    if (!Report) return 2;
    if (!PlatformRegisterWindowClass("ウィンドウクラスネーム", SmokeWindowProcedure)) {
        Note("register failed");
        return 3;
    }
    if (!PlatformCreateMainWindow(100, 100, 640, 480)) {
        Note("create failed");
        return 4;
    }
    PlatformShowMainWindow();
    PlatformSetWindowTitle("窓の試験");

    RECT client;
    GetClientRect(FindWindowW(L"ウィンドウクラスネーム", nullptr), &client);
    char line[256];
    snprintf(line, sizeof line, "client %ld %ld", client.right - client.left, client.bottom - client.top);
    Note(line);

    SurfaceHandle back = PlatformCreateSurface(640, 480);
    SurfaceHandle picture = WritePicture("smoke.gdat") ? PlatformLoadPicture("smoke.gdat") : nullptr;
    int width = 0, height = 0;
    PlatformSurfaceSize(picture, &width, &height);
    snprintf(line, sizeof line, "picture %d %d", width, height);
    Note(line);
    FontHandle large = PlatformCreateFont("ＭＳ ゴシック", 14);
    FontHandle small = PlatformCreateFont("ＭＳ ゴシック", 10);
    PlatformSetTransparentText(back);
    PlatformSelectFont(back, large);

    int frames = 0;
    int exitCode = 0;
    for (;;) {
        if (PlatformPeekMessage()) {
            PlatformMessage message;
            if (!PlatformGetMessage(&message)) {
                exitCode = (int)message.WParam;
                break;
            }
            PlatformDispatchMessage(&message);
            continue;
        }
        PlatformInvalidateWindow();
        PlatformBeginPaint();
        Draw(back, picture, large, small);
        PlatformPresent(back, 640, 480);
        PlatformEndPaint();

        if (++frames == 3) Note("drawn");
        if (Told("messagebox")) {
            snprintf(line, sizeof line, "answer %d", PlatformMessageBox("保存しますか？", "確認", MessageBoxYesNo));
            Note(line);
        }
        if (Told("dialog")) {
            char text[32];
            memset(text, 'x', sizeof text);
            text[sizeof text - 1] = 0;
            int result = PlatformTextDialog(text, 12);
            int used = snprintf(line, sizeof line, "dialog %d ", result);
            for (const char* at = text; *at && used < (int)sizeof line - 3; ++at)
                used += snprintf(line + used, sizeof line - used, "%02X", (unsigned char)*at);
            Note(line);
        }
        PlatformSleep(40);
    }
    PlatformReleaseFont(large);
    PlatformReleaseFont(small);
    PlatformReleaseSurface(picture);
    PlatformReleaseSurface(back);
    snprintf(line, sizeof line, "closed %d", exitCode);
    Note(line);
    fclose(Report);
    return exitCode;
}
