// Registry values that another program or a hostile user could plant: wrong
// types, sizes of 0 to 3 bytes, texts without their zero byte, very long
// texts, and bytes that are no valid text in the ANSI code page. The dialog
// opens, shows only what it read and writes back only the values it reflects.
// (What clicks do with such values is left to the start-up fuzz target.)
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "texts/messages.h"
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

INSTANTIATE_TEST_SUITE_P(Kinds, HostileValuesTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
