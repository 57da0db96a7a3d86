// Headless window-system backend: no window, scripted input, recorded output.
//
// Platform:     any host; nothing is shown and nothing waits.
// Limitations:  one window; QueueLimit pending messages (further ones are
//               dropped); ScriptStepLimit script steps and ScriptTextLimit
//               bytes of script arguments; AnswerLimit queued message box
//               answers and text dialog entries each; RecordLimit message
//               boxes recorded (later ones are counted, not kept).
// Dependencies: soft_surface.cpp (surfaces, fonts, text, PNG), host.h.
//
// The script is parsed when it is set; a line with a known command and bad
// arguments rejects the whole script. Words this backend does not know go to
// the command hook when their line is reached; if nobody understands them the
// error is recorded and the script ends there (so the window closes).
#include <ctype.h>
#include <errno.h>
#include <limits.h>
#include <stdio.h>
#include <stdlib.h>

#include <cstring>

#include "headless.h"
#include "host.h"
#include "soft_surface.h"

constexpr int QueueLimit = 256;
constexpr int ScriptStepLimit = 16384;
constexpr int ScriptTextLimit = 1 << 18;
constexpr int AnswerLimit = 64;
constexpr int TextEntrySize = 256;
constexpr int RecordLimit = 256;

enum StepKind { StepMove, StepDown, StepUp, StepFrames, StepAnswer, StepText, StepCancelText, StepClose, StepHook };

struct Step {
    int Kind;
    int A;
    int B;
    int Text;  // offset into ScriptText (StepText, StepHook)
    int Line;  // line number in the script, for errors
};

struct TextEntry {
    int Ok;
    char Text[TextEntrySize];  // CP932
};

static struct {
    PlatformWindowProcedure Procedure;
    int ClassRegistered;
    int WindowExists;
    int ClientWidth;
    int ClientHeight;
    char Title[256];
    SurfaceHandle WindowPicture;

    PlatformMessage Queue[QueueLimit];
    int QueueHead;
    int QueueCount;
    int QuitPosted;
    int QuitCode;

    unsigned char Keys[256];

    Step Steps[ScriptStepLimit];
    int StepCount;
    int NextStep;
    int FramesLeft;
    int ScriptEnded;  // the end of the script has asked for the close
    char ScriptText[ScriptTextLimit];
    int ScriptTextUsed;
    char Error[256];
    HeadlessCommandHook Hook;

    int Answers[AnswerLimit];
    int AnswerHead;
    int AnswerCount;
    TextEntry Texts[AnswerLimit];
    int TextHead;
    int TextCount;

    HeadlessMessageBoxRecord Boxes[RecordLimit];
    int BoxCount;
    int TextDialogs;
    int Frames;
    int Presents;
    long Slept;
} Headless;

static void SetError(const char* text) {
    if (!Headless.Error[0]) snprintf(Headless.Error, sizeof Headless.Error, "%s", text);
}

// ---------------------------------------------------------------- queue

static void Post(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    if (Headless.QueueCount >= QueueLimit) return;
    PlatformMessage& m = Headless.Queue[(Headless.QueueHead + Headless.QueueCount) % QueueLimit];
    m.Message = message;
    m.WParam = wParam;
    m.LParam = lParam;
    ++Headless.QueueCount;
}

static int QueueEmpty() { return Headless.QueueCount == 0 && !Headless.QuitPosted; }

// ---------------------------------------------------------------- script

static int OnlyBlanks(const char* at) {
    while (*at == ' ' || *at == '\t') ++at;
    return *at == 0;
}

// Parses a key name of the script into a virtual key; 0 when unknown.
static int ParseKey(const char* word) {
    static const struct {
        const char* Name;
        int Key;
    } names[] = {
        {"lbutton", KeyLButton}, {"rbutton", KeyRButton}, {"up", KeyUp},         {"down", KeyDown},
        {"left", KeyLeft},       {"right", KeyRight},     {"space", KeySpace},   {"control", KeyControl},
        {"escape", KeyEscape},   {"return", KeyReturn},   {"back", KeyBack},     {"minus", KeyOemMinus},
    };
    for (const auto& n : names)
        if (strcmp(word, n.Name) == 0) return n.Key;
    if (word[0] && !word[1]) {
        if (word[0] >= '0' && word[0] <= '9') return KeyDigit0 + (word[0] - '0');
        if (word[0] >= 'a' && word[0] <= 'z') return KeyLetterA + (word[0] - 'a');
    }
    if (word[0] && isdigit((unsigned char)word[0])) {
        char* end;
        long value = strtol(word, &end, 0);
        if (*end == 0 && value >= 1 && value <= 255) return (int)value;
    }
    return 0;
}

static int ParseNumber(const char** at, long low, long high, int* value) {
    char* end;
    errno = 0;
    long v = strtol(*at, &end, 10);
    if (end == *at || errno != 0 || v < low || v > high || (*end && *end != ' ' && *end != '\t')) return 0;
    *value = (int)v;
    *at = end;
    return 1;
}

static int StoreText(const char* text, size_t length) {
    if (Headless.ScriptTextUsed + (int)length + 1 > ScriptTextLimit) return -1;
    int offset = Headless.ScriptTextUsed;
    memcpy(Headless.ScriptText + offset, text, length);
    Headless.ScriptText[offset + length] = 0;
    Headless.ScriptTextUsed += (int)length + 1;
    return offset;
}

// Parses one line (without its line end) into a step. Returns 1 when the line
// is a step, 0 when it is blank or a comment, -1 with an error.
static int ParseLine(const char* line, int number, Step* step) {
    char error[200];
    const char* at = line;
    while (*at == ' ' || *at == '\t') ++at;
    if (*at == 0 || *at == '#') return 0;
    char word[32];
    size_t length = strcspn(at, " \t");
    const char* rest = at + length;
    while (*rest == ' ' || *rest == '\t') ++rest;
    snprintf(word, sizeof word, "%.*s", (int)(length < sizeof word ? length : sizeof word - 1), at);
    memset(step, 0, sizeof *step);
    step->Line = number;

    if (strcmp(word, "move") == 0) {
        step->Kind = StepMove;
        const char* p = rest;
        if (ParseNumber(&p, 0, 65535, &step->A)) {
            while (*p == ' ' || *p == '\t') ++p;
            if (ParseNumber(&p, 0, 65535, &step->B) && OnlyBlanks(p)) return 1;
        }
        snprintf(error, sizeof error, "line %d: move needs two coordinates 0..65535", number);
    } else if (strcmp(word, "down") == 0 || strcmp(word, "up") == 0) {
        step->Kind = word[0] == 'd' ? StepDown : StepUp;
        char key[32];
        size_t keyLength = strcspn(rest, " \t");
        if (keyLength > 0 && keyLength < sizeof key && OnlyBlanks(rest + keyLength)) {
            memcpy(key, rest, keyLength);
            key[keyLength] = 0;
            step->A = ParseKey(key);
            if (step->A) return 1;
        }
        snprintf(error, sizeof error, "line %d: unknown key \"%.40s\"", number, rest);
    } else if (strcmp(word, "frames") == 0) {
        step->Kind = StepFrames;
        const char* p = rest;
        if (ParseNumber(&p, 1, INT_MAX, &step->A) && OnlyBlanks(p)) return 1;
        snprintf(error, sizeof error, "line %d: frames needs a count of at least 1", number);
    } else if (strcmp(word, "answer") == 0) {
        step->Kind = StepAnswer;
        static const struct {
            const char* Name;
            int Answer;
        } answers[] = {{"ok", AnswerOk}, {"yes", AnswerYes}, {"no", AnswerNo}, {"cancel", AnswerCancel}};
        size_t answerLength = strcspn(rest, " \t");
        for (const auto& a : answers)
            if (answerLength == strlen(a.Name) && strncmp(rest, a.Name, answerLength) == 0 &&
                OnlyBlanks(rest + answerLength)) {
                step->A = a.Answer;
                return 1;
            }
        snprintf(error, sizeof error, "line %d: answer must be ok, yes, no or cancel", number);
    } else if (strcmp(word, "text") == 0) {
        step->Kind = StepText;
        // The text is everything after the one separating blank.
        const char* text = at + length;
        if (*text) ++text;
        step->Text = StoreText(text, strlen(text));
        if (step->Text >= 0) return 1;
        snprintf(error, sizeof error, "line %d: script too long", number);
    } else if (strcmp(word, "cancel-text") == 0 || strcmp(word, "close") == 0) {
        step->Kind = word[0] == 'c' && word[1] == 'a' ? StepCancelText : StepClose;
        if (OnlyBlanks(rest)) return 1;
        snprintf(error, sizeof error, "line %d: %s takes no arguments", number, word);
    } else {
        // Left to the command hook when the line is reached.
        step->Kind = StepHook;
        step->Text = StoreText(at, strlen(at));
        if (step->Text >= 0) return 1;
        snprintf(error, sizeof error, "line %d: script too long", number);
    }
    SetError(error);
    return -1;
}

static void ClearScript() {
    Headless.StepCount = 0;
    Headless.NextStep = 0;
    Headless.FramesLeft = 0;
    Headless.ScriptEnded = 0;
    Headless.ScriptTextUsed = 0;
    Headless.Error[0] = 0;
}

int HeadlessSetScript(const char* text) {
    ClearScript();
    if (!text) return 1;
    int number = 0;
    const char* at = text;
    while (*at) {
        ++number;
        size_t length = strcspn(at, "\n");
        char line[1024];
        if (length >= sizeof line) {
            char error[80];
            snprintf(error, sizeof error, "line %d: line too long", number);
            SetError(error);
            Headless.StepCount = 0;
            return 0;
        }
        memcpy(line, at, length);
        line[length] = 0;
        if (length > 0 && line[length - 1] == '\r') line[length - 1] = 0;
        at += length + (at[length] == '\n');

        Step step;
        int parsed = ParseLine(line, number, &step);
        if (parsed < 0) {
            Headless.StepCount = 0;
            return 0;
        }
        if (parsed == 0) continue;
        if (Headless.StepCount >= ScriptStepLimit) {
            char error[80];
            snprintf(error, sizeof error, "line %d: too many steps", number);
            SetError(error);
            Headless.StepCount = 0;
            return 0;
        }
        Headless.Steps[Headless.StepCount++] = step;
    }
    return 1;
}

int HeadlessLoadScript(const char* path) {
    ClearScript();
    FILE* file = path ? fopen(path, "rb") : nullptr;
    if (!file) {
        char error[256];
        snprintf(error, sizeof error, "cannot open script %.200s", path ? path : "(null)");
        SetError(error);
        return 0;
    }
    // The script is read into a static buffer, parsed, and the buffer reused.
    static char text[1 << 20];
    size_t got = fread(text, 1, sizeof text - 1, file);
    int tooLong = !feof(file) && fgetc(file) != EOF;
    fclose(file);
    if (tooLong) {
        SetError("script file too long");
        return 0;
    }
    text[got] = 0;
    if (strlen(text) != got) {
        SetError("script file contains a zero byte");
        return 0;
    }
    return HeadlessSetScript(text);
}

const char* HeadlessScriptError() { return Headless.Error; }

void HeadlessSetCommandHook(HeadlessCommandHook hook) { Headless.Hook = hook; }

static void QueueAnswer(int answer) {
    if (Headless.AnswerCount >= AnswerLimit) return;
    Headless.Answers[(Headless.AnswerHead + Headless.AnswerCount) % AnswerLimit] = answer;
    ++Headless.AnswerCount;
}

static void QueueText(const char* cp932, size_t length, int ok) {
    if (Headless.TextCount >= AnswerLimit) return;
    TextEntry& e = Headless.Texts[(Headless.TextHead + Headless.TextCount) % AnswerLimit];
    e.Ok = ok;
    size_t keep = cp932 ? Cp932FitLength(cp932, length, sizeof e.Text - 1) : 0;
    if (keep) memcpy(e.Text, cp932, keep);
    e.Text[keep] = 0;
    ++Headless.TextCount;
}

static void EndScript() {
    Headless.NextStep = Headless.StepCount;
    Headless.FramesLeft = 0;
    if (!Headless.ScriptEnded) {
        Headless.ScriptEnded = 1;
        HeadlessRequestClose();
    }
}

// Runs one step.
static void RunStep(const Step& step) {
    switch (step.Kind) {
    case StepMove: HeadlessQueueMouseMove(step.A, step.B); break;
    case StepDown: Headless.Keys[step.A] = 1; break;
    case StepUp: Headless.Keys[step.A] = 0; break;
    case StepFrames: Headless.FramesLeft = step.A; break;
    case StepAnswer: QueueAnswer(step.A); break;
    case StepText: {
        const char* utf8 = Headless.ScriptText + step.Text;
        char cp932[TextEntrySize];
        size_t length = Utf8ToCp932(utf8, strlen(utf8), cp932, sizeof cp932);
        QueueText(cp932, length, 1);
        break;
    }
    case StepCancelText: QueueText(nullptr, 0, 0); break;
    case StepClose: HeadlessRequestClose(); break;
    case StepHook: {
        const char* line = Headless.ScriptText + step.Text;
        if (!Headless.Hook || !Headless.Hook(line)) {
            char error[200];
            snprintf(error, sizeof error, "line %d: unknown command \"%.100s\"", step.Line, line);
            SetError(error);
            EndScript();
        }
        break;
    }
    }
}

// Called whenever the program looks at its queue: while the queue is empty
// and the current step's frames are used up, run further steps. At the end
// of the script the window is asked to close.
static void Advance() {
    while (QueueEmpty() && Headless.FramesLeft == 0) {
        if (Headless.NextStep < Headless.StepCount) {
            RunStep(Headless.Steps[Headless.NextStep++]);
        } else {
            if (!Headless.ScriptEnded) EndScript();
            break;
        }
    }
}

// ---------------------------------------------------------------- control

void HeadlessReset() {
    PlatformReleaseSurface(Headless.WindowPicture);
    memset(&Headless, 0, sizeof Headless);
}

void HeadlessSetKey(int virtualKey, int down) {
    if (virtualKey > 0 && virtualKey < 256) Headless.Keys[virtualKey] = down ? 1 : 0;
}

void HeadlessQueueMouseMove(int x, int y) {
    Post(MessageMouseMove, 0, (intptr_t)((((uint32_t)y & 0xFFFF) << 16) | ((uint32_t)x & 0xFFFF)));
}

void HeadlessQueueAnswer(int answer) { QueueAnswer(answer); }

void HeadlessQueueText(const char* cp932, int ok) { QueueText(cp932, cp932 ? strlen(cp932) : 0, ok); }

void HeadlessRequestClose() {
    if (Headless.WindowExists) Post(MessageClose, 0, 0);
}

int HeadlessMessageBoxCount() { return Headless.BoxCount; }

const HeadlessMessageBoxRecord* HeadlessMessageBoxAt(int index) {
    int kept = Headless.BoxCount < RecordLimit ? Headless.BoxCount : RecordLimit;
    return index >= 0 && index < kept ? &Headless.Boxes[index] : nullptr;
}

int HeadlessTextDialogCount() { return Headless.TextDialogs; }
int HeadlessFrameCount() { return Headless.Frames; }
int HeadlessPresentCount() { return Headless.Presents; }
int HeadlessWindowExists() { return Headless.WindowExists; }
const char* HeadlessWindowTitle() { return Headless.Title; }
int HeadlessClientWidth() { return Headless.ClientWidth; }
int HeadlessClientHeight() { return Headless.ClientHeight; }
long HeadlessSleptMilliseconds() { return Headless.Slept; }

uint32_t HeadlessReadPixel(SurfaceHandle surface, int x, int y) { return SoftReadPixel(surface, x, y); }
uint32_t HeadlessReadWindowPixel(int x, int y) { return SoftReadPixel(Headless.WindowPicture, x, y); }
int HeadlessSavePng(SurfaceHandle surface, const char* path) { return SoftSavePng(surface, path); }

// ---------------------------------------------------------------- main window

int PlatformRegisterWindowClass(const char* className, PlatformWindowProcedure procedure) {
    if (!className || !procedure || Headless.ClassRegistered) return 0;
    Headless.ClassRegistered = 1;
    Headless.Procedure = procedure;
    return 1;
}

int PlatformCreateMainWindow(int x, int y, int clientWidth, int clientHeight) {
    (void)x;
    (void)y;
    if (!Headless.ClassRegistered || Headless.WindowExists || clientWidth <= 0 || clientHeight <= 0) return 0;
    PlatformReleaseSurface(Headless.WindowPicture);
    Headless.WindowPicture = PlatformCreateSurface(clientWidth, clientHeight);
    if (!Headless.WindowPicture) return 0;
    Headless.WindowExists = 1;
    Headless.ClientWidth = clientWidth;
    Headless.ClientHeight = clientHeight;
    Headless.Title[0] = 0;
    return 1;
}

// A shown window is invalid, so its first message is a paint.
void PlatformShowMainWindow() {
    if (Headless.WindowExists) Post(MessagePaint, 0, 0);
}

void PlatformSetWindowTitle(const char* title) {
    if (!Headless.WindowExists || !title) return;
    size_t keep = Cp932FitLength(title, strlen(title), sizeof Headless.Title - 1);
    memcpy(Headless.Title, title, keep);
    Headless.Title[keep] = 0;
}

int PlatformPeekMessage() {
    Advance();
    // Once the window is gone nothing can arrive any more; report the end
    // rather than let a program spin through empty frames.
    if (QueueEmpty() && !Headless.WindowExists && Headless.ClassRegistered) return 1;
    return !QueueEmpty();
}

int PlatformGetMessage(PlatformMessage* message) {
    PlatformMessage scratch;
    if (!message) message = &scratch;
    for (;;) {
        Advance();
        if (Headless.QueueCount > 0) {
            *message = Headless.Queue[Headless.QueueHead];
            Headless.QueueHead = (Headless.QueueHead + 1) % QueueLimit;
            --Headless.QueueCount;
            return 1;
        }
        if (Headless.QuitPosted || !Headless.WindowExists) {
            // The quit message comes once the queue is empty. Without a window
            // nothing else can ever arrive, so a wait ends with it too.
            int code = Headless.QuitPosted ? Headless.QuitCode : 0;
            Headless.QuitPosted = 0;
            message->Message = MessageQuit;
            message->WParam = (uintptr_t)code;
            message->LParam = 0;
            return 0;
        }
        // Waiting: frames cannot happen while the program blocks, so the
        // frames of the current step pass without painting.
        if (Headless.FramesLeft > 0) {
            Headless.FramesLeft = 0;
            continue;
        }
        // Advance has run out of steps and asked for the close, but the queue
        // was full; make room for it.
        if (Headless.ScriptEnded) {
            Headless.ScriptEnded = 0;
            continue;
        }
    }
}

void PlatformDispatchMessage(const PlatformMessage* message) {
    if (!message || !Headless.WindowExists || !Headless.Procedure) return;
    if (message->Message == MessageQuit) return;
    Headless.Procedure(message->Message, message->WParam, message->LParam);
}

intptr_t PlatformDefaultWindowProc(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    (void)wParam;
    (void)lParam;
    if (message == MessageClose && Headless.WindowExists) {
        // Destroying the window sends the destroy message at once, as the
        // real system does inside its destroy call.
        Headless.WindowExists = 0;
        if (Headless.Procedure) Headless.Procedure(MessageDestroy, 0, 0);
    }
    return 0;
}

void PlatformPostQuitMessage(int exitCode) {
    Headless.QuitPosted = 1;
    Headless.QuitCode = exitCode;
}

void PlatformInvalidateWindow() {}

void PlatformBeginPaint() {
    ++Headless.Frames;
    if (Headless.FramesLeft > 0) --Headless.FramesLeft;
}

void PlatformPresent(SurfaceHandle source, int width, int height) {
    ++Headless.Presents;
    PlatformCopy(Headless.WindowPicture, 0, 0, width, height, source, 0, 0);
}

void PlatformEndPaint() {}

int PlatformKeyDown(int virtualKey) {
    return virtualKey > 0 && virtualKey < 256 ? Headless.Keys[virtualKey] : 0;
}

void PlatformSleep(int milliseconds) {
    if (milliseconds > 0) Headless.Slept += milliseconds;
}

// ---------------------------------------------------------------- modal dialogs

int PlatformMessageBox(const char* text, const char* caption, int buttons) {
    int yesNo = buttons == MessageBoxYesNo;
    int answer = yesNo ? AnswerNo : AnswerOk;
    if (Headless.AnswerCount > 0) {
        int queued = Headless.Answers[Headless.AnswerHead];
        Headless.AnswerHead = (Headless.AnswerHead + 1) % AnswerLimit;
        --Headless.AnswerCount;
        if (yesNo && (queued == AnswerYes || queued == AnswerNo)) answer = queued;
        if (yesNo && queued != AnswerYes && queued != AnswerNo) SetError("a Yes/No box was given an answer it has no button for");
    }
    if (Headless.BoxCount < RecordLimit) {
        HeadlessMessageBoxRecord& r = Headless.Boxes[Headless.BoxCount];
        size_t keep = text ? Cp932FitLength(text, strlen(text), sizeof r.Text - 1) : 0;
        if (keep) memcpy(r.Text, text, keep);
        r.Text[keep] = 0;
        keep = caption ? Cp932FitLength(caption, strlen(caption), sizeof r.Caption - 1) : 0;
        if (keep) memcpy(r.Caption, caption, keep);
        r.Caption[keep] = 0;
        r.Buttons = buttons;
        r.Answer = answer;
    }
    ++Headless.BoxCount;
    return answer;
}

int PlatformTextDialog(char* buffer, int limit) {
    if (!buffer || limit <= 0) return 0;
    ++Headless.TextDialogs;
    if (Headless.TextCount == 0) return AnswerCancel;
    TextEntry& e = Headless.Texts[Headless.TextHead];
    Headless.TextHead = (Headless.TextHead + 1) % AnswerLimit;
    --Headless.TextCount;
    if (!e.Ok) return AnswerCancel;
    size_t keep = Cp932FitLength(e.Text, strlen(e.Text), (size_t)limit - 1);
    memcpy(buffer, e.Text, keep);
    buffer[keep] = 0;
    return AnswerOk;
}
