// The tray companion, scenario by scenario. Each starts on a clean machine, without profiles.
#include "tests/scenario/script.h"

namespace {

using namespace scenario;

std::string Profile(const std::string& name) {
    return "profiles\\" + name + ".ini";
}

const std::string kOn = "Qeltrin Pro\nプロキシ: 有効 (proxy.example:8080)\nプロファイル: ";
const std::string kOff = "Qeltrin Pro\nプロキシ: 無効\nプロファイル: ";

// The tooltip tells the proxy and the profiles in effect, and follows every change, whoever makes
// it: a value it cannot read, and a policy that takes the proxy from the user, are said so.
TEST_P(TrayScenario, TheTooltipTellsWhatIsInEffectAndFollowsEveryChange) {
    s.Usual();
    s.GivenFile(Profile("会社"), "proxy = on\nserver = proxy.example:8080\n");
    s.TrayStart();
    s.Tooltip(kOn + "会社");
    s.Run({"proxy", "off"}).Out("設定しました: proxy off\n").Stored({kProxyEnable}, Dword(0));
    s.Tooltip(kOff + "なし");
    s.GivenFile(Profile("自宅"), "proxy = off\n");
    s.Tooltip(kOff + "自宅");
    s.Given({kProxyEnable}, kMissing);
    s.Given({kProxyPerUser}, Dword(0));
    s.Tooltip(
        "Qeltrin Pro\nプロキシ: 無効 (未設定)\nプロファイル: "
        "なし\nプロキシはコンピューター全体の設定"
        "が使われ、ユーザーごとの設定は効きません (ProxySettingsPerUser = 0)");
    s.Given({kProxyEnable}, Dword(1));
    s.Given({kProxyServer}, Sz(std::string(120, 's') + ":1"));
    s.GivenFile(Profile("ほかの名前"), "java = high\n");
    s.Tooltip(
        "Qeltrin Pro\nプロキシ: 有効 (" + std::string(28, 's') +
        "…)\nプロファイル: …\nプロキシはコンピューター全体の設定が使われ、ユーザーごとの設定は"
        "効きません (ProxySettingsPerUser = 0)");
}

// A click switches the proxy as the console does, with the undo point first; a double click opens
// the dialog and switches nothing; the policy and a missing server are told, a failure in a box.
TEST_P(TrayScenario, AClickSwitchesTheProxyAndUndoFromTheMenuTakesItBack) {
    s.Usual();
    s.TrayStart();
    s.TrayClick().Stored({kProxyEnable}, Dword(0)).Notified(1);
    s.Tooltip(kOff + "なし");
    s.TrayDoubleClick().Dialog("Qeltrin Pro");
    s.Choose("元に戻す(&U)").Balloon("元に戻しました。").Stored({kProxyEnable}, Dword(1));
    s.Given({kProxyServer}, kMissing);
    s.TrayClick().Stored({kProxyEnable}, Dword(0));
    s.TrayClick().Stored({kProxyEnable}, Dword(1));
    s.Balloon("プロキシを有効にしましたが、プロキシサーバが設定されていません。");
    s.Given({kProxyPerUser}, Dword(0));
    s.TrayClick().Stored({kProxyEnable}, Dword(0));
    s.Balloon(
        "プロキシはコンピューター全体の設定が使われ、ユーザーごとの設定は効きません "
        "(ProxySettingsPerUser = 0)");
    s.Given({kProxyEnable}, Dword(2));
    s.Choose("元に戻す(&U)", {kIdNo})
        .TrayBox(kWarnYesNo,
                 "次の値はその後に変更されています。それでも元に戻しますか？\nプロキシ");
    s.ReadOnly(kSettings);
    s.TrayClick().TrayBox(kWarnOk, "セットに失敗しました。");
}

// The menu lists every profile, a check on those in effect; choosing one applies it, all or
// nothing; one that cannot be read is named with its line.
TEST_P(TrayScenario, TheMenuListsEveryProfileAndAppliesOne) {
    s.Usual();
    s.GivenFile(Profile("Office"), "java = high\n");
    s.GivenFile(Profile("壊れた"), "flash = on\n");
    s.GivenFile(Profile("自宅"), "javascript = disable\nproxy = off\n");
    s.TrayStart();
    s.Menu({"+ プロキシを使用する(&P)", "-", "+ &1 Office", "&2 壊れた", "&3 自宅",
            "現在の設定を保存(&S)...", "-", "( )元に戻す(&U)", "-",
            "ネットワークに合わせて切り替える(&N)", "設定を開く(&O)...",
            "Windows の起動時に開始する(&W)", "-", "終了(&X)"});
    s.Choose("&3 自宅").Balloon("プロファイルを適用しました: 自宅").Notified(1);
    s.Stored({kScript}, Dword(3)).Stored({kProxyEnable}, Dword(0));
    s.Choose("&3 自宅").Balloon("プロファイルは既に適用されています: 自宅").Notified(0);
    s.Choose("&2 壊れた")
        .TrayBox(kWarnOk, "\\profiles\\壊れた.ini の 1 行目: 不明なキーです", true);
    s.Choose("元に戻す(&U)").Balloon("元に戻しました。");
    s.Stored({kScript}, Dword(1)).Stored({kProxyEnable}, Dword(1));
    s.ReadOnly(kSettings);
    s.Choose("&3 自宅").TrayBox(kWarnOk,
                                "セットに失敗しました。 (proxy)\n変更した値は元に戻しました。");
}

// Saving asks a name by the rules of the console, and before replacing a profile of that name.
TEST_P(TrayScenario, SavingAsksANameAndBeforeReplacing) {
    s.Usual();
    s.TrayStart();
    s.Choose("現在の設定を保存(&S)...", {}, {"a/b", "会社"});
    s.TrayBox(kWarnOk,
              "プロファイル名に使えません（1～64 文字の文字、数字、空白、-、_、. で、先頭は . "
              "と空白以外。CON や NUL などの装置名は使えません）: a/b");
    s.Balloon("プロファイルを保存しました: 会社");
    s.Tooltip(kOn + "会社");
    s.Choose("現在の設定を保存(&S)...", {kIdNo, kIdYes}, {"会社", "会社"});
    s.TrayBox(kWarnYesNo, "プロファイルは既にあります。置き換えますか？\n会社");
    s.TrayBox(kWarnYesNo, "プロファイルは既にあります。置き換えますか？\n会社");
    s.Balloon("プロファイルを保存しました: 会社");
    s.Choose("現在の設定を保存(&S)...");
}

// Starting with Windows writes the Run value that starts this very file, and deletes only that.
TEST_P(TrayScenario, StartingWithWindowsIsTheRunValueOfThisVeryFile) {
    std::string self = "\"";
    self += s.TrayProgram();
    self += '"';
    s.TrayStart();
    s.Choose("Windows の起動時に開始する(&W)").Stored({kRun}, Sz(self));
    s.Choose("Windows の起動時に開始する(&W)").Stored({kRun}, kMissing);
    s.Given({kRun}, Sz("\"C:\\Tools\\vormet-tray.exe\""));
    s.Choose("Windows の起動時に開始する(&W)").Stored({kRun}, Sz(self));
    s.TrayExit();
}

}  // namespace
