// The reference files (skills, items, effects, formations) and the castle
// files: read once at start-up, never written.
#include <cstddef>

#include "platform/host.h"
#include "store/store.h"
#include "store/store_internal.h"
#include "store/tables.h"

namespace {

struct GameFile {
    const char* Path;
    void* Target;
    size_t Bytes;  // the whole table: at most this much is read
};

// Reads the files in order, each from its start and at most its table's
// size. The first file that cannot be opened is reported and ends the load:
// its table and the later ones keep what they held.
void LoadFileSet(const GameFile* files, int count) {
    for (int i = 0; i < count; ++i) {
        if (ReadGameFile(files[i].Path, files[i].Target, files[i].Bytes) < 0) {
            ShowStoreNotice(MissingFileText);
            return;
        }
    }
}

}  // namespace

void LoadReferenceTables() {
    const GameFile files[] = {
        {"data\\data06.dat", SkillTable.Name, sizeof SkillTable.Name},
        {"data\\data07.dat", SkillTable.Param, sizeof SkillTable.Param},
        {"data\\data08.dat", ItemTable.Name, sizeof ItemTable.Name},
        {"data\\data09.dat", ItemTable.Param, sizeof ItemTable.Param},
        {"data\\data10.dat", EffectTable.Name, sizeof EffectTable.Name},
        {"data\\data11.dat", EffectTable.Param, sizeof EffectTable.Param},
        {"data\\data12.dat", FormationTable.Name, sizeof FormationTable.Name},
        {"data\\data13.dat", FormationTable.Param, sizeof FormationTable.Param},
    };
    LoadFileSet(files, (int)(sizeof files / sizeof files[0]));
}

void LoadCastleFiles() {
    const GameFile files[] = {
        {"data\\data14.dat", CastleTable.Name, sizeof CastleTable.Name},
        {"data\\data15.dat", CastleTable.Param, sizeof CastleTable.Param},
        {"data\\data16.dat", CastleMatrix, sizeof CastleMatrix},
    };
    LoadFileSet(files, (int)(sizeof files / sizeof files[0]));
}
