// rosterdesk end to end: the scripted runner on small generated game folders.
#include <sys/wait.h>

#include <fstream>
#include <sstream>

#include "shell_fixture.h"
#include "store/tables.h"

// Texts as the runner's log has them (UTF-8).
#define BOX_OK_LINE(text) "ok\tok\t" u8"確認" "\t" text
static const std::string MissingPictureLine = std::string("ok\tok\t\t") + u8"bmpファイルが見つかりません";
static const std::string SaveQuestion = u8"セーブしますか？";
static const std::string Saved = u8"セーブしました";
static const std::string ScenarioQuestion = u8"変更内容を既存のシナリオに反映してもよろしいですか？";
static const std::string Done = u8"完了";

static const char* const PersonFiles[] = {"data00.dat", "data01.dat", "data02.dat", "data03.dat", "data04.dat", "data05.dat"};
static const size_t PersonFileBytes[] = {sizeof PersonTable,      sizeof SurnameTable,    sizeof GivenNameTable,
                                         sizeof PersonSkillTable, sizeof PersonItemTable, sizeof AffinityMatrix};
static const size_t OtherFileBytes[] = {
    sizeof SkillTableData::Name,     sizeof SkillTableData::Param, sizeof ItemTableData::Name,
    sizeof ItemTableData::Param,     sizeof EffectTableData::Name, sizeof EffectTableData::Param,
    sizeof FormationTableData::Name, sizeof FormationTableData::Param, sizeof CastleTableData::Name,
    sizeof CastleTableData::Param,   sizeof CastleMatrix};
static const size_t ScenarioFileBytes[] = {sizeof PersonTable, sizeof SurnameTable, sizeof GivenNameTable,
                                           sizeof PersonSkillTable, sizeof PersonItemTable};

constexpr int Shingen = 5;  // the one game person of the generated folders
constexpr int ShortFileBytes = 1024;

struct Folder {
    bool Pictures = true;
    bool ShortPersonFiles = false;  // person files cut to their first 1024 bytes
};

class ProgramTest : public ::testing::Test {
protected:
    std::string root;

    void SetUp() override {
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        char here[1024];
        ASSERT_NE(getcwd(here, sizeof here), nullptr);
        root = std::string(here) + "/" + info->name();
        ASSERT_EQ(std::system(("rm -rf '" + root + "'").c_str()), 0);
    }

    void MakeGame(const Folder& folder) {
        MakeFolder(root + "/data");
        MakeFolder(root + "/gdata");
        MakeFolder(root + "/sdata/sdata1");
        // One person: 武田信玄, born 1540, from castle 3, located at castle 9.
        std::vector<int32_t> persons(PersonRows * PersonFields, 0);
        persons[Shingen * PersonFields + BirthYear] = 1540;
        persons[Shingen * PersonFields + OriginCastleId] = 3;
        persons[Shingen * PersonFields + LocationCastleId] = 9;
        std::vector<char> surnames(sizeof SurnameTable, 0), given(sizeof GivenNameTable, 0);
        strcpy(&surnames[Shingen * NameCellBytes], "武田");
        strcpy(&given[Shingen * NameCellBytes], "信玄");
        std::vector<int32_t> affinity(PersonRows * PersonRows, 50);
        affinity[Shingen * PersonRows + 1400] = 80;
        std::vector<char> zeros(sizeof AffinityMatrix, 0);
        const void* images[] = {persons.data(), surnames.data(), given.data(), zeros.data(), zeros.data(), affinity.data()};
        for (int i = 0; i < 6; ++i)
            WriteBytes(root + "/data/" + PersonFiles[i], images[i],
                       folder.ShortPersonFiles ? ShortFileBytes : PersonFileBytes[i]);
        for (int i = 0; i < 11; ++i) {
            char name[32];
            snprintf(name, sizeof name, "/data/data%02d.dat", 6 + i);
            WriteBytes(root + name, zeros.data(), OtherFileBytes[i]);
        }
        for (int i = 0; i < 5; ++i) {
            char name[40];
            snprintf(name, sizeof name, "/sdata/sdata1/sdata%02d.dat", i);
            WriteBytes(root + name, zeros.data(), ScenarioFileBytes[i]);
        }
        if (folder.Pictures) {
            WriteBmp(root + "/gdata/tizu01.gdat", 64, 64, 0, 128, 0);
            WriteBmp(root + "/gdata/map0.gdat", 16, 16, 0, 0, 128);
            WriteBmp(root + "/gdata/etc00.gdat", 64, 32, 128, 0, 0);
        }
    }

    // Runs the runner in the folder; returns its exit code, fills Log.
    std::vector<std::string> Log;
    int Run(const std::string& script, const std::string& extraArguments = "") {
        MakeFolder(root);
        std::ofstream(root + "/script.txt") << script;
        const std::string command = "cd '" + root + "' && '" RUNNER_PATH "' --log log.txt " + extraArguments +
                                    " script.txt > runner.out 2>&1";
        const int status = std::system(command.c_str());
        Log.clear();
        std::ifstream log(root + "/log.txt");
        for (std::string line; std::getline(log, line);) Log.push_back(line);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    size_t SizeOf(const std::string& relative) { return ReadBytes(root + "/" + relative).size(); }
};

// The menu entries, at the middle of their buttons.
static const std::string EditEntry = Click(40, 47), CreateEntry = Click(40, 77), SaveEntry = Click(30, 107),
                         ScenarioEntry = Click(60, 137);

TEST_F(ProgramTest, SaveAskedAndAnswered) {
    const struct {
        const char* Answer;
        bool Written;
    } cases[] = {{"no", false}, {"yes", true}};
    for (const auto& c : cases) {
        SetUp();
        MakeGame({true, true});
        EXPECT_EQ(Run("frames 1\nanswer " + std::string(c.Answer) + "\n" + SaveEntry + "frames 2\n"), 0) << c.Answer;
        std::vector<std::string> expected = {"yesno\t" + std::string(c.Answer) + "\t" + u8"確認" + "\t" + SaveQuestion};
        if (c.Written) expected.push_back(BOX_OK_LINE(u8"セーブしました"));
        EXPECT_EQ(Log, expected) << c.Answer;
        for (int i = 0; i < 6; ++i)
            EXPECT_EQ(SizeOf(std::string("data/") + PersonFiles[i]), c.Written ? PersonFileBytes[i] : ShortFileBytes)
                << c.Answer << " " << PersonFiles[i];
    }
}

TEST_F(ProgramTest, ApplyToScenarioAskedAndReported) {
    const struct {
        const char* Answer;
        bool Merged;
    } cases[] = {{"no", false}, {"yes", true}};
    for (const auto& c : cases) {
        SetUp();
        MakeGame({});
        EXPECT_EQ(Run("frames 1\nanswer " + std::string(c.Answer) + "\n" + ScenarioEntry + "frames 2\n"), 0);
        std::vector<std::string> expected = {"yesno\t" + std::string(c.Answer) + "\t" + u8"確認" + "\t" + ScenarioQuestion};
        if (c.Merged) expected.push_back(BOX_OK_LINE(u8"完了"));
        EXPECT_EQ(Log, expected) << c.Answer;
        std::vector<char> scenario = ReadBytes(root + "/sdata/sdata1/sdata00.dat");
        ASSERT_EQ(scenario.size(), sizeof PersonTable);
        int32_t birth;
        memcpy(&birth, &scenario[(Shingen * PersonFields + BirthYear) * 4], 4);
        EXPECT_EQ(birth, c.Merged ? 1540 : 0) << c.Answer;
        // The person files are not written.
        EXPECT_EQ(SizeOf("data/data00.dat"), sizeof PersonTable);
    }
}

TEST_F(ProgramTest, MissingPicturesAreToldInOrderAndTheMenuStillOpens) {
    MakeGame({false, false});
    EXPECT_EQ(Run("frames 1\n" + SaveEntry + "frames 1\n"), 0);
    const std::vector<std::string> expected = {MissingPictureLine, MissingPictureLine, MissingPictureLine,
                                               "yesno\tno\t" + std::string(u8"確認") + "\t" + SaveQuestion};
    EXPECT_EQ(Log, expected);
}

TEST_F(ProgramTest, ClosingEndsWithCodeZeroWithoutAQuestionOrSaving) {
    const struct {
        const char* Name;
        std::string Script;
    } cases[] = {
        {"close box at the menu", "frames 3\nclose\nframes 5\n" + SaveEntry},
        {"close before the first frame", "close\n" + SaveEntry},
        {"the script simply ends", "frames 1\n"},
        {"the entries of the person screens do nothing yet", "frames 1\n" + EditEntry + CreateEntry},
    };
    for (const auto& c : cases) {
        SetUp();
        MakeGame({true, true});
        EXPECT_EQ(Run(c.Script), 0) << c.Name;
        EXPECT_EQ(Log, std::vector<std::string>()) << c.Name;
        EXPECT_EQ(SizeOf("data/data05.dat"), (size_t)ShortFileBytes) << c.Name;
    }
}

TEST_F(ProgramTest, DumpsAndSnapshot) {
    MakeGame({});
    const std::string script =
        "frames 2\nsnapshot menu.png\n"
        "dump persons persons.bin\ndump fullnames names.bin\ndump affinity affinity.bin\ndump kinship kinship.bin\n";
    ASSERT_EQ(Run(script), 0) << ReadBytes(root + "/runner.out").data();
    EXPECT_EQ(Log, std::vector<std::string>());

    std::vector<char> persons = ReadBytes(root + "/persons.bin");
    ASSERT_EQ(persons.size(), sizeof PersonTable);
    const int32_t* row = (const int32_t*)&persons[Shingen * PersonFields * 4];
    EXPECT_EQ(row[BirthYear], 1540);
    EXPECT_EQ(row[LocationCastleId], 3);  // every person starts at the castle of origin

    std::vector<char> names = ReadBytes(root + "/names.bin");
    ASSERT_EQ(names.size(), sizeof FullNameTable);
    EXPECT_STREQ(&names[Shingen * NameCellBytes], "武田信玄");

    std::vector<char> affinity = ReadBytes(root + "/affinity.bin");
    ASSERT_EQ(affinity.size(), sizeof AffinityMatrix);
    const int32_t* matrix = (const int32_t*)affinity.data();
    EXPECT_EQ(matrix[Shingen * PersonRows + 1400], 80);
    EXPECT_EQ(matrix[1 * PersonRows + 2], 50);

    EXPECT_EQ(SizeOf("kinship.bin"), sizeof KinshipMatrix);

    std::vector<char> png = ReadBytes(root + "/menu.png");
    ASSERT_GT(png.size(), 8u);
    EXPECT_EQ(std::string(png.data() + 1, 3), "PNG");
}

TEST_F(ProgramTest, ScriptErrorsGiveExitCode2) {
    MakeGame({});
    const struct {
        const char* Name;
        std::string Script;
        std::string Arguments;
    } cases[] = {
        {"unknown command", "frames 1\nfly away\n", ""},
        {"unknown table", "frames 1\ndump nothing x.bin\n", ""},
        {"dump without a file", "frames 1\ndump persons\n", ""},
        {"unwritable snapshot", "frames 1\nsnapshot no/such/folder/x.png\n", ""},
        {"bad step arguments", "frames 0\n", ""},
        {"unknown option", "frames 1\n", "--fast"},
    };
    for (const auto& c : cases) EXPECT_EQ(Run(c.Script, c.Arguments), 2) << c.Name;

    const int status = std::system("'" RUNNER_PATH "' > /dev/null 2>&1");
    EXPECT_EQ(WEXITSTATUS(status), 2);
    const int missing = std::system(("cd '" + root + "' && '" RUNNER_PATH "' no-such-script.txt > /dev/null 2>&1").c_str());
    EXPECT_EQ(WEXITSTATUS(missing), 2);
}
