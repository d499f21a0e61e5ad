// Profiles for networks: what the console tells of the networks, the profile it chooses for them,
// and the tray switching as the machine moves. Natively the machine is moved at will; under Wine
// the scenarios take the network the machine is on.
#include "tests/scenario/script.h"

namespace {

using namespace scenario;

std::string Profile(const std::string& name) {
    return "profiles\\" + name + ".ini";
}

// An office network with every identity, and a home network with a gateway only; each is the
// primary one by its metric.
const ConnectedNetwork kOffice{
    "1", "会社ネット", "corp.example", "192.0.2.1", "00-11-22-aa-bb-cc", "CorpWiFi", 25};
const ConnectedNetwork kHome{"2", "", "", "198.51.100.1", "", "", 35};

const std::string kOfficeJson =
    R"({"name": "会社ネット", "dnsSuffix": "corp.example", "gateway": "192.0.2.1", )"
    R"("gatewayMac": "00-11-22-aa-bb-cc", "ssid": "CorpWiFi"})";
const std::string kHomeJson =
    R"({"name": null, "dnsSuffix": null, "gateway": "198.51.100.1", "gatewayMac": null, )"
    R"("ssid": null})";
const std::string kBoth = R"({"networks": [)" + kOfficeJson + ", " + kHomeJson + "], ";

// Any identity matches, in any case, a hardware address with "-" or ":"; the networks are taken
// by their metric, and the first one a profile names decides.
TEST_P(CliScenario, NetworkTellsTheNetworksAndTheProfileForThem) {
    if (!Native()) {
        GTEST_SKIP() << "the machine is on one network only";
    }
    s.Networks({kHome, kOffice});
    s.Run({"network"})
        .Out(
            "ネットワーク 1:\n  名前: 会社ネット\n  DNS サフィックス: corp.example\n"
            "  ゲートウェイ: 192.0.2.1\n  ゲートウェイの MAC アドレス: 00-11-22-aa-bb-cc\n"
            "  SSID: CorpWiFi\nネットワーク 2:\n  ゲートウェイ: 198.51.100.1\n"
            "適用するプロファイル: なし "
            "(接続しているネットワークを指定するプロファイルはありません)\n");
    s.GivenFile(Profile("自宅"), "proxy = off\nnetworks = 198.51.100.1\n");
    s.Run({"network", "--json"})
        .Out(kBoth + R"("profile": "自宅", "matching": ["自宅"]})"
                     "\n");
    for (const char* entry :
         {"会社ネット", "CORP.example", "192.0.2.1", "00:11:22:AA:BB:CC", "corpwifi"}) {
        s.GivenFile(Profile("会社"), std::string("networks = 10.0.0.1;") + entry + "\n");
        s.Run({"network", "--json"})
            .Out(kBoth + R"("profile": "会社", "matching": ["会社"]})"
                         "\n");
    }
    s.Run({"network"}).OutHas("適用するプロファイル: 会社 (ネットワーク 1 の CorpWiFi が一致)\n");
    s.GivenFile(Profile("客先"), "networks = Corp.Example\n");
    s.Run({"network", "--json"})
        .Out(kBoth + R"("profile": null, "matching": ["会社", "客先"]})"
                     "\n");
    s.Run({"profile", "auto"})
        .Exit(2)
        .Err("ネットワーク 1 を指定するプロファイルが複数あります: 会社, 客先\n");
    s.GivenFile(Profile("壊れた"), "networks = *;corp.example\n");
    s.Run({"profile", "auto"}).Exit(2).ErrHas("壊れた.ini の 1 行目: 正しくない値です\n");
    s.GivenFile(Profile("壊れた"), std::nullopt);
    ConnectedNetwork home = kHome;
    home.metric = kOffice.metric;  // as good a route: the system's order holds
    s.Networks({home, kOffice});
    s.Run({"network"})
        .OutHas("適用するプロファイル: 自宅 (ネットワーク 1 の 198.51.100.1 が一致)\n");
    s.Networks({});
    s.Run({"network"})
        .Out(
            "接続しているネットワークはありません。\n"
            "適用するプロファイル: なし (接続しているネットワークはありません)\n");
    s.Run({"profile", "auto"})
        .Out("適用するプロファイル: なし (接続しているネットワークはありません)\n");
}

// Set without an editor, every other line as it was; kept by a save over the profile.
TEST_P(CliScenario, ProfileNetworksSetsTheLineAndASaveKeepsIt) {
    if (!Native()) {
        GTEST_SKIP() << "the machine is not moved under Wine";
    }
    const std::string head = "; 会社のプロキシ\r\nproxy = on\r\n";
    s.Networks({kOffice});
    s.GivenFile(Profile("会社"), head);
    s.Run({"profile", "networks", "会社", "corp.example;192.0.2.1"}).Out("保存しました: 会社\n");
    s.File(Profile("会社"), head + "networks = corp.example;192.0.2.1\r\n");
    s.Run({"profile", "networks", "会社", "--here"}).Out("保存しました: 会社\n");
    s.File(Profile("会社"), head + "networks = 00-11-22-aa-bb-cc\r\n");
    for (const char* list : {"a;;b", "*;a", ""}) {
        s.Run({"profile", "networks", "会社", list})
            .Exit(2)
            .ErrHas(std::string("正しくない値です: ") + list + "\n");
    }
    s.Run({"profile", "networks", "会社", "--here", "--none"})
        .Exit(2)
        .ErrHas(
            "ネットワークの一覧 (; で区切ります)、--here、--none のどれか 1 "
            "つを指定してください。\n");
    s.Usual();
    s.Run({"profile", "save", "会社", "--force"}).Out("保存しました: 会社\n");
    s.File(
        Profile("会社"),
        "\xEF\xBB\xBFjavascript = prompt\r\napplet = enable\r\njava = high\r\ncookies = disable\r\n"
        "session-cookies = prompt\r\nproxy = on\r\nserver = proxy.example:8080\r\n"
        "override = *.intra;<local>\r\nnetworks = 00-11-22-aa-bb-cc\r\n");
    s.Run({"profile", "networks", "会社", "--none"}).Out("保存しました: 会社\n");
    s.File(
        Profile("会社"),
        "\xEF\xBB\xBFjavascript = prompt\r\napplet = enable\r\njava = high\r\ncookies = disable\r\n"
        "session-cookies = prompt\r\nproxy = on\r\nserver = proxy.example:8080\r\n"
        "override = *.intra;<local>\r\n");
    s.Networks({});
    s.Run({"profile", "networks", "会社", "--here"})
        .Exit(1)
        .Err("接続しているネットワークはありません。\n");
}

// On the machine's own network: the gateway and its hardware address as the machine knows them,
// a profile naming the gateway applied, the "*" profile where no other matches, and no choice
// where two profiles are for the same.
TEST_P(CliScenario, ProfileAutoAppliesTheProfileForThisNetwork) {
    const std::vector<ConnectedNetwork> networks = s.MachineNetworks();
    if (networks.empty()) {
        GTEST_SKIP() << "the machine has no default gateway";
    }
    const std::string gateway = networks.front().gateway;
    s.Usual();
    s.GivenFile(Profile("どこでも"), "javascript = disable\nnetworks = *\n");
    s.Run({"profile", "auto", "--dry-run"})
        .Out(
            "適用するプロファイル: どこでも (どのプロファイルも接続しているネットワークを"
            "指定していないため、networks = * のプロファイル)\n"
            "JavaScriptの設定: ダイアログを表示 (1) → 無効 (3)\n");
    s.Run({"profile", "auto"}).OutHas("適用するプロファイル: どこでも").Stored({kScript}, Dword(3));
    s.GivenFile(Profile("会社"), "proxy = off\nnetworks = " + gateway + "\n");
    s.Run({"network", "--json"})
        .OutHas("\"gateway\": \"" + gateway + "\"")
        .OutHas(networks.front().gatewayMac.empty()
                    ? "\"gatewayMac\": null"
                    : "\"gatewayMac\": \"" + networks.front().gatewayMac + "\"")
        .OutHas(R"("profile": "会社", "matching": ["会社"]})");
    s.Run({"profile", "auto"}).OutHas("の " + gateway + " が一致").Stored({kProxyEnable}, Dword(0));
    s.GivenFile(Profile("予備"), "networks = *\n");
    s.Run({"profile", "auto"})
        .Exit(2)
        .Err("networks = * のプロファイルが複数あります: どこでも, 予備\n");
    s.GivenFile(Profile("予備"), std::nullopt);
    s.GivenFile(Profile("自宅"), "proxy = on\nnetworks = " + gateway + "\n");
    s.Run({"profile", "auto"}).Exit(2).ErrHas("を指定するプロファイルが複数あります: 会社, 自宅\n");
}

// With switching by network on, the tray applies the profile for where the machine is once the
// networks are stable, and tells it.
TEST_P(TrayScenario, TheTrayAppliesTheProfileForTheNetworkAtStart) {
    const std::vector<ConnectedNetwork> networks = s.MachineNetworks();
    if (networks.empty()) {
        GTEST_SKIP() << "the machine has no default gateway";
    }
    const std::string gateway = networks.front().gateway;
    s.Usual();
    s.GivenFile("tray.ini", "switch-by-network = on\r\n");
    s.GivenFile(Profile("会社"), "proxy = off\nnetworks = " + gateway + "\n");
    s.TrayStart();
    s.NetworksSettled().Stored({kProxyEnable}, Dword(0));
    s.Balloon("ネットワークに合わせてプロファイルを適用しました: 会社 (ネットワーク 1 の " +
              gateway + " が一致)");
    s.Tooltip("Qeltrin Pro\nプロキシ: 無効\nプロファイル: 会社\nネットワーク: " + gateway);
}

// Switching by network is off until the user turns it on. It switches at each move, a hardware
// address that arrives late being none; after a change by hand, nothing until the next move.
TEST_P(TrayScenario, TheTraySwitchesAsTheMachineMoves) {
    if (!Native()) {
        GTEST_SKIP() << "the machine is not moved under Wine";
    }
    const std::string kAt = "ネットワークに合わせてプロファイルを適用しました: ";
    s.Usual();
    s.GivenFile(Profile("会社"),
                "proxy = on\nserver = office.example:8080\nnetworks = corp.example\n");
    s.GivenFile(Profile("自宅"), "proxy = off\nnetworks = 198.51.100.1\n");
    s.Networks({kOffice});
    s.TrayStart();
    s.NetworksSettled();
    s.Choose("ネットワークに合わせて切り替える(&N)").File("tray.ini", "switch-by-network = on\r\n");
    s.Balloon(kAt + "会社 (ネットワーク 1 の corp.example が一致)");
    s.Stored({kProxyServer}, Sz("office.example:8080"));
    s.Tooltip(
        "Qeltrin Pro\nプロキシ: 有効 (office.example:8080)\nプロファイル: 会社\n"
        "ネットワーク: corp.example");
    s.Networks({kHome});
    s.NetworksSettled().Balloon(kAt + "自宅 (ネットワーク 1 の 198.51.100.1 が一致)");
    s.Stored({kProxyEnable}, Dword(0));
    s.Networks({kOffice});
    s.NetworksSettled().Balloon(kAt + "会社 (ネットワーク 1 の corp.example が一致)");
    s.Stored({kProxyEnable}, Dword(1));
    s.TrayClick().Stored({kProxyEnable}, Dword(0));
    ConnectedNetwork late = kOffice;
    late.gatewayMac = "00-11-22-33-44-55";
    s.Networks({late});
    s.NetworksSettled();
    s.GivenFile(Profile("客先"), "networks = corp.example\n");
    s.Networks({kHome, late});
    s.NetworksSettled().Balloon("ネットワーク 1 を指定するプロファイルが複数あります: 会社, 客先");
    s.Menu({"プロキシを使用する(&P)", "-", "&1 会社", "&2 客先", "+ &3 自宅",
            "現在の設定を保存(&S)...", "-", "元に戻す(&U)", "-",
            "+ ネットワークに合わせて切り替える(&N)", "設定を開く(&O)...",
            "Windows の起動時に開始する(&W)", "-", "終了(&X)"});
    s.Choose("ネットワークに合わせて切り替える(&N)").File("tray.ini", "");
    s.Networks({kOffice});
    s.NetworksSettled();
}

}  // namespace
