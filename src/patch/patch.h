// rosterpatch: refreshes the game's own persons in the user's person files
// from the shipped default person files.
//
// The tool holds two complete sets of the six person tables, laid out exactly
// as the files: the defaults (folder "defa") and the user's (folder "data").
// A run reads both sets, copies every present default game person (slots
// 0..1399 whose default BirthYear is above 0) over the user's slot, writes the
// user set back and prints "終了".
//
// The tool writes nothing unless all twelve files could be read: otherwise
// the merge would put zeros where the user's or the defaults' data belong. It
// then reports every file it could not read and changes no file. Each user file is replaced safely (temporary file
// and rename), so a failed write leaves that file as it was.
#pragma once

#include <cstddef>
#include <cstdint>

#include "store/person_files.h"
#include "store/tables.h"

// The six person tables in file order (data00..data05), each the exact
// memory image of its file.
struct PersonFileSet {
    int32_t Persons[PersonRows][PersonFields];         // data00
    char Surnames[PersonRows][NameCellBytes];          // data01
    char GivenNames[PersonRows][NameCellBytes];        // data02
    int32_t Skills[PersonRows][PersonSkillSlots];      // data03
    int32_t Items[PersonRows][PersonItemSlots];        // data04
    int32_t Affinity[PersonRows][PersonRows];          // data05
};

extern PersonFileSet DefaultSet;  // read from "defa"
extern PersonFileSet UserSet;     // read from and written back to "data"

// One person file: where its table lies in a set and what the tool prints
// about it. All texts are CP932.
struct PersonFileEntry {
    const char* DefaultPath;
    const char* DefaultMissing;   // the default file cannot be read
    const char* UserPath;
    const char* UserMissing;      // the user file cannot be read or opened for writing
    const char* UserWriteBlocked; // the user file cannot be opened for writing
    const char* UserWriteFailed;  // writing the user file failed part way
    size_t Offset;                // of the table within a PersonFileSet
    size_t Bytes;                 // the table's (and the file's) size
};
extern const PersonFileEntry PersonFiles[PersonFileCount];

// Exit codes of a run.
enum PatchResult : int {
    PatchDone = 0,          // every user file was refreshed
    PatchFilesMissing = 1,  // a file could not be read; no file was changed
    PatchWriteStopped = 2,  // writing stopped at a file; the files before it were refreshed
};

// Reads the six default files into DefaultSet, in order. Each file fills the
// start of its table (a short file leaves the rest zero, a long one is read
// up to the table's size). Every file that cannot be read gets its message
// and an all-zero table. Returns the number of files that could not be read.
int LoadDefaults();
// The same for the six user files into UserSet, with the user files' messages.
int LoadUserData();

// Copies every present default game person over the user's slot: both names
// (as terminated strings; the user's bytes after the default's terminator are
// kept), PersonTable fields 0..99, skills 0..19, items 0..9 and the affinity
// row's columns 0..1399. Everything else of UserSet stays as it is.
void MergeDefaults();

// Writes the six user tables to their files, in order, each replaced safely.
// At the first file that cannot be opened or written, reports it and writes
// no further file. Returns the number of files written (6 when all were).
int WriteUserData();

// The whole run: both loads, and unless a file was missing the merge and the
// write; then "終了" and a wait of waitMilliseconds. Returns a PatchResult.
int RunUpdate(int waitMilliseconds);
