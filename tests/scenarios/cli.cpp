// The console program, scenario by scenario. Each starts on a clean machine:
// no values, no read-only key, no server.pxy, an empty URL cache.
#include "resources/version.h"
#include "tests/scenario/script.h"

namespace {

using namespace scenario;
using namespace std::string_view_literals;

// The server list too; where the user's and the machine's policies differ, the machine's wins.
TEST_P(CliScenario, StatusShowsEachSettingWithItsMeaningAndEachPolicy) {
    s.Usual();
    s.ServerList("a:1\nb:2\n");
    s.Given({kZonesFromMachine}, Dword(1));
    s.Given({kProxyPerUser}, Dword(0));
    s.Given({Ref{kUserPolicyZone, "1400"}}, Dword(3));
    s.Given({Ref{kUserPolicyZone, "1A02"}}, Dword(1));
    s.Given({Ref{kPolicyZone, "1A02"}}, Dword(0));
    s.Given({Ref{kPolicyZone, "1C00"}}, Dword(0x10000));
    s.ReadOnly(kPolicy);
    s.ReadOnly(kPolicyZone);
    s.Run({"status"}).Out("JavaScriptの設定: ダイアログを表示 (1)\n");
    s.Out("JavaAppletの設定: 有効 (0)\n");
    s.Out("JAVAの設定: 安全性-高 (0x10000)\n");
    s.Out("保存済Cookieの許可: 無効 (3)\n");
    s.Out("セッションごとの許可: ダイアログを表示 (1)\n");
    s.Out("プロキシ: 有効\n");
    s.Out("プロキシサーバ: proxy.example:8080\n");
    s.Out("次で始まるアドレスにはプロキシを使用しない: *.intra\n");
    s.Out("ローカルアドレスには使用しない: はい\n");
    s.Out("server.pxy: a:1, b:2\n");
    s.Out("プロファイル: なし\n");
    s.Out("ポリシー: ゾーンの設定はすべてコンピューターの設定が使われます (Security_HKLM_only)\n");
    s.Out("ポリシー: JavaScriptの設定 はポリシーで設定されています: 3\n");
    s.Out("ポリシー: JAVAの設定 はポリシーで設定されています: 0x10000\n");
    s.Out("ポリシー: 保存済Cookieの許可 はポリシーで設定されています: 0\n");
    s.Out(
        "ポリシー: プロキシはコンピューター全体の設定が使われ、"
        "ユーザーごとの設定は効きません (ProxySettingsPerUser = 0)\n");
    s.Notified(0);
    s.Run({"status", "--json"})
        .OutHas(R"("policy": {"zonesFromMachine": true, )"
                R"("zoneOptions": {"javascript": 3, "java": 65536, "cookies": 0}, )"
                R"("proxyPerMachine": true})");
}

// And the proxy off; numbers up to 0xFFFF show in decimal.
TEST_P(CliScenario, StatusTellsCustomMissingAndUnreadableApart) {
    s.Given({kScript}, Dword(0xFFFF));
    s.Given({kApplet}, Raw(kRegBinary, "\x01\0"sv));
    s.Given({kCookies}, Dword(0));
    s.Given({kSessionCookies}, Dword(3));
    s.Given({kProxyEnable}, Dword(2));
    s.Given({kProxyServer}, Sz(std::string(260, 's')));
    s.Run({"status"}).Out("JavaScriptの設定: カスタム (65535)\n");
    s.Out("JavaAppletの設定: 読み取れません\n");
    s.Out("JAVAの設定: 未設定\n");
    s.Out("保存済Cookieの許可: 有効 (0)\n");
    s.Out("セッションごとの許可: 無効 (3)\n");
    s.Out("プロキシ: 無効 (2)\n");
    s.Out("プロキシサーバ: 読み取れません\n");
    s.Out("次で始まるアドレスにはプロキシを使用しない: 未設定\n");
    s.Out("ローカルアドレスには使用しない: いいえ\n");
    s.Out("server.pxy: なし\n");
    s.Out("プロファイル: なし\n");
    s.Out("ポリシー: なし\n");
}

// The proxy and the server list too, on one line; texts it cannot read are null.
TEST_P(CliScenario, StatusJsonGivesEveryKindOfValueInItsShape) {
    s.Given({kScript}, Dword(1));
    s.Given({kApplet}, Dword(0));
    s.Given({kJava}, Dword(0x30000));
    s.Given({kCookies}, Dword(0x10000));
    s.Given({kSessionCookies}, Raw(kRegBinary, "\x01\0"sv));
    s.Given({kProxyEnable}, Dword(1));
    s.Given({kProxyServer}, Sz("p:1"));
    s.Given({kProxyOverride}, Sz("a\"b;<local>"));
    s.ServerList("x:1\n\ny:2\n");
    s.Given({kZonesFromMachine}, Dword(0));
    s.Given({kProxyPerUser}, Dword(1));
    s.Run({"status", "--json"});
    s.Out(R"({"zone": {"javascript": {"value": 1, "setting": "prompt"}, )"
          R"("applet": {"value": 0, "setting": "enable"}, )"
          R"("java": {"value": 196608, "setting": "low"}, )"
          R"("cookies": {"value": 65536, "setting": "custom"}, )"
          R"("session-cookies": {"value": null, "setting": "unreadable"}}, )"
          R"("proxy": {"enabled": true, "server": "p:1", "bypass": "a\"b", "local": true, )"
          R"("serverList": ["x:1", "", "y:2"]}, )"
          R"("policy": {"zonesFromMachine": false, "zoneOptions": {}, "proxyPerMachine": false}, )"
          R"("matchingProfiles": []})"
          "\n");
    s.Given({kApplet}, kMissing);
    s.Given({kProxyEnable}, Dword(2));
    s.Given({kProxyServer, kProxyOverride}, kMissing);
    s.ServerList("");
    s.Run({"status", "--json"})
        .OutHas(R"("applet": {"value": null, "setting": "missing"}, )")
        .OutHas(R"("proxy": {"enabled": false, "server": null, "bypass": null, "local": false, )"
                R"("serverList": []}, )");
}

// And tells running programs unless asked not to.
TEST_P(CliScenario, ZoneStoresTheValueOfTheDialogsButton) {
    s.Usual();
    s.Run({"zone", "applet", "prompt", "--no-notify"}).Out("設定しました: applet prompt\n");
    s.Notified(0);
    s.Stored({kApplet}, Dword(1));
    s.Run({"zone", "java", "medium"}).Out("設定しました: java medium\n").Notified(1);
    s.Stored({kJava}, Dword(0x20000));
    s.Run({"zone", "session-cookies", "disable"}).Out("設定しました: session-cookies disable\n");
    s.Stored({kSessionCookies}, Dword(3));
}

// Nothing is written; --help and --version print to standard output.
TEST_P(CliScenario, WhatDoesNotExistIsRefusedWithTheUsage) {
    s.Usual();
    s.Run({"zone", "java", "prompt"}).Exit(2).Err("正しくない値です: prompt\n");
    s.Err("使い方: vormet-cli <コマンド> [引数...]（一覧は vormet-cli --help）\n");
    s.Notified(0);
    const std::pair<std::vector<std::string>, std::string> refused[] = {
        {{"zone", "flash", "enable"}, "正しくない値です: flash\n"},
        {{"proxy", "maybe"}, "正しくない値です: maybe\n"},
        {{"cache", "clean", "everything"}, "正しくない値です: everything\n"},
        {{"proxy", "server"}, "引数の数が正しくありません: proxy server\n"},
        {{"proxy", "bypass"}, "引数の数が正しくありません: proxy bypass\n"},
        {{"proxy", "local"}, "引数の数が正しくありません: proxy local\n"},
        {{"cache"}, "引数の数が正しくありません: cache\n"},
        {{"flush", "clean", "cookies"}, "不明なコマンドです: flush clean cookies\n"},
        {{"status", "--no-notify"}, "不明なオプションです: --no-notify\n"},
        {{"preset", "standard", "--yes"}, "不明なオプションです: --yes\n"},
        {{"profile", "delete", "x", "--json"}, "不明なオプションです: --json\n"},
        {{}, "コマンドがありません。\n"},
    };
    for (const auto& [args, error] : refused) {
        s.Run(args).Exit(2).ErrHas(error);
    }
    s.Run({"--help"})
        .OutHas("Qeltrin Pro コマンドライン\n")
        .OutHas("\n  zone <項目> <値>                 ゾーンのセキュリティ設定を 1 つ変更します\n")
        .OutHas(
            "\n終了コード: 0 完了 / 1 読み取りまたは書き込みの失敗 / 2 使い方または値の誤り / "
            "3 中止\n");
    s.Run({"--version"}).Out("vormet-cli " QELTRIN_VERSION_TEXT " (Qeltrin Pro)\n");
}

// And names them; a zone key that may not be changed fails each option.
TEST_P(CliScenario, PresetWritesTheDialogsRows) {
    s.Usual();
    s.Run({"preset", "all-on"});
    s.Out(
        "設定しました: javascript enable, applet enable, java low, cookies enable, "
        "session-cookies enable\n");
    s.Notified(1);
    s.Stored({kScript, kApplet, kCookies, kSessionCookies}, Dword(0));
    s.Stored({kJava}, Dword(0x30000));
    s.ReadOnly(kZone);
    s.Run({"preset", "all-off"}).Exit(1).Err("セットできませんでした。 (javascript disable)\n");
    s.Err("セットできませんでした。 (applet disable)\n");
    s.Err("セットできませんでした。 (java disable)\n");
    s.Err("セットできませんでした。 (cookies disable)\n");
    s.Err("セットできませんでした。 (session-cookies disable)\n");
    s.Notified(0);
    s.Run({"zone", "java", "low"}).Exit(1).Err("セットできませんでした。\n");
}

// A settings key that may not be changed fails.
TEST_P(CliScenario, ProxyOnAndOffStoreTheSwitch) {
    s.Usual();
    s.Run({"proxy", "off"}).Out("設定しました: proxy off\n").Notified(1);
    s.Stored({kProxyEnable}, Dword(0));
    s.Run({"proxy", "on"}).Out("設定しました: proxy on\n").Stored({kProxyEnable}, Dword(1));
    s.ReadOnly(kSettings);
    s.Run({"proxy", "off"}).Exit(1).Err("セットに失敗しました。\n").Notified(0);
}

// And refuses what the dialog refuses.
TEST_P(CliScenario, ProxyServerStoresATextWithAColonAsGiven) {
    s.Usual();
    s.Run({"proxy", "server", "http=a:80;https=b:443"});
    s.Out("設定しました: proxy server http=a:80;https=b:443\n");
    s.Stored({kProxyServer}, Sz("http=a:80;https=b:443"));
    const std::pair<std::string, std::string> refused[] = {
        {"", "プロキシサーバ：ポートが未入力です。\n"},
        {"example.com",
         "プロキシサーバアドレスの後に、コロンを（:）付けポート番号を指定してください。\n"},
        {":" + std::string(259, 't'), "プロキシサーバが長すぎます（259 バイトまで）。\n"},
        {"€:80", "システムのコード ページで表せない文字があります: €:80\n"},
    };
    for (const auto& [server, error] : refused) {
        s.Run({"proxy", "server", server}).Exit(2).ErrHas(error);
    }
    s.ReadOnly(kSettings);
    s.Run({"proxy", "server", "c:1"}).Exit(1).Err("セットに失敗しました。\n");
}

// And never replaces a list it cannot read.
TEST_P(CliScenario, ProxyBypassKeepsTheLocalEntryAsStored) {
    s.Usual();
    s.Run({"proxy", "bypass", "a;b"}).Out("設定しました: proxy bypass a;b\n");
    s.Stored({kProxyOverride}, Sz("a;b;<local>"));
    s.Given({kProxyOverride}, Sz("x"));
    s.Run({"proxy", "bypass", "--", "--c;<local>"}).Out("設定しました: proxy bypass --c;<local>\n");
    s.Stored({kProxyOverride}, Sz("--c;<local>"));
    s.Given({kProxyOverride}, Sz(std::string(65536, 'h')));
    s.Run({"proxy", "bypass", "d"}).Exit(1).Err("取得に失敗しました。\n");
}

// Of a 5,000-byte list; nothing changes when it is already so.
TEST_P(CliScenario, ProxyLocalAddsOrStripsTheEntry) {
    const std::string list(4992, 'h');
    s.Usual();
    s.Given({kProxyOverride}, Sz(list));
    s.Run({"proxy", "local", "on"}).Out("設定しました: proxy local on\n").Notified(1);
    s.Stored({kProxyOverride}, Sz(list + ";<local>"));
    s.Run({"proxy", "local", "on"}).Out("変更はありません: proxy local on\n").Notified(0);
    s.Run({"proxy", "local", "off"}).Out("設定しました: proxy local off\n");
    s.Stored({kProxyOverride}, Sz(list));
    s.Run({"proxy", "local", "off"}).Out("変更はありません: proxy local off\n");
    s.Given({kProxyOverride}, kMissing);
    s.Run({"proxy", "local", "on"}).Out("設定しました: proxy local on\n");
    s.Stored({kProxyOverride}, Sz(";<local>"));
    s.Given({kProxyOverride}, Sz(std::string(65536, 'h')));
    s.Run({"proxy", "local", "off"}).Exit(1).Err("取得に失敗しました。\n");
}

// It reads y or n.
TEST_P(CliScenario, CacheCleanAsksFirstAndDeletesWhatTheButtonsDo) {
    s.CacheEntry(kContent, "http://a.example/");
    s.CacheEntry(kCookie, "Cookie:user@a.example/");
    s.CacheEntry(kContent, "http://b.example/x.png");
    s.CacheEntry(kCookie, "Cookie:user@b.example/");
    s.Run({"cache", "clean", "temporary"}, "n\n").Exit(3);
    s.Err("本当に削除してもよろしいですか？ [y/n] 中止しました。\n");
    s.Run({"cache", "clean", "temporary"}).Exit(3).Err("本当に削除してもよろしいですか？ [y/n] \n");
    s.Err("中止しました。\n");
    s.Run({"cache", "clean", "temporary"}, "maybe\ny\n");
    s.Err("本当に削除してもよろしいですか？ [y/n] 本当に削除してもよろしいですか？ [y/n] ");
    s.Out("2 件削除しました。\n");
    s.Notified(0);
    s.Cache({"Cookie:user@a.example/", "Cookie:user@b.example/"});
    s.CacheEntry(kContent, "http://c.example/");
    s.Run({"cache", "clean", "cookies", "--yes"}).Out("2 件削除しました。\n");
    s.Cache({"http://c.example/"});
}

TEST_P(CliScenario, ProxyBypassRefusesAListThatCouldNotBeReadBack) {
    if (!Native()) {
        GTEST_SKIP() << "Windows runs no command line that long";
    }
    s.Usual();
    s.Run({"proxy", "bypass", std::string(65528, 'e')}).Exit(2);
    s.ErrHas("除外アドレスが長すぎます。\n");
}

}  // namespace
