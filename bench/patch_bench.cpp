// The update run (without its fixed one-second wait and the "終了" line) on
// the full-scale demo game folder, next to a baseline that only reads the
// twelve files and writes the six user files back through the same host
// calls. The run should cost little more than the file traffic it cannot avoid.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include "demo_game.h"
#include "patch/patch.h"
#include "platform/host.h"

namespace {

PersonFileSet CopyDefaults;
PersonFileSet CopyUser;

// The demo game (a full-scale population with newer defaults) in
// patch_bench.work under the working directory, which becomes the working
// directory.
bool PrepareFolder() {
    static int ready = 0;
    if (!ready) ready = WriteDemoGame("patch_bench.work", 1) && chdir("patch_bench.work") == 0 ? 1 : -1;
    return ready == 1;
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
