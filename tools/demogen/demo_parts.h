// Internal pieces of the demo game generator, shared by its source files.
//
// Everything is integer arithmetic on a small random generator of our own, so
// one seed gives the same bytes on every machine and with every compiler.
#pragma once

#include <cstdint>

#include "store/tables.h"

// ---------------------------------------------------------------- random numbers

// splitmix64: one 64-bit state, a fixed step and an output mix.
struct DemoRandom {
    uint64_t State;
};

// A generator for one purpose (stream) of one seed; separate streams keep a
// change in one part of the generator from shifting the numbers of the others.
DemoRandom MakeRandom(unsigned seed, uint64_t stream);
uint64_t NextRandom(DemoRandom* random);
int RandomBelow(DemoRandom* random, int count);       // 0 .. count-1 (count >= 1)
int RandomRange(DemoRandom* random, int low, int high);  // low .. high inclusive
int Chance(DemoRandom* random, int percent);           // 1 with percent % probability

// Copies text into a 32-byte name cell, zero-filling the rest.
void SetNameCell(char* cell, const char* text);

// ---------------------------------------------------------------- the world

constexpr int ScenarioYear = 1560;  // the year the demo data describes
constexpr int MapWidth = 3200;
constexpr int MapHeight = 1280;
constexpr int MarkerSize = 20;

// The reference and castle tables of the demo game. They are built here, not
// in the editor's tables, so that filling the demo persons never disturbs a
// program's loaded reference data.
extern SkillTableData DemoSkills;
extern ItemTableData DemoItems;
extern EffectTableData DemoEffects;
extern FormationTableData DemoFormations;
extern CastleTableData DemoCastles;
extern int32_t DemoCastleMatrix[CastleRows][CastleRows];

// Fills the skill, item, effect and formation tables.
void BuildDemoReference(unsigned seed);
// Picks a skill that fits a person's skill slot group: 0 special skills
// (type 0), 1 tactics (type 1 or 4), 2 secret arts (type 2). Never 0.
int PickDemoSkill(DemoRandom* random, int slotGroup);
// A formation whose first unit makes it selectable. Never 0.
int PickSelectableFormation(DemoRandom* random);

// Prepares the terrain of the map for the seed; must run before the terrain
// is asked about.
void InitDemoTerrain(unsigned seed);
// Height of the land at a map pixel; 0 or less is sea.
int DemoElevation(int x, int y);

// Castle states, names, map positions and routes (owners, lords and
// jurisdictions come later, from the persons).
void BuildDemoCastleSites(unsigned seed);
inline int DemoCastleUsable(int castle) {
    return castle > 0 && castle < CastleRowsInUse && DemoCastles.Param[castle][CastleState] > 0;
}

// Writes every picture of the game folder (the map from the terrain that
// InitDemoTerrain prepared); paths are game paths under prefix. Returns 1, or
// 0 after a message on stderr.
int WriteDemoPictures(const char* prefix);
// Writes a whole buffer as a game file; 0 after a message on stderr.
int WriteDemoFile(const char* prefix, const char* name, const void* bytes, unsigned long size);

// Turns the person tables from the data set (as FillDemoPersons left them)
// into the scenario's person set: some slots empty, persons with their own
// affiliation, castle and troops.
void ApplyScenarioChanges(unsigned seed);
// Turns the person tables from the data set (as FillDemoPersons left them)
// into the newer default set: revised persons, new persons in slots that were
// empty, spare elements set, and no user persons.
void ApplyDefaultChanges(unsigned seed);
