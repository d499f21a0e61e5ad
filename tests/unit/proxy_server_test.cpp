// The proxy switch and the proxy server through the main dialog.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <optional>

#include "texts/messages.h"
#include "resources/resource.h"
#include "tests/unit/dialog_fixture.h"

namespace {

using ::testing::ElementsAre;

const int kDependents[] = {IDC_PROXY_SERVER, IDC_PROXY_LOCAL, IDC_PROXY_OVERRIDE, IDC_SET_OVERRIDE,
                           IDC_SET_SERVER};

class ProxyTest : public DialogFixture {
  protected:
    std::vector<bool> DependentsEnabled() {
        std::vector<bool> states;
        for (const int id : kDependents) {
            states.push_back(window.Enabled(id));
        }
        return states;
    }
    const std::vector<bool> kAllOn = std::vector<bool>(5, true);
    const std::vector<bool> kAllOff = std::vector<bool>(5, false);
};

struct StartCase {
    const char* name;
    std::optional<std::uint32_t> stored;
    bool on;
};

class ProxyStartTest : public ProxyTest, public ::testing::WithParamInterface<StartCase> {};

TEST_P(ProxyStartTest, EntersOnByAClickAndOffWithoutAWrite) {
    const StartCase& c = GetParam();
    if (c.stored) {
        fake.SetDword(kSettingsKey, "ProxyEnable", *c.stored);
    }
    Open();

    EXPECT_EQ(window.Checked(IDC_PROXY_ENABLE), c.on);
    EXPECT_EQ(DependentsEnabled(), c.on ? kAllOn : kAllOff);
    EXPECT_EQ(Log("write", kSettingsKey),
              c.on ? std::vector<std::string>{"proxyenable"} : std::vector<std::string>{});
    EXPECT_EQ(fake.GetDword(kSettingsKey, "ProxyEnable"), c.stored);
    EXPECT_EQ(BoxTexts(),
              c.stored ? std::vector<std::string>{} : std::vector<std::string>{kMsgReadFailed});
}

INSTANTIATE_TEST_SUITE_P(ProxyEnable, ProxyStartTest,
                         ::testing::Values(StartCase{"One", 1u, true}, StartCase{"Two", 2u, false},
                                           StartCase{"Zero", 0u, false},
                                           StartCase{"Missing", std::nullopt, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ProxyTest, ReadsFollowTheZoneValuesAndPrecedeTheZoneClicks) {
    Open();
    std::vector<std::string> reads;
    for (const std::string& line : fake.log) {
        if (line.rfind("write ", 0) == 0) {
            break;  // the first posted zone click
        }
        reads.push_back(line.substr(line.rfind('\\') + 1));
    }
    EXPECT_THAT(reads, ElementsAre("1400", "1402", "1c00", "1a02", "1a03", "proxyenable",
                                   "proxyserver", "proxyoverride"));
    EXPECT_THAT(BoxTexts(), ElementsAre(kMsgReadFailed));  // ProxyEnable is missing
}

TEST_F(ProxyTest, SwitchingStoresAndMovesTheDependentsInOrder) {
    struct Recorder : SimWindow {
        std::vector<std::pair<int, bool>> enables;
        void Enable(int id, bool enabled) override {
            enables.emplace_back(id, enabled);
            SimWindow::Enable(id, enabled);
        }
    };
    Recorder recorder;
    fake.SetDword(kSettingsKey, "ProxyEnable", 0);
    dialog.emplace(services);
    recorder.Open(*dialog);
    recorder.enables.clear();

    recorder.Click(IDC_PROXY_ENABLE);
    EXPECT_TRUE(recorder.Checked(IDC_PROXY_ENABLE));
    EXPECT_EQ(fake.GetDword(kSettingsKey, "ProxyEnable"), 1u);
    recorder.Click(IDC_PROXY_ENABLE);
    EXPECT_EQ(fake.GetDword(kSettingsKey, "ProxyEnable"), 0u);

    std::vector<std::pair<int, bool>> expected;
    for (const bool on : {true, false}) {
        for (const int id : kDependents) {
            expected.emplace_back(id, on);
        }
    }
    EXPECT_EQ(recorder.enables, expected);
    EXPECT_TRUE(recorder.Boxes().empty());
}

TEST_F(ProxyTest, FailedSwitchReturnsOnlyTheCheckMark) {
    fake.SetDword(kSettingsKey, "ProxyEnable", 0);
    Open();
    fake.FailStores(true);

    Click(IDC_PROXY_ENABLE);  // on fails
    EXPECT_THAT(BoxTexts(), ElementsAre(kMsgProxyWriteFailed));
    EXPECT_FALSE(window.Checked(IDC_PROXY_ENABLE));
    EXPECT_EQ(DependentsEnabled(), kAllOn);

    fake.FailStores(false);
    Click(IDC_PROXY_ENABLE);
    fake.FailStores(true);
    Click(IDC_PROXY_ENABLE);  // off fails
    EXPECT_THAT(BoxTexts(), ElementsAre(kMsgProxyWriteFailed, kMsgProxyWriteFailed));
    EXPECT_TRUE(window.Checked(IDC_PROXY_ENABLE));
    EXPECT_EQ(DependentsEnabled(), kAllOff);
    EXPECT_EQ(fake.GetDword(kSettingsKey, "ProxyEnable"), 1u);
}

class ServerTest : public ProxyTest {
  protected:
    void OpenWith(const std::string& server) {
        fake.SetDword(kSettingsKey, "ProxyEnable", 1);
        fake.SetString(kSettingsKey, "ProxyServer", server);
        Open();
        fake.log.clear();
    }
    void SetServer(const std::string& typed) {
        window.Type(IDC_PROXY_SERVER, typed);
        Click(IDC_SET_SERVER);
    }
};

TEST_F(ServerTest, UnreadableServerGivesAnEmptyFieldAndAnEmptyFirstItem) {
    fake.SetString(kSettingsKey, "ProxyServer", std::string(260, 'h'));  // too long to read
    Open();
    EXPECT_EQ(window.GetText(IDC_PROXY_SERVER), "");
    EXPECT_THAT(window.At(IDC_PROXY_SERVER).items, ElementsAre(""));
    SetServer("");
    EXPECT_EQ(window.GetText(IDC_PROXY_SERVER), "");
    EXPECT_EQ(Stored("ProxyServer"), std::string(260, 'h'));
}

TEST_F(ServerTest, RefusedTextsShowTheirMessageAndRestoreTheStartUpServer) {
    struct Case {
        std::string typed;
        const char* message;
    };
    const Case cases[] = {
        {"", kMsgPortMissing},
        {"   ", kMsgColonMissing},                            // blanks are text, not a missing port
        {"proxy.example", kMsgColonMissing},                  // no port
        {"proxy.example\x81\x46port", kMsgColonMissing},      // full-width colon, code page 932
        {"proxy.example\xEF\xBC\x9Aport", kMsgColonMissing},  // and in UTF-8
    };
    OpenWith("start:1");
    for (const Case& c : cases) {
        const std::size_t before = window.Boxes().size();
        SetServer(c.typed);
        ASSERT_EQ(window.Boxes().size(), before + 1) << c.typed;
        EXPECT_EQ(window.Boxes().back().text, c.message) << c.typed;
        EXPECT_EQ(window.Boxes().back().type, kMbOk);
        EXPECT_EQ(window.GetText(IDC_PROXY_SERVER), "start:1") << c.typed;
    }
    EXPECT_EQ(fake.Writes(), 0u);
    EXPECT_EQ(Stored("ProxyServer"), "start:1");
}

// The restore brings back the start-up server even after others were stored.
TEST_F(ServerTest, AnyTextWithAColonIsStoredAsTypedAndARefusalRestoresTheStartUpServer) {
    OpenWith("start:1");
    for (const std::string typed : {"http=a:80;https=b:443", " spaced :8080 ", ":"}) {
        SetServer(typed);
        EXPECT_EQ(Stored("ProxyServer"), typed);
        EXPECT_EQ(window.GetText(IDC_PROXY_SERVER), typed);
    }
    EXPECT_TRUE(window.Boxes().empty());
    EXPECT_THAT(window.At(IDC_PROXY_SERVER).items, ElementsAre("start:1"));
    SetServer("third");
    EXPECT_THAT(BoxTexts(), ElementsAre(kMsgColonMissing));
    EXPECT_EQ(window.GetText(IDC_PROXY_SERVER), "start:1");
    EXPECT_EQ(Stored("ProxyServer"), ":");
}

TEST_F(ServerTest, FailedStoreIsReported) {
    OpenWith("start:1");
    fake.FailStores(true);
    SetServer("other:2");
    EXPECT_THAT(BoxTexts(), ElementsAre(kMsgProxyWriteFailed));
    EXPECT_EQ(window.GetText(IDC_PROXY_SERVER), "other:2");
}

TEST_F(ServerTest, LongestReadableServersSurviveStartUpAndTheRestore) {
    for (const std::size_t length : {255u, 256u, 259u}) {
        FakeRegistry state;
        CRegistryAccess access{state};
        CSettingsDlg dlg{ServicesOver(access)};
        SimWindow sim;
        const std::string server = std::string(length - 3, 's') + ":80";
        state.SetString(kSettingsKey, "ProxyServer", server);
        state.SetDword(kSettingsKey, "ProxyEnable", 1);
        sim.Open(dlg);
        EXPECT_EQ(sim.GetText(IDC_PROXY_SERVER), server) << length;
        EXPECT_THAT(sim.At(IDC_PROXY_SERVER).items, ElementsAre(server)) << length;
        sim.Type(IDC_PROXY_SERVER, "");
        sim.Click(IDC_SET_SERVER);
        EXPECT_EQ(sim.GetText(IDC_PROXY_SERVER), server) << length;
    }
}

TEST_F(ServerTest, TypingStopsAtWhatCanBeReadBackAndNothingLongerIsStored) {
    OpenWith("start:1");
    EXPECT_EQ(window.At(IDC_PROXY_SERVER).limit, 259u);
    const std::string longest = std::string(256, 'a') + ":80";
    SetServer(longest);
    EXPECT_EQ(Stored("ProxyServer"), longest);

    // Only a text set from outside the keyboard can be longer: it is refused
    // whole, never cut.
    const std::string tooLong = std::string(257, 'a') + ":80";
    window.SetText(IDC_PROXY_SERVER, tooLong);
    Click(IDC_SET_SERVER);
    EXPECT_THAT(BoxTexts(), ElementsAre(kMsgProxyWriteFailed));
    EXPECT_EQ(Stored("ProxyServer"), longest);
    EXPECT_EQ(window.GetText(IDC_PROXY_SERVER), tooLong);
}

}  // namespace
