#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "demo_game.h"
#include "relations/family_gen.h"
#include "relations/kinship.h"
#include "relations/kinship_reference.h"
#include "store/tables.h"

namespace {

constexpr int32_t M = 0, F = 1;

struct Person {
    int32_t id, sex, born, father, mother, spouse, adoptive;
};
struct Entry {
    int32_t observer, other, code;
};
struct SpouseAfter {
    int32_t person, spouse;
};
struct KinCase {
    const char* name;
    std::vector<Person> persons;
    std::vector<Entry> entries;         // KinshipMatrix[observer][other] after the derivation
    std::vector<SpouseAfter> spouses;   // spouse fields after the derivation
    bool onlyThese;                     // every entry not listed must be 0
};

const KinCase Cases[] = {
    {"a one-sided spouse claim is made mutual",
     {{5, M, 1500, 0, 0, 9, 0}, {9, F, 1502, 0, 0, 0, 0}},
     {{5, 9, 28}, {9, 5, 27}},
     {{5, 9}, {9, 5}},
     true},
    {"two claims on one spouse: the pair visited last keeps the link, both are married",
     {{3, M, 1500, 0, 0, 9, 0}, {7, M, 1501, 0, 0, 9, 0}, {9, F, 1503, 0, 0, 0, 0}},
     {{3, 9, 28}, {9, 3, 27}, {7, 9, 28}, {9, 7, 27}, {3, 7, 22}, {7, 3, 22}},
     {{9, 7}, {3, 9}, {7, 9}},
     true},
    {"same-sex marriages: each names the other by the other's sex",
     {{4, M, 1500, 0, 0, 6, 0}, {6, M, 1505, 0, 0, 0, 0}, {10, F, 1500, 0, 0, 12, 0}, {12, F, 1501, 0, 0, 0, 0}},
     {{4, 6, 27}, {6, 4, 27}, {10, 12, 28}, {12, 10, 28}},
     {{6, 4}, {12, 10}},
     true},
    {"siblings by birth year, by blood and through the adoptive slot",
     {{20, M, 1500, 0, 0, 0, 0},
      {21, M, 1530, 20, 0, 0, 0},
      {22, F, 1530, 20, 0, 0, 0},
      {23, F, 1528, 20, 0, 0, 0},
      {30, F, 1500, 0, 0, 0, 0},
      {31, M, 1530, 0, 0, 0, 30},
      {32, M, 1530, 0, 0, 0, 30},
      {33, F, 1525, 0, 0, 0, 30}},
     {{21, 22, 21}, {22, 21, 21}, {21, 23, 4}, {23, 21, 5}, {21, 20, 1}, {20, 21, 23},
      {31, 32, 31}, {32, 31, 31}, {31, 33, 14}, {33, 31, 15}, {31, 30, 12}, {30, 31, 25}},
     {},
     false},
    {"the father pair reaches a shared grandparent before the shared mother is seen",
     {{44, M, 1450, 0, 0, 0, 0},
      {42, M, 1480, 44, 0, 0, 0},
      {43, M, 1482, 44, 0, 0, 0},
      {45, F, 1485, 0, 0, 0, 0},
      {40, M, 1510, 42, 45, 0, 0},
      {41, F, 1512, 43, 45, 0, 0}},
     {{40, 41, 22}, {41, 40, 22}, {40, 43, 19}, {41, 42, 19}, {43, 40, 29}},
     {},
     false},
    {"grandparents, great-grandparents and their converses",
     {{100, M, 1400, 0, 0, 0, 0},
      {101, F, 1430, 100, 0, 0, 0},
      {102, M, 1460, 0, 101, 0, 0},
      {103, F, 1490, 102, 0, 0, 0}},
     {{103, 102, 1}, {103, 101, 8}, {103, 100, 33}, {100, 103, 36}, {101, 103, 10}, {100, 102, 9}},
     {},
     false},
    {"the spouse's father from pass 1, the spouse's younger sister from pass 2",
     {{53, M, 1510, 0, 0, 0, 0},
      {50, M, 1540, 0, 0, 51, 0},
      {51, F, 1540, 53, 0, 50, 0},
      {52, F, 1545, 53, 0, 0, 0}},
     {{50, 53, 11}, {53, 50, 25}, {51, 52, 6}, {50, 52, 16}, {52, 50, 13}},
     {},
     false},
    {"the spouse's same-year sibling is only a relative",
     {{53, M, 1510, 0, 0, 0, 0},
      {50, M, 1540, 0, 0, 51, 0},
      {51, F, 1540, 53, 0, 50, 0},
      {55, M, 1540, 53, 0, 0, 0}},
     {{51, 55, 21}, {50, 55, 22}, {55, 50, 22}},
     {},
     false},
    {"the spouse's grandfather is a grandfather",
     {{54, M, 1480, 0, 0, 0, 0},
      {53, M, 1510, 54, 0, 0, 0},
      {50, M, 1540, 0, 0, 51, 0},
      {51, F, 1540, 53, 0, 50, 0}},
     {{51, 54, 7}, {50, 54, 7}, {54, 50, 9}},
     {},
     false},
    {"a sibling by marriage gets a's parents as parents-in-law",
     {{56, M, 1500, 0, 0, 0, 0},
      {50, M, 1540, 56, 0, 51, 0},
      {51, F, 1541, 0, 57, 50, 0},
      {57, F, 1515, 0, 0, 0, 0},
      {58, M, 1538, 0, 57, 0, 0}},
     // 58 is 51's elder brother, so 50's elder brother by marriage; 50's father
     // 56 becomes 58's father-in-law.
     {{51, 58, 3}, {50, 58, 13}, {58, 56, 11}, {56, 58, 25}},
     {},
     false},
    {"a married person born in year 0 gets pass-2 ties only",
     {{60, M, 0, 0, 0, 61, 0}, {61, F, 1550, 0, 62, 0, 0}, {62, F, 1520, 0, 0, 0, 0}},
     {{61, 62, 2}, {62, 61, 24}, {60, 62, 12}, {62, 60, 25}},
     {{60, 61}, {61, 0}},
     true},
    {"nobody is their own relative, so a spouse left out of pass 1 gets no tie through it",
     {{59, M, 1518, 0, 0, 62, 0},
      {62, F, 1520, 0, 0, 59, 0},
      {61, F, 1550, 0, 62, 0, 0},
      {60, M, 0, 0, 0, 61, 0}},
     {{60, 62, 12}, {60, 59, 22}, {60, 61, 0}, {61, 60, 0}, {59, 59, 0}, {61, 61, 0}, {62, 62, 0}},
     {{60, 61}, {61, 0}},
     false},
    {"a negative birth year takes part in neither pass",
     {{70, M, -3, 0, 0, 71, 0}, {71, F, 1550, 0, 72, 0, 0}, {72, F, 1520, 0, 0, 0, 0}},
     {{71, 72, 2}, {72, 71, 24}},
     {{70, 71}, {71, 0}},
     true},
    {"no links: no relations",
     {{1, M, 1500, 0, 0, 0, 0}, {2, F, 1500, 0, 0, 0, 0}, {3, M, 1530, 0, 0, 0, 0}, {1999, F, 1540, 0, 0, 0, 0}},
     {},
     {},
     true},
    {"links outside the table name nobody and are left as they are",
     {{80, M, 1500, -5, 2002, 3000, INT32_MIN}, {81, F, 1500, INT32_MAX, -1, -1, 2002}, {82, M, 1520, 80, 0, 0, 0}},
     {{82, 80, 1}, {80, 82, 23}},
     {{80, 3000}, {81, -1}},
     true},
    {"the spare rows are persons a link can name",
     {{83, M, 1500, 2000, 0, 0, 0}, {84, F, 1502, 2000, 0, 0, 0}},
     {{83, 84, 6}, {84, 83, 3}},
     {},
     true},
    {"a two-person cycle ends with the first test that applies",
     {{92, M, 1500, 93, 0, 0, 0}, {93, M, 1510, 92, 0, 0, 0}},
     {{92, 93, 23}, {93, 92, 1}},
     {},
     true},
    {"a self-married person relates to nobody through the marriage",
     {{95, F, 1500, 0, 0, 95, 0}, {96, M, 1501, 0, 0, 0, 0}},
     {},
     {{95, 95}},
     true},
};

using Derivation = void (*)();
struct NamedDerivation {
    const char* name;
    Derivation run;
};
const NamedDerivation Derivations[] = {{"DeriveKinship", DeriveKinship}, {"reference", DeriveKinshipReference}};

void ClearTables() {
    memset(PersonTable, 0, sizeof PersonTable);
    memset(KinshipMatrix, 0, sizeof KinshipMatrix);
}

void Put(const Person& p) {
    PersonTable[p.id][Sex] = p.sex;
    PersonTable[p.id][BirthYear] = p.born;
    PersonTable[p.id][FatherId] = p.father;
    PersonTable[p.id][MotherId] = p.mother;
    PersonTable[p.id][SpouseId] = p.spouse;
    PersonTable[p.id][AdoptiveParentId] = p.adoptive;
}

TEST(Kinship, HandMadeFamilies) {
    for (const NamedDerivation& derivation : Derivations) {
        for (const KinCase& c : Cases) {
            SCOPED_TRACE(std::string(derivation.name) + ": " + c.name);
            ClearTables();
            for (const Person& p : c.persons) Put(p);
            // Nobody's own links are never followed.
            PersonTable[0][FatherId] = c.persons[0].id;
            PersonTable[0][SpouseId] = c.persons[0].id;
            derivation.run();
            for (const Entry& e : c.entries) {
                EXPECT_EQ(e.code, KinshipMatrix[e.observer][e.other]) << "[" << e.observer << "][" << e.other << "]";
            }
            for (const SpouseAfter& s : c.spouses) EXPECT_EQ(s.spouse, PersonTable[s.person][SpouseId]) << s.person;
            if (!c.onlyThese) continue;
            int stray = 0;
            for (int32_t x = 0; x < PersonRows; ++x) {
                for (int32_t y = 0; y < PersonRows; ++y) {
                    if (KinshipMatrix[x][y] == 0) continue;
                    bool listed = false;
                    for (const Entry& e : c.entries) listed = listed || (e.observer == x && e.other == y);
                    if (!listed && ++stray <= 5) ADD_FAILURE() << "unexpected [" << x << "][" << y << "] = " << KinshipMatrix[x][y];
                }
            }
        }
    }
}

// ---------------------------------------------------------------- against the reference

int32_t ReferenceMatrix[PersonRows][PersonRows];
int32_t PersonsOnEntry[PersonRows][PersonFields];
int32_t ReferencePersons[PersonRows][PersonFields];
long CodeSeen[KinshipCodes];

// Runs both derivations on the PersonTable as it is and expects the same
// matrix and the same person rows afterwards.
void ExpectSameAsReference(const std::string& what) {
    memcpy(PersonsOnEntry, PersonTable, sizeof PersonTable);
    memset(KinshipMatrix, 0, sizeof KinshipMatrix);
    DeriveKinshipReference();
    memcpy(ReferenceMatrix, KinshipMatrix, sizeof KinshipMatrix);
    memcpy(ReferencePersons, PersonTable, sizeof PersonTable);

    memcpy(PersonTable, PersonsOnEntry, sizeof PersonTable);
    memset(KinshipMatrix, 0, sizeof KinshipMatrix);
    DeriveKinship();

    for (int32_t p = 0; p < PersonRows; ++p) {
        if (memcmp(PersonTable[p], ReferencePersons[p], sizeof PersonTable[p]) != 0) {
            ADD_FAILURE() << what << ": person " << p << " differs: spouse " << PersonTable[p][SpouseId] << " vs "
                          << ReferencePersons[p][SpouseId];
            return;
        }
    }
    int differences = 0;
    for (int32_t x = 0; x < PersonRows; ++x) {
        if (memcmp(KinshipMatrix[x], ReferenceMatrix[x], sizeof KinshipMatrix[x]) == 0) {
            for (int32_t y = 0; y < PersonRows; ++y) {
                int32_t v = KinshipMatrix[x][y];
                if (v > 0 && v < KinshipCodes) ++CodeSeen[v];
            }
            continue;
        }
        for (int32_t y = 0; y < PersonRows; ++y) {
            if (KinshipMatrix[x][y] != ReferenceMatrix[x][y] && ++differences <= 5) {
                ADD_FAILURE() << what << ": [" << x << "][" << y << "] is " << KinshipMatrix[x][y] << ", reference "
                              << ReferenceMatrix[x][y];
            }
        }
    }
}

TEST(Kinship, SameAsReferenceOnSeededFamilySets) {
    memset(CodeSeen, 0, sizeof CodeSeen);
    for (uint32_t seed = 1; seed <= 160; ++seed) {
        // Vary the crowding, the depth and the share of faulty links by seed.
        FamilyShape shape;
        shape.persons = 40 + static_cast<int>(seed * 37 % 260);
        shape.firstSlot = 1;
        shape.lastSlot = (seed % 3 == 0) ? PersonCount - 1 : shape.persons + 20;
        shape.generations = 3 + static_cast<int>(seed % 5);
        shape.clans = 1 + static_cast<int>(seed % 6);
        shape.adoptivePercent = 5 + static_cast<int>(seed % 4) * 8;
        shape.marriedPercent = 60 + static_cast<int>(seed % 4) * 10;
        shape.oneSidedPercent = 30;
        shape.rivalPercent = 10;
        shape.sameSexPercent = 10;
        shape.faultPercent = (seed % 4 == 1) ? 0 : 6 + static_cast<int>(seed % 5) * 5;
        FillFamilies(seed, shape);
        ExpectSameAsReference("seed " + std::to_string(seed));
        if (HasFailure()) return;
    }
    // The sets must reach every code the rules can give.
    for (int32_t code = 1; code <= 36; ++code) {
        if (code == 17 || code == 18 || code == 32) continue;
        EXPECT_GT(CodeSeen[code], 0) << "code " << code << " never produced";
    }
}

TEST(Kinship, SameAsReferenceAtFullScale) {
    for (unsigned seed = 1; seed <= 2; ++seed) {
        FillDemoPersons(seed);
        ExpectSameAsReference("demo game seed " + std::to_string(seed));
    }
    FillFamilies(1, GameScaleShape);
    ExpectSameAsReference("generated game scale");
    // Every slot in use, with faulty links here and there.
    FamilyShape crowded = GameScaleShape;
    crowded.persons = PersonCount - 1;
    crowded.lastSlot = PersonCount - 1;
    crowded.generations = 7;
    crowded.oneSidedPercent = 25;
    crowded.rivalPercent = 4;
    crowded.faultPercent = 3;
    FillFamilies(99, crowded);
    ExpectSameAsReference("crowded");
}

}  // namespace
