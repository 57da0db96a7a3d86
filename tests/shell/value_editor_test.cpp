// The keypad panel, driven through scripted frames.
#include "shell/value_editor.h"

#include "shell_fixture.h"

// Pictures of BackBuffer taken by the script line "grab".
static std::vector<SurfaceHandle> Grabs;

static int GrabHook(const char* line) {
    if (strcmp(line, "grab") != 0) return 0;
    SurfaceHandle copy = PlatformCreateSurface(ScreenWidth, ScreenHeight);
    PlatformCopy(copy, 0, 0, ScreenWidth, ScreenHeight, BackBuffer, 0, 0);
    Grabs.push_back(copy);
    return 1;
}

// The panel opens with the mouse at 300, 200, so its corner is 230, 155.
constexpr int OpenX = 300, OpenY = 200, PanelX = 230, PanelY = 155;

static std::string Button(int column, int row) { return Click(PanelX + column + 5, PanelY + row + 5); }
static std::string Keys(const char* keys) {
    std::string script;
    for (const char* k = keys; *k; ++k) script += Key(std::string(1, *k).c_str());
    return script;
}
static const std::string Enter = Key("return");
static const std::string Minus = Key("minus");
static const std::string Back = Key("back");
static const std::string Grab = "grab\n";
static const std::string Undo = Button(30, 140), Confirm = Button(60, 140), Cancel = Button(90, 140),
                         Clear = Button(120, 140), Zero = Button(60, 110), Sign = Button(90, 110);

class ValueEditorTest : public HeadlessShell {
protected:
    void SetUp() override {
        HeadlessShell::SetUp();
        HeadlessSetCommandHook(GrabHook);
        // The caller's picture, which stays around the panel.
        FillBox(BackBuffer, 0, 0, ScreenWidth, ScreenHeight, 90, 0, 0);
        MouseX = OpenX;
        MouseY = OpenY;
    }
    void TearDown() override {
        for (SurfaceHandle grab : Grabs) PlatformReleaseSurface(grab);
        Grabs.clear();
        HeadlessShell::TearDown();
    }

    int32_t Run(int32_t initial, const std::string& script) {
        EXPECT_TRUE(HeadlessSetScript(script.c_str())) << HeadlessScriptError();
        int32_t result = EditValue(initial);
        EXPECT_STREQ(HeadlessScriptError(), "");
        return result;
    }

    // True when the grabbed picture shows the number and the sign as the
    // drawing calls show them: "-" and the magnitude on the number line, the
    // sign button reading "＋" while negative and "－" while positive.
    bool Shows(SurfaceHandle grab, int32_t magnitude, int negative) {
        const int32_t mouseX = MouseX, mouseY = MouseY;
        MouseX = MouseY = 0;
        FillBox(BackBuffer, PanelX, PanelY, ValuePanelSize, ValuePanelSize, 208, 202, 192);
        if (negative) PutText(BackBuffer, PanelX + 20, PanelY + 20, "-");
        PutNumber(BackBuffer, PanelX + 30, PanelY + 20, magnitude);
        TextButton(BackBuffer, PanelX + 90, PanelY + 110, negative ? "＋" : "－", 0);
        MouseX = mouseX;
        MouseY = mouseY;
        return SameRegion(grab, BackBuffer, PanelX + 1, PanelY + 20, 120, 14) &&
               SameRegion(grab, BackBuffer, PanelX + 90, PanelY + 110, 22, 15);
    }
};

TEST_F(ValueEditorTest, TypingSignAndConfirming) {
    const struct {
        const char* Name;
        int32_t Initial;
        std::string Script;
        int32_t Result;
    } cases[] = {
        {"1 2 3, minus, Enter", 0, Keys("123") + Minus + Enter, -123},
        {"a seventh digit is ignored", 0, Keys("1234567") + Enter, 123456},
        {"0 at zero gives no leading zero; after 5 it gives 50", 0, Keys("050") + Enter, 50},
        {"the ０ button likewise", 0, Zero + Keys("5") + Zero + Enter, 50},
        {"0 does not make a seventh digit", 0, Keys("1234560") + Enter, 123456},
        {"digit buttons", 0, Button(30, 50) + Button(120, 80) + Button(30, 110) + Enter, 189},
        {"Backspace drops the last digit", 0, Keys("123") + Back + Back + Enter, 1},
        {"Backspace past the first digit stays at 0", 0, Keys("123") + Back + Back + Back + Back + Keys("7") + Enter, 7},
        {"戻す drops the last digit", 0, Keys("123") + Undo + Enter, 12},
        {"消去 clears the number and keeps the sign", 0, Minus + Keys("45") + Clear + Keys("6") + Enter, -6},
        {"消去 on -45 then confirm gives 0", 0, Minus + Keys("45") + Clear + Enter, 0},
        {"the sign button toggles", 0, Keys("4") + Sign + Enter, -4},
        {"the sign button twice", 0, Keys("4") + Sign + Sign + Enter, 4},
        {"right click confirms", 0, Keys("42") + Key("rbutton"), 42},
        {"決定 confirms", 0, Keys("42") + Confirm, 42},
        {"Space returns the initial value", 0, Keys("42") + Key("space"), 0},
        {"中止 returns the initial value", 0, Keys("42") + Cancel, 0},
        {"a click beside the buttons does nothing", 0, Keys("3") + Click(PanelX + 5, PanelY + 5) + Enter, 3},
        {"keypad digits and Esc do nothing", 0, Key("0x61") + Key("escape") + Keys("5") + Enter, 5},
        {"a non-zero initial value is the start", -17, Keys("4") + Enter, -174},
        {"and is what a cancel returns", -17, Keys("4") + Key("space"), -17},
    };
    for (const auto& c : cases) {
        TearDown();
        SetUp();
        EXPECT_EQ(Run(c.Initial, c.Script), c.Result) << c.Name;
        EXPECT_EQ(QuitFlag, 0) << c.Name;
    }
}

TEST_F(ValueEditorTest, ShowsTheNumberAndTheSignButtonOverTheCallersPicture) {
    const std::string script = Keys("123") + Grab + Minus + Grab + Keys("4567") + Grab + Minus + Keys("0") + Clear +
                               Grab + Enter;
    EXPECT_EQ(Run(0, script), 0);
    ASSERT_EQ(Grabs.size(), 4u);
    EXPECT_TRUE(Shows(Grabs[0], 123, 0));
    EXPECT_FALSE(Shows(Grabs[0], 123, 1));
    EXPECT_TRUE(Shows(Grabs[1], 123, 1));
    EXPECT_TRUE(Shows(Grabs[2], 123456, 1));
    EXPECT_TRUE(Shows(Grabs[3], 0, 0));
    // The caller's picture stays around the panel.
    EXPECT_EQ(HeadlessReadPixel(Grabs[0], 1, 1), MakeColour(90, 0, 0));
    EXPECT_EQ(HeadlessReadPixel(Grabs[0], PanelX - 1, PanelY + 50), MakeColour(90, 0, 0));
    EXPECT_EQ(HeadlessReadPixel(Grabs[0], PanelX + 5, PanelY + 5), ScreenBackground);
}

TEST_F(ValueEditorTest, ClosingTheWindowReturnsTheMagnitude) {
    EXPECT_EQ(Run(0, Minus + Keys("12")), 12);
    EXPECT_EQ(QuitFlag, 1);
}

TEST(ValuePanelPlace, KeepsThePanelInsideThePicture) {
    const struct {
        int MouseX, MouseY, X, Y;
    } cases[] = {{630, 470, 470, 310}, {300, 200, 230, 155}, {0, 0, 0, 0}, {70, 45, 0, 0}, {65535, 65535, 470, 310}};
    for (const auto& c : cases) {
        int x, y;
        ValuePanelPlace(c.MouseX, c.MouseY, &x, &y);
        EXPECT_EQ(x, c.X) << c.MouseX;
        EXPECT_EQ(y, c.Y) << c.MouseY;
    }
}

TEST_F(ValueEditorTest, OpenedInTheCornerTheButtonsAreWhereThePanelIs) {
    MouseX = 630;
    MouseY = 470;
    EXPECT_EQ(Run(0, Keys("7") + Click(470 + 60 + 5, 310 + 140 + 5)), 7);
}

TEST_F(ValueEditorTest, TheClickThatClosesThePanelIsNotTakenByTheScreenBelow) {
    // 決定 pressed and held for three frames, then released.
    const std::string script = Keys("8") + MoveTo(PanelX + 65, PanelY + 145) + "down lbutton\nframes 3\nup lbutton\nframes 2\n";
    EXPECT_EQ(Run(0, script), 8);
    // The screen below goes on with its own frames until the script ends.
    std::vector<int32_t> codes;
    while (NextFrame()) {
        codes.push_back(InputEvent);
        PresentFrame();
        EndFrame();
    }
    EXPECT_GE(codes.size(), 3u);
    for (int32_t code : codes) EXPECT_EQ(code, 0);
}
