// Pieces shared by the store's own sources: the texts it shows and how, and
// the steps of the start-up load that ResetGameData runs in its own order.
#pragma once

#include <cstddef>

#include "platform/platform.h"
#include "store/person_files.h"

constexpr const char* StoreCaption = "確認";
constexpr const char* MissingFileText = "ファイルがありません";
constexpr const char* SaveQuestionText = "セーブしますか？";
constexpr const char* SavedText = "セーブしました";
constexpr const char* WriteFailedText = "書き込みに失敗しました";

// A modal message box owned by the main window, caption "確認", button OK.
inline void ShowStoreNotice(const char* text) { PlatformMessageBox(text, StoreCaption, MessageBoxOk); }

// Reads data00..data05 into the person tables (see ReadPersonFiles).
// Returns the index of the first file that could not be opened, or
// PersonFileCount.
int ReadPersonTables(size_t bytesRead[PersonFileCount]);
// The rest of LoadPersonFiles once the files were read: the message for a
// missing file, or else the full names (unless the caller builds them
// itself right after) and the kinship derivation.
void FinishPersonLoad(int failedFile, bool buildNames);

// The blank state of the six person tables, except the first covered[i]
// bytes of table i (which a file has just filled). With every covered[i] 0
// this is the whole blank state of those tables.
void BlankPersonTables(const size_t covered[PersonFileCount]);
// The blank state of every other table (the derived kinship matrices, the
// reference, faction and castle tables), and the label tables.
void BlankOtherTables();
