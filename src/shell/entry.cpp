// The program entry of rosterdesk, called by the window backend's process
// entry (and by the scripted runner).
#include "shell.h"

int ApplicationEntry() {
    if (!PlatformRegisterWindowClass("ウィンドウクラスネーム", MainWindowProc)) return 1;
    // The client area is exactly the size of the picture, so no edge of it is
    // hidden under the window frame.
    if (!PlatformCreateMainWindow(100, 100, ScreenWidth, ScreenHeight)) return 1;
    PlatformShowMainWindow();

    // A single wait for the first message: the start-up begins once the
    // window is up and talking.
    if (!PlatformGetMessage(&LastMessage)) return (int)LastMessage.WParam;
    PlatformDispatchMessage(&LastMessage);
    StartUp();
    ReleaseGraphics();
    return (int)LastMessage.WParam;
}
