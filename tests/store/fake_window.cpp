// Stand-in for the headless window backend while it is being written: only
// the message boxes, with the same control calls as headless.h.
#include <cstring>

#include "platform/headless.h"

namespace {
constexpr int MaxRecords = 64;
constexpr int MaxAnswers = 16;
HeadlessMessageBoxRecord Records[MaxRecords];
int RecordCount;
int Answers[MaxAnswers];
int AnswerCount;
}  // namespace

void HeadlessReset() {
    RecordCount = 0;
    AnswerCount = 0;
}

void HeadlessQueueAnswer(int answer) {
    if (AnswerCount < MaxAnswers) Answers[AnswerCount++] = answer;
}

int HeadlessMessageBoxCount() { return RecordCount; }

const HeadlessMessageBoxRecord* HeadlessMessageBoxAt(int index) {
    return index >= 0 && index < RecordCount ? &Records[index] : nullptr;
}

int PlatformMessageBox(const char* text, const char* caption, int buttons) {
    int answer = buttons == MessageBoxYesNo ? AnswerNo : AnswerOk;
    if (AnswerCount > 0) {
        answer = Answers[0];
        memmove(Answers, Answers + 1, sizeof(int) * (size_t)--AnswerCount);
    }
    if (RecordCount < MaxRecords) {
        HeadlessMessageBoxRecord& r = Records[RecordCount++];
        strncpy(r.Text, text, sizeof r.Text - 1);
        r.Text[sizeof r.Text - 1] = 0;
        strncpy(r.Caption, caption, sizeof r.Caption - 1);
        r.Caption[sizeof r.Caption - 1] = 0;
        r.Buttons = buttons;
        r.Answer = answer;
    }
    return answer;
}
