// Desktop window-system backend for Linux: one SDL2 window over software
// surfaces, SDL message boxes, and an "入力" dialog window of our own.
//
// Platform:     Linux desktops under X11 or Wayland, through SDL2.
// Limitations:  one main window; its client area is exactly the size asked
//               for; key state is that of the keyboard focus as SDL tracks it
//               (not the whole system); mouse moves outside the client area
//               are not reported; QueueLimit pending messages, consecutive
//               mouse moves merged into the latest.
// Dependencies: SDL2 (video, events, text input, message boxes),
//               soft_surface.cpp (surfaces, fonts, text), host.h (CP932).
//
// Defines the process entry: main() runs ApplicationEntry() and returns its
// result.
#define SDL_MAIN_HANDLED
#include <SDL.h>

#include <cstdio>
#include <cstring>

#include "host.h"
#include "soft_surface.h"

constexpr int QueueLimit = 256;

static struct {
    PlatformWindowProcedure Procedure;
    int ClassRegistered;
    int VideoReady;
    SDL_Window* Window;
    uint32_t WindowId;
    int ClientWidth;
    int ClientHeight;

    PlatformMessage Queue[QueueLimit];
    int QueueHead;
    int QueueCount;
    int QuitPosted;
    int QuitCode;
    int Modal;  // a dialog is open: the main window takes no input
} Desktop;

int main() {
    SDL_SetMainReady();
    int result = ApplicationEntry();
    SDL_Quit();
    return result;
}

// ---------------------------------------------------------------- queue

static void Post(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    if (Desktop.QueueCount > 0 && message == MessageMouseMove) {
        // The queue holds only the latest position, as the system's does.
        PlatformMessage& last = Desktop.Queue[(Desktop.QueueHead + Desktop.QueueCount - 1) % QueueLimit];
        if (last.Message == MessageMouseMove) {
            last.LParam = lParam;
            return;
        }
    }
    if (Desktop.QueueCount >= QueueLimit) return;
    PlatformMessage& m = Desktop.Queue[(Desktop.QueueHead + Desktop.QueueCount) % QueueLimit];
    m.Message = message;
    m.WParam = wParam;
    m.LParam = lParam;
    ++Desktop.QueueCount;
}

static int IsMainWindow(uint32_t windowId) { return Desktop.Window && windowId == Desktop.WindowId; }

// Copies the first width x height pixels of a surface into an SDL window and
// shows them.
static void ShowSurface(SDL_Window* window, SurfaceHandle source, int width, int height) {
    SDL_Surface* target = window && source ? SDL_GetWindowSurface(window) : nullptr;
    if (!target) return;
    if (width > source->Width) width = source->Width;
    if (height > source->Height) height = source->Height;
    if (width > target->w) width = target->w;
    if (height > target->h) height = target->h;
    if (width <= 0 || height <= 0) return;
    SDL_LockSurface(target);
    SDL_ConvertPixels(width, height, SDL_PIXELFORMAT_XBGR8888, source->Pixels, source->Width * 4,
                      target->format->format, target->pixels, target->pitch);
    SDL_UnlockSurface(target);
    SDL_UpdateWindowSurface(window);
}

// Turns one SDL event into messages of the main window. Events of other
// windows (the text dialog) are left to their own loop.
static void Translate(const SDL_Event& e) {
    switch (e.type) {
    case SDL_MOUSEMOTION:
        if (!Desktop.Modal && IsMainWindow(e.motion.windowID) && e.motion.x >= 0 && e.motion.y >= 0 &&
            e.motion.x < Desktop.ClientWidth && e.motion.y < Desktop.ClientHeight)
            Post(MessageMouseMove, 0, (intptr_t)(((uint32_t)e.motion.y << 16) | ((uint32_t)e.motion.x & 0xFFFF)));
        break;
    case SDL_WINDOWEVENT:
        if (!IsMainWindow(e.window.windowID)) break;
        if (e.window.event == SDL_WINDOWEVENT_CLOSE && !Desktop.Modal) Post(MessageClose, 0, 0);
        // The window keeps its last picture; show it again after exposure.
        if (e.window.event == SDL_WINDOWEVENT_EXPOSED) SDL_UpdateWindowSurface(Desktop.Window);
        break;
    case SDL_QUIT:
        if (Desktop.Window) Post(MessageClose, 0, 0);
        break;
    }
}

static void PumpEvents() {
    SDL_Event e;
    while (SDL_PollEvent(&e)) Translate(e);
}

// ---------------------------------------------------------------- main window

int PlatformRegisterWindowClass(const char* className, PlatformWindowProcedure procedure) {
    if (!className || !procedure || Desktop.ClassRegistered) return 0;
    Desktop.ClassRegistered = 1;
    Desktop.Procedure = procedure;
    return 1;
}

int PlatformCreateMainWindow(int x, int y, int clientWidth, int clientHeight) {
    if (!Desktop.ClassRegistered || Desktop.Window || clientWidth <= 0 || clientHeight <= 0) return 0;
    if (!Desktop.VideoReady) {
        // Closing the last window must reach the program as a close request,
        // and the mouse is not captured while a button is held.
        SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
        SDL_SetHint(SDL_HINT_MOUSE_AUTO_CAPTURE, "0");
        SDL_SetHint(SDL_HINT_IME_SHOW_UI, "1");
        if (SDL_Init(SDL_INIT_VIDEO) != 0) return 0;
        Desktop.VideoReady = 1;
    }
    Desktop.Window = SDL_CreateWindow("", x, y, clientWidth, clientHeight, SDL_WINDOW_HIDDEN);
    if (!Desktop.Window) return 0;
    Desktop.WindowId = SDL_GetWindowID(Desktop.Window);
    Desktop.ClientWidth = clientWidth;
    Desktop.ClientHeight = clientHeight;
    // Text input is wanted only in the text dialog.
    SDL_StopTextInput();
    return 1;
}

// Shows the window; it is invalid then, so its first message is a paint.
void PlatformShowMainWindow() {
    if (!Desktop.Window) return;
    SDL_ShowWindow(Desktop.Window);
    Post(MessagePaint, 0, 0);
}

void PlatformSetWindowTitle(const char* title) {
    if (!Desktop.Window || !title) return;
    char utf8[512];
    Cp932ToUtf8(title, strlen(title), utf8, sizeof utf8);
    SDL_SetWindowTitle(Desktop.Window, utf8);
}

int PlatformPeekMessage() {
    PumpEvents();
    // Without a window nothing can arrive any more: report the end.
    return Desktop.QueueCount > 0 || Desktop.QuitPosted || (!Desktop.Window && Desktop.ClassRegistered);
}

int PlatformGetMessage(PlatformMessage* message) {
    PlatformMessage scratch;
    if (!message) message = &scratch;
    for (;;) {
        PumpEvents();
        if (Desktop.QueueCount > 0) {
            *message = Desktop.Queue[Desktop.QueueHead];
            Desktop.QueueHead = (Desktop.QueueHead + 1) % QueueLimit;
            --Desktop.QueueCount;
            return 1;
        }
        if (Desktop.QuitPosted || !Desktop.Window) {
            int code = Desktop.QuitPosted ? Desktop.QuitCode : 0;
            Desktop.QuitPosted = 0;
            message->Message = MessageQuit;
            message->WParam = (uintptr_t)code;
            message->LParam = 0;
            return 0;
        }
        SDL_Event e;
        if (SDL_WaitEventTimeout(&e, 100)) Translate(e);
    }
}

void PlatformDispatchMessage(const PlatformMessage* message) {
    if (!message || !Desktop.Window || !Desktop.Procedure || message->Message == MessageQuit) return;
    Desktop.Procedure(message->Message, message->WParam, message->LParam);
}

intptr_t PlatformDefaultWindowProc(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    (void)wParam;
    (void)lParam;
    if (message == MessageClose && Desktop.Window) {
        // The destroy message reaches the procedure while the window still
        // exists, then the window goes.
        if (Desktop.Procedure) Desktop.Procedure(MessageDestroy, 0, 0);
        SDL_DestroyWindow(Desktop.Window);
        Desktop.Window = nullptr;
        Desktop.WindowId = 0;
    }
    return 0;
}

void PlatformPostQuitMessage(int exitCode) {
    Desktop.QuitPosted = 1;
    Desktop.QuitCode = exitCode;
}

void PlatformInvalidateWindow() {}
void PlatformBeginPaint() {}

void PlatformPresent(SurfaceHandle source, int width, int height) { ShowSurface(Desktop.Window, source, width, height); }

void PlatformEndPaint() {}

// ---------------------------------------------------------------- keys

static int ScancodeDown(const Uint8* keys, SDL_Scancode code) { return code != SDL_SCANCODE_UNKNOWN && keys[code]; }

int PlatformKeyDown(int virtualKey) {
    PumpEvents();
    if (virtualKey == KeyLButton || virtualKey == KeyRButton || virtualKey == 0x04) {
        Uint32 buttons = SDL_GetMouseState(nullptr, nullptr);
        Uint32 mask = virtualKey == KeyLButton ? SDL_BUTTON_LMASK : virtualKey == KeyRButton ? SDL_BUTTON_RMASK
                                                                                              : SDL_BUTTON_MMASK;
        return (buttons & mask) != 0;
    }
    const Uint8* keys = SDL_GetKeyboardState(nullptr);
    // Letters and digits follow the keyboard layout, as virtual keys do.
    if (virtualKey >= KeyLetterA && virtualKey <= KeyLetterA + 25)
        return ScancodeDown(keys, SDL_GetScancodeFromKey((SDL_Keycode)(SDLK_a + (virtualKey - KeyLetterA))));
    if (virtualKey >= KeyDigit0 && virtualKey <= KeyDigit0 + 9)
        return ScancodeDown(keys, SDL_GetScancodeFromKey((SDL_Keycode)(SDLK_0 + (virtualKey - KeyDigit0))));
    if (virtualKey >= 0x70 && virtualKey <= 0x7B)  // F1..F12
        return keys[SDL_SCANCODE_F1 + (virtualKey - 0x70)];
    switch (virtualKey) {
    case KeyBack: return keys[SDL_SCANCODE_BACKSPACE];
    case 0x09: return keys[SDL_SCANCODE_TAB];
    case KeyReturn: return keys[SDL_SCANCODE_RETURN] || keys[SDL_SCANCODE_KP_ENTER];
    case 0x10: return keys[SDL_SCANCODE_LSHIFT] || keys[SDL_SCANCODE_RSHIFT];
    case KeyControl: return keys[SDL_SCANCODE_LCTRL] || keys[SDL_SCANCODE_RCTRL];
    case 0x12: return keys[SDL_SCANCODE_LALT] || keys[SDL_SCANCODE_RALT];
    case KeyEscape: return keys[SDL_SCANCODE_ESCAPE];
    case KeySpace: return keys[SDL_SCANCODE_SPACE];
    case KeyLeft: return keys[SDL_SCANCODE_LEFT];
    case KeyUp: return keys[SDL_SCANCODE_UP];
    case KeyRight: return keys[SDL_SCANCODE_RIGHT];
    case KeyDown: return keys[SDL_SCANCODE_DOWN];
    case 0x2D: return keys[SDL_SCANCODE_INSERT];
    case 0x2E: return keys[SDL_SCANCODE_DELETE];
    case KeyOemMinus: return keys[SDL_SCANCODE_MINUS];
    }
    return 0;
}

void PlatformSleep(int milliseconds) {
    if (milliseconds > 0) SDL_Delay((Uint32)milliseconds);
}

// ---------------------------------------------------------------- message boxes

int PlatformMessageBox(const char* text, const char* caption, int buttons) {
    char message[1024], title[256], yes[32], no[32];
    Cp932ToUtf8(text ? text : "", text ? strlen(text) : 0, message, sizeof message);
    Cp932ToUtf8(caption ? caption : "", caption ? strlen(caption) : 0, title, sizeof title);
    Cp932ToUtf8("はい", strlen("はい"), yes, sizeof yes);
    Cp932ToUtf8("いいえ", strlen("いいえ"), no, sizeof no);
    const SDL_MessageBoxButtonData ok[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, AnswerOk, "OK"}};
    const SDL_MessageBoxButtonData yesNo[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, AnswerYes, yes},
        {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, AnswerNo, no},
    };
    int isYesNo = buttons == MessageBoxYesNo;
    SDL_MessageBoxData data;
    memset(&data, 0, sizeof data);
    data.flags = SDL_MESSAGEBOX_INFORMATION;
    data.window = Desktop.Window;
    data.title = title;
    data.message = message;
    data.numbuttons = isYesNo ? 2 : 1;
    data.buttons = isYesNo ? yesNo : ok;
    int answer = -1;
    Desktop.Modal = 1;
    int shown = SDL_ShowMessageBox(&data, &answer);
    // What the main window was given while the box was open is dropped.
    PumpEvents();
    Desktop.Modal = 0;
    if (shown != 0 || answer < 0) return isYesNo ? AnswerNo : AnswerOk;
    return answer;
}

// ---------------------------------------------------------------- text dialog

// The "入力" dialog: a text field with OK and キャンセル, drawn with the
// software surfaces into a small window of its own that is modal for the
// main window. Keyboard text and IME composition come through SDL text input.
constexpr int DialogWidth = 360;
constexpr int DialogHeight = 72;
constexpr int TypedLimit = 512;  // UTF-8 bytes kept while typing

struct DialogRect {
    int X, Y, W, H;
    int Contains(int x, int y) const { return x >= X && y >= Y && x < X + W && y < Y + H; }
};

static const DialogRect FieldRect = {10, 11, 250, 22};
static const DialogRect OkRect = {270, 11, 80, 22};
static const DialogRect CancelRect = {270, 39, 80, 22};

static void FrameBox(SurfaceHandle s, const DialogRect& r, uint32_t fill, uint32_t border) {
    PlatformDrawLine(s, r.X, r.Y, r.X, r.Y, border);  // selects the pen only
    PlatformFillRectangle(s, r.X, r.Y, r.X + r.W, r.Y + r.H, fill);
}

static void DialogButton(SurfaceHandle s, FontHandle font, const DialogRect& r, const char* label, int hot,
                         int isDefault) {
    uint32_t border = hot || isDefault ? MakeColour(0, 120, 215) : MakeColour(173, 173, 173);
    FrameBox(s, r, hot ? MakeColour(229, 241, 251) : MakeColour(225, 225, 225), border);
    if (isDefault) {
        DialogRect inner = {r.X + 1, r.Y + 1, r.W - 2, r.H - 2};
        PlatformDrawLine(s, inner.X, inner.Y, inner.X + inner.W - 1, inner.Y, border);
        PlatformDrawLine(s, inner.X + inner.W - 1, inner.Y, inner.X + inner.W - 1, inner.Y + inner.H - 1, border);
        PlatformDrawLine(s, inner.X + inner.W - 1, inner.Y + inner.H - 1, inner.X, inner.Y + inner.H - 1, border);
        PlatformDrawLine(s, inner.X, inner.Y + inner.H - 1, inner.X, inner.Y, border);
    }
    int bytes = (int)strlen(label);
    PlatformSetTextColour(s, 0);
    PlatformTextOut(s, r.X + (r.W - SoftTextWidth(font, bytes)) / 2, r.Y + (r.H - SoftFontHeight(font)) / 2, label,
                    bytes);
}

static void DrawDialog(SurfaceHandle s, SurfaceHandle field, FontHandle font, const char* typed,
                       const char* composing, int hot) {
    FrameBox(s, {-1, -1, DialogWidth + 2, DialogHeight + 2}, MakeColour(240, 240, 240), 0);
    FrameBox(s, FieldRect, MakeColour(255, 255, 255), MakeColour(122, 122, 122));

    char text[TypedLimit], composition[256];
    int textBytes = (int)Utf8ToCp932(typed, strlen(typed), text, sizeof text);
    int compositionBytes = (int)Utf8ToCp932(composing, strlen(composing), composition, sizeof composition);
    int textWidth = SoftTextWidth(font, textBytes), compositionWidth = SoftTextWidth(font, compositionBytes);
    // Scroll so that the end of the text (where the caret is) stays visible.
    int room = FieldRect.W - 8;
    int shift = textWidth + compositionWidth > room ? textWidth + compositionWidth - room : 0;
    int x = FieldRect.X + 4 - shift, y = FieldRect.Y + (FieldRect.H - SoftFontHeight(font)) / 2;

    // Text is drawn into the field's own surface so that it is cut at the field.
    PlatformCopy(field, 0, 0, FieldRect.W - 2, FieldRect.H - 2, s, FieldRect.X + 1, FieldRect.Y + 1);
    int fx = x - FieldRect.X - 1, fy = y - FieldRect.Y - 1;
    PlatformSetTextColour(field, 0);
    PlatformTextOut(field, fx, fy, text, textBytes);
    if (compositionBytes > 0) {
        PlatformSetTextColour(field, MakeColour(0, 0, 160));
        PlatformTextOut(field, fx + textWidth, fy, composition, compositionBytes);
        int underline = fy + SoftFontHeight(font);
        PlatformDrawLine(field, fx + textWidth, underline, fx + textWidth + compositionWidth, underline,
                         MakeColour(0, 0, 160));
    }
    int caret = fx + textWidth + compositionWidth;
    PlatformDrawLine(field, caret, fy - 1, caret, fy + SoftFontHeight(font) + 1, 0);
    PlatformCopy(s, FieldRect.X + 1, FieldRect.Y + 1, FieldRect.W - 2, FieldRect.H - 2, field, 0, 0);
    DialogButton(s, font, OkRect, "OK", hot == 1, 1);
    DialogButton(s, font, CancelRect, "キャンセル", hot == 2, 0);
}

// Removes the last UTF-8 character of text.
static void RemoveLastCharacter(char* text) {
    size_t length = strlen(text);
    while (length > 0) {
        --length;
        if (((unsigned char)text[length] & 0xC0) != 0x80) break;
    }
    text[length] = 0;
}

static int ButtonAt(int x, int y) { return OkRect.Contains(x, y) ? 1 : CancelRect.Contains(x, y) ? 2 : 0; }

int PlatformTextDialog(char* buffer, int limit) {
    if (!buffer || limit <= 0 || !Desktop.VideoReady) return 0;
    int x = SDL_WINDOWPOS_CENTERED, y = SDL_WINDOWPOS_CENTERED;
    if (Desktop.Window) SDL_GetWindowPosition(Desktop.Window, &x, &y);
    char title[64];
    Cp932ToUtf8("入力", strlen("入力"), title, sizeof title);
    SDL_Window* window = SDL_CreateWindow(title, x, y, DialogWidth, DialogHeight, SDL_WINDOW_HIDDEN);
    if (!window) return 0;
    SurfaceHandle canvas = PlatformCreateSurface(DialogWidth, DialogHeight);
    SurfaceHandle field = PlatformCreateSurface(FieldRect.W - 2, FieldRect.H - 2);
    FontHandle font = PlatformCreateFont("MS UI Gothic", 12);
    if (!canvas || !field || !font) {
        PlatformReleaseFont(font);
        PlatformReleaseSurface(field);
        PlatformReleaseSurface(canvas);
        SDL_DestroyWindow(window);
        return 0;
    }
    PlatformSelectFont(canvas, font);
    PlatformSetTransparentText(canvas);
    PlatformSelectFont(field, font);
    PlatformSetTransparentText(field);
    if (Desktop.Window) SDL_SetWindowModalFor(window, Desktop.Window);
    SDL_ShowWindow(window);
    SDL_RaiseWindow(window);
    uint32_t id = SDL_GetWindowID(window);
    SDL_Rect inputRect = {FieldRect.X, FieldRect.Y, FieldRect.W, FieldRect.H};
    SDL_SetTextInputRect(&inputRect);
    SDL_StartTextInput();
    Desktop.Modal = 1;

    char typed[TypedLimit] = "";
    char composing[256] = "";
    int hot = 0, pressed = 0, result = 0;
    while (result == 0) {
        DrawDialog(canvas, field, font, typed, composing, hot);
        ShowSurface(window, canvas, DialogWidth, DialogHeight);
        SDL_Event e;
        if (!SDL_WaitEventTimeout(&e, 100)) continue;
        do {
            switch (e.type) {
            case SDL_TEXTINPUT:
                if (e.text.windowID == id && strlen(typed) + strlen(e.text.text) < sizeof typed)
                    strcat(typed, e.text.text);
                composing[0] = 0;
                break;
            case SDL_TEXTEDITING:
                if (e.edit.windowID == id) snprintf(composing, sizeof composing, "%s", e.edit.text);
                break;
            case SDL_KEYDOWN:
                if (e.key.windowID != id || composing[0]) break;
                if (e.key.keysym.sym == SDLK_BACKSPACE) RemoveLastCharacter(typed);
                if (e.key.keysym.sym == SDLK_RETURN || e.key.keysym.sym == SDLK_KP_ENTER) result = AnswerOk;
                if (e.key.keysym.sym == SDLK_ESCAPE) result = AnswerCancel;
                break;
            case SDL_MOUSEMOTION:
                if (e.motion.windowID == id) hot = ButtonAt(e.motion.x, e.motion.y);
                break;
            case SDL_MOUSEBUTTONDOWN:
                if (e.button.windowID == id && e.button.button == SDL_BUTTON_LEFT)
                    pressed = ButtonAt(e.button.x, e.button.y);
                break;
            case SDL_MOUSEBUTTONUP:
                if (e.button.windowID == id && e.button.button == SDL_BUTTON_LEFT && pressed &&
                    pressed == ButtonAt(e.button.x, e.button.y))
                    result = pressed == 1 ? AnswerOk : AnswerCancel;
                pressed = 0;
                break;
            case SDL_WINDOWEVENT:
                if (e.window.windowID == id && e.window.event == SDL_WINDOWEVENT_CLOSE) result = AnswerCancel;
                if (IsMainWindow(e.window.windowID)) Translate(e);
                break;
            case SDL_QUIT:
                // Asked to end while the dialog is open: cancel, then close.
                result = AnswerCancel;
                Translate(e);
                break;
            }
        } while (result == 0 && SDL_PollEvent(&e));
    }

    SDL_StopTextInput();
    SDL_DestroyWindow(window);
    PumpEvents();
    Desktop.Modal = 0;
    PlatformReleaseFont(font);
    PlatformReleaseSurface(field);
    PlatformReleaseSurface(canvas);
    if (Desktop.Window) SDL_RaiseWindow(Desktop.Window);
    if (result != AnswerOk) return AnswerCancel;
    char text[TypedLimit];
    size_t length = Utf8ToCp932(typed, strlen(typed), text, sizeof text);
    size_t keep = Cp932FitLength(text, length, (size_t)limit - 1);
    memcpy(buffer, text, keep);
    buffer[keep] = 0;
    return AnswerOk;
}
