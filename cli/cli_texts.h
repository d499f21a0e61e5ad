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
    "  profile networks <名前> <一覧|--here|--none>\n"
    "                                   プロファイルを使うネットワークを設定します\n"
    "                                   （--here: いま接続しているネットワーク）\n"
    "  profile auto [--dry-run]         接続しているネットワークのプロファイルを適用します\n"
    "  network [--json]                 接続しているネットワークと、profile auto が"
    "適用するプロファイルを表示します\n"
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
    "networks = <項目>;<項目>... はプロファイルを使うネットワークで、項目はネットワークの名前、"
    "DNS サフィックス、\n"
    "ゲートウェイのアドレスまたは MAC アドレス、SSID "
    "のどれかです（大文字と小文字は区別しません）。\n"
    "networks = * は、どのプロファイルも接続しているネットワークを指定していないときに使います。\n"
    "profile auto はログオン スクリプトやタスク スケジューラから実行できます。\n"
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
inline constexpr const char kTextLocal[] = "ローカルアドレスには使用しない";
inline constexpr const char kTextYes[] = "はい";
inline constexpr const char kTextNo[] = "いいえ";

// Profiles and undo, beside the texts the tray shares (texts/change_words.h).
inline constexpr const char kTextProfileExists[] =
    "プロファイルは既にあります（置き換えるには --force）: ";
inline constexpr const char kTextWarning[] = "警告: ";
inline constexpr const char kTextLeftOut[] = " のため、プロファイルに含めません";
inline constexpr const char kTextArrow[] = " → ";
inline constexpr const char kTextNoChange[] = " (変更なし)";
inline constexpr const char kTextChangedSince[] =
    "次の値はその後に変更されているため、元に戻しません（--force で戻します）: ";
inline constexpr const char kTextRemoveFailed[] = "削除できませんでした: ";
inline constexpr const char kTextSaved[] = "保存しました: ";
inline constexpr const char kTextRemoved[] = "削除しました: ";
inline constexpr const char kTextNetworks[] = "ネットワーク";
inline constexpr const char kTextNetworksWanted[] =
    "ネットワークの一覧 (; で区切ります)、--here、--none のどれか 1 つを指定してください。";
