// A deterministic demo game: made-up persons, castles, skills and pictures,
// for tests, benchmarks and trying the programs without a real game folder.
// The same seed gives the same bytes on every machine.
#pragma once

// Fills the six person tables (PersonTable, SurnameTable, GivenNameTable,
// PersonSkillTable, PersonItemTable, AffinityMatrix) with a demo population:
// about 1400 game persons in slots 1..1399 (a few slots left empty) in
// families over several generations, and a few user persons from slot 1400.
// Rows without a person hold the blank state (zeros, "－－－－－" names,
// affinity 50); the spare rows 2000 and 2001 are all zero. Other tables are
// not touched.
void FillDemoPersons(unsigned seed);

// Writes a complete game folder under folder, creating the folders: person,
// reference and castle files in data, newer defaults in defa, a scenario in
// sdata\sdata1 and the pictures in gdata. Returns 1 on success, or 0 after a
// message on stderr. Afterwards the person tables hold what data\data00.dat ..
// data05.dat hold.
int WriteDemoGame(const char* folder, unsigned seed);
