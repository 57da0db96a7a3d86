#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/headless.h"
#include "platform/host.h"
#include "scenario/scenario.h"
#include "store/tables.h"

namespace {

const char* const FileNames[5] = {"sdata00.dat", "sdata01.dat", "sdata02.dat", "sdata03.dat", "sdata04.dat"};

// The scenario files as the test wrote them, and as read back after a run.
ScenarioTableData Original;
ScenarioTableData Result;

void* Buffer(ScenarioTableData& t, int file) {
    void* parts[5] = {t.Person, t.Surname, t.GivenName, t.Skill, t.Item};
    return parts[file];
}
size_t BufferBytes(int file) {
    const size_t sizes[5] = {sizeof Original.Person, sizeof Original.Surname, sizeof Original.GivenName,
                             sizeof Original.Skill, sizeof Original.Item};
    return sizes[file];
}

std::string FilePath(const char* folder, int file) { return std::string(folder) + "/" + FileNames[file]; }

void WriteFile(const std::string& path, const void* bytes, size_t size) {
    FILE* f = fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr) << path;
    ASSERT_EQ(size, fwrite(bytes, 1, size, f));
    fclose(f);
}

std::string Slurp(const std::string& path) {
    FILE* f = fopen(path.c_str(), "rb");
    if (!f) return "<missing>";
    std::string s;
    char buf[65536];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, f)) > 0) s.append(buf, n);
    fclose(f);
    return s;
}

std::string Image(ScenarioTableData& t, int file) {
    return std::string((const char*)Buffer(t, file), BufferBytes(file));
}

// Names in a folder, sorted, comma-separated.
std::string Listing(const char* folder) {
    std::vector<std::string> names;
    if (DIR* dir = opendir(folder)) {
        while (dirent* e = readdir(dir))
            if (strcmp(e->d_name, ".") && strcmp(e->d_name, "..")) names.push_back(e->d_name);
        closedir(dir);
    }
    std::sort(names.begin(), names.end());
    std::string joined;
    for (const std::string& n : names) joined += (joined.empty() ? "" : ",") + n;
    return joined;
}

void ReadResult() {
    for (int i = 0; i < 5; ++i) {
        std::string bytes = Slurp(FilePath("sdata/sdata1", i));
        ASSERT_EQ(BufferBytes(i), bytes.size()) << FileNames[i];
        memcpy(Buffer(Result, i), bytes.data(), bytes.size());
    }
}

uint64_t Fnv(uint64_t h, const void* data, size_t size) {
    const unsigned char* b = (const unsigned char*)data;
    for (size_t i = 0; i < size; ++i) h = (h ^ b[i]) * 1099511628211ull;
    return h;
}
uint64_t EditorChecksum() {
    uint64_t h = 14695981039346656037ull;
    h = Fnv(h, PersonTable, sizeof PersonTable);
    h = Fnv(h, SurnameTable, sizeof SurnameTable);
    h = Fnv(h, GivenNameTable, sizeof GivenNameTable);
    h = Fnv(h, PersonSkillTable, sizeof PersonSkillTable);
    h = Fnv(h, PersonItemTable, sizeof PersonItemTable);
    return Fnv(h, AffinityMatrix, sizeof AffinityMatrix);
}

void SetName(char* cell, const char* prefix, int p) {
    memset(cell, 0, NameCellBytes);
    snprintf(cell, NameCellBytes, "%s%d", prefix, p);
}

// Every value says where it came from: the editor's tables hold 1xxxxxxx,
// the scenario files 2xxxxxxx; every slot is in use on both sides.
void FillEditorAndScenario() {
    for (int p = 0; p < PersonRows; ++p) {
        for (int f = 0; f < PersonFields; ++f) {
            PersonTable[p][f] = 10000000 + p * 1000 + f;
            Original.Person[p][f] = 20000000 + p * 1000 + f;
        }
        for (int k = 0; k < PersonSkillSlots; ++k) {
            PersonSkillTable[p][k] = 11000000 + p * 100 + k;
            Original.Skill[p][k] = 21000000 + p * 100 + k;
        }
        for (int k = 0; k < PersonItemSlots; ++k) {
            PersonItemTable[p][k] = 12000000 + p * 100 + k;
            Original.Item[p][k] = 22000000 + p * 100 + k;
        }
        SetName(SurnameTable[p], "Es", p);
        SetName(GivenNameTable[p], "Eg", p);
        SetName(Original.Surname[p], "Ss", p);
        SetName(Original.GivenName[p], "Sg", p);
    }
    for (int a = 0; a < PersonRows; ++a)
        for (int b = 0; b < PersonRows; ++b) AffinityMatrix[a][b] = (a * 7 + b) % 201;
    // Rows the merge must leave alone, empty so that they would tempt it.
    Original.Person[0][BirthYear] = 0;
    Original.Person[2000][BirthYear] = 0;
    Original.Person[2001][BirthYear] = 0;
}

void WriteScenarioFolder(const char* folder, ScenarioTableData& t) {
    for (int i = 0; i < 5; ++i) WriteFile(FilePath(folder, i), Buffer(t, i), BufferBytes(i));
}

std::string BoxText(int i) {
    const HeadlessMessageBoxRecord* r = HeadlessMessageBoxAt(i);
    return r ? r->Text : "<none>";
}

// All message texts shown, in order, separated by '|'.
std::string Boxes() {
    std::string all;
    for (int i = 0; i < HeadlessMessageBoxCount(); ++i) all += (i ? "|" : "") + BoxText(i);
    return all;
}

const std::string Question = "変更内容を既存のシナリオに反映してもよろしいですか？";

class Scenario : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(0, system("chmod -R u+w scen 2>/dev/null; rm -rf scen && mkdir -p scen/sdata/sdata1"));
        ASSERT_EQ(0, chdir("scen"));
        HeadlessReset();
        SimulateWriteFailures(0);
        ScenarioNumber = 1;
        FillEditorAndScenario();
    }
    void TearDown() override {
        SimulateWriteFailures(0);
        ASSERT_EQ(0, chdir(".."));
    }
    void Apply(int answer) {
        HeadlessQueueAnswer(answer);
        ApplyToScenario();
    }
    void ExpectUntouched(int file) {
        EXPECT_TRUE(Slurp(FilePath("sdata/sdata1", file)) == Image(Original, file)) << FileNames[file];
    }
};

enum Kind { EmptyScenarioSlot, GamePerson, UserPerson };

struct SlotCase {
    const char* What;
    int P;
    Kind Expect;
    bool EditorEmpty;
    int32_t Faction, Superior;  // editor's
    int32_t ScenarioCastle;
    int32_t ExpectedCastle;
};

// Editor: LocationCastleId 5, OriginCastleId 12. Scenario castle as given.
const SlotCase SlotCases[] = {
    {"empty scenario slot", 10, EmptyScenarioSlot, false, 3, 4, 30, 12},
    {"empty in scenario and editor", 11, EmptyScenarioSlot, true, 3, 4, 30, 12},
    {"empty user slot", 1410, EmptyScenarioSlot, false, 0, 0, 30, 12},
    {"game person", 20, GamePerson, false, 3, 4, 30, 30},
    {"game person without lord keeps castle", 21, GamePerson, false, 0, 0, 30, 30},
    {"game person at castle 0", 22, GamePerson, false, 3, 4, 0, 12},
    {"last game slot", 1399, GamePerson, false, 0, 0, 30, 30},
    {"slot 1500 is not a user slot", 1500, GamePerson, false, 0, 0, 30, 30},
    {"last slot", 1999, GamePerson, false, 0, 0, 30, 30},
    {"free user person goes home", 1400, UserPerson, false, 0, 0, 30, 12},
    {"user person with affiliation", 1401, UserPerson, false, 3, 0, 30, 30},
    {"user person with superior", 1402, UserPerson, false, 0, 4, 30, 30},
    {"user person with affiliation at castle 0", 1403, UserPerson, false, 3, 0, 0, 12},
    {"last user slot", 1499, UserPerson, false, 0, 0, 30, 12},
};

// The fields a present scenario person takes from the editor.
bool IsCharacterField(int f) {
    return f == Sex || f == BirthYear || f == DeathYear || (f >= Command && f <= Stamina) ||
           (f >= Duty && f <= BattlePortrait) || f == MainTendency || f == SpeechStyle ||
           (f >= BaseCommand && f <= BaseStamina) || f == Portrait || f == FatherId || f == MotherId ||
           f == AdoptiveParentId || f == DeathCause || f == FormationId;
}

TEST_F(Scenario, MergesEachSlotByItsRulesAndReadsTheEditorOnly) {
    for (const SlotCase& c : SlotCases) {
        int32_t* editor = PersonTable[c.P];
        editor[FactionId] = c.Faction;
        editor[SuperiorId] = c.Superior;
        editor[LocationCastleId] = 5;
        editor[OriginCastleId] = 12;
        editor[BirthYear] = c.EditorEmpty ? 0 : 1550;
        Original.Person[c.P][LocationCastleId] = c.ScenarioCastle;
        Original.Person[c.P][BirthYear] = c.Expect == EmptyScenarioSlot ? 0 : 1540;
    }
    WriteScenarioFolder("sdata/sdata1", Original);
    const uint64_t before = EditorChecksum();

    Apply(AnswerYes);
    ReadResult();

    EXPECT_EQ(before, EditorChecksum()) << "the editor's tables changed";
    for (const SlotCase& c : SlotCases) {
        SCOPED_TRACE(c.What);
        const int p = c.P;
        const bool editorNamesAndItems = c.Expect != GamePerson;
        for (int f = 0; f < PersonFields; ++f) {
            bool fromEditor = c.Expect == EmptyScenarioSlot ? f < PersonFieldsInUse
                                                            : IsCharacterField(f) ||
                                                                  (c.Expect == UserPerson &&
                                                                   (f == SpouseId || f == OriginCastleId));
            int32_t expected = fromEditor ? PersonTable[p][f] : Original.Person[p][f];
            if (f == LocationCastleId) expected = c.ExpectedCastle;
            EXPECT_EQ(expected, Result.Person[p][f]) << "field " << f;
        }
        EXPECT_EQ(0, memcmp(Result.Surname[p], editorNamesAndItems ? SurnameTable[p] : Original.Surname[p], 32));
        EXPECT_EQ(0, memcmp(Result.GivenName[p], editorNamesAndItems ? GivenNameTable[p] : Original.GivenName[p], 32));
        for (int k = 0; k < PersonItemSlots; ++k)
            EXPECT_EQ(k < 10 && editorNamesAndItems ? PersonItemTable[p][k] : Original.Item[p][k], Result.Item[p][k])
                << "item " << k;
        for (int k = 0; k < PersonSkillSlots; ++k)
            EXPECT_EQ(k < 20 ? PersonSkillTable[p][k] : Original.Skill[p][k], Result.Skill[p][k]) << "skill " << k;
    }
    // Rows 0, 2000 and 2001 stay as the scenario had them, empty or not.
    for (int p : {0, 2000, 2001}) {
        SCOPED_TRACE(p);
        EXPECT_EQ(0, memcmp(Result.Person[p], Original.Person[p], sizeof Result.Person[p]));
        EXPECT_EQ(0, memcmp(Result.Surname[p], Original.Surname[p], 32));
        EXPECT_EQ(0, memcmp(Result.GivenName[p], Original.GivenName[p], 32));
        EXPECT_EQ(0, memcmp(Result.Skill[p], Original.Skill[p], sizeof Result.Skill[p]));
        EXPECT_EQ(0, memcmp(Result.Item[p], Original.Item[p], sizeof Result.Item[p]));
    }
}

TEST_F(Scenario, AsksFirstThenReportsCompletionAndTouchesOnlyScenarioOne) {
    WriteScenarioFolder("sdata/sdata1", Original);
    ASSERT_EQ(0, mkdir("sdata/sdata2", 0755));
    WriteScenarioFolder("sdata/sdata2", Original);
    ScenarioNumber = 2;  // whatever it was, the application works on scenario 1

    Apply(AnswerYes);

    ASSERT_EQ(2, HeadlessMessageBoxCount());
    EXPECT_EQ(Question, BoxText(0));
    EXPECT_EQ(MessageBoxYesNo, HeadlessMessageBoxAt(0)->Buttons);
    EXPECT_EQ("完了", BoxText(1));
    EXPECT_EQ(MessageBoxOk, HeadlessMessageBoxAt(1)->Buttons);
    for (int i = 0; i < 2; ++i) EXPECT_STREQ("確認", HeadlessMessageBoxAt(i)->Caption);
    EXPECT_EQ(1, ScenarioNumber);

    for (int i = 0; i < 5; ++i) {
        EXPECT_FALSE(Slurp(FilePath("sdata/sdata1", i)) == Image(Original, i)) << FileNames[i] << " not merged";
        EXPECT_TRUE(Slurp(FilePath("sdata/sdata2", i)) == Image(Original, i)) << FileNames[i] << " of scenario 2";
    }
    EXPECT_EQ("sdata", Listing("."));  // no person files, nothing else
    EXPECT_EQ("sdata1,sdata2", Listing("sdata"));
    EXPECT_EQ("sdata00.dat,sdata01.dat,sdata02.dat,sdata03.dat,sdata04.dat", Listing("sdata/sdata1"));
}

TEST_F(Scenario, AnsweringNoTouchesNothingAndShowsNothingMore) {
    WriteScenarioFolder("sdata/sdata1", Original);
    Apply(AnswerNo);
    EXPECT_EQ(Question, Boxes());
    for (int i = 0; i < 5; ++i) ExpectUntouched(i);
}

TEST_F(Scenario, AMissingFileStopsBeforeAnythingIsWritten) {
    for (int missing : {0, 2, 4}) {
        SCOPED_TRACE(FileNames[missing]);
        HeadlessReset();
        WriteScenarioFolder("sdata/sdata1", Original);
        ASSERT_EQ(0, unlink(FilePath("sdata/sdata1", missing).c_str()));

        Apply(AnswerYes);

        EXPECT_EQ(Question + "|ファイルがありません|完了", Boxes());
        for (int i = 0; i < 5; ++i)
            if (i != missing) ExpectUntouched(i);
        EXPECT_EQ("<missing>", Slurp(FilePath("sdata/sdata1", missing)));
    }
    // No scenario folder at all.
    HeadlessReset();
    ASSERT_EQ(0, system("rm -rf sdata"));
    Apply(AnswerYes);
    EXPECT_EQ(Question + "|ファイルがありません|完了", Boxes());
    EXPECT_EQ("", Listing("."));
}

TEST_F(Scenario, AReadOnlyFileStopsTheWritingThere) {
    WriteScenarioFolder("sdata/sdata1", Original);
    ASSERT_EQ(0, chmod("sdata/sdata1/sdata03.dat", 0444));

    Apply(AnswerYes);

    EXPECT_EQ(Question + "|ファイルがありません|完了", Boxes());
    ReadResult();
    EXPECT_EQ(PersonTable[20][Command], Result.Person[20][Command]);  // sdata00..02 written
    EXPECT_EQ(0, memcmp(SurnameTable[1400], Result.Surname[1400], 32));
    EXPECT_EQ(0, memcmp(GivenNameTable[1400], Result.GivenName[1400], 32));
    ExpectUntouched(3);
    ExpectUntouched(4);
    EXPECT_EQ("sdata00.dat,sdata01.dat,sdata02.dat,sdata03.dat,sdata04.dat", Listing("sdata/sdata1"));
}

TEST_F(Scenario, AFailedWriteIsReportedAndStopsTheWriting) {
    WriteScenarioFolder("sdata/sdata1", Original);
    SimulateWriteFailures(1);  // sdata00 cannot be written completely

    Apply(AnswerYes);

    EXPECT_EQ(Question + "|書き込みに失敗しました|完了", Boxes());
    for (int i = 0; i < 5; ++i) ExpectUntouched(i);
    EXPECT_EQ("sdata00.dat,sdata01.dat,sdata02.dat,sdata03.dat,sdata04.dat", Listing("sdata/sdata1"));
}

TEST_F(Scenario, AShortFileNeverCarriesDataOfAnEarlierRun) {
    WriteScenarioFolder("sdata/sdata1", Original);
    Apply(AnswerYes);  // fills the buffers with merged data

    // Now the surname file holds only rows 0..99.
    char shortNames[100][NameCellBytes];
    for (int p = 0; p < 100; ++p) SetName(shortNames[p], "T", p);
    WriteFile("sdata/sdata1/sdata01.dat", shortNames, sizeof shortNames);
    HeadlessReset();
    Apply(AnswerYes);

    EXPECT_EQ(Question + "|完了", Boxes());
    ReadResult();
    const char zero[NameCellBytes] = {};
    for (int p = 0; p < PersonRows; ++p) {
        // Game persons keep the scenario's name, which is all the short file
        // gave; user persons take the editor's.
        const char* expected = IsUserPerson(p) ? SurnameTable[p] : p < 100 ? shortNames[p] : zero;
        ASSERT_EQ(0, memcmp(expected, Result.Surname[p], NameCellBytes)) << "row " << p;
    }
}

TEST_F(Scenario, AScenarioNumberWithoutAFolderNameIsAMissingFile) {
    WriteScenarioFolder("sdata/sdata1", Original);
    // What the paths of scenario 100000000 would name if cut to the 31 bytes
    // the path buffer holds: they must not be read or written either.
    ASSERT_EQ(0, mkdir("sdata/sdata100000000", 0755));
    for (int i = 0; i < 5; ++i)
        WriteFile(FilePath("sdata/sdata100000000", i).substr(0, 31), Buffer(Original, i), BufferBytes(i));
    const std::string decoys = Listing("sdata/sdata100000000");
    ASSERT_EQ("sdata00.da,sdata01.da,sdata02.da,sdata03.da,sdata04.da", decoys);
    // 99999999 is the largest that fits the path buffer; the others do not.
    for (int32_t number : {99999999, 100000000, -1, INT32_MIN, INT32_MAX}) {
        SCOPED_TRACE(number);
        HeadlessReset();
        ScenarioNumber = number;
        MergeIntoScenario();
        EXPECT_EQ("ファイルがありません", Boxes());
    }
    for (int i = 0; i < 5; ++i) {
        ExpectUntouched(i);
        EXPECT_TRUE(Slurp(FilePath("sdata/sdata100000000", i).substr(0, 31)) == Image(Original, i));
    }
    EXPECT_EQ("sdata1,sdata100000000", Listing("sdata"));
    EXPECT_EQ(decoys, Listing("sdata/sdata100000000"));
}

}  // namespace
