// The game data store: every table the editor works on, as fixed-size global
// arrays with static lifetime. Each person, reference and castle file is the
// exact little-endian memory image of one of these arrays, spare rows and
// spare elements included, so the arrays are declared with exactly the
// file's shape.
//
// This header and tables.cpp hold no window code: rosterpatch uses the
// person-table shapes from here too.
#pragma once

#include <cstdint>

// ---------------------------------------------------------------- persons

constexpr int PersonCount = 2000;      // rows 0..1999 are persons; 0 is nobody
constexpr int PersonRows = 2002;       // plus two spare rows carried through files
constexpr int GamePersonSlots = 1400;  // 0..1399: the game's own persons
constexpr int UserPersonFirst = 1400;  // 1400..1499: the user's own persons
constexpr int UserPersonEnd = 1500;
constexpr int NameCellBytes = 32;
constexpr int PersonFields = 102;       // 0..99 in use, 100..101 spare
constexpr int PersonFieldsInUse = 100;
constexpr int PersonSkillSlots = 22;    // 0..19 in use, 20..21 spare
constexpr int PersonSkillSlotsInUse = 20;
constexpr int PersonItemSlots = 12;     // 0..9 in use, 10..11 spare
constexpr int PersonItemSlotsInUse = 10;

// Field indices of a PersonTable row. Fields not named here are carried
// unchanged (their meaning belongs to the game).
enum PersonField : int {
    FactionId = 2,
    LocationCastleId = 3,
    Sex = 4,
    Standing = 5,
    Merit = 6,
    BirthYear = 7,
    DeathYear = 8,
    Command = 9,
    Valor = 10,
    Strategy = 11,
    Politics = 12,
    InfantryGrade = 13,
    CavalryGrade = 14,
    ArcheryGrade = 15,
    GunGrade = 16,
    NavyGrade = 17,
    MartialArts = 18,
    Stamina = 19,
    Duty = 37,
    Ambition = 38,
    AbilityType = 40,
    DesireType = 41,
    BattlePortrait = 42,
    MilitaryRank = 47,
    MainTendency = 48,
    SpeechStyle = 49,
    Troops = 51,
    Training = 52,
    Horses = 53,
    Guns = 54,
    Action = 56,
    Gold = 57,
    BaseCommand = 58,
    BaseValor = 59,
    BaseStrategy = 60,
    BasePolitics = 61,
    BaseInfantryGrade = 62,
    BaseCavalryGrade = 63,
    BaseArcheryGrade = 64,
    BaseGunGrade = 65,
    BaseNavyGrade = 66,
    BaseMartialArts = 67,
    BaseStamina = 68,
    ListSortKey = 72,  // carried; read only by the person list's sort
    SuperiorId = 74,
    Provisions = 75,
    LoyaltyTargetId = 79,
    Portrait = 80,
    FatherId = 82,
    MotherId = 83,
    SpouseId = 84,
    OriginCastleId = 86,
    AdoptiveParentId = 87,
    DeathCause = 88,
    FormationId = 92,
};

// Entries of a PersonSkillTable row.
enum PersonSkillSlot : int {
    SpecialSkill1 = 0,  // ..SpecialSkill6 = 5
    Tactic1 = 6,        // ..Tactic5 = 10
    SecretArt1 = 11,    // ..SecretArt3 = 13
};
constexpr int SpecialSkillCount = 6;
constexpr int TacticCount = 5;
constexpr int SecretArtCount = 3;

// Entries of a PersonItemTable row.
constexpr int Item1 = 0;  // ..Item5 = 4
constexpr int ItemSlotCount = 5;

extern int32_t PersonTable[PersonRows][PersonFields];
extern char SurnameTable[PersonRows][NameCellBytes];
extern char GivenNameTable[PersonRows][NameCellBytes];
extern int32_t PersonSkillTable[PersonRows][PersonSkillSlots];
extern int32_t PersonItemTable[PersonRows][PersonItemSlots];
extern int32_t AffinityMatrix[PersonRows][PersonRows];
extern char FullNameTable[PersonRows][NameCellBytes];  // derived, never saved

// Derived once at start-up from the parent and spouse links; never saved.
extern int32_t KinshipMatrix[PersonRows][PersonRows];       // [observer][other]
extern int32_t AcquaintanceMatrix[PersonRows][PersonRows];  // 0 unknown, 1 acquainted
constexpr int KinshipCodes = 50;
extern char KinshipLabel[KinshipCodes][NameCellBytes];

// The person the editor works on.
extern int32_t CurrentPersonId;

// A link field names a person when it lies in 1..PersonRows-1; anything else
// (0, negative, too large) is nobody and must never index a table.
inline bool IsPersonIndex(int32_t id) { return id > 0 && id < PersonRows; }
inline bool IsSlotInUse(int32_t id) { return id >= 0 && id < PersonRows && PersonTable[id][BirthYear] > 0; }
inline bool IsUserPerson(int32_t id) { return id >= UserPersonFirst && id < UserPersonEnd; }

// ---------------------------------------------------------------- reference tables

constexpr int SkillRows = 302, SkillRowsInUse = 300, SkillParams = 22, SkillParamsInUse = 20;
constexpr int ItemRows = 202, ItemRowsInUse = 200, ItemParams = 42, ItemParamsInUse = 40;
constexpr int EffectRows = 202, EffectRowsInUse = 200, EffectParams = 32, EffectParamsInUse = 30;
constexpr int FormationRows = 52, FormationRowsInUse = 50, FormationParams = 84;
constexpr int FormationUnitFields = 12, FormationUnitsInUse = 5, FormationUnitFieldsInUse = 10;

// Fields of a SkillTable parameter row.
enum SkillParam : int {
    SkillEffect1 = 0,  // ..SkillEffect5 = 4
    SkillType = 5,
    SkillRank = 6,
    SkillConsumption = 7,
    SkillFatigue = 8,
    SkillListGroup = 9,
    SkillAcquisitionType = 10,
};
constexpr int SkillEffectCount = 5;

// Fields of one FormationUnit block (block u starts at u * FormationUnitFields).
enum FormationUnitField : int {
    UnitRow = 0,
    UnitColumnX = 1,
    UnitRowY = 2,
    UnitAttack = 3,
    UnitDefence = 4,
    UnitAction = 5,
    UnitFormationType = 6,
    UnitPriority = 7,
};

struct SkillTableData {
    char Name[SkillRows][NameCellBytes];
    int32_t Param[SkillRows][SkillParams];
};
struct ItemTableData {
    char Name[ItemRows][NameCellBytes];
    int32_t Param[ItemRows][ItemParams];
};
struct EffectTableData {
    char Name[EffectRows][NameCellBytes];
    int32_t Param[EffectRows][EffectParams];
};
struct FormationTableData {
    char Name[FormationRows][NameCellBytes];
    int32_t Param[FormationRows][FormationParams];
};
extern SkillTableData SkillTable;
extern ItemTableData ItemTable;
extern EffectTableData EffectTable;
extern FormationTableData FormationTable;

// ---------------------------------------------------------------- castles

constexpr int CastleRows = 352, CastleRowsInUse = 350, CastleParams = 82, CastleParamsInUse = 80;

enum CastleParam : int {
    CastleState = 0,     // 0 empty, 1 shown on the map, >0 selectable
    OwnerFactionId = 1,
    LordId = 2,
    MapX = 11,
    MapY = 12,
    JurisdictionId = 18,
};

struct CastleTableData {
    char Name[CastleRows][NameCellBytes];
    int32_t Param[CastleRows][CastleParams];
};
extern CastleTableData CastleTable;
extern int32_t CastleMatrix[CastleRows][CastleRows];

// ---------------------------------------------------------------- labels

constexpr int FactionNames = 400;
extern char FactionNameTable[FactionNames][NameCellBytes];
extern char GradeLabels[16][6];
extern char StandingLabels[5][NameCellBytes];
extern char RankLabels[7][NameCellBytes];

// ---------------------------------------------------------------- file shapes

static_assert(sizeof(PersonTable) == 816816, "data00 layout");
static_assert(sizeof(SurnameTable) == 64064, "data01 layout");
static_assert(sizeof(GivenNameTable) == 64064, "data02 layout");
static_assert(sizeof(PersonSkillTable) == 176176, "data03 layout");
static_assert(sizeof(PersonItemTable) == 96096, "data04 layout");
static_assert(sizeof(AffinityMatrix) == 16032016, "data05 layout");
static_assert(sizeof(SkillTableData::Name) == 9664 && sizeof(SkillTableData::Param) == 26576, "data06/07");
static_assert(sizeof(ItemTableData::Name) == 6464 && sizeof(ItemTableData::Param) == 33936, "data08/09");
static_assert(sizeof(EffectTableData::Name) == 6464 && sizeof(EffectTableData::Param) == 25856, "data10/11");
static_assert(sizeof(FormationTableData::Name) == 1664 && sizeof(FormationTableData::Param) == 17472, "data12/13");
static_assert(sizeof(CastleTableData::Name) == 11264 && sizeof(CastleTableData::Param) == 115456, "data14/15");
static_assert(sizeof(CastleMatrix) == 495616, "data16");

// The files are little-endian memory images; these programs only build for
// little-endian hosts.
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "little-endian host required");
