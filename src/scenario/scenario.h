// Carrying the editor's persons into the scenario files.
//
// A scenario's person files (sdata\sdata<n>\sdata00.dat .. sdata04.dat) have
// the layouts of the editor's data00..data04. The application reads them into
// buffers of its own, merges the editor's persons into those buffers field by
// field and writes them back. The editor's tables are only read.
#pragma once

#include <cstdint>

#include "store/tables.h"

// The scenario whose files are read and written; always 1.
extern int32_t ScenarioNumber;

// The five scenario files as read, merged and written: one buffer per file,
// each exactly the file's size. They live for the whole run and are refilled
// from the files by every application.
struct ScenarioTableData {
    int32_t Person[PersonRows][PersonFields];     // sdata00
    char Surname[PersonRows][NameCellBytes];      // sdata01
    char GivenName[PersonRows][NameCellBytes];    // sdata02
    int32_t Skill[PersonRows][PersonSkillSlots];  // sdata03
    int32_t Item[PersonRows][PersonItemSlots];    // sdata04
};
extern ScenarioTableData ScenarioTables;

// Asks "変更内容を既存のシナリオに反映してもよろしいですか？" (caption "確認",
// Yes/No). On Yes sets ScenarioNumber to 1, runs MergeIntoScenario and then
// shows "完了", whether or not the merge stopped on an error. On No nothing
// is read, written or shown.
void ApplyToScenario();

// Reads the five files of scenario ScenarioNumber into ScenarioTables, merges
// persons 1..1999 of the editor's tables into them and writes all five back.
// A file that cannot be read stops before anything is written; a file that
// cannot be written stops the writing there (the files before it keep their
// new content, it and the ones after it their old). Each failure shows one
// message box with the caption "確認".
void MergeIntoScenario();
