// rosterdesk-script: the real rosterdesk start-up and screens on the headless
// window backend, in the current folder, driven by a script file.
//
//   rosterdesk-script [--log FILE] SCRIPT
//
// The script has the steps of the headless backend (move, down, up, frames,
// answer, text, cancel-text, close) and these runner commands:
//
//   snapshot FILE.png   the picture in the back buffer now, as PNG
//   dump NAME FILE      the raw little-endian image of a table (see README)
//
// With --log, every message box shown is written to FILE at the end, one
// line each, in UTF-8. The exit code is the program's; 2 for a script error
// (unknown line, failed snapshot or dump, unreadable script) or bad usage.
#include <cctype>
#include <cstdio>
#include <cstring>

#include "platform/headless.h"
#include "platform/host.h"
#include "shell/shell.h"
#include "store/tables.h"

struct DumpTable {
    const char* Name;
    const void* Data;
    size_t Bytes;
};

static const DumpTable DumpTables[] = {
    {"persons", PersonTable, sizeof PersonTable},
    {"surnames", SurnameTable, sizeof SurnameTable},
    {"givennames", GivenNameTable, sizeof GivenNameTable},
    {"fullnames", FullNameTable, sizeof FullNameTable},
    {"skills", PersonSkillTable, sizeof PersonSkillTable},
    {"items", PersonItemTable, sizeof PersonItemTable},
    {"affinity", AffinityMatrix, sizeof AffinityMatrix},
    {"kinship", KinshipMatrix, sizeof KinshipMatrix},
    {"acquaintance", AcquaintanceMatrix, sizeof AcquaintanceMatrix},
    {"kinshiplabels", KinshipLabel, sizeof KinshipLabel},
    {"castles", &CastleTable, sizeof CastleTable},
    {"current", &CurrentPersonId, sizeof CurrentPersonId},
};

// The first runner command that failed; reported at the end.
static char CommandError[512];

static void FailCommand(const char* line, const char* why) {
    if (CommandError[0]) return;
    snprintf(CommandError, sizeof CommandError, "%s: %s", line, why);
}

// Splits off the first word of text: returns its length and points rest at
// what follows the spaces after it.
static size_t FirstWord(const char* text, const char** rest) {
    size_t length = 0;
    while (text[length] && !isspace((unsigned char)text[length])) ++length;
    const char* after = text + length;
    while (*after && isspace((unsigned char)*after)) ++after;
    *rest = after;
    return length;
}

// Copies text without trailing spaces into out.
static void TrimmedCopy(const char* text, char* out, size_t outSize) {
    snprintf(out, outSize, "%s", text);
    size_t length = strlen(out);
    while (length > 0 && isspace((unsigned char)out[length - 1])) out[--length] = 0;
}

static int WriteWhole(const char* path, const void* data, size_t bytes) {
    FILE* file = fopen(path, "wb");
    if (!file) return 0;
    const bool written = fwrite(data, 1, bytes, file) == bytes;
    return fclose(file) == 0 && written;
}

static void Snapshot(const char* line, const char* path) {
    if (!*path) return FailCommand(line, "no file named");
    if (!BackBuffer) return FailCommand(line, "there is no picture (the window is gone)");
    if (!HeadlessSavePng(BackBuffer, path)) FailCommand(line, "cannot write the file");
}

static void Dump(const char* line, const char* arguments) {
    const char* path;
    const size_t nameLength = FirstWord(arguments, &path);
    char file[512];
    TrimmedCopy(path, file, sizeof file);
    if (nameLength == 0 || !file[0]) return FailCommand(line, "usage: dump NAME FILE");
    for (const DumpTable& table : DumpTables) {
        if (strlen(table.Name) == nameLength && strncmp(table.Name, arguments, nameLength) == 0) {
            if (!WriteWhole(file, table.Data, table.Bytes)) FailCommand(line, "cannot write the file");
            return;
        }
    }
    FailCommand(line, "no such table");
}

static int RunnerCommand(const char* line) {
    const char* rest;
    const size_t length = FirstWord(line, &rest);
    char argument[512];
    TrimmedCopy(rest, argument, sizeof argument);
    if (length == 8 && strncmp(line, "snapshot", 8) == 0) {
        Snapshot(line, argument);
        return 1;
    }
    if (length == 4 && strncmp(line, "dump", 4) == 0) {
        Dump(line, argument);
        return 1;
    }
    return 0;
}

static const char* ButtonsName(int buttons) { return buttons == MessageBoxYesNo ? "yesno" : "ok"; }

static const char* AnswerName(int answer) {
    switch (answer) {
    case AnswerOk: return "ok";
    case AnswerCancel: return "cancel";
    case AnswerYes: return "yes";
    case AnswerNo: return "no";
    default: return "?";
    }
}

// One line per message box: buttons, answer, caption, text; tab-separated, UTF-8.
static int WriteMessageLog(const char* path) {
    FILE* file = fopen(path, "w");
    if (!file) return 0;
    for (int i = 0; i < HeadlessMessageBoxCount(); ++i) {
        const HeadlessMessageBoxRecord* box = HeadlessMessageBoxAt(i);
        if (!box) {
            // The backend keeps only so many records; the rest were counted.
            fprintf(stderr, "rosterdesk-script: %d message boxes beyond the first %d were not recorded\n",
                    HeadlessMessageBoxCount() - i, i);
            break;
        }
        char caption[sizeof box->Caption * 2];
        char text[sizeof box->Text * 2];
        Cp932ToUtf8(box->Caption, strnlen(box->Caption, sizeof box->Caption), caption, sizeof caption);
        Cp932ToUtf8(box->Text, strnlen(box->Text, sizeof box->Text), text, sizeof text);
        fprintf(file, "%s\t%s\t%s\t%s\n", ButtonsName(box->Buttons), AnswerName(box->Answer), caption, text);
    }
    return fclose(file) == 0;
}

int main(int argc, char** argv) {
    const char* logPath = nullptr;
    const char* scriptPath = nullptr;
    bool usage = false;
    for (int i = 1; i < argc; ++i) {
        if (strcmp(argv[i], "--log") == 0 && i + 1 < argc)
            logPath = argv[++i];
        else if (!scriptPath && argv[i][0] != '-')
            scriptPath = argv[i];
        else
            usage = true;
    }
    if (usage || !scriptPath) {
        fprintf(stderr, "usage: rosterdesk-script [--log FILE] SCRIPT\n");
        return 2;
    }

    HeadlessReset();
    HeadlessSetCommandHook(RunnerCommand);
    if (!HeadlessLoadScript(scriptPath)) {
        fprintf(stderr, "rosterdesk-script: %s: %s\n", scriptPath, HeadlessScriptError());
        return 2;
    }

    const int exitCode = ApplicationEntry();

    int failed = 0;
    if (logPath && !WriteMessageLog(logPath)) {
        fprintf(stderr, "rosterdesk-script: cannot write the log %s\n", logPath);
        failed = 1;
    }
    if (HeadlessScriptError()[0]) {
        fprintf(stderr, "rosterdesk-script: %s: %s\n", scriptPath, HeadlessScriptError());
        failed = 1;
    }
    if (CommandError[0]) {
        fprintf(stderr, "rosterdesk-script: %s: %s\n", scriptPath, CommandError);
        failed = 1;
    }
    return failed ? 2 : exitCode;
}
