// The input code of a frame: polling order, codes and repeat suppression.
#include <initializer_list>

#include "shell_fixture.h"

class InputTest : public ::testing::Test {
protected:
    void SetUp() override {
        HeadlessReset();
        ResetShellState();
    }
    void TearDown() override { HeadlessReset(); }

    // One frame with exactly these keys down; returns its code.
    int32_t Frame(std::initializer_list<int> keys) {
        for (int key = 1; key < 256; ++key) HeadlessSetKey(key, 0);
        for (int key : keys) HeadlessSetKey(key, 1);
        PollInput();
        return InputEvent;
    }
};

constexpr int Digit(int d) { return KeyDigit0 + d; }
constexpr int Letter(char c) { return KeyLetterA + (c - 'A'); }

TEST_F(InputTest, EachKeyAloneGivesItsCode) {
    const struct {
        int Key;
        int32_t Code;
    } cases[] = {
        {KeyLButton, 1}, {KeyRButton, 2}, {KeyUp, 3},      {KeyDown, 4},        {KeyLeft, 5},     {KeyRight, 6},
        {KeySpace, 7},   {KeyControl, 8}, {KeyEscape, 9},  {KeyReturn, 10},     {KeyBack, 11},    {Digit(0), 20},
        {Digit(5), 25},  {Digit(9), 29},  {KeyOemMinus, 30}, {Letter('X'), 40}, {Letter('Z'), 41}, {Letter('C'), 42},
        {Letter('A'), 43}, {Letter('S'), 44}, {Letter('D'), 45},
        // Keys outside the list give nothing: keypad digits, F1, other letters, Shift.
        {0x60, 0}, {0x65, 0}, {0x69, 0}, {0x70, 0}, {Letter('B'), 0}, {Letter('Q'), 0}, {0x10, 0},
    };
    for (const auto& c : cases) {
        Frame({});
        EXPECT_EQ(Frame({c.Key}), c.Code) << "virtual key " << c.Key;
    }
}

TEST_F(InputTest, FrameSequences) {
    using Keys = std::initializer_list<int>;
    const struct {
        const char* Name;
        std::initializer_list<Keys> Frames;
        std::initializer_list<int32_t> Codes;
    } cases[] = {
        {"a held button gives its code once; release and press gives it again",
         {{KeyLButton}, {KeyLButton}, {KeyLButton}, {}, {KeyLButton}},
         {1, 0, 0, 0, 1}},
        {"Ctrl wins over the click: the click is lost", {{KeyControl, KeyLButton}, {KeyControl}, {}}, {8, 0, 0}},
        {"button held + 5 gives 25, release of 5 gives 1 again",
         {{KeyLButton}, {KeyLButton, Digit(5)}, {KeyLButton}, {KeyLButton}},
         {1, 25, 1, 0}},
        {"Up and Down together give Down", {{KeyUp, KeyDown}}, {4}},
        {"the later key in polling order wins", {{KeyEscape, KeyReturn, KeyRButton}}, {10}},
        {"a change of winner delivers the new code at once", {{KeyLeft}, {KeyRight}, {KeyLeft}}, {5, 6, 5}},
        {"nothing down, nothing new", {{}, {}}, {0, 0}},
    };
    for (const auto& c : cases) {
        ResetShellState();
        std::vector<int32_t> codes;
        for (const Keys& keys : c.Frames) codes.push_back(Frame(keys));
        EXPECT_EQ(codes, std::vector<int32_t>(c.Codes)) << c.Name;
    }
}

TEST_F(InputTest, PreviousInputCarriesAcrossScreensAndCanBeOverridden) {
    EXPECT_EQ(Frame({KeyLeft}), 5);
    EXPECT_EQ(PreviousInput, 5);
    EXPECT_EQ(Frame({KeyLeft}), 0);
    EXPECT_EQ(PreviousInput, 5);
    // A screen that wants a held key to repeat sets a value no key gives.
    PreviousInput = 105;
    EXPECT_EQ(Frame({KeyLeft}), 5);
    EXPECT_EQ(Frame({}), 0);
    EXPECT_EQ(PreviousInput, 0);
}
