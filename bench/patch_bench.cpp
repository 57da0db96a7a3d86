// The update run (without its fixed one-second wait and the "終了" line) on a
// full-scale game folder, next to a baseline that only reads the twelve files
// and writes the six user files back through the same host calls. The run
// should cost little more than the file traffic it cannot avoid.
#include <benchmark/benchmark.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "patch/patch.h"
#include "platform/host.h"

namespace {

PersonFileSet Generated;
PersonFileSet CopyDefaults;
PersonFileSet CopyUser;

unsigned Random(unsigned* state) {
    *state = *state * 1103515245u + 12345u;
    return (*state >> 8) & 0xFFFFFF;
}

// A plausible set: about 85% of the game slots and a few user slots hold
// persons with names, attributes, skills, items and affinities 0..200.
void FillSet(PersonFileSet* set, unsigned seed) {
    static const char* surnames[] = {"織部", "佐々木", "長宗我部", "北条", "今川", "浅井", "朝倉", "毛利"};
    static const char* given[] = {"信房", "元親", "氏康", "義元", "長政", "義景", "元就", "久秀"};
    unsigned state = seed;
    memset(set, 0, sizeof *set);
    for (int p = 1; p < PersonCount; ++p) {
        bool used = p < GamePersonSlots ? Random(&state) % 100 < 85 : p < UserPersonFirst + 20;
        snprintf(set->Surnames[p], NameCellBytes, "%s", used ? surnames[Random(&state) % 8] : "－－－－－");
        snprintf(set->GivenNames[p], NameCellBytes, "%s", used ? given[Random(&state) % 8] : "－－－－－");
        if (!used) continue;
        for (int k = 0; k < PersonFieldsInUse; ++k) set->Persons[p][k] = (int32_t)(Random(&state) % 150);
        set->Persons[p][BirthYear] = 1500 + (int32_t)(Random(&state) % 70);
        for (int k = 0; k < 8; ++k) set->Skills[p][k] = 1 + (int32_t)(Random(&state) % 299);
        for (int k = 0; k < 3; ++k) set->Items[p][k] = 1 + (int32_t)(Random(&state) % 199);
    }
    for (int a = 0; a < PersonRows; ++a)
        for (int b = 0; b < PersonRows; ++b) set->Affinity[a][b] = (int32_t)(Random(&state) % 201);
}

void WriteSet(const char* folder, const PersonFileSet& set) {
    for (int file = 0; file < PersonFileCount; ++file) {
        char path[64];
        snprintf(path, sizeof path, "%s\\data%02d.dat", folder, file);
        WriteGameFile(path, reinterpret_cast<const char*>(&set) + PersonFiles[file].Offset, PersonFiles[file].Bytes);
    }
}

// A full-scale game folder in patch_bench.work under the working directory,
// which becomes the working directory.
bool PrepareFolder() {
    static bool ready = false;
    if (ready) return true;
    mkdir("patch_bench.work", 0755);
    if (chdir("patch_bench.work") != 0) return false;
    mkdir("defa", 0755);
    mkdir("data", 0755);
    FillSet(&Generated, 1);
    WriteSet("defa", Generated);
    FillSet(&Generated, 2);
    WriteSet("data", Generated);
    ready = true;
    return true;
}

void UpdateRun(benchmark::State& state) {
    if (!PrepareFolder()) state.SkipWithError("cannot prepare the game folder");
    for (auto _ : state) {
        int missing = LoadDefaults() + LoadUserData();
        MergeDefaults();
        int written = WriteUserData();
        if (missing != 0 || written != PersonFileCount) state.SkipWithError("update run failed");
    }
    state.SetBytesProcessed(state.iterations() * 3 * (int64_t)sizeof(PersonFileSet));
}

void CopyBaseline(benchmark::State& state) {
    if (!PrepareFolder()) state.SkipWithError("cannot prepare the game folder");
    for (auto _ : state) {
        for (int file = 0; file < PersonFileCount; ++file) {
            const PersonFileEntry& entry = PersonFiles[file];
            ReadGameFile(entry.DefaultPath, reinterpret_cast<char*>(&CopyDefaults) + entry.Offset, entry.Bytes);
            ReadGameFile(entry.UserPath, reinterpret_cast<char*>(&CopyUser) + entry.Offset, entry.Bytes);
        }
        for (int file = 0; file < PersonFileCount; ++file) {
            const PersonFileEntry& entry = PersonFiles[file];
            if (WriteGameFile(entry.UserPath, reinterpret_cast<char*>(&CopyUser) + entry.Offset, entry.Bytes) !=
                WriteOk)
                state.SkipWithError("write failed");
        }
        benchmark::DoNotOptimize(CopyUser.Affinity[0][0]);
    }
    state.SetBytesProcessed(state.iterations() * 3 * (int64_t)sizeof(PersonFileSet));
}

}  // namespace

BENCHMARK(CopyBaseline)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(UpdateRun)->Unit(benchmark::kMillisecond)->UseRealTime();
