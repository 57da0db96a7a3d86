// The kinship rules written out one step after another, with no shortcut
// beyond the ones the rules themselves take. Slow (every pair is searched,
// every row scanned in full) and meant to stay obviously right.
//
// Two points where this deliberately differs from a word-for-word reading of
// the rules, and DeriveKinship does the same:
// - The converse of a spouse code names the observer by the observer's own
//   sex, like every other code: in a marriage of two men each is the other's
//   husband (27), of two women each is the other's wife (28).
// - A person is never made their own relative: the relations by marriage skip
//   the person themselves, so the diagonal stays 0 and cannot be passed on to
//   a spouse as a tie.
#include "relations/kinship_reference.h"

#include "store/tables.h"

namespace {

constexpr int N = PersonCount;
constexpr int ParentFields[3] = {FatherId, MotherId, AdoptiveParentId};

// A link of person p: a person index, or 0 for nobody. Values outside the
// table, and every link of nobody, read as nobody.
int32_t Link(int32_t p, int field) {
    if (!IsPersonIndex(p)) return 0;
    int32_t v = PersonTable[p][field];
    return IsPersonIndex(v) ? v : 0;
}

int32_t BornIn(int32_t p) { return PersonTable[p][BirthYear]; }

// Male form when person p is male (Sex 0), female form otherwise.
int32_t Form(int32_t p, int32_t male, int32_t female) { return PersonTable[p][Sex] == 0 ? male : female; }

bool IsParentSlotOf(int32_t x, int32_t p) {
    return Link(p, FatherId) == x || Link(p, MotherId) == x || Link(p, AdoptiveParentId) == x;
}

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
    for (int ef : ParentFields) {
        for (int ff : ParentFields) {
            int32_t r = RelateByGreatGrandparents(i, j, Link(c, ef), Link(d, ff));
            if (r != 0) return r;
        }
    }
    return 0;
}

int32_t RelateByParents(int32_t i, int32_t j, int32_t a, int32_t b, bool adoptive) {
    if (a == 0 && b == 0) return 0;
    if (a == b && a > 0) {
        if (BornIn(i) > BornIn(j)) return adoptive ? Form(j, 13, 14) : Form(j, 3, 4);
        if (BornIn(i) < BornIn(j)) return adoptive ? Form(j, 15, 16) : Form(j, 5, 6);
        return adoptive ? 31 : 21;
    }
    if (b == i) return adoptive ? Form(j, 25, 26) : Form(j, 23, 24);
    if (a == j) return adoptive ? Form(j, 11, 12) : Form(j, 1, 2);
    for (int cf : ParentFields) {
        for (int df : ParentFields) {
            int32_t r = RelateByGrandparents(i, j, Link(a, cf), Link(b, df));
            if (r != 0) return r;
        }
    }
    return 0;
}

bool HasAnyLink(int32_t p) {
    return Link(p, FatherId) != 0 || Link(p, MotherId) != 0 || Link(p, SpouseId) != 0 ||
           Link(p, AdoptiveParentId) != 0;
}

int32_t RelatePair(int32_t i, int32_t j) {
    if (BornIn(i) <= 0 || BornIn(j) <= 0) return 0;
    if (!HasAnyLink(i) && !HasAnyLink(j)) return 0;
    int32_t si = Link(i, SpouseId);
    int32_t sj = Link(j, SpouseId);
    if (si == j || sj == i) {
        PersonTable[i][SpouseId] = j;
        PersonTable[j][SpouseId] = i;
        return Form(j, 27, 28);
    }
    if (Link(si, FatherId) == j || Link(si, MotherId) == j) return Form(j, 11, 12);
    if (Link(sj, FatherId) == i || Link(sj, MotherId) == i) return Form(j, 25, 26);
    for (int as = 0; as < 3; ++as) {
        for (int bs = 0; bs < 3; ++bs) {
            int32_t r = RelateByParents(i, j, Link(i, ParentFields[as]), Link(j, ParentFields[bs]),
                                        as == 2 || bs == 2);
            if (r != 0) return r;
        }
    }
    return 0;
}

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
        case 27: case 28: return Form(x, 27, 28);
        default: return v;
    }
}

void MirrorKinship(int32_t x, int32_t y) { KinshipMatrix[y][x] = Converse(KinshipMatrix[x][y], x); }

void ExtendInLawKin(int32_t a, int32_t b) {
    int32_t c = KinshipMatrix[a][b];
    for (int32_t k = 1; k < N; ++k) {
        if (k == b) continue;
        if (KinshipMatrix[a][k] <= 0 || KinshipMatrix[b][k] != 0) continue;
        KinshipMatrix[b][k] = 22;
        if (c == 13 || c == 14 || c == 15 || c == 16 || c == 31) {
            int32_t t = KinshipMatrix[a][k];
            if (t == 1 || t == 2 || t == 11 || t == 12) KinshipMatrix[b][k] = Form(k, 11, 12);
            else if (t == 7 || t == 8) KinshipMatrix[b][k] = Form(k, 7, 8);
            else if (t == 33 || t == 34) KinshipMatrix[b][k] = Form(k, 33, 34);
        }
        MirrorKinship(b, k);
    }
}

void SpreadSpouseKin(int32_t a) {
    int32_t s = Link(a, SpouseId);
    for (int32_t i = 1; i < N; ++i) {
        if (i == a) continue;
        if (KinshipMatrix[s][i] <= 0 || KinshipMatrix[a][i] != 0) continue;
        int32_t v = KinshipMatrix[s][i];
        int32_t code;
        if (v == 1 || v == 2 || v == 11 || v == 12) code = Form(i, 11, 12);
        else if (v == 3 || v == 4 || v == 13 || v == 14) code = Form(i, 13, 14);
        else if (v == 5 || v == 6 || v == 15 || v == 16) code = Form(i, 15, 16);
        else if (v == 31) code = 31;
        else if (v == 7 || v == 8) code = Form(i, 7, 8);
        else if (v == 33 || v == 34) code = Form(i, 33, 34);
        else code = 22;
        KinshipMatrix[a][i] = code;
        MirrorKinship(a, i);
        ExtendInLawKin(a, i);
    }
}

}  // namespace

void DeriveKinshipReference() {
    for (int32_t i = 1; i < N; ++i) {
        for (int32_t j = i + 1; j < N; ++j) {
            if (BornIn(i) > 0 && BornIn(j) > 0) {
                KinshipMatrix[i][j] = RelatePair(i, j);
                MirrorKinship(i, j);
            }
        }
    }
    for (int32_t a = 1; a < N; ++a) {
        if (BornIn(a) >= 0 && Link(a, SpouseId) > 0) SpreadSpouseKin(a);
    }
}
