// The keypad panel on which numbers are typed: a 170 x 170 panel next to the
// mouse, over the picture of the screen that opened it.
#pragma once

#include <cstdint>

// Runs the panel until the number is confirmed (決定, Enter or right click:
// the typed number), cancelled (中止 or Space: initial) or the window closed
// (the typed magnitude without its sign; the caller leaves too). At most six
// digits: the result lies in -999999..999999. The panel starts from initial
// (its magnitude cut to six digits, and its sign); the callers pass 0, so it
// starts empty. The caller applies the field's range.
int32_t EditValue(int32_t initial);

constexpr int ValuePanelSize = 170;
constexpr int ValuePanelMaxDigits = 6;

// Buttons of the panel (the selection of a frame; 0 when none).
enum ValuePanelButton : int {
    PanelDigit1 = 1,  // ..PanelDigit9 = 9
    PanelDigit0 = 10,
    PanelSign = 11,
    PanelUndo = 12,     // 戻す
    PanelConfirm = 13,  // 決定
    PanelCancel = 14,   // 中止
    PanelClear = 15,    // 消去
};

// The top-left corner of a panel opened with the mouse at mouseX, mouseY:
// up and left of it, kept inside the picture.
void ValuePanelPlace(int32_t mouseX, int32_t mouseY, int* panelX, int* panelY);
// Draws one frame's panel into BackBuffer and returns the button under the mouse.
int DrawValuePanel(int panelX, int panelY, int32_t magnitude, int negative);
