// Storage of the game data store. Zero-initialised at program start, which is
// the state of every spare row and spare element.
#include "tables.h"

int32_t PersonTable[PersonRows][PersonFields];
char SurnameTable[PersonRows][NameCellBytes];
char GivenNameTable[PersonRows][NameCellBytes];
int32_t PersonSkillTable[PersonRows][PersonSkillSlots];
int32_t PersonItemTable[PersonRows][PersonItemSlots];
int32_t AffinityMatrix[PersonRows][PersonRows];
char FullNameTable[PersonRows][NameCellBytes];
int32_t KinshipMatrix[PersonRows][PersonRows];
int32_t AcquaintanceMatrix[PersonRows][PersonRows];
char KinshipLabel[KinshipCodes][NameCellBytes];
int32_t CurrentPersonId;

SkillTableData SkillTable;
ItemTableData ItemTable;
EffectTableData EffectTable;
FormationTableData FormationTable;

CastleTableData CastleTable;
int32_t CastleMatrix[CastleRows][CastleRows];

char FactionNameTable[FactionNames][NameCellBytes];
char GradeLabels[16][6];
char StandingLabels[5][NameCellBytes];
char RankLabels[7][NameCellBytes];
