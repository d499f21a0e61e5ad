// The console program's profiles and undo, scenario by scenario. Each starts without the console's
// own files, as a user who never saved a profile.
#include "tests/scenario/script.h"

namespace {

using namespace scenario;
using namespace std::string_view_literals;

constexpr std::string_view kMark = "\xEF\xBB\xBF";

std::string Profile(const std::string& name) {
    return "profiles\\" + name + ".ini";
}

// What save writes of the usual machine.
const std::string kUsualProfile =
    std::string(kMark) +
    "javascript = prompt\r\napplet = enable\r\njava = high\r\ncookies = disable\r\n"
    "session-cookies = prompt\r\nproxy = on\r\nserver = proxy.example:8080\r\n"
    "override = *.intra;<local>\r\n";

// In words where a button stands for a value, in hexadecimal where none does, texts UTF-8 and
// quoted only where they must be; a value it cannot read is left out with a warning. An existing
// profile, whatever the case of its name, is replaced only with --force.
TEST_P(CliScenario, ProfileSaveWritesTheValuesAsTheDialogReadsThem) {
    const std::string leftOut = " のため、プロファイルに含めません\n";
    s.Usual();
    s.Run({"profile", "save", "会社"})
        .Out("保存しました: 会社\n")
        .File(Profile("会社"), kUsualProfile);
    s.Given({kJava}, Dword(0x800000));
    s.Given({kCookies}, Raw(kRegBinary, "\x03\0\0\0"sv));
    s.Given({kSessionCookies}, kMissing);
    s.Given({kProxyEnable}, Dword(2));
    s.Given({kProxyServer}, Raw(kRegBinary, " \xB1\\b\t\"\x81:1\0"sv));
    s.Given({kProxyOverride}, Raw(kRegBinary, "\x01\0"sv));
    s.Run({"profile", "save", "会社"})
        .Exit(2)
        .Err("プロファイルは既にあります（置き換えるには --force）: 会社\n");
    s.Run({"profile", "save", "会社", "--force"}).Out("保存しました: 会社\n");
    s.Err("警告: セッションごとの許可: 未設定" + leftOut);
    s.File(Profile("会社"), std::string(kMark) +
                                "javascript = prompt\r\napplet = enable\r\njava = 0x800000\r\n"
                                "cookies = disable\r\nproxy = 0x2\r\n"
                                "server = \" ｱ\\\\b\\t\\\"\\x81:1\"\r\noverride = \"\\x01\"\r\n");
    s.Given({kProxyOverride}, Sz(std::string(65536, 'h')));
    s.Run({"profile", "save", "Home"}).Out("保存しました: Home\n");
    s.Err("警告: セッションごとの許可: 未設定" + leftOut);
    s.Err("警告: 次で始まるアドレスにはプロキシを使用しない: 読み取れません" + leftOut);
    s.Run({"profile", "save", "HOME"})
        .Exit(2)
        .Err("プロファイルは既にあります（置き換えるには --force）: HOME\n");
}

// Told in the words of status, written as the dialog writes it: a custom number and a quoted text
// come back exactly as saved, a value of another type that reads the same stays as it is. --dry-run
// stops before writing, and an apply that changes nothing records nothing, so undo still takes back
// the apply before it, deleting the value that apply created.
TEST_P(CliScenario, ProfileApplyWritesOnlyWhatDiffersAndTellsIt) {
    const std::string server = " \xB1\x95\\\\b\t\"q:1";  // 表 ends in a backslash's byte
    const std::string shown = " ｱ表\\b\t\"q:1";
    s.Usual();
    s.Given({kJava}, Dword(0x800000));
    s.Given({kProxyServer}, Sz(server));
    s.Run({"profile", "save", "会社"}).Out("保存しました: 会社\n");
    s.Given({kScript}, Dword(3));
    s.Given({kCookies}, Raw(kRegBinary, "\x03\0\0\0"sv));
    s.Given({kJava}, Dword(0x10000));
    s.Given({kProxyEnable}, kMissing);
    s.Given({kProxyServer}, Sz("other:1"));
    const std::string told =
        "JavaScriptの設定: 無効 (3) → ダイアログを表示 (1)\n"
        "JavaAppletの設定: 有効 (0) (変更なし)\n"
        "JAVAの設定: 安全性-高 (0x10000) → カスタム (0x800000)\n"
        "保存済Cookieの許可: 無効 (3) (変更なし)\n"
        "セッションごとの許可: ダイアログを表示 (1) (変更なし)\n"
        "プロキシ: 無効 (未設定) → 有効\n"
        "プロキシサーバ: other:1 → " +
        shown +
        "\n"
        "次で始まるアドレスにはプロキシを使用しない: *.intra;<local> (変更なし)\n";
    s.Run({"profile", "apply", "会社", "--dry-run"}).Out(told).Notified(0);
    s.Run({"profile", "apply", "会社"}).Out(told).Out("設定しました: profile 会社\n").Notified(1);
    s.Stored({kScript}, Dword(1)).Stored({kJava}, Dword(0x800000));
    s.Stored({kProxyEnable}, Dword(1)).Stored({kProxyServer}, Sz(server));
    s.Run({"profile", "apply", "会社", "--no-notify"}).OutHas("変更はありません: profile 会社\n");
    s.Run({"undo"}).Out("JavaScriptの設定: ダイアログを表示 (1) → 無効 (3)\n");
    s.Out("JAVAの設定: カスタム (0x800000) → 安全性-高 (0x10000)\n");
    s.Out("プロキシ: 有効 → 無効 (未設定)\n");
    s.Out("プロキシサーバ: " + shown + " → other:1\n").Out("元に戻しました。\n").Notified(1);
    s.Stored({kScript}, Dword(3)).Stored({kJava}, Dword(0x10000));
    s.Stored({kProxyEnable}, kMissing).Stored({kProxyServer}, Sz("other:1"));
}

// Written by hand: no byte-order mark, LF lines, comments, blanks, any case and numbers of both
// kinds. A value a policy overrides is written all the same, with a warning.
TEST_P(CliScenario, AProfileChangesOnlyWhatItNames) {
    s.Usual();
    s.Given({kZonesFromMachine}, Dword(1));
    s.GivenFile(Profile("自宅"),
                "; at home\n\n  # no proxy\n  JAVA\t=\tLow  \nProxy = OFF\n"
                "cookies = 0X10000\nsession-cookies = 196608\n");
    s.Run({"profile", "apply", "自宅"});
    s.Out("JAVAの設定: 安全性-高 (0x10000) → 安全性-低 (0x30000)\n");
    s.Out("保存済Cookieの許可: 無効 (3) → カスタム (0x10000)\n");
    s.Out("セッションごとの許可: ダイアログを表示 (1) → カスタム (0x30000)\n");
    s.Out("プロキシ: 有効 → 無効 (0)\n").Out("設定しました: profile 自宅\n");
    for (const char* label : {"JAVAの設定", "保存済Cookieの許可", "セッションごとの許可"}) {
        s.Err("警告: " + std::string(label) +
              ": ゾーンの設定はすべてコンピューターの設定が使われます (Security_HKLM_only)\n");
    }
    s.Stored({kJava}, Dword(0x30000)).Stored({kCookies}, Dword(0x10000));
    s.Stored({kSessionCookies}, Dword(0x30000)).Stored({kProxyEnable}, Dword(0));
}

// Naming the file and the line: nothing is written, and no undo point is recorded.
TEST_P(CliScenario, AProfileWrongInAnyLineIsRefusedWhole) {
    const std::string quoting = "の 1 行目: 引用符 (\") の使い方が正しくありません";
    s.Usual();
    const std::pair<std::string, std::string> refused[] = {
        {"javascript = disable\nnonsense\n", "の 2 行目: 「キー = 値」の形ではありません"},
        {"flash = on", "の 1 行目: 不明なキーです"},
        {"java = high\r\nJava = low\r\n", "の 2 行目: 同じキーが 2 度あります"},
        {"java = prompt", "の 1 行目: 正しくない値です"},
        {"proxy = 0x100000000", "の 1 行目: 正しくない値です"},
        {"proxy = 1a", "の 1 行目: 正しくない値です"},
        {"server = " + std::string(260, 's'), "の 1 行目: 正しくない値です"},
        {"server = \"a\\x00:1\"", "の 1 行目: 正しくない値です"},
        {"server = \"a:1", quoting},
        {"server = \"a\\q:1\"", quoting},
        {"server = \"a:1\" x", quoting},
        {"server = \"a\\x4", quoting},
        {"server = \"a\\xz1\"", quoting},
        {"networks = ", "の 1 行目: 正しくない値です"},
        {"networks = a;;b", "の 1 行目: 正しくない値です"},
        {"javascript = disable\nserver = €:1",
         "の 2 行目: システムのコード ページで表せない文字があります"},
    };
    for (const auto& [text, error] : refused) {
        s.GivenFile(Profile("bad"), text);
        s.Run({"profile", "apply", "bad"}).Exit(2).ErrHas("プロファイルが正しくありません: ");
        s.ErrHas("bad.ini " + error + "\n");
    }
    s.Run({"profile", "apply", "none"}).Exit(2).Err("プロファイルがありません: none\n");
    s.Run({"undo"}).Exit(2).Err("元に戻す変更がありません。\n");
}

// Names are 1 to 64 UTF-16 units of letters and digits of any script, blanks, "-", "_" and "."; not
// starting with "." or a blank; no device name, alone or before a dot, in any case.
TEST_P(CliScenario, ProfileNamesOfAnyScriptButNoDeviceNames) {
    std::string longest;
    for (int i = 0; i < 32; ++i) {
        longest += "\xF0\xA0\xAE\xB7";  // 𠮷, two UTF-16 units
    }
    for (const std::string& name : std::vector<std::string>{
             "", ".hidden", " lead", "a/b", "a\\b", "a:b", "a*b", "snow☃", "aux", "CON .txt",
             "nul.txt", "COM0", "Com1", "LPT³", "lpt9.x", std::string(65, 'a'), longest + "a"}) {
        s.Run({"profile", "save", name}).Exit(2);
        s.Err(
            "プロファイル名に使えません（1～64 文字の文字、数字、空白、-、_、. で、"
            "先頭は . と空白以外。CON や NUL などの装置名は使えません）: " +
            name + "\n");
    }
    s.Usual();
    for (const std::string& name : std::vector<std::string>{
             std::string(64, 'a'), longest, "自宅 2.0-new_x", "Дом", "घर", "CONSOLE"}) {
        s.Run({"profile", "save", name}).Out("保存しました: " + name + "\n");
        s.File(Profile(name), kUsualProfile);
    }
}

// In alphabetical order, whatever they hold; shown in the words of status; --json gives the list
// and a profile in their shapes.
TEST_P(CliScenario, ProfilesAreListedShownAndDeleted) {
    s.Run({"profile", "list"});
    s.Usual();
    s.Run({"profile", "save", "自宅"}).Out("保存しました: 自宅\n");
    s.GivenFile(Profile("Office"),
                "java = 0x800000\nproxy = 2\nserver = \"a\\tb\\x2f\"\nnetworks = 会社;10.0.0.1\n");
    s.GivenFile(Profile("Zeta"), "not a profile");
    s.GivenFile(Profile(".hidden"), "");
    s.Run({"profile", "list"}).Out("Office\nZeta\n自宅\n");
    s.Run({"profile", "list", "--json"})
        .Out(R"([{"name": "Office", "networks": ["会社", "10.0.0.1"]}, )"
             R"({"name": "Zeta", "networks": []}, {"name": "自宅", "networks": []}])"
             "\n");
    s.Run({"profile", "show", "Office"})
        .Out(
            "JAVAの設定: カスタム (0x800000)\nプロキシ: 無効 (2)\nプロキシサーバ: a\tb/\n"
            "ネットワーク: 会社;10.0.0.1\n");
    s.Run({"profile", "show", "Office", "--json"})
        .Out(R"({"name": "Office", "values": {"java": {"value": 8388608, "setting": "custom"}, )"
             R"("proxy": 2, "server": "a\u0009b/"}, "networks": ["会社", "10.0.0.1"]})"
             "\n");
    s.Run({"profile", "show", "自宅", "--json"})
        .Out(R"({"name": "自宅", "values": {"javascript": {"value": 1, "setting": "prompt"}, )"
             R"("applet": {"value": 0, "setting": "enable"}, )"
             R"("java": {"value": 65536, "setting": "high"}, )"
             R"("cookies": {"value": 3, "setting": "disable"}, )"
             R"("session-cookies": {"value": 1, "setting": "prompt"}, "proxy": "on", )"
             R"("server": "proxy.example:8080", "override": "*.intra;<local>"}, "networks": []})"
             "\n");
    s.Run({"profile", "delete", "office"}).Out("削除しました: office\n");
    s.File(Profile("Office"), std::nullopt);
    s.Run({"profile", "delete", "Office"}).Exit(2).Err("プロファイルがありません: Office\n");
    s.Run({"profile", "show", "Office"}).Exit(2).Err("プロファイルがありません: Office\n");
}

// Those whose every value is stored now; one that names nothing, or is wrong in a line, never
// matches.
TEST_P(CliScenario, StatusNamesTheProfilesThatMatch) {
    s.Usual();
    s.Run({"profile", "save", "会社"}).Out("保存しました: 会社\n");
    s.Run({"proxy", "off"}).Out("設定しました: proxy off\n").Stored({kProxyEnable}, Dword(0));
    s.Run({"profile", "save", "自宅"}).Out("保存しました: 自宅\n");
    s.GivenFile(Profile("partial"), "java = high\n");
    s.GivenFile(Profile("empty"), "; nothing\n");
    s.GivenFile(Profile("broken"), "java = high\nflash = on\n");
    s.Run({"status"}).OutHas("\nプロファイル: partial, 自宅\n");
    s.Run({"profile", "apply", "会社"}).OutHas("設定しました: profile 会社\n");
    s.Stored({kProxyEnable}, Dword(1));
    s.Run({"status", "--json"})
        .OutHas(R"(, "matchingProfiles": ["partial", "会社"]})"
                "\n");
}

// Type, bytes, or the absence of a value the command created; a second undo redoes.
TEST_P(CliScenario, UndoPutsBackExactlyWhatEachCommandFound) {
    const RawValue binaryOne = Raw(kRegBinary, "\x01\0\0\0"sv);
    const RawValue expandable = Raw(2, "x;<local>\0"sv);  // REG_EXPAND_SZ
    s.Usual();
    s.Given({kScript, kProxyEnable}, binaryOne);
    s.Given({kApplet}, kMissing);
    s.Given({kProxyOverride}, expandable);
    s.Run({"zone", "applet", "prompt"}).Out("設定しました: applet prompt\n");
    s.Stored({kApplet}, Dword(1));
    s.Run({"undo"})
        .Out("JavaAppletの設定: ダイアログを表示 (1) → 未設定\n")
        .Out("元に戻しました。\n");
    s.Stored({kApplet}, kMissing);
    s.Run({"preset", "all-off"}).OutHas("設定しました: javascript disable");
    s.Stored({kScript, kApplet, kCookies, kSessionCookies}, Dword(3)).Stored({kJava}, Dword(0));
    s.Run({"undo"})
        .OutHas("元に戻しました。\n")
        .Stored({kScript}, binaryOne)
        .Stored({kApplet}, kMissing);
    s.Stored({kJava}, Dword(0x10000)).Stored({kSessionCookies}, Dword(1));
    s.Run({"proxy", "off"}).Out("設定しました: proxy off\n").Stored({kProxyEnable}, Dword(0));
    s.Run({"undo"}).OutHas("元に戻しました。\n").Stored({kProxyEnable}, binaryOne);
    s.Run({"proxy", "server", "a:1"}).Out("設定しました: proxy server a:1\n");
    s.Stored({kProxyServer}, Sz("a:1"));
    s.Run({"undo"}).OutHas("元に戻しました。\n").Stored({kProxyServer}, Sz("proxy.example:8080"));
    s.Run({"proxy", "bypass", "b"}).Out("設定しました: proxy bypass b\n");
    s.Stored({kProxyOverride}, Sz("b;<local>"));
    s.Run({"undo"}).OutHas("元に戻しました。\n").Stored({kProxyOverride}, expandable);
    s.Run({"proxy", "local", "off"}).Out("設定しました: proxy local off\n");
    s.Stored({kProxyOverride}, Sz("x"));
    s.Run({"undo"}).OutHas("元に戻しました。\n").Stored({kProxyOverride}, expandable);
    s.Run({"undo"}).OutHas("元に戻しました。\n").Stored({kProxyOverride}, Sz("x"));
}

// --dry-run only tells; a command that writes nothing leaves the undo point as it is; an undo that
// cannot write fails; without an undo point, or with one that is not right, undo is refused.
TEST_P(CliScenario, UndoRefusesWhatChangedSinceUnlessForced) {
    s.Usual();
    s.Run({"undo"}).Exit(2).Err("元に戻す変更がありません。\n");
    s.Run({"zone", "java", "low"}).Out("設定しました: java low\n").Stored({kJava}, Dword(0x30000));
    s.Run({"undo", "--dry-run"}).Out("JAVAの設定: 安全性-低 (0x30000) → 安全性-高 (0x10000)\n");
    s.Notified(0);
    s.Given({kJava}, Dword(0x20000));  // the dialog, meanwhile
    s.Run({"undo"}).Exit(1);
    s.Err("次の値はその後に変更されているため、元に戻しません（--force で戻します）: JAVAの設定\n");
    s.Run({"undo", "--force", "--no-notify"}).Notified(0);
    s.Out("JAVAの設定: 安全性-中 (0x20000) → 安全性-高 (0x10000)\n").Out("元に戻しました。\n");
    s.Stored({kJava}, Dword(0x10000));
    s.Run({"cache", "clean", "cookies", "--yes"}).Out("0 件削除しました。\n");
    s.Run({"proxy", "server", "nocolon"}).Exit(2).ErrHas("コロン");
    s.Run({"undo"})
        .Out("JAVAの設定: 安全性-高 (0x10000) → 安全性-中 (0x20000)\n")
        .Out("元に戻しました。\n");
    s.Stored({kJava}, Dword(0x20000));
    s.Given({kJava}, Dword(0x10000));  // as the undo before found it
    s.Run({"undo"}).Out("変更はありません: undo\n");
    s.Given({kApplet}, kMissing);
    s.Run({"zone", "applet", "prompt"}).Out("設定しました: applet prompt\n");
    s.Stored({kApplet}, Dword(1));
    s.ReadOnly(kZone);  // the value it created can no longer be deleted
    s.Run({"undo", "--force"}).Exit(1).Out("JavaAppletの設定: 読み取れません → 未設定\n");
    s.Err("セットできませんでした。 (applet)\n").Err("変更した値は元に戻しました。\n");
    s.GivenFile("undo.txt", "not an undo point");
    s.Run({"undo"}).Exit(2).ErrHas("元に戻すための記録が正しくありません: ");
}

// The undo point recorded, some values not yet written, as after a crash: a value as the command
// found it is no change.
TEST_P(CliScenario, UndoAfterAnApplyStoppedHalfwayBringsEverythingBack) {
    s.Usual();
    s.GivenFile(Profile("off"), "javascript = disable\napplet = disable\nproxy = off\n");
    s.Run({"profile", "apply", "off"}).OutHas("設定しました: profile off\n");
    s.Stored({kScript, kApplet}, Dword(3)).Stored({kProxyEnable}, Dword(0));
    s.Given({kApplet}, Dword(0));
    s.Given({kProxyEnable}, Dword(1));
    s.Run({"undo"})
        .Out("JavaScriptの設定: 無効 (3) → ダイアログを表示 (1)\n")
        .Out("元に戻しました。\n");
    s.Stored({kScript}, Dword(1));
}

// What the apply wrote is put back, and the undo point it found, or none.
TEST_P(CliScenario, AnApplyThatFailsHalfwayChangesNothing) {
    s.Usual();
    s.GivenFile(Profile("home"), "javascript = disable\nproxy = off\n");
    s.ReadOnly(kSettings);
    s.Run({"profile", "apply", "home"}).Exit(1).OutHas("JavaScriptの設定");
    s.ErrHas("変更した値は元に戻しました。\n");
    s.Run({"undo"}).Exit(2).Err("元に戻す変更がありません。\n");
    s.Run({"zone", "java", "low"}).Out("設定しました: java low\n").Stored({kJava}, Dword(0x30000));
    s.Given({Ref{kUserPolicyZone, "1400"}}, Dword(3));
    s.Given({kProxyPerUser}, Dword(0));
    s.Run({"profile", "apply", "home"}).Exit(1).Notified(0);
    s.Out("JavaScriptの設定: ダイアログを表示 (1) → 無効 (3)\n");
    s.Out("プロキシ: 無効 (読み取れません) → 無効 (0)\n");
    s.Err("警告: JavaScriptの設定 はポリシーで設定されています: 3\n");
    s.Err(
        "警告: プロキシ: プロキシはコンピューター全体の設定が使われ、"
        "ユーザーごとの設定は効きません (ProxySettingsPerUser = 0)\n");
    s.Err("セットに失敗しました。 (proxy)\n").Err("変更した値は元に戻しました。\n");
    s.Run({"undo"})
        .Out("JAVAの設定: 安全性-低 (0x30000) → 安全性-高 (0x10000)\n")
        .Out("元に戻しました。\n");
    s.Stored({kJava}, Dword(0x10000));
}

}  // namespace
