// Seeded family sets for exercising the kinship derivation: persons in
// several generations of clans, with parents, adoptive parents and marriages,
// and on request the faults real files can hold (one-sided and competing
// spouse claims, empty or negative birth years, self-links, cycles, link
// values outside the table).
#pragma once

#include <cstdint>

struct FamilyShape {
    int persons;          // persons to create (capped by the slot range)
    int firstSlot;        // slots are drawn at random from firstSlot..lastSlot
    int lastSlot;
    int generations;
    int clans;            // children mostly descend from couples of their own clan
    int adoptivePercent;  // persons given an adoptive parent
    int marriedPercent;   // persons of a generation who marry
    int oneSidedPercent;  // marriages written on one side only
    int rivalPercent;     // unmarried persons who claim someone else's spouse
    int sameSexPercent;   // marriages between persons of the same sex
    int faultPercent;     // persons given one faulty field
};

// Clears the PersonTable and fills it with one family set.
void FillFamilies(uint32_t seed, const FamilyShape& shape);

// A full-scale, well-formed set shaped like a game's own data: the game's
// slots and some user slots in use, six generations, most persons linked.
extern const FamilyShape GameScaleShape;
