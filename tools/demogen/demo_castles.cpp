// The demo game's castles: which slots are in use, their names, where their
// markers sit on the map (always on land, normally apart) and the routes
// between neighbours. A route that crosses water has the value 2, which the
// map draws in light blue; a route over land has the value 1.
#include <cstdio>
#include <cstring>

#include "demo_parts.h"

CastleTableData DemoCastles;
int32_t DemoCastleMatrix[CastleRows][CastleRows];

static const char* const CastleFirst[] = {
    "青", "白", "黒", "赤", "金", "銀", "鷹", "鶴", "亀", "龍", "虎", "松", "竹", "梅", "桜",
    "菊", "藤", "霧", "雲", "雪", "月", "星", "朝", "夕", "岩", "石", "川", "山", "森", "浜",
};
static const char* const CastleSecond[] = {"山", "川", "森", "原", "崎", "岡", "島", "野", "沢", "谷", "浦", "尾"};
constexpr int CastleFirstCount = sizeof CastleFirst / sizeof CastleFirst[0];
constexpr int CastleSecondCount = sizeof CastleSecond / sizeof CastleSecond[0];
static_assert(CastleFirstCount * CastleSecondCount >= CastleRowsInUse - 1, "enough distinct castle names");

constexpr int MinimumSpacing = 34;  // between marker corners, so markers do not overlap

// A marker position is good when the whole marker stands on land and its
// centre is neither beach nor high mountain.
static int GoodSite(int x, int y) {
    int centre = DemoElevation(x + MarkerSize / 2, y + MarkerSize / 2);
    if (centre < 40 || centre > 800) return 0;
    return DemoElevation(x, y) > 0 && DemoElevation(x + MarkerSize - 1, y) > 0 &&
           DemoElevation(x, y + MarkerSize - 1) > 0 && DemoElevation(x + MarkerSize - 1, y + MarkerSize - 1) > 0;
}

static int FarFromOthers(int castle, int x, int y, int spacing) {
    for (int c = 1; c < castle; ++c) {
        if (!DemoCastleUsable(c)) continue;
        int dx = DemoCastles.Param[c][MapX] - x, dy = DemoCastles.Param[c][MapY] - y;
        if (dx * dx + dy * dy < spacing * spacing) return 0;
    }
    return 1;
}

static void PlaceCastle(DemoRandom* random, int castle) {
    int spacing = MinimumSpacing;
    for (int attempt = 0;; ++attempt) {
        if (attempt > 0 && attempt % 3000 == 0) spacing /= 2;  // a crowded map still finishes
        int x = RandomRange(random, 8, MapWidth - MarkerSize - 8);
        int y = RandomRange(random, 8, MapHeight - MarkerSize - 8);
        if (GoodSite(x, y) && FarFromOthers(castle, x, y, spacing)) {
            DemoCastles.Param[castle][MapX] = x;
            DemoCastles.Param[castle][MapY] = y;
            return;
        }
    }
}

// 2 when the straight line between two castles' markers passes over water.
static int RouteValue(int a, int b) {
    int ax = DemoCastles.Param[a][MapX] + MarkerSize / 2, ay = DemoCastles.Param[a][MapY] + MarkerSize / 2;
    int bx = DemoCastles.Param[b][MapX] + MarkerSize / 2, by = DemoCastles.Param[b][MapY] + MarkerSize / 2;
    for (int step = 1; step < 16; ++step)
        if (DemoElevation(ax + (bx - ax) * step / 16, ay + (by - ay) * step / 16) <= 0) return 2;
    return 1;
}

static void BuildRoutes() {
    constexpr int Neighbours = 3, Reach = 320;
    for (int a = 1; a < CastleRowsInUse; ++a) {
        if (!DemoCastleUsable(a)) continue;
        int nearest[Neighbours] = {0, 0, 0};
        int distance[Neighbours] = {Reach * Reach, Reach * Reach, Reach * Reach};
        for (int b = 1; b < CastleRowsInUse; ++b) {
            if (b == a || !DemoCastleUsable(b)) continue;
            int dx = DemoCastles.Param[a][MapX] - DemoCastles.Param[b][MapX];
            int dy = DemoCastles.Param[a][MapY] - DemoCastles.Param[b][MapY];
            int d = dx * dx + dy * dy;
            for (int k = 0; k < Neighbours; ++k) {
                if (d >= distance[k]) continue;
                for (int m = Neighbours - 1; m > k; --m) {
                    nearest[m] = nearest[m - 1];
                    distance[m] = distance[m - 1];
                }
                nearest[k] = b;
                distance[k] = d;
                break;
            }
        }
        for (int k = 0; k < Neighbours; ++k) {
            int b = nearest[k];
            if (b == 0) continue;
            int value = RouteValue(a, b);
            DemoCastleMatrix[a][b] = value;
            DemoCastleMatrix[b][a] = value;
        }
    }
}

// Castles joined by routes form groups (an island's castles, say). Each
// group but the first is joined to the nearest castle outside it by a sea
// lane, so every castle can be reached.
static void JoinByLanes() {
    int group[CastleRows] = {0};
    for (int joined = 0; joined < CastleRowsInUse; ++joined) {
        // Mark the group of the first usable castle by a flood over routes.
        for (int c = 0; c < CastleRows; ++c) group[c] = 0;
        int first = 1;
        while (first < CastleRowsInUse && !DemoCastleUsable(first)) ++first;
        if (first >= CastleRowsInUse) return;
        group[first] = 1;
        for (int changed = 1; changed;) {
            changed = 0;
            for (int a = 1; a < CastleRowsInUse; ++a)
                for (int b = 1; b < CastleRowsInUse && group[a]; ++b)
                    if (DemoCastleMatrix[a][b] > 0 && !group[b]) group[b] = 1, changed = 1;
        }
        // Join the nearest castle outside the group to the group.
        int bestA = 0, bestB = 0, bestDistance = 0;
        for (int a = 1; a < CastleRowsInUse; ++a) {
            if (!group[a]) continue;
            for (int b = 1; b < CastleRowsInUse; ++b) {
                if (group[b] || !DemoCastleUsable(b)) continue;
                int dx = DemoCastles.Param[a][MapX] - DemoCastles.Param[b][MapX];
                int dy = DemoCastles.Param[a][MapY] - DemoCastles.Param[b][MapY];
                if (bestA == 0 || dx * dx + dy * dy < bestDistance) bestA = a, bestB = b, bestDistance = dx * dx + dy * dy;
            }
        }
        if (bestA == 0) return;
        DemoCastleMatrix[bestA][bestB] = DemoCastleMatrix[bestB][bestA] = RouteValue(bestA, bestB);
    }
}

void BuildDemoCastleSites(unsigned seed) {
    DemoRandom random = MakeRandom(seed, 3);
    memset(&DemoCastles, 0, sizeof DemoCastles);
    memset(DemoCastleMatrix, 0, sizeof DemoCastleMatrix);
    for (int c = 0; c < CastleRowsInUse; ++c) SetNameCell(DemoCastles.Name[c], "－－－－－－－－");

    int order[CastleFirstCount * CastleSecondCount];
    for (int i = 0; i < CastleFirstCount * CastleSecondCount; ++i) order[i] = i;
    for (int i = CastleFirstCount * CastleSecondCount - 1; i > 0; --i) {
        int j = RandomBelow(&random, i + 1);
        int swap = order[i];
        order[i] = order[j];
        order[j] = swap;
    }

    int overlapPartner = 0;
    for (int c = 1; c < CastleRowsInUse; ++c) {
        int roll = RandomBelow(&random, 100);
        int state = roll < 4 ? 0 : roll < 9 ? 2 : 1;
        if (c == 1 || c == 150) state = 1;  // the first castle and one of an overlapping pair
        if (state == 0) continue;  // an empty slot: dashes and zeros
        int32_t* p = DemoCastles.Param[c];
        p[CastleState] = state;
        char name[NameCellBytes];
        snprintf(name, sizeof name, "%s%s城", CastleFirst[order[c - 1] / CastleSecondCount],
                 CastleSecond[order[c - 1] % CastleSecondCount]);
        SetNameCell(DemoCastles.Name[c], name);
        // One pair of markers overlaps on purpose: the map must then offer
        // the castle with the higher index.
        if (c == 150 && overlapPartner > 0 && GoodSite(DemoCastles.Param[overlapPartner][MapX] + 8,
                                                        DemoCastles.Param[overlapPartner][MapY] + 6)) {
            p[MapX] = DemoCastles.Param[overlapPartner][MapX] + 8;
            p[MapY] = DemoCastles.Param[overlapPartner][MapY] + 6;
        } else {
            PlaceCastle(&random, c);
        }
        if (c < 150 && state == 1) overlapPartner = c;
        // Fields the editor carries without reading: defences, economy,
        // population and the like.
        p[3] = RandomRange(&random, 2, 60) * 50;
        p[4] = RandomRange(&random, 1, 40) * 50;
        p[5] = RandomRange(&random, 1, 40) * 50;
        p[6] = RandomRange(&random, 5, 200) * 100;
        p[7] = RandomRange(&random, 0, 100);
        p[8] = RandomRange(&random, 0, 100);
        p[9] = RandomRange(&random, 0, 5);
        p[10] = RandomRange(&random, 0, 3);
        p[13] = RandomRange(&random, 0, 9);
        p[14] = RandomRange(&random, 0, 9);
        p[15] = Chance(&random, 20);
    }
    BuildRoutes();
    JoinByLanes();
}
