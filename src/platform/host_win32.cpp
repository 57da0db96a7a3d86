// Host services for Windows.
//
// Platform:     Win32 (KERNEL32 and the C runtime), 32-bit and 64-bit, built
//               with mingw-w64; also runs under Wine.
// Limitations:  game paths are at most MAX_PATH - 1 characters; a console
//               line longer than 1023 characters is written in pieces.
// Dependencies: KERNEL32 (files, console, code-page conversion, Sleep), msvcrt.
//
// Game paths are already Windows paths. They are CP932 bytes, so they are
// turned into UTF-16 with code page 932 and opened with the wide-character
// functions: a path such as "表\x5C..." (whose second byte is a backslash) or
// a Japanese folder name works whatever the system's own code page is. Text
// conversion goes through the system's code page 932 tables.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include <cstring>

#include "host.h"

namespace {

constexpr UINT ShiftJisCodePage = 932;

}  // namespace

static struct {
    int WriteFailuresToSimulate;
} Host;

// ---------------------------------------------------------------- text

size_t Cp932FitLength(const char* text, size_t byteCount, size_t maxBytes) {
    size_t at = 0;
    while (at < byteCount) {
        size_t width = IsDBCSLeadByteEx(ShiftJisCodePage, (BYTE)text[at]) ? 2 : 1;
        if (at + width > maxBytes || at + width > byteCount) break;
        at += width;
    }
    return at;
}

// Single bytes that the code page 932 tables of Windows map to private-use
// characters although they are no characters of Shift-JIS.
static int IsUnassignedSingleByte(unsigned char c) { return c == 0x80 || c == 0xA0 || c >= 0xFD; }

// One CP932 character at text (at most `available` bytes) as UTF-16 into
// wide. Returns the bytes it takes, or 0 when it is not a valid character.
static int WideFromCp932Character(const char* text, size_t available, wchar_t* wide) {
    unsigned char first = (unsigned char)text[0];
    int width = IsDBCSLeadByteEx(ShiftJisCodePage, first) ? 2 : 1;
    if ((size_t)width > available) return 0;
    if (width == 1 && IsUnassignedSingleByte(first)) return 0;
    return MultiByteToWideChar(ShiftJisCodePage, MB_ERR_INVALID_CHARS, text, width, wide, 1) == 1 ? width : 0;
}

// Converts CP932 text to UTF-16 into out (outUnits units, always terminated),
// cut at a character boundary when it does not fit; invalid bytes become '?'.
// Returns the units written; *consumed receives the bytes converted.
static int WideFromCp932(const char* text, size_t byteCount, wchar_t* out, int outUnits, size_t* consumed) {
    int units = 0;
    size_t at = 0;
    while (at < byteCount && units < outUnits - 1) {
        int taken = WideFromCp932Character(text + at, byteCount - at, &out[units]);
        if (taken == 0) {
            out[units] = L'?';
            taken = 1;
        }
        ++units;
        at += (size_t)taken;
    }
    if (outUnits > 0) out[units] = 0;
    if (consumed) *consumed = at;
    return units;
}

size_t Cp932ToUtf8(const char* text, size_t byteCount, char* out, size_t outSize) {
    if (!out || outSize == 0) return 0;
    size_t used = 0;
    size_t at = 0;
    while (at < byteCount) {
        wchar_t wide;
        char utf8[4];
        int taken = WideFromCp932Character(text + at, byteCount - at, &wide);
        int length = taken > 0 ? WideCharToMultiByte(CP_UTF8, 0, &wide, 1, utf8, (int)sizeof utf8, nullptr, nullptr) : 0;
        if (taken == 0 || length <= 0) {
            // An invalid or cut sequence: show '?' and go on after its first byte.
            utf8[0] = '?';
            length = 1;
            taken = 1;
        }
        if (used + (size_t)length > outSize - 1) break;
        memcpy(out + used, utf8, (size_t)length);
        used += (size_t)length;
        at += (size_t)taken;
    }
    out[used] = 0;
    return used;
}

// Bytes of the UTF-8 sequence that starts with c, or 0 for a byte that
// cannot start one.
static int Utf8SequenceLength(unsigned char c) {
    if (c < 0x80) return 1;
    if (c >= 0xC2 && c <= 0xDF) return 2;
    if (c >= 0xE0 && c <= 0xEF) return 3;
    if (c >= 0xF0 && c <= 0xF4) return 4;
    return 0;
}

size_t Utf8ToCp932(const char* text, size_t byteCount, char* out, size_t outSize) {
    if (!out || outSize == 0) return 0;
    size_t used = 0;
    size_t at = 0;
    while (at < byteCount) {
        int length = Utf8SequenceLength((unsigned char)text[at]);
        wchar_t wide[2];
        int units = 0;
        if (length > 0 && (size_t)length <= byteCount - at)
            units = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text + at, length, wide, 2);
        char cp932[2] = {'?', 0};
        int bytes = 1;
        if (units == 0) {
            length = 1;  // invalid: '?' for its first byte, then go on
        } else if (units == 1) {
            BOOL lost = FALSE;
            int made = WideCharToMultiByte(ShiftJisCodePage, WC_NO_BEST_FIT_CHARS, wide, 1, cp932, 2, "?", &lost);
            if (made <= 0 || lost) {
                cp932[0] = '?';
                made = 1;
            }
            bytes = made;
        }  // two units: a character beyond the BMP, which CP932 cannot hold
        if (used + (size_t)bytes > outSize - 1) break;
        memcpy(out + used, cp932, (size_t)bytes);
        used += (size_t)bytes;
        at += (size_t)length;
    }
    out[used] = 0;
    return used;
}

// ---------------------------------------------------------------- paths

int ResolveGamePath(const char* path, char* out, size_t outSize) {
    if (!path || !out || outSize == 0) return 0;
    out[0] = 0;
    size_t length = strlen(path);
    if (length == 0 || length >= outSize) return 0;
    memcpy(out, path, length + 1);
    return 1;
}

// A game path as a wide path for the file functions. 1 on success.
static int WideGamePath(const char* path, wchar_t* out) {
    char real[MAX_PATH];
    if (!ResolveGamePath(path, real, sizeof real)) return 0;
    size_t length = strlen(real);
    size_t consumed = 0;
    WideFromCp932(real, length, out, MAX_PATH, &consumed);
    return consumed == length;
}

FILE* OpenGameFile(const char* path, const char* mode) {
    wchar_t widePath[MAX_PATH];
    wchar_t wideMode[16];
    if (!mode || !WideGamePath(path, widePath)) return nullptr;
    size_t i = 0;
    for (; mode[i] && i + 1 < sizeof wideMode / sizeof wideMode[0]; ++i) wideMode[i] = (wchar_t)(unsigned char)mode[i];
    wideMode[i] = 0;
    return _wfopen(widePath, wideMode);
}

long ReadGameFile(const char* path, void* target, size_t capacity) {
    FILE* file = OpenGameFile(path, "rb");
    if (!file) return -1;
    size_t got = fread(target, 1, capacity, file);
    // A read error (or a folder in the file's place) is not a short file.
    int failed = ferror(file);
    fclose(file);
    return failed ? -1 : (long)got;
}

// ---------------------------------------------------------------- safe replacement

void SimulateWriteFailures(int count) { Host.WriteFailuresToSimulate = count > 0 ? count : 0; }

static int WriteAll(HANDLE file, const unsigned char* data, size_t bytes) {
    while (bytes > 0) {
        DWORD chunk = bytes > 0x40000000u ? 0x40000000u : (DWORD)bytes;
        DWORD done = 0;
        if (!WriteFile(file, data, chunk, &done, nullptr) || done == 0) return 0;
        data += done;
        bytes -= done;
    }
    return 1;
}

WriteResult WriteGameFile(const char* path, const void* source, size_t bytes) {
    wchar_t target[MAX_PATH];
    if (!WideGamePath(path, target)) return WriteCannotOpen;

    // The target must be writable: an existing file must not be read-only
    // and must open for writing (it may be locked by another program).
    DWORD attributes = GetFileAttributesW(target);
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) return WriteCannotOpen;
        HANDLE probe = CreateFileW(target, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                   nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (probe == INVALID_HANDLE_VALUE) return WriteCannotOpen;
        CloseHandle(probe);
    }

    // The temporary file sits next to the target, so the rename never has to
    // cross volumes.
    char pathBytes[MAX_PATH];
    char temporaryBytes[MAX_PATH + 16];
    wchar_t temporary[MAX_PATH];
    ResolveGamePath(path, pathBytes, sizeof pathBytes);
    snprintf(temporaryBytes, sizeof temporaryBytes, "%s.tmp%lu", pathBytes, (unsigned long)GetCurrentProcessId());
    if (!WideGamePath(temporaryBytes, temporary)) return WriteCannotOpen;
    HANDLE file = CreateFileW(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return WriteCannotOpen;

    int ok = 1;
    if (Host.WriteFailuresToSimulate > 0) {
        --Host.WriteFailuresToSimulate;
        // Behave like a disk that fills up half way.
        WriteAll(file, (const unsigned char*)source, bytes / 2);
        ok = 0;
    } else {
        ok = WriteAll(file, (const unsigned char*)source, bytes) && FlushFileBuffers(file);
    }
    if (!CloseHandle(file)) ok = 0;
    if (ok && !MoveFileExW(temporary, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) ok = 0;
    if (!ok) {
        DeleteFileW(temporary);
        return WriteFailed;
    }
    return WriteOk;
}

// ---------------------------------------------------------------- console

void WriteConsoleLine(const char* text) {
    if (!text) text = "";
    size_t length = strlen(text);
    HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD mode;
    if (output && output != INVALID_HANDLE_VALUE && GetConsoleMode(output, &mode)) {
        // A console shows UTF-16 correctly whatever its code page is.
        fflush(stdout);
        wchar_t line[1026];
        size_t at = 0;
        do {
            size_t consumed = 0;
            int units = WideFromCp932(text + at, length - at, line, 1024, &consumed);
            at += consumed;
            if (at >= length) {
                line[units++] = L'\r';
                line[units++] = L'\n';
            }
            DWORD written = 0;
            WriteConsoleW(output, line, (DWORD)units, &written, nullptr);
        } while (at < length);
        return;
    }
    // Redirected to a file or a pipe: the CP932 bytes as they are.
    fputs(text, stdout);
    fputc('\n', stdout);
    fflush(stdout);
}

void HostSleep(int milliseconds) {
    if (milliseconds > 0) Sleep((DWORD)milliseconds);
}
