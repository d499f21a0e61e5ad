// The core's rules where a scenario of the dialog cannot reach them: reads
// that race a growing value, the exact bounds of the server list, the cache
// loop's failure paths, the order of the start-up's reads and boxes.
#include <gtest/gtest.h>

#include <functional>

#include "cache/url_cache_cleaner.h"
#include "proxy/exclusions.h"
#include "proxy/proxy_settings.h"
#include "proxy/server_list.h"
#include "store/registry_paths.h"
#include "tests/support/sim_window.h"

namespace {

using Items = std::vector<std::string>;
constexpr RegKey kHkcu = kHkeyCurrentUser;

// A value that another program makes twice as long before each read.
struct GrowingRegistry : FakeRegistry {
    int growths = 0;
    RegStatus QueryValue(RegKey key, const char* name, std::uint32_t* type, std::uint8_t* data,
                         std::uint32_t* size) override {
        auto& text = keys[{kHkcu, "k"}]["v"].bytes;
        if (growths-- > 0) {
            text.insert(text.begin(), text.size(), 'g');
        }
        return FakeRegistry::QueryValue(key, name, type, data, size);
    }
};

TEST(RegistryRead, ChasesAGrowingTextFourTimesAtMostAndLeavesNothingOpen) {
    for (const int growths : {3, 4}) {
        GrowingRegistry fake;
        fake.growths = growths;
        fake.Put(kHkcu, "k", "v", FakeRegistry::Value{kRegSz, std::vector<std::uint8_t>(260, 0)});
        CRegistryAccess registry(fake);
        std::string text;
        EXPECT_EQ(registry.ReadString(kHkcu, "k", "v", &text, 1 << 16),
                  growths == 3 ? ReadOutcome::kRead : ReadOutcome::kUnreadable);
        EXPECT_EQ(fake.OpenHandles(), 0u);
    }
}

TEST(StripLocalSuffix, ComparesByteForByteUpToTheFirstZeroByte) {
    const std::pair<std::string, std::string> cases[] = {
        {"\x82\xA0<local>", "\x82"},  // the byte before goes, half a character or not
        {std::string("ab;<local>\0tail", 15), "ab"},
        {"x;<LOCAL>", "x;<LOCAL>"},
        {"x;<local> ", "x;<local> "},
        {"local>", "local>"},
    };
    for (const auto& [text, stripped] : cases) {
        std::string result = text;
        EXPECT_EQ(StripLocalSuffix(result), stripped != text) << text;
        EXPECT_EQ(result, stripped) << text;
    }
}

TEST(ServerList, LineRules) {
    const std::string bytes = "a\r\r\nb\n\rc\r" + std::string("d\0e\nf\x1Ag\n", 9);
    EXPECT_EQ(ParseServerList(bytes), (Items{"a", "", "b", "", "c", "d"}));
    // The view ends where its bytes do, whatever follows them; a lone CR at
    // its end ends the last line.
    EXPECT_EQ(ParseServerList(std::string_view("h\nlast\r\nmore", 7)), (Items{"h", "last"}));
}

TEST(ServerList, BoundsOfALineOfTheItemsAndOfTheBytesRead) {
    const std::string longest(kMaxServerLength, 'x');
    EXPECT_EQ(ParseServerList(longest + "\n" + longest + "y\nz\n"), (Items{longest, "z"}));
    EXPECT_EQ(ParseServerList(std::string(kMaxServerListItems + 1, '\n')).size(),
              kMaxServerListItems);
    FakeFiles files;
    for (const std::size_t size : {kMaxServerListBytes, kMaxServerListBytes + 1}) {
        // A line too long to list, then one that ends at the bound or past it.
        files.files[Fold(files.directory + "\\server.pxy")] = std::string(size - 3, 'p') + "\nz\n";
        EXPECT_EQ(ReadServerList(files), size == kMaxServerListBytes ? Items{"z"} : Items{});
    }
}

TEST(ServerList, TheFileIsFoundByTheCurrentDirectoryAsItIs) {
    // A root keeps its backslash; a path must fit 260 bytes with its zero.
    const std::string fits = "C:\\" + std::string(245, 'd');
    const std::tuple<std::string, std::string, bool> cases[] = {
        {"D:\\", "D:\\\\server.pxy", true},
        {fits, fits + "\\server.pxy", true},
        {fits + "d", fits + "d\\server.pxy", false},
        {"", "\\server.pxy", false},
    };
    for (const auto& [directory, path, found] : cases) {
        FakeFiles files;
        files.directory = directory;
        files.files[Fold(path)] = "s:1\n";
        EXPECT_EQ(ReadServerList(files).size(), found ? 1u : 0u) << directory;
    }
}

// Stops the run after the first entry.
struct StopAtOnce : CleanObserver {
    bool KeepGoing(const CleanResult&) override { return false; }
};

enum Run { kFiles, kCookies, kStopAtOnce };
constexpr std::uint32_t kTrue = ~0u;  // the size an entry needs
constexpr std::size_t kNever = SIZE_MAX;
using E = CleanEnd;

// Entries by name and extra bytes: each needs 80 bytes, its name, a zero byte
// and those. "Cookie:" names cookies.
struct CleanCase {
    std::vector<std::pair<std::string, std::size_t>> entries;
    std::uint32_t reportedSize;  // after a lack of space
    std::size_t failAllocationsFrom, goodFetches;
    std::string refused;
    Run run;
    Items left;
    std::vector<std::size_t> allocations;
    CleanEnd end;
    std::size_t fetches;
};

const std::vector<std::pair<std::string, std::size_t>> kThree = {{"a", 0}, {"big", 6000}, {"b", 0}};
const CleanCase kCleanCases[] = {
    // An empty cache ends the run at once.
    {{}, kTrue, 0, kNever, "", kFiles, {}, {4096}, E::kComplete, 1},
    // Larger entries are fetched again into one larger block, which is kept.
    {{{"a", 5000}, {"b", 12000}, {"c", 8000}, {"d", 4096 - 82}},
     kTrue,
     0,
     kNever,
     "",
     kFiles,
     {},
     {4096, 5082, 12082},
     E::kComplete,
     7},
    // A lack of space asking for 0, or for no more than the block, ends it.
    {kThree, 0, 0, kNever, "", kFiles, {"big", "b"}, {4096}, E::kFailed, 2},
    {kThree, 4096, 0, kNever, "", kFiles, {"big", "b"}, {4096}, E::kFailed, 2},
    // So does a failed allocation, the first or a larger one.
    {kThree, kTrue, 1, kNever, "", kFiles, {"a", "big", "b"}, {4096}, E::kFailed, 0},
    {kThree, kTrue, 2, kNever, "", kFiles, {"big", "b"}, {4096, 6084}, E::kFailed, 2},
    // A refused deletion is skipped; another failure of the enumeration ends
    // the run, and so does the observer.
    {kThree, kTrue, 0, kNever, "big", kFiles, {"big"}, {4096, 6084}, E::kComplete, 5},
    {kThree, kTrue, 0, 1, "", kFiles, {"big", "b"}, {4096}, E::kFailed, 2},
    {kThree, kTrue, 0, kNever, "", kStopAtOnce, {"big", "b"}, {4096}, E::kStopped, 1},
    // Cookies in a container named as the documentation spells it.
    {{{"cookie:a", 0}, {"Cookie", 0}},
     kTrue,
     0,
     kNever,
     "",
     kCookies,
     {"Cookie"},
     {4096, 4096},
     E::kComplete,
     3},
};

class Clean : public ::testing::TestWithParam<CleanCase> {};

TEST_P(Clean, EndsAsItShouldWithNothingLeftOpen) {
    const CleanCase& c = GetParam();
    FakeUrlCache cache;
    for (const auto& [url, extra] : c.entries) {
        cache.Add(url, url.rfind("ookie", 1) == 1, extra);
    }
    if (c.reportedSize != kTrue) {
        cache.misreportedSize = c.reportedSize;
    }
    cache.failAllocationsFrom = c.failAllocationsFrom;
    cache.fetchesBeforeBreak = c.goodFetches;
    cache.breakStatus = 8;  // ERROR_NOT_ENOUGH_MEMORY
    cache.refused = {c.refused};
    StopAtOnce stop;
    const CleanResult result =
        c.run == Run::kCookies
            ? DeleteCookies(cache)
            : DeleteTemporaryFiles(cache, c.run == Run::kFiles ? nullptr : &stop);
    EXPECT_EQ(cache.Urls(), c.left);
    EXPECT_EQ(result.deleted, c.entries.size() - c.left.size());
    EXPECT_EQ(result.refused, c.refused.empty() ? 0u : 1u);
    EXPECT_EQ(cache.allocations, c.allocations);
    EXPECT_EQ(result.end, c.end);
    EXPECT_EQ(cache.fetches, c.fetches);
    EXPECT_EQ(cache.OpenFinds() + cache.LiveBlocks(), 0u);
    EXPECT_EQ(cache.faults, Items{});
}

INSTANTIATE_TEST_SUITE_P(Cases, Clean, ::testing::ValuesIn(kCleanCases));

TEST(StartUp, ReportsEachFailedReadBeforeTheNextAndPostsItsClicksAfterTheReads) {
    NativeMachine machine;
    for (const char* name : {"1402", "1A02", "1A03"}) {
        machine.access.WriteDword(kHkcu, kZoneKey, name, 3);
    }
    machine.registry.log.clear();
    struct Tracing : SimWindow {
        FakeRegistry& registry;
        Tracing(NativeMachine& m) : SimWindow(m), registry(m.registry) {}
        int ShowMessage(std::string_view text, unsigned type) override {
            registry.log.push_back("box");
            return SimWindow::ShowMessage(text, type);
        }
    } window(machine);
    window.Open({});
    EXPECT_EQ(machine.registry.log,
              (Items{"read 1400", "box", "read 1402", "read 1C00", "box", "read 1A02", "read 1A03",
                     "read ProxyEnable", "box", "read ProxyServer", "read ProxyOverride",
                     "write 1402", "write 1A02", "write 1A03"}));
}

// Ctrl+C stops a cleaning run between two entries, and a run the cache ends
// early fails; either way the count so far is told.
TEST(CliCacheClean, StopsOnCtrlCAndFailsWhenTheCacheGivesOut) {
    NativeMachine machine;
    for (const char* url : {"http://a/", "http://b/", "http://c/"}) {
        machine.cache.Add(url, false);
    }
    NativeCli cli(machine);
    cli.stopAfter = 1;
    const std::vector<std::string> clean = {"cache", "clean", "temporary", "--yes"};
    const scenario::CliRun stopped = cli.Run(clean, "");
    EXPECT_EQ(stopped.exitCode, 3);
    EXPECT_EQ(stopped.out + stopped.err, "1 件削除しました。\n中止しました。\n");
    EXPECT_EQ(machine.cache.Urls(), (Items{"http://b/", "http://c/"}));
    EXPECT_EQ(machine.cache.OpenFinds() + machine.cache.LiveBlocks(), 0u);
    machine.cache.failAllocationsFrom = 1;
    const scenario::CliRun failed = cli.Run(clean, "");
    EXPECT_EQ(failed.exitCode, 1);
    EXPECT_EQ(failed.out + failed.err,
              "0 件削除しました。\nURL キャッシュを最後まで調べられませんでした。\n");
}

// A delete button's run is busy from its start to its end, and the window
// answers the system between every two entries.
TEST(DeleteButton, KeepsTheWindowAnsweringWhileItRuns) {
    NativeMachine machine;
    for (const char* url : {"http://a/", "Cookie:b", "http://c/"}) {
        machine.cache.Add(url, url[0] == 'C');
    }
    SimWindow window(machine);
    window.Open({});
    window.Click(IDC_DELETE_TEMP_FILES, {kIdNo});
    EXPECT_EQ(window.busyRuns, 0);
    window.Click(IDC_DELETE_TEMP_FILES, {kIdYes});
    EXPECT_EQ(window.busyRuns, 1);
    EXPECT_EQ(window.looksWhileBusy, 3);
    EXPECT_FALSE(window.busy);
}

TEST(SystemMenu, EndsWithTheAboutEntryOnlyWhenThereIsAMenuAndItsText) {
    for (const bool menu : {false, true}) {
        for (const bool text : {false, true}) {
            NativeMachine machine;
            SimWindow window(machine);
            window.hasSystemMenu = menu;
            if (!text) {
                window.strings.clear();
            }
            window.Open({});
            decltype(window.menu) expected;
            if (menu && text) {
                expected = {{0, ""}, {0x10, "Vormet のﾊﾞｰｼﾞｮﾝ情報(&A)..."}};
            }
            EXPECT_EQ(window.menu, expected);
        }
    }
}

// Minimized, the window paints the application icon itself; else painting is
// the system's. The icon is also the window's own and its drag icon.
TEST(Icon, IsTheWindowsOwnPaintedWhileMinimizedAndOfferedForDragging) {
    NativeMachine machine;
    SimWindow window(machine);
    window.Open({});
    EXPECT_FALSE(window.Send(kWmPaint));
    window.iconic = true;
    EXPECT_TRUE(window.Send(kWmPaint));
    EXPECT_EQ(window.iconPaints, 1);
    EXPECT_EQ(window.iconSets, 1);
    EXPECT_EQ(window.Send(kWmQueryDragIcon), SimWindow::kIcon);
}

}  // namespace
