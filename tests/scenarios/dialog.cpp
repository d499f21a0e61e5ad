// The main dialog, scenario by scenario. Each starts on a clean machine: no
// values, no read-only key, no server.pxy, an empty URL cache.
#include "resources/resource.h"
#include "tests/scenario/script.h"

namespace {

using namespace scenario;
using namespace std::string_view_literals;

// The zone buttons that the usual machine's values check, and these.
std::vector<int> UsualWith(std::vector<int> ids) {
    ids.insert(ids.end(), {IDC_SCRIPT_QUERY, IDC_APPLET_ALLOW, IDC_JAVA_HIGH, IDC_COOKIE_DISALLOW,
                           IDC_SESSION_QUERY});
    return ids;
}

// What the proxy switch enables and disables.
const std::vector<int> kProxyControls = {IDC_PROXY_SERVER, IDC_PROXY_LOCAL, IDC_PROXY_OVERRIDE,
                                         IDC_SET_OVERRIDE, IDC_SET_SERVER};

// The about box's caption, as its template gives it.
const std::string kAboutBox = "ﾊﾞｰｼﾞｮﾝ情報";

// Java at medium safety too; each value is written back as a DWORD.
TEST_P(DialogScenario, StartUpChecksEachValuesButtonByAClickThatWritesItBack) {
    s.Usual();
    s.Given({kScript, kApplet, kCookies, kSessionCookies, kProxyEnable},
            Raw(kRegBinary, "\x01\0\0\0"sv));
    s.Given({kJava}, Raw(kRegBinary, "\0\0\x02\0"sv));
    s.Open();
    s.Checked({IDC_SCRIPT_QUERY, IDC_APPLET_QUERY, IDC_JAVA_MEDIUM, IDC_COOKIE_QUERY,
               IDC_SESSION_QUERY, IDC_PROXY_ENABLE, IDC_PROXY_LOCAL});
    s.Stored({kScript, kApplet, kCookies, kSessionCookies, kProxyEnable}, Dword(1));
    s.Stored({kJava}, Dword(0x20000));
}

TEST_P(DialogScenario, ValuesNoButtonStandsForCheckNothingAndSayNothing) {
    s.Usual();
    s.Given({kScript}, Dword(2));
    s.Given({kApplet}, Dword(0x10000));
    s.Given({kJava}, Dword(0x800000));
    s.Given({kSessionCookies}, Dword(0));
    s.Open();
    s.Checked({IDC_COOKIE_DISALLOW, IDC_SESSION_ALLOW, IDC_PROXY_ENABLE, IDC_PROXY_LOCAL});
}

// Enter, outside a push button, ends the program without a write.
TEST_P(DialogScenario, AMissingValueGivesOneBoxAtStartUpAndItsFirstClickCreatesIt) {
    s.Open().Box(kOkBox, "取得に失敗しました。", 6);
    s.Checked({});
    s.Enabled(kProxyControls, false);
    s.Text(IDC_PROXY_OVERRIDE, "");
    s.Click(IDC_APPLET_DISALLOW).Stored({kApplet}, Dword(3));
    s.Checked({IDC_APPLET_DISALLOW});
    s.Close(CloseBy::kEnter);
}

// Cancel changes nothing; Esc ends the program without a write.
TEST_P(DialogScenario, PresetsAskFirstAndSetAllFiveOptions) {
    s.Usual();
    s.Open();
    s.Click(IDC_PRESET_ALL_ON).Box(kWarnOkCancel, "全ての設定を有効にしてよろしいですか？");
    s.Checked({IDC_SCRIPT_ALLOW, IDC_APPLET_ALLOW, IDC_JAVA_LOW, IDC_COOKIE_ALLOW,
               IDC_SESSION_ALLOW, IDC_PROXY_ENABLE, IDC_PROXY_LOCAL});
    s.Stored({kScript, kApplet, kCookies, kSessionCookies}, Dword(0));
    s.Stored({kJava}, Dword(0x30000));
    s.Click(IDC_PRESET_STANDARD).Box(kWarnOkCancel, "標準設定にしますか？");
    s.Checked({IDC_SCRIPT_ALLOW, IDC_APPLET_ALLOW, IDC_JAVA_HIGH, IDC_COOKIE_ALLOW,
               IDC_SESSION_ALLOW, IDC_PROXY_ENABLE, IDC_PROXY_LOCAL});
    s.Stored({kJava}, Dword(0x10000));
    s.Click(IDC_PRESET_ALL_OFF).Box(kWarnOkCancel, "全ての設定を無効にしてよろしいですか？");
    const std::vector<int> allOff = {IDC_SCRIPT_DISALLOW, IDC_APPLET_DISALLOW,  IDC_JAVA_PROHIBIT,
                                     IDC_COOKIE_DISALLOW, IDC_SESSION_DISALLOW, IDC_PROXY_ENABLE,
                                     IDC_PROXY_LOCAL};
    s.Checked(allOff);
    s.Stored({kScript, kApplet, kCookies, kSessionCookies}, Dword(3));
    s.Stored({kJava}, Dword(0));
    s.Click(IDC_PRESET_STANDARD, {kIdCancel}).Box(kWarnOkCancel, "標準設定にしますか？");
    s.Checked(allOff);
    s.Close(CloseBy::kEsc);
}

TEST_P(DialogScenario, AZoneKeyThatMayNotBeChangedFailsEveryReadAndEveryClickOnce) {
    s.Usual();
    s.ReadOnly(kZone);
    s.Open().Box(kOkBox, "取得に失敗しました。", 5);
    s.Checked({IDC_PROXY_ENABLE, IDC_PROXY_LOCAL});
    s.Click(IDC_SCRIPT_DISALLOW).Box(kOkBox, "セットできませんでした。");
    s.Checked({IDC_SCRIPT_DISALLOW, IDC_PROXY_ENABLE, IDC_PROXY_LOCAL});
    s.Click(IDC_PRESET_ALL_ON)
        .Box(kWarnOkCancel, "全ての設定を有効にしてよろしいですか？")
        .Box(kOkBox, "セットできませんでした。", 5);
    s.Checked({IDC_SCRIPT_ALLOW, IDC_APPLET_ALLOW, IDC_JAVA_LOW, IDC_COOKIE_ALLOW,
               IDC_SESSION_ALLOW, IDC_PROXY_ENABLE, IDC_PROXY_LOCAL});
}

// Off, it starts without a write; the controls that follow the switch go with it.
TEST_P(DialogScenario, TheProxyStartsOffUnlessProxyEnableIsOneAndSwitchesBothWays) {
    s.Usual();
    s.Given({kProxyEnable}, Dword(2));
    s.Open();
    s.Checked(UsualWith({IDC_PROXY_LOCAL}));
    s.Enabled(kProxyControls, false);
    s.Click(IDC_PROXY_ENABLE).Stored({kProxyEnable}, Dword(1));
    s.Enabled(kProxyControls, true);
    s.Click(IDC_PROXY_ENABLE).Stored({kProxyEnable}, Dword(0));
    s.Enabled(kProxyControls, false);
}

TEST_P(DialogScenario, AProxySwitchThatCannotBeStoredGivesBackOnlyTheCheckMark) {
    s.Usual();
    s.ReadOnly(kSettings);
    s.Open().Box(kOkBox, "取得に失敗しました。");
    s.Checked(UsualWith({}));
    s.Click(IDC_PROXY_ENABLE).Box(kOkBox, "セットに失敗しました。");
    s.Checked(UsualWith({}));
    s.Enabled(kProxyControls, true);
}

TEST_P(DialogScenario, AServerExclusionsOrSwitchingOffThatCannotBeStoredAreReported) {
    s.Usual();
    s.Open();
    s.ReadOnly(kSettings);
    s.Type(IDC_PROXY_SERVER, "h:1");
    s.Click(IDC_SET_SERVER).Box(kOkBox, "セットに失敗しました。");
    s.Click(IDC_SET_OVERRIDE).Box(kOkBox, "セットに失敗しました。");
    s.Click(IDC_PROXY_ENABLE).Box(kOkBox, "セットに失敗しました。");
    s.Checked(UsualWith({IDC_PROXY_ENABLE, IDC_PROXY_LOCAL}));
    s.Enabled(kProxyControls, false);
}

// Else the server read at start-up comes back.
TEST_P(DialogScenario, AServerIsStoredAsTypedOnceItHasAColon) {
    s.Usual();
    s.Open();
    s.Type(IDC_PROXY_SERVER, "");
    s.Click(IDC_SET_SERVER).Box(kOkBox, "プロキシサーバ：ポートが未入力です。");
    s.Text(IDC_PROXY_SERVER, "proxy.example:8080");
    const std::string fullWidthColon = "\x81\x46";  // in code page 932
    s.Type(IDC_PROXY_SERVER, "a" + fullWidthColon + "b");
    s.Click(IDC_SET_SERVER)
        .Box(kOkBox,
             "プロキシサーバアドレスの後に、コロンを（:）付けポート番号を指定してください。");
    s.Text(IDC_PROXY_SERVER, "proxy.example:8080");
    s.Type(IDC_PROXY_SERVER, "http=a:80;https=b:443");
    s.Click(IDC_SET_SERVER).Stored({kProxyServer}, Sz("http=a:80;https=b:443"));
    s.Text(IDC_PROXY_SERVER, "http=a:80;https=b:443");
    s.Items(IDC_PROXY_SERVER, {"proxy.example:8080"});
    s.Type(IDC_PROXY_SERVER, "   ");
    s.Click(IDC_SET_SERVER)
        .Box(kOkBox,
             "プロキシサーバアドレスの後に、コロンを（:）付けポート番号を指定してください。");
    s.Text(IDC_PROXY_SERVER, "proxy.example:8080");
}

// The longest readable server survives.
TEST_P(DialogScenario, TypingStopsAtWhatAReadGetsBack) {
    const std::string longest = std::string(256, 's') + ":80";
    s.Usual();
    s.Given({kProxyServer}, Sz(longest));
    s.Open();
    s.Items(IDC_PROXY_SERVER, {longest});
    s.Type(IDC_PROXY_SERVER, "");
    s.Click(IDC_SET_SERVER).Box(kOkBox, "プロキシサーバ：ポートが未入力です。");
    s.Text(IDC_PROXY_SERVER, longest);
    s.Type(IDC_PROXY_SERVER, std::string(":").append(300, 't'));
    const std::string kept = std::string(":").append(258, 't');
    s.Text(IDC_PROXY_SERVER, kept);
    s.Click(IDC_SET_SERVER).Stored({kProxyServer}, Sz(kept));
}

TEST_P(DialogScenario, TheServerListsLinesFollowTheStoredServerInFileOrderRepeatsAndAll) {
    s.Usual();
    s.ServerList("a:1\nproxy.example:8080\n\na:1\r\nlast");
    s.Open();
    s.Items(IDC_PROXY_SERVER, {"proxy.example:8080", "a:1", "proxy.example:8080", "", "a:1"});
    s.Text(IDC_PROXY_SERVER, "proxy.example:8080");
}

// With the local entry when it is checked.
TEST_P(DialogScenario, TheSetButtonStoresTheEditBoxAsTyped) {
    s.Usual();
    s.Open();
    s.Type(IDC_PROXY_OVERRIDE, "");
    s.Click(IDC_SET_OVERRIDE).Stored({kProxyOverride}, Sz(";<local>"));
    s.Type(IDC_PROXY_OVERRIDE, "a;<local>");
    s.Click(IDC_SET_OVERRIDE).Stored({kProxyOverride}, Sz("a;<local>;<local>"));
    s.Click(IDC_PROXY_LOCAL).Stored({kProxyOverride}, Sz("a;<local>"));
    s.Type(IDC_PROXY_OVERRIDE, "intra\r\n*.example");
    s.Click(IDC_SET_OVERRIDE).Stored({kProxyOverride}, Sz("intra\r\n*.example"));
}

TEST_P(DialogScenario, TheLocalSwitchWorksOnTheStoredListNotOnTheEditBox) {
    s.Usual();
    s.Open();
    s.Type(IDC_PROXY_OVERRIDE, "unsaved");
    s.Click(IDC_PROXY_LOCAL).Stored({kProxyOverride}, Sz("*.intra"));
    s.Checked(UsualWith({IDC_PROXY_ENABLE}));
    s.Given({kProxyOverride}, Sz("x;<local>"));
    s.Click(IDC_PROXY_LOCAL).Stored({kProxyOverride}, Sz("x;<local>;<local>"));
    s.Text(IDC_PROXY_OVERRIDE, "unsaved");
}

// Alone or missing, the list becomes empty.
TEST_P(DialogScenario, TheLocalEntryTakesTheByteBeforeItAway) {
    s.Usual();
    s.Given({kProxyOverride}, Sz("abc<local>"));
    s.Open();
    s.Text(IDC_PROXY_OVERRIDE, "ab");
    s.Checked(UsualWith({IDC_PROXY_ENABLE, IDC_PROXY_LOCAL}));
    s.Given({kProxyOverride}, Sz("<local>"));
    s.Click(IDC_PROXY_LOCAL).Stored({kProxyOverride}, Sz(""));
    s.Given({kProxyOverride}, kMissing);
    s.Click(IDC_PROXY_LOCAL).Stored({kProxyOverride}, Sz(";<local>"));
    s.Given({kProxyOverride}, kMissing);
    s.Click(IDC_PROXY_LOCAL).Stored({kProxyOverride}, Sz(""));
}

TEST_P(DialogScenario, AListTooLongToReadIsNeverReplacedByTheSwitch) {
    s.Usual();
    s.Given({kProxyOverride}, Sz(std::string(65536, 'h') + ";<local>"));
    s.Open();
    s.Text(IDC_PROXY_OVERRIDE, "");
    s.Checked(UsualWith({IDC_PROXY_ENABLE}));
    s.Click(IDC_PROXY_LOCAL).Box(kOkBox, "セットに失敗しました。");
    s.Checked(UsualWith({IDC_PROXY_ENABLE}));
}

// 64 KiB with its zero byte: the edit box shows it, the switch takes the local entry away and adds
// it again, and the set button stores it; the switch puts the check mark back.
TEST_P(DialogScenario, TheLongestReadableListSurvivesAndTheSwitchStoresNoLonger) {
    if (!Native()) {
        GTEST_SKIP() << "Wine's edit box takes seconds to lay out 64 KiB";
    }
    const std::string list(65527, 'e');
    s.Usual();
    s.Given({kProxyOverride}, Sz(list + ";<local>"));
    s.Open();
    s.Text(IDC_PROXY_OVERRIDE, list);
    s.Click(IDC_PROXY_LOCAL).Stored({kProxyOverride}, Sz(list));
    s.Click(IDC_PROXY_LOCAL).Stored({kProxyOverride}, Sz(list + ";<local>"));
    s.Type(IDC_PROXY_OVERRIDE, list + "eee");
    s.Click(IDC_SET_OVERRIDE);
    s.Click(IDC_PROXY_LOCAL).Stored({kProxyOverride}, Sz(list));
    s.Given({kProxyOverride}, Sz(list + "e"));
    s.Click(IDC_PROXY_LOCAL).Box(kOkBox, "セットに失敗しました。");
    s.Checked(UsualWith({IDC_PROXY_ENABLE}));
}

// No deletes nothing.
TEST_P(DialogScenario, EachDeleteButtonAsksFirstAndDeletesExactlyItsKind) {
    s.Usual();
    s.CacheEntry(kContent, "http://a.example/");
    s.CacheEntry(kCookie, "Cookie:user@a.example/");
    s.CacheEntry(kContent, "http://b.example/x.png");
    s.CacheEntry(kCookie, "Cookie:user@b.example/");
    s.Open();
    s.Click(IDC_DELETE_TEMP_FILES, {kIdNo}).Box(kWarnYesNo, "本当に削除してもよろしいですか？");
    s.Click(IDC_DELETE_TEMP_FILES).Box(kWarnYesNo, "本当に削除してもよろしいですか？");
    s.Cache({"Cookie:user@a.example/", "Cookie:user@b.example/"});
    s.CacheEntry(kContent, "http://c.example/");
    s.Click(IDC_DELETE_COOKIES, {kIdNo}).Box(kWarnYesNo, "本当に削除してもよろしいですか？");
    s.Click(IDC_DELETE_COOKIES).Box(kWarnYesNo, "本当に削除してもよろしいですか？");
    s.Cache({"http://c.example/"});
}

// The window shows the application's icon. The about box opens from the system menu's entry,
// whatever the four low bits of the command (the system's own), and from its button; the next
// command up opens nothing.
TEST_P(DialogScenario, TheWindowShowsItsIconAndTheAboutBoxOpensFromTheMenuAndTheButton) {
    s.Usual();
    s.Open();
    s.HasIcons();
    s.SystemCommand(IDM_ABOUTBOX).Dialog(kAboutBox);
    s.SystemCommand(IDM_ABOUTBOX | 0xF).Dialog(kAboutBox);
    s.SystemCommand(IDM_ABOUTBOX + 0x10);
    s.Click(IDC_ABOUT).Dialog(kAboutBox);
}

TEST_P(DialogScenario, F1AsksForHelpAndTheCloseBoxEndsWithoutAWrite) {
    s.Usual();
    s.Open();
    s.PressF1().Help();
    s.Checked(UsualWith({IDC_PROXY_ENABLE, IDC_PROXY_LOCAL}));
    s.Close(CloseBy::kCloseBox);
}

TEST_P(DialogScenario, ValuesOfTheWrongTypeOrSizeShowNothingAndStay) {
    s.Given({kScript}, Sz("1"));
    s.Given({kApplet}, Raw(kRegBinary, ""));
    s.Given({kJava}, Raw(kRegBinary, "a"));
    s.Given({kCookies}, Raw(kRegDword, "ab"));
    s.Given({kSessionCookies}, Raw(kRegBinary, "abc"));
    s.Given({kProxyEnable}, Raw(kRegBinary, "\x01\0\0\0\0"sv));
    s.Given({kProxyServer}, Raw(kRegDword, "p:80"));
    s.Given({kProxyOverride}, Raw(kRegBinary, "x;<local>"));
    s.Open().Box(kOkBox, "取得に失敗しました。", 6);
    s.Checked({IDC_PROXY_LOCAL});
    s.Text(IDC_PROXY_SERVER, "p:80");
    s.Items(IDC_PROXY_SERVER, {"p:80"});
    s.Text(IDC_PROXY_OVERRIDE, "x");
}

// And a list of bytes no code page has is read without a write.
TEST_P(DialogScenario, AServerPastTheReadBoundShowsAsEmpty) {
    s.Usual();
    s.Given({kProxyServer}, Raw(kRegSz, std::string(260, 's')));
    s.Given({kProxyOverride}, Raw(kRegBinary, "\x81\xFF\x80\xFD\0b:2\0\0"sv));
    s.Open();
    s.Checked(UsualWith({IDC_PROXY_ENABLE}));
    s.Text(IDC_PROXY_SERVER, "");
    s.Items(IDC_PROXY_SERVER, {""});
}

}  // namespace
