// The six person files: which table each holds, their names and sizes, and
// window-free reading and writing of a whole set. Shared by the editor and
// the update tool; nothing here shows a message or touches the global tables.
//
// A set is described by six pointers to table images, in file order (the
// person table, surnames, given names, person skills, person items, the
// affinity matrix), each exactly PersonFileBytes[i] long. The files live in
// one folder as <folder>\data00.dat .. <folder>\data05.dat.
#pragma once

#include <cstddef>

#include "platform/host.h"
#include "store/tables.h"

constexpr int PersonFileCount = 6;

// File names inside the folder, in file order.
constexpr const char* PersonFileNames[PersonFileCount] = {
    "data00.dat", "data01.dat", "data02.dat", "data03.dat", "data04.dat", "data05.dat",
};

// Exact byte size of each file: the whole table, spare rows and spare
// elements included.
constexpr size_t PersonFileBytes[PersonFileCount] = {
    sizeof(int32_t) * PersonRows * PersonFields,
    (size_t)NameCellBytes * PersonRows,
    (size_t)NameCellBytes * PersonRows,
    sizeof(int32_t) * PersonRows * PersonSkillSlots,
    sizeof(int32_t) * PersonRows * PersonItemSlots,
    sizeof(int32_t) * PersonRows * PersonRows,
};

// Writes the game path <folder>\<name of file index> into out. Returns 1, or
// 0 (out = "") when index is outside 0..5 or the path does not fit.
int PersonFilePath(char* out, size_t outSize, const char* folder, int index);

// Reads the files in order into the images. Each file is read from its start,
// at most its table's size: a short file fills the start of its image and
// leaves the rest as it was, bytes beyond the size are ignored. Stops at the
// first file that cannot be opened: its image and the later ones are left as
// they were. Returns the index of that file, or PersonFileCount when all six
// were read. When bytesRead is given, bytesRead[i] receives the number of
// bytes read into image i (0 for the files not read).
int ReadPersonFiles(const char* folder, void* const images[PersonFileCount], size_t* bytesRead = nullptr);

// Writes the images to the files in order, each as a safe replacement (a
// file is either left as it was or replaced whole, never torn). Stops at the
// first file that cannot be written: it and the later files are left as they
// were on disk, the earlier ones are rewritten. Returns the index of that
// file with its reason in *reason (WriteCannotOpen: missing folder or
// read-only file; WriteFailed: the data could not be written completely), or
// PersonFileCount with WriteOk when all six were written. reason may be null.
int WritePersonFiles(const char* folder, const void* const images[PersonFileCount], WriteResult* reason);
