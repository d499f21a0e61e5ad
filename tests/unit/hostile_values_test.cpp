// Registry values that another program or a hostile user could plant: wrong
// types, sizes of 0 to 3 bytes, texts without their zero byte, very long
// texts, and bytes that are no valid text in the ANSI code page. The dialog
// opens, shows only what it read, writes back only the values it reflects,
// and each click changes only the value that belongs to its control.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/messages.h"
#include "resources/resource.h"
#include "tests/unit/dialog_fixture.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

struct StoredName {
    const char* key;
    const char* name;
};

// Every value the dialog reads.
const StoredName kDwordValues[] = {
    {kZoneKey, "1400"}, {kZoneKey, "1402"}, {kZoneKey, "1C00"},
    {kZoneKey, "1A02"}, {kZoneKey, "1A03"}, {kSettingsKey, "ProxyEnable"},
};
const StoredName kTextValues[] = {{kSettingsKey, "ProxyServer"}, {kSettingsKey, "ProxyOverride"}};

Bytes Text(const std::string& text, bool zeroByte = true) {
    Bytes bytes(text.begin(), text.end());
    if (zeroByte) {
        bytes.push_back(0);
    }
    return bytes;
}

// One kind of planted value, stored under all eight names at once.
struct HostileCase {
    const char* name;
    std::uint32_t type;
    Bytes bytes;
    std::size_t readFailures;           // boxes at start-up: one per unreadable 32-bit value
    std::string shownText;              // in the server field, its first item and the exclusion box
    std::set<std::string> writtenBack;  // zone values whose reflected click stores them again
};

const std::string kLong(64 * 1024, 'w');

const HostileCase kCases[] = {
    {"TextWhereNumbersAreExpected", kRegSz, Text("1"), 6, "1", {}},
    // A number shows as its four bytes, ended after them.
    {"NumberWhereTextsAreExpected", kRegDword, {'p', ':', '8', '0'}, 0, "p:80", {}},
    {"EmptyBinary", kRegBinary, {}, 6, "", {}},
    {"OneByte", kRegBinary, {'a'}, 6, "a", {}},
    {"TwoBytes", kRegDword, {'a', 'b'}, 6, "ab", {}},
    {"ThreeBytes", kRegSz, {'a', 'b', 'c'}, 6, "abc", {}},
    {"MultiString", kRegMultiSz, {'a', ':', '1', 0, 'b', ':', '2', 0, 0}, 6, "a:1", {}},
    {"TextWithoutItsZeroByte", kRegSz, Text("proxy:8080", false), 6, "proxy:8080", {}},
    {"SixtyFourKiBText", kRegSz, Text(kLong), 6, "", {}},  // unreadable, so shown as empty
    {"BytesNoCodePageHas", kRegBinary, {0x81, 0xFF, 0x80, 0xFD}, 0, "\x81\xFF\x80\xFD", {}},
    {"LeadByteCutOff", kRegSz, {'h', ':', '1', 0x82}, 0, "h:1\x82", {}},
    {"FourBinaryBytesOfAListedValue",
     kRegBinary,
     {3, 0, 0, 0},
     0,
     "\x03",
     {"1400", "1402", "1a02", "1a03"}},
};

class HostileValuesTest : public DialogFixture, public ::testing::WithParamInterface<HostileCase> {
  protected:
    void SetUp() override {
        const HostileCase& c = GetParam();
        for (const auto& values :
             {std::vector<StoredName>(std::begin(kDwordValues), std::end(kDwordValues)),
              std::vector<StoredName>(std::begin(kTextValues), std::end(kTextValues))}) {
            for (const StoredName& value : values) {
                fake.SetRaw(value.key, value.name, c.type, c.bytes);
            }
        }
        planted_ = Everything();
    }

    using Contents = std::map<std::string, std::optional<FakeRegistry::Value>>;
    Contents Everything() const {
        Contents contents;
        for (const StoredName& value : kDwordValues) {
            contents[Lower(value.name)] = fake.Get(value.key, value.name);
        }
        for (const StoredName& value : kTextValues) {
            contents[Lower(value.name)] = fake.Get(value.key, value.name);
        }
        return contents;
    }
    static std::string Lower(std::string text) {
        for (char& c : text) {
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
        return text;
    }
    // The names whose stored type or bytes differ between two states.
    static std::set<std::string> Changed(const Contents& before, const Contents& after) {
        std::set<std::string> changed;
        for (const auto& [name, value] : before) {
            const auto& other = after.at(name);
            if (value.has_value() != other.has_value() ||
                (value && (value->type != other->type || value->data != other->data))) {
                changed.insert(name);
            }
        }
        return changed;
    }

    Contents planted_;
};

TEST_P(HostileValuesTest, StartUpShowsOnlyWhatItReadAndWritesBackOnlyReflectedValues) {
    const HostileCase& c = GetParam();
    Open();

    EXPECT_EQ(BoxTexts(), std::vector<std::string>(c.readFailures, kMsgReadFailed));
    EXPECT_EQ(window.GetText(IDC_PROXY_SERVER), c.shownText);
    EXPECT_THAT(window.At(IDC_PROXY_SERVER).items, ::testing::ElementsAre(c.shownText));
    EXPECT_EQ(window.GetText(IDC_PROXY_OVERRIDE), c.shownText);
    EXPECT_FALSE(window.Checked(IDC_PROXY_LOCAL));
    EXPECT_FALSE(window.Checked(IDC_PROXY_ENABLE));  // no planted value reads as 1

    const Contents after = Everything();
    EXPECT_EQ(Changed(planted_, after), c.writtenBack);
    for (const std::string& name : c.writtenBack) {
        // The value as read, now as the number it stood for.
        EXPECT_EQ(after.at(name)->type, kRegDword) << name;
        EXPECT_EQ(after.at(name)->data, c.bytes) << name;
    }
    EXPECT_EQ(fake.OpenHandles(), 0u);
}

// What each control may change when clicked; other controls change nothing.
std::set<std::string> OwnedBy(int id) {
    static const std::set<std::string> kZone = {"1400", "1402", "1c00", "1a02", "1a03"};
    static const std::map<int, std::set<std::string>> kOwned = {
        {IDC_SCRIPT_QUERY, {"1400"}},
        {IDC_SCRIPT_ALLOW, {"1400"}},
        {IDC_SCRIPT_DISALLOW, {"1400"}},
        {IDC_APPLET_QUERY, {"1402"}},
        {IDC_APPLET_ALLOW, {"1402"}},
        {IDC_APPLET_DISALLOW, {"1402"}},
        {IDC_JAVA_HIGH, {"1c00"}},
        {IDC_JAVA_MEDIUM, {"1c00"}},
        {IDC_JAVA_LOW, {"1c00"}},
        {IDC_JAVA_PROHIBIT, {"1c00"}},
        {IDC_COOKIE_QUERY, {"1a02"}},
        {IDC_COOKIE_ALLOW, {"1a02"}},
        {IDC_COOKIE_DISALLOW, {"1a02"}},
        {IDC_SESSION_QUERY, {"1a03"}},
        {IDC_SESSION_ALLOW, {"1a03"}},
        {IDC_SESSION_DISALLOW, {"1a03"}},
        {IDC_PROXY_ENABLE, {"proxyenable"}},
        {IDC_PROXY_LOCAL, {"proxyoverride"}},
        {IDC_SET_OVERRIDE, {"proxyoverride"}},
        {IDC_SET_SERVER, {"proxyserver"}},
        {IDC_PRESET_ALL_ON, kZone},
        {IDC_PRESET_ALL_OFF, kZone},
        {IDC_PRESET_STANDARD, kZone},
    };
    const auto owned = kOwned.find(id);
    return owned == kOwned.end() ? std::set<std::string>{} : owned->second;
}

TEST_P(HostileValuesTest, EachClickChangesOnlyTheValueOfItsControl) {
    Open();
    // The proxy switch first, so that the controls it enables take clicks.
    std::vector<int> clicks = {IDC_PROXY_ENABLE};
    for (const ControlLayout& control : kMainDialogLayout) {
        if (control.id != kNoId && control.id != IDC_PROXY_ENABLE) {
            clicks.push_back(control.id);
        }
    }
    // Twice round, so that the local-address switch and the proxy switch are
    // each seen both ways.
    for (int round = 0; round < 2; ++round) {
        for (const int id : clicks) {
            const Contents before = Everything();
            Click(id);
            const std::set<std::string> changed = Changed(before, Everything());
            const std::set<std::string> owned = OwnedBy(id);
            for (const std::string& name : changed) {
                EXPECT_EQ(owned.count(name), 1u) << "control " << id << " changed " << name;
            }
        }
    }
    EXPECT_EQ(fake.OpenHandles(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Kinds, HostileValuesTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

using HostileOverrideTest = DialogFixture;

TEST_F(HostileOverrideTest, ListTooLongToReadSurvivesEveryClickOfTheSwitch) {
    const Bytes planted = Text(kLong + ";<local>");
    fake.SetDword(kSettingsKey, "ProxyEnable", 1);
    fake.SetRaw(kSettingsKey, "ProxyOverride", kRegSz, planted);
    Open();
    EXPECT_EQ(window.GetText(IDC_PROXY_OVERRIDE), "");
    EXPECT_FALSE(window.Checked(IDC_PROXY_LOCAL));

    window.Click(IDC_PROXY_LOCAL);  // on: refused, the list cannot be read whole
    EXPECT_FALSE(window.Checked(IDC_PROXY_LOCAL));
    window.SetCheck(IDC_PROXY_LOCAL, true);
    window.Click(IDC_PROXY_LOCAL);  // off: refused too
    EXPECT_TRUE(window.Checked(IDC_PROXY_LOCAL));
    EXPECT_EQ(fake.Get(kSettingsKey, "ProxyOverride")->data, planted);
    EXPECT_THAT(BoxTexts(), ::testing::ElementsAre(kMsgProxyWriteFailed, kMsgProxyWriteFailed));
}

}  // namespace
