// Stand-in for the message-box part of the headless window backend, with the
// same control calls, until that backend can be linked here.
#include <cstring>

#include "platform/headless.h"

namespace {
constexpr int MaxAnswers = 8;
constexpr int MaxRecords = 16;
int Answers[MaxAnswers];
int AnswerCount;
HeadlessMessageBoxRecord Records[MaxRecords];
int RecordCount;

void CopyCut(char* target, size_t capacity, const char* text) {
    size_t length = strlen(text);
    if (length >= capacity) length = capacity - 1;
    memcpy(target, text, length);
    target[length] = 0;
}
}  // namespace

void HeadlessReset() {
    AnswerCount = 0;
    RecordCount = 0;
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
        memmove(Answers, Answers + 1, sizeof(int) * (size_t)(AnswerCount - 1));
        --AnswerCount;
    }
    if (RecordCount < MaxRecords) {
        HeadlessMessageBoxRecord& record = Records[RecordCount++];
        CopyCut(record.Text, sizeof record.Text, text);
        CopyCut(record.Caption, sizeof record.Caption, caption);
        record.Buttons = buttons;
        record.Answer = answer;
    }
    return answer;
}
