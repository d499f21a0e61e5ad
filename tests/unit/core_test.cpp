// The core's rules where a scenario cannot reach them: reads that race a
// growing value, the exact bounds of the server list, the cache loop's
// failure paths.
#include <gtest/gtest.h>

#include <functional>

#include "cache/url_cache_cleaner.h"
#include "change/profile_apply.h"
#include "change/switches.h"
#include "profile/undo_point.h"
#include "proxy/exclusions.h"
#include "proxy/proxy_settings.h"
#include "proxy/server_list.h"
#include "store/registry_paths.h"
#include "tests/scenario/script.h"
#include "tests/support/sim_window.h"
#include "texts/change_words.h"
#include "tray/tray_icon.h"

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
        fake.Put(kHkcu, "k", "v", RawValue{kRegSz, std::string(260, '\0')});
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

// Entries by name and extra bytes: each needs 80 bytes, its name, a zero byte
// and those. Names starting "cookie" in any case are cookies.
struct CleanCase {
    std::vector<std::pair<std::string, std::size_t>> entries = {{"a", 0}, {"big", 6000}, {"b", 0}};
    std::optional<std::uint32_t> reportedSize{};  // after a lack of space; none: the size needed
    std::size_t failAllocationsFrom = 0;          // this allocation (from 1) and later ones fail
    std::size_t goodFetches = SIZE_MAX;           // then the enumeration breaks
    std::string refused{};                        // a deletion the cache refuses
    Run run = kFiles;
    Items left{};  // what is left, in order
    CleanEnd end = CleanEnd::kComplete;
};

const CleanCase kCleanCases[] = {
    // Entries larger than the first block, growing and shrinking, are all deleted.
    {.entries = {{"a", 5000}, {"b", 12000}, {"c", 8000}, {"d", kFirstEntryBlockSize - 82}}},
    // A lack of space asking for no more than the block ends it, and so does a
    // failed allocation.
    {.reportedSize = kFirstEntryBlockSize, .left = {"big", "b"}, .end = CleanEnd::kFailed},
    {.failAllocationsFrom = 2, .left = {"big", "b"}, .end = CleanEnd::kFailed},
    // A refused deletion is skipped; another failure of the enumeration ends
    // the run, and so does the observer.
    {.refused = "big", .left = {"big"}},
    {.goodFetches = 1, .left = {"big", "b"}, .end = CleanEnd::kFailed},
    {.run = kStopAtOnce, .left = {"big", "b"}, .end = CleanEnd::kStopped},
    // Cookies in a container named as the documentation spells it.
    {.entries = {{"cookie:a", 0}, {"Cookie", 0}}, .run = kCookies, .left = {"Cookie"}},
};

class Clean : public ::testing::TestWithParam<CleanCase> {};

TEST_P(Clean, EndsAsItShouldWithNothingLeftOpen) {
    const CleanCase& c = GetParam();
    FakeUrlCache cache;
    for (const auto& [url, extra] : c.entries) {
        cache.Add(url, Fold(url).starts_with("cookie"), extra);
    }
    cache.misreportedSize = c.reportedSize;
    cache.failAllocationsFrom = c.failAllocationsFrom;
    cache.fetchesBeforeBreak = c.goodFetches;
    cache.refused = {c.refused};
    StopAtOnce stop;
    const CleanResult result = c.run == kCookies ? DeleteCookies(cache)
                               : c.run == kFiles ? DeleteTemporaryFiles(cache, nullptr)
                                                 : DeleteTemporaryFiles(cache, &stop);
    EXPECT_EQ(cache.Urls(), c.left);
    EXPECT_EQ(result.deleted, c.entries.size() - c.left.size());
    EXPECT_EQ(result.refused, c.refused.empty() ? 0u : 1u);
    EXPECT_EQ(result.end, c.end);
    EXPECT_EQ(cache.Held(), 0u);
    EXPECT_EQ(cache.faults, Items{});
}

INSTANTIATE_TEST_SUITE_P(Cases, Clean, ::testing::ValuesIn(kCleanCases));

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
    EXPECT_EQ(machine.cache.Held(), 0u);
    machine.cache.failAllocationsFrom = 1;
    const scenario::CliRun failed = cli.Run(clean, "");
    EXPECT_EQ(failed.exitCode, 1);
    EXPECT_EQ(failed.out + failed.err,
              "0 件削除しました。\nURL キャッシュを最後まで調べられませんでした。\n");
}

// A change whose way back cannot be recorded is not made, and the user is
// told that reason alone.
TEST(Undo, AChangeThatCannotBeRecordedIsNotMade) {
    NativeMachine machine;
    NativeCli cli(machine);
    machine.files.userFilesFail = true;
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"zone", "java", "low"}, {"preset", "all-on"}}) {
        const scenario::CliRun run = cli.Run(args, "");
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.out + run.err,
                  "元に戻すための記録を保存できないため、変更しませんでした。\n");
    }
    const scenario::Ref java = scenario::kJava;
    EXPECT_EQ(machine.Value(java.key.root, java.key.path, java.name), std::nullopt);
    const scenario::CliRun unlisted = cli.Run({"profile", "list"}, "");
    EXPECT_EQ(unlisted.exitCode, 1);
    EXPECT_EQ(unlisted.err, "プロファイルの一覧を読み取れません。\n");
    // Without the user's application-data folder there is no way back, nor any profile.
    machine.files.appData.clear();
    const scenario::CliRun list = cli.Run({"profile", "list"}, "");
    EXPECT_EQ(list.exitCode, 1);
    EXPECT_EQ(list.err, "アプリケーション データ フォルダー (%APPDATA%) が見つかりません。\n");
}

// A write that fails leaves the undo point as it was; a rollback that cannot
// write a value back says so.
TEST(Undo, AFailedWriteLeavesNoTraceAndARollbackThatFailsSaysSo) {
    struct FailingRegistry : FakeRegistry {
        int setsLeft = 1000;
        RegStatus SetValue(RegKey key, const char* name, std::uint32_t type,
                           const std::uint8_t* data, std::uint32_t size) override {
            return setsLeft-- > 0 ? FakeRegistry::SetValue(key, name, type, data, size) : 5;
        }
    } registry;
    CRegistryAccess access(registry);
    FakeFiles files;
    FakeCharset charset;
    const std::string undo = "C:\\undo.txt";
    files.files[undo] = "found";
    registry.Put(kHkcu, kZoneKey, "1400", scenario::Dword(1));
    registry.setsLeft = 0;
    for (const auto& write : std::initializer_list<std::function<SwitchEnd(SettingChange&)>>{
             [](SettingChange& c) { return SwitchProxy(c, true); },
             [](SettingChange& c) { return SetProxyServer(c, "a:1"); },
             [](SettingChange& c) { return SetProxyBypass(c, "b"); },
             [](SettingChange& c) { return SetLocalAddresses(c, true); }}) {
        SettingChange lone(access, files, undo);
        EXPECT_EQ(write(lone), SwitchEnd::kWriteFailed);
    }
    EXPECT_EQ(files.files[undo], "found");

    registry.setsLeft = 1;  // the script's write, then none: not the proxy's, nor the way back
    ProfileReading read = ParseProfile("javascript = disable\nproxy = on\n", charset);
    SettingChange change(access, files, undo);
    const ChangeOutcome outcome = Apply(change, PlanApply(access, read.profile));
    EXPECT_EQ(ChangeFailureText(outcome),
              "セットに失敗しました。 (proxy)\n元に戻せなかった値があります。");
    EXPECT_EQ(files.files[undo], "found");
}

// Grown a line per write, the undo point is the file it would be formatted whole.
TEST(Undo, TheUndoPointSavedIsTheOneFormattedWhole) {
    FakeRegistry registry;
    CRegistryAccess access(registry);
    FakeFiles files;
    SettingChange change(access, files, "C:\\undo.txt");
    SwitchPreset(change, Preset::kAllOff);
    SwitchProxy(change, true);
    const std::string saved = files.files["C:\\undo.txt"];
    const std::optional<UndoPoint> point = ParseUndoPoint(saved);
    ASSERT_TRUE(point.has_value());
    EXPECT_EQ(point->size(), kZoneOptionCount + 1);
    EXPECT_EQ(saved, FormatUndoPoint(*point));
}

// The largest undo point that can be written, every value before and after
// of the most bytes read exactly, reads back and is undone.
TEST(Undo, TheLargestUndoPointReadsBackAndIsUndone) {
    NativeMachine machine;
    NativeCli cli(machine);
    const std::string found(kMaxRawBytes, 'f');
    UndoPoint largest;
    for (std::size_t row = 0; row < kSettingCount; ++row) {
        const RawValue written{0xFFFFFFFF, std::string(kMaxRawBytes, 'w')};
        largest.push_back({row, RawValue{0xFFFFFFFF, found}, written});
        machine.registry.Put(kHkcu, SettingTable[row].key, SettingTable[row].valueName,
                             scenario::Raw(written.type, written.bytes));
    }
    machine.SetUserFile("undo.txt", FormatUndoPoint(largest));
    const scenario::CliRun undo = cli.Run({"undo"}, "");
    EXPECT_EQ(undo.exitCode, 0) << undo.err;
    const scenario::Ref java = scenario::kJava;
    EXPECT_EQ(machine.Value(java.key.root, java.key.path, java.name),
              scenario::Raw(0xFFFFFFFF, found));
}

// An undo point is taken only as written: each line a setting's name, then
// what it held and what was written, each "-" or a type and whole bytes.
TEST(UndoPoint, AnythingElseIsRefused) {
    for (const char* text : {"javascript 4:0g -", "javascript - 4:010", "javascript 4 -",
                             "javascript :00 -", "javascript 4x:00 -", "javascript 4:zz -",
                             "javascript -", "javascript - - -", "flash - -"}) {
        EXPECT_EQ(ParseUndoPoint(text), std::nullopt) << text;
    }
    EXPECT_EQ(ParseUndoPoint("; a comment\r\nproxy 4:01000000 -\r\n"),
              (UndoPoint{{kZoneOptionCount, RawValue{4, std::string("\1\0\0\0", 4)}, {}}}));
}

// The about entry, in the text of its string, ends the system menu after a
// separator.
TEST(SystemMenu, EndsWithTheAboutEntry) {
    NativeMachine machine;
    SimWindow window(machine);
    window.Open({});
    const std::string about = window.LoadResourceString(IDS_ABOUTBOX);
    EXPECT_EQ(window.menu, (decltype(window.menu){{0, ""}, {IDM_ABOUTBOX, about}}));
}

// At 16 pixels and at twice that, the two looks differ in shape, not only in colour, and each has
// dark and light parts, to be seen on a light taskbar and on a dark one.
TEST(TrayIcon, TheTwoLooksDifferInShapeAndEachHasDarkAndLight) {
    for (const int size : {16, 32}) {
        const std::vector<std::uint32_t> on = DrawTrayIcon(size, true);
        const std::vector<std::uint32_t> off = DrawTrayIcon(size, false);
        ASSERT_EQ(on.size(), off.size());
        int shapeDiffers = 0;
        for (std::size_t i = 0; i < on.size(); ++i) {
            shapeDiffers += ((on[i] >> 24) > 0x80) != ((off[i] >> 24) > 0x80) ? 1 : 0;
        }
        EXPECT_GE(shapeDiffers, size * size / 16) << size << " pixels";
        for (const std::vector<std::uint32_t>* look : {&on, &off}) {
            int dark = 0;
            int light = 0;
            for (const std::uint32_t pixel : *look) {
                const std::uint32_t lightness =
                    ((pixel >> 16 & 0xFF) * 3 + (pixel >> 8 & 0xFF) * 6 + (pixel & 0xFF)) / 10;
                dark += (pixel >> 24) == 0xFF && lightness < 96 ? 1 : 0;
                light += (pixel >> 24) == 0xFF && lightness > 160 ? 1 : 0;
            }
            EXPECT_GE(dark, size) << size << " pixels";
            EXPECT_GE(light, size) << size << " pixels";
        }
    }
}

}  // namespace
