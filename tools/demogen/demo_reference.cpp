// The demo game's random numbers, and its skills, items, effects and
// formations. Names are made up from small tables of words; every table row in
// use gets a distinct name.
#include <cstdio>
#include <cstring>

#include "demo_parts.h"

SkillTableData DemoSkills;
ItemTableData DemoItems;
EffectTableData DemoEffects;
FormationTableData DemoFormations;

// ---------------------------------------------------------------- random numbers

DemoRandom MakeRandom(unsigned seed, uint64_t stream) {
    DemoRandom random;
    random.State = ((uint64_t)seed << 32) ^ (stream * 0xD1B54A32D192ED03ull) ^ 0x5851F42D4C957F2Dull;
    return random;
}

uint64_t NextRandom(DemoRandom* random) {
    uint64_t z = (random->State += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

int RandomBelow(DemoRandom* random, int count) {
    if (count <= 1) return 0;
    return (int)(((NextRandom(random) >> 32) * (uint64_t)count) >> 32);
}

int RandomRange(DemoRandom* random, int low, int high) {
    if (high <= low) return low;
    return low + RandomBelow(random, high - low + 1);
}

int Chance(DemoRandom* random, int percent) { return RandomBelow(random, 100) < percent; }

void SetNameCell(char* cell, const char* text) {
    memset(cell, 0, NameCellBytes);
    size_t length = strlen(text);
    if (length > NameCellBytes - 1) length = NameCellBytes - 1;
    memcpy(cell, text, length);
}

// Fills order[0..count-1] with a random permutation of 0..count-1.
static void Shuffle(DemoRandom* random, int* order, int count) {
    for (int i = 0; i < count; ++i) order[i] = i;
    for (int i = count - 1; i > 0; --i) {
        int j = RandomBelow(random, i + 1);
        int swap = order[i];
        order[i] = order[j];
        order[j] = swap;
    }
}

// Writes first followed by second into a name cell.
static void SetJoinedName(char* cell, const char* first, const char* second) {
    char text[NameCellBytes * 2];
    snprintf(text, sizeof text, "%s%s", first, second);
    SetNameCell(cell, text);
}

// ---------------------------------------------------------------- skills

static const char* const SkillWords[] = {
    "疾風", "鉄壁", "烈火", "水鏡", "雷光", "月影", "天翔", "金剛", "不動", "神速",
    "奇襲", "夜討", "乱撃", "一閃", "鬼神", "流水", "明鏡", "破軍", "剛力", "軍略",
    "火炎", "氷雨", "旋風", "閃光", "百花", "千鳥", "大喝", "鼓舞", "挑発", "伏兵",
};
static const char* const SkillEndings[] = {
    "陣", "撃", "法", "術", "斬", "突", "構", "策", "備", "計", "の型", "の極",
};
constexpr int SkillWordCount = sizeof SkillWords / sizeof SkillWords[0];
constexpr int SkillEndingCount = sizeof SkillEndings / sizeof SkillEndings[0];
static_assert(SkillWordCount * SkillEndingCount >= SkillRowsInUse - 1, "enough distinct skill names");

// Skills by the slot group they fit (0 special, 1 tactic, 2 secret art).
static struct {
    int Skills[3][SkillRowsInUse];
    int Count[3];
} SkillGroups;

static int SlotGroupOfType(int type) {
    switch (type) {
    case 0: return 0;
    case 1: case 4: return 1;
    case 2: return 2;
    default: return -1;  // type 3 fits no slot group
    }
}

static void BuildSkills(DemoRandom* random) {
    memset(&DemoSkills, 0, sizeof DemoSkills);
    memset(&SkillGroups, 0, sizeof SkillGroups);
    SetNameCell(DemoSkills.Name[0], "－－－－－－");
    int order[SkillWordCount * SkillEndingCount];
    Shuffle(random, order, SkillWordCount * SkillEndingCount);
    for (int s = 1; s < SkillRowsInUse; ++s) {
        int pick = order[s - 1];
        SetJoinedName(DemoSkills.Name[s], SkillWords[pick / SkillEndingCount], SkillEndings[pick % SkillEndingCount]);
        int32_t* p = DemoSkills.Param[s];
        // Most skills have a first effect; a few have none and are never offered.
        p[SkillEffect1] = Chance(random, 93) ? RandomRange(random, 1, EffectRowsInUse - 1) : 0;
        for (int k = 1; k < SkillEffectCount; ++k)
            p[SkillEffect1 + k] = p[SkillEffect1 + k - 1] > 0 && Chance(random, 45) ? RandomRange(random, 1, EffectRowsInUse - 1) : 0;
        int roll = RandomBelow(random, 100);
        p[SkillType] = roll < 34 ? 0 : roll < 62 ? 1 : roll < 76 ? 2 : roll < 85 ? 3 : 4;
        p[SkillRank] = Chance(random, 5) ? 0 : RandomRange(random, 1, 5);
        p[SkillConsumption] = RandomRange(random, 0, 12) * 5;
        p[SkillFatigue] = RandomRange(random, 0, 30);
        p[SkillListGroup] = RandomRange(random, 0, 11);
        p[SkillAcquisitionType] = RandomRange(random, 0, 3);
        int group = SlotGroupOfType(p[SkillType]);
        if (group >= 0) SkillGroups.Skills[group][SkillGroups.Count[group]++] = s;
    }
}

int PickDemoSkill(DemoRandom* random, int slotGroup) {
    if (slotGroup < 0 || slotGroup > 2 || SkillGroups.Count[slotGroup] == 0) return 1;
    return SkillGroups.Skills[slotGroup][RandomBelow(random, SkillGroups.Count[slotGroup])];
}

// ---------------------------------------------------------------- effects

static const char* const EffectTargets[] = {
    "攻撃", "防御", "士気", "速度", "混乱", "回復", "射程", "命中",
    "兵糧", "鉄砲", "騎馬", "弓矢", "水軍", "足軽", "計略",
};
static const char* const EffectChanges[] = {"上昇", "低下", "強化", "封じ", "無効", "倍増"};
static const char* const EffectSizes[] = {"（小）", "（中）", "（大）", ""};
constexpr int EffectTargetCount = sizeof EffectTargets / sizeof EffectTargets[0];
constexpr int EffectChangeCount = sizeof EffectChanges / sizeof EffectChanges[0];
constexpr int EffectSizeCount = sizeof EffectSizes / sizeof EffectSizes[0];
constexpr int EffectNameCount = EffectTargetCount * EffectChangeCount * EffectSizeCount;
static_assert(EffectNameCount >= EffectRowsInUse - 1, "enough distinct effect names");

static void BuildEffects(DemoRandom* random) {
    memset(&DemoEffects, 0, sizeof DemoEffects);
    SetNameCell(DemoEffects.Name[0], "－－－－－－－－－－－－－－－");
    int order[EffectNameCount];
    Shuffle(random, order, EffectNameCount);
    for (int e = 1; e < EffectRowsInUse; ++e) {
        int pick = order[e - 1];
        char text[NameCellBytes];
        snprintf(text, sizeof text, "%s%s%s", EffectTargets[pick / (EffectChangeCount * EffectSizeCount)],
                 EffectChanges[pick / EffectSizeCount % EffectChangeCount], EffectSizes[pick % EffectSizeCount]);
        SetNameCell(DemoEffects.Name[e], text);
        int32_t* p = DemoEffects.Param[e];
        // Ranges of the labelled fields: power, troop type, use, distance,
        // animation, situation, morale, side, range, row correction,
        // participants, area, defence ignored, confusion, speed, weather,
        // calculation, variance, parrying, counter check, listing group.
        static const int Highest[21] = {200, 7, 4, 2, 40, 8, 100, 4, 5, 1, 1, 2, 1, 100, 20, 2, 1, 30, 1, 1, 11};
        for (int k = 0; k < 21; ++k) p[k] = RandomRange(random, 0, Highest[k]);
    }
}

// ---------------------------------------------------------------- items

static const char* const ItemWords[] = {
    "青嵐", "白鷺", "紅葉", "朧月", "雷鳴", "深山", "霧島", "春霞",
    "秋水", "夕凪", "星影", "松風", "竹林", "雪月", "花鳥",
};
// Kind (1 weapon .. 7 medicine) and weapon type of each item word.
static const struct {
    const char* Word;
    int Kind;
    int WeaponType;
} ItemKinds[] = {
    {"の太刀", 1, 0}, {"の刀", 1, 0}, {"の槍", 1, 1}, {"の弓", 1, 2}, {"の鉄砲", 1, 3},
    {"の具足", 2, 0}, {"の兜", 2, 0}, {"の駒", 3, 0}, {"兵法書", 4, 0}, {"の茶碗", 5, 0},
    {"の茶入", 5, 0}, {"の扇", 6, 0}, {"の香炉", 6, 0}, {"丸", 7, 0},
};
constexpr int ItemWordCount = sizeof ItemWords / sizeof ItemWords[0];
constexpr int ItemKindCount = sizeof ItemKinds / sizeof ItemKinds[0];
static_assert(ItemWordCount * ItemKindCount >= ItemRowsInUse - 1, "enough distinct item names");

static void BuildItems(DemoRandom* random) {
    memset(&DemoItems, 0, sizeof DemoItems);
    SetNameCell(DemoItems.Name[0], "－－－－－－－－");
    int order[ItemWordCount * ItemKindCount];
    Shuffle(random, order, ItemWordCount * ItemKindCount);
    for (int i = 1; i < ItemRowsInUse; ++i) {
        int pick = order[i - 1];
        int kind = pick % ItemKindCount;
        SetJoinedName(DemoItems.Name[i], ItemWords[pick / ItemKindCount], ItemKinds[kind].Word);
        int32_t* p = DemoItems.Param[i];
        p[0] = i;
        p[1] = ItemKinds[kind].Kind;
        p[2] = RandomRange(random, 0, 11);
        p[3] = p[2] > 0 ? RandomRange(random, 1, 10) : 0;
        p[4] = RandomRange(random, 1, 10);
        p[5] = Chance(random, 30) ? RandomRange(random, 1, EffectRowsInUse - 1) : 0;
        p[6] = ItemKinds[kind].Kind == 7 ? RandomRange(random, 1, 3) : 0;
        p[7] = RandomRange(random, 1, 100) * 100;
        p[8] = ItemKinds[kind].WeaponType;
        p[9] = Chance(random, 20);
        p[10] = Chance(random, 15) ? PickDemoSkill(random, 1) : 0;
        p[11] = Chance(random, 10) ? PickDemoSkill(random, 2) : 0;
        p[12] = Chance(random, 50);
        p[13] = Chance(random, 25);
        p[14] = Chance(random, 20);
        p[18] = ItemKinds[kind].Kind == 1 ? RandomRange(random, 5, 60) : 0;
        p[19] = ItemKinds[kind].Kind == 2 ? RandomRange(random, 5, 60) : 0;
    }
}

// ---------------------------------------------------------------- formations

static const char* const FormationWords[] = {
    "双龍", "飛燕", "岩壁", "流星", "扇形", "菱形", "十字", "車輪", "三日月", "北斗",
};
static const char* const FormationEndings[] = {"陣", "の陣", "備え", "構え", "崩し"};
constexpr int FormationWordCount = sizeof FormationWords / sizeof FormationWords[0];
constexpr int FormationEndingCount = sizeof FormationEndings / sizeof FormationEndings[0];
static_assert(FormationWordCount * FormationEndingCount >= FormationRowsInUse - 1, "enough formation names");

static void BuildFormations(DemoRandom* random) {
    memset(&DemoFormations, 0, sizeof DemoFormations);
    SetNameCell(DemoFormations.Name[0], "－－－－－－");
    int order[FormationWordCount * FormationEndingCount];
    Shuffle(random, order, FormationWordCount * FormationEndingCount);
    for (int f = 1; f < FormationRowsInUse; ++f) {
        int pick = order[f - 1];
        SetJoinedName(DemoFormations.Name[f], FormationWords[pick / FormationEndingCount],
                      FormationEndings[pick % FormationEndingCount]);
        int type = RandomRange(random, 0, 5);
        // About one formation in five cannot be chosen: its first unit has no priority.
        int selectable = !Chance(random, 20);
        for (int u = 0; u < FormationUnitsInUse; ++u) {
            int32_t* unit = DemoFormations.Param[f] + u * FormationUnitFields;
            unit[UnitRow] = u < 3 ? 0 : 1;
            unit[UnitColumnX] = RandomRange(random, 0, 4);
            unit[UnitRowY] = unit[UnitRow] == 0 ? RandomRange(random, 0, 2) : RandomRange(random, 2, 4);
            unit[UnitAttack] = RandomRange(random, 0, 15);
            unit[UnitDefence] = RandomRange(random, 0, 15);
            unit[UnitAction] = RandomRange(random, 0, 15);
            unit[UnitFormationType] = type;
            unit[UnitPriority] = u == 0 ? (selectable ? RandomRange(random, 1, 9) : 0) : RandomRange(random, 0, 9);
        }
    }
    // The lists must offer a choice: the first formation is always selectable.
    if (DemoFormations.Param[1][UnitPriority] == 0) DemoFormations.Param[1][UnitPriority] = 1;
}

int PickSelectableFormation(DemoRandom* random) {
    for (;;) {
        int f = RandomRange(random, 1, FormationRowsInUse - 1);
        if (DemoFormations.Param[f][UnitPriority] > 0) return f;
    }
}

void BuildDemoReference(unsigned seed) {
    DemoRandom random = MakeRandom(seed, 1);
    BuildSkills(&random);
    BuildEffects(&random);
    BuildItems(&random);
    BuildFormations(&random);
}
