#pragma once
// The tray's own texts (UTF-8); the words it shares with the console are in
// texts/.

inline constexpr const char kTrayTitle[] = "Qeltrin Pro";

// The menu, in its order; each with an access key.
inline constexpr const char kMenuProxy[] = "プロキシを使用する(&P)";
inline constexpr const char kMenuNoProfiles[] = "(プロファイルはありません)";
inline constexpr const char kMenuSave[] = "現在の設定を保存(&S)...";
inline constexpr const char kMenuUndo[] = "元に戻す(&U)";
inline constexpr const char kMenuByNetwork[] = "ネットワークに合わせて切り替える(&N)";
inline constexpr const char kMenuOpen[] = "設定を開く(&O)...";
inline constexpr const char kMenuAutostart[] = "Windows の起動時に開始する(&W)";
inline constexpr const char kMenuExit[] = "終了(&X)";

// The tooltip's lines, before their values.
inline constexpr const char kTipProxy[] = "プロキシ: ";
inline constexpr const char kTipProfiles[] = "プロファイル: ";
inline constexpr const char kTipNetwork[] = "ネットワーク: ";

// Balloons and boxes.
inline constexpr const char kTrayNoServer[] =
    "プロキシを有効にしましたが、プロキシサーバが設定されていません。";
inline constexpr const char kTrayApplied[] = "プロファイルを適用しました: ";
inline constexpr const char kTrayInEffect[] = "プロファイルは既に適用されています: ";
// After the profile's name: why, as the console tells it.
inline constexpr const char kTrayAppliedForNetwork[] =
    "ネットワークに合わせてプロファイルを適用しました: ";
inline constexpr const char kTraySaved[] = "プロファイルを保存しました: ";
inline constexpr const char kTrayLeftOut[] = "未設定または読み取れないため含めなかった値: ";
inline constexpr const char kTrayReplace[] = "プロファイルは既にあります。置き換えますか？\n";
inline constexpr const char kTrayUnchanged[] = "元に戻す値はありません。";
inline constexpr const char kTrayChangedSince[] =
    "次の値はその後に変更されています。それでも元に戻しますか？\n";
inline constexpr const char kTrayNoDialog[] = "設定の画面が見つかりません: ";
inline constexpr const char kTrayAutostartFailed[] =
    "Windows の起動時に開始する設定を変更できませんでした。";
inline constexpr const char kTrayPathNotInCodePage[] =
    "このプログラムのパスにシステムのコード ページで表せない文字があるため、"
    "Windows の起動時に開始するよう設定できません。";
