// Loading, saving and the blank state of the game data store. Failures are
// told to the user in message boxes (caption "確認") through the window layer.
#pragma once

#include <cstdint>

// Every table to its blank state, the label tables, then the person files,
// the reference files, full names and locations (LocationCastleId := OriginCastleId).
void ResetGameData();
// The pieces of ResetGameData. SetBlankState: every table to its blank state
// (dashes, zeros, affinity 50) and the label tables filled.
// PrepareStartingPersons: for every person the full name, and the present
// castle set to the castle of origin.
void SetBlankState();
void PrepareStartingPersons();
// data00..data05 into the person tables; stops at the first missing file with
// "ファイルがありません". When all six were read: full names, then DeriveKinship.
void LoadPersonFiles();
// Asks "セーブしますか？"; on Yes writes data00..data05, then "セーブしました".
// Each file is replaced whole or not at all; the first that cannot be opened
// ("ファイルがありません") or written ("書き込みに失敗しました") ends the save.
void SavePersonFiles();
// Rebuilds FullNameTable[p] (p in 0..1999; others are ignored) from the
// surname and given name of p, cut to 31 bytes on a character boundary.
void BuildFullName(int32_t p);
// data06..data13 into the skill, item, effect and formation tables.
void LoadReferenceTables();
// data14..data16 into the castle tables.
void LoadCastleFiles();
