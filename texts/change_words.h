#pragma once
// The words of profiles, undo and a change of settings (UTF-8), which the
// console and the tray both tell.
#include <string>

#include "change/setting_change.h"
#include "change/undo.h"
#include "profile/profile_store.h"

inline constexpr const char kTextNoAppFolder[] =
    "アプリケーション データ フォルダー (%APPDATA%) が見つかりません。";
inline constexpr const char kTextBadName[] =
    "プロファイル名に使えません（1～64 文字の文字、数字、空白、-、_、. で、先頭は . と空白以外。"
    "CON や NUL などの装置名は使えません）: ";
inline constexpr const char kTextNoProfile[] = "プロファイルがありません: ";
inline constexpr const char kTextSaveFailed[] = "保存できませんでした: ";
inline constexpr const char kTextListFailed[] = "プロファイルの一覧を読み取れません。";
inline constexpr const char kTextUndoNotSaved[] =
    "元に戻すための記録を保存できないため、変更しませんでした。";
inline constexpr const char kTextNothingToUndo[] = "元に戻す変更がありません。";
inline constexpr const char kTextUndoDamaged[] = "元に戻すための記録が正しくありません: ";
inline constexpr const char kTextUndone[] = "元に戻しました。";

// Why a profile that exists could not be taken: it cannot be read, or which
// line is not right and how; empty for one loaded.
std::string ProfileProblem(const LoadedProfile& loaded);

// Why a change failed, one sentence a line: the write that failed in the
// dialog's words, naming the setting, and whether everything was put back;
// or that its way back could not be recorded, and nothing else.
std::string ChangeFailureText(const ChangeOutcome& outcome);

// The settings that undo would put back though they were changed since, by
// their labels; empty when there are none.
std::string ChangedSinceList(const std::vector<UndoStep>& plan);
