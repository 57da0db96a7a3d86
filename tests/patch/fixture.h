// Generated game folders for the rosterpatch tests, and the rule every user
// file must satisfy after a refresh.
#pragma once

#include <map>
#include <string>

#include "patch/patch.h"

// The two sets of a fixture folder. Default and user values differ in every
// element, so any element taken from the wrong set shows. Slots chosen for
// the cases that matter:
//   12    present default; surname "佐々木" (6 bytes) over the user's
//         "長宗我部元親" (12 bytes)
//   20    default BirthYear 0, user slot holds a person
//   21    default BirthYear negative
//   1399  last game slot, present; default surname fills the whole cell
//         without a terminator
//   1400  user person; the default slot is present too and must be ignored
extern PersonFileSet FixtureDefaults;
extern PersonFileSet FixtureUser;
void MakeFixture();

// The file image of one table of a set.
std::string TableImage(const PersonFileSet& set, int file);

struct GameFolder {
    std::string Defaults[PersonFileCount];
    std::string User[PersonFileCount];
    bool DefaultMissing[PersonFileCount] = {};
    bool UserMissing[PersonFileCount] = {};
};
// The fixture's twelve full-size images.
GameFolder FixtureFolder();
// Replaces folder (removed first) with defa/ and data/ holding the images.
void WriteGameFolder(const std::string& folder, const GameFolder& content);

std::string ReadWholeFile(const std::string& path);
// Every file under folder, by relative path, with its bytes.
std::map<std::string, std::string> Snapshot(const std::string& folder);

// Checks a refreshed user file against the rule: in each game slot whose
// default BirthYear (from defaultPersons, the default data00 image) is above
// 0, the refreshed part holds the default bytes; every other byte holds the
// user's bytes from before. Images shorter than the table count as
// zero-filled. Returns "" when the file obeys, else where it first does not.
std::string CheckRefreshed(int file, const std::string& defaultPersons, const std::string& defaults,
                           const std::string& before, const std::string& after);

// Console lines as the tool prints them on Linux (UTF-8, one per line).
std::string Lines(std::initializer_list<const char*> lines);
