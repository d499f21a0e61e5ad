#pragma once
// Texts the user reads when something happens, in message boxes or on the
// console: held as UTF-8 and widened at the platform boundary, so they read
// correctly on every system.

inline constexpr const char kMsgReadFailed[] = "取得に失敗しました。";
inline constexpr const char kMsgZoneWriteFailed[] = "セットできませんでした。";
inline constexpr const char kMsgProxyWriteFailed[] = "セットに失敗しました。";
inline constexpr const char kMsgPortMissing[] = "プロキシサーバ：ポートが未入力です。";
inline constexpr const char kMsgColonMissing[] =
    "プロキシサーバアドレスの後に、コロンを（:）付けポート番号を指定してください。";
inline constexpr const char kMsgConfirmAllOn[] = "全ての設定を有効にしてよろしいですか？";
inline constexpr const char kMsgConfirmAllOff[] = "全ての設定を無効にしてよろしいですか？";
inline constexpr const char kMsgConfirmStandard[] = "標準設定にしますか？";
inline constexpr const char kMsgConfirmDelete[] = "本当に削除してもよろしいですか？";
