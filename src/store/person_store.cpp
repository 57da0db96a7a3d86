// The editor's person files: load at start-up, save on request, and the
// derived full names.
#include <cstring>

#include "platform/host.h"
#include "relations/kinship.h"
#include "store/person_files.h"
#include "store/store.h"
#include "store/store_internal.h"
#include "store/tables.h"

static_assert(sizeof(PersonTable) == PersonFileBytes[0], "data00 is the person table");
static_assert(sizeof(SurnameTable) == PersonFileBytes[1], "data01 is the surname table");
static_assert(sizeof(GivenNameTable) == PersonFileBytes[2], "data02 is the given-name table");
static_assert(sizeof(PersonSkillTable) == PersonFileBytes[3], "data03 is the person skill table");
static_assert(sizeof(PersonItemTable) == PersonFileBytes[4], "data04 is the person item table");
static_assert(sizeof(AffinityMatrix) == PersonFileBytes[5], "data05 is the affinity matrix");

static const char* const PersonFolder = "data";

int ReadPersonTables(size_t bytesRead[PersonFileCount]) {
    void* const images[PersonFileCount] = {PersonTable,      SurnameTable,    GivenNameTable,
                                           PersonSkillTable, PersonItemTable, AffinityMatrix};
    return ReadPersonFiles(PersonFolder, images, bytesRead);
}

void FinishPersonLoad(int failedFile, bool buildNames) {
    if (failedFile < PersonFileCount) {
        ShowStoreNotice(MissingFileText);
        return;
    }
    if (buildNames)
        for (int32_t p = 0; p < PersonCount; ++p) BuildFullName(p);
    DeriveKinship();
}

void LoadPersonFiles() {
    size_t bytesRead[PersonFileCount];
    FinishPersonLoad(ReadPersonTables(bytesRead), true);
}

void SavePersonFiles() {
    if (PlatformMessageBox(SaveQuestionText, StoreCaption, MessageBoxYesNo) != AnswerYes) return;
    const void* const images[PersonFileCount] = {PersonTable,      SurnameTable,    GivenNameTable,
                                                 PersonSkillTable, PersonItemTable, AffinityMatrix};
    WriteResult reason = WriteOk;
    if (WritePersonFiles(PersonFolder, images, &reason) < PersonFileCount) {
        // The file that failed and the ones after it are untouched on disk.
        ShowStoreNotice(reason == WriteFailed ? WriteFailedText : MissingFileText);
        return;
    }
    ShowStoreNotice(SavedText);
}

namespace {

bool IsLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// Copies the text of a name cell (up to its terminator, or all 32 bytes when
// it has none) to out, at most room bytes. A double-byte character that does
// not fit is left out whole, and so is a lead byte without its trail byte
// (it would pair with whatever byte came next). Returns the bytes copied.
size_t CopyNameText(char* out, const char* cell, size_t room) {
    size_t at = 0;
    while (at < (size_t)NameCellBytes && cell[at] != 0) {
        if (IsLeadByte((unsigned char)cell[at])) {
            if (at + 2 > room || at + 1 >= (size_t)NameCellBytes || cell[at + 1] == 0) break;
            out[at] = cell[at];
            out[at + 1] = cell[at + 1];
            at += 2;
        } else {
            if (at + 1 > room) break;
            out[at] = cell[at];
            at += 1;
        }
    }
    return at;
}

}  // namespace

// The surname followed by the given name, cut to the 31 bytes a full-name
// cell holds: the surname first, then the given name gets what remains. A
// name cell is never read past its 32 bytes.
void BuildFullName(int32_t p) {
    if (p < 0 || p >= PersonCount) return;
    char* cell = FullNameTable[p];
    if (p == 0) {
        strcpy(cell, "－－－－－－－－");
        return;
    }
    constexpr size_t MaxText = NameCellBytes - 1;
    size_t surnameBytes = CopyNameText(cell, SurnameTable[p], MaxText);
    size_t givenBytes = CopyNameText(cell + surnameBytes, GivenNameTable[p], MaxText - surnameBytes);
    cell[surnameBytes + givenBytes] = 0;
}
