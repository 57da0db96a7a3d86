// The application shell of rosterdesk: the main window and its drawing
// resources, the frame pump every screen runs, and the input of one frame.
//
// There is no central message loop. Every screen runs its own loop, and
// screens nest like calls. The loop of a screen is always:
//
//     while (NextFrame()) {          // pump messages, begin a frame, poll input
//         ...draw into BackBuffer... // buttons report the mouse while drawn
//         PresentFrame();
//         ...act on InputEvent...    // may return, or run another screen
//         EndFrame();                // the frame pace
//     }
//     // QuitFlag is set: leave without acting or saving
//
// NextFrame returns 0 once the window has been closed; every open screen then
// returns to its caller, which sees QuitFlag and returns in turn.
#pragma once

#include <cstdint>

#include "platform/platform.h"

constexpr int ScreenWidth = 640;
constexpr int ScreenHeight = 480;
constexpr int FramePauseMilliseconds = 40;

// ---------------------------------------------------------------- drawing resources
// Made by MakeGraphics (StartUp), released by ReleaseGraphics. A picture that
// could not be loaded stays null, and drawing from it draws nothing.

extern SurfaceHandle BackBuffer;   // 640x480; every screen draws into it
extern SurfaceHandle MapPicture;   // gdata\tizu01.gdat: the castle map
extern SurfaceHandle Map0Picture;  // gdata\map0.gdat: loaded and kept
extern SurfaceHandle IconSheet;    // gdata\etc00.gdat: icons and markers
extern FontHandle LargeFont;       // cell height 14: 7 pixels per byte
extern FontHandle SmallFont;       // cell height 10

// ---------------------------------------------------------------- frame state

extern int32_t QuitFlag;    // 1 once the quit message was taken; never cleared
extern int32_t FrameReady;  // 1 when this loop iteration is a frame
// The message record shared by the program entry and PumpFrame: after the
// program ends it holds the quit message with the exit code.
extern PlatformMessage LastMessage;

// ---------------------------------------------------------------- input
// Codes of InputEvent, in polling order (a later key wins when several are down):
//   1 left button, 2 right button, 3 Up, 4 Down, 5 Left, 6 Right, 7 Space,
//   8 Ctrl, 9 Esc, 10 Enter, 11 Backspace, 20..29 digit keys 0..9 of the main
//   keyboard, 30 minus key, 40 X, 41 Z, 42 C, 43 A, 44 S, 45 D. 0: nothing new.

extern int32_t MouseX;         // client pixels, 0..65535, from the last mouse move
extern int32_t MouseY;
extern int32_t InputEvent;     // the code of this frame
extern int32_t PreviousInput;  // the winning code of the previous frame

// ---------------------------------------------------------------- start-up and frames

// The program entry (declared in platform.h): registers the window class,
// creates the window, waits for the first message, runs StartUp.
// int ApplicationEntry();

// Graphics, data, castle files, then the main menu until the window closes.
void StartUp();
// The window title, BackBuffer, the three pictures (one message for each that
// is missing) and the two fonts. ReleaseGraphics undoes it.
void MakeGraphics();
// Releases the fonts, surfaces and pictures. Does nothing when they are
// already released, so it runs exactly once per MakeGraphics.
void ReleaseGraphics();

// Handles one pending message, or, when none is pending, begins a frame.
// Reports which through QuitFlag and FrameReady.
void PumpFrame();
// Copies BackBuffer to the window and ends the painting PumpFrame began.
void PresentFrame();
// The window procedure: records mouse moves; on destroy releases the graphics
// and posts the quit message.
intptr_t MainWindowProc(uint32_t message, uintptr_t wParam, intptr_t lParam);

// Sets InputEvent from the keys and buttons down now. A code is given once,
// in the first frame in which it wins; it comes again only after the winner
// changed. A screen may set PreviousInput to a value no key gives (such as
// the code + 100) so that a held key counts as new in the next frame.
void PollInput();

// The start of a screen's frame: pumps messages until a frame begins, then
// polls input and sets TextColour to the text colour of the screens.
// Returns 1 for a frame, 0 when QuitFlag is set (the screen must return).
int NextFrame();
// The end of a screen's frame: the frame pace.
void EndFrame();
