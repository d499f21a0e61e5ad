// The server list file: its line rules, and its items in the combo box.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/messages.h"
#include "proxy/server_list.h"
#include "resources/resource.h"
#include "tests/support/fake_files.h"
#include "tests/unit/dialog_fixture.h"

namespace {

using ::testing::ElementsAre;
using Items = std::vector<std::string>;

struct LineCase {
    const char* name;
    std::string bytes;
    Items items;
};

const LineCase kLineCases[] = {
    {"TwoTerminatedLines", "a:1\r\nb:2\r\n", {"a:1", "b:2"}},
    {"NoFinalLineEnd", "a:1\r\nb:2", {"a:1"}},
    {"BlankLineInTheMiddle", "a\n\nb\n", {"a", "", "b"}},
    {"CrCrLfEndsTwoLines", "a\r\r\nb\n", {"a", "", "b"}},
    {"LfCrEndsTwoLines", "a\n\rb\n", {"a", "", "b"}},
    {"FinalLoneCrEndsTheLastLine", "a\nb\r", {"a", "b"}},
    {"SubEndsTheFile", "a\nb\x1A\nc\n", {"a"}},
    {"ZeroByteEndsTheItemsText", std::string("ab\0cd\nef\n", 9), {"ab", "ef"}},
    {"BytesPassThrough", "\x82\xA0 \t;=\n", {"\x82\xA0 \t;="}},
    {"Empty", "", {}},
};

class LineRulesTest : public ::testing::TestWithParam<LineCase> {};

TEST_P(LineRulesTest, GivesTheExpectedItems) {
    EXPECT_EQ(ParseServerList(GetParam().bytes), GetParam().items);
}

INSTANTIATE_TEST_SUITE_P(ServerList, LineRulesTest, ::testing::ValuesIn(kLineCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ServerListBounds, OverlongLineIsLeftOutWholeAndItemsStopAtTheCap) {
    const std::string longest(259, 'x');
    EXPECT_EQ(ParseServerList(longest + "\n" + std::string(260, 'y') + "\nz\n"),
              (Items{longest, "z"}));
    EXPECT_EQ(ParseServerList(std::string(kMaxServerListItems + 10, '\n')).size(),
              kMaxServerListItems);
}

class ServerListDialogTest : public DialogFixture {
  protected:
    ServerListDialogTest() {
        fake.SetString(kSettingsKey, "ProxyServer", "stored:1");
        fake.SetDword(kSettingsKey, "ProxyEnable", 1);
        services.files = &files;
    }
    const Items& ComboItems() { return window.At(IDC_PROXY_SERVER).items; }
    FakeFiles files;
};

TEST_F(ServerListDialogTest, ItemsFollowTheStoredServerInFileOrderRepeatsIncluded) {
    files.Put("C:\\Users\\user\\server.pxy", "a:1\nstored:1\n\na:1\r\n");
    Open();
    EXPECT_THAT(ComboItems(), ElementsAre("stored:1", "a:1", "stored:1", "", "a:1"));
    EXPECT_EQ(window.GetText(IDC_PROXY_SERVER), "stored:1");  // picking is the user's
    EXPECT_TRUE(window.Boxes().empty());
}

TEST_F(ServerListDialogTest, RootDirectoryGivesADoubledBackslash) {
    files.currentDirectory = "D:\\";
    files.Put("D:\\\\server.pxy", "root:1\n");
    Open();
    EXPECT_THAT(files.opened, ElementsAre("D:\\\\server.pxy"));
    EXPECT_THAT(ComboItems(), ElementsAre("stored:1", "root:1"));
}

TEST_F(ServerListDialogTest, NoUsableFileGivesOnlyTheStoredServerSilently) {
    const std::string dir248 = "C:\\" + std::string(245, 'd');  // 248 + "\server.pxy" fits
    struct Case {
        const char* name;
        std::string directory;
        bool failDirectory;
        bool lock;
        bool expectOpen;
    };
    const Case cases[] = {
        {"no file here", "C:\\elsewhere", false, false, true},
        {"unreadable file", "C:\\Users\\user", false, true, true},
        {"no current directory", "C:\\Users\\user", true, false, false},
        {"path over 260 bytes", dir248 + "d", false, false, false},
    };
    for (const Case& c : cases) {
        FakeRegistry state;
        state.SetString(kSettingsKey, "ProxyServer", "stored:1");
        CRegistryAccess access{state};
        FakeFiles fs;
        fs.Put("C:\\Users\\user\\server.pxy", "a:1\n");
        fs.Put(dir248 + "d\\server.pxy", "a:1\n");
        fs.currentDirectory = c.directory;
        fs.failCurrentDirectory = c.failDirectory;
        if (c.lock) {
            fs.Lock("C:\\Users\\user\\server.pxy");
        }
        SettingsServices withFiles{access};
        withFiles.files = &fs;
        CSettingsDlg dlg{withFiles};
        SimWindow sim;
        sim.Open(dlg);
        EXPECT_THAT(sim.At(IDC_PROXY_SERVER).items, ElementsAre("stored:1")) << c.name;
        EXPECT_EQ(fs.opened.size(), c.expectOpen ? 1u : 0u) << c.name;
        for (const SimWindow::Box& box : sim.Boxes()) {
            EXPECT_EQ(box.text, kMsgReadFailed) << c.name;  // the unset values only
        }
    }

    files.currentDirectory = dir248;  // the longest directory that still fits
    files.Put(dir248 + "\\server.pxy", "fits:1\n");
    Open();
    EXPECT_THAT(ComboItems(), ElementsAre("stored:1", "fits:1"));
}

TEST_F(ServerListDialogTest, WithoutAFileSeamThereAreNoFileItems) {
    services.files = nullptr;
    Open();
    EXPECT_THAT(ComboItems(), ElementsAre("stored:1"));
}

}  // namespace
