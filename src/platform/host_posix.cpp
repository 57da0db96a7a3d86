// Host services for Linux (and other POSIX hosts).
//
// Platform:     POSIX with glibc iconv.
// Limitations:  game paths longer than PATH_MAX are refused; the case-folding
//               lookup folds ASCII letters only (game file names are ASCII).
// Dependencies: libc (iconv, dirent, stat, rename, fsync).
#include "host.h"

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <iconv.h>
#include <limits.h>
#include <strings.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cstring>

static struct {
    int WriteFailuresToSimulate;
} Host;

// ---------------------------------------------------------------- paths

static int PathExists(const char* path) {
    struct stat info;
    return stat(path, &info) == 0;
}

// Looks in folder (a host path, "" for the working directory) for an entry
// whose name equals name apart from ASCII letter case. Writes the entry's
// real name into out and returns 1 when found.
static int FindFolded(const char* folder, const char* name, char* out, size_t outSize) {
    DIR* dir = opendir(folder[0] ? folder : ".");
    if (!dir) return 0;
    int found = 0;
    for (struct dirent* entry = readdir(dir); entry; entry = readdir(dir)) {
        if (strcasecmp(entry->d_name, name) == 0 && strlen(entry->d_name) < outSize) {
            strcpy(out, entry->d_name);
            found = 1;
            break;
        }
    }
    closedir(dir);
    return found;
}

int ResolveGamePath(const char* path, char* out, size_t outSize) {
    if (!path || !out || outSize == 0) return 0;
    out[0] = 0;
    size_t used = 0;
    const char* part = path;
    // An absolute host path keeps its root.
    int absolute = path[0] == '/';
    if (absolute) {
        if (outSize < 2) return 0;
        out[0] = '/';
        out[1] = 0;
        used = 1;
        ++part;
    }
    while (*part) {
        const char* end = part;
        while (*end && *end != '\\' && *end != '/') ++end;
        size_t length = (size_t)(end - part);
        if (length > 0) {
            char name[NAME_MAX + 1];
            if (length > NAME_MAX) return 0;
            memcpy(name, part, length);
            name[length] = 0;
            size_t separator = (used > 0 && !(absolute && used == 1)) ? 1 : 0;
            if (used + separator + length >= outSize) return 0;
            if (separator) out[used] = '/';
            memcpy(out + used + separator, name, length + 1);
            if (!PathExists(out)) {
                // Try the name with other letter case in the folder so far.
                char folder[PATH_MAX];
                memcpy(folder, out, used);
                folder[used] = 0;  // "/" for the root, "" for the working directory
                char real[NAME_MAX + 1];
                if (FindFolded(folder, name, real, sizeof real)) memcpy(out + used + separator, real, length + 1);
            }
            used += separator + length;
        }
        part = *end ? end + 1 : end;
    }
    return used > 0;
}

FILE* OpenGameFile(const char* path, const char* mode) {
    char real[PATH_MAX];
    if (!ResolveGamePath(path, real, sizeof real)) return nullptr;
    return fopen(real, mode);
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

static int WriteAll(int fd, const unsigned char* data, size_t bytes) {
    while (bytes > 0) {
        ssize_t done = write(fd, data, bytes);
        if (done < 0) {
            if (errno == EINTR) continue;
            return 0;
        }
        data += done;
        bytes -= (size_t)done;
    }
    return 1;
}

WriteResult WriteGameFile(const char* path, const void* source, size_t bytes) {
    char real[PATH_MAX];
    if (!ResolveGamePath(path, real, sizeof real)) return WriteCannotOpen;

    // The target must be writable: an existing file must open for writing and
    // must carry a write permission (a read-only file stays untouched even for
    // a privileged user, as on the game's home system).
    struct stat info;
    mode_t mode = 0644;
    if (stat(real, &info) == 0) {
        if (!S_ISREG(info.st_mode)) return WriteCannotOpen;
        if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return WriteCannotOpen;
        int probe = open(real, O_WRONLY);
        if (probe < 0) return WriteCannotOpen;
        close(probe);
        mode = info.st_mode & 07777;
    }

    char temporary[PATH_MAX];
    if (snprintf(temporary, sizeof temporary, "%s.tmp%ld", real, (long)getpid()) >= (int)sizeof temporary)
        return WriteCannotOpen;
    int fd = open(temporary, O_WRONLY | O_CREAT | O_TRUNC, mode);
    if (fd < 0) return WriteCannotOpen;

    int ok = 1;
    if (Host.WriteFailuresToSimulate > 0) {
        --Host.WriteFailuresToSimulate;
        // Behave like a disk that fills up half way.
        WriteAll(fd, (const unsigned char*)source, bytes / 2);
        ok = 0;
    } else {
        ok = WriteAll(fd, (const unsigned char*)source, bytes) && fsync(fd) == 0;
    }
    if (close(fd) != 0) ok = 0;
    if (ok && rename(temporary, real) != 0) ok = 0;
    if (!ok) {
        unlink(temporary);
        return WriteFailed;
    }
    return WriteOk;
}

// ---------------------------------------------------------------- text

// Length of the character that starts with byte first in the given encoding;
// a stray byte counts as one.
static size_t SequenceLength(const char* encoding, unsigned char first) {
    if (strcmp(encoding, "UTF-8") == 0) {
        if (first >= 0xF0 && first <= 0xF4) return 4;
        if (first >= 0xE0) return first <= 0xEF ? 3 : 1;
        if (first >= 0xC2) return 2;
        return 1;
    }
    return ((first >= 0x81 && first <= 0x9F) || (first >= 0xE0 && first <= 0xFC)) ? 2 : 1;
}

static size_t Convert(const char* from, const char* to, const char* text, size_t byteCount, char* out,
                      size_t outSize) {
    if (!out || outSize == 0) return 0;
    iconv_t cd = iconv_open(to, from);
    size_t used = 0;
    if (cd == (iconv_t)-1) {
        out[0] = 0;
        return 0;
    }
    char* in = const_cast<char*>(text);
    size_t inLeft = byteCount;
    char* dst = out;
    size_t dstLeft = outSize - 1;
    while (inLeft > 0 && dstLeft > 0) {
        size_t r = iconv(cd, &in, &inLeft, &dst, &dstLeft);
        if (r != (size_t)-1) break;
        if (errno == E2BIG) break;
        // An invalid, cut or unconvertible character: show one '?' and go on
        // after the whole character.
        *dst++ = '?';
        --dstLeft;
        size_t skip = SequenceLength(from, (unsigned char)*in);
        if (skip > inLeft) skip = inLeft;
        in += skip;
        inLeft -= skip;
    }
    used = (size_t)(dst - out);
    out[used] = 0;
    iconv_close(cd);
    return used;
}

size_t Cp932ToUtf8(const char* text, size_t byteCount, char* out, size_t outSize) {
    return Convert("CP932", "UTF-8", text, byteCount, out, outSize);
}

size_t Cp932FitLength(const char* text, size_t byteCount, size_t maxBytes) {
    size_t at = 0;
    while (at < byteCount) {
        unsigned char c = (unsigned char)text[at];
        size_t width = ((c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC)) ? 2 : 1;
        if (at + width > maxBytes || at + width > byteCount) break;
        at += width;
    }
    return at;
}

size_t Utf8ToCp932(const char* text, size_t byteCount, char* out, size_t outSize) {
    size_t used = Convert("UTF-8", "CP932", text, byteCount, out, outSize);
    // Convert stops when the buffer is full; never leave half a character.
    used = Cp932FitLength(out, used, used);
    out[used] = 0;
    return used;
}

void WriteConsoleLine(const char* text) {
    char line[1024];
    Cp932ToUtf8(text, strlen(text), line, sizeof line);
    fputs(line, stdout);
    fputc('\n', stdout);
    fflush(stdout);
}

void HostSleep(int milliseconds) {
    if (milliseconds <= 0) return;
    struct timespec wait;
    wait.tv_sec = milliseconds / 1000;
    wait.tv_nsec = (long)(milliseconds % 1000) * 1000000L;
    while (nanosleep(&wait, &wait) != 0 && errno == EINTR) {
    }
}
