// Control of the headless backend (window_headless.cpp): the input script a
// test or the scripted runner feeds in, and what the program showed.
//
// There is no window. A frame is one PlatformBeginPaint. The script is a list
// of steps executed in order whenever the program looks at its message queue
// and finds it empty and the current step's frames are used up:
//
//   move X Y            a mouse-move message to X, Y (queued)
//   down KEY / up KEY   a key or button goes down / up (state, not queued)
//   frames N            let N frames happen with the state as it is (N >= 1)
//   answer ok|yes|no|cancel   queue the answer of the next message box
//   text TEXT           queue OK with TEXT (UTF-8 in the script) for the next
//                       text dialog; "text" alone queues OK with empty text
//   cancel-text         queue a cancel for the next text dialog
//   close               ask the window to close (as the close box does)
//   # ...               comment; blank lines are ignored
//
// KEY is lbutton, rbutton, up, down, left, right, space, control, escape,
// return, back, minus, a digit 0..9, a letter a..z, or a number (virtual key).
// Other words are offered to the command hook (see HeadlessSetCommandHook);
// a line nobody understands is an error reported by HeadlessScriptError.
//
// When the script runs out, the window is closed, so every open screen
// unwinds and the program ends. A message box with no queued answer is
// answered OK (OK boxes) or No (Yes/No boxes); a text dialog with no queued
// answer is cancelled. Everything shown is recorded.
//
// Showing the window queues a paint message, so the program's first wait for
// a message returns at once. A wait never blocks: the frames of a "frames"
// step pass unpainted while the program waits. Once the window is gone
// nothing else can arrive, so a look at the queue finds a message and a wait
// returns the quit message (exit code 0 unless the program posted another).
#pragma once

#include "platform.h"

// Clears all state: script, queue, keys, records, window. Call between tests.
void HeadlessReset();
// Sets the script from text (lines as above). Returns 1, or 0 with an error.
int HeadlessSetScript(const char* text);
// Reads the script from a file. Returns 1, or 0 with an error.
int HeadlessLoadScript(const char* path);
// The first script error, or "" when none.
const char* HeadlessScriptError();

// A hook for commands this backend does not know (the scripted runner adds
// snapshots and table dumps). It gets the whole line and returns 1 when it
// understood it. It runs at the moment the line is reached in the script.
typedef int (*HeadlessCommandHook)(const char* line);
void HeadlessSetCommandHook(HeadlessCommandHook hook);

// Direct control, for tests that drive calls without a script.
void HeadlessSetKey(int virtualKey, int down);
void HeadlessQueueMouseMove(int x, int y);
void HeadlessQueueAnswer(int answer);               // next message box
void HeadlessQueueText(const char* cp932, int ok);  // next text dialog
void HeadlessRequestClose();

// What happened.
struct HeadlessMessageBoxRecord {
    char Text[256];     // CP932, as given
    char Caption[64];   // CP932, as given
    int Buttons;        // MessageBoxOk or MessageBoxYesNo
    int Answer;         // what was answered
};
int HeadlessMessageBoxCount();
const HeadlessMessageBoxRecord* HeadlessMessageBoxAt(int index);
int HeadlessTextDialogCount();
int HeadlessFrameCount();           // PlatformBeginPaint calls so far
int HeadlessPresentCount();         // PlatformPresent calls so far
int HeadlessWindowExists();
const char* HeadlessWindowTitle();  // CP932
int HeadlessClientWidth();
int HeadlessClientHeight();
long HeadlessSleptMilliseconds();   // sum of PlatformSleep calls (they return at once)

// Pixels of any surface (0x00BBGGRR); 0 outside the surface or for null.
uint32_t HeadlessReadPixel(SurfaceHandle surface, int x, int y);
// The last picture presented to the (absent) window.
uint32_t HeadlessReadWindowPixel(int x, int y);
// Saves a surface as a PNG file. Returns 1 on success.
int HeadlessSavePng(SurfaceHandle surface, const char* path);
