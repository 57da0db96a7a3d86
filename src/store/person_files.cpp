// Reading and writing the six person files as one set.
#include "person_files.h"

#include <cstdio>

int PersonFilePath(char* out, size_t outSize, const char* folder, int index) {
    if (!out || outSize == 0) return 0;
    out[0] = 0;
    if (!folder || index < 0 || index >= PersonFileCount) return 0;
    int length = snprintf(out, outSize, "%s\\%s", folder, PersonFileNames[index]);
    if (length < 0 || (size_t)length >= outSize) {
        out[0] = 0;
        return 0;
    }
    return 1;
}

int ReadPersonFiles(const char* folder, void* const images[PersonFileCount], size_t* bytesRead) {
    if (bytesRead)
        for (int file = 0; file < PersonFileCount; ++file) bytesRead[file] = 0;
    for (int file = 0; file < PersonFileCount; ++file) {
        char path[260];
        if (!PersonFilePath(path, sizeof path, folder, file)) return file;
        long got = ReadGameFile(path, images[file], PersonFileBytes[file]);
        if (got < 0) return file;
        if (bytesRead) bytesRead[file] = (size_t)got;
    }
    return PersonFileCount;
}

int WritePersonFiles(const char* folder, const void* const images[PersonFileCount], WriteResult* reason) {
    for (int file = 0; file < PersonFileCount; ++file) {
        char path[260];
        WriteResult result = WriteCannotOpen;
        if (PersonFilePath(path, sizeof path, folder, file))
            result = WriteGameFile(path, images[file], PersonFileBytes[file]);
        if (result != WriteOk) {
            if (reason) *reason = result;
            return file;
        }
    }
    if (reason) *reason = WriteOk;
    return PersonFileCount;
}
