// The editor's person files: load at start-up, save on request, and the
// derived full names.
#include <cstring>

#include "platform/host.h"
#include "relations/kinship.h"
#include "shell/text.h"
#include "store/person_files.h"
#include "store/store.h"
#include "store/store_messages.h"
#include "store/tables.h"

static_assert(sizeof(PersonTable) == PersonFileBytes[0], "data00 is the person table");
static_assert(sizeof(SurnameTable) == PersonFileBytes[1], "data01 is the surname table");
static_assert(sizeof(GivenNameTable) == PersonFileBytes[2], "data02 is the given-name table");
static_assert(sizeof(PersonSkillTable) == PersonFileBytes[3], "data03 is the person skill table");
static_assert(sizeof(PersonItemTable) == PersonFileBytes[4], "data04 is the person item table");
static_assert(sizeof(AffinityMatrix) == PersonFileBytes[5], "data05 is the affinity matrix");

static const char* const PersonFolder = "data";

void LoadPersonFiles() {
    void* const images[PersonFileCount] = {PersonTable,      SurnameTable,    GivenNameTable,
                                           PersonSkillTable, PersonItemTable, AffinityMatrix};
    if (ReadPersonFiles(PersonFolder, images) < PersonFileCount) {
        ShowStoreNotice(MissingFileText);
        return;
    }
    for (int32_t p = 0; p < PersonCount; ++p) BuildFullName(p);
    DeriveKinship();
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

// A name cell is read only within its 32 bytes, whether or not it holds a
// terminator. Surname and given name together are cut to the 31 bytes a
// full-name cell holds: the surname first, then the given name gets what
// remains; neither is cut inside a double-byte character, and a lead byte
// left dangling at the end of a name is dropped so that it cannot pair with
// the byte after it.
void BuildFullName(int32_t p) {
    if (p < 0 || p >= PersonCount) return;
    char* cell = FullNameTable[p];
    cell[0] = 0;
    if (p == 0) {
        strcpy(cell, "－－－－－－－－");
        return;
    }
    constexpr size_t MaxText = NameCellBytes - 1;
    char surname[NameCellBytes];
    char given[NameCellBytes];
    size_t surnameBytes = Cp932FitLength(SurnameTable[p], strnlen(SurnameTable[p], NameCellBytes), MaxText);
    memcpy(surname, SurnameTable[p], surnameBytes);
    surname[surnameBytes] = 0;
    size_t givenBytes =
        Cp932FitLength(GivenNameTable[p], strnlen(GivenNameTable[p], NameCellBytes), MaxText - surnameBytes);
    memcpy(given, GivenNameTable[p], givenBytes);
    given[givenBytes] = 0;
    JoinText(cell, surname, given);
}
