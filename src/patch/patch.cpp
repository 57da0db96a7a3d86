// The update run of rosterpatch: load both sets, merge, write, report.
#include "patch.h"

#include <cstdio>
#include <cstring>

#include "platform/host.h"

PersonFileSet DefaultSet;
PersonFileSet UserSet;

#define PERSON_FILE(number, member)                                                   \
    {"defa\\data" number ".dat",                                                      \
     "defa data" number "がありません",                                               \
     "data\\data" number ".dat",                                                      \
     "data data" number "がありません",                                               \
     "data data" number "に書き込めないため、data" number "以降のファイルは元のままです", \
     "data data" number "の書き込みに失敗したため、data" number "以降のファイルは元のままです", \
     offsetof(PersonFileSet, member), sizeof(PersonFileSet::member)}

const PersonFileEntry PersonFiles[PersonFileCount] = {
    PERSON_FILE("00", Persons), PERSON_FILE("01", Surnames), PERSON_FILE("02", GivenNames),
    PERSON_FILE("03", Skills),  PERSON_FILE("04", Items),    PERSON_FILE("05", Affinity),
};

#undef PERSON_FILE

// The set is laid out exactly like the person files the editor reads.
static_assert(sizeof(PersonFileSet::Persons) == PersonFileBytes[0] && sizeof(PersonFileSet::Surnames) == PersonFileBytes[1] &&
                  sizeof(PersonFileSet::GivenNames) == PersonFileBytes[2] && sizeof(PersonFileSet::Skills) == PersonFileBytes[3] &&
                  sizeof(PersonFileSet::Items) == PersonFileBytes[4] && sizeof(PersonFileSet::Affinity) == PersonFileBytes[5],
              "person file layout");

static const char NothingChangedMessage[] = "ファイルが足りないため、何も変更していません";
static const char FinishedMessage[] = "終了";

static unsigned char* TableIn(PersonFileSet* set, int file) {
    return reinterpret_cast<unsigned char*>(set) + PersonFiles[file].Offset;
}

// Reads one file into its table. The part of the table the file does not
// cover is set to zero, so the table never keeps values of an earlier read.
// Returns 1 when the file could be read: a read error (or a folder in the
// file's place) counts as unreadable, not as a short file, so the unread rest
// never reaches the user's files as zeros.
static int ReadTable(const char* path, unsigned char* table, size_t bytes) {
    long got = ReadGameFile(path, table, bytes);
    size_t filled = got > 0 ? (size_t)got : 0;
    memset(table + filled, 0, bytes - filled);
    return got >= 0;
}

// Every file is tried, even after a missing one, so that the user learns of
// every missing file in one run.
static int LoadSet(PersonFileSet* set, int user) {
    int missing = 0;
    for (int file = 0; file < PersonFileCount; ++file) {
        const PersonFileEntry& entry = PersonFiles[file];
        if (!ReadTable(user ? entry.UserPath : entry.DefaultPath, TableIn(set, file), entry.Bytes)) {
            WriteConsoleLine(user ? entry.UserMissing : entry.DefaultMissing);
            ++missing;
        }
    }
    return missing;
}

int LoadDefaults() { return LoadSet(&DefaultSet, 0); }
int LoadUserData() { return LoadSet(&UserSet, 1); }

// Copies a terminated name over another, terminator included, leaving the
// target's bytes after it alone. A source cell without a terminator is copied
// whole: the copy never reads or writes beyond the 32-byte cells.
static void CopyName(char* target, const char* source) {
    const void* end = memchr(source, 0, NameCellBytes);
    size_t bytes = end ? (size_t)(static_cast<const char*>(end) - source) + 1 : (size_t)NameCellBytes;
    memcpy(target, source, bytes);
}

void MergeDefaults() {
    const PersonFileSet& from = DefaultSet;
    PersonFileSet& to = UserSet;
    for (int slot = 0; slot < GamePersonSlots; ++slot) {
        if (from.Persons[slot][BirthYear] <= 0) continue;
        CopyName(to.Surnames[slot], from.Surnames[slot]);
        CopyName(to.GivenNames[slot], from.GivenNames[slot]);
        memcpy(to.Persons[slot], from.Persons[slot], PersonFieldsInUse * sizeof(int32_t));
        memcpy(to.Skills[slot], from.Skills[slot], PersonSkillSlotsInUse * sizeof(int32_t));
        memcpy(to.Items[slot], from.Items[slot], PersonItemSlotsInUse * sizeof(int32_t));
        memcpy(to.Affinity[slot], from.Affinity[slot], GamePersonSlots * sizeof(int32_t));
    }
}

int WriteUserData() {
    const void* images[PersonFileCount];
    for (int file = 0; file < PersonFileCount; ++file) images[file] = TableIn(&UserSet, file);
    WriteResult reason = WriteOk;
    int stopped = WritePersonFiles("data", images, &reason);
    if (stopped < PersonFileCount) {
        const PersonFileEntry& entry = PersonFiles[stopped];
        if (reason == WriteCannotOpen) {
            WriteConsoleLine(entry.UserMissing);
            WriteConsoleLine(entry.UserWriteBlocked);
        } else {
            WriteConsoleLine(entry.UserWriteFailed);
        }
    }
    return stopped;
}

int RunUpdate(int waitMilliseconds) {
    // Both sets are read in full before anything is decided, so every missing
    // file is reported. Without all twelve tables the merge would write zeros
    // over the user's data, so nothing is written at all.
    int missing = LoadDefaults();
    missing += LoadUserData();
    int result = PatchFilesMissing;
    if (missing > 0) {
        WriteConsoleLine(NothingChangedMessage);
    } else {
        MergeDefaults();
        result = WriteUserData() == PersonFileCount ? PatchDone : PatchWriteStopped;
    }
    WriteConsoleLine(FinishedMessage);
    HostSleep(waitMilliseconds);
    return result;
}
