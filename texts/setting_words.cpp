#include "texts/setting_words.h"

#include <cstring>
#include <iterator>
#include <utility>

#include "proxy/proxy_settings.h"
#include "store/keyed_table.h"
#include "store/text_format.h"

namespace {

using S = ZoneSetting;

// By the setting's word in profiles.
constexpr std::pair<const char*, const char*> kLabels[] = {
    {"javascript", "JavaScriptの設定"},
    {"applet", "JavaAppletの設定"},
    {"java", "JAVAの設定"},
    {"cookies", "保存済Cookieの許可"},
    {"session-cookies", "セッションごとの許可"},
    {"proxy", "プロキシ"},
    {"server", "プロキシサーバ"},
    {"override", "次で始まるアドレスにはプロキシを使用しない"},
};
static_assert(std::size(kLabels) == kSettingCount);

constexpr std::pair<ZoneSetting, const char*> kSettingTexts[] = {
    {S::kPrompt, "ダイアログを表示"}, {S::kEnable, "有効"},      {S::kDisable, "無効"},
    {S::kHigh, "安全性-高"},          {S::kMedium, "安全性-中"}, {S::kLow, "安全性-低"},
};
static_assert(CoversInOrder(kSettingTexts, kZoneSettingCount));

}  // namespace

const char* SettingLabel(std::size_t row) {
    for (const auto& [word, label] : kLabels) {
        if (std::strcmp(word, SettingTable[row].word) == 0) {
            return label;
        }
    }
    return "";
}

const char* OutcomeLabel(ReadOutcome outcome) {
    return outcome == ReadOutcome::kMissing ? kTextMissing : kTextUnreadable;
}

ZoneMeaning MeaningOf(std::size_t option, const SettingReading& reading) {
    if (reading.outcome != ReadOutcome::kRead) {
        return {reading.outcome == ReadOutcome::kMissing ? "missing" : "unreadable",
                OutcomeLabel(reading.outcome)};
    }
    const ZoneChoice* choice = FindZoneChoice(option, reading.value.number);
    if (choice == nullptr) {
        return {"custom", "カスタム"};
    }
    return {ZoneSettingWord(choice->setting),
            kSettingTexts[static_cast<std::size_t>(choice->setting)].second};
}

std::string Utf8(std::string_view ansi, CharsetSeam& charset) {
    std::string utf8;
    charset.FromAnsi(ansi, &utf8);
    return utf8;
}

std::string ShownNumber(std::uint32_t value) {
    return value > 0xFFFF ? Concat({"0x", Hex(value)}) : Decimal(value);
}

std::string ShownSetting(std::size_t row, const SettingReading& reading, CharsetSeam& charset) {
    const bool read = reading.outcome == ReadOutcome::kRead;
    switch (SettingTable[row].kind) {
        case SettingKind::kZone: {
            std::string shown = MeaningOf(SettingTable[row].option, reading).label;
            if (read) {
                shown += Concat({" (", ShownNumber(reading.value.number), ")"});
            }
            return shown;
        }
        case SettingKind::kSwitch:
            if (ProxyIsOn({reading.outcome, reading.value.number})) {
                return kTextOn;
            }
            return Concat({kTextOff, " (",
                           read ? ShownNumber(reading.value.number) : OutcomeLabel(reading.outcome),
                           ")"});
        case SettingKind::kText:
            break;
    }
    return read ? Utf8(reading.value.text, charset) : OutcomeLabel(reading.outcome);
}
