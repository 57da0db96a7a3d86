// The window-system layer of rosterdesk.
//
// Everything the editor asks of the window system goes through the calls in
// this header, one call per window-system operation, so that the shell code
// reads like a sequence of plain window-system steps. Exactly one backend is
// linked into a program:
//
//   window_win32.cpp     the real window system (USER32, GDI32, MSIMG32)
//   window_sdl.cpp       Linux desktop: an SDL2 window over software surfaces
//   window_headless.cpp  no window at all: scripted input, recorded output
//                        (see headless.h), for tests and the scripted runner
//
// The two Linux backends share soft_surface.cpp (32-bit pixel buffers, text
// through FreeType). Nothing outside src/platform knows which backend runs.
//
// All text handed to this layer is Shift-JIS (code page 932) bytes; the
// backends convert where the system underneath wants something else.
// Colours are 0x00BBGGRR values as made by MakeColour.
#pragma once

#include <cstdint>

// ---------------------------------------------------------------- colours

constexpr uint32_t MakeColour(int red, int green, int blue) {
    return (uint32_t)(red & 0xFF) | ((uint32_t)(green & 0xFF) << 8) | ((uint32_t)(blue & 0xFF) << 16);
}
constexpr int ColourRed(uint32_t c) { return (int)(c & 0xFF); }
constexpr int ColourGreen(uint32_t c) { return (int)((c >> 8) & 0xFF); }
constexpr int ColourBlue(uint32_t c) { return (int)((c >> 16) & 0xFF); }

// ---------------------------------------------------------------- messages

// Message numbers are those of the window system, so that the shell's window
// procedure can be written against them directly.
constexpr uint32_t MessageDestroy = 0x0002;
constexpr uint32_t MessagePaint = 0x000F;
constexpr uint32_t MessageClose = 0x0010;
constexpr uint32_t MessageQuit = 0x0012;
constexpr uint32_t MessageMouseMove = 0x0200;

struct PlatformMessage {
    uint32_t Message;
    uintptr_t WParam;
    intptr_t LParam;  // for MessageMouseMove: x in the low 16 bits, y in the next 16
};

typedef intptr_t (*PlatformWindowProcedure)(uint32_t message, uintptr_t wParam, intptr_t lParam);

// ---------------------------------------------------------------- main window

// The process entry of the desktop and Win32 backends calls this; the shell
// defines it. Its result is the process exit code.
int ApplicationEntry();

// Registers the one window class with its window procedure. 1 on success.
int PlatformRegisterWindowClass(const char* className, PlatformWindowProcedure procedure);
// Creates the main window (empty title, close and minimise boxes, no sizing)
// at x, y whose client area is exactly clientWidth x clientHeight. 1 on success.
int PlatformCreateMainWindow(int x, int y, int clientWidth, int clientHeight);
// Shows the window with the show command given to the process, then updates it.
void PlatformShowMainWindow();
void PlatformSetWindowTitle(const char* title);

// 1 when a message is pending for the thread (the message is not removed).
int PlatformPeekMessage();
// Takes one message, waiting for one if none is pending. Returns 0 for the
// quit message (its exit code is in WParam), else 1.
int PlatformGetMessage(PlatformMessage* message);
// Translates and dispatches a message to the window procedure.
void PlatformDispatchMessage(const PlatformMessage* message);
// Default processing: a close request destroys the window (which sends
// MessageDestroy to the procedure); everything else is ignored. Returns 0.
intptr_t PlatformDefaultWindowProc(uint32_t message, uintptr_t wParam, intptr_t lParam);
// Posts the quit message with the exit code.
void PlatformPostQuitMessage(int exitCode);

// Painting of one frame: invalidate the whole client area without erasing,
// begin painting, copy the finished picture, end painting.
void PlatformInvalidateWindow();
void PlatformBeginPaint();
void PlatformPresent(struct PlatformSurface* source, int width, int height);
void PlatformEndPaint();

// ---------------------------------------------------------------- keys

// Virtual-key codes of the window system.
constexpr int KeyLButton = 0x01;
constexpr int KeyRButton = 0x02;
constexpr int KeyBack = 0x08;
constexpr int KeyReturn = 0x0D;
constexpr int KeyControl = 0x11;
constexpr int KeyEscape = 0x1B;
constexpr int KeySpace = 0x20;
constexpr int KeyLeft = 0x25;
constexpr int KeyUp = 0x26;
constexpr int KeyRight = 0x27;
constexpr int KeyDown = 0x28;
constexpr int KeyDigit0 = 0x30;  // '0'..'9' are 0x30..0x39
constexpr int KeyLetterA = 0x41; // 'A'..'Z' are 0x41..0x5A
constexpr int KeyOemMinus = 0xBD;

// 1 when the key or mouse button is down at the moment of the call.
int PlatformKeyDown(int virtualKey);

// ---------------------------------------------------------------- surfaces

typedef struct PlatformSurface* SurfaceHandle;
typedef struct PlatformFont* FontHandle;

// A memory surface compatible with the main window, black, with the black
// one-pixel pen selected. 0 on failure.
SurfaceHandle PlatformCreateSurface(int width, int height);
// A picture surface loaded from a BMP file (any bit depth, either row order)
// at its natural size. path is a game path as for host.h. 0 on failure.
SurfaceHandle PlatformLoadPicture(const char* path);
// Width and height of a surface; 0, 0 for a null handle.
void PlatformSurfaceSize(SurfaceHandle surface, int* width, int* height);
void PlatformReleaseSurface(SurfaceHandle surface);

// A font by face name and cell height with the Shift-JIS character set.
FontHandle PlatformCreateFont(const char* faceName, int height);
void PlatformReleaseFont(FontHandle font);

// ---------------------------------------------------------------- drawing
// Every call does nothing when a handle is null.

void PlatformSelectFont(SurfaceHandle surface, FontHandle font);
void PlatformSetTextColour(SurfaceHandle surface, uint32_t colour);
void PlatformSetTransparentText(SurfaceHandle surface);
// byteCount bytes of CP932 text with the top-left of the cell at x, y in the
// surface's font and text colour.
void PlatformTextOut(SurfaceHandle surface, int x, int y, const char* text, int byteCount);
// Rectangle from x1, y1 to x2, y2 (columns x1..x2-1, rows y1..y2-1) filled
// with a solid brush of the colour, its one-pixel border drawn with the
// surface's current pen. The brush is released again.
void PlatformFillRectangle(SurfaceHandle surface, int x1, int y1, int x2, int y2, uint32_t colour);
// One-pixel line from x1, y1 to x2, y2 without its end point, with a new pen
// of the colour, which stays the surface's current pen (the old one is released).
void PlatformDrawLine(SurfaceHandle surface, int x1, int y1, int x2, int y2, uint32_t colour);
// Stretch copy with nearest-pixel scaling; black source pixels are skipped.
void PlatformTransparentBlit(SurfaceHandle target, int dx, int dy, int dw, int dh,
                             SurfaceHandle source, int sx, int sy, int sw, int sh);
// Plain copy of width x height pixels.
void PlatformCopy(SurfaceHandle target, int dx, int dy, int width, int height,
                  SurfaceHandle source, int sx, int sy);

// ---------------------------------------------------------------- pacing

// Waits for the given time (the frame pace). The headless backend only counts it.
void PlatformSleep(int milliseconds);

// ---------------------------------------------------------------- modal dialogs

constexpr int MessageBoxOk = 0x0;
constexpr int MessageBoxYesNo = 0x4;
constexpr int AnswerOk = 1;
constexpr int AnswerCancel = 2;
constexpr int AnswerYes = 6;
constexpr int AnswerNo = 7;

// A modal message box owned by the main window. Returns the answer.
int PlatformMessageBox(const char* text, const char* caption, int buttons);

// The modal text dialog "入力" (text field, OK, キャンセル) owned by the main
// window. On OK, buffer receives the typed text as CP932, at most limit - 1
// bytes cut on a character boundary, and the result is 1. On cancel the
// buffer is untouched and the result is 2. If the dialog cannot be shown the
// result is 0.
int PlatformTextDialog(char* buffer, int limit);
