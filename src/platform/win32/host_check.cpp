// Checks of the Windows host services (host_win32.cpp), run under Wine by
// tools/wine-check.sh or on Windows by hand, in an empty scratch folder.
// The text cases give the answers of the Linux host, except that a character
// CP932 cannot hold becomes one '?' here (the Linux host writes one per byte).
//
//   host-check            runs every check; prints each failure, exit code 1
//                         when there was one
//   host-check console    writes the console lines the script compares:
//                         "終了" and a line of 1500 characters "あ"
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "platform/host.h"

namespace {

int Failures;

void Fail(const char* what, const char* detail) {
    printf("FAIL %s: %s\n", what, detail);
    ++Failures;
}

void Hex(const char* bytes, size_t length, char* out, size_t outSize) {
    size_t used = 0;
    out[0] = 0;
    for (size_t i = 0; i < length && used + 3 < outSize; ++i)
        used += (size_t)snprintf(out + used, outSize - used, "%02X", (unsigned char)bytes[i]);
}

void ExpectBytes(const char* what, const char* got, size_t gotLength, const char* expected) {
    size_t expectedLength = strlen(expected);
    if (gotLength == expectedLength && memcmp(got, expected, gotLength) == 0) return;
    char gotHex[256], expectedHex[256], detail[600];
    Hex(got, gotLength, gotHex, sizeof gotHex);
    Hex(expected, expectedLength, expectedHex, sizeof expectedHex);
    snprintf(detail, sizeof detail, "got %s, expected %s", gotHex, expectedHex);
    Fail(what, detail);
}

void ExpectNumber(const char* what, long got, long expected) {
    if (got == expected) return;
    char detail[64];
    snprintf(detail, sizeof detail, "got %ld, expected %ld", got, expected);
    Fail(what, detail);
}

// The file's bytes, or "<missing>".
const char* Slurp(const char* path) {
    static char contents[200000];
    FILE* file = fopen(path, "rb");
    if (!file) return "<missing>";
    size_t got = fread(contents, 1, sizeof contents - 1, file);
    fclose(file);
    contents[got] = 0;
    return contents;
}

void Put(const char* path, const char* bytes) {
    FILE* file = fopen(path, "wb");
    if (!file) return Fail("put", path);
    fwrite(bytes, 1, strlen(bytes), file);
    fclose(file);
}

int CountMatches(const char* pattern) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern, &found);
    if (search == INVALID_HANDLE_VALUE) return 0;
    int count = 0;
    do ++count;
    while (FindNextFileA(search, &found));
    FindClose(search);
    return count;
}

void CheckText() {
    struct Case {
        const char* what;
        const char* input;
        size_t length;
        size_t outSize;
        const char* expected;
    };
    const Case toUtf8[] = {
        {"two kanji", "終了", 4, 64, "\xE7\xB5\x82\xE4\xBA\x86"},
        {"kanji with backslash trail byte", "表", 2, 64, "\xE8\xA1\xA8"},
        {"half-width katakana", "\xB1", 1, 64, "\xEF\xBD\xB1"},
        {"wave dash row", "\x81\x60", 2, 64, "\xEF\xBD\x9E"},
        {"user-defined area", "\xF0\x40", 2, 64, "\xEE\x80\x80"},
        {"invalid single bytes", "\x80\xA0\xFD\xFE\xFF", 5, 64, "?????"},
        {"invalid byte inside", "a\xFF" "b", 3, 64, "a?b"},
        {"unassigned double byte", "\x85\x40", 2, 64, "?@"},
        {"lead byte at the end", "a\x81", 2, 64, "a?"},
        {"cut on a character boundary", "終了", 4, 4, "\xE7\xB5\x82"},
        {"room for the terminator only", "a", 1, 1, ""},
    };
    for (const Case& c : toUtf8) {
        char out[64];
        size_t length = Cp932ToUtf8(c.input, c.length, out, c.outSize);
        ExpectBytes(c.what, out, length, c.expected);
        if (out[length] != 0) Fail(c.what, "not terminated");
    }
    const Case toCp932[] = {
        {"two kanji back", "\xE7\xB5\x82\xE4\xBA\x86", 6, 64, "終了"},
        {"full-width hyphen", "\xEF\xBC\x8D", 3, 64, "\x81\x7C"},
        {"half-width katakana back", "\xEF\xBD\xB1", 3, 64, "\xB1"},
        {"ascii", "data00", 6, 64, "data00"},
        {"invalid byte", "a\xFF" "b", 3, 64, "a?b"},
        {"cut sequence", "\xE7\xB5", 2, 64, "??"},
        {"never half a character", "\xE7\xB5\x82\xE4\xBA\x86", 6, 4, "\x8F\x49"},
        {"room for the terminator only", "a", 1, 1, ""},
    };
    for (const Case& c : toCp932) {
        char out[64];
        size_t length = Utf8ToCp932(c.input, c.length, out, c.outSize);
        ExpectBytes(c.what, out, length, c.expected);
        if (out[length] != 0) Fail(c.what, "not terminated");
    }
    // Characters that CP932 cannot hold give one '?' each (no look-alikes).
    const Case unrepresentable[] = {
        {"euro sign", "\xE2\x82\xAC", 3, 64, "?"},
        {"beyond the basic plane", "\xF0\x9F\x98\x80", 4, 64, "?"},
    };
    for (const Case& c : unrepresentable) {
        char out[64];
        ExpectBytes(c.what, out, Utf8ToCp932(c.input, c.length, out, c.outSize), c.expected);
    }

    struct FitCase {
        const char* text;
        size_t length;
        size_t max;
        size_t expected;
    };
    const FitCase fits[] = {
        {"aあb", 4, 0, 0}, {"aあb", 4, 1, 1}, {"aあb", 4, 2, 1}, {"aあb", 4, 3, 3},
        {"aあb", 4, 4, 4}, {"aあb", 4, 9, 4}, {"a\x82", 2, 10, 1}, {"\xB1\xB2", 2, 1, 1},
    };
    for (const FitCase& c : fits) {
        char what[64];
        snprintf(what, sizeof what, "fit length of %zu bytes in %zu", c.length, c.max);
        ExpectNumber(what, (long)Cp932FitLength(c.text, c.length, c.max), (long)c.expected);
    }
}

void CheckPaths() {
    char out[256];
    ExpectNumber("resolve", ResolveGamePath("data\\data00.dat", out, sizeof out), 1);
    ExpectBytes("resolve keeps the game path", out, strlen(out), "data\\data00.dat");
    char tiny[5];
    ExpectNumber("resolve into a small buffer", ResolveGamePath("data\\data00.dat", tiny, sizeof tiny), 0);
    ExpectNumber("resolve the empty path", ResolveGamePath("", out, sizeof out), 0);
}

void CheckFiles() {
    CreateDirectoryA("data", nullptr);
    Put("data\\short.dat", "abc");
    char target[10];
    memset(target, '-', sizeof target);
    ExpectNumber("short read", ReadGameFile("data\\short.dat", target, sizeof target), 3);
    ExpectBytes("short read fills the start", target, 10, "abc-------");
    Put("data\\long.dat", "zzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzz");
    ExpectNumber("long read", ReadGameFile("data\\long.dat", target, sizeof target), 10);
    ExpectNumber("missing file", ReadGameFile("data\\missing.dat", target, sizeof target), -1);

    Put("data\\data04.dat", "old contents");
    ExpectNumber("replace", WriteGameFile("data\\data04.dat", "new", 3), WriteOk);
    ExpectBytes("replaced", Slurp("data\\data04.dat"), strlen(Slurp("data\\data04.dat")), "new");

    SetFileAttributesA("data\\data04.dat", FILE_ATTRIBUTE_READONLY);
    ExpectNumber("read-only file", WriteGameFile("data\\data04.dat", "again", 5), WriteCannotOpen);
    ExpectBytes("read-only file unchanged", Slurp("data\\data04.dat"), 3, "new");
    SetFileAttributesA("data\\data04.dat", FILE_ATTRIBUTE_NORMAL);

    // A file held open without sharing (another program using it).
    HANDLE held = CreateFileA("data\\data04.dat", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ExpectNumber("locked file", WriteGameFile("data\\data04.dat", "again", 5), WriteCannotOpen);
    CloseHandle(held);
    ExpectBytes("locked file unchanged", Slurp("data\\data04.dat"), 3, "new");

    static char big[100000];
    memset(big, 'q', sizeof big);
    SimulateWriteFailures(1);
    ExpectNumber("failed write", WriteGameFile("data\\data04.dat", big, sizeof big), WriteFailed);
    ExpectBytes("failed write keeps the old file", Slurp("data\\data04.dat"), 3, "new");
    ExpectNumber("failed write leaves no temporary file", CountMatches("data\\*.tmp*"), 0);
    ExpectNumber("write after a simulated failure", WriteGameFile("data\\big.dat", big, sizeof big), WriteOk);
    ExpectNumber("big file written whole", (long)strlen(Slurp("data\\big.dat")), (long)sizeof big);

    ExpectNumber("missing folder", WriteGameFile("nofolder\\x.dat", "a", 1), WriteCannotOpen);
    ExpectNumber("folder as target", WriteGameFile("data", "a", 1), WriteCannotOpen);
    ExpectNumber("new file", WriteGameFile("data\\fresh.dat", "f", 1), WriteOk);
    ExpectBytes("new file written", Slurp("data\\fresh.dat"), 1, "f");
    ExpectNumber("no temporary files left", CountMatches("data\\*.tmp*"), 0);

    // CP932 paths open the files of those names whatever the system's code
    // page: a Japanese folder, and a name whose trail byte is a backslash.
    CreateDirectoryW(L"データ", nullptr);
    ExpectNumber("Japanese path", WriteGameFile("データ\\表.dat", "jp", 2), WriteOk);
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(L"データ\\表.dat", &found);
    ExpectNumber("Japanese path names the right file", search != INVALID_HANDLE_VALUE, 1);
    if (search != INVALID_HANDLE_VALUE) FindClose(search);
    ExpectNumber("Japanese path read back", ReadGameFile("データ\\表.dat", target, sizeof target), 2);
    FILE* file = OpenGameFile("データ\\表.dat", "rb");
    ExpectNumber("Japanese path opens", file != nullptr, 1);
    if (file) fclose(file);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && strcmp(argv[1], "console") == 0) {
        WriteConsoleLine("終了");
        static char line[3001];
        for (int i = 0; i < 1500; ++i) memcpy(line + 2 * i, "あ", 2);
        WriteConsoleLine(line);
        return 0;
    }
    CheckText();
    CheckPaths();
    CheckFiles();
    // The checks mean most on a system whose own code page is not 932.
    printf("host-check: system code page %u, %d failure(s)\n", GetACP(), Failures);
    return Failures ? 1 : 0;
}
