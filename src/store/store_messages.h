// The texts the store shows, and how it shows them: a modal message box
// owned by the main window with the caption "確認".
#pragma once

#include "platform/platform.h"

constexpr const char* StoreCaption = "確認";
constexpr const char* MissingFileText = "ファイルがありません";
constexpr const char* SaveQuestionText = "セーブしますか？";
constexpr const char* SavedText = "セーブしました";
constexpr const char* WriteFailedText = "書き込みに失敗しました";

inline void ShowStoreNotice(const char* text) { PlatformMessageBox(text, StoreCaption, MessageBoxOk); }
