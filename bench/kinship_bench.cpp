// Kinship derivation at full scale: the fast DeriveKinship and the plain
// step-by-step reference on the same person sets, in one run.
//
// The derivation needs an all-0 matrix and rewrites spouse links, so before
// every iteration the person table is restored and the matrix zeroed with the
// clock stopped; zeroing the matrix is measured on its own (ZeroKinshipMatrix).
#include <benchmark/benchmark.h>

#include <cstring>

#include "demo_game.h"
#include "relations/family_gen.h"
#include "relations/kinship.h"
#include "relations/kinship_reference.h"
#include "store/tables.h"

namespace {

enum PersonSet { DemoGame, GameScale, Crowded, PersonSetCount };
const char* const PersonSetName[PersonSetCount] = {"demo game", "generated game scale", "generated, every slot"};

int32_t SavedPersons[PersonSetCount][PersonRows][PersonFields];
bool Saved[PersonSetCount];

void LoadPersonSet(int set) {
    if (!Saved[set]) {
        if (set == DemoGame) {
            FillDemoPersons(1);
        } else if (set == GameScale) {
            FillFamilies(1, GameScaleShape);
        } else {
            FamilyShape crowded = GameScaleShape;
            crowded.persons = PersonCount - 1;
            crowded.lastSlot = PersonCount - 1;
            crowded.generations = 7;
            FillFamilies(2, crowded);
        }
        memcpy(SavedPersons[set], PersonTable, sizeof PersonTable);
        Saved[set] = true;
    }
    memcpy(PersonTable, SavedPersons[set], sizeof PersonTable);
    memset(KinshipMatrix, 0, sizeof KinshipMatrix);
}

void CountResult(benchmark::State& state) {
    long related = 0;
    for (int x = 1; x < PersonCount; ++x) {
        for (int y = 1; y < PersonCount; ++y) related += KinshipMatrix[x][y] != 0;
    }
    state.counters["nonzero"] = static_cast<double>(related);
}

void Run(benchmark::State& state, void (*derive)()) {
    int set = static_cast<int>(state.range(0));
    state.SetLabel(PersonSetName[set]);
    for (auto _ : state) {
        state.PauseTiming();
        LoadPersonSet(set);
        state.ResumeTiming();
        derive();
        benchmark::ClobberMemory();
    }
    CountResult(state);
}

void BM_DeriveKinship(benchmark::State& state) { Run(state, DeriveKinship); }
void BM_DeriveKinshipReference(benchmark::State& state) { Run(state, DeriveKinshipReference); }

void BM_ZeroKinshipMatrix(benchmark::State& state) {
    for (auto _ : state) {
        memset(KinshipMatrix, 0, sizeof KinshipMatrix);
        benchmark::ClobberMemory();
    }
}

}  // namespace

BENCHMARK(BM_DeriveKinship)->DenseRange(0, PersonSetCount - 1)->Unit(benchmark::kMillisecond)->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_DeriveKinshipReference)->DenseRange(0, PersonSetCount - 1)->Unit(benchmark::kMillisecond)
    ->Repetitions(3)->ReportAggregatesOnly(true);
BENCHMARK(BM_ZeroKinshipMatrix)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
