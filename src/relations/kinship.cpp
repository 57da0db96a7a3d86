// Kinship of every pair of persons, derived from the father, mother, adoptive
// parent and spouse links.
//
// Pass 1 relates each pair (i, j), i < j, of persons born in a year above 0
// with a search in fixed order: spouse, parent of the spouse, then the parent
// slots of both persons (father, mother, adoptive parent) down to the
// great-grandparents, depth first; the first test that applies gives the code,
// and the converse is written for (j, i). A spouse claim is made mutual when
// its pair is visited, and pairs visited later see the change. Pass 2 gives
// each married person the relatives of their spouse and hands those new ties
// on to the relatives gained; it fills only entries that are still 0.
//
// The results depend on the order of the visits, so the order is kept; what
// is left out is work that provably yields nothing:
// - Pass 1 visits, in each row i, only the persons that can be tied to i at
//   all: those within three generations below one of i's ancestors up to
//   three generations above (every test of the search meets there), and those
//   one spouse link and one parent link away. Every other pair would get 0,
//   which the matrix already holds, and would change no spouse link.
//   Within a pair, the grandparent search under one pair of parent slots is
//   skipped when no person it looks at on i's side is one it looks at on j's
//   side, since every test there is such a match.
// - Pass 2 walks per-row bitsets of the non-zero entries instead of whole
//   rows.
//
// Two rules are settled here where a literal reading goes wrong:
// - The converse of husband (27) and wife (28) follows the sex of the person
//   named, like every other code: two married men are each other's husband,
//   two married women each other's wife (not one husband and one wife).
// - Nobody becomes their own relative: pass 2 skips the person themselves, so
//   the diagonal stays 0 and cannot be handed on as a tie; otherwise a spouse
//   left out of pass 1 (birth year 0) would turn into a "relative" (22) of
//   the person married to them, depending on the order of the rows.
//
// Links are read once into compact tables; a value that is not a person index
// (negative, 0, or beyond the table) is nobody. Nothing is allocated: all
// scratch space is static.
#include "relations/kinship.h"

#include <cstring>

#include "store/tables.h"

namespace {

constexpr int N = PersonCount;  // persons 1 .. N-1 are related
constexpr int Slots = 3;        // father, mother, adoptive parent, in this order
constexpr int AdoptiveSlot = 2;
constexpr int ParentFields[Slots] = {FatherId, MotherId, AdoptiveParentId};
constexpr int Words = (PersonRows + 63) / 64;

// Links of every row as read at the start; row 0 and out-of-range values are 0.
int32_t Parent[PersonRows][Slots];
int32_t Spouse[PersonRows];        // current value; changes as claims are made mutual
int32_t ClaimedSpouse[PersonRows]; // value on entry
int32_t Born[PersonRows];
bool Female[PersonRows];
// Bit (q mod 64) is set for every parent q of the person: a quick, sure "no"
// for many parent tests.
uint64_t ParentSig[PersonRows];

// Children of each person over all three slots, and the persons whose spouse
// link on entry names each person: compressed lists, [First[p], First[p+1]).
int32_t ChildFirst[PersonRows + 1];
int32_t Child[Slots * PersonRows];
int32_t ClaimantFirst[PersonRows + 1];
int32_t Claimant[PersonRows];
int32_t ChildFill[PersonRows];
int32_t ClaimantFill[PersonRows];

// Bit k of NonZero[p] is set when KinshipMatrix[p][k] is not 0.
uint64_t NonZero[PersonRows][Words];

// Scratch for collecting the persons a row has to be related with.
uint64_t Candidate[Words];
int32_t AncestorMark[PersonRows];  // row number that last listed the person as an ancestor
int32_t DescentMark[PersonRows];   // row number that last walked down from the person
int8_t DescentDepth[PersonRows];   // generations still to walk down at that visit
int32_t Ancestors[1 + Slots + Slots * Slots + Slots * Slots * Slots];

// Persons the grandparent search of the current row looks at on that row's
// side, each with the set of the row's parent slots (bit s for slot s) under
// which it is looked at.
uint8_t SideSlots[PersonRows];
int32_t SideRow[PersonRows];  // row number that set SideSlots of the person

int32_t LinkField(int32_t p, int field) {
    int32_t v = PersonTable[p][field];
    return IsPersonIndex(v) ? v : 0;
}

int32_t Form(int32_t p, int32_t male, int32_t female) { return Female[p] ? female : male; }

uint64_t SigBit(int32_t p) { return uint64_t{1} << (p & 63); }

bool IsParentSlotOf(int32_t x, int32_t p) {
    return (ParentSig[p] & SigBit(x)) != 0 && (Parent[p][0] == x || Parent[p][1] == x || Parent[p][2] == x);
}

void MarkNonZero(int32_t x, int32_t y) { NonZero[x][y >> 6] |= uint64_t{1} << (y & 63); }

// ------------------------------------------------------------------ reading

void ReadLinks() {
    for (int32_t p = 0; p < PersonRows; ++p) {
        bool nobody = p == 0;
        for (int s = 0; s < Slots; ++s) Parent[p][s] = nobody ? 0 : LinkField(p, ParentFields[s]);
        Spouse[p] = nobody ? 0 : LinkField(p, SpouseId);
        ClaimedSpouse[p] = Spouse[p];
        Born[p] = PersonTable[p][BirthYear];
        Female[p] = PersonTable[p][Sex] != 0;
        ParentSig[p] = 0;
        for (int32_t q : Parent[p]) {
            if (q != 0) ParentSig[p] |= SigBit(q);
        }
    }

    // Count, turn the counts into list starts, then place each entry.
    memset(ChildFirst, 0, sizeof ChildFirst);
    memset(ClaimantFirst, 0, sizeof ClaimantFirst);
    for (int32_t p = 1; p < PersonRows; ++p) {
        for (int32_t q : Parent[p]) {
            if (q != 0) ++ChildFirst[q + 1];
        }
        if (Spouse[p] != 0) ++ClaimantFirst[Spouse[p] + 1];
    }
    for (int32_t p = 0; p < PersonRows; ++p) {
        ChildFirst[p + 1] += ChildFirst[p];
        ClaimantFirst[p + 1] += ClaimantFirst[p];
    }
    memcpy(ChildFill, ChildFirst, sizeof ChildFill);
    memcpy(ClaimantFill, ClaimantFirst, sizeof ClaimantFill);
    for (int32_t p = 1; p < PersonRows; ++p) {
        for (int32_t q : Parent[p]) {
            if (q != 0) Child[ChildFill[q]++] = p;
        }
        if (Spouse[p] != 0) Claimant[ClaimantFill[Spouse[p]]++] = p;
    }
}

// ------------------------------------------------------------------ pass 1

int32_t RelateByGreatGrandparents(int32_t i, int32_t j, int32_t e, int32_t f) {
    if (e == 0 && f == 0) return 0;
    if (f == i) return Form(j, 35, 36);
    if (e == j) return Form(j, 33, 34);
    if (e == f) return 22;
    return 0;
}

int32_t RelateByGrandparents(int32_t i, int32_t j, int32_t c, int32_t d) {
    if (c == 0 && d == 0) return 0;
    if (d == i) return Form(j, 9, 10);
    if (c == j) return Form(j, 7, 8);
    if (c == d && c > 0) return 22;
    if (c > 0 && IsParentSlotOf(c, j)) return Form(j, 19, 20);
    if (d > 0 && IsParentSlotOf(d, i)) return Form(j, 29, 30);
    if (c > 0 && IsParentSlotOf(c, d)) return 22;
    if (d > 0 && IsParentSlotOf(d, c)) return 22;
    // The great-grandparent tests can only hit when i is a parent of d, j a
    // parent of c, or c and d share a parent.
    uint64_t sc = ParentSig[c], sd = ParentSig[d];
    if ((sc & sd) == 0 && (sd & SigBit(i)) == 0 && (sc & SigBit(j)) == 0) return 0;
    for (int32_t e : Parent[c]) {
        for (int32_t f : Parent[d]) {
            int32_t r = RelateByGreatGrandparents(i, j, e, f);
            if (r != 0) return r;
        }
    }
    return 0;
}

// searchAbove is false when the grandparent search under a and b is known to
// find nothing.
int32_t RelateByParents(int32_t i, int32_t j, int32_t a, int32_t b, bool adoptive, bool searchAbove) {
    if (a == 0 && b == 0) return 0;
    if (a == b && a > 0) {
        if (Born[i] > Born[j]) return adoptive ? Form(j, 13, 14) : Form(j, 3, 4);
        if (Born[i] < Born[j]) return adoptive ? Form(j, 15, 16) : Form(j, 5, 6);
        return adoptive ? 31 : 21;
    }
    if (b == i) return adoptive ? Form(j, 25, 26) : Form(j, 23, 24);
    if (a == j) return adoptive ? Form(j, 11, 12) : Form(j, 1, 2);
    if (!searchAbove) return 0;
    for (int32_t c : Parent[a]) {
        for (int32_t d : Parent[b]) {
            int32_t r = RelateByGrandparents(i, j, c, d);
            if (r != 0) return r;
        }
    }
    return 0;
}

void MarkSide(int32_t i, int32_t x, unsigned slots) {
    if (x == 0) return;
    if (SideRow[x] != i) {
        SideRow[x] = i;
        SideSlots[x] = 0;
    }
    SideSlots[x] = static_cast<uint8_t>(SideSlots[x] | slots);
}

unsigned SideOf(int32_t i, int32_t x) { return x != 0 && SideRow[x] == i ? SideSlots[x] : 0u; }

// Every test of the grandparent search under i's parent a (slot s) and j's
// parent b compares a person of i's side - i, i's parents, a's parents and
// grandparents - with one of j's side - j, j's parents, b's parents and
// grandparents - and hits only when they are the same person. This marks i's
// side once per row.
void MarkRowSide(int32_t i) {
    MarkSide(i, i, 7u);
    for (int32_t q : Parent[i]) MarkSide(i, q, 7u);
    for (int s = 0; s < Slots; ++s) {
        for (int32_t c : Parent[Parent[i][s]]) {
            MarkSide(i, c, 1u << s);
            for (int32_t e : Parent[c]) MarkSide(i, e, 1u << s);
        }
    }
}

// For each parent slot of j, the parent slots of i under which the
// grandparent search can meet j's side.
void SlotsThatMayMeet(int32_t i, int32_t j, unsigned meet[Slots]) {
    unsigned own = SideOf(i, j);
    for (int32_t q : Parent[j]) own |= SideOf(i, q);
    for (int s = 0; s < Slots; ++s) {
        unsigned m = own;
        for (int32_t d : Parent[Parent[j][s]]) {
            m |= SideOf(i, d);
            for (int32_t f : Parent[d]) m |= SideOf(i, f);
        }
        meet[s] = m;
    }
}

// What j is to i; makes the pair's spouse claim mutual when there is one.
int32_t RelatePair(int32_t i, int32_t j) {
    if (Born[i] <= 0 || Born[j] <= 0) return 0;
    bool iLinked = Parent[i][0] != 0 || Parent[i][1] != 0 || Parent[i][2] != 0 || Spouse[i] != 0;
    bool jLinked = Parent[j][0] != 0 || Parent[j][1] != 0 || Parent[j][2] != 0 || Spouse[j] != 0;
    if (!iLinked && !jLinked) return 0;
    int32_t si = Spouse[i];
    int32_t sj = Spouse[j];
    if (si == j || sj == i) {
        Spouse[i] = j;
        Spouse[j] = i;
        PersonTable[i][SpouseId] = j;
        PersonTable[j][SpouseId] = i;
        return Form(j, 27, 28);
    }
    if (Parent[si][0] == j || Parent[si][1] == j) return Form(j, 11, 12);
    if (Parent[sj][0] == i || Parent[sj][1] == i) return Form(j, 25, 26);
    unsigned meet[Slots];
    SlotsThatMayMeet(i, j, meet);
    for (int as = 0; as < Slots; ++as) {
        for (int bs = 0; bs < Slots; ++bs) {
            int32_t r = RelateByParents(i, j, Parent[i][as], Parent[j][bs], as == AdoptiveSlot || bs == AdoptiveSlot,
                                        ((meet[bs] >> as) & 1u) != 0);
            if (r != 0) return r;
        }
    }
    return 0;
}

// The converse of code v: what x is to the person x is related to, in the
// form that follows the sex of x.
int32_t Converse(int32_t v, int32_t x) {
    switch (v) {
        case 1: case 2: return Form(x, 23, 24);
        case 23: case 24: return Form(x, 1, 2);
        case 11: case 12: return Form(x, 25, 26);
        case 25: case 26: return Form(x, 11, 12);
        case 7: case 8: return Form(x, 9, 10);
        case 9: case 10: return Form(x, 7, 8);
        case 33: case 34: return Form(x, 35, 36);
        case 35: case 36: return Form(x, 33, 34);
        case 3: case 4: return Form(x, 5, 6);
        case 5: case 6: return Form(x, 3, 4);
        case 13: case 14: return Form(x, 15, 16);
        case 15: case 16: return Form(x, 13, 14);
        case 19: case 20: return Form(x, 29, 30);
        case 29: case 30: return Form(x, 19, 20);
        case 27: case 28: return Form(x, 27, 28);  // husband or wife by the observer's own sex
        default: return v;                        // 0, 21, 22, 31 are their own converse
    }
}

void MirrorKinship(int32_t x, int32_t y) {
    int32_t v = Converse(KinshipMatrix[x][y], x);
    KinshipMatrix[y][x] = v;
    if (v != 0) MarkNonZero(y, x);
}

void AddCandidate(int32_t i, int32_t j) {
    if (j > i && j < N && Born[j] > 0) Candidate[j >> 6] |= uint64_t{1} << (j & 63);
}

// Marks p and its descendants down to `depth` generations as candidates of
// row i. A person reached again with no more depth left than before is not
// walked again.
void MarkDescent(int32_t i, int32_t p, int depth) {
    if (DescentMark[p] == i && DescentDepth[p] >= depth) return;
    DescentMark[p] = i;
    DescentDepth[p] = static_cast<int8_t>(depth);
    AddCandidate(i, p);
    if (depth == 0) return;
    for (int32_t k = ChildFirst[p]; k < ChildFirst[p + 1]; ++k) MarkDescent(i, Child[k], depth - 1);
}

// Every person j > i for which RelatePair(i, j) can give a code, whatever the
// spouse links are by the time the pair is visited.
void CollectCandidates(int32_t i) {
    memset(Candidate, 0, sizeof Candidate);

    // Blood: i and its ancestors up to great-grandparents, each with its
    // descendants down to great-grandchildren.
    int count = 0;
    Ancestors[count++] = i;
    AncestorMark[i] = i;
    int levelStart = 0;
    for (int level = 0; level < 3; ++level) {
        int levelEnd = count;
        for (int n = levelStart; n < levelEnd; ++n) {
            for (int32_t q : Parent[Ancestors[n]]) {
                if (q != 0 && AncestorMark[q] != i) {
                    AncestorMark[q] = i;
                    Ancestors[count++] = q;
                }
            }
        }
        levelStart = levelEnd;
    }
    for (int n = 0; n < count; ++n) MarkDescent(i, Ancestors[n], 3);

    // Marriage: a spouse link only ever joins two persons of whom one named
    // the other on entry, so the spouse of i at any time is i's own claim or
    // one of its claimants; the same holds for j.
    auto markSpouseSide = [i](int32_t p) {
        // p is a possible spouse of i: p itself and p's father and mother.
        AddCandidate(i, p);
        AddCandidate(i, Parent[p][0]);
        AddCandidate(i, Parent[p][1]);
    };
    if (ClaimedSpouse[i] != 0) markSpouseSide(ClaimedSpouse[i]);
    for (int32_t k = ClaimantFirst[i]; k < ClaimantFirst[i + 1]; ++k) markSpouseSide(Claimant[k]);
    // j whose spouse may be a child of i.
    for (int32_t k = ChildFirst[i]; k < ChildFirst[i + 1]; ++k) {
        int32_t c = Child[k];
        if (Parent[c][0] != i && Parent[c][1] != i) continue;  // only father and mother count here
        AddCandidate(i, ClaimedSpouse[c]);
        for (int32_t m = ClaimantFirst[c]; m < ClaimantFirst[c + 1]; ++m) AddCandidate(i, Claimant[m]);
    }
}

void RelateAllPairs() {
    for (int32_t i = 1; i < N; ++i) {
        if (Born[i] <= 0) continue;
        CollectCandidates(i);
        MarkRowSide(i);
        for (int w = 0; w < Words; ++w) {
            for (uint64_t bits = Candidate[w]; bits != 0; bits &= bits - 1) {
                int32_t j = w * 64 + __builtin_ctzll(bits);
                int32_t v = RelatePair(i, j);
                if (v == 0) continue;
                KinshipMatrix[i][j] = v;
                MarkNonZero(i, j);
                MirrorKinship(i, j);
            }
        }
    }
}

// ------------------------------------------------------------------ pass 2
//
// Every entry written here was 0, and its mirror is written at once, so an
// entry is 0 exactly when its mirror is. From that: while the spouse's ties of
// person a are spread, the spouse's row does not change and a's row changes
// only in the column being filled; while b is given a's ties, a's row does not
// change and b's row changes only in the column being filled. So each walk can
// take its bits a word at a time.

bool IsSiblingByMarriage(int32_t c) { return c == 13 || c == 14 || c == 15 || c == 16 || c == 31; }

// b has just become related to a: a's other relatives become b's relatives.
void ExtendInLawKin(int32_t a, int32_t b) {
    int32_t c = KinshipMatrix[a][b];
    bool sibling = IsSiblingByMarriage(c);
    for (int w = 0; w < Words; ++w) {
        uint64_t bits = NonZero[a][w] & ~NonZero[b][w];
        if (w == (b >> 6)) bits &= ~(uint64_t{1} << (b & 63));  // never b itself
        for (; bits != 0; bits &= bits - 1) {
            int32_t k = w * 64 + __builtin_ctzll(bits);
            int32_t code = 22;
            if (sibling) {
                int32_t t = KinshipMatrix[a][k];
                if (t == 1 || t == 2 || t == 11 || t == 12) code = Form(k, 11, 12);
                else if (t == 7 || t == 8) code = Form(k, 7, 8);
                else if (t == 33 || t == 34) code = Form(k, 33, 34);
            }
            KinshipMatrix[b][k] = code;
            MarkNonZero(b, k);
            MirrorKinship(b, k);
        }
    }
}

// What person i, a relative of the spouse, becomes to a.
int32_t InLawCode(int32_t v, int32_t i) {
    switch (v) {
        case 1: case 2: case 11: case 12: return Form(i, 11, 12);
        case 3: case 4: case 13: case 14: return Form(i, 13, 14);
        case 5: case 6: case 15: case 16: return Form(i, 15, 16);
        case 31: return 31;
        case 7: case 8: return Form(i, 7, 8);
        case 33: case 34: return Form(i, 33, 34);
        default: return 22;
    }
}

void SpreadSpouseKin(int32_t a) {
    int32_t s = Spouse[a];
    for (int w = 0; w < Words; ++w) {
        uint64_t bits = NonZero[s][w] & ~NonZero[a][w];
        if (w == (a >> 6)) bits &= ~(uint64_t{1} << (a & 63));  // never a itself
        for (; bits != 0; bits &= bits - 1) {
            int32_t i = w * 64 + __builtin_ctzll(bits);
            KinshipMatrix[a][i] = InLawCode(KinshipMatrix[s][i], i);
            MarkNonZero(a, i);
            MirrorKinship(a, i);
            ExtendInLawKin(a, i);
        }
    }
}

}  // namespace

void DeriveKinship() {
    ReadLinks();
    memset(NonZero, 0, sizeof NonZero);
    memset(AncestorMark, 0, sizeof AncestorMark);
    memset(DescentMark, 0, sizeof DescentMark);
    memset(SideRow, 0, sizeof SideRow);

    RelateAllPairs();

    for (int32_t a = 1; a < N; ++a) {
        if (Born[a] >= 0 && Spouse[a] != 0) SpreadSpouseKin(a);
    }
}
