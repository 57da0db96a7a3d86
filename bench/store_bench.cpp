// The editor's start-up data path (blank state, the person, reference and
// castle files, full names and starting castles; without the kinship
// derivation, which another benchmark adds) next to a baseline that only
// reads the same seventeen files into the same tables. Both run against the
// demo game written once into a temporary folder; the files are in the page
// cache after the first round, so the comparison is of the work done in
// memory.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "demo_game.h"
#include "platform/host.h"
#include "store/person_files.h"
#include "store/store.h"
#include "store/store_internal.h"
#include "store/tables.h"

namespace {

struct GameFile {
    const char* Path;
    void* Table;
    size_t Bytes;
};

const GameFile Files[] = {
    {"data\\data00.dat", PersonTable, sizeof PersonTable},
    {"data\\data01.dat", SurnameTable, sizeof SurnameTable},
    {"data\\data02.dat", GivenNameTable, sizeof GivenNameTable},
    {"data\\data03.dat", PersonSkillTable, sizeof PersonSkillTable},
    {"data\\data04.dat", PersonItemTable, sizeof PersonItemTable},
    {"data\\data05.dat", AffinityMatrix, sizeof AffinityMatrix},
    {"data\\data06.dat", SkillTable.Name, sizeof SkillTable.Name},
    {"data\\data07.dat", SkillTable.Param, sizeof SkillTable.Param},
    {"data\\data08.dat", ItemTable.Name, sizeof ItemTable.Name},
    {"data\\data09.dat", ItemTable.Param, sizeof ItemTable.Param},
    {"data\\data10.dat", EffectTable.Name, sizeof EffectTable.Name},
    {"data\\data11.dat", EffectTable.Param, sizeof EffectTable.Param},
    {"data\\data12.dat", FormationTable.Name, sizeof FormationTable.Name},
    {"data\\data13.dat", FormationTable.Param, sizeof FormationTable.Param},
    {"data\\data14.dat", CastleTable.Name, sizeof CastleTable.Name},
    {"data\\data15.dat", CastleTable.Param, sizeof CastleTable.Param},
    {"data\\data16.dat", CastleMatrix, sizeof CastleMatrix},
};

char GameFolder[] = "/tmp/store_bench_XXXXXX";

void RemoveGameFolder() {
    std::error_code error;
    std::filesystem::remove_all(GameFolder, error);
}

// Writes the demo game (a full-scale folder: 2000-person tables, every
// reference and castle file at its size) into a temporary folder and makes it
// the working directory; it is removed again at exit.
void MakeGameFolder() {
    static bool made = false;
    if (made) return;
    made = true;
    if (!mkdtemp(GameFolder)) abort();
    atexit(RemoveGameFolder);
    if (!WriteDemoGame(GameFolder, 1) || chdir(GameFolder) != 0) abort();
}

void BareReads(benchmark::State& state) {
    MakeGameFolder();
    for (auto _ : state) {
        for (const GameFile& file : Files)
            if (ReadGameFile(file.Path, file.Table, file.Bytes) < 0) abort();
        benchmark::ClobberMemory();
    }
}

// The steps of ResetGameData in its order, without DeriveKinship, then
// LoadCastleFiles.
void StartUpData(benchmark::State& state) {
    MakeGameFolder();
    for (auto _ : state) {
        BlankOtherTables();
        size_t bytesRead[PersonFileCount];
        if (ReadPersonTables(bytesRead) != PersonFileCount) abort();
        BlankPersonTables(bytesRead);
        LoadReferenceTables();
        PrepareStartingPersons();
        LoadCastleFiles();
        benchmark::ClobberMemory();
    }
}

// For information: the whole start-up data path, kinship derivation included.
void StartUpDataWithKinship(benchmark::State& state) {
    MakeGameFolder();
    for (auto _ : state) {
        ResetGameData();
        LoadCastleFiles();
        benchmark::ClobberMemory();
    }
}

// For information: the part of the blank state that dominates it, clearing
// the two derived 16 MB matrices that the kinship derivation fills.
void ClearDerivedMatrices(benchmark::State& state) {
    for (auto _ : state) {
        memset(KinshipMatrix, 0, sizeof KinshipMatrix);
        memset(AcquaintanceMatrix, 0, sizeof AcquaintanceMatrix);
        benchmark::ClobberMemory();
    }
}

}  // namespace

BENCHMARK(BareReads)->Unit(benchmark::kMillisecond);
BENCHMARK(StartUpData)->Unit(benchmark::kMillisecond);
BENCHMARK(StartUpDataWithKinship)->Unit(benchmark::kMillisecond);
BENCHMARK(ClearDerivedMatrices)->Unit(benchmark::kMillisecond);
