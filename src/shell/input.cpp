// Input of one frame: the keys and buttons down at this moment, reduced to
// one code, given once per press.
#include "shell.h"

int32_t InputEvent;
int32_t PreviousInput;

struct PolledKey {
    int VirtualKey;
    int32_t Code;
};

// Polling order: when several are down, the last one in this list wins.
// The numeric keypad, function keys and the other letters give nothing.
static const PolledKey PolledKeys[] = {
    {KeyLButton, 1},
    {KeyRButton, 2},
    {KeyUp, 3},
    {KeyDown, 4},
    {KeyLeft, 5},
    {KeyRight, 6},
    {KeySpace, 7},
    {KeyControl, 8},
    {KeyEscape, 9},
    {KeyReturn, 10},
    {KeyBack, 11},
    {KeyDigit0 + 0, 20},
    {KeyDigit0 + 1, 21},
    {KeyDigit0 + 2, 22},
    {KeyDigit0 + 3, 23},
    {KeyDigit0 + 4, 24},
    {KeyDigit0 + 5, 25},
    {KeyDigit0 + 6, 26},
    {KeyDigit0 + 7, 27},
    {KeyDigit0 + 8, 28},
    {KeyDigit0 + 9, 29},
    {KeyOemMinus, 30},
    {KeyLetterA + ('X' - 'A'), 40},
    {KeyLetterA + ('Z' - 'A'), 41},
    {KeyLetterA + ('C' - 'A'), 42},
    {KeyLetterA + ('A' - 'A'), 43},
    {KeyLetterA + ('S' - 'A'), 44},
    {KeyLetterA + ('D' - 'A'), 45},
};

void PollInput() {
    InputEvent = 0;
    for (const PolledKey& key : PolledKeys)
        if (PlatformKeyDown(key.VirtualKey)) InputEvent = key.Code;

    // A code stands in the first frame it wins; while it keeps winning it
    // is suppressed.
    if (PreviousInput == 0 || PreviousInput != InputEvent)
        PreviousInput = InputEvent;
    else
        InputEvent = 0;
}
