#pragma once
// The console program's own texts (UTF-8). Where the dialog shows a message
// for the same thing, texts/messages.h has it and both use it.
#include "resources/version.h"

inline constexpr const char kTextVersion[] = "vormet-cli " QELTRIN_VERSION_TEXT " (Qeltrin Pro)\n";

inline constexpr const char kTextHelp[] =
    "Qeltrin Pro コマンドライン\n"
    "\n"
    "使い方: vormet-cli <コマンド> [引数...] [オプション]\n"
    "\n"
    "  status [--json]                  現在の設定と、それを上書きするポリシーを表示します\n"
    "  zone <項目> <値>                 ゾーンのセキュリティ設定を 1 つ変更します\n"
    "      項目: javascript, applet, java, cookies, session-cookies\n"
    "      値:   prompt | enable | disable（java は high | medium | low | disable）\n"
    "  preset <all-on|all-off|standard> ゾーンの 5 つの設定をまとめて変更します\n"
    "  proxy <on|off>                   プロキシを有効または無効にします\n"
    "  proxy server <サーバ:ポート>     プロキシサーバを設定します\n"
    "  proxy bypass <アドレス;...>      プロキシを使用しないアドレスを設定します\n"
    "  proxy local <on|off>             "
    "ローカルアドレスにプロキシを使用しないかどうかを設定します\n"
    "  cache clean <temporary|cookies> [--yes]\n"
    "                                   インターネット一時ファイルまたは Cookie を削除します\n"
    "  --help                           この説明を表示します\n"
    "  --version                        バージョンを表示します\n"
    "\n"
    "変更するコマンドのオプション:\n"
    "  --no-notify   実行中のプログラムに設定の変更を知らせません\n"
    "\n"
    "終了コード: 0 完了 / 1 読み取りまたは書き込みの失敗 / 2 使い方または値の誤り / 3 中止\n";

inline constexpr const char kTextUsage[] =
    "使い方: vormet-cli <コマンド> [引数...]（一覧は vormet-cli --help）\n";
inline constexpr const char kTextNoCommand[] = "コマンドがありません。";
inline constexpr const char kTextUnknownCommand[] = "不明なコマンドです: ";
inline constexpr const char kTextArguments[] = "引数の数が正しくありません: ";
inline constexpr const char kTextUnknownOption[] = "不明なオプションです: ";
inline constexpr const char kTextBadValue[] = "正しくない値です: ";
inline constexpr const char kTextNotAnsi[] = "システムのコード ページで表せない文字があります: ";
inline constexpr const char kTextServerTooLong[] = "プロキシサーバが長すぎます（259 バイトまで）。";
inline constexpr const char kTextListTooLong[] = "除外アドレスが長すぎます。";

inline constexpr const char kTextDone[] = "設定しました: ";
inline constexpr const char kTextUnchanged[] = "変更はありません: ";
inline constexpr const char kTextAnswer[] = " [y/n] ";
inline constexpr const char kTextCancelled[] = "中止しました。";
inline constexpr const char kTextDeleted[] = " 件削除しました。";
inline constexpr const char kTextCleanFailed[] = "URL キャッシュを最後まで調べられませんでした。";

// Status.
inline constexpr const char* const kTextZoneLabels[] = {"JavaScriptの設定", "JavaAppletの設定",
                                                        "JAVAの設定", "保存済Cookieの許可",
                                                        "セッションごとの許可"};
// By setting: prompt, enable, disable, high, medium, low.
inline constexpr const char* const kTextSettings[] = {"ダイアログを表示", "有効",      "無効",
                                                      "安全性-高",        "安全性-中", "安全性-低"};
inline constexpr const char kTextCustom[] = "カスタム";
inline constexpr const char kTextMissing[] = "未設定";
inline constexpr const char kTextUnreadable[] = "読み取れません";
inline constexpr const char kTextProxy[] = "プロキシ";
inline constexpr const char kTextOn[] = "有効";
inline constexpr const char kTextOff[] = "無効";
inline constexpr const char kTextServer[] = "プロキシサーバ";
inline constexpr const char kTextBypass[] = "次で始まるアドレスにはプロキシを使用しない";
inline constexpr const char kTextLocal[] = "ローカルアドレスには使用しない";
inline constexpr const char kTextYes[] = "はい";
inline constexpr const char kTextNo[] = "いいえ";
inline constexpr const char kTextServerList[] = "server.pxy";
inline constexpr const char kTextNone[] = "なし";
inline constexpr const char kTextPolicy[] = "ポリシー";
inline constexpr const char kTextZonesFromMachine[] =
    "ゾーンの設定はすべてコンピューターの設定が使われます (Security_HKLM_only)";
inline constexpr const char kTextZoneByPolicy[] = " はポリシーで設定されています: ";
inline constexpr const char kTextProxyPerMachine[] =
    "プロキシはコンピューター全体の設定が使われ、ユーザーごとの設定は効きません "
    "(ProxySettingsPerUser = 0)";
