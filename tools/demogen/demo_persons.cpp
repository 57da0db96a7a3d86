// The demo population. Persons come in clans: a founder born around 1480 and
// his wife, their children, grandchildren and great-grandchildren. Sons
// mostly marry, either a daughter of another clan or a wife from outside;
// daughters keep their own surname. On top of the families come factions
// (clans whose head leads a house), vassal clans and masterless clans; castle
// lords, corps commanders, superiors; attributes, skills, items and the
// affinity matrix. A handful of persons are made on purpose for the cases a
// reader of the files must handle: one-sided and same-sex spouse links, 11 +
// 11-byte names, an empty surname and persons with a birth year of 0 whose
// other fields are set.
#include <cstdio>
#include <cstring>

#include "demo_game.h"
#include "demo_parts.h"

// ---------------------------------------------------------------- names

static const char* const SurnameFirst[] = {
    "小", "大", "長", "高", "石", "松", "竹", "梅", "北", "南", "東", "西", "上", "中", "今", "古",
    "新", "青", "白", "黒", "赤", "岩", "浅", "深", "森", "林", "村", "川", "山", "野", "原", "島",
    "沢", "井", "宮", "坂", "谷", "池", "星", "桜", "柳", "杉", "菊", "鶴", "亀", "鷹", "熊", "鹿",
    "岡", "平", "広", "千", "久", "早", "若", "宇", "佐", "富", "堀", "細",
};
static const char* const SurnameSecond[] = {
    "田", "川", "山", "野", "原", "島", "沢", "井", "橋", "木", "本", "村", "森", "林", "谷",
    "部", "崎", "尾", "口", "内", "岡", "江", "浦", "瀬", "倉", "城", "関", "塚", "垣", "淵",
};
static const char* const SurnameThird[] = {"田", "川", "谷", "部", "丸", "寺"};

static const char* const MaleFirst[] = {
    "長", "信", "秀", "家", "政", "重", "義", "光", "忠", "正", "勝", "元", "景", "宗", "直", "時",
    "晴", "輝", "清", "利", "高", "頼", "綱", "国", "盛", "房", "種", "朝", "友", "貞", "昌", "氏",
    "隆", "親", "為", "久", "行", "通", "春", "定", "安", "成", "常", "興", "俊",
};
static const char* const MaleSecond[] = {
    "正", "重", "義", "光", "忠", "勝", "元", "景", "直", "時", "晴", "輝", "清", "利", "高", "頼",
    "綱", "国", "盛", "房", "種", "朝", "友", "貞", "昌", "広", "氏", "隆", "親", "久", "行", "通",
    "春", "定", "安", "成", "常", "興", "俊", "胤",
};
static const char* const CommonPrefix[] = {"", "新", "源", "孫", "彦", "与", "弥", "藤", "甚", "善"};
static const char* const CommonOrdinal[] = {"太郎", "次郎", "三郎", "四郎", "五郎", "六郎", "七郎", "八郎", "九郎", "十郎"};
static const char* const CommonStem[] = {"作", "半", "喜", "伝", "権", "市", "茂", "勘", "吉", "平"};
static const char* const CommonEnding[] = {"左衛門", "右衛門", "兵衛", "之助", "蔵", "介"};
static const char* const FemaleStem[] = {
    "千代", "松", "菊", "梅", "鶴", "亀", "竹", "花", "藤", "雪", "春", "夏", "秋", "冬", "百合",
    "小夜", "葵", "桐", "萩", "蘭", "楓", "椿", "紅", "玉", "福", "菫", "桔梗", "若菜", "光", "里",
};
static const char* const MonkStem[] = {"宗", "道", "玄", "雲", "月", "石", "鉄", "柏"};
static const char* const MonkEnding[] = {"斎", "庵", "軒", "坊"};

#define COUNT(table) ((int)(sizeof table / sizeof table[0]))

static const char* Pick(DemoRandom* random, const char* const* table, int count) {
    return table[RandomBelow(random, count)];
}
#define PICK(random, table) Pick(random, table, COUNT(table))

static void MakeSurname(DemoRandom* random, char* out, size_t size) {
    const char* first = PICK(random, SurnameFirst);
    const char* second = PICK(random, SurnameSecond);
    if (strcmp(first, second) == 0) second = SurnameSecond[0];
    if (Chance(random, 12)) snprintf(out, size, "%s%s%s", first, second, PICK(random, SurnameThird));
    else snprintf(out, size, "%s%s", first, second);
}

static void MakeGivenName(DemoRandom* random, int sex, char* out, size_t size) {
    if (sex == 0) {
        int style = RandomBelow(random, 100);
        if (style < 12) snprintf(out, size, "%s%s", PICK(random, CommonPrefix), PICK(random, CommonOrdinal));
        else if (style < 22) snprintf(out, size, "%s%s", PICK(random, CommonStem), PICK(random, CommonEnding));
        else {
            const char* first = PICK(random, MaleFirst);
            const char* second = PICK(random, MaleSecond);
            if (strcmp(first, second) == 0) second = "胤";
            snprintf(out, size, "%s%s", first, second);
        }
        return;
    }
    const char* stem = PICK(random, FemaleStem);
    int style = RandomBelow(random, 100);
    if (style < 35) snprintf(out, size, "お%s", stem);
    else if (style < 65) snprintf(out, size, "%s姫", stem);
    else if (style < 90 || strlen(stem) > 2) snprintf(out, size, "%s", stem);
    else snprintf(out, size, "%sの方", stem);
}

// ---------------------------------------------------------------- bookkeeping

constexpr int MaxClans = 400;
constexpr int EmptyGameSlots = 36;   // game slots left without a person
constexpr int ReservedSlots = 14;    // kept free for the persons made on purpose
constexpr int LastBirthYear = ScenarioYear + 15;

struct Clan {
    char Surname[NameCellBytes];
    int Founder;
    int Head;          // eldest active man of the blood in the scenario year
    int Faction;       // faction the clan leads, 0 when it leads none
    int LordFaction;   // faction the clan serves (its own when it leads one)
    int HomeCastle;
};

static struct {
    DemoRandom Random;
    int EmptySlot[GamePersonSlots];
    int NextSlot;       // next game slot to try
    int SlotsLeft;      // game slots still free (empty slots excluded)
    int BloodClan[PersonRows];  // clan a person was born into (0: none)
    int HouseClan[PersonRows];  // clan a person belongs to (by birth or marriage)
    int Unmarried[PersonRows];  // women who may still marry into another clan
    int UnmarriedCount;
    Clan Clans[MaxClans];
    int ClanCount;
    int FactionHead[FactionNames];
    int FactionHome[FactionNames];
    int FactionCount;
    int Special[PersonRows];    // made on purpose; kept out of the ordinary rules
} Demo;

static int32_t* Row(int p) { return PersonTable[p]; }
static int Used(int p) { return p > 0 && p < PersonCount && PersonTable[p][BirthYear] > 0; }
static int Active(int p) {
    return Used(p) && Row(p)[BirthYear] <= ScenarioYear - 15 && (Row(p)[DeathYear] == 0 || Row(p)[DeathYear] > ScenarioYear);
}
static int AdultMan(int p) { return Active(p) && Row(p)[Sex] == 0 && Row(p)[BirthYear] <= ScenarioYear - 18; }

static void ResetPersonTables() {
    memset(PersonTable, 0, sizeof PersonTable);
    memset(SurnameTable, 0, sizeof SurnameTable);
    memset(GivenNameTable, 0, sizeof GivenNameTable);
    memset(PersonSkillTable, 0, sizeof PersonSkillTable);
    memset(PersonItemTable, 0, sizeof PersonItemTable);
    memset(AffinityMatrix, 0, sizeof AffinityMatrix);
    for (int p = 0; p < PersonCount; ++p) {
        SetNameCell(SurnameTable[p], "－－－－－");
        SetNameCell(GivenNameTable[p], "－－－－－");
        for (int q = 0; q < PersonCount; ++q) AffinityMatrix[p][q] = 50;
    }
}

static void ChooseEmptySlots() {
    for (int chosen = 0; chosen < EmptyGameSlots;) {
        int slot = RandomRange(&Demo.Random, 2, GamePersonSlots - 1);
        if (Demo.EmptySlot[slot]) continue;
        Demo.EmptySlot[slot] = 1;
        ++chosen;
    }
    Demo.NextSlot = 1;
    Demo.SlotsLeft = GamePersonSlots - 1 - EmptyGameSlots;
}

// Takes the next free game slot; 0 when only the reserve is left (or, for a
// person made on purpose, when nothing is left).
static int TakeSlot(int special) {
    if (Demo.SlotsLeft <= (special ? 0 : ReservedSlots)) return 0;
    while (Demo.EmptySlot[Demo.NextSlot]) ++Demo.NextSlot;
    --Demo.SlotsLeft;
    return Demo.NextSlot++;
}

static int LifeEnd(int birth) {
    if (Chance(&Demo.Random, 3)) return 0;  // year of death not recorded
    if (Chance(&Demo.Random, 8)) return birth + RandomRange(&Demo.Random, 15, 35);
    return birth + RandomRange(&Demo.Random, 40, 85);
}

// Makes a person in a slot (a game slot when slot is 0). Returns the slot, or
// 0 when no slot is left.
static int MakePerson(int slot, int sex, int birth, const char* surname, int clan) {
    if (slot == 0) slot = TakeSlot(0);
    if (slot == 0) return 0;
    Row(slot)[Sex] = sex;
    Row(slot)[BirthYear] = birth;
    Row(slot)[DeathYear] = LifeEnd(birth);
    SetNameCell(SurnameTable[slot], surname);
    char given[NameCellBytes];
    MakeGivenName(&Demo.Random, sex, given, sizeof given);
    SetNameCell(GivenNameTable[slot], given);
    Demo.BloodClan[slot] = clan;
    Demo.HouseClan[slot] = clan;
    if (sex == 1 && clan > 0) Demo.Unmarried[Demo.UnmarriedCount++] = slot;
    return slot;
}

static void RemoveUnmarried(int p) {
    for (int i = 0; i < Demo.UnmarriedCount; ++i)
        if (Demo.Unmarried[i] == p) {
            Demo.Unmarried[i] = Demo.Unmarried[--Demo.UnmarriedCount];
            return;
        }
}

// Links a couple. Most couples name each other; a few are named from one
// side only, which the kinship derivation later makes mutual.
static void Marry(int husband, int wife) {
    int roll = RandomBelow(&Demo.Random, 100);
    if (roll >= 2) Row(husband)[SpouseId] = wife;
    if (roll < 2 || roll >= 4) Row(wife)[SpouseId] = husband;
    RemoveUnmarried(wife);
    Demo.HouseClan[wife] = Demo.HouseClan[husband];
}

static void MakeRandomSurname(char* out, size_t size) { MakeSurname(&Demo.Random, out, size); }

// A wife for a man: a daughter of another clan of about his age, or a woman
// from a family outside the data.
static int FindWife(int husband) {
    int born = Row(husband)[BirthYear];
    if (Chance(&Demo.Random, 40) && Demo.UnmarriedCount > 0) {
        int start = RandomBelow(&Demo.Random, Demo.UnmarriedCount);
        for (int i = 0; i < Demo.UnmarriedCount; ++i) {
            int woman = Demo.Unmarried[(start + i) % Demo.UnmarriedCount];
            int age = born - Row(woman)[BirthYear];
            if (Demo.BloodClan[woman] != Demo.BloodClan[husband] && age >= -12 && age <= 3) return woman;
        }
    }
    char surname[NameCellBytes];
    MakeRandomSurname(surname, sizeof surname);
    return MakePerson(0, 1, born + RandomRange(&Demo.Random, -2, 10), surname, 0);
}

static int Alive(int p, int year) { return Row(p)[DeathYear] == 0 || Row(p)[DeathYear] >= year; }

// Children of a couple (mother may be 0), and recursively their families.
static void MakeChildren(int father, int mother, int generation) {
    if (generation > 4) return;
    int count = generation <= 2 ? RandomRange(&Demo.Random, 1, 5) : RandomRange(&Demo.Random, 0, 4);
    int motherBorn = mother ? Row(mother)[BirthYear] : Row(father)[BirthYear] + RandomRange(&Demo.Random, -2, 8);
    int year = motherBorn + RandomRange(&Demo.Random, 16, 22);
    int clan = Demo.BloodClan[father];
    for (int k = 0; k < count; ++k) {
        if (k > 0) year += Chance(&Demo.Random, 9) ? 0 : RandomRange(&Demo.Random, 1, 4);  // sometimes twins
        if (year > LastBirthYear || year - motherBorn > 42 || !Alive(father, year - 1) || (mother && !Alive(mother, year)))
            return;
        int child = MakePerson(0, RandomBelow(&Demo.Random, 2), year, SurnameTable[father], clan);
        if (child == 0) return;
        Row(child)[FatherId] = father;
        // Now and then the mother is not known.
        Row(child)[MotherId] = mother && !Chance(&Demo.Random, 7) ? mother : 0;
        if (Row(child)[Sex] == 0 && year <= ScenarioYear && Chance(&Demo.Random, 78)) {
            int wife = FindWife(child);
            if (wife == 0) return;
            Marry(child, wife);
            MakeChildren(child, wife, generation + 1);
        }
    }
}

static void MakeClan() {
    if (Demo.ClanCount + 1 >= MaxClans) return;
    int clan = ++Demo.ClanCount;
    Clan& c = Demo.Clans[clan];
    // A surname no other clan has.
    for (int attempt = 0; attempt < 40; ++attempt) {
        MakeRandomSurname(c.Surname, sizeof c.Surname);
        int taken = 0;
        for (int other = 1; other < clan; ++other) taken |= strcmp(Demo.Clans[other].Surname, c.Surname) == 0;
        if (!taken) break;
    }
    int founder = MakePerson(0, 0, RandomRange(&Demo.Random, 1472, 1506), c.Surname, clan);
    if (founder == 0) return;
    c.Founder = founder;
    int wife = FindWife(founder);
    if (wife == 0) return;
    Marry(founder, wife);
    MakeChildren(founder, wife, 1);
}

// ---------------------------------------------------------------- persons made on purpose

static int FindPerson(int (*test)(int p), int start) {
    for (int i = 0; i < PersonCount; ++i) {
        int p = 1 + (start + i) % (PersonCount - 1);
        if (test(p)) return p;
    }
    return 0;
}

static int SingleActiveMan(int p) { return AdultMan(p) && Row(p)[SpouseId] == 0 && !Demo.Special[p]; }
static int SingleActiveWoman(int p) { return Active(p) && Row(p)[Sex] == 1 && Row(p)[SpouseId] == 0 && !Demo.Special[p]; }
static int HusbandOfMutualCouple(int p) {
    int wife = Row(p)[SpouseId];
    return Used(p) && Row(p)[Sex] == 0 && Used(wife) && Row(wife)[SpouseId] == p;
}
static int ClanFounder(int p) { return Used(p) && Demo.BloodClan[p] > 0 && Demo.Clans[Demo.BloodClan[p]].Founder == p; }

static int MakeSpecial(int sex, int birth, const char* surname, const char* given, int houseClan) {
    int p = TakeSlot(1);
    if (p == 0) return 0;
    Row(p)[Sex] = sex;
    Row(p)[BirthYear] = birth;
    Row(p)[DeathYear] = birth + RandomRange(&Demo.Random, 45, 75);
    SetNameCell(SurnameTable[p], surname);
    SetNameCell(GivenNameTable[p], given);
    Demo.HouseClan[p] = houseClan;
    Demo.Special[p] = 1;
    return p;
}

static void MakeSpecialPersons() {
    DemoRandom* random = &Demo.Random;
    int someClan = 1 + RandomBelow(random, Demo.ClanCount);
    // Names that fill the editor's limit of 11 bytes on both sides; a
    // half-width letter makes the odd byte.
    MakeSpecial(0, 1522, "東西南北ﾉ宮", "新左衛門ﾉ丞", someClan);
    MakeSpecial(0, 1531, "上下左右ﾉ森", "源右衛門ﾉ介", 1 + RandomBelow(random, Demo.ClanCount));
    MakeSpecial(1, 1536, "ﾔﾏﾉｳｴﾉﾀｶﾐﾈ", "ｻｸﾗﾉﾐﾔﾉﾋﾒｷﾞ", 0);
    // Masterless monks known by one name only: an empty surname.
    for (int k = 0; k < 2; ++k) {
        char given[NameCellBytes];
        snprintf(given, sizeof given, "%s%s", PICK(random, MonkStem), PICK(random, MonkEnding));
        MakeSpecial(0, RandomRange(random, 1505, 1530), "", given, 0);
    }
    // Persons whose birth year is 0 (so their slot counts as empty) but whose
    // other fields hold data: one names a single man as spouse, one names a
    // father, one names nobody.
    char surname[NameCellBytes], given[NameCellBytes];
    for (int k = 0; k < 3; ++k) {
        MakeRandomSurname(surname, sizeof surname);
        MakeGivenName(random, k == 1 ? 0 : 1, given, sizeof given);
        int p = MakeSpecial(k == 1 ? 0 : 1, 1530, surname, given, 0);
        if (p == 0) continue;
        Row(p)[BirthYear] = 0;
        Row(p)[DeathYear] = 1590 + k;
        if (k == 0) Row(p)[SpouseId] = FindPerson(SingleActiveMan, RandomBelow(random, PersonCount));
        if (k == 1) Row(p)[FatherId] = FindPerson(ClanFounder, RandomBelow(random, PersonCount));
    }
    // A second woman naming a married man, who names his wife.
    int husband = FindPerson(HusbandOfMutualCouple, RandomBelow(random, PersonCount));
    if (husband) {
        MakeRandomSurname(surname, sizeof surname);
        MakeGivenName(random, 1, given, sizeof given);
        int p = MakeSpecial(1, Row(husband)[BirthYear] + 8, surname, given, Demo.HouseClan[husband]);
        if (p) Row(p)[SpouseId] = husband;
    }
    // Two men, and two women, who name each other as spouse.
    for (int sex = 0; sex < 2; ++sex) {
        int (*single)(int) = sex == 0 ? SingleActiveMan : SingleActiveWoman;
        int a = FindPerson(single, RandomBelow(random, PersonCount));
        if (a == 0) continue;
        Demo.Special[a] = 1;
        int b = FindPerson(single, RandomBelow(random, PersonCount));
        Demo.Special[a] = 0;
        if (b == 0) continue;
        Row(a)[SpouseId] = b;
        Row(b)[SpouseId] = a;
        RemoveUnmarried(a);
        RemoveUnmarried(b);
    }
}

// Adoptions: a few men are also the adopted sons of an older person of
// another clan, usually a man.
static void MakeAdoptions() {
    for (int p = 1; p < GamePersonSlots; ++p) {
        if (!Used(p) || Row(p)[Sex] != 0 || Row(p)[BirthYear] < 1500 || !Chance(&Demo.Random, 4)) continue;
        for (int attempt = 0; attempt < 200; ++attempt) {
            int q = RandomRange(&Demo.Random, 1, GamePersonSlots - 1);
            int age = Row(p)[BirthYear] - Row(q)[BirthYear];
            int wantedSex = Chance(&Demo.Random, 85) ? 0 : 1;
            if (!Used(q) || Row(q)[Sex] != wantedSex || age < 18 || age > 45) continue;
            if (Demo.BloodClan[q] == Demo.BloodClan[p] && Demo.BloodClan[p] != 0) continue;
            Row(p)[AdoptiveParentId] = q;
            break;
        }
    }
}

// ---------------------------------------------------------------- factions and castles

static int CastleDistance(int a, int b) {
    int dx = DemoCastles.Param[a][MapX] - DemoCastles.Param[b][MapX];
    int dy = DemoCastles.Param[a][MapY] - DemoCastles.Param[b][MapY];
    return dx * dx + dy * dy;
}

static int RandomCastle(int faction) {
    for (int attempt = 0; attempt < 2000; ++attempt) {
        int c = RandomRange(&Demo.Random, 1, CastleRowsInUse - 1);
        if (DemoCastleUsable(c) && (faction == 0 || DemoCastles.Param[c][OwnerFactionId] == faction)) return c;
    }
    return faction ? Demo.FactionHome[faction] : 1;
}

static void FormFactions() {
    DemoRandom* random = &Demo.Random;
    for (int clan = 1; clan <= Demo.ClanCount; ++clan) {
        Clan& c = Demo.Clans[clan];
        c.Head = 0;
        for (int p = 1; p < PersonCount; ++p)
            if (Demo.BloodClan[p] == clan && AdultMan(p) && (c.Head == 0 || Row(p)[BirthYear] < Row(c.Head)[BirthYear]))
                c.Head = p;
        if (c.Head && Demo.FactionCount < 60 && (Demo.FactionCount < 8 || Chance(random, 45))) {
            c.Faction = ++Demo.FactionCount;
            c.LordFaction = c.Faction;
            Demo.FactionHead[c.Faction] = c.Head;
        } else if (c.Head && Demo.FactionCount > 0 && Chance(random, 70)) {
            c.LordFaction = RandomRange(random, 1, Demo.FactionCount);
        }
    }
    // Each faction holds a home castle on the map and the castles nearer to
    // it than to any other home, within reach.
    for (int f = 1; f <= Demo.FactionCount; ++f) {
        for (int attempt = 0; attempt < 5000; ++attempt) {
            int c = RandomRange(random, 1, CastleRowsInUse - 1);
            if (DemoCastles.Param[c][CastleState] == 1 && DemoCastles.Param[c][OwnerFactionId] == 0) {
                Demo.FactionHome[f] = c;
                DemoCastles.Param[c][OwnerFactionId] = f;
                break;
            }
        }
    }
    constexpr int Reach = 320 * 320;
    for (int c = 1; c < CastleRowsInUse; ++c) {
        if (!DemoCastleUsable(c) || DemoCastles.Param[c][OwnerFactionId] > 0) continue;
        if (Chance(random, 6)) continue;  // an independent castle
        int best = 0, bestDistance = Reach;
        for (int f = 1; f <= Demo.FactionCount; ++f) {
            if (Demo.FactionHome[f] == 0) continue;
            int d = CastleDistance(c, Demo.FactionHome[f]);
            if (d < bestDistance) best = f, bestDistance = d;
        }
        DemoCastles.Param[c][OwnerFactionId] = best;
    }
    for (int clan = 1; clan <= Demo.ClanCount; ++clan) {
        Clan& c = Demo.Clans[clan];
        c.HomeCastle = c.Faction ? Demo.FactionHome[c.Faction] : RandomCastle(c.LordFaction);
    }
}

static int FactionOf(int p) {
    if (!Active(p)) return 0;
    int clan = Demo.HouseClan[p];
    return clan > 0 ? Demo.Clans[clan].LordFaction : 0;
}

// Standing, rank, superior, castle of every person; lords and jurisdictions
// of the castles.
static void AssignPositions() {
    DemoRandom* random = &Demo.Random;
    for (int p = 1; p < PersonCount; ++p) {
        if (Row(p)[BirthYear] <= 0 && !Demo.Special[p]) continue;
        int faction = FactionOf(p);
        int32_t* r = Row(p);
        r[FactionId] = faction;
        int clan = Demo.HouseClan[p];
        int home = clan > 0 ? Demo.Clans[clan].HomeCastle : RandomCastle(0);
        int roll = RandomBelow(random, 100);
        r[OriginCastleId] = roll < 60 ? home : roll < 90 && faction ? RandomCastle(faction) : RandomCastle(0);
        r[LocationCastleId] = Chance(random, 85) ? r[OriginCastleId] : RandomCastle(faction);
        r[Standing] = faction ? 1 : 0;
        if (!Active(p)) r[MilitaryRank] = 0;
        else if (r[Sex] == 1) r[MilitaryRank] = Chance(random, 5) ? RandomRange(random, 1, 3) : 0;
        else r[MilitaryRank] = faction ? RandomRange(random, 0, 4) : RandomRange(random, 0, 2);
        r[SuperiorId] = faction && Demo.FactionHead[faction] != p ? Demo.FactionHead[faction] : 0;
    }
    for (int f = 1; f <= Demo.FactionCount; ++f) {
        int head = Demo.FactionHead[f];
        Row(head)[Standing] = 4;
        Row(head)[MilitaryRank] = 6;
        Row(head)[SuperiorId] = 0;
        Row(head)[OriginCastleId] = Row(head)[LocationCastleId] = Demo.FactionHome[f];
    }
    // Lords: the head holds the home castle; every other castle of a faction
    // goes to one of its grown men while there are any left.
    for (int c = 1; c < CastleRowsInUse; ++c) {
        int f = DemoCastles.Param[c][OwnerFactionId];
        if (!DemoCastleUsable(c) || f == 0) continue;
        if (c == Demo.FactionHome[f]) {
            DemoCastles.Param[c][LordId] = Demo.FactionHead[f];
            continue;
        }
        // A man of the faction, or else a masterless man who enters its service.
        int start = RandomBelow(random, PersonCount);
        int lord = 0;
        for (int pass = 0; pass < 2 && lord == 0; ++pass)
            for (int i = 0; i < PersonCount; ++i) {
                int p = 1 + (start + i) % (PersonCount - 1);
                if (!AdultMan(p) || IsUserPerson(p) || Demo.Special[p]) continue;
                if (pass == 0 ? Row(p)[FactionId] != f || Row(p)[Standing] != 1 : Row(p)[FactionId] != 0) continue;
                lord = p;
                break;
            }
        if (lord == 0) continue;
        DemoCastles.Param[c][LordId] = lord;
        Row(lord)[FactionId] = f;
        Row(lord)[SuperiorId] = Demo.FactionHead[f];
        Row(lord)[Standing] = 2;
        Row(lord)[MilitaryRank] = RandomRange(random, 3, 5);
        Row(lord)[OriginCastleId] = Row(lord)[LocationCastleId] = c;
    }
    // A faction with five or more castles has a corps commander: the lord of
    // its castle farthest from home, who has jurisdiction over the castles
    // nearer to his own than to the home castle.
    for (int f = 1; f <= Demo.FactionCount; ++f) {
        int home = Demo.FactionHome[f], owned = 0, far = 0;
        for (int c = 1; c < CastleRowsInUse; ++c) {
            if (DemoCastles.Param[c][OwnerFactionId] != f || !DemoCastleUsable(c)) continue;
            ++owned;
            if (c != home && DemoCastles.Param[c][LordId] > 0 && (far == 0 || CastleDistance(c, home) > CastleDistance(far, home)))
                far = c;
        }
        if (owned < 5 || far == 0) continue;
        int commander = DemoCastles.Param[far][LordId];
        Row(commander)[Standing] = 3;
        Row(commander)[MilitaryRank] = 5;
        for (int c = 1; c < CastleRowsInUse; ++c)
            if (DemoCastles.Param[c][OwnerFactionId] == f && DemoCastleUsable(c) && CastleDistance(c, far) < CastleDistance(c, home))
                DemoCastles.Param[c][JurisdictionId] = commander;
    }
    // A few persons measure loyalty toward someone other than their superior.
    for (int p = 1; p < PersonCount; ++p) {
        if (!Used(p) || Row(p)[SuperiorId] == 0 || !Chance(random, 6)) continue;
        int father = Row(p)[FatherId];
        Row(p)[LoyaltyTargetId] = Used(father) ? father : Demo.FactionHead[RandomRange(random, 1, Demo.FactionCount)];
    }
}

// ---------------------------------------------------------------- attributes

static const int TroopCap[7] = {600, 600, 700, 800, 900, 1000, 1000};

static int Clamp(int value, int low, int high) { return value < low ? low : value > high ? high : value; }

// A value around middle: the mean of three draws spreads it like a bell.
static int Around(DemoRandom* random, int middle, int spread) {
    int sum = RandomRange(random, -spread, spread) + RandomRange(random, -spread, spread) + RandomRange(random, -spread, spread);
    return middle + sum / 3;
}

static void FillAttributes(int p) {
    DemoRandom* random = &Demo.Random;
    int32_t* r = Row(p);
    int man = r[Sex] == 0;
    int type = RandomRange(random, 0, 8);
    r[AbilityType] = type;
    // Base abilities by ability type: command, valour, scheming, politics,
    // martial arts.
    int command = Around(random, 55, 45), valor = Around(random, 55, 45), strategy = Around(random, 55, 45);
    int politics = Around(random, 55, 45), martial = Around(random, 45, 40);
    switch (type) {
    case 1: valor += 45; command += 15; break;
    case 2: strategy += 40; command += 15; break;
    case 3: politics += 45; break;
    case 4: command += 45; valor += 25; strategy += 25; politics += 15; break;
    case 5: martial += 60; valor += 20; break;
    case 6: strategy += 30; martial += 35; break;
    case 7: command += 15; valor += 15; break;
    case 8: strategy += 45; politics += 20; break;
    default: break;
    }
    if (!man) valor -= 20, command -= 20, politics += 10;
    r[BaseCommand] = Clamp(command, 1, 150);
    r[BaseValor] = Clamp(valor, 1, 150);
    r[BaseStrategy] = Clamp(strategy, 1, 150);
    r[BasePolitics] = Clamp(politics, 1, 150);
    r[BaseMartialArts] = Clamp(martial, 1, 150);
    for (int g = 0; g < 5; ++g) r[BaseInfantryGrade + g] = Clamp(Around(random, man ? 6 : 3, 6), 0, 15);
    if (type == 7) r[BaseNavyGrade] = Clamp(r[BaseNavyGrade] + 6, 0, 15);
    r[BaseStamina] = Clamp(Around(random, man ? 170 : 130, 120), 20, 350);
    // Current abilities: mostly the base ones; some persons carry bonuses or
    // losses the game worked out (the editor sets them back to the base).
    int differs = Chance(random, 30);
    for (int k = 0; k < 4; ++k) r[Command + k] = Clamp(r[BaseCommand + k] + (differs ? RandomRange(random, -10, 40) : 0), 0, 200);
    for (int g = 0; g < 5; ++g) r[InfantryGrade + g] = Clamp(r[BaseInfantryGrade + g] + (differs ? RandomRange(random, -1, 2) : 0), 0, 15);
    r[MartialArts] = Clamp(r[BaseMartialArts] + (differs ? RandomRange(random, -10, 40) : 0), 0, 200);
    r[Stamina] = Clamp(r[BaseStamina] + RandomRange(random, 0, 200), 0, 999);

    r[Merit] = Clamp(r[MilitaryRank] * 9000 + RandomRange(random, 0, 12000), 0, 99999);
    r[Duty] = RandomRange(random, 0, 10);
    r[Ambition] = RandomRange(random, 0, 10);
    r[DesireType] = RandomRange(random, 0, 3);
    r[MainTendency] = RandomRange(random, 0, 9);
    r[SpeechStyle] = RandomRange(random, 0, 3) * 2 + (man ? 0 : 1);  // even for men, odd for women
    r[Portrait] = Chance(random, 65) ? RandomRange(random, 1, 33) : 0;
    r[BattlePortrait] = Chance(random, 50) ? RandomRange(random, 1, 33) : 0;
    r[DeathCause] = Chance(random, 20);
    if (r[MilitaryRank] > 0 && Active(p)) {
        int cap = TroopCap[r[MilitaryRank]];
        r[Troops] = RandomRange(random, 5, cap / 10) * 10;
        r[Training] = RandomRange(random, 30, 200);
        r[Horses] = RandomRange(random, 0, cap / 10) * 10;
        r[Guns] = Chance(random, 50) ? RandomRange(random, 0, cap / 10) * 10 : 0;
        r[FormationId] = Chance(random, 70) ? PickSelectableFormation(random) : 0;
    }
    r[Action] = RandomRange(random, 0, 300);
    r[Gold] = Active(p) ? RandomRange(random, 0, 100) * 100 : 0;
    r[Provisions] = Active(p) ? RandomRange(random, 0, 500) * 100 : 0;
    // Fields the editor carries without reading, with their known ranges.
    r[0] = Active(p);
    r[1] = Demo.HouseClan[p];
    for (int k = 20; k <= 36; ++k) r[k] = Chance(random, 20) ? RandomRange(random, 0, 100) : 0;
    r[39] = RandomRange(random, 0, 200);
    r[43] = RandomRange(random, 0, 10000);
    r[44] = RandomRange(random, 0, 10000);
    r[45] = RandomRange(random, 0, 10);
    r[46] = RandomRange(random, 0, 10);
    r[50] = RandomRange(random, 0, r[Stamina]);
    r[55] = RandomRange(random, 0, 100);
    for (int k = 69; k <= 71; ++k) r[k] = RandomRange(random, 0, 10);
    r[ListSortKey] = RandomRange(random, 0, 9999);
    r[76] = RandomRange(random, 0, 3);
    r[77] = RandomRange(random, 0, 100000);
    r[78] = RandomRange(random, 0, 10);
    r[81] = RandomRange(random, 0, 99999);
    r[85] = Chance(random, 10);
    for (int k = 89; k <= 91; ++k) r[k] = RandomRange(random, 0, 5);
    for (int k = 93; k <= 99; ++k) r[k] = Chance(random, 5) ? RandomRange(random, 1, 50) : 0;
}

// Skills that fit each slot group, no skill twice in a group; items (an
// item of a kind is one of a kind only once); and carried entries.
static void FillSkillsAndItems(int p) {
    DemoRandom* random = &Demo.Random;
    int32_t* s = PersonSkillTable[p];
    int warrior = Active(p) && Row(p)[MilitaryRank] > 0;
    static const struct {
        int First, Slots, Group;
    } Groups[3] = {{SpecialSkill1, SpecialSkillCount, 0}, {Tactic1, TacticCount, 1}, {SecretArt1, SecretArtCount, 2}};
    int counts[3] = {RandomRange(random, 0, 3), warrior ? RandomRange(random, 1, 5) : RandomRange(random, 0, 1),
                     Chance(random, 8) ? RandomRange(random, 1, 2) : 0};
    for (int g = 0; g < 3; ++g)
        for (int k = 0; k < counts[g] && k < Groups[g].Slots; ++k) {
            int skill = PickDemoSkill(random, Groups[g].Group);
            int repeated = 0;
            for (int m = 0; m < k; ++m) repeated |= s[Groups[g].First + m] == skill;
            if (!repeated) s[Groups[g].First + k] = skill;
        }
    if (Chance(random, 15))
        for (int k = 14; k < PersonSkillSlotsInUse; ++k) s[k] = RandomRange(random, 0, 30);

    int32_t* items = PersonItemTable[p];
    if (Active(p) && Chance(random, 18)) {
        int count = RandomRange(random, 1, 3);
        for (int k = 0; k < count; ++k) items[Item1 + k] = RandomRange(random, 1, ItemRowsInUse - 1);
    }
    if (Chance(random, 10))
        for (int k = ItemSlotCount; k < PersonItemSlotsInUse; ++k) items[k] = RandomRange(random, 0, 9);
}

// ---------------------------------------------------------------- affinity

static int SameFamily(int a, int b) {
    const int32_t* ra = Row(a);
    const int32_t* rb = Row(b);
    if (ra[SpouseId] == b || rb[SpouseId] == a) return 1;
    if (ra[FatherId] == b || ra[MotherId] == b || rb[FatherId] == a || rb[MotherId] == a) return 1;
    if (ra[AdoptiveParentId] == b || rb[AdoptiveParentId] == a) return 1;
    return ra[FatherId] > 0 && ra[FatherId] == rb[FatherId];
}

// Affinity of every person toward every other: 50 where nothing ties them,
// with some spread; warmer inside a faction and a family; loyalty toward the
// superior anywhere in 0..200; a grudge against another faction's head now
// and then. Rows and columns without a person stay 50.
static void FillAffinity() {
    DemoRandom* random = &Demo.Random;
    for (int a = 1; a < PersonCount; ++a) {
        if (!Used(a) && !Demo.Special[a]) continue;
        int32_t* row = AffinityMatrix[a];
        int faction = Row(a)[FactionId];
        for (int b = 1; b < PersonCount; ++b) {
            if (b == a || !Used(b)) continue;
            uint64_t bits = NextRandom(random);
            int value = 50;
            if (faction > 0 && Row(b)[FactionId] == faction) value = 60 + (int)(bits % 51);
            else if ((bits >> 8) % 100 < 20) value = 30 + (int)((bits >> 16) % 41);
            row[b] = value;
        }
        for (int b = 1; b < PersonCount; ++b)
            if (b != a && Used(b) && Demo.BloodClan[a] > 0 && Demo.BloodClan[a] == Demo.BloodClan[b] && SameFamily(a, b))
                row[b] = RandomRange(random, 110, 180);
        int spouse = Row(a)[SpouseId];
        if (Used(spouse)) row[spouse] = RandomRange(random, 100, 200);
        int superior = Row(a)[SuperiorId];
        if (Used(superior)) row[superior] = RandomRange(random, 20, 200);
        int target = Row(a)[LoyaltyTargetId];
        if (Used(target)) row[target] = RandomRange(random, 60, 200);
        if (Demo.FactionCount > 1 && Chance(random, 10)) {
            int rival = Demo.FactionHead[RandomRange(random, 1, Demo.FactionCount)];
            if (rival != a && Row(rival)[FactionId] != faction) row[rival] = RandomRange(random, 0, 20);
        }
    }
}

// ---------------------------------------------------------------- user persons

static int MakeUserPerson(int slot, int sex, int birth) {
    char surname[NameCellBytes];
    MakeRandomSurname(surname, sizeof surname);
    int p = MakePerson(slot, sex, birth, surname, 0);
    Row(p)[DeathYear] = 0;
    Demo.Special[p] = 1;
    return p;
}

static int GameManBornBetween(int first, int last) {
    for (int attempt = 0; attempt < 5000; ++attempt) {
        int p = RandomRange(&Demo.Random, 1, GamePersonSlots - 1);
        if (Used(p) && Row(p)[Sex] == 0 && Row(p)[BirthYear] >= first && Row(p)[BirthYear] <= last) return p;
    }
    return 0;
}

// The user's own persons from slot 1400: a couple with a child, the husband
// the son of a game person; a retainer of a faction; a woman adopted by a
// game person.
static void MakeUserPersons() {
    int husband = MakeUserPerson(UserPersonFirst, 0, 1535);
    int wife = MakeUserPerson(UserPersonFirst + 1, 1, 1540);
    int child = MakeUserPerson(UserPersonFirst + 2, 0, 1558);
    int retainer = MakeUserPerson(UserPersonFirst + 3, 0, 1530);
    int adopted = MakeUserPerson(UserPersonFirst + 4, 1, 1545);
    Row(husband)[FatherId] = GameManBornBetween(1490, 1515);
    Row(husband)[SpouseId] = wife;
    Row(wife)[SpouseId] = husband;
    Row(child)[FatherId] = husband;
    Row(child)[MotherId] = wife;
    SetNameCell(SurnameTable[wife], SurnameTable[husband]);
    SetNameCell(SurnameTable[child], SurnameTable[husband]);
    Row(adopted)[AdoptiveParentId] = GameManBornBetween(1500, 1525);
    int house = 0;
    for (int clan = 1; clan <= Demo.ClanCount && house == 0; ++clan)
        if (Demo.Clans[clan].Faction > 0) house = clan;
    Demo.HouseClan[retainer] = house;
}

// ---------------------------------------------------------------- the whole population

void FillDemoPersons(unsigned seed) {
    BuildDemoReference(seed);
    InitDemoTerrain(seed);
    BuildDemoCastleSites(seed);
    memset(&Demo, 0, sizeof Demo);
    Demo.Random = MakeRandom(seed, 4);
    ResetPersonTables();
    ChooseEmptySlots();
    while (Demo.SlotsLeft > ReservedSlots && Demo.ClanCount + 1 < MaxClans) MakeClan();
    MakeSpecialPersons();
    MakeAdoptions();
    FormFactions();
    MakeUserPersons();
    AssignPositions();
    for (int p = 1; p < PersonCount; ++p) {
        if (!Used(p) && !Demo.Special[p]) continue;
        FillAttributes(p);
        FillSkillsAndItems(p);
    }
    FillAffinity();
}

// ---------------------------------------------------------------- variants of the set

static void ClearPerson(int p) {
    memset(PersonTable[p], 0, sizeof PersonTable[p]);
    memset(PersonSkillTable[p], 0, sizeof PersonSkillTable[p]);
    memset(PersonItemTable[p], 0, sizeof PersonItemTable[p]);
    SetNameCell(SurnameTable[p], "－－－－－");
    SetNameCell(GivenNameTable[p], "－－－－－");
}

static int IsSomeonesSuperior(int p) {
    for (int q = 1; q < PersonCount; ++q)
        if (Row(q)[SuperiorId] == p) return 1;
    return 0;
}

void ApplyScenarioChanges(unsigned seed) {
    DemoRandom random = MakeRandom(seed, 5);
    int castleless = 0;
    for (int p = 1; p < PersonCount; ++p) {
        if (IsUserPerson(p) && p >= UserPersonFirst + 2) {
            ClearPerson(p);  // the scenario knows only the first two user persons
            continue;
        }
        if (!Used(p)) continue;
        int32_t* r = Row(p);
        int lord = r[Standing] >= 2;
        // Persons born late have not yet appeared; a few others are missing.
        int missing = r[BirthYear] > ScenarioYear - 10 ? Chance(&random, 40) : Chance(&random, 3);
        if (missing && !lord && !IsUserPerson(p) && !IsSomeonesSuperior(p)) {
            ClearPerson(p);
            continue;
        }
        // The scenario's own state: affiliation, superior, castle and army.
        if (!lord && Chance(&random, 25) && r[Standing] <= 1) {
            int faction = Chance(&random, 20) ? 0 : RandomRange(&random, 1, Demo.FactionCount);
            r[FactionId] = faction;
            r[SuperiorId] = faction ? Demo.FactionHead[faction] : 0;
            r[LoyaltyTargetId] = 0;
            r[Standing] = faction ? 1 : 0;
        }
        if (!lord && Chance(&random, 40)) r[LocationCastleId] = RandomCastle(r[FactionId]);
        if (castleless < 2 && !lord && !IsUserPerson(p) && Chance(&random, 1)) {
            r[LocationCastleId] = 0;  // the game fills it from the origin
            ++castleless;
        }
        if (r[MilitaryRank] > 0 && Chance(&random, 60)) {
            int cap = TroopCap[r[MilitaryRank]];
            r[Troops] = RandomRange(&random, 0, cap / 10) * 10;
            r[Training] = r[Troops] > 0 ? RandomRange(&random, 20, 200) : 0;
            r[Horses] = RandomRange(&random, 0, cap / 10) * 10;
        }
        r[Gold] = RandomRange(&random, 0, 100) * 100;
        r[Merit] = Clamp(r[Merit] + RandomRange(&random, -3000, 3000), 0, 99999);
        r[Action] = RandomRange(&random, 0, 300);
    }
}

// A new person of the newer defaults in a slot the older set left empty.
static void MakeDefaultPerson(int slot, DemoRandom* random) {
    int parent = 0;
    if (Chance(random, 40)) parent = FindPerson(HusbandOfMutualCouple, RandomBelow(random, PersonCount));
    int birth = parent ? Row(parent)[BirthYear] + RandomRange(random, 22, 40) : RandomRange(random, 1510, 1550);
    char surname[NameCellBytes];
    if (parent) SetNameCell(surname, SurnameTable[parent]);
    else MakeRandomSurname(surname, sizeof surname);
    int p = MakePerson(slot, RandomBelow(random, 2), birth, surname, parent ? Demo.BloodClan[parent] : 0);
    if (parent) {
        Row(p)[FatherId] = parent;
        Row(p)[MotherId] = Row(parent)[SpouseId];
    }
    Row(p)[OriginCastleId] = Row(p)[LocationCastleId] = RandomCastle(0);
    Row(p)[MilitaryRank] = Active(p) && Row(p)[Sex] == 0 ? RandomRange(random, 1, 2) : 0;
    FillAttributes(p);
    FillSkillsAndItems(p);
    for (int b = 1; b < GamePersonSlots; ++b)
        if (Used(b) && b != p) AffinityMatrix[p][b] = RandomRange(random, 40, 60);
}

void ApplyDefaultChanges(unsigned seed) {
    DemoRandom random = MakeRandom(seed, 6);
    // The defaults hold no user persons.
    for (int p = UserPersonFirst; p < PersonCount; ++p) {
        ClearPerson(p);
        for (int q = 0; q < PersonCount; ++q) AffinityMatrix[p][q] = 50;
    }
    for (int p = 1; p < GamePersonSlots; ++p) {
        if (!Used(p)) continue;
        int32_t* r = Row(p);
        if (Chance(&random, 6)) {
            // Abilities revised: base and current values both.
            for (int k = 0; k < 4; ++k) r[BaseCommand + k] = Clamp(r[BaseCommand + k] + RandomRange(&random, -15, 15), 0, 150);
            r[BaseMartialArts] = Clamp(r[BaseMartialArts] + RandomRange(&random, -10, 10), 0, 150);
            r[BaseInfantryGrade + RandomBelow(&random, 5)] = RandomRange(&random, 0, 15);
            for (int k = 0; k < 4; ++k) r[Command + k] = r[BaseCommand + k];
            for (int g = 0; g < 5; ++g) r[InfantryGrade + g] = r[BaseInfantryGrade + g];
            r[MartialArts] = r[BaseMartialArts];
            // Their feelings toward others were revised as well, toward the
            // user's persons too.
            for (int k = 0; k < 20; ++k) {
                int b = RandomRange(&random, 1, GamePersonSlots - 1);
                if (Used(b) && b != p) AffinityMatrix[p][b] = RandomRange(&random, 0, 200);
            }
            for (int b = UserPersonFirst; b < UserPersonFirst + 5; ++b) AffinityMatrix[p][b] = RandomRange(&random, 100, 150);
        }
        if (Chance(&random, 2)) PersonSkillTable[p][Tactic1] = PickDemoSkill(&random, 1);
        if (Chance(&random, 2)) {
            // Spare elements of the rows: set in the shipped files, to be
            // left alone by whatever merges them.
            r[PersonFieldsInUse] = RandomRange(&random, 1, 999);
            r[PersonFieldsInUse + 1] = RandomRange(&random, 1, 999);
            PersonSkillTable[p][PersonSkillSlotsInUse] = RandomRange(&random, 1, 99);
            PersonSkillTable[p][PersonSkillSlotsInUse + 1] = RandomRange(&random, 1, 99);
            PersonItemTable[p][PersonItemSlotsInUse] = RandomRange(&random, 1, 99);
            PersonItemTable[p][PersonItemSlotsInUse + 1] = RandomRange(&random, 1, 99);
        }
        if (Chance(&random, 1)) {
            char given[NameCellBytes];
            MakeGivenName(&random, r[Sex], given, sizeof given);
            SetNameCell(GivenNameTable[p], given);  // renamed
        }
    }
    // A few new persons in slots the older set left empty.
    int added = 0;
    for (int slot = 2; slot < GamePersonSlots && added < 5; ++slot) {
        if (!Demo.EmptySlot[slot] || Used(slot) || Chance(&random, 50)) continue;
        MakeDefaultPerson(slot, &random);
        ++added;
    }
}
