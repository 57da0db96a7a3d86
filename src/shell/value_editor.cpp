// The keypad panel.
#include "value_editor.h"

#include "draw.h"
#include "shell.h"

struct PanelKey {
    int Column;  // offset from the panel's left edge
    int Row;     // offset from the panel's top edge
    const char* Label;
    int Button;
};

// The 4 x 4 grid; the sign button is drawn separately because its label
// shows the sign it would switch to.
static const PanelKey PanelKeys[] = {
    {30, 50, "１", 1},         {60, 50, "２", 2},         {90, 50, "３", 3},         {120, 50, "４", 4},
    {30, 80, "５", 5},         {60, 80, "６", 6},         {90, 80, "７", 7},         {120, 80, "８", 8},
    {30, 110, "９", 9},        {60, 110, "０", PanelDigit0},
    {30, 140, "戻す", PanelUndo}, {60, 140, "決定", PanelConfirm}, {90, 140, "中止", PanelCancel}, {120, 140, "消去", PanelClear},
};
constexpr int SignColumn = 90, SignRow = 110;

constexpr int LargestPanelX = ScreenWidth - ValuePanelSize;
constexpr int LargestPanelY = ScreenHeight - ValuePanelSize;

static int Clamp(int value, int low, int high) { return value < low ? low : value > high ? high : value; }

void ValuePanelPlace(int32_t mouseX, int32_t mouseY, int* panelX, int* panelY) {
    *panelX = Clamp(mouseX - 70, 0, LargestPanelX);
    *panelY = Clamp(mouseY - 45, 0, LargestPanelY);
}

int DrawValuePanel(int panelX, int panelY, int32_t magnitude, int negative) {
    int selection = 0;
    FillBox(BackBuffer, panelX, panelY, ValuePanelSize, ValuePanelSize,
            ColourRed(ScreenBackground), ColourGreen(ScreenBackground), ColourBlue(ScreenBackground));
    if (negative) PutText(BackBuffer, panelX + 20, panelY + 20, "-");
    PutNumber(BackBuffer, panelX + 30, panelY + 20, magnitude);
    for (const PanelKey& key : PanelKeys)
        if (TextButton(BackBuffer, panelX + key.Column, panelY + key.Row, key.Label, 0)) selection = key.Button;
    if (TextButton(BackBuffer, panelX + SignColumn, panelY + SignRow, negative ? "＋" : "－", 0)) selection = PanelSign;
    return selection;
}

// The selection a key gives directly, whatever the mouse is over; 0 for none.
static int KeySelection(int32_t event) {
    if (event >= 21 && event <= 29) return event - 20;  // digit keys 1..9
    if (event == 20) return PanelDigit0;
    if (event == 30) return PanelSign;
    return 0;
}

static int CountDigits(int32_t magnitude) {
    int digits = 0;
    for (; magnitude > 0; magnitude /= 10) ++digits;
    return digits;
}

int32_t EditValue(int32_t initial) {
    int panelX, panelY;
    ValuePanelPlace(MouseX, MouseY, &panelX, &panelY);

    // The largest magnitude six digits hold; a larger initial value is cut to
    // its first six digits.
    int negative = initial < 0 ? 1 : 0;
    int64_t start = initial < 0 ? -(int64_t)initial : (int64_t)initial;
    while (start > 999999) start /= 10;
    int32_t magnitude = (int32_t)start;
    int digits = CountDigits(magnitude);

    while (NextFrame()) {
        int selection = DrawValuePanel(panelX, panelY, magnitude, negative);
        PresentFrame();

        const int32_t event = InputEvent;
        const int keySelection = KeySelection(event);
        if (keySelection) selection = keySelection;
        if (keySelection || event == 1) {
            if (selection >= 1 && selection <= 9) {
                magnitude = magnitude * 10 + selection;
                if (++digits > ValuePanelMaxDigits) {
                    digits = ValuePanelMaxDigits;
                    magnitude /= 10;
                }
            } else if (selection == PanelDigit0) {
                if (magnitude > 0 && digits < ValuePanelMaxDigits) {
                    magnitude *= 10;
                    ++digits;
                }
            } else if (selection == PanelSign) {
                negative = !negative;
            } else if (selection == PanelConfirm) {
                return negative ? -magnitude : magnitude;
            } else if (selection == PanelCancel) {
                return initial;
            } else if (selection == PanelClear) {
                magnitude = 0;
                digits = 0;
            }
        }
        if (event == 11 || (selection == PanelUndo && event == 1)) {
            if (--digits <= 0) {
                magnitude = 0;
                digits = 0;
            } else {
                magnitude /= 10;
            }
        }
        if (event == 10 || event == 2) return negative ? -magnitude : magnitude;
        if (event == 7) return initial;
        EndFrame();
    }
    return magnitude;
}
