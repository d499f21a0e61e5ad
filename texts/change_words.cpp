#include "texts/change_words.h"

#include <utility>

#include "store/keyed_table.h"
#include "store/text_format.h"
#include "texts/messages.h"
#include "texts/setting_words.h"

namespace {

constexpr std::pair<ProfileError, const char*> kProfileErrors[] = {
    {ProfileError::kNone, ""},
    {ProfileError::kNotKeyValue, "「キー = 値」の形ではありません"},
    {ProfileError::kUnknownKey, "不明なキーです"},
    {ProfileError::kKeyTwice, "同じキーが 2 度あります"},
    {ProfileError::kBadValue, "正しくない値です"},
    {ProfileError::kBadQuoting, "引用符 (\") の使い方が正しくありません"},
    {ProfileError::kNotInCodePage, "システムのコード ページで表せない文字があります"},
};
static_assert(CoversInOrder(kProfileErrors, kProfileErrorCount));

}  // namespace

std::string ProfileProblem(const LoadedProfile& loaded) {
    switch (loaded.outcome) {
        case ProfileLoad::kUnreadable:
            return Concat({"プロファイルを読み取れません: ", loaded.path});
        case ProfileLoad::kInvalid:
            return Concat({"プロファイルが正しくありません: ", loaded.path, " の ",
                           Decimal(loaded.reading.line), " 行目: ",
                           kProfileErrors[static_cast<std::size_t>(loaded.reading.error)].second});
        case ProfileLoad::kLoaded:
        case ProfileLoad::kMissing:
            break;
    }
    return "";
}

std::string ChangeFailureText(const ChangeOutcome& outcome) {
    if (outcome.undoNotSaved) {
        return kTextUndoNotSaved;
    }
    const SettingRow& row = SettingTable[outcome.row];
    return Concat(
        {row.kind == SettingKind::kZone ? kMsgZoneWriteFailed : kMsgProxyWriteFailed, " (",
         row.word, ")\n",
         outcome.rolledBack ? "変更した値は元に戻しました。" : "元に戻せなかった値があります。"});
}

std::string ChangedSinceList(const std::vector<UndoStep>& plan) {
    std::vector<std::string> labels;
    for (const UndoStep& step : plan) {
        if (step.changedSince) {
            labels.emplace_back(SettingLabel(step.row));
        }
    }
    return Joined(labels);
}
