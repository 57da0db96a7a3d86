// Start-up, the main window and the main menu, in this process on the
// headless backend.
#include "shell/main_menu.h"

#include "shell_fixture.h"

static const char MissingPicture[] = "bmpファイルが見つかりません";

// Runs a test body in a fresh folder of its own under the scratch folder.
class InFolder {
public:
    explicit InFolder(const std::string& name) {
        char here[1024];
        old_ = getcwd(here, sizeof here) ? here : ".";
        MakeFolder(old_ + "/" + name + "/gdata");
        EXPECT_EQ(chdir((old_ + "/" + name).c_str()), 0);
    }
    ~InFolder() { EXPECT_EQ(chdir(old_.c_str()), 0); }

private:
    std::string old_;
};

TEST(MakeGraphics, EachMissingPictureIsToldOnceAndLeftEmpty) {
    const struct {
        const char* Name;
        bool Map, Map0, Icons;
    } cases[] = {
        {"none", false, false, false},
        {"all", true, true, true},
        {"map0-only", false, true, false},
        {"no-icons", true, true, false},
    };
    for (const auto& c : cases) {
        InFolder folder(std::string("pictures-") + c.Name);
        if (c.Map) WriteBmp("gdata/tizu01.gdat", 40, 30, 10, 20, 30);
        if (c.Map0) WriteBmp("gdata/map0.gdat", 20, 10, 10, 20, 30);
        if (c.Icons) WriteBmp("gdata/etc00.gdat", 64, 32, 10, 20, 30);
        HeadlessReset();
        ASSERT_TRUE(PlatformRegisterWindowClass("test", MainWindowProc));
        ASSERT_TRUE(PlatformCreateMainWindow(0, 0, ScreenWidth, ScreenHeight));
        MakeGraphics();

        const int missing = !c.Map + !c.Map0 + !c.Icons;
        ASSERT_EQ(HeadlessMessageBoxCount(), missing) << c.Name;
        for (int i = 0; i < missing; ++i) {
            EXPECT_STREQ(HeadlessMessageBoxAt(i)->Text, MissingPicture);
            EXPECT_STREQ(HeadlessMessageBoxAt(i)->Caption, "");
            EXPECT_EQ(HeadlessMessageBoxAt(i)->Buttons, MessageBoxOk);
        }
        EXPECT_EQ(MapPicture != nullptr, c.Map) << c.Name;
        EXPECT_EQ(Map0Picture != nullptr, c.Map0) << c.Name;
        EXPECT_EQ(IconSheet != nullptr, c.Icons) << c.Name;
        int width, height;
        PlatformSurfaceSize(IconSheet, &width, &height);
        EXPECT_EQ(width, c.Icons ? 64 : 0);
        EXPECT_NE(BackBuffer, nullptr);
        EXPECT_STREQ(HeadlessWindowTitle(), "エディタ");

        ReleaseGraphics();
        EXPECT_EQ(BackBuffer, nullptr);
        EXPECT_EQ(MapPicture, nullptr);
        EXPECT_EQ(LargeFont, nullptr);
        ReleaseGraphics();  // a second release does nothing
    }
}

// What the script line "probe" saw.
static struct {
    int Seen, Width, Height, Frames, Boxes;
    bool Graphics;
} Probe;

static int ProbeHook(const char* line) {
    if (strcmp(line, "probe") != 0) return 0;
    Probe.Seen = 1;
    Probe.Width = HeadlessClientWidth();
    Probe.Height = HeadlessClientHeight();
    Probe.Frames = HeadlessFrameCount();
    Probe.Boxes = HeadlessMessageBoxCount();
    Probe.Graphics = BackBuffer != nullptr && LargeFont != nullptr;
    return 1;
}

TEST(ApplicationEntry, StartsInAnEmptyFolderAndEndsWithCodeZeroWhenClosed) {
    InFolder folder("empty-game");
    HeadlessReset();
    ResetShellState();
    HeadlessSetCommandHook(ProbeHook);
    ASSERT_TRUE(HeadlessSetScript("frames 2\nprobe\nframes 1\nclose\nframes 5\n"));
    EXPECT_EQ(ApplicationEntry(), 0);

    ASSERT_TRUE(Probe.Seen);
    // The client area is the whole picture.
    EXPECT_EQ(Probe.Width, 640);
    EXPECT_EQ(Probe.Height, 480);
    EXPECT_EQ(Probe.Frames, 2);
    EXPECT_TRUE(Probe.Graphics);
    EXPECT_STREQ(HeadlessWindowTitle(), "エディタ");
    // The three pictures are told first; the loaders tell their missing files.
    ASSERT_GE(HeadlessMessageBoxCount(), 3);
    for (int i = 0; i < 3; ++i) EXPECT_STREQ(HeadlessMessageBoxAt(i)->Text, MissingPicture);
    EXPECT_EQ(Probe.Boxes, HeadlessMessageBoxCount());
    // Closing asked nothing, and the graphics were released.
    for (int i = 0; i < HeadlessMessageBoxCount(); ++i) EXPECT_EQ(HeadlessMessageBoxAt(i)->Buttons, MessageBoxOk);
    EXPECT_EQ(QuitFlag, 1);
    EXPECT_EQ(BackBuffer, nullptr);
    EXPECT_FALSE(HeadlessWindowExists());
    // Three frames, each presented once and paced by 40 ms; none after the close.
    EXPECT_EQ(HeadlessFrameCount(), 3);
    EXPECT_EQ(HeadlessPresentCount(), 3);
    EXPECT_EQ(HeadlessSleptMilliseconds(), 3 * 40);
    EXPECT_EQ(HeadlessReadWindowPixel(320, 240), ScreenBackground);
    EXPECT_EQ(HeadlessReadWindowPixel(639, 479), HeadlessReadWindowPixel(0, 0));  // the full-screen box's outline
}

TEST(MainWindowProc, MouseMoveGivesUnsigned16BitCoordinates) {
    ResetShellState();
    const struct {
        intptr_t LParam;
        int32_t X, Y;
    } cases[] = {{(200 << 16) | 100, 100, 200}, {(intptr_t)0xFFFFFFFF, 65535, 65535}, {0, 0, 0}, {0x0001FFFF, 65535, 1}};
    for (const auto& c : cases) {
        EXPECT_EQ(MainWindowProc(MessageMouseMove, 0, c.LParam), 0);
        EXPECT_EQ(MouseX, c.X);
        EXPECT_EQ(MouseY, c.Y);
    }
}

class MainMenuTest : public HeadlessShell {};

TEST_F(MainMenuTest, EntriesAreHotOverTheirButtons) {
    const struct {
        int MouseX, MouseY, Action;
    } cases[] = {
        {20, 40, MenuEditPersons},   {75, 54, MenuEditPersons}, {76, 40, 0},       {20, 55, 0},  {19, 45, 0},
        {20, 70, MenuCreatePerson},  {47, 100, MenuSave},       {48, 100, 0},      {20, 114, MenuSave},
        {20, 130, MenuApplyScenario}, {117, 144, MenuApplyScenario}, {118, 130, 0}, {12, 12, 0}, {30, 60, 0},
    };
    for (const auto& c : cases) {
        MouseX = c.MouseX;
        MouseY = c.MouseY;
        EXPECT_EQ(DrawMainMenu(), c.Action) << c.MouseX << "," << c.MouseY;
    }
    // The whole picture is redrawn on the screen background.
    MouseX = MouseY = 0;
    DrawMainMenu();
    EXPECT_EQ(HeadlessReadPixel(BackBuffer, 1, 1), ScreenBackground);
    EXPECT_EQ(HeadlessReadPixel(BackBuffer, 638, 478), ScreenBackground);
    EXPECT_EQ(HeadlessReadPixel(BackBuffer, 60, 53), ScreenInk);  // 人物編集's underline
}

TEST_F(MainMenuTest, OnlyALeftClickRunsAnEntry) {
    // Over 保存: right click, Enter, Space and Ctrl+click do nothing; a left click asks.
    const std::string script = Click(30, 105, "rbutton") + Key("return") + Key("space") +
                               "down control\ndown lbutton\nframes 1\nup lbutton\nup control\nframes 1\n" + "probe\n" +
                               Key("lbutton") + "frames 2\n";
    HeadlessSetCommandHook(ProbeHook);
    Probe = {};
    const int before = HeadlessMessageBoxCount();  // the missing pictures of the set-up
    ASSERT_TRUE(HeadlessSetScript(script.c_str()));
    MainMenu();
    EXPECT_EQ(Probe.Boxes, before);
    ASSERT_EQ(HeadlessMessageBoxCount(), before + 1);
    EXPECT_STREQ(HeadlessMessageBoxAt(before)->Text, "セーブしますか？");
    EXPECT_EQ(HeadlessMessageBoxAt(before)->Answer, AnswerNo);
    EXPECT_EQ(QuitFlag, 1);
}
