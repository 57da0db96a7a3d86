// Host services that are not window-system: game files, console lines, sleep,
// text conversion. Both programs use this header; rosterpatch uses nothing
// else of src/platform. Backends: host_posix.cpp and host_win32.cpp.
//
// Game paths are the relative Windows-style paths of the game folder, written
// with backslashes ("data\\data00.dat"). On Linux the separator becomes '/'
// and, where the exact path does not exist, a file or folder whose name
// differs only in letter case is used (game folders copied from Windows often
// differ in case).
#pragma once

#include <cstddef>
#include <cstdio>

// Turns a game path into a path the host can open, into out (outSize bytes).
// Returns 1 on success, 0 when it does not fit.
int ResolveGamePath(const char* path, char* out, size_t outSize);

// Opens a game file with a C stdio mode ("rb", "wb" ...); null on failure.
FILE* OpenGameFile(const char* path, const char* mode);

// Reads up to capacity bytes from the start of a game file into target.
// Returns the number of bytes read (a short file fills only the start), or -1
// when the file cannot be opened or read (a read error, a folder in the file's
// place). Bytes beyond capacity are ignored.
long ReadGameFile(const char* path, void* target, size_t capacity);

enum WriteResult {
    WriteOk = 0,
    WriteCannotOpen = 1,  // the target cannot be opened for writing (also: read-only)
    WriteFailed = 2,      // opened, but the data could not be written completely
};

// Replaces a game file with bytes bytes from source, never leaving it torn:
// checks that the target can be written (a file without any write permission
// counts as read-only, even for a privileged user), writes a temporary file in
// the same folder, flushes it and renames it over the target. On any failure
// the target is left exactly as it was and the temporary file is removed.
WriteResult WriteGameFile(const char* path, const void* source, size_t bytes);

// Test hook: the next `count` calls of WriteGameFile fail with WriteFailed
// after creating their temporary file (as a full disk would). 0 turns it off.
void SimulateWriteFailures(int count);

// Writes one line of CP932 text and a line end to standard output, in the
// form the host's console shows correctly (UTF-8 on Linux).
void WriteConsoleLine(const char* text);

// Converts CP932 text to UTF-8 into out (outSize bytes, always terminated).
// Bytes that are not valid CP932 become '?'. Returns the length written.
size_t Cp932ToUtf8(const char* text, size_t byteCount, char* out, size_t outSize);
// Converts UTF-8 text to CP932 into out (outSize bytes, always terminated, never
// ending in half a double-byte character). Characters that CP932 cannot hold
// become '?'. Returns the length written.
size_t Utf8ToCp932(const char* text, size_t byteCount, char* out, size_t outSize);

// Length of the longest prefix of text (byteCount bytes) of at most maxBytes
// bytes that does not end in the middle of a double-byte CP932 character.
size_t Cp932FitLength(const char* text, size_t byteCount, size_t maxBytes);

void HostSleep(int milliseconds);
