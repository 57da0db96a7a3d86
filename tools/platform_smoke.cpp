// rd_platform_smoke: opens the desktop window and draws what the editor's
// screens draw (Japanese text in both fonts, boxes, lines, transparent
// picture copies) with the mouse position and the state of a few keys. After
// 15 frames it asks for a name in the "入力" dialog and confirms it in a
// Yes/No message box, then shows the answers for a while and closes its
// window itself after 75 frames. It prints what the dialogs returned and the
// exit code. Meant for a look at a real display or Xvfb.
#include <cstdio>
#include <cstring>

#include "platform/host.h"
#include "platform/platform.h"

static int MouseX, MouseY;

static intptr_t SmokeWindowProc(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    switch (message) {
    case MessageMouseMove:
        MouseX = (int)(lParam & 0xFFFF);
        MouseY = (int)((lParam >> 16) & 0xFFFF);
        return 0;
    case MessageDestroy:
        PlatformPostQuitMessage(0);
        return 0;
    }
    return PlatformDefaultWindowProc(message, wParam, lParam);
}

// A 32 x 32 icon: a red diamond with a white core on black, which is
// transparent when copied.
static SurfaceHandle MakeIcon() {
    SurfaceHandle icon = PlatformCreateSurface(32, 32);
    for (int y = 0; y < 32; ++y) {
        int half = y < 16 ? y : 31 - y;
        PlatformDrawLine(icon, 16 - half, y, 16 + half, y, MakeColour(220, 40, 40));
        if (half > 8) PlatformDrawLine(icon, 16 - half + 8, y, 16 + half - 8, y, MakeColour(255, 255, 255));
    }
    return icon;
}

static void PutText(SurfaceHandle s, int x, int y, const char* text, uint32_t colour) {
    PlatformSetTextColour(s, colour);
    PlatformTextOut(s, x, y, text, (int)strlen(text));
}

int ApplicationEntry() {
    if (!PlatformRegisterWindowClass("ウィンドウクラスネーム", SmokeWindowProc)) return 1;
    if (!PlatformCreateMainWindow(100, 100, 640, 480)) return 1;
    PlatformShowMainWindow();
    PlatformMessage message;
    if (!PlatformGetMessage(&message)) return (int)message.WParam;
    PlatformDispatchMessage(&message);
    PlatformSetWindowTitle("エディタ");

    SurfaceHandle back = PlatformCreateSurface(640, 480);
    FontHandle large = PlatformCreateFont("ＭＳ ゴシック", 14);
    FontHandle small = PlatformCreateFont("ＭＳ ゴシック", 10);
    SurfaceHandle icon = MakeIcon();
    PlatformSelectFont(back, large);
    PlatformSetTransparentText(back);

    const uint32_t text = MakeColour(50, 50, 50);
    char name[12] = "";
    char line[96];
    int answer = 0, dialog = 0;
    for (int frame = 0;; ++frame) {
        if (PlatformPeekMessage()) {
            if (!PlatformGetMessage(&message)) break;
            PlatformDispatchMessage(&message);
            --frame;
            continue;
        }
        PlatformInvalidateWindow();
        PlatformBeginPaint();
        PlatformFillRectangle(back, 0, 0, 640, 480, MakeColour(208, 202, 192));
        PutText(back, 20, 20, "人物編集　人物作成　保存　シナリオに反映", text);
        PutText(back, 20, 40, "ｱｲｳｴｵ ABCxyz 0123456789 －－－ 織田信長", text);
        PlatformSelectFont(back, small);
        PutText(back, 20, 60, "小さい字: 武将 1234 ﾃｽﾄ", text);
        PlatformSelectFont(back, large);
        PlatformFillRectangle(back, 20, 80, 20 + 7 * 8, 80 + 14, MakeColour(0, 0, 200));
        PutText(back, 20, 80, "人物編集", MakeColour(255, 255, 255));
        PlatformDrawLine(back, 20, 110, 300, 110, text);
        PlatformDrawLine(back, 20, 120, 300, 200, MakeColour(0, 128, 0));
        PlatformFillRectangle(back, 320, 120, 420, 200, MakeColour(255, 255, 200));
        PlatformTransparentBlit(back, 340, 130, 32, 32, icon, 0, 0, 32, 32);
        PlatformTransparentBlit(back, 372, 130, 48, 48, icon, 0, 0, 32, 32);
        snprintf(line, sizeof line, "frame %d  mouse %d, %d  左%d 右%d A%d Enter%d", frame, MouseX, MouseY,
                 PlatformKeyDown(KeyLButton), PlatformKeyDown(KeyRButton), PlatformKeyDown(KeyLetterA),
                 PlatformKeyDown(KeyReturn));
        PutText(back, 20, 220, line, text);
        snprintf(line, sizeof line, "名前「%s」 答え %d", name, answer);
        PutText(back, 20, 240, line, text);
        PlatformPresent(back, 640, 480);
        PlatformEndPaint();

        if (frame == 15) {
            dialog = PlatformTextDialog(name, 12);
            char utf8[64];
            Cp932ToUtf8(name, strlen(name), utf8, sizeof utf8);
            printf("text dialog: %d \"%s\"\n", dialog, utf8);
        }
        if (frame == 16) {
            snprintf(line, sizeof line, "「%s」でよいですか？", name);
            answer = PlatformMessageBox(line, "確認", MessageBoxYesNo);
            printf("message box: %d\n", answer);
        }
        if (frame == 75) PlatformDefaultWindowProc(MessageClose, 0, 0);  // as the close box would
        PlatformSleep(40);
    }
    PlatformReleaseSurface(icon);
    PlatformReleaseFont(small);
    PlatformReleaseFont(large);
    PlatformReleaseSurface(back);
    printf("exit code %d\n", (int)message.WParam);
    fflush(stdout);
    return (int)message.WParam;
}
