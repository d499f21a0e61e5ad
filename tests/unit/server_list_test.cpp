// The server list file: its line rules, and its items in the combo box.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

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
    }
    const Items& ComboItems() { return window.At(IDC_PROXY_SERVER).items; }
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

// Loads into a window of its own: only the file's items, if any, arrive.
Items LoadFrom(FakeFiles* files) {
    return ReadServerList(*files);
}

TEST(ServerListLoad, NoUsableFileGivesNoItemsSilently) {
    const std::string dir248 = "C:\\" + std::string(245, 'd');  // + "\server.pxy" fits 260
    FakeFiles files;
    files.Put("C:\\Users\\user\\server.pxy", "a:1\n");
    files.Put(dir248 + "\\server.pxy", "fits:1\n");
    files.Put(dir248 + "d\\server.pxy", "a:1\n");

    files.Lock("C:\\Users\\user\\server.pxy");
    EXPECT_THAT(LoadFrom(&files), ElementsAre());
    files.currentDirectory = "C:\\elsewhere";
    EXPECT_THAT(LoadFrom(&files), ElementsAre());
    EXPECT_EQ(files.opened.size(), 2u);

    files.currentDirectory = dir248 + "d";
    EXPECT_THAT(LoadFrom(&files), ElementsAre());
    files.failCurrentDirectory = true;
    EXPECT_THAT(LoadFrom(&files), ElementsAre());
    EXPECT_EQ(files.opened.size(), 2u);  // neither of these opened anything

    files.failCurrentDirectory = false;
    files.currentDirectory = dir248;  // the longest directory that still fits
    EXPECT_THAT(LoadFrom(&files), ElementsAre("fits:1"));
}

TEST(ServerListLoad, ReadStopsAtItsByteBoundSoALineEndingPastItIsLeftOut) {
    // 4080 lines of 257 bytes, then one more line that ends exactly at the
    // bound, or one byte past it.
    std::string lines;
    for (int i = 0; i < 4080; ++i) {
        lines += std::string(256, 'a') + "\n";
    }
    const std::string fits =
        lines + std::string(kMaxServerListBytes - lines.size() - 1, 'z') + "\n";
    const std::string over = lines + std::string(kMaxServerListBytes - lines.size(), 'z') + "\n";
    ASSERT_EQ(fits.size(), kMaxServerListBytes);
    FakeFiles files;
    files.Put("C:\\Users\\user\\server.pxy", fits);
    Items items = LoadFrom(&files);
    EXPECT_EQ(items.size(), 4081u);
    EXPECT_EQ(items.back(), std::string(kMaxServerListBytes - lines.size() - 1, 'z'));
    files.Put("C:\\Users\\user\\server.pxy", over);
    items = LoadFrom(&files);
    EXPECT_EQ(items.size(), 4080u);
    EXPECT_EQ(items.back(), std::string(256, 'a'));
}

}  // namespace
