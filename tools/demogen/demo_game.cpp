// Writing the demo game folder. The person files of every set are written
// from the editor's person tables, so what FillDemoPersons builds is exactly
// what the files hold.
#include "demo_game.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "demo_parts.h"
#include "platform/host.h"

int WriteDemoFile(const char* prefix, const char* name, const void* bytes, unsigned long size) {
    std::string path = std::string(prefix) + "\\" + name;
    WriteResult result = WriteGameFile(path.c_str(), bytes, size);
    if (result == WriteOk) return 1;
    fprintf(stderr, "rosterdemo: cannot write %s\n", path.c_str());
    return 0;
}

// The person files of one set: the five person tables, and the affinity
// matrix unless the set has none (the scenario).
static int WritePersonSet(const char* prefix, const char* stem, int withAffinity) {
    const struct {
        const void* Table;
        unsigned long Size;
    } Tables[6] = {
        {PersonTable, sizeof PersonTable},           {SurnameTable, sizeof SurnameTable},
        {GivenNameTable, sizeof GivenNameTable},     {PersonSkillTable, sizeof PersonSkillTable},
        {PersonItemTable, sizeof PersonItemTable},   {AffinityMatrix, sizeof AffinityMatrix},
    };
    for (int k = 0; k < (withAffinity ? 6 : 5); ++k) {
        char name[40];
        snprintf(name, sizeof name, "%s%02d.dat", stem, k);
        if (!WriteDemoFile(prefix, name, Tables[k].Table, Tables[k].Size)) return 0;
    }
    return 1;
}

static int WriteReferenceAndCastles(const char* prefix) {
    const struct {
        const char* Name;
        const void* Table;
        unsigned long Size;
    } Files[] = {
        {"data\\data06.dat", DemoSkills.Name, sizeof DemoSkills.Name},
        {"data\\data07.dat", DemoSkills.Param, sizeof DemoSkills.Param},
        {"data\\data08.dat", DemoItems.Name, sizeof DemoItems.Name},
        {"data\\data09.dat", DemoItems.Param, sizeof DemoItems.Param},
        {"data\\data10.dat", DemoEffects.Name, sizeof DemoEffects.Name},
        {"data\\data11.dat", DemoEffects.Param, sizeof DemoEffects.Param},
        {"data\\data12.dat", DemoFormations.Name, sizeof DemoFormations.Name},
        {"data\\data13.dat", DemoFormations.Param, sizeof DemoFormations.Param},
        {"data\\data14.dat", DemoCastles.Name, sizeof DemoCastles.Name},
        {"data\\data15.dat", DemoCastles.Param, sizeof DemoCastles.Param},
        {"data\\data16.dat", DemoCastleMatrix, sizeof DemoCastleMatrix},
    };
    for (const auto& file : Files)
        if (!WriteDemoFile(prefix, file.Name, file.Table, file.Size)) return 0;
    return 1;
}

// Creates the folders of the game under folder and gives the folder as a
// path relative to the working directory, the form game paths take.
static int PrepareFolders(const char* folder, std::string* prefix) {
    if (!folder || !folder[0]) {
        fprintf(stderr, "rosterdemo: no folder given\n");
        return 0;
    }
    static const char* const Folders[] = {"data", "defa", "sdata/sdata1", "gdata/g00"};
    std::error_code error;
    for (const char* sub : Folders) {
        std::filesystem::create_directories(std::filesystem::path(folder) / sub, error);
        if (error) {
            fprintf(stderr, "rosterdemo: cannot create %s/%s: %s\n", folder, sub, error.message().c_str());
            return 0;
        }
    }
    std::filesystem::path relative = std::filesystem::relative(folder, error);
    if (error || relative.empty()) {
        fprintf(stderr, "rosterdemo: cannot reach %s from the working directory\n", folder);
        return 0;
    }
    *prefix = relative.generic_string();
    return 1;
}

int WriteDemoGame(const char* folder, unsigned seed) {
    std::string prefix;
    if (!PrepareFolders(folder, &prefix)) return 0;
    const char* at = prefix.c_str();

    FillDemoPersons(seed);
    if (!WritePersonSet(at, "data\\data", 1) || !WriteReferenceAndCastles(at) || !WriteDemoPictures(at)) return 0;

    ApplyScenarioChanges(seed);
    if (!WritePersonSet(at, "sdata\\sdata1\\sdata", 0)) return 0;

    FillDemoPersons(seed);
    ApplyDefaultChanges(seed);
    if (!WritePersonSet(at, "defa\\data", 1)) return 0;

    FillDemoPersons(seed);  // leave the tables holding the data set
    return 1;
}
