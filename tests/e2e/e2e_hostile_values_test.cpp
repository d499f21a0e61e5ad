// The real program against registry values that another program or a
// hostile user could plant: wrong types, 0 to 3 bytes, texts without their
// zero byte, 64 KiB texts, and bytes no code page has. The dialog opens, shows
// only what it read, and every stored value stays as it was, apart from the
// values the start-up reflects and writes back, and what the user clicks.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "texts/messages.h"
#include "resources/resource.h"
#include "store/registry_paths.h"
#include "tests/e2e/support/driver.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

struct StoredName {
    const char* key;
    const char* name;
};

const StoredName kNumbers[] = {
    {kZoneKey, "1400"}, {kZoneKey, "1402"}, {kZoneKey, "1C00"},
    {kZoneKey, "1A02"}, {kZoneKey, "1A03"}, {kSettingsKey, "ProxyEnable"},
};
const StoredName kTexts[] = {{kSettingsKey, "ProxyServer"}, {kSettingsKey, "ProxyOverride"}};

// Through the wide API, so that the bytes of a text value are stored exactly
// as given (UTF-16, as the registry keeps texts) and not converted.
bool Plant(const StoredName& value, DWORD type, const Bytes& bytes) {
    HKEY key = nullptr;
    const std::wstring path = e2e::Widen(value.key);
    if (RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        &key, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const std::wstring name = e2e::Widen(value.name);
    const LSTATUS status =
        RegSetValueExW(key, name.c_str(), 0, type, bytes.data(), static_cast<DWORD>(bytes.size()));
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

// A value as the registry keeps it, read through the wide API.
std::optional<e2e::RegValue> Stored(const StoredName& value) {
    HKEY key = nullptr;
    const std::wstring path = e2e::Widen(value.key);
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    const std::wstring name = e2e::Widen(value.name);
    e2e::RegValue stored;
    DWORD size = 0;
    LSTATUS status = RegQueryValueExW(key, name.c_str(), nullptr, &stored.type, nullptr, &size);
    if (status == ERROR_SUCCESS) {
        stored.data.resize(size);
        status =
            RegQueryValueExW(key, name.c_str(), nullptr, &stored.type, stored.data.data(), &size);
        stored.data.resize(size);
    }
    RegCloseKey(key);
    return status == ERROR_SUCCESS ? std::optional<e2e::RegValue>(stored) : std::nullopt;
}

Bytes Utf16(const std::wstring& text, bool zero = true) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.c_str());
    return Bytes(bytes, bytes + (text.size() + (zero ? 1 : 0)) * sizeof(wchar_t));
}

// One kind of planted value, stored under all eight names at once.
struct HostileCase {
    const char* name;
    DWORD type;
    Bytes bytes;
    std::size_t readFailures;  // one box per 32-bit value that cannot be read
    std::string read;          // the text read: shown in the server field, as its first item
                               // and in the exclusion box
    std::set<std::string> writtenBack;
};

std::ostream& operator<<(std::ostream& out, const HostileCase& c) {
    return out << c.name;
}

const HostileCase kCases[] = {
    {"TextWhereNumbersAreExpected", REG_SZ, Utf16(L"1"), 6, "1", {}},
    // Four bytes of a number, taken as a text and ended after them.
    {"NumberWhereTextsAreExpected", REG_DWORD, {'p', ':', '8', '0'}, 0, "p:80", {}},
    {"MultiString", REG_MULTI_SZ, Utf16(std::wstring(L"a:1\0b:2\0", 8)), 6, "a:1", {}},
    {"EmptyBinary", REG_BINARY, {}, 6, "", {}},
    {"OneByte", REG_BINARY, {'a'}, 6, "a", {}},
    {"TwoBytes", REG_DWORD, {'a', 'b'}, 6, "ab", {}},
    {"ThreeBytes", REG_BINARY, {'a', 'b', 'c'}, 6, "abc", {}},
    {"TextWithoutItsZeroByte", REG_SZ, Utf16(L"proxy:8080", false), 6, "proxy:8080", {}},
    {"SixtyFourKiBText", REG_SZ, Utf16(std::wstring(64 * 1024, L'w')), 6, "", {}},
    // No valid text in code page 932: an undefined byte, a double-byte pair
    // no character has, and a lead byte cut off at the end.
    {"BytesNoCodePageHas", REG_BINARY, {0x80, 0x85, 0x40, 0x82}, 0, "\x80\x85\x40\x82", {}},
    {"FourBytesOfAListedValue",
     REG_BINARY,
     {3, 0, 0, 0},
     0,
     "\x03",
     {"1400", "1402", "1A02", "1A03"}},
};

class HostileValuesE2eTest : public ::testing::TestWithParam<HostileCase> {
  protected:
    void SetUp() override {
        for (const StoredName& value : All()) {
            kept_.push_back(Stored(value));
            ASSERT_TRUE(Plant(value, GetParam().type, GetParam().bytes)) << value.name;
        }
    }
    // The values as they were before, for the tests that follow.
    void TearDown() override {
        const std::vector<StoredName> all = All();
        for (std::size_t i = 0; i < kept_.size(); ++i) {
            const StoredName& value = all[i];
            if (kept_[i]) {
                Plant(value, kept_[i]->type, kept_[i]->data);
            } else {
                e2e::DeleteValue(value.key, value.name);
            }
        }
    }
    static std::vector<StoredName> All() {
        std::vector<StoredName> all(std::begin(kNumbers), std::end(kNumbers));
        all.insert(all.end(), std::begin(kTexts), std::end(kTexts));
        return all;
    }
    // The names whose stored type or bytes are no longer as planted.
    static std::set<std::string> Changed() {
        std::set<std::string> changed;
        const e2e::RegValue planted{GetParam().type, GetParam().bytes};
        for (const StoredName& value : All()) {
            if (Stored(value) != planted) {
                changed.insert(value.name);
            }
        }
        return changed;
    }

    std::vector<std::optional<e2e::RegValue>> kept_;
};

// What a control shows for the bytes it was given: the system's reading of
// them in its ANSI code page, whatever they are.
std::wstring AsShown(const std::string& bytes) {
    if (bytes.empty()) {
        return {};
    }
    const int size = static_cast<int>(bytes.size());
    std::wstring wide(bytes.size(), L'\0');
    wide.resize(static_cast<std::size_t>(
        MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, wide.data(), size)));
    return wide;
}

// The combo box's list items as the control holds them (UTF-16).
std::vector<std::wstring> ComboItemsW(HWND combo) {
    std::vector<std::wstring> items;
    const auto count = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        const auto length = SendMessageW(combo, CB_GETLBTEXTLEN, i, 0);
        std::wstring item(static_cast<std::size_t>(length) + 1, L'\0');
        item.resize(static_cast<std::size_t>(
            SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item.data()))));
        items.push_back(item);
    }
    return items;
}

TEST_P(HostileValuesE2eTest, OpensShowingOnlyWhatItReadAndKeepsEveryValue) {
    const HostileCase& c = GetParam();
    e2e::App app;
    ASSERT_TRUE(app.Start());
    const e2e::Outcome started = app.Settle();
    ASSERT_TRUE(started.settled) << started;
    EXPECT_EQ(started.boxes.size(), c.readFailures) << started;
    for (const e2e::MessageBoxInfo& box : started.boxes) {
        EXPECT_EQ(box.text, kMsgReadFailed);
    }
    EXPECT_EQ(e2e::TextW(app.Item(IDC_PROXY_SERVER)), AsShown(c.read));
    EXPECT_EQ(ComboItemsW(app.Item(IDC_PROXY_SERVER)), std::vector<std::wstring>{AsShown(c.read)});
    EXPECT_EQ(e2e::TextW(app.Item(IDC_PROXY_OVERRIDE)), AsShown(c.read));
    EXPECT_FALSE(app.IsChecked(IDC_PROXY_LOCAL));
    EXPECT_FALSE(app.IsChecked(IDC_PROXY_ENABLE));

    app.PressKey(VK_ESCAPE);
    ASSERT_TRUE(app.WaitForExit());
    EXPECT_EQ(Changed(), c.writtenBack);
    for (const std::string& name : c.writtenBack) {
        EXPECT_EQ(e2e::GetDword(kZoneKey, name.c_str()), 3u) << name;
    }
}

INSTANTIATE_TEST_SUITE_P(Kinds, HostileValuesE2eTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

// A list too long to be read whole shows as empty; clicking the local-address
// switch then must not replace it by the entry alone.
TEST(HostileValuesE2e, ListTooLongToReadSurvivesTheLocalAddressSwitch) {
    const StoredName override{kSettingsKey, "ProxyOverride"};
    const Bytes planted = Utf16(std::wstring(64 * 1024, L'h') + L";<local>");
    ASSERT_TRUE(e2e::SetDword(kSettingsKey, "ProxyEnable", 1));
    ASSERT_TRUE(Plant(override, REG_SZ, planted));

    e2e::App app;
    ASSERT_TRUE(app.Start());
    const e2e::Outcome started = app.Settle();
    ASSERT_TRUE(started.settled) << started;
    EXPECT_EQ(app.Text(IDC_PROXY_OVERRIDE), "");
    EXPECT_FALSE(app.IsChecked(IDC_PROXY_LOCAL));

    const e2e::Outcome clicked = app.Click(IDC_PROXY_LOCAL);
    ASSERT_TRUE(clicked.settled) << clicked;
    ASSERT_EQ(clicked.boxes.size(), 1u) << clicked;
    EXPECT_EQ(clicked.boxes[0].text, kMsgProxyWriteFailed);
    EXPECT_FALSE(app.IsChecked(IDC_PROXY_LOCAL)) << "the box shows what is still stored";
    app.PressKey(VK_ESCAPE);
    ASSERT_TRUE(app.WaitForExit());
    EXPECT_EQ(Stored(override), (e2e::RegValue{REG_SZ, planted}));
    EXPECT_TRUE(e2e::DeleteValue(kSettingsKey, "ProxyOverride"));
}

}  // namespace
