#include "relations/family_gen.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <vector>

#include "store/tables.h"

const FamilyShape GameScaleShape = {
    /*persons*/ 1450, /*firstSlot*/ 1, /*lastSlot*/ 1499, /*generations*/ 6, /*clans*/ 40,
    /*adoptivePercent*/ 6, /*marriedPercent*/ 75, /*oneSidedPercent*/ 15, /*rivalPercent*/ 1,
    /*sameSexPercent*/ 1, /*faultPercent*/ 0,
};

namespace {

// splitmix64: small, fast and the same on every platform.
struct Rng {
    uint64_t state;
    uint32_t Next() {
        uint64_t z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return static_cast<uint32_t>((z ^ (z >> 31)) >> 32);
    }
    int Below(int n) { return n <= 0 ? 0 : static_cast<int>(Next() % static_cast<uint32_t>(n)); }
    bool Percent(int p) { return Below(100) < p; }
    template <class T> const T& Pick(const std::vector<T>& v) { return v[Below(static_cast<int>(v.size()))]; }
};

struct Couple {
    int32_t first, second;  // the male partner first when there is one
    int clan;
    int32_t lastChildBorn;
};

constexpr int LinkFields[4] = {FatherId, MotherId, SpouseId, AdoptiveParentId};
constexpr int32_t OutOfRange[] = {-1, -2, -2001, INT32_MIN, 2002, 2003, 4000, INT32_MAX};

void SetSpouses(Rng& rng, int oneSidedPercent, int32_t a, int32_t b) {
    if (rng.Percent(oneSidedPercent)) {
        if (rng.Below(2) == 0) PersonTable[a][SpouseId] = b;
        else PersonTable[b][SpouseId] = a;
    } else {
        PersonTable[a][SpouseId] = b;
        PersonTable[b][SpouseId] = a;
    }
}

}  // namespace

void FillFamilies(uint32_t seed, const FamilyShape& shape) {
    memset(PersonTable, 0, sizeof PersonTable);
    Rng rng{seed * 0x2545F4914F6CDD1Dull + 7};

    std::vector<int32_t> slots;
    for (int32_t s = shape.firstSlot; s <= shape.lastSlot; ++s) slots.push_back(s);
    for (size_t k = slots.size(); k > 1; --k) std::swap(slots[k - 1], slots[rng.Below(static_cast<int>(k))]);
    int count = std::min(shape.persons, static_cast<int>(slots.size()));
    std::vector<int32_t> people(slots.begin(), slots.begin() + count);

    int generations = std::max(1, shape.generations);
    int clans = std::max(1, shape.clans);
    int perGeneration = (count + generations - 1) / generations;
    std::vector<int> generationOf(PersonRows, -1), clanOf(PersonRows, 0);
    std::vector<std::vector<int32_t>> members(generations);
    std::vector<Couple> previous, current;
    std::vector<bool> married(PersonRows, false);

    for (int g = 0; g < generations; ++g) {
        int from = g * perGeneration, to = std::min(count, (g + 1) * perGeneration);
        for (int n = from; n < to; ++n) {
            int32_t p = people[n];
            generationOf[p] = g;
            members[g].push_back(p);
            PersonTable[p][Sex] = rng.Below(2);
            int clan = rng.Below(clans);
            int32_t born = 1400 + 25 * g + rng.Below(20);
            if (!previous.empty()) {
                std::vector<size_t> ofClan;
                for (size_t c = 0; c < previous.size(); ++c) {
                    if (previous[c].clan == clan) ofClan.push_back(c);
                }
                size_t c = (!ofClan.empty() && rng.Percent(85)) ? rng.Pick(ofClan)
                                                                 : static_cast<size_t>(rng.Below(static_cast<int>(previous.size())));
                Couple& parents = previous[c];
                clan = parents.clan;
                int roll = rng.Below(100);
                if (roll >= 4) PersonTable[p][FatherId] = parents.first;    // 4%: mother only
                if (roll < 4 || roll >= 12) PersonTable[p][MotherId] = parents.second;  // 8%: father only
                born = std::max(PersonTable[parents.first][BirthYear], PersonTable[parents.second][BirthYear]) + 17 +
                       rng.Below(20);
                if (parents.lastChildBorn != 0 && rng.Percent(15)) born = parents.lastChildBorn;  // same-year sibling
                parents.lastChildBorn = born;
            }
            clanOf[p] = clan;
            PersonTable[p][BirthYear] = born;
            if (g > 0 && rng.Percent(shape.adoptivePercent)) {
                int back = (g >= 2 && rng.Below(3) == 0) ? 2 : 1;
                PersonTable[p][AdoptiveParentId] = rng.Pick(members[g - back]);
            }
        }

        // Marriages within the generation, preferring another clan.
        std::vector<int32_t> order = members[g];
        for (size_t k = order.size(); k > 1; --k) std::swap(order[k - 1], order[rng.Below(static_cast<int>(k))]);
        current.clear();
        for (size_t x = 0; x < order.size(); ++x) {
            int32_t p = order[x];
            if (married[p] || !rng.Percent(shape.marriedPercent)) continue;
            bool sameSex = rng.Percent(shape.sameSexPercent);
            int32_t partner = 0;
            for (size_t y = x + 1; y < order.size() && partner == 0; ++y) {
                int32_t q = order[y];
                bool sexFits = (PersonTable[q][Sex] == PersonTable[p][Sex]) == sameSex;
                if (!married[q] && sexFits && (clanOf[q] != clanOf[p] || rng.Percent(20))) partner = q;
            }
            if (partner == 0) continue;
            married[p] = married[partner] = true;
            SetSpouses(rng, shape.oneSidedPercent, p, partner);
            bool pFirst = PersonTable[p][Sex] == 0 || PersonTable[partner][Sex] != 0;
            current.push_back({pFirst ? p : partner, pFirst ? partner : p, clanOf[p], 0});
        }
        previous.swap(current);
    }

    // Rivals: someone who names a person already married to another.
    std::vector<int32_t> spouses;
    for (int32_t p : people) {
        if (married[p]) spouses.push_back(p);
    }
    if (!spouses.empty()) {
        for (int32_t p : people) {
            if (!married[p] && rng.Percent(shape.rivalPercent)) PersonTable[p][SpouseId] = rng.Pick(spouses);
        }
    }

    if (shape.faultPercent <= 0 || people.empty()) return;

    // Faults of every kind a file can hold.
    for (int32_t p : people) {
        if (!rng.Percent(shape.faultPercent)) continue;
        int field = LinkFields[rng.Below(4)];
        switch (rng.Below(10)) {
            case 0: PersonTable[p][BirthYear] = 0; break;
            case 1: PersonTable[p][BirthYear] = -1 - rng.Below(100); break;
            case 2: PersonTable[p][Sex] = rng.Below(2) == 0 ? 2 : -1; break;
            case 3: PersonTable[p][field] = OutOfRange[rng.Below(8)]; break;
            case 4: PersonTable[p][field] = p; break;
            case 5: {  // a parent link to someone of a later generation: often a cycle
                int g = generationOf[p];
                if (g + 1 < generations && !members[g + 1].empty()) {
                    PersonTable[p][rng.Below(2) == 0 ? FatherId : AdoptiveParentId] = rng.Pick(members[g + 1]);
                }
                break;
            }
            case 6: PersonTable[p][field] = 2000 + rng.Below(2); break;
            case 7: PersonTable[p][field] = 1 + rng.Below(PersonCount - 1); break;  // anyone, in use or not
            case 8: PersonTable[p][BirthYear] = PersonTable[rng.Pick(people)][BirthYear]; break;
            case 9: PersonTable[p][SpouseId] = rng.Pick(people); break;
        }
    }
    // The spare rows and row 0 holding links too.
    if (rng.Percent(50)) {
        for (int32_t row : {0, 2000, 2001}) {
            for (int field : LinkFields) {
                if (rng.Percent(60)) PersonTable[row][field] = rng.Pick(people);
            }
            PersonTable[row][BirthYear] = 1450 + rng.Below(100);
            PersonTable[row][Sex] = rng.Below(2);
        }
    }
}
