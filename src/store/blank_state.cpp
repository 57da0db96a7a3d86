// The blank state of every table, the constant label tables, and the
// start-up sequence that loads the person and reference files over them.
#include <cstring>

#include "store/store.h"
#include "store/store_internal.h"
#include "store/tables.h"

namespace {

// Texts of the blank state: full-width dashes.
constexpr const char* Dashes2 = "－－";
constexpr const char* Dashes5 = "－－－－－";
constexpr const char* Dashes6 = "－－－－－－";
constexpr const char* Dashes8 = "－－－－－－－－";
constexpr const char* Dashes15 = "－－－－－－－－－－－－－－－";

constexpr const char* GradeTexts[] = {"G", "G+", "F", "F+", "E", "E+", "D", "D+",
                                      "C", "C+", "B", "B+", "A", "A+", "S", "S+"};
constexpr const char* StandingTexts[] = {"浪人", "一般", "城主", "軍団長", "当主"};
constexpr const char* RankTexts[] = {"無し", "足軽頭", "侍大将", "部将", "家老", "宿老", "当主"};
// Kinship codes 0..39; the cells after them keep two dashes.
constexpr const char* KinshipTexts[] = {
    "無し",   "父親",   "母親",   "兄",     "姉",     "弟",       "妹",     "祖父",
    "祖母",   "孫息子", "孫娘",   "義父",   "義母",   "義兄",     "義姉",   "義弟",
    "義妹",   "義祖父", "義祖母", "叔父",   "叔母",   "兄弟",     "縁者",   "息子",
    "娘",     "義子",   "義娘",   "夫",     "妻",     "甥",       "姪",     "義兄弟",
    "いとこ", "曾祖父", "曾祖母", "曾孫息子", "曾孫娘", "無し",   "無し",   "無し",
};

static_assert(sizeof GradeTexts / sizeof GradeTexts[0] == sizeof GradeLabels / sizeof GradeLabels[0], "grades");
static_assert(sizeof StandingTexts / sizeof StandingTexts[0] == sizeof StandingLabels / sizeof StandingLabels[0],
              "standings");
static_assert(sizeof RankTexts / sizeof RankTexts[0] == sizeof RankLabels / sizeof RankLabels[0], "ranks");
static_assert(sizeof KinshipTexts / sizeof KinshipTexts[0] == 40, "kinship codes 0..39");

// Puts text into a cell of cellBytes bytes and clears the rest of the cell,
// so a blank cell is the same whatever it held before.
template <size_t CellBytes>
void SetCell(char (&cell)[CellBytes], const char* text) {
    strncpy(cell, text, CellBytes - 1);
    cell[CellBytes - 1] = 0;
}

// Writes blank (the blank bytes of one range of a row) into bytes
// rangeBegin..rangeEnd-1 of rows 0..rows-1 of a table of rowBytes-byte rows,
// except for the bytes before covered, which a file has just filled. Reading
// a file and then blanking what it did not fill gives the same table as
// blanking first and reading over it, without writing the large tables twice.
void BlankRowRange(void* table, size_t rowBytes, int rows, size_t rangeBegin, size_t rangeEnd,
                   const void* blank, size_t covered) {
    unsigned char* bytes = (unsigned char*)table;
    for (int row = (int)(covered / rowBytes); row < rows; ++row) {
        size_t begin = row * rowBytes + rangeBegin;
        size_t end = row * rowBytes + rangeEnd;
        if (end <= covered) continue;
        size_t skip = covered > begin ? covered - begin : 0;
        memcpy(bytes + begin + skip, (const unsigned char*)blank + skip, end - begin - skip);
    }
}

template <size_t Bytes>
void BlankNameColumn(char (*table)[Bytes], const char* text, size_t covered) {
    char blank[Bytes];
    SetCell(blank, text);
    BlankRowRange(table, Bytes, PersonCount, 0, Bytes, blank, covered);
}

}  // namespace

void BlankPersonTables(const size_t covered[PersonFileCount]) {
    static const int32_t zeros[PersonFields] = {};
    static int32_t fifties[PersonCount];
    for (int32_t& value : fifties) value = 50;
    BlankRowRange(PersonTable, sizeof PersonTable[0], PersonCount, 0, sizeof(int32_t) * PersonFieldsInUse, zeros,
                  covered[0]);
    BlankNameColumn(SurnameTable, Dashes5, covered[1]);
    BlankNameColumn(GivenNameTable, Dashes5, covered[2]);
    BlankRowRange(PersonSkillTable, sizeof PersonSkillTable[0], PersonCount, 0,
                  sizeof(int32_t) * PersonSkillSlotsInUse, zeros, covered[3]);
    BlankRowRange(PersonItemTable, sizeof PersonItemTable[0], PersonCount, 0, sizeof(int32_t) * PersonItemSlotsInUse,
                  zeros, covered[4]);
    BlankRowRange(AffinityMatrix, sizeof AffinityMatrix[0], PersonCount, 0, sizeof fifties, fifties, covered[5]);
}

namespace {

void BlankReferencesAndCastles() {
    for (int s = 0; s < SkillRowsInUse; ++s) {
        SetCell(SkillTable.Name[s], Dashes6);
        memset(SkillTable.Param[s], 0, sizeof(int32_t) * SkillParamsInUse);
    }
    for (int e = 0; e < EffectRowsInUse; ++e) {
        SetCell(EffectTable.Name[e], Dashes15);
        memset(EffectTable.Param[e], 0, sizeof(int32_t) * EffectParamsInUse);
    }
    for (int f = 0; f < FormationRowsInUse; ++f) {
        SetCell(FormationTable.Name[f], Dashes6);
        for (int unit = 0; unit < FormationUnitsInUse; ++unit)
            memset(&FormationTable.Param[f][unit * FormationUnitFields], 0,
                   sizeof(int32_t) * FormationUnitFieldsInUse);
    }
    for (int i = 0; i < ItemRowsInUse; ++i) {
        SetCell(ItemTable.Name[i], Dashes8);
        memset(ItemTable.Param[i], 0, sizeof(int32_t) * ItemParamsInUse);
    }
    for (int f = 0; f < FactionNames; ++f) SetCell(FactionNameTable[f], Dashes8);
    for (int c = 0; c < CastleRowsInUse; ++c) {
        SetCell(CastleTable.Name[c], Dashes8);
        memset(CastleTable.Param[c], 0, sizeof(int32_t) * CastleParamsInUse);
        memset(CastleMatrix[c], 0, sizeof(int32_t) * CastleRowsInUse);
    }
}

void FillLabels() {
    for (int g = 0; g < 16; ++g) SetCell(GradeLabels[g], GradeTexts[g]);
    for (int s = 0; s < 5; ++s) SetCell(StandingLabels[s], StandingTexts[s]);
    for (int r = 0; r < 7; ++r) SetCell(RankLabels[r], RankTexts[r]);
    for (int k = 0; k < KinshipCodes; ++k) SetCell(KinshipLabel[k], Dashes2);
    for (int k = 0; k < 40; ++k) SetCell(KinshipLabel[k], KinshipTexts[k]);
}

}  // namespace

void BlankOtherTables() {
    // The derived matrices are cleared whole, spare rows and columns with
    // the rest: nothing ever sets their spare entries (they are neither read
    // from nor written to a file), and one clear of the whole matrix is much
    // quicker than 2000 clears of a row.
    memset(AcquaintanceMatrix, 0, sizeof AcquaintanceMatrix);
    memset(KinshipMatrix, 0, sizeof KinshipMatrix);
    BlankReferencesAndCastles();
    FillLabels();
}

void SetBlankState() {
    const size_t nothingCovered[PersonFileCount] = {};
    BlankPersonTables(nothingCovered);
    BlankOtherTables();
}

void PrepareStartingPersons() {
    for (int32_t p = 0; p < PersonCount; ++p) {
        BuildFullName(p);
        PersonTable[p][LocationCastleId] = PersonTable[p][OriginCastleId];
    }
}

// The blank state, then the person files over it, then the reference files.
// The person tables are blanked after their files are read, only where the
// files did not fill them, which comes to the same tables without writing
// them twice; and the full names are built once, after the reference files
// (nothing between reads them).
void ResetGameData() {
    BlankOtherTables();
    size_t bytesRead[PersonFileCount];
    int failedFile = ReadPersonTables(bytesRead);
    BlankPersonTables(bytesRead);
    FinishPersonLoad(failedFile, false);
    LoadReferenceTables();
    PrepareStartingPersons();
}
