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
    "  status [--json]                  現在の設定、それを上書きするポリシー、"
    "一致するプロファイルを表示します\n"
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
    "  profile save <名前> [--force]    ダイアログに表示される 8 つの設定をプロファイルに"
    "保存します\n"
    "  profile apply <名前> [--dry-run] プロファイルの設定をまとめて変更します\n"
    "  profile list [--json]            プロファイルの一覧を表示します\n"
    "  profile show <名前> [--json]     プロファイルの内容を表示します\n"
    "  profile delete <名前>            プロファイルを削除します\n"
    "  undo [--force] [--dry-run]       "
    "直前の変更を元に戻します（もう一度実行するとやり直します）\n"
    "  --help                           この説明を表示します\n"
    "  --version                        バージョンを表示します\n"
    "\n"
    "変更するコマンドのオプション:\n"
    "  --no-notify   実行中のプログラムに設定の変更を知らせません\n"
    "\n"
    "プロファイルは %APPDATA%\\Qeltrin Pro\\profiles\\<名前>.ini に置かれる UTF-8 の"
    "テキストで、\n"
    "1 行に「キー = 値」を 1 つ書きます（; か # で始まる行は読み飛ばします）。例:\n"
    "  javascript = prompt\n"
    "  java = high\n"
    "  proxy = on\n"
    "  server = proxy.example.co.jp:8080\n"
    "  override = *.example.co.jp;<local>\n"
    "キーは javascript, applet, java, cookies, session-cookies（値は zone と同じ語か数値）、\n"
    "proxy（on | off）、server と override（文字列。\\\" \\\\ \\t \\r \\n \\xNN を使うときは"
    " \"...\" で囲みます）。\n"
    "書かれていない設定は変更しません。変更の前の値は %APPDATA%\\Qeltrin Pro\\undo.txt に"
    "記録され、\n"
    "undo で戻せます。\n"
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
// Followed by the bound and kTextBytesAtMost.
inline constexpr const char kTextServerTooLong[] = "プロキシサーバが長すぎます（";
inline constexpr const char kTextBytesAtMost[] = " バイトまで）。";
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

// Profiles and undo.
inline constexpr const char kTextProfiles[] = "プロファイル";
inline constexpr const char kTextNoAppFolder[] =
    "アプリケーション データ フォルダー (%APPDATA%) が見つかりません。";
inline constexpr const char kTextBadName[] =
    "プロファイル名に使えません（1～64 文字の文字、数字、空白、-、_、. で、先頭は . と空白以外。"
    "CON や NUL などの装置名は使えません）: ";
inline constexpr const char kTextNoProfile[] = "プロファイルがありません: ";
inline constexpr const char kTextProfileExists[] =
    "プロファイルは既にあります（置き換えるには --force）: ";
inline constexpr const char kTextProfileUnreadable[] = "プロファイルを読み取れません: ";
inline constexpr const char kTextProfileInvalid[] = "プロファイルが正しくありません: ";
inline constexpr const char kTextLine[] = " の ";
inline constexpr const char kTextLineEnd[] = " 行目: ";
// By ProfileError, from kNotKeyValue on.
inline constexpr const char* const kTextProfileErrors[] = {
    "「キー = 値」の形ではありません",
    "不明なキーです",
    "同じキーが 2 度あります",
    "正しくない値です",
    "引用符 (\") の使い方が正しくありません",
    "システムのコード ページで表せない文字があります",
};
inline constexpr const char kTextSaveFailed[] = "保存できませんでした: ";
inline constexpr const char kTextRemoveFailed[] = "削除できませんでした: ";
inline constexpr const char kTextListFailed[] = "プロファイルの一覧を読み取れません。";
inline constexpr const char kTextSaved[] = "保存しました: ";
inline constexpr const char kTextRemoved[] = "削除しました: ";
inline constexpr const char kTextWarning[] = "警告: ";
inline constexpr const char kTextLeftOut[] = " のため、プロファイルに含めません";
inline constexpr const char kTextArrow[] = " → ";
inline constexpr const char kTextNoChange[] = " (変更なし)";
inline constexpr const char kTextRolledBack[] = "変更した値は元に戻しました。";
inline constexpr const char kTextNotRolledBack[] = "元に戻せなかった値があります。";
inline constexpr const char kTextUndoNotSaved[] =
    "元に戻すための記録を保存できないため、変更しませんでした。";
inline constexpr const char kTextNothingToUndo[] = "元に戻す変更がありません。";
inline constexpr const char kTextUndoDamaged[] = "元に戻すための記録が正しくありません: ";
inline constexpr const char kTextChangedSince[] =
    "次の値はその後に変更されているため、元に戻しません（--force で戻します）: ";
inline constexpr const char kTextUndone[] = "元に戻しました。";
