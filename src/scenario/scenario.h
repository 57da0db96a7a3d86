// Carrying the editor's persons into the scenario files.
#pragma once

#include <cstdint>

// Asks "変更内容を既存のシナリオに反映してもよろしいですか？"; on Yes reads the five
// scenario files of scenario ScenarioNumber, merges the editor's persons into
// them and writes them back, then shows "完了".
void ApplyToScenario();
