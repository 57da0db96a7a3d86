// The headless backend: scripts, dialogs and a whole screen loop driven
// through the window-system calls.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/headless.h"

namespace {

struct HeadlessFixture : testing::Test {
    void SetUp() override { HeadlessReset(); }
    void TearDown() override { HeadlessReset(); }
};

using Scripts = HeadlessFixture;

TEST_F(Scripts, LinesAreAcceptedOrRejectedWithTheirLineNumber) {
    struct Case {
        const char* Script;
        const char* Error;  // expected start of the error, "" when accepted
    } cases[] = {
        {"move 10 20\nframes 3\ndown lbutton\nup lbutton\nanswer yes\ntext 山田\ncancel-text\nclose\n", ""},
        {"# comment\n\n   \r\n  frames 1\r\ndown 0x41\ndown z\ndown 9\ndown minus\ntext\n", ""},
        {"frames 1\nmove 10\n", "line 2: move"},
        {"move 10 20 30", "line 1: move"},
        {"move -1 5", "line 1: move"},
        {"frames 0", "line 1: frames"},
        {"frames many", "line 1: frames"},
        {"\n\ndown nokey", "line 3: unknown key"},
        {"down 300", "line 1: unknown key"},
        {"up", "line 1: unknown key"},
        {"answer maybe", "line 1: answer"},
        {"close now", "line 1: close"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Script);
        EXPECT_EQ(HeadlessSetScript(c.Script), c.Error[0] ? 0 : 1);
        EXPECT_EQ(std::string(HeadlessScriptError()).substr(0, strlen(c.Error)), c.Error);
        EXPECT_EQ(HeadlessScriptError()[0] == 0, c.Error[0] == 0);
    }
}

TEST_F(Scripts, MissingScriptFileIsAnError) {
    EXPECT_EQ(HeadlessLoadScript("no-such-script.txt"), 0);
    EXPECT_NE(HeadlessScriptError()[0], 0);
    FILE* f = fopen("script.txt", "wb");
    fputs("frames 2\nclose\n", f);
    fclose(f);
    EXPECT_EQ(HeadlessLoadScript("script.txt"), 1);
    EXPECT_STREQ(HeadlessScriptError(), "");
}

// ---------------------------------------------------------------- a program

// A small program written against platform.h as the shell writes it: entry,
// window procedure, and one screen whose loop pumps a message or begins a
// frame, polls, draws, presents, acts and sleeps.
struct Program {
    static int MouseX, MouseY, Destroyed;
};
int Program::MouseX, Program::MouseY, Program::Destroyed;

intptr_t WindowProc(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    switch (message) {
    case MessageMouseMove:
        Program::MouseX = (int)(lParam & 0xFFFF);
        Program::MouseY = (int)((lParam >> 16) & 0xFFFF);
        return 0;
    case MessageDestroy:
        ++Program::Destroyed;
        PlatformPostQuitMessage(0);
        return 0;
    }
    return PlatformDefaultWindowProc(message, wParam, lParam);
}

constexpr uint32_t Background = MakeColour(208, 202, 192);
constexpr uint32_t Hot = MakeColour(0, 0, 200);
constexpr uint32_t Cold = MakeColour(100, 100, 100);
constexpr uint32_t Accepted = MakeColour(0, 160, 0);
constexpr uint32_t Typed = MakeColour(200, 0, 0);

struct RunResult {
    int ExitCode;
    int Answer;      // last message box answer
    int KeyPresses;  // presses of A seen
    int HookFrames;  // frame count when the hook ran
    char Name[12];
};

RunResult Outcome;

int HookAtFrame(const char* line) {
    if (strcmp(line, "note frame") != 0) return 0;
    Outcome.HookFrames = HeadlessFrameCount();
    return 1;
}

int RunProgram() {
    Program::MouseX = Program::MouseY = Program::Destroyed = 0;
    if (!PlatformRegisterWindowClass("ウィンドウクラスネーム", WindowProc)) return 0;
    if (!PlatformCreateMainWindow(100, 100, 640, 480)) return 0;
    PlatformShowMainWindow();
    PlatformMessage message;
    if (!PlatformGetMessage(&message)) return (int)message.WParam;
    PlatformDispatchMessage(&message);
    PlatformSetWindowTitle("エディタ");

    SurfaceHandle back = PlatformCreateSurface(640, 480);
    FontHandle font = PlatformCreateFont("ＭＳ ゴシック", 14);
    PlatformSelectFont(back, font);
    PlatformSetTransparentText(back);
    int previousLeft = 0, previousA = 0, accepted = 0;
    for (;;) {
        if (PlatformPeekMessage()) {
            if (!PlatformGetMessage(&message)) break;
            PlatformDispatchMessage(&message);
            continue;
        }
        PlatformInvalidateWindow();
        PlatformBeginPaint();
        int left = PlatformKeyDown(KeyLButton), keyA = PlatformKeyDown(KeyLetterA);
        int click = left && !previousLeft, press = keyA && !previousA;
        previousLeft = left;
        previousA = keyA;

        int over = Program::MouseX >= 20 && Program::MouseX < 62 && Program::MouseY >= 30 && Program::MouseY < 45;
        PlatformFillRectangle(back, 0, 0, 640, 480, Background);
        PlatformFillRectangle(back, 20, 30, 62, 44, over ? Hot : Cold);
        PlatformSetTextColour(back, MakeColour(255, 255, 255));
        PlatformTextOut(back, 20, 30, "保存", 4);
        if (accepted) PlatformFillRectangle(back, 100, 100, 110, 110, Accepted);
        for (int i = 0; i < Outcome.KeyPresses; ++i) PlatformDrawLine(back, 200, 200 + i * 2, 260, 200 + i * 2, Typed);
        PlatformPresent(back, 640, 480);
        PlatformEndPaint();

        if (click && over) {
            Outcome.Answer = PlatformMessageBox("セーブしますか？", "確認", MessageBoxYesNo);
            if (Outcome.Answer == AnswerYes) accepted = 1;
            if (PlatformTextDialog(Outcome.Name, 12) != AnswerOk) strcpy(Outcome.Name, "none");
        }
        if (press) ++Outcome.KeyPresses;
        PlatformSleep(40);
    }
    PlatformReleaseFont(font);
    PlatformReleaseSurface(back);
    return (int)message.WParam;
}

using ScreenLoop = HeadlessFixture;

TEST_F(ScreenLoop, ScriptDrivesClicksKeysAndAnswersThenUnwindsWithQuit) {
    Outcome = RunResult{};
    HeadlessSetCommandHook(HookAtFrame);
    ASSERT_EQ(HeadlessSetScript("move 30 40\n"
                                "frames 2\n"
                                "note frame\n"
                                "answer yes\n"
                                "text ABCDEFGHIJKLMN\n"
                                "down lbutton\n"
                                "frames 1\n"
                                "up lbutton\n"
                                "down a\n"
                                "frames 1\n"
                                "up a\n"
                                "frames 1\n"
                                "down a\n"
                                "frames 1\n"),
              1);
    Outcome.ExitCode = RunProgram();

    EXPECT_EQ(Outcome.ExitCode, 0);
    EXPECT_STREQ(HeadlessScriptError(), "");
    EXPECT_EQ(Program::Destroyed, 1);
    EXPECT_FALSE(HeadlessWindowExists());
    EXPECT_STREQ(HeadlessWindowTitle(), "エディタ");
    EXPECT_EQ(HeadlessClientWidth(), 640);
    EXPECT_EQ(HeadlessClientHeight(), 480);

    // Six frames, each presented and followed by one 40 ms pause; the hook
    // ran after the first two.
    EXPECT_EQ(HeadlessFrameCount(), 6);
    EXPECT_EQ(HeadlessPresentCount(), 6);
    EXPECT_EQ(HeadlessSleptMilliseconds(), 6 * 40);
    EXPECT_EQ(Outcome.HookFrames, 2);

    ASSERT_EQ(HeadlessMessageBoxCount(), 1);
    const HeadlessMessageBoxRecord* box = HeadlessMessageBoxAt(0);
    EXPECT_STREQ(box->Text, "セーブしますか？");
    EXPECT_STREQ(box->Caption, "確認");
    EXPECT_EQ(box->Buttons, MessageBoxYesNo);
    EXPECT_EQ(box->Answer, AnswerYes);
    EXPECT_EQ(HeadlessTextDialogCount(), 1);
    EXPECT_STREQ(Outcome.Name, "ABCDEFGHIJK");  // cut to limit - 1 bytes
    EXPECT_EQ(Outcome.KeyPresses, 2);

    // The last picture: the button under the mouse, the accepted mark, and
    // one line: the second press of A came in the last frame, after drawing.
    EXPECT_EQ(HeadlessReadWindowPixel(0, 0), Typed) << "borders take the pen of the latest line";
    EXPECT_EQ(HeadlessReadWindowPixel(5, 5), Background);
    EXPECT_EQ(HeadlessReadWindowPixel(21, 42), Hot);
    EXPECT_EQ(HeadlessReadWindowPixel(105, 105), Accepted);
    EXPECT_EQ(HeadlessReadWindowPixel(230, 200), Typed);
    EXPECT_EQ(HeadlessReadWindowPixel(230, 202), Background);
    int text = 0;
    for (int y = 30; y < 44; ++y)
        for (int x = 20; x < 48; ++x) text += HeadlessReadWindowPixel(x, y) == MakeColour(255, 255, 255);
    EXPECT_GT(text, 10) << "text drawn on the button";
}

TEST_F(ScreenLoop, EveryScriptEndsTheProgram) {
    struct Case {
        const char* Script;
        int Frames;
        const char* Error;
    } cases[] = {
        {"", 0, ""},
        {"frames 3", 3, ""},
        {"frames 2\nclose\nframes 5", 2, ""},
        {"frames 1\nunknown words here\nframes 5", 1, "line 2: unknown command \"unknown words here\""},
        {"answer no\nanswer no\nmove 1 1\nmove 2 2", 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Script);
        HeadlessReset();
        Outcome = RunResult{};
        ASSERT_EQ(HeadlessSetScript(c.Script), 1);
        EXPECT_EQ(RunProgram(), 0);
        EXPECT_EQ(HeadlessFrameCount(), c.Frames);
        EXPECT_EQ(Program::Destroyed, 1);
        EXPECT_STREQ(HeadlessScriptError(), c.Error);
    }
}

TEST_F(ScreenLoop, WaitingForAMessageNeverBlocksForever) {
    // A plain message loop, which never paints, still comes to its end.
    ASSERT_EQ(HeadlessSetScript("frames 100\nmove 5 6\nframes 100"), 1);
    Program::Destroyed = 0;
    ASSERT_TRUE(PlatformRegisterWindowClass("c", WindowProc));
    ASSERT_TRUE(PlatformCreateMainWindow(0, 0, 640, 480));
    PlatformShowMainWindow();
    PlatformMessage message;
    int messages = 0;
    while (PlatformGetMessage(&message)) {
        PlatformDispatchMessage(&message);
        ASSERT_LT(++messages, 10);
    }
    EXPECT_EQ(message.Message, MessageQuit);
    EXPECT_EQ(Program::MouseX, 5);
    EXPECT_EQ(Program::MouseY, 6);
    EXPECT_EQ(Program::Destroyed, 1);
}

// ---------------------------------------------------------------- dialogs

using Dialogs = HeadlessFixture;

TEST_F(Dialogs, MessageBoxesTakeQueuedAnswersOrTheirDefault) {
    HeadlessQueueAnswer(AnswerYes);
    HeadlessQueueAnswer(AnswerOk);
    EXPECT_EQ(PlatformMessageBox("a", "確認", MessageBoxYesNo), AnswerYes);
    EXPECT_EQ(PlatformMessageBox("b", "", MessageBoxOk), AnswerOk);
    EXPECT_EQ(PlatformMessageBox("c", "", MessageBoxYesNo), AnswerNo);  // nothing queued
    EXPECT_EQ(PlatformMessageBox("d", "", MessageBoxOk), AnswerOk);
    EXPECT_EQ(HeadlessMessageBoxCount(), 4);
    EXPECT_EQ(HeadlessMessageBoxAt(2)->Answer, AnswerNo);
    EXPECT_EQ(HeadlessMessageBoxAt(4), nullptr);
    EXPECT_EQ(HeadlessMessageBoxAt(-1), nullptr);

    // Text longer than the record is cut on a character boundary.
    std::string longText;
    for (int i = 0; i < 200; ++i) longText += "あ";
    longText = "x" + longText;  // an odd start, so a plain cut would split a character
    PlatformMessageBox(longText.c_str(), longText.c_str(), MessageBoxOk);
    const HeadlessMessageBoxRecord* r = HeadlessMessageBoxAt(4);
    EXPECT_EQ(strlen(r->Text), 255u);
    EXPECT_EQ(strlen(r->Caption), 63u);
    EXPECT_EQ(std::string(r->Text), longText.substr(0, 255));
}

TEST_F(Dialogs, TextDialogCutsOnCharacterBoundariesAndKeepsTheBufferOnCancel) {
    struct Case {
        const char* Queued;  // CP932; nullptr: cancel; "-": nothing queued
        int Limit;
        int Result;
        const char* Expected;
    } cases[] = {
        {"ABCDEFGHIJKLMN", 12, AnswerOk, "ABCDEFGHIJK"},
        {"山田太郎", 4, AnswerOk, "山"},     // 3 bytes allowed: the second character would be cut
        {"山田太郎", 12, AnswerOk, "山田太郎"},
        {"", 12, AnswerOk, ""},
        {"A", 1, AnswerOk, ""},
        {nullptr, 12, AnswerCancel, "untouched"},
        {"-", 12, AnswerCancel, "untouched"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.Queued ? c.Queued : "(cancel)") << " limit " << c.Limit);
        if (!c.Queued)
            HeadlessQueueText("ignored", 0);
        else if (strcmp(c.Queued, "-") != 0)
            HeadlessQueueText(c.Queued, 1);
        char buffer[32] = "untouched";
        EXPECT_EQ(PlatformTextDialog(buffer, c.Limit), c.Result);
        EXPECT_STREQ(buffer, c.Expected);
    }
    char buffer[4] = "xyz";
    EXPECT_EQ(PlatformTextDialog(buffer, 0), 0);
    EXPECT_EQ(PlatformTextDialog(nullptr, 10), 0);
}

TEST_F(Dialogs, ScriptTextIsConvertedFromUtf8) {
    // The script is UTF-8 on disk; the dialog answers in CP932.
    ASSERT_EQ(HeadlessSetScript("text \xE5\xB1\xB1\xE7\x94\xB0 \xEF\xBD\xB1\ncancel-text\n"), 1);
    ASSERT_TRUE(PlatformRegisterWindowClass("c", WindowProc));
    ASSERT_TRUE(PlatformCreateMainWindow(0, 0, 640, 480));
    PlatformPeekMessage();  // runs the script up to its end
    char buffer[32] = "";
    EXPECT_EQ(PlatformTextDialog(buffer, 32), AnswerOk);
    EXPECT_STREQ(buffer, "山田 ｱ");
    EXPECT_EQ(PlatformTextDialog(buffer, 32), AnswerCancel);
    EXPECT_EQ(HeadlessTextDialogCount(), 2);
}

TEST_F(Dialogs, KeysFollowTheScriptState) {
    ASSERT_EQ(HeadlessSetScript("down lbutton\ndown 0x41\nframes 1\nup lbutton\nframes 1"), 1);
    ASSERT_TRUE(PlatformRegisterWindowClass("c", WindowProc));
    ASSERT_TRUE(PlatformCreateMainWindow(0, 0, 640, 480));
    EXPECT_EQ(PlatformPeekMessage(), 0);
    EXPECT_EQ(PlatformKeyDown(KeyLButton), 1);
    EXPECT_EQ(PlatformKeyDown(KeyLetterA), 1);
    EXPECT_EQ(PlatformKeyDown(KeyRButton), 0);
    PlatformBeginPaint();
    EXPECT_EQ(PlatformPeekMessage(), 0);
    EXPECT_EQ(PlatformKeyDown(KeyLButton), 0);
    EXPECT_EQ(PlatformKeyDown(KeyLetterA), 1);
    EXPECT_EQ(PlatformKeyDown(-1), 0);
    EXPECT_EQ(PlatformKeyDown(1000), 0);
}

}  // namespace
