// Window-system backend for Windows.
//
// Platform:     Win32 (USER32, GDI32, MSIMG32), 32-bit and 64-bit, built with
//               mingw-w64; also runs under Wine.
// Limitations:  one main window per process; at most MaxSurfaces surfaces at a
//               time; text calls show at most MaxTextUnits characters, message
//               boxes at most MaxTextUnits characters of text; the text dialog
//               returns at most 1023 characters whatever its limit.
// Dependencies: USER32, GDI32, MSIMG32 (TransparentBlt), KERNEL32; the dialog
//               template "DIA0" from win32/dia0.rc linked into the program;
//               Cp932FitLength from host.h.
//
// Every call of platform.h maps onto the one system call of the same meaning.
// The text handed in is CP932; it is converted to UTF-16 with code page 932
// explicitly and shown through the wide-character functions, so Japanese is
// shown correctly whatever the system's own code page is. Text typed into the
// dialog comes back the same way, converted to CP932.
//
// This file also holds the process entry (WinMain), which keeps the show
// command for PlatformShowMainWindow and runs the shell's ApplicationEntry.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include <cstring>

#include "host.h"
#include "platform.h"

namespace {

constexpr UINT ShiftJisCodePage = 932;
constexpr int MaxSurfaces = 64;
constexpr int MaxTextUnits = 1024;
constexpr int MaxDialogUnits = 1024;
constexpr int DialogTextFieldId = 1001;

}  // namespace

// One drawing surface: a memory device context with its own bitmap (made
// blank or loaded from a file), and the objects it had when it was made so
// that they can be put back before it is released.
struct PlatformSurface {
    HDC Dc;
    HBITMAP Bitmap;
    HGDIOBJ OriginalBitmap;
    HGDIOBJ OriginalPen;
    HGDIOBJ OriginalFont;
    HPEN LinePen;  // pen of the latest line, released when the next line replaces it
    int Width;
    int Height;
};

static PlatformSurface Surfaces[MaxSurfaces];  // a slot is free while its Dc is null

static struct {
    HINSTANCE Instance;
    int ShowCommand;
    HWND Window;
    PlatformWindowProcedure Procedure;
    wchar_t ClassName[128];
    MSG Message;  // the last message taken; PlatformDispatchMessage dispatches it
    PAINTSTRUCT Paint;
    HDC PaintDc;  // between PlatformBeginPaint and PlatformEndPaint
    wchar_t DialogText[MaxDialogUnits];
    int DialogTextUnits;  // how many characters the dialog may hand back, with the terminator
} Win32;

// ---------------------------------------------------------------- text

// Converts byteCount bytes of CP932 text to UTF-16 into out (outUnits units,
// always terminated). Every CP932 character is one UTF-16 unit, so text that
// does not fit is cut at a character boundary before converting. Returns the
// number of units written.
static int WideFromCp932(const char* text, int byteCount, wchar_t* out, int outUnits) {
    if (outUnits <= 0) return 0;
    out[0] = 0;
    if (!text || byteCount <= 0) return 0;
    int bytes = (int)Cp932FitLength(text, (size_t)byteCount, (size_t)(outUnits - 1));
    int units = bytes > 0 ? MultiByteToWideChar(ShiftJisCodePage, 0, text, bytes, out, outUnits - 1) : 0;
    if (units < 0) units = 0;
    out[units] = 0;
    return units;
}

static int WideFromCp932String(const char* text, wchar_t* out, int outUnits) {
    return WideFromCp932(text, text ? lstrlenA(text) : 0, out, outUnits);
}

// ---------------------------------------------------------------- process entry

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    Win32.Instance = instance;
    Win32.ShowCommand = showCommand;
    return ApplicationEntry();
}

static HINSTANCE ProgramInstance() {
    if (!Win32.Instance) Win32.Instance = GetModuleHandleW(nullptr);
    return Win32.Instance;
}

// ---------------------------------------------------------------- main window

static LRESULT CALLBACK MainWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // Messages arrive while CreateWindowEx is still running; the default
    // processing of those needs the window already.
    if (!Win32.Window) Win32.Window = window;
    LRESULT result = Win32.Procedure ? Win32.Procedure(message, wParam, lParam)
                                     : DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) Win32.Window = nullptr;
    return result;
}

int PlatformRegisterWindowClass(const char* className, PlatformWindowProcedure procedure) {
    Win32.Procedure = procedure;
    WideFromCp932String(className, Win32.ClassName, (int)(sizeof Win32.ClassName / sizeof Win32.ClassName[0]));
    WNDCLASSW windowClass = {};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = MainWindowProcedure;
    windowClass.hInstance = ProgramInstance();
    windowClass.hCursor = LoadCursorW(nullptr, (LPCWSTR)IDC_ARROW);
    windowClass.hbrBackground = (HBRUSH)GetStockObject(WHITE_BRUSH);
    windowClass.lpszClassName = Win32.ClassName;
    return RegisterClassW(&windowClass) != 0 ? 1 : 0;
}

int PlatformCreateMainWindow(int x, int y, int clientWidth, int clientHeight) {
    // A top-level window always has a caption; naming it makes the frame
    // computation below count the caption bar.
    const DWORD style = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    RECT outer = {0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&outer, style, FALSE, 0);
    HWND window = CreateWindowExW(0, Win32.ClassName, L"", style, x, y, outer.right - outer.left,
                                  outer.bottom - outer.top, nullptr, nullptr, ProgramInstance(), nullptr);
    if (!window) return 0;
    Win32.Window = window;

    // Should the frame have come out thicker or thinner than computed (themes,
    // scaling), grow or shrink the window by the difference.
    RECT client;
    if (GetClientRect(window, &client)) {
        int missingWidth = clientWidth - (client.right - client.left);
        int missingHeight = clientHeight - (client.bottom - client.top);
        if (missingWidth != 0 || missingHeight != 0) {
            RECT placed;
            GetWindowRect(window, &placed);
            SetWindowPos(window, nullptr, 0, 0, placed.right - placed.left + missingWidth,
                         placed.bottom - placed.top + missingHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    return 1;
}

void PlatformShowMainWindow() {
    if (!Win32.Window) return;
    ShowWindow(Win32.Window, Win32.ShowCommand);
    UpdateWindow(Win32.Window);
}

void PlatformSetWindowTitle(const char* title) {
    if (!Win32.Window) return;
    wchar_t wide[MaxTextUnits];
    WideFromCp932String(title, wide, MaxTextUnits);
    SetWindowTextW(Win32.Window, wide);
}

int PlatformPeekMessage() {
    MSG pending;
    return PeekMessageW(&pending, nullptr, 0, 0, PM_NOREMOVE) ? 1 : 0;
}

int PlatformGetMessage(PlatformMessage* message) {
    BOOL got = GetMessageW(&Win32.Message, nullptr, 0, 0);
    if (got == -1) {
        // The queue cannot be read (it cannot happen with these arguments);
        // end the program as a quit message would rather than spin.
        Win32.Message = MSG{};
        Win32.Message.message = WM_QUIT;
    }
    if (message) {
        message->Message = Win32.Message.message;
        message->WParam = (uintptr_t)Win32.Message.wParam;
        message->LParam = (intptr_t)Win32.Message.lParam;
    }
    return Win32.Message.message == WM_QUIT ? 0 : 1;
}

void PlatformDispatchMessage(const PlatformMessage* message) {
    if (!message) return;
    // The message taken last carries the target window, time and cursor
    // position that the system wants back; a message made up by the caller
    // goes to the main window.
    MSG dispatched = Win32.Message;
    if (dispatched.message != message->Message || dispatched.wParam != (WPARAM)message->WParam ||
        dispatched.lParam != (LPARAM)message->LParam) {
        dispatched = MSG{};
        dispatched.hwnd = Win32.Window;
        dispatched.message = message->Message;
        dispatched.wParam = (WPARAM)message->WParam;
        dispatched.lParam = (LPARAM)message->LParam;
    }
    TranslateMessage(&dispatched);
    DispatchMessageW(&dispatched);
}

intptr_t PlatformDefaultWindowProc(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    if (!Win32.Window) return 0;
    return (intptr_t)DefWindowProcW(Win32.Window, message, (WPARAM)wParam, (LPARAM)lParam);
}

void PlatformPostQuitMessage(int exitCode) { PostQuitMessage(exitCode); }

void PlatformInvalidateWindow() {
    if (Win32.Window) InvalidateRect(Win32.Window, nullptr, FALSE);
}

void PlatformBeginPaint() {
    Win32.PaintDc = Win32.Window ? BeginPaint(Win32.Window, &Win32.Paint) : nullptr;
}

void PlatformPresent(PlatformSurface* source, int width, int height) {
    if (!Win32.PaintDc || !source || !source->Dc) return;
    BitBlt(Win32.PaintDc, 0, 0, width, height, source->Dc, 0, 0, SRCCOPY);
}

void PlatformEndPaint() {
    if (!Win32.PaintDc) return;
    if (Win32.Window) EndPaint(Win32.Window, &Win32.Paint);
    Win32.PaintDc = nullptr;
}

// ---------------------------------------------------------------- keys

int PlatformKeyDown(int virtualKey) { return GetAsyncKeyState(virtualKey) < 0 ? 1 : 0; }

// ---------------------------------------------------------------- surfaces

static PlatformSurface* FreeSurfaceSlot() {
    for (PlatformSurface& surface : Surfaces)
        if (!surface.Dc) return &surface;
    return nullptr;
}

// Puts a memory device context and a bitmap together into a free slot. The
// bitmap is released when there is no slot or no device context.
static PlatformSurface* AdoptBitmap(HBITMAP bitmap, int width, int height) {
    PlatformSurface* surface = FreeSurfaceSlot();
    HDC reference = GetDC(Win32.Window);
    HDC dc = surface ? CreateCompatibleDC(reference) : nullptr;
    ReleaseDC(Win32.Window, reference);
    if (!dc) {
        DeleteObject(bitmap);
        return nullptr;
    }
    *surface = PlatformSurface{};
    surface->Dc = dc;
    surface->Bitmap = bitmap;
    surface->OriginalBitmap = SelectObject(dc, bitmap);
    surface->OriginalPen = GetCurrentObject(dc, OBJ_PEN);
    surface->OriginalFont = GetCurrentObject(dc, OBJ_FONT);
    surface->Width = width;
    surface->Height = height;
    return surface;
}

SurfaceHandle PlatformCreateSurface(int width, int height) {
    if (width <= 0 || height <= 0) return nullptr;
    // Compatible with the window, not with a memory context (which would give
    // a one-bit bitmap).
    HDC reference = GetDC(Win32.Window);
    HBITMAP bitmap = CreateCompatibleBitmap(reference, width, height);
    ReleaseDC(Win32.Window, reference);
    if (!bitmap) return nullptr;
    PlatformSurface* surface = AdoptBitmap(bitmap, width, height);
    if (surface) PatBlt(surface->Dc, 0, 0, width, height, BLACKNESS);
    return surface;
}

SurfaceHandle PlatformLoadPicture(const char* path) {
    wchar_t widePath[MAX_PATH];
    if (WideFromCp932String(path, widePath, MAX_PATH) == 0) return nullptr;
    HBITMAP bitmap = (HBITMAP)LoadImageW(nullptr, widePath, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
    if (!bitmap) return nullptr;
    BITMAP info;
    if (GetObjectW(bitmap, sizeof info, &info) == 0) {
        DeleteObject(bitmap);
        return nullptr;
    }
    return AdoptBitmap(bitmap, (int)info.bmWidth, (int)(info.bmHeight < 0 ? -info.bmHeight : info.bmHeight));
}

void PlatformSurfaceSize(SurfaceHandle surface, int* width, int* height) {
    if (width) *width = surface ? surface->Width : 0;
    if (height) *height = surface ? surface->Height : 0;
}

void PlatformReleaseSurface(SurfaceHandle surface) {
    if (!surface || !surface->Dc) return;
    SelectObject(surface->Dc, surface->OriginalFont);
    SelectObject(surface->Dc, surface->OriginalPen);
    SelectObject(surface->Dc, surface->OriginalBitmap);
    if (surface->LinePen) DeleteObject(surface->LinePen);
    DeleteObject(surface->Bitmap);
    DeleteDC(surface->Dc);
    *surface = PlatformSurface{};
}

FontHandle PlatformCreateFont(const char* faceName, int height) {
    wchar_t face[LF_FACESIZE];
    WideFromCp932String(faceName, face, LF_FACESIZE);
    HFONT font = CreateFontW(height, 0, 0, 0, FW_DONTCARE, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                             face);
    return reinterpret_cast<FontHandle>(font);
}

void PlatformReleaseFont(FontHandle font) {
    if (!font) return;
    HFONT handle = reinterpret_cast<HFONT>(font);
    // A font must not be deleted while a surface still uses it.
    for (PlatformSurface& surface : Surfaces)
        if (surface.Dc && GetCurrentObject(surface.Dc, OBJ_FONT) == handle)
            SelectObject(surface.Dc, surface.OriginalFont);
    DeleteObject(handle);
}

// ---------------------------------------------------------------- drawing

void PlatformSelectFont(SurfaceHandle surface, FontHandle font) {
    if (!surface || !font) return;
    SelectObject(surface->Dc, reinterpret_cast<HFONT>(font));
}

// Colours are 0x00BBGGRR, the layout of a COLORREF.
void PlatformSetTextColour(SurfaceHandle surface, uint32_t colour) {
    if (surface) SetTextColor(surface->Dc, (COLORREF)colour);
}

void PlatformSetTransparentText(SurfaceHandle surface) {
    if (surface) SetBkMode(surface->Dc, TRANSPARENT);
}

void PlatformTextOut(SurfaceHandle surface, int x, int y, const char* text, int byteCount) {
    if (!surface || !text || byteCount <= 0) return;
    wchar_t wide[MaxTextUnits];
    int units = WideFromCp932(text, byteCount, wide, MaxTextUnits);
    if (units > 0) TextOutW(surface->Dc, x, y, wide, units);
}

void PlatformFillRectangle(SurfaceHandle surface, int x1, int y1, int x2, int y2, uint32_t colour) {
    if (!surface) return;
    HBRUSH brush = CreateSolidBrush((COLORREF)colour);
    if (!brush) return;
    HGDIOBJ previous = SelectObject(surface->Dc, brush);
    Rectangle(surface->Dc, x1, y1, x2, y2);
    SelectObject(surface->Dc, previous);
    DeleteObject(brush);
}

void PlatformDrawLine(SurfaceHandle surface, int x1, int y1, int x2, int y2, uint32_t colour) {
    if (!surface) return;
    HPEN pen = CreatePen(PS_SOLID, 1, (COLORREF)colour);
    if (!pen) return;
    SelectObject(surface->Dc, pen);
    if (surface->LinePen) DeleteObject(surface->LinePen);
    surface->LinePen = pen;
    MoveToEx(surface->Dc, x1, y1, nullptr);
    LineTo(surface->Dc, x2, y2);
}

void PlatformTransparentBlit(SurfaceHandle target, int dx, int dy, int dw, int dh, SurfaceHandle source, int sx,
                             int sy, int sw, int sh) {
    if (!target || !source) return;
    SetStretchBltMode(target->Dc, BLACKONWHITE);
    TransparentBlt(target->Dc, dx, dy, dw, dh, source->Dc, sx, sy, sw, sh, RGB(0, 0, 0));
}

void PlatformCopy(SurfaceHandle target, int dx, int dy, int width, int height, SurfaceHandle source, int sx,
                  int sy) {
    if (!target || !source) return;
    BitBlt(target->Dc, dx, dy, width, height, source->Dc, sx, sy, SRCCOPY);
}

// ---------------------------------------------------------------- pacing

void PlatformSleep(int milliseconds) { Sleep(milliseconds > 0 ? (DWORD)milliseconds : 0); }

// ---------------------------------------------------------------- modal dialogs

int PlatformMessageBox(const char* text, const char* caption, int buttons) {
    wchar_t wideText[MaxTextUnits];
    wchar_t wideCaption[256];
    WideFromCp932String(text, wideText, MaxTextUnits);
    WideFromCp932String(caption, wideCaption, 256);
    UINT type = buttons == MessageBoxYesNo ? MB_YESNO : MB_OK;
    return MessageBoxW(Win32.Window, wideText, wideCaption, type);
}

// The procedure of the "DIA0" dialog: OK takes the field's text, cancel (also
// Esc and the close box) leaves it; everything else is the default.
static INT_PTR CALLBACK TextDialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message != WM_COMMAND) return FALSE;
    switch (LOWORD(wParam)) {
    case IDOK:
        GetDlgItemTextW(dialog, DialogTextFieldId, Win32.DialogText, Win32.DialogTextUnits);
        EndDialog(dialog, IDOK);
        return TRUE;
    case IDCANCEL:
        EndDialog(dialog, IDCANCEL);
        return TRUE;
    default:
        return FALSE;
    }
}

int PlatformTextDialog(char* buffer, int limit) {
    // Every character takes at least one CP932 byte, so limit - 1 characters
    // are enough to fill limit - 1 bytes.
    Win32.DialogText[0] = 0;
    Win32.DialogTextUnits = limit < 1 ? 1 : (limit > MaxDialogUnits ? MaxDialogUnits : limit);
    INT_PTR result = DialogBoxParamW(ProgramInstance(), L"dia0", Win32.Window, TextDialogProcedure, 0);
    if (result == IDCANCEL) return 2;
    if (result != IDOK) return 0;
    if (!buffer || limit < 1) return 1;

    // Back to CP932; characters it cannot hold become '?' (never a look-alike
    // such as a backslash for a yen sign), and the text is cut to limit - 1
    // bytes without splitting a double-byte character.
    char cp932[MaxDialogUnits * 2];
    int bytes = WideCharToMultiByte(ShiftJisCodePage, WC_NO_BEST_FIT_CHARS, Win32.DialogText,
                                    lstrlenW(Win32.DialogText), cp932, (int)sizeof cp932, "?", nullptr);
    if (bytes < 0) bytes = 0;
    size_t kept = Cp932FitLength(cp932, (size_t)bytes, (size_t)(limit - 1));
    memcpy(buffer, cp932, kept);
    buffer[kept] = 0;
    return 1;
}
