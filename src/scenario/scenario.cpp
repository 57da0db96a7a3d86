// Scenario application: merges the editor's persons into the person files of
// a scenario without disturbing the scenario's own state (affiliation, castle,
// troops and the like).
#include "scenario.h"

#include <cstring>

#include "platform/host.h"
#include "platform/platform.h"
#include "shell/text.h"

int32_t ScenarioNumber = 1;
ScenarioTableData ScenarioTables;

static_assert(sizeof(ScenarioTables.Person) == 816816, "sdata00 layout");
static_assert(sizeof(ScenarioTables.Surname) == 64064, "sdata01 layout");
static_assert(sizeof(ScenarioTables.GivenName) == 64064, "sdata02 layout");
static_assert(sizeof(ScenarioTables.Skill) == 176176, "sdata03 layout");
static_assert(sizeof(ScenarioTables.Item) == 96096, "sdata04 layout");

// The five files in the order they are read and written, with their buffers.
struct ScenarioFile {
    const char* Name;
    void* Buffer;
    size_t Bytes;
};
static const ScenarioFile ScenarioFiles[] = {
    {"\\sdata00.dat", ScenarioTables.Person, sizeof ScenarioTables.Person},
    {"\\sdata01.dat", ScenarioTables.Surname, sizeof ScenarioTables.Surname},
    {"\\sdata02.dat", ScenarioTables.GivenName, sizeof ScenarioTables.GivenName},
    {"\\sdata03.dat", ScenarioTables.Skill, sizeof ScenarioTables.Skill},
    {"\\sdata04.dat", ScenarioTables.Item, sizeof ScenarioTables.Item},
};
constexpr int ScenarioFileCount = (int)(sizeof ScenarioFiles / sizeof ScenarioFiles[0]);

// The character fields an existing scenario person takes from the editor:
// sex, life years, current and base abilities, personality, portraits,
// parents, death cause and formation.
static const int PresentPersonFields[] = {
    Sex, BirthYear, DeathYear,
    Command, Valor, Strategy, Politics, InfantryGrade, CavalryGrade, ArcheryGrade, GunGrade, NavyGrade,
    MartialArts, Stamina,
    Duty, Ambition, 39, AbilityType, DesireType, BattlePortrait,
    MainTendency, SpeechStyle,
    BaseCommand, BaseValor, BaseStrategy, BasePolitics, BaseInfantryGrade, BaseCavalryGrade,
    BaseArcheryGrade, BaseGunGrade, BaseNavyGrade, BaseMartialArts, BaseStamina,
    Portrait, FatherId, MotherId, AdoptiveParentId, DeathCause, FormationId,
};

// What a user's own person (1400..1499) takes in addition: family links and origin.
static const int UserPersonLinkFields[] = {FatherId, MotherId, SpouseId, OriginCastleId};

static const char Caption[] = "確認";
static const char MissingFileText[] = "ファイルがありません";
static const char WriteFailedText[] = "書き込みに失敗しました";

// The path of one scenario file is assembled in a 32-byte buffer: "sdata\sdata"
// (11 bytes), the scenario number, and a file name of 12 bytes. Numbers of
// more than eight digits, and negative ones, would not fit and name no
// scenario folder.
constexpr int32_t LargestScenarioNumber = 99999999;

static void ScenarioFilePath(char (&path)[32], int32_t scenario, const char* fileName) {
    JoinTextNumber(path, "sdata\\sdata", scenario);
    JoinText(path, path, fileName);
}

static void ShowMessage(const char* text) { PlatformMessageBox(text, Caption, MessageBoxOk); }

// Reads one scenario file whole into its buffer. The part a short file does
// not cover is cleared, so nothing of an earlier application's data is ever
// written back under this file's name. 0 when the file cannot be opened.
static int ReadScenarioFile(const ScenarioFile& file, int32_t scenario) {
    char path[32];
    ScenarioFilePath(path, scenario, file.Name);
    long got = ReadGameFile(path, file.Buffer, file.Bytes);
    if (got < 0) return 0;
    if ((size_t)got < file.Bytes) memset((char*)file.Buffer + got, 0, file.Bytes - (size_t)got);
    return 1;
}

static void CopyNamesAndItems(int p) {
    // Whole cells: a name read from a file without its terminator is carried
    // as it is and never read past.
    memcpy(ScenarioTables.Surname[p], SurnameTable[p], NameCellBytes);
    memcpy(ScenarioTables.GivenName[p], GivenNameTable[p], NameCellBytes);
    memcpy(ScenarioTables.Item[p], PersonItemTable[p], PersonItemSlotsInUse * sizeof(int32_t));
}

static void MergePerson(int p) {
    const int32_t* editor = PersonTable[p];
    int32_t* scenario = ScenarioTables.Person[p];
    if (scenario[BirthYear] == 0) {
        // An empty scenario slot takes the editor's whole person, placed at
        // the castle of origin.
        CopyNamesAndItems(p);
        memcpy(scenario, editor, PersonFieldsInUse * sizeof(int32_t));
        scenario[LocationCastleId] = editor[OriginCastleId];
    } else {
        for (int field : PresentPersonFields) scenario[field] = editor[field];
        if (IsUserPerson(p)) {
            CopyNamesAndItems(p);
            // A free user person (no lord, no superior) starts at home.
            if (editor[FactionId] == 0 && editor[SuperiorId] == 0) scenario[LocationCastleId] = editor[OriginCastleId];
            for (int field : UserPersonLinkFields) scenario[field] = editor[field];
        }
        if (scenario[LocationCastleId] == 0) scenario[LocationCastleId] = editor[OriginCastleId];
    }
    memcpy(ScenarioTables.Skill[p], PersonSkillTable[p], PersonSkillSlotsInUse * sizeof(int32_t));
}

void MergeIntoScenario() {
    const int32_t scenario = ScenarioNumber;
    if (scenario < 0 || scenario > LargestScenarioNumber) {
        ShowMessage(MissingFileText);
        return;
    }
    for (int i = 0; i < ScenarioFileCount; ++i) {
        if (!ReadScenarioFile(ScenarioFiles[i], scenario)) {
            ShowMessage(MissingFileText);
            return;
        }
    }

    // Rows 0, 2000 and 2001 keep what the scenario files hold.
    for (int p = 1; p < PersonCount; ++p) MergePerson(p);

    for (int i = 0; i < ScenarioFileCount; ++i) {
        char path[32];
        ScenarioFilePath(path, scenario, ScenarioFiles[i].Name);
        WriteResult result = WriteGameFile(path, ScenarioFiles[i].Buffer, ScenarioFiles[i].Bytes);
        if (result != WriteOk) {
            // The file keeps its old content; the ones after it are not written.
            ShowMessage(result == WriteCannotOpen ? MissingFileText : WriteFailedText);
            return;
        }
    }
}

void ApplyToScenario() {
    if (PlatformMessageBox("変更内容を既存のシナリオに反映してもよろしいですか？", Caption, MessageBoxYesNo) != AnswerYes)
        return;
    ScenarioNumber = 1;
    MergeIntoScenario();
    ShowMessage("完了");
    ScenarioNumber = 1;
}
