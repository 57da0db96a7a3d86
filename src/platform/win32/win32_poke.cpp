// Drives the editor's windows from outside, as a user would, for the checks
// under Wine (tools/wine-check.sh). A console program; every command waits up
// to ten seconds for its window.
//
//   win32-poke close
//       asks the main window (class "ウィンドウクラスネーム") to close, as its
//       close box does
//   win32-poke messagebox TEXT yes|no|ok
//       finds the message box captioned "確認", checks that it shows TEXT and
//       presses the button
//   win32-poke dialog TEXT ok|cancel
//       finds the dialog "入力", puts TEXT into its text field and presses
//       the button
//
// TEXT is given as UTF-16 code points in hexadecimal separated by commas
// ("4FDD,5B58"), or "-" for the empty text, so that it survives any locale.
// Exit code: 0 done, 1 window not found, 2 the message box shows other text,
// 3 bad command line.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int TextFieldId = 1001;

int ParseText(const char* hex, wchar_t* out, int outUnits) {
    int units = 0;
    if (strcmp(hex, "-") != 0) {
        const char* at = hex;
        while (*at && units < outUnits - 1) {
            char* end = nullptr;
            unsigned long code = strtoul(at, &end, 16);
            if (end == at || code > 0xFFFF) return -1;
            out[units++] = (wchar_t)code;
            at = *end == ',' ? end + 1 : end;
        }
    }
    out[units] = 0;
    return units;
}

// Waits for the window to be shown: a dialog can be found while it is still
// being made, before its controls exist.
HWND WaitForWindow(const wchar_t* className, const wchar_t* title) {
    for (int tries = 0; tries < 100; ++tries) {
        HWND window = FindWindowW(className, title);
        if (window && IsWindowVisible(window)) return window;
        Sleep(100);
    }
    return nullptr;
}

struct StaticSearch {
    const wchar_t* Text;
    int Found;
};

BOOL CALLBACK LookAtChild(HWND child, LPARAM parameter) {
    StaticSearch* search = (StaticSearch*)parameter;
    wchar_t className[32];
    wchar_t text[512];
    GetClassNameW(child, className, 32);
    GetWindowTextW(child, text, 512);
    if (lstrcmpiW(className, L"Static") == 0 && lstrcmpW(text, search->Text) == 0) search->Found = 1;
    return TRUE;
}

void Press(HWND dialog, int id) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(dialog, id));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && strcmp(argv[1], "close") == 0) {
        HWND window = WaitForWindow(L"ウィンドウクラスネーム", nullptr);
        if (!window) return 1;
        PostMessageW(window, WM_CLOSE, 0, 0);
        return 0;
    }
    wchar_t text[256];
    if (argc != 4 || ParseText(argv[2], text, 256) < 0) {
        fprintf(stderr, "usage: win32-poke close | messagebox TEXT yes|no|ok | dialog TEXT ok|cancel\n");
        return 3;
    }
    if (strcmp(argv[1], "messagebox") == 0) {
        int id = strcmp(argv[3], "yes") == 0 ? IDYES : strcmp(argv[3], "no") == 0 ? IDNO : IDOK;
        HWND box = WaitForWindow(L"#32770", L"確認");
        if (!box) return 1;
        StaticSearch search = {text, 0};
        EnumChildWindows(box, LookAtChild, (LPARAM)&search);
        Press(box, id);
        return search.Found ? 0 : 2;
    }
    if (strcmp(argv[1], "dialog") == 0) {
        HWND dialog = WaitForWindow(L"#32770", L"入力");
        if (!dialog) return 1;
        SetDlgItemTextW(dialog, TextFieldId, text);
        Press(dialog, strcmp(argv[3], "ok") == 0 ? IDOK : IDCANCEL);
        return 0;
    }
    return 3;
}
