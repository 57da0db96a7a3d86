// The demo game generator: the files it writes and their exact sizes, that
// one seed always gives the same bytes, and that the data is plausible enough
// to stand in for a real game folder (links name persons in use, values lie
// in their ranges, the awkward cases readers must handle are present).
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "demo_game.h"
#include "demo_parts.h"
#include "platform/headless.h"
#include "platform/host.h"
#include "store/tables.h"

namespace {

using Bytes = std::vector<unsigned char>;

const char* const SeedOne = "demo_seed1";
const char* const SeedOneAgain = "demo_seed1_again";
const char* const SeedTwo = "demo_seed2";

Bytes ReadWhole(const std::string& path) {
    Bytes bytes;
    FILE* file = fopen(path.c_str(), "rb");
    if (!file) return bytes;
    unsigned char chunk[65536];
    size_t got;
    while ((got = fread(chunk, 1, sizeof chunk, file)) > 0) bytes.insert(bytes.end(), chunk, chunk + got);
    fclose(file);
    return bytes;
}

int32_t Int32At(const Bytes& bytes, size_t offset) {
    uint32_t v = (uint32_t)bytes[offset] | (uint32_t)bytes[offset + 1] << 8 | (uint32_t)bytes[offset + 2] << 16 |
                 (uint32_t)bytes[offset + 3] << 24;
    return (int32_t)v;
}

// Every data file of a game folder and its exact size.
const struct {
    const char* Path;
    size_t Size;
} DataFiles[] = {
    {"data/data00.dat", 816816},   {"data/data01.dat", 64064},   {"data/data02.dat", 64064},
    {"data/data03.dat", 176176},   {"data/data04.dat", 96096},   {"data/data05.dat", 16032016},
    {"data/data06.dat", 9664},     {"data/data07.dat", 26576},   {"data/data08.dat", 6464},
    {"data/data09.dat", 33936},    {"data/data10.dat", 6464},    {"data/data11.dat", 25856},
    {"data/data12.dat", 1664},     {"data/data13.dat", 17472},   {"data/data14.dat", 11264},
    {"data/data15.dat", 115456},   {"data/data16.dat", 495616},  {"defa/data00.dat", 816816},
    {"defa/data01.dat", 64064},    {"defa/data02.dat", 64064},   {"defa/data03.dat", 176176},
    {"defa/data04.dat", 96096},    {"defa/data05.dat", 16032016}, {"sdata/sdata1/sdata00.dat", 816816},
    {"sdata/sdata1/sdata01.dat", 64064}, {"sdata/sdata1/sdata02.dat", 64064},
    {"sdata/sdata1/sdata03.dat", 176176}, {"sdata/sdata1/sdata04.dat", 96096},
};

std::vector<std::string> PicturePaths() {
    std::vector<std::string> paths = {"gdata/tizu01.gdat", "gdata/map0.gdat", "gdata/etc00.gdat"};
    for (int k = 0; k < 33; ++k) {
        char name[40];
        snprintf(name, sizeof name, "gdata/g00/ky%02da.gdat", k);
        paths.push_back(name);
    }
    return paths;
}

// Tests of the data itself work on the tables in memory: FillDemoPersons
// and the generator's own reference and castle tables, which the files are
// checked to hold byte for byte (DemoFolder).
class DemoData : public ::testing::Test {
protected:
    static void LoadPersons() { FillDemoPersons(1); }
    // Puts the demo reference and castle tables into the editor's tables.
    static void LoadReference() {
        FillDemoPersons(1);
        SkillTable = DemoSkills;
        ItemTable = DemoItems;
        EffectTable = DemoEffects;
        FormationTable = DemoFormations;
        CastleTable = DemoCastles;
        memcpy(CastleMatrix, DemoCastleMatrix, sizeof CastleMatrix);
    }
};

// Tests of the written folder. Writing one takes a moment, so each test
// program writes a folder at most once.
class DemoFolder : public ::testing::Test {
protected:
    static bool Ensure(const char* folder, unsigned seed) {
        static std::set<std::string> written;
        if (written.count(folder)) return true;
        if (!WriteDemoGame(folder, seed)) return false;
        written.insert(folder);
        return true;
    }
    void SetUp() override { ASSERT_TRUE(Ensure(SeedOne, 1)) << "WriteDemoGame failed"; }
};

// Tests of the pictures write only the pictures.
const char* const PictureFolder = "demo_pictures";
class DemoPictures : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        FillDemoPersons(1);  // prepares the terrain and the castles
        std::error_code error;
        std::filesystem::create_directories(std::string(PictureFolder) + "/gdata/g00", error);
        Written = !error && WriteDemoPictures(PictureFolder);
    }
    void SetUp() override { ASSERT_TRUE(Written); }
    static bool Written;
};
bool DemoPictures::Written = false;

bool Used(int p) { return p > 0 && p < PersonCount && PersonTable[p][BirthYear] > 0; }
bool IsBlankName(const char* cell) { return strcmp(cell, "－－－－－") == 0; }
bool HasData(int p) {
    if (!IsBlankName(SurnameTable[p]) || !IsBlankName(GivenNameTable[p])) return true;
    for (int k = 0; k < PersonFields; ++k)
        if (PersonTable[p][k] != 0) return true;
    return false;
}

// ---------------------------------------------------------------- files

TEST_F(DemoFolder, WritesEveryDataFileWithItsExactSize) {
    for (const auto& file : DataFiles) {
        Bytes bytes = ReadWhole(std::string(SeedOne) + "/" + file.Path);
        EXPECT_EQ(bytes.size(), file.Size) << file.Path;
    }
}

TEST_F(DemoFolder, SameSeedGivesTheSameBytesAndAnotherSeedOtherData) {
    ASSERT_EQ(WriteDemoGame(SeedOneAgain, 1), 1);
    ASSERT_TRUE(Ensure(SeedTwo, 2));
    std::vector<std::string> paths = PicturePaths();
    for (const auto& file : DataFiles) paths.push_back(file.Path);
    for (const std::string& path : paths) {
        Bytes first = ReadWhole(std::string(SeedOne) + "/" + path);
        ASSERT_FALSE(first.empty()) << path;
        EXPECT_TRUE(first == ReadWhole(std::string(SeedOneAgain) + "/" + path)) << path;
    }
    // Persons, reference tables, castles and the map all follow the seed.
    for (const char* path : {"data/data00.dat", "data/data01.dat", "data/data05.dat", "data/data07.dat",
                             "data/data15.dat", "data/data16.dat", "defa/data00.dat", "sdata/sdata1/sdata00.dat",
                             "gdata/tizu01.gdat"})
        EXPECT_FALSE(ReadWhole(std::string(SeedOne) + "/" + path) == ReadWhole(std::string(SeedTwo) + "/" + path)) << path;
}

// The person tables after WriteDemoGame hold the data set; every file holds
// exactly the generator's tables.
TEST_F(DemoFolder, FilesHoldTheGeneratorsTables) {
    ASSERT_EQ(WriteDemoGame(SeedOneAgain, 1), 1);
    struct File {
        const char* Path;
        const void* Table;
        size_t Size;
    };
    auto expectFiles = [](const char* folder, const std::vector<File>& files) {
        for (const File& file : files) {
            Bytes bytes = ReadWhole(std::string(folder) + "/" + file.Path);
            ASSERT_EQ(bytes.size(), file.Size) << file.Path;
            EXPECT_EQ(memcmp(bytes.data(), file.Table, file.Size), 0) << file.Path;
        }
    };
    auto personFiles = [](const char* stem, int count) {
        const void* tables[6] = {PersonTable, SurnameTable, GivenNameTable, PersonSkillTable, PersonItemTable, AffinityMatrix};
        const size_t sizes[6] = {sizeof PersonTable, sizeof SurnameTable, sizeof GivenNameTable,
                                 sizeof PersonSkillTable, sizeof PersonItemTable, sizeof AffinityMatrix};
        static char names[6][64];
        std::vector<File> files;
        for (int k = 0; k < count; ++k) {
            snprintf(names[k], sizeof names[k], "%s%02d.dat", stem, k);
            files.push_back({names[k], tables[k], sizes[k]});
        }
        return files;
    };
    expectFiles(SeedOneAgain, personFiles("data/data", 6));
    expectFiles(SeedOne, {
        {"data/data06.dat", DemoSkills.Name, sizeof DemoSkills.Name},
        {"data/data07.dat", DemoSkills.Param, sizeof DemoSkills.Param},
        {"data/data08.dat", DemoItems.Name, sizeof DemoItems.Name},
        {"data/data09.dat", DemoItems.Param, sizeof DemoItems.Param},
        {"data/data10.dat", DemoEffects.Name, sizeof DemoEffects.Name},
        {"data/data11.dat", DemoEffects.Param, sizeof DemoEffects.Param},
        {"data/data12.dat", DemoFormations.Name, sizeof DemoFormations.Name},
        {"data/data13.dat", DemoFormations.Param, sizeof DemoFormations.Param},
        {"data/data14.dat", DemoCastles.Name, sizeof DemoCastles.Name},
        {"data/data15.dat", DemoCastles.Param, sizeof DemoCastles.Param},
        {"data/data16.dat", DemoCastleMatrix, sizeof DemoCastleMatrix},
    });
    FillDemoPersons(1);
    expectFiles(SeedOne, personFiles("data/data", 6));
    ApplyScenarioChanges(1);
    expectFiles(SeedOne, personFiles("sdata/sdata1/sdata", 5));
    FillDemoPersons(1);
    ApplyDefaultChanges(1);
    expectFiles(SeedOne, personFiles("defa/data", 6));
}

TEST_F(DemoData, ReportsAFolderItCannotCreate) {
    FILE* file = fopen("demo_blocker", "wb");
    ASSERT_NE(file, nullptr);
    fclose(file);
    EXPECT_EQ(WriteDemoGame("demo_blocker/game", 1), 0);
    EXPECT_EQ(WriteDemoGame("", 1), 0);
}

// ---------------------------------------------------------------- persons

TEST_F(DemoData, EveryLinkNamesAPersonInUse) {
    LoadPersons();
    const int Links[] = {FatherId, MotherId, SpouseId, AdoptiveParentId, SuperiorId, LoyaltyTargetId};
    for (int p = 0; p < PersonRows; ++p)
        for (int field : Links) {
            int32_t target = PersonTable[p][field];
            if (target == 0) continue;
            EXPECT_TRUE(Used(target) && target != p) << "person " << p << " field " << field << " -> " << target;
        }
}

TEST_F(DemoData, GameSlotsAreMostlyUsedAndUserPersonsStartAt1400) {
    LoadPersons();
    int game = 0;
    for (int p = 1; p < GamePersonSlots; ++p) game += Used(p);
    EXPECT_GE(game, 1300);
    EXPECT_LT(game, GamePersonSlots - 1);  // some game slots stay empty
    EXPECT_FALSE(Used(0));
    int users = 0;
    while (Used(UserPersonFirst + users)) ++users;
    EXPECT_GE(users, 3);
    for (int p = UserPersonFirst + users; p < PersonCount; ++p) EXPECT_FALSE(HasData(p)) << p;
    // Row 0 and the spare rows hold nothing; empty rows hold the blank state.
    for (int k = 0; k < PersonFields; ++k) EXPECT_EQ(PersonTable[0][k], 0);
    for (int p = PersonCount; p < PersonRows; ++p) {
        for (int k = 0; k < PersonFields; ++k) EXPECT_EQ(PersonTable[p][k], 0);
        EXPECT_EQ(SurnameTable[p][0], 0);
        EXPECT_EQ(GivenNameTable[p][0], 0);
        for (int q = 0; q < PersonRows; ++q) {
            EXPECT_EQ(AffinityMatrix[p][q], 0);
            EXPECT_EQ(AffinityMatrix[q][p], 0);
        }
    }
    for (int p = 1; p < PersonCount; ++p) {
        if (HasData(p)) continue;
        for (int q = 0; q < PersonCount; ++q) ASSERT_EQ(AffinityMatrix[p][q], 50) << p << " " << q;
    }
}

TEST_F(DemoData, PersonFieldsLieInTheirRanges) {
    LoadPersons();
    LoadReference();
    const struct {
        int Field, Low, High;
    } Ranges[] = {
        {FactionId, 0, 399},      {Sex, 0, 1},              {Standing, 0, 4},          {Merit, 0, 99999},
        {BirthYear, 1, 9999},     {DeathYear, 0, 9999},     {Command, 0, 200},         {Valor, 0, 200},
        {Strategy, 0, 200},       {Politics, 0, 200},       {InfantryGrade, 0, 15},    {CavalryGrade, 0, 15},
        {ArcheryGrade, 0, 15},    {GunGrade, 0, 15},        {NavyGrade, 0, 15},        {MartialArts, 0, 200},
        {Stamina, 0, 999},        {Duty, 0, 10},            {Ambition, 0, 10},         {39, 0, 200},
        {AbilityType, 0, 8},      {DesireType, 0, 3},       {BattlePortrait, 0, 33},   {43, 0, 10000},
        {44, 0, 10000},           {MilitaryRank, 0, 6},     {MainTendency, 0, 9},      {SpeechStyle, 0, 7},
        {Training, 0, 200},       {Action, 0, 300},         {Gold, 0, 10000},          {BaseCommand, 0, 150},
        {BaseValor, 0, 150},      {BaseStrategy, 0, 150},   {BasePolitics, 0, 150},    {BaseInfantryGrade, 0, 15},
        {BaseCavalryGrade, 0, 15}, {BaseArcheryGrade, 0, 15}, {BaseGunGrade, 0, 15},   {BaseNavyGrade, 0, 15},
        {BaseMartialArts, 0, 150}, {BaseStamina, 0, 350},   {77, 0, 100000},           {Portrait, 0, 33},
        {81, 0, 99999},           {DeathCause, 0, 1},       {FormationId, 0, 49},      {100, 0, 0},
        {101, 0, 0},
    };
    const int TroopCap[7] = {600, 600, 700, 800, 900, 1000, 1000};
    int differentCurrent = 0;
    for (int p = 1; p < PersonCount; ++p) {
        if (!Used(p)) continue;
        const int32_t* r = PersonTable[p];
        for (const auto& range : Ranges)
            EXPECT_TRUE(r[range.Field] >= range.Low && r[range.Field] <= range.High)
                << "person " << p << " field " << range.Field << " = " << r[range.Field];
        EXPECT_TRUE(r[DeathYear] == 0 || r[DeathYear] > r[BirthYear]) << p;
        EXPECT_LE(r[50], r[Stamina]) << p;
        int cap = TroopCap[r[MilitaryRank]];
        EXPECT_LE(r[Troops], cap) << p;
        EXPECT_LE(r[Horses], cap) << p;
        EXPECT_LE(r[Guns], cap) << p;
        if (r[Troops] == 0) {
            EXPECT_EQ(r[Training], 0) << p;
        }
        for (int field : {LocationCastleId, OriginCastleId}) {
            int c = r[field];
            EXPECT_TRUE(c >= 1 && c < CastleRowsInUse && CastleTable.Param[c][CastleState] > 0) << p << " castle " << c;
        }
        if (r[FormationId] > 0) {
            EXPECT_GT(FormationTable.Param[r[FormationId]][UnitPriority], 0) << p;
        }
        if (r[SuperiorId] > 0) {
            EXPECT_EQ(PersonTable[r[SuperiorId]][FactionId], r[FactionId]) << p;
        }
        for (int k = 0; k < 4; ++k) differentCurrent += r[Command + k] != r[BaseCommand + k];
    }
    EXPECT_GT(differentCurrent, 0);  // some current values differ from the base ones
}

TEST_F(DemoData, FamiliesSpanGenerationsAndParentsAreOlder) {
    LoadPersons();
    int withFather = 0, withMother = 0, greatGrandchildren = 0;
    for (int p = 1; p < PersonCount; ++p) {
        if (!Used(p)) continue;
        const int32_t* r = PersonTable[p];
        for (int field : {FatherId, MotherId, AdoptiveParentId}) {
            int parent = r[field];
            if (parent == 0) continue;
            EXPECT_GE(r[BirthYear] - PersonTable[parent][BirthYear], 13) << p << " parent " << parent;
        }
        if (r[FatherId]) {
            ++withFather;
            EXPECT_EQ(PersonTable[r[FatherId]][Sex], 0) << p;
            int grandfather = PersonTable[r[FatherId]][FatherId];
            if (grandfather && PersonTable[grandfather][FatherId]) ++greatGrandchildren;
        }
        if (r[MotherId]) {
            ++withMother;
            EXPECT_EQ(PersonTable[r[MotherId]][Sex], 1) << p;
        }
    }
    EXPECT_GT(withFather, 500);
    EXPECT_GT(withMother, 400);
    EXPECT_LT(withMother, withFather);  // some mothers are not known
    EXPECT_GT(greatGrandchildren, 20);
}

TEST_F(DemoData, TheAwkwardCasesArePresent) {
    LoadPersons();
    int oneSided = 0, sameSex = 0, sameYearSiblings = 0, adopted = 0, yearZeroWithData = 0, yearZeroMarried = 0;
    int fullLengthNames = 0, emptySurnames = 0;
    for (int p = 1; p < PersonCount; ++p) {
        const int32_t* r = PersonTable[p];
        int spouse = r[SpouseId];
        if (spouse && PersonTable[spouse][SpouseId] != p) ++oneSided;
        if (Used(p) && spouse && PersonTable[spouse][Sex] == r[Sex]) ++sameSex;
        if (Used(p) && r[AdoptiveParentId]) ++adopted;
        if (!Used(p) && HasData(p)) {
            ++yearZeroWithData;
            yearZeroMarried += spouse > 0;
        }
        if (Used(p) && strlen(SurnameTable[p]) == 11 && strlen(GivenNameTable[p]) == 11) ++fullLengthNames;
        if (Used(p) && SurnameTable[p][0] == 0) ++emptySurnames;
    }
    for (int p = 1; p < PersonCount; ++p)
        for (int q = p + 1; q < PersonCount; ++q)
            if (Used(p) && Used(q) && PersonTable[p][FatherId] > 0 && PersonTable[p][FatherId] == PersonTable[q][FatherId] &&
                PersonTable[p][BirthYear] == PersonTable[q][BirthYear])
                ++sameYearSiblings;
    EXPECT_GE(oneSided, 1);
    EXPECT_GE(sameSex, 2);  // both sides of a pair
    EXPECT_LT(sameSex, 10);
    EXPECT_GE(sameYearSiblings, 1);
    EXPECT_GE(adopted, 5);
    EXPECT_GE(yearZeroWithData, 1);
    EXPECT_GE(yearZeroMarried, 1);
    EXPECT_GE(fullLengthNames, 1);
    EXPECT_GE(emptySurnames, 1);
}

TEST_F(DemoData, NamesAreShortValidShiftJis) {
    LoadPersons();
    std::set<std::string> fullNames;
    int used = 0;
    for (int p = 1; p < PersonCount; ++p) {
        if (!Used(p)) continue;
        ++used;
        for (const char* name : {SurnameTable[p], GivenNameTable[p]}) {
            size_t length = strlen(name);
            EXPECT_LE(length, 11u) << p;
            char utf8[128], back[64];
            Cp932ToUtf8(name, length, utf8, sizeof utf8);
            EXPECT_EQ(strchr(utf8, '?'), nullptr) << p << " " << utf8;
            Utf8ToCp932(utf8, strlen(utf8), back, sizeof back);
            EXPECT_STREQ(back, name) << p;
        }
        EXPECT_NE(GivenNameTable[p][0], 0) << p;
        fullNames.insert(std::string(SurnameTable[p]) + GivenNameTable[p]);
    }
    EXPECT_GT((int)fullNames.size(), used * 8 / 10);  // mostly distinct
}

TEST_F(DemoData, SkillsAndItemsOfPersonsFitTheirSlots) {
    LoadPersons();
    LoadReference();
    int withSkills = 0, withItems = 0;
    for (int p = 1; p < PersonCount; ++p) {
        if (!Used(p)) continue;
        const int32_t* s = PersonSkillTable[p];
        for (int k = 0; k < SecretArt1 + SecretArtCount; ++k) {
            if (s[k] == 0) continue;
            ++withSkills;
            ASSERT_TRUE(s[k] > 0 && s[k] < SkillRowsInUse) << p;
            int type = SkillTable.Param[s[k]][SkillType];
            if (k < Tactic1) EXPECT_EQ(type, 0) << p << " slot " << k;
            else if (k < SecretArt1) EXPECT_TRUE(type == 1 || type == 4) << p << " slot " << k;
            else EXPECT_EQ(type, 2) << p << " slot " << k;
        }
        EXPECT_EQ(s[20], 0);
        EXPECT_EQ(s[21], 0);
        const int32_t* items = PersonItemTable[p];
        for (int k = 0; k < ItemSlotCount; ++k) {
            EXPECT_TRUE(items[k] >= 0 && items[k] < ItemRowsInUse) << p;
            if (k > 0 && items[k]) {  // filled from the first slot
                EXPECT_NE(items[k - 1], 0) << p;
            }
            withItems += items[k] > 0;
        }
    }
    EXPECT_GT(withSkills, 500);
    EXPECT_GT(withItems, 20);
}

TEST_F(DemoData, AffinityVariesAroundFiftyWithinItsRange) {
    LoadPersons();
    long fifty = 0, other = 0, warm = 0;
    for (int a = 0; a < PersonCount; ++a)
        for (int b = 0; b < PersonCount; ++b) {
            int v = AffinityMatrix[a][b];
            ASSERT_TRUE(v >= 0 && v <= 200) << a << " " << b;
            if (v == 50) ++fifty;
            else ++other;
            if (v > 100) ++warm;
        }
    EXPECT_GT(fifty, other);
    EXPECT_GT(other, 100000);
    EXPECT_GT(warm, 1000);
}

// ---------------------------------------------------------------- reference tables

bool OfferedFor(int s, int category) {
    static const int Never[] = {19, 62, 63, 65, 187, 201, 202, 203};
    for (int n : Never)
        if (s == n) return false;
    const int32_t* p = SkillTable.Param[s];
    if (p[SkillEffect1] <= 0 || p[SkillRank] == 0) return false;
    int type = p[SkillType];
    return category == 0 ? type == 0 : category == 1 ? type == 1 || type == 4 : type == 2;
}

TEST_F(DemoData, SkillsCoverEveryTypeAndGroupWithValidEffects) {
    LoadReference();
    std::set<int> types, groups;
    std::set<std::string> names;
    for (int s = 1; s < SkillRowsInUse; ++s) {
        const int32_t* p = SkillTable.Param[s];
        types.insert(p[SkillType]);
        groups.insert(p[SkillListGroup]);
        for (int k = 0; k < SkillEffectCount; ++k) EXPECT_TRUE(p[k] >= 0 && p[k] < EffectRowsInUse) << s;
        EXPECT_NE(SkillTable.Name[s][0], 0) << s;
        names.insert(SkillTable.Name[s]);
    }
    EXPECT_EQ(types, (std::set<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(groups.size(), 12u);
    EXPECT_EQ(*groups.rbegin(), 11);
    EXPECT_EQ(names.size(), (size_t)SkillRowsInUse - 1);
    for (int category = 0; category < 3; ++category) {
        int offered = 0;
        for (int s = 1; s < SkillRowsInUse; ++s) offered += OfferedFor(s, category);
        EXPECT_GE(offered, 15) << category;
    }
}

TEST_F(DemoData, ItemsEffectsAndFormationsAreNamedAndConsistent) {
    LoadReference();
    std::set<std::string> itemNames, effectNames;
    for (int i = 1; i < ItemRowsInUse; ++i) {
        const int32_t* p = ItemTable.Param[i];
        itemNames.insert(ItemTable.Name[i]);
        EXPECT_TRUE(p[1] >= 1 && p[1] <= 7) << i;
        EXPECT_TRUE(p[5] >= 0 && p[5] < EffectRowsInUse) << i;
        EXPECT_TRUE(p[10] >= 0 && p[10] < SkillRowsInUse && p[11] >= 0 && p[11] < SkillRowsInUse) << i;
    }
    for (int e = 1; e < EffectRowsInUse; ++e) effectNames.insert(EffectTable.Name[e]);
    EXPECT_EQ(itemNames.size(), (size_t)ItemRowsInUse - 1);
    EXPECT_EQ(effectNames.size(), (size_t)EffectRowsInUse - 1);
    EXPECT_EQ(itemNames.count(""), 0u);
    EXPECT_EQ(effectNames.count(""), 0u);

    int selectable = 0, notSelectable = 0;
    for (int f = 1; f < FormationRowsInUse; ++f) {
        EXPECT_NE(FormationTable.Name[f][0], 0) << f;
        const int32_t* row = FormationTable.Param[f];
        (row[UnitPriority] > 0 ? selectable : notSelectable)++;
        for (int u = 0; u < FormationUnitsInUse; ++u) {
            const int32_t* unit = row + u * FormationUnitFields;
            EXPECT_TRUE(unit[UnitRow] == 0 || unit[UnitRow] == 1) << f;
            for (int g : {UnitAttack, UnitDefence, UnitAction}) EXPECT_TRUE(unit[g] >= 0 && unit[g] <= 15) << f;
        }
        for (int k = FormationUnitsInUse * FormationUnitFields; k < FormationParams; ++k) EXPECT_EQ(row[k], 0) << f;
    }
    EXPECT_GT(selectable, 20);  // more than the picker's single page shows
    EXPECT_GE(notSelectable, 1);
}

// ---------------------------------------------------------------- castles

TEST_F(DemoData, CastlesHaveEveryStateAndSitOnTheMap) {
    LoadPersons();
    LoadReference();
    std::set<int> states;
    int owned = 0, unowned = 0, withLord = 0, withJurisdiction = 0;
    for (int c = 1; c < CastleRowsInUse; ++c) {
        const int32_t* p = CastleTable.Param[c];
        states.insert(p[CastleState]);
        if (p[CastleState] == 0) {
            for (int k = 0; k < CastleParams; ++k) EXPECT_EQ(p[k], 0) << c;
            continue;
        }
        EXPECT_NE(CastleTable.Name[c][0], 0) << c;
        EXPECT_TRUE(p[MapX] >= 0 && p[MapX] <= 3200 - 20 && p[MapY] >= 0 && p[MapY] <= 1280 - 20) << c;
        EXPECT_TRUE(p[OwnerFactionId] >= 0 && p[OwnerFactionId] < FactionNames) << c;
        (p[OwnerFactionId] > 0 ? owned : unowned)++;
        if (p[LordId]) {
            ++withLord;
            EXPECT_TRUE(Used(p[LordId])) << c;
            EXPECT_EQ(PersonTable[p[LordId]][FactionId], p[OwnerFactionId]) << c;
        }
        if (p[JurisdictionId]) {
            ++withJurisdiction;
            EXPECT_TRUE(Used(p[JurisdictionId])) << c;
        }
    }
    for (int c : {0, CastleRowsInUse, CastleRowsInUse + 1})
        for (int k = 0; k < CastleParams; ++k) EXPECT_EQ(CastleTable.Param[c][k], 0) << c;
    EXPECT_EQ(states, (std::set<int>{0, 1, 2}));
    EXPECT_GT(owned, 200);
    EXPECT_GE(unowned, 1);
    EXPECT_GT(withLord, 100);
    EXPECT_GE(withJurisdiction, 1);
}

TEST_F(DemoData, RoutesJoinCastlesInUseWithBothValues) {
    LoadReference();
    int land = 0, sea = 0;
    for (int a = 0; a < CastleRows; ++a)
        for (int b = 0; b < CastleRows; ++b) {
            int v = CastleMatrix[a][b];
            ASSERT_TRUE(v >= 0 && v <= 2) << a << " " << b;
            if (v == 0) continue;
            EXPECT_NE(a, b);
            EXPECT_EQ(CastleMatrix[b][a], v) << a << " " << b;
            EXPECT_TRUE(a < CastleRowsInUse && CastleTable.Param[a][CastleState] > 0) << a;
            EXPECT_TRUE(b < CastleRowsInUse && CastleTable.Param[b][CastleState] > 0) << b;
            (v == 1 ? land : sea)++;
        }
    EXPECT_GT(land, 300);
    EXPECT_GE(sea, 1);
    for (int c = 1; c < CastleRowsInUse; ++c) {
        if (CastleTable.Param[c][CastleState] == 0) continue;
        int routes = 0;
        for (int b = 1; b < CastleRowsInUse; ++b) routes += CastleMatrix[c][b] > 0;
        EXPECT_GE(routes, 1) << c;
    }
}

// ---------------------------------------------------------------- the other person sets

// A copy of the person tables, taken to compare one set with another.
struct PersonSet {
    std::vector<int32_t> Persons, Affinity;
    std::vector<char> Surnames;
    int32_t Field(int p, int k) const { return Persons[(size_t)p * PersonFields + k]; }
    int32_t AffinityOf(int a, int b) const { return Affinity[(size_t)a * PersonRows + b]; }
    const char* Surname(int p) const { return Surnames.data() + p * NameCellBytes; }
    bool InUse(int p) const { return Field(p, BirthYear) > 0; }
};

PersonSet TakeSet() {
    PersonSet set;
    set.Persons.assign(&PersonTable[0][0], &PersonTable[0][0] + PersonRows * PersonFields);
    set.Affinity.assign(&AffinityMatrix[0][0], &AffinityMatrix[0][0] + (size_t)PersonRows * PersonRows);
    set.Surnames.assign(&SurnameTable[0][0], &SurnameTable[0][0] + PersonRows * NameCellBytes);
    return set;
}

TEST_F(DemoData, DefaultsAreANewerSetOfTheGamePersons) {
    LoadPersons();
    PersonSet data = TakeSet();
    ApplyDefaultChanges(1);
    PersonSet defa = TakeSet();
    int revised = 0, added = 0, removed = 0, spares = 0, towardUsers = 0;
    for (int p = 1; p < GamePersonSlots; ++p) {
        if (!data.InUse(p) && defa.InUse(p)) ++added;
        if (data.InUse(p) && !defa.InUse(p)) ++removed;
        if (data.InUse(p) && defa.InUse(p)) {
            int differs = 0;
            for (int k = 0; k < PersonFieldsInUse; ++k) differs |= data.Field(p, k) != defa.Field(p, k);
            revised += differs;
        }
        spares += defa.Field(p, 100) != 0 || defa.Field(p, 101) != 0;
        towardUsers += data.AffinityOf(p, UserPersonFirst) != defa.AffinityOf(p, UserPersonFirst);
    }
    EXPECT_GE(added, 1);
    EXPECT_EQ(removed, 0);
    EXPECT_GT(revised, 20);
    EXPECT_LT(revised, 400);
    EXPECT_GE(spares, 1);
    EXPECT_GE(towardUsers, 1);  // revised game persons feel otherwise about user persons
    for (int p = UserPersonFirst; p < PersonRows; ++p) EXPECT_FALSE(defa.InUse(p)) << p;
    // The new persons link only to persons in use, like the rest.
    for (int p = 1; p < GamePersonSlots; ++p)
        for (int field : {FatherId, MotherId, SpouseId, AdoptiveParentId, SuperiorId, LoyaltyTargetId}) {
            int target = defa.Field(p, field);
            if (!defa.InUse(p) || target == 0) continue;
            EXPECT_TRUE(target < PersonCount && defa.InUse(target)) << p;
        }
}

TEST_F(DemoData, ScenarioHasEmptySlotsAndItsOwnState) {
    LoadPersons();
    PersonSet data = TakeSet();
    ApplyScenarioChanges(1);
    PersonSet scenario = TakeSet();
    int emptied = 0, otherFaction = 0, otherCastle = 0, otherTroops = 0, castleless = 0;
    for (int p = 1; p < PersonCount; ++p) {
        if (!data.InUse(p)) continue;
        if (!scenario.InUse(p)) {
            ++emptied;
            continue;
        }
        EXPECT_EQ(scenario.Field(p, BirthYear), data.Field(p, BirthYear)) << p;
        EXPECT_STREQ(scenario.Surname(p), data.Surname(p)) << p;
        otherFaction += scenario.Field(p, FactionId) != data.Field(p, FactionId);
        otherCastle += scenario.Field(p, LocationCastleId) != data.Field(p, LocationCastleId);
        otherTroops += scenario.Field(p, Troops) != data.Field(p, Troops);
        castleless += scenario.Field(p, LocationCastleId) == 0;
    }
    EXPECT_GT(emptied, 10);
    EXPECT_GT(otherFaction, 10);
    EXPECT_GT(otherCastle, 10);
    EXPECT_GT(otherTroops, 10);
    EXPECT_GE(castleless, 1);
    EXPECT_TRUE(scenario.InUse(UserPersonFirst));
    EXPECT_FALSE(scenario.InUse(UserPersonFirst + 2));
}

// ---------------------------------------------------------------- pictures

struct Bitmap {
    Bytes File;
    int Width = 0, Height = 0;
    // Red, green and blue of a pixel as 0xRRGGBB (rows are stored bottom-up).
    uint32_t Pixel(int x, int y) const {
        size_t row = ((size_t)Width * 3 + 3) / 4 * 4;
        size_t at = 54 + row * (size_t)(Height - 1 - y) + (size_t)x * 3;
        return (uint32_t)File[at + 2] << 16 | (uint32_t)File[at + 1] << 8 | File[at];
    }
};

Bitmap ReadBitmap(const std::string& path) {
    Bitmap bitmap;
    bitmap.File = ReadWhole(path);
    if (bitmap.File.size() >= 54) {
        bitmap.Width = Int32At(bitmap.File, 18);
        bitmap.Height = Int32At(bitmap.File, 22);
    }
    return bitmap;
}

TEST_F(DemoPictures, PicturesAreBitmapsOfTheStatedSizes) {
    const struct {
        const char* Path;
        int MinimumWidth, MinimumHeight, ExactWidth, ExactHeight;
    } Expected[] = {
        {"gdata/tizu01.gdat", 3200, 1280, 0, 0},
        {"gdata/map0.gdat", 1, 1, 0, 0},
        {"gdata/etc00.gdat", 32, 276, 0, 0},  // highlight at 0,0 and marker at 0,256
        {"gdata/g00/ky00a.gdat", 28, 36, 28, 36},
    };
    std::vector<std::string> paths = PicturePaths();
    for (const std::string& path : paths) {
        Bitmap bitmap = ReadBitmap(std::string(PictureFolder) + "/" + path);
        const Bytes& f = bitmap.File;
        ASSERT_GE(f.size(), 54u) << path;
        EXPECT_EQ(f[0], 'B');
        EXPECT_EQ(f[1], 'M');
        EXPECT_EQ((size_t)Int32At(f, 2), f.size()) << path;
        EXPECT_EQ(Int32At(f, 10), 54) << path;
        EXPECT_EQ(Int32At(f, 14), 40) << path;
        EXPECT_EQ(f[26] | f[27] << 8, 1) << path;
        EXPECT_EQ(f[28] | f[29] << 8, 24) << path;
        EXPECT_EQ(Int32At(f, 30), 0) << path;
        size_t row = ((size_t)bitmap.Width * 3 + 3) / 4 * 4;
        EXPECT_EQ(f.size(), 54 + row * (size_t)bitmap.Height) << path;
        const auto* expected = &Expected[3];
        for (const auto& e : Expected)
            if (path == e.Path) expected = &e;
        EXPECT_GE(bitmap.Width, expected->MinimumWidth) << path;
        EXPECT_GE(bitmap.Height, expected->MinimumHeight) << path;
        if (expected->ExactWidth) {
            EXPECT_EQ(bitmap.Width, expected->ExactWidth) << path;
            EXPECT_EQ(bitmap.Height, expected->ExactHeight) << path;
        }
    }
}

TEST_F(DemoPictures, IconSheetHoldsHighlightAndMarkerOnBlack) {
    Bitmap sheet = ReadBitmap(std::string(PictureFolder) + "/gdata/etc00.gdat");
    ASSERT_GE(sheet.Width, 32);
    ASSERT_GE(sheet.Height, 276);
    // The marker fills its 20 x 20 cell; nothing of it is transparent.
    for (int y = 256; y < 276; ++y)
        for (int x = 0; x < 20; ++x) EXPECT_NE(sheet.Pixel(x, y), 0u) << x << "," << y;
    // The highlight is a frame: drawn near its edges, clear in the middle.
    int frame = 0;
    for (int k = 0; k < 32; ++k) frame += sheet.Pixel(k, 1) != 0 && sheet.Pixel(1, k) != 0;
    EXPECT_GT(frame, 20);
    EXPECT_EQ(sheet.Pixel(16, 16), 0u);
    // Black elsewhere.
    EXPECT_EQ(sheet.Pixel(sheet.Width - 1, 100), 0u);
    EXPECT_EQ(sheet.Pixel(25, 266), 0u);
}

TEST_F(DemoPictures, PortraitsAreDistinctFiguresOnBlack) {
    std::vector<Bytes> seen;
    for (int k = 0; k < 33; ++k) {
        char path[64];
        snprintf(path, sizeof path, "%s/gdata/g00/ky%02da.gdat", PictureFolder, k);
        Bitmap portrait = ReadBitmap(path);
        ASSERT_EQ(portrait.Width, 28) << path;
        EXPECT_EQ(portrait.Pixel(0, 0), 0u) << path;
        EXPECT_EQ(portrait.Pixel(27, 0), 0u) << path;
        EXPECT_NE(portrait.Pixel(14, 18), 0u) << path;  // the face
        for (const Bytes& other : seen) EXPECT_FALSE(other == portrait.File) << path;
        seen.push_back(portrait.File);
    }
}

bool IsSea(uint32_t rgb) {
    int r = rgb >> 16 & 255, g = rgb >> 8 & 255, b = rgb & 255;
    return b > r && b > g;
}

TEST_F(DemoPictures, MapHasLandAndSeaAndCastlesStandOnLand) {
    Bitmap map = ReadBitmap(std::string(PictureFolder) + "/gdata/tizu01.gdat");
    ASSERT_GE(map.Width, 3200);
    ASSERT_GE(map.Height, 1280);
    long sea = 0, samples = 0;
    for (int y = 0; y < map.Height; y += 8)
        for (int x = 0; x < map.Width; x += 8, ++samples) sea += IsSea(map.Pixel(x, y));
    EXPECT_GT(sea, samples * 3 / 10);
    EXPECT_LT(sea, samples * 9 / 10);
    for (int c = 1; c < CastleRowsInUse; ++c) {
        if (DemoCastles.Param[c][CastleState] == 0) continue;
        EXPECT_FALSE(IsSea(map.Pixel(DemoCastles.Param[c][MapX] + 10, DemoCastles.Param[c][MapY] + 10))) << c;
    }
}

TEST_F(DemoPictures, WindowLayerLoadsEveryPictureAtItsSize) {
    for (const std::string& path : PicturePaths()) {
        Bitmap bitmap = ReadBitmap(std::string(PictureFolder) + "/" + path);
        std::string gamePath = std::string(PictureFolder) + "\\" + path;
        for (char& ch : gamePath)
            if (ch == '/') ch = '\\';
        SurfaceHandle surface = PlatformLoadPicture(gamePath.c_str());
        ASSERT_NE(surface, nullptr) << path;
        int width = 0, height = 0;
        PlatformSurfaceSize(surface, &width, &height);
        EXPECT_EQ(width, bitmap.Width) << path;
        EXPECT_EQ(height, bitmap.Height) << path;
        // The layer reads the rows in the order they were written.
        for (int probe = 0; probe < 4; ++probe) {
            int x = (width - 1) * probe / 3, y = (height - 1) * (3 - probe) / 3;
            uint32_t rgb = bitmap.Pixel(x, y);
            EXPECT_EQ(HeadlessReadPixel(surface, x, y), MakeColour(rgb >> 16 & 255, rgb >> 8 & 255, rgb & 255))
                << path << " at " << x << "," << y;
        }
        PlatformReleaseSurface(surface);
    }
}

// ---------------------------------------------------------------- the program

TEST(DemoProgram, WritesAFolderAndRefusesBadArguments) {
    std::string program = DEMOGEN_PROGRAM;
    auto run = [&](const std::string& arguments) {
        int status = system((program + " " + arguments + " >/dev/null 2>&1").c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    };
    EXPECT_EQ(run(""), 2);
    EXPECT_EQ(run("demo_program 12x"), 2);
    EXPECT_EQ(run("demo_program 1 2"), 2);
    ASSERT_EQ(run("demo_program 7"), 0);
    EXPECT_EQ(ReadWhole("demo_program/data/data00.dat").size(), 816816u);
    EXPECT_EQ(ReadWhole("demo_program/gdata/g00/ky32a.gdat").size(), 54u + 84u * 36u);
}

}  // namespace
