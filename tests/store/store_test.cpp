// Start-up loading, saving, full names, blank state and labels of the game
// data store, against real files in a scratch game folder.
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "game_folder.h"
#include "platform/headless.h"
#include "store/store.h"

namespace {

using Bytes = std::vector<unsigned char>;
using Texts = std::vector<std::string>;

// The literals are compiled to CP932, as the program shows them.
const std::string MissingFile = "ファイルがありません";
const std::string SaveQuestion = "セーブしますか？";
const std::string Saved = "セーブしました";
const std::string WriteFailedText = "書き込みに失敗しました";
const std::string Caption = "確認";

// The texts of the message boxes shown since the last HeadlessReset.
Texts ShownMessages() {
    Texts texts;
    for (int i = 0; i < HeadlessMessageBoxCount(); ++i) texts.push_back(HeadlessMessageBoxAt(i)->Text);
    return texts;
}

// A scratch game folder and no message boxes shown yet.
class StoreTest : public GameFolderTest {
protected:
    void SetUp() override {
        GameFolderTest::SetUp();
        HeadlessReset();
    }
};

int SetOfFile(int n) { return n < 6 ? 0 : n < 14 ? 1 : 2; }  // persons, references, castles

// A file whose every byte is the same and says which file it is. In data00
// every field then equals every other, so moving the castle of origin into
// the present castle leaves the image as read.
Bytes PatternFile(int n, size_t size) { return Bytes(size, (unsigned char)(0x21 + n)); }

// What table n should hold after start-up: its blank image with the first
// bytes of the file over it (none when the file was not read), and, for the
// person table, every present castle set to the castle of origin.
Bytes ExpectedImage(int n, const Bytes& blank, const Bytes* file) {
    Bytes image = blank;
    if (file && !file->empty()) memcpy(image.data(), file->data(), std::min(file->size(), image.size()));
    if (n == 0) {
        int32_t row[PersonFields];
        for (int p = 0; p < PersonCount; ++p) {
            unsigned char* at = image.data() + sizeof row * p;
            memcpy(row, at, sizeof row);
            row[LocationCastleId] = row[OriginCastleId];
            memcpy(at, row, sizeof row);
        }
    }
    return image;
}

bool TableEquals(int n, const Bytes& expected) {
    TableImage image = ImageOfFile(n);
    return image.Bytes == expected.size() && memcmp(image.Data, expected.data(), image.Bytes) == 0;
}

std::vector<Bytes> BlankImages() {
    SetBlankState();
    std::vector<Bytes> blank;
    for (int n = 0; n < GameFileCount; ++n) blank.push_back(SnapshotOfFile(n));
    return blank;
}

void StartUp() {
    ResetGameData();
    LoadCastleFiles();
}

// ---------------------------------------------------------------- start-up

class MissingFileTest : public StoreTest, public ::testing::WithParamInterface<int> {};

// The first missing file of a set ends that set's load with one message; the
// other sets load fully.
TEST_P(MissingFileTest, StopsItsSetAndLeavesTheRestBlank) {
    const int missing = GetParam();
    std::vector<Bytes> blank = BlankImages();
    for (int n = 0; n < GameFileCount; ++n)
        if (n != missing) WriteDataFile(n, PatternFile(n, ImageOfFile(n).Bytes));

    StartUp();

    EXPECT_EQ(ShownMessages(), Texts{MissingFile});
    EXPECT_EQ(std::string(HeadlessMessageBoxAt(0)->Caption), Caption);
    EXPECT_EQ(HeadlessMessageBoxAt(0)->Buttons, MessageBoxOk);
    for (int n = 0; n < GameFileCount; ++n) {
        bool read = !(SetOfFile(n) == SetOfFile(missing) && n >= missing);
        Bytes file = PatternFile(n, ImageOfFile(n).Bytes);
        EXPECT_TRUE(TableEquals(n, ExpectedImage(n, blank[n], read ? &file : nullptr)))
            << "data" << n << (read ? " should hold its file" : " should be blank");
    }
}

INSTANTIATE_TEST_SUITE_P(EachFile, MissingFileTest, ::testing::Range(0, GameFileCount));

struct SizeCase {
    const char* Name;
    int File;
    size_t Bytes;
};

class FileSizeTest : public StoreTest, public ::testing::WithParamInterface<SizeCase> {};

// A short file fills the start of its table, a long one fills the table and
// nothing beyond it; neither is reported.
TEST_P(FileSizeTest, FillsOnlyWhatTheFileAndTheTableHold) {
    const SizeCase& c = GetParam();
    std::vector<Bytes> blank = BlankImages();
    std::mt19937 random(c.File);
    Bytes sized(c.Bytes);
    for (unsigned char& b : sized) b = (unsigned char)random();
    for (int n = 0; n < GameFileCount; ++n)
        WriteDataFile(n, n == c.File ? sized : PatternFile(n, ImageOfFile(n).Bytes));

    StartUp();

    EXPECT_EQ(ShownMessages(), Texts{});
    for (int n = 0; n < GameFileCount; ++n) {
        Bytes file = n == c.File ? sized : PatternFile(n, ImageOfFile(n).Bytes);
        EXPECT_TRUE(TableEquals(n, ExpectedImage(n, blank[n], &file))) << "data" << n;
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, FileSizeTest,
                         ::testing::Values(SizeCase{"SkillNames1000Bytes", 6, 1000},
                                           SizeCase{"FormationParams209664Bytes", 13, 209664},
                                           SizeCase{"PersonTableEndsInsideAField", 0, 1001},
                                           SizeCase{"SurnamesEndInsideACell", 1, 1000},
                                           SizeCase{"AffinityEndsInsideARow", 5, 4001},
                                           SizeCase{"SkillsEmpty", 3, 0},
                                           SizeCase{"GivenNamesOneByteLong", 2, 64065},
                                           SizeCase{"CastleMatrixHalfAnInteger", 16, 2}),
                         [](const ::testing::TestParamInfo<SizeCase>& info) { return info.param.Name; });

using NoFilesTest = StoreTest;

TEST_F(NoFilesTest, ShowsThreeMessagesAndTheBlankState) {
    StartUp();

    EXPECT_EQ(ShownMessages(), (Texts{MissingFile, MissingFile, MissingFile}));
    EXPECT_STREQ(FullNameTable[0], "－－－－－－－－");
    int wrongNames = 0, wrongAffinities = 0, wrongLocations = 0, wrongFactions = 0;
    for (int p = 1; p < PersonCount; ++p) wrongNames += strcmp(FullNameTable[p], "－－－－－－－－－－") != 0;
    for (int a = 0; a < PersonCount; ++a)
        for (int b = 0; b < PersonCount; ++b) wrongAffinities += AffinityMatrix[a][b] != 50;
    for (int p = 0; p < PersonCount; ++p)
        wrongLocations += PersonTable[p][LocationCastleId] != PersonTable[p][OriginCastleId];
    for (int f = 0; f < FactionNames; ++f) wrongFactions += strcmp(FactionNameTable[f], "－－－－－－－－") != 0;
    EXPECT_EQ(wrongNames, 0);
    EXPECT_EQ(wrongAffinities, 0);
    EXPECT_EQ(wrongLocations, 0);
    EXPECT_EQ(wrongFactions, 0);
    EXPECT_STREQ(SkillTable.Name[1], "－－－－－－");
    EXPECT_STREQ(EffectTable.Name[1], "－－－－－－－－－－－－－－－");
    EXPECT_STREQ(ItemTable.Name[1], "－－－－－－－－");
    EXPECT_STREQ(CastleTable.Name[349], "－－－－－－－－");
}

// ---------------------------------------------------------------- blank state and labels

using BlankStateTest = StoreTest;

// Spare rows and spare elements are carried through the files, so the blank
// state must not touch them; the elements in use must be blank.
TEST_F(BlankStateTest, ClearsRowsInUseAndLeavesSpares) {
    struct Cell {
        int32_t* At;
        bool Spare;
    };
    const Cell cells[] = {
        {&PersonTable[1999][99], false},       {&PersonTable[1999][100], true},
        {&PersonTable[2000][0], true},         {&PersonSkillTable[5][19], false},
        {&PersonSkillTable[5][20], true},      {&PersonItemTable[5][9], false},
        {&PersonItemTable[5][11], true},       {&AffinityMatrix[1999][2000], true},
        {&AffinityMatrix[2001][0], true},      {&KinshipMatrix[1999][1999], false},
        {&AcquaintanceMatrix[7][8], false},
        {&SkillTable.Param[299][19], false},   {&SkillTable.Param[299][20], true},
        {&SkillTable.Param[300][0], true},     {&EffectTable.Param[199][29], false},
        {&EffectTable.Param[199][30], true},   {&ItemTable.Param[199][39], false},
        {&ItemTable.Param[199][40], true},     {&FormationTable.Param[49][4 * 12 + 9], false},
        {&FormationTable.Param[49][4 * 12 + 10], true}, {&FormationTable.Param[49][5 * 12], true},
        {&FormationTable.Param[50][0], true},  {&CastleTable.Param[349][79], false},
        {&CastleTable.Param[349][80], true},   {&CastleTable.Param[350][0], true},
        {&CastleMatrix[349][349], false},      {&CastleMatrix[349][350], true},
    };
    for (const Cell& cell : cells) *cell.At = 12345;
    SurnameTable[2000][0] = 'X';
    AffinityMatrix[3][4] = 7;

    SetBlankState();

    for (const Cell& cell : cells) EXPECT_EQ(*cell.At, cell.Spare ? 12345 : 0) << "cell " << (&cell - cells);
    EXPECT_EQ(SurnameTable[2000][0], 'X');
    EXPECT_EQ(AffinityMatrix[3][4], 50);
    EXPECT_STREQ(SurnameTable[1999], "－－－－－");
    EXPECT_STREQ(FormationTable.Name[49], "－－－－－－");
}

TEST_F(BlankStateTest, FillsTheLabelTables) {
    SetBlankState();
    EXPECT_STREQ(GradeLabels[0], "G");
    EXPECT_STREQ(GradeLabels[15], "S+");
    EXPECT_STREQ(StandingLabels[3], "軍団長");
    EXPECT_STREQ(RankLabels[6], "当主");
    EXPECT_STREQ(KinshipLabel[0], "無し");
    EXPECT_STREQ(KinshipLabel[16], "義妹");
    EXPECT_STREQ(KinshipLabel[36], "曾孫娘");
    EXPECT_STREQ(KinshipLabel[39], "無し");
    for (int k = 40; k < KinshipCodes; ++k) EXPECT_STREQ(KinshipLabel[k], "－－") << k;
}

// ---------------------------------------------------------------- full names

struct NameCase {
    const char* Name;
    std::string Surname;  // 32 bytes: a cell without a terminator
    std::string Given;
    std::string Expected;
};

std::string Repeat(const std::string& text, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) out += text;
    return out;
}

// Puts text into a name cell; after the terminator the cell holds junk, which
// must not show.
void SetNameCell(char* cell, const std::string& text) {
    ASSERT_LE(text.size(), (size_t)NameCellBytes);
    memset(cell, 'J', NameCellBytes);
    memcpy(cell, text.data(), text.size());
    if (text.size() < (size_t)NameCellBytes) cell[text.size()] = 0;
}

class FullNameTest : public StoreTest, public ::testing::WithParamInterface<NameCase> {};

TEST_P(FullNameTest, JoinsWithinTheCell) {
    const NameCase& c = GetParam();
    // The last person and one in the middle; the rows after them hold text
    // that would show if a cell were read past its end.
    for (int p : {7, PersonCount - 1}) {
        SetNameCell(SurnameTable[p], c.Surname);
        SetNameCell(GivenNameTable[p], c.Given);
        SetNameCell(SurnameTable[p + 1], "ZZ");
        SetNameCell(GivenNameTable[p + 1], "ZZ");
        memset(FullNameTable[p], 'Q', NameCellBytes);
        memset(FullNameTable[p + 1], 'Q', NameCellBytes);

        BuildFullName(p);

        ASSERT_LT(strnlen(FullNameTable[p], NameCellBytes), (size_t)NameCellBytes) << "row " << p;
        EXPECT_EQ(std::string(FullNameTable[p]), c.Expected) << "row " << p;
        EXPECT_EQ(FullNameTable[p + 1][0], 'Q') << "row " << p;
    }
}

const std::string A = "あ", I = "い", Dash = "－";  // two bytes each

INSTANTIATE_TEST_SUITE_P(
    Cases, FullNameTest,
    ::testing::Values(
        NameCase{"Plain", "織田", "信長", "織田信長"},
        NameCase{"EmptySurname", "", "信長", "信長"},
        NameCase{"BothEmpty", "", "", ""},
        NameCase{"BlankNames", Repeat(Dash, 5), Repeat(Dash, 5), Repeat(Dash, 10)},
        NameCase{"ElevenAndEleven", "ABCDEFGHIJK", "abcdefghijk", "ABCDEFGHIJKabcdefghijk"},
        NameCase{"OverlongPairCutOnACharacter", Repeat(A, 10), Repeat(I, 10), Repeat(A, 10) + Repeat(I, 5)},
        NameCase{"NoRoomForHalfACharacter", std::string(30, 'A'), I, std::string(30, 'A')},
        NameCase{"SurnameWithoutTerminator", std::string(32, 'A'), "B", std::string(31, 'A')},
        NameCase{"DoubleByteSurnameWithoutTerminator", Repeat(A, 16), "B", Repeat(A, 15) + "B"},
        NameCase{"BothWithoutTerminator", std::string(32, 'A'), std::string(32, 'B'), std::string(31, 'A')},
        NameCase{"GivenWithoutTerminator", "ABCDEFGHIJK", std::string(32, 'B'),
                 "ABCDEFGHIJK" + std::string(20, 'B')},
        NameCase{"DanglingLeadByte", "AB\x81", "C", "ABC"}),
    [](const ::testing::TestParamInfo<NameCase>& info) { return info.param.Name; });

using FullNameRowTest = StoreTest;

TEST_F(FullNameRowTest, RowZeroIsDashesAndRowsOutsideArePassedOver) {
    SetNameCell(SurnameTable[0], "織田");
    SetNameCell(GivenNameTable[0], "信長");
    BuildFullName(0);
    EXPECT_STREQ(FullNameTable[0], "－－－－－－－－");

    memset(FullNameTable[2000], 0, sizeof FullNameTable[2000] * 2);
    SetNameCell(SurnameTable[2000], "X");
    for (int32_t p : {-1, 2000, 2001, INT32_MAX, INT32_MIN}) BuildFullName(p);
    EXPECT_EQ(FullNameTable[2000][0], 0);
    EXPECT_EQ(FullNameTable[2001][0], 0);
}

// ---------------------------------------------------------------- saving

// A full person file set as a player's game would hold it: random values in
// every field, spare elements and spare rows included, and names with junk
// after their terminator. Spouse links are left mutual, as the kinship
// derivation leaves them, so a save must give back every file as read except
// for the present castles.
std::vector<Bytes> PersonFileSet(unsigned seed) {
    std::mt19937 random(seed);
    std::vector<Bytes> files;
    for (int n = 0; n < 6; ++n) {
        Bytes file(ImageOfFile(n).Bytes);
        for (unsigned char& b : file) b = (unsigned char)random();
        files.push_back(file);
    }
    std::vector<int32_t> persons(files[0].size() / 4);
    memcpy(persons.data(), files[0].data(), files[0].size());
    for (int p = 0; p < PersonRows; ++p) persons[p * PersonFields + SpouseId] = 0;
    for (int p = 1; p + 1 < PersonCount; p += 10) {
        persons[p * PersonFields + SpouseId] = p + 1;
        persons[(p + 1) * PersonFields + SpouseId] = p;
    }
    memcpy(files[0].data(), persons.data(), files[0].size());
    for (int n : {1, 2}) {
        for (int p = 0; p < PersonRows; ++p) {
            const char* name = p % 3 == 0 ? "織田" : p % 3 == 1 ? "信長" : "";
            memcpy(&files[n][p * NameCellBytes], name, strlen(name) + 1);
        }
    }
    return files;
}

class SaveTest : public StoreTest {
protected:
    void SetUp() override {
        StoreTest::SetUp();
        Files = PersonFileSet(2024);
        for (int n = 0; n < 6; ++n) WriteDataFile(n, Files[n]);
        ResetGameData();
        HeadlessReset();  // the reference files are missing: not what these tests look at
    }
    std::vector<Bytes> Files;
};

TEST_F(SaveTest, WithoutEditsGivesBackTheFilesWithOnlyThePresentCastleSet) {
    EXPECT_STREQ(FullNameTable[0], "－－－－－－－－");  // row 0 of the files holds a name
    HeadlessQueueAnswer(AnswerYes);

    SavePersonFiles();

    ASSERT_EQ(ShownMessages(), (Texts{SaveQuestion, Saved}));
    EXPECT_EQ(HeadlessMessageBoxAt(0)->Buttons, MessageBoxYesNo);
    EXPECT_EQ(HeadlessMessageBoxAt(1)->Buttons, MessageBoxOk);
    EXPECT_EQ(std::string(HeadlessMessageBoxAt(0)->Caption), Caption);
    EXPECT_EQ(std::string(HeadlessMessageBoxAt(1)->Caption), Caption);
    for (int n = 1; n < 6; ++n) EXPECT_TRUE(ReadDataFile(n) == Files[n]) << "data0" << n;

    Bytes saved = ReadDataFile(0);
    ASSERT_EQ(saved.size(), Files[0].size());
    std::vector<int32_t> before(saved.size() / 4), after(saved.size() / 4);
    memcpy(before.data(), Files[0].data(), saved.size());
    memcpy(after.data(), saved.data(), saved.size());
    int differences = 0;
    for (int p = 0; p < PersonRows; ++p) {
        for (int k = 0; k < PersonFields; ++k) {
            int32_t expected = before[p * PersonFields + k];
            if (p < PersonCount && k == LocationCastleId) expected = before[p * PersonFields + OriginCastleId];
            differences += after[p * PersonFields + k] != expected;
        }
    }
    EXPECT_EQ(differences, 0);
}

TEST_F(SaveTest, AnsweredNoWritesNothing) {
    PersonTable[5][Valor] += 1;
    HeadlessQueueAnswer(AnswerNo);

    SavePersonFiles();

    EXPECT_EQ(ShownMessages(), Texts{SaveQuestion});
    for (int n = 0; n < 6; ++n) EXPECT_TRUE(ReadDataFile(n) == Files[n]) << "data0" << n;
}

// Marks every table in memory so that a rewritten file shows.
void EditEveryTable() {
    for (int n = 0; n < 6; ++n) ((unsigned char*)ImageOfFile(n).Data)[40] ^= 0x5A;
}

TEST_F(SaveTest, ReadOnlyFileStopsTheSaveBeforeIt) {
    EditEveryTable();
    ASSERT_EQ(chmod(DataFilePath(4).c_str(), 0444), 0);
    HeadlessQueueAnswer(AnswerYes);

    SavePersonFiles();

    chmod(DataFilePath(4).c_str(), 0644);
    EXPECT_EQ(ShownMessages(), (Texts{SaveQuestion, MissingFile}));
    for (int n = 0; n < 4; ++n) EXPECT_TRUE(ReadDataFile(n) == SnapshotOfFile(n)) << "data0" << n << " rewritten";
    for (int n = 4; n < 6; ++n) EXPECT_TRUE(ReadDataFile(n) == Files[n]) << "data0" << n << " untouched";
    EXPECT_EQ(FolderEntryCount("data"), 6);
}

TEST_F(SaveTest, WriteFailureIsReportedAndLeavesNoTornFile) {
    EditEveryTable();
    SimulateWriteFailures(1);
    HeadlessQueueAnswer(AnswerYes);

    SavePersonFiles();

    EXPECT_EQ(ShownMessages(), (Texts{SaveQuestion, WriteFailedText}));
    EXPECT_EQ(std::string(HeadlessMessageBoxAt(1)->Caption), Caption);
    for (int n = 0; n < 6; ++n) EXPECT_TRUE(ReadDataFile(n) == Files[n]) << "data0" << n;
    EXPECT_EQ(FolderEntryCount("data"), 6);

    // The next save goes through.
    HeadlessReset();
    HeadlessQueueAnswer(AnswerYes);
    SavePersonFiles();
    EXPECT_EQ(ShownMessages(), (Texts{SaveQuestion, Saved}));
    for (int n = 0; n < 6; ++n) EXPECT_TRUE(ReadDataFile(n) == SnapshotOfFile(n)) << "data0" << n;
}

TEST_F(SaveTest, MissingFolderIsReported) {
    std::error_code error;
    std::filesystem::remove_all("data", error);
    HeadlessQueueAnswer(AnswerYes);

    SavePersonFiles();

    EXPECT_EQ(ShownMessages(), (Texts{SaveQuestion, MissingFile}));
    EXPECT_FALSE(std::filesystem::exists("data"));
}

// ---------------------------------------------------------------- any file content

// Random files of random sizes (some missing, some short, some long), with
// name bytes rich in Shift-JIS lead bytes and poor in terminators, through
// every loader and a save. Run under the sanitizer build, this shows that no
// content makes the store read or write outside a table.
using RandomFilesTest = StoreTest;

TEST_F(RandomFilesTest, LoadAndSaveStayInsideTheTables) {
    std::mt19937 random(77);
    const unsigned char nameBytes[] = {0x00, 'A', 0x81, 0x9F, 0xE0, 0xFC, 0x7C, 0x40, 0xA0, 0xFD, 0xFF};
    for (int round = 0; round < 12; ++round) {
        bool setMissing[3] = {false, false, false};
        for (int n = 0; n < GameFileCount; ++n) {
            size_t table = ImageOfFile(n).Bytes;
            std::remove(DataFilePath(n).c_str());
            int mode = (int)(random() % 8);
            if (mode == 0) {
                setMissing[SetOfFile(n)] = true;
                continue;
            }
            // The affinity matrix is large: mostly short, so rounds stay quick.
            size_t size = mode == 1   ? 0
                          : mode <= 4 ? random() % (n == 5 ? 65536 : table)
                          : mode <= 6 ? table
                                      : table + random() % 4096;
            if (n == 5 && mode > 4 && round % 4 != 0) size = 8192;
            Bytes file(size);
            bool names = n == 1 || n == 2 || (n >= 6 && n % 2 == 0);
            for (unsigned char& b : file)
                b = names ? nameBytes[random() % sizeof nameBytes] : (unsigned char)random();
            WriteDataFile(n, file);
        }
        HeadlessReset();
        memset(FullNameTable[2000], 'Q', sizeof FullNameTable[2000] * 2);

        StartUp();

        int expectedMessages = setMissing[0] + setMissing[1] + setMissing[2];
        EXPECT_EQ(HeadlessMessageBoxCount(), expectedMessages) << "round " << round;
        int badNames = 0, badLocations = 0;
        for (int p = 0; p < PersonCount; ++p) {
            size_t length = strnlen(FullNameTable[p], NameCellBytes);
            badNames += length >= (size_t)NameCellBytes || Cp932FitLength(FullNameTable[p], length, length) != length;
            badLocations += PersonTable[p][LocationCastleId] != PersonTable[p][OriginCastleId];
        }
        EXPECT_EQ(badNames, 0) << "round " << round;
        EXPECT_EQ(badLocations, 0) << "round " << round;
        EXPECT_EQ(FullNameTable[2000][0], 'Q');
        EXPECT_EQ(FullNameTable[2001][31], 'Q');

        if (round % 4 == 0) {
            HeadlessReset();
            HeadlessQueueAnswer(AnswerYes);
            SavePersonFiles();
            EXPECT_EQ(ShownMessages(), (Texts{SaveQuestion, Saved})) << "round " << round;
            for (int n = 0; n < 6; ++n) EXPECT_TRUE(ReadDataFile(n) == SnapshotOfFile(n)) << "data0" << n;
        }
    }
}

}  // namespace
