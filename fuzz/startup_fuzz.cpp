// The main dialog's start-up and its handlers over an in-memory platform
// filled from the input: any type, size and bytes under each of the eight
// values it reads, keys that refuse access, failing stores, any server.pxy and
// current directory, and a URL cache with odd entries and failing blocks; then
// any run of clicks, typing and answers. Whatever the input, the dialog opens,
// shows only what it read, writes back only the values it reflects, and each
// click changes only what belongs to its control.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <cstdlib>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/messages.h"
#include "app/settings_dlg.h"
#include "proxy/exclusions.h"
#include "proxy/server_list.h"
#include "resources/resource.h"
#include "store/registry_paths.h"
#include "tests/support/fake_files.h"
#include "tests/support/fake_registry.h"
#include "tests/support/fake_url_cache.h"
#include "tests/support/main_dialog_layout.h"
#include "tests/support/sim_window.h"

namespace {

void Check(bool ok) {
    if (!ok) {
        std::abort();
    }
}

struct StoredName {
    const char* key;
    const char* name;
    bool number;
};

const StoredName kValues[] = {
    {kZoneKey, "1400", true},
    {kZoneKey, "1402", true},
    {kZoneKey, "1C00", true},
    {kZoneKey, "1A02", true},
    {kZoneKey, "1A03", true},
    {kSettingsKey, "ProxyEnable", true},
    {kSettingsKey, "ProxyServer", false},
    {kSettingsKey, "ProxyOverride", false},
};

using Value = std::optional<FakeRegistry::Value>;
using Contents = std::vector<Value>;  // in the order of kValues

bool Same(const Value& a, const Value& b) {
    return a.has_value() == b.has_value() && (!a || (a->type == b->type && a->data == b->data));
}

// The values each control may change; the rest change nothing.
const std::map<int, std::set<std::string>>& Owned() {
    static const std::set<std::string> kZone = {"1400", "1402", "1C00", "1A02", "1A03"};
    static const std::map<int, std::set<std::string>> kOwned = {
        {IDC_SCRIPT_QUERY, {"1400"}},
        {IDC_SCRIPT_ALLOW, {"1400"}},
        {IDC_SCRIPT_DISALLOW, {"1400"}},
        {IDC_APPLET_QUERY, {"1402"}},
        {IDC_APPLET_ALLOW, {"1402"}},
        {IDC_APPLET_DISALLOW, {"1402"}},
        {IDC_JAVA_HIGH, {"1C00"}},
        {IDC_JAVA_MEDIUM, {"1C00"}},
        {IDC_JAVA_LOW, {"1C00"}},
        {IDC_JAVA_PROHIBIT, {"1C00"}},
        {IDC_COOKIE_QUERY, {"1A02"}},
        {IDC_COOKIE_ALLOW, {"1A02"}},
        {IDC_COOKIE_DISALLOW, {"1A02"}},
        {IDC_SESSION_QUERY, {"1A03"}},
        {IDC_SESSION_ALLOW, {"1A03"}},
        {IDC_SESSION_DISALLOW, {"1A03"}},
        {IDC_PROXY_ENABLE, {"ProxyEnable"}},
        {IDC_PROXY_LOCAL, {"ProxyOverride"}},
        {IDC_SET_OVERRIDE, {"ProxyOverride"}},
        {IDC_SET_SERVER, {"ProxyServer"}},
        {IDC_PRESET_ALL_ON, kZone},
        {IDC_PRESET_ALL_OFF, kZone},
        {IDC_PRESET_STANDARD, kZone},
    };
    return kOwned;
}

std::vector<std::uint8_t> Bytes(const std::string& text) {
    return std::vector<std::uint8_t>(text.begin(), text.end());
}

// The text a read into `size` bytes gives, or nothing when it does not fit.
std::optional<std::string> TextIn(const Value& value, std::size_t size) {
    if (!value || value->data.size() > size) {
        return std::nullopt;
    }
    const std::string text(value->data.begin(), value->data.end());
    const std::string ended = text.substr(0, text.find('\0'));
    if (ended.size() >= size) {
        return std::nullopt;  // no room left for its end
    }
    return ended;
}

class Run {
  public:
    explicit Run(FuzzedDataProvider& input) : input_(input) {}

    void Go() {
        Plant();
        const Contents planted = Everything();
        dialog_.emplace(services_);  // the dialog takes its seams when it is made
        window_.Open(*dialog_);
        CheckStartUp(planted);
        for (int step = 0; step < 12 && input_.remaining_bytes() > 0; ++step) {
            Act();
        }
    }

  private:
    void Plant() {
        // Besides ours: REG_EXPAND_SZ, REG_DWORD_BIG_ENDIAN and REG_QWORD.
        static constexpr std::uint32_t kTypes[] = {kRegSz, kRegBinary, kRegDword, kRegMultiSz,
                                                   2,      5,          11};
        static constexpr std::uint32_t kListed[] = {0, 1, 2, 3, 0x10000, 0x20000, 0x30000};
        static constexpr std::size_t kTextEdges[] = {0, 250, 255, 258, 259, 260, 65500, 65535};
        for (const StoredName& value : kValues) {
            if (!input_.ConsumeBool()) {
                continue;
            }
            const std::uint32_t type = input_.ConsumeBool()
                                           ? input_.PickValueInArray(kTypes)
                                           : input_.ConsumeIntegral<std::uint32_t>();
            std::string bytes;
            if (value.number && input_.ConsumeBool()) {
                const std::uint32_t listed = input_.PickValueInArray(kListed);
                bytes.assign(reinterpret_cast<const char*>(&listed), sizeof listed);
            } else if (value.number) {
                bytes = input_.ConsumeBytesAsString(input_.ConsumeIntegralInRange(0, 9));
            } else {
                bytes.assign(input_.PickValueInArray(kTextEdges), 'a');
                bytes += input_.ConsumeRandomLengthString(32);
            }
            fake_.SetRaw(value.key, value.name, type, Bytes(bytes));
        }
        denyZone_ = input_.ConsumeBool();
        denySettings_ = input_.ConsumeBool();
        failStores_ = input_.ConsumeBool();
        if (denyZone_) {
            fake_.DenyFullAccess(kZoneKey);
        }
        if (denySettings_) {
            fake_.DenyFullAccess(kSettingsKey);
        }
        fake_.FailStores(failStores_);

        static constexpr std::size_t kDirEdges[] = {3, 100, 247, 248, 249, 259, 260, 300};
        files_.currentDirectory = "C:\\" + std::string(input_.PickValueInArray(kDirEdges) - 3, 'd');
        files_.failCurrentDirectory = input_.ConsumeBool();
        files_.Put(files_.currentDirectory + "\\server.pxy", input_.ConsumeRandomLengthString(512));
        services_.files = &files_;

        const int entries = input_.ConsumeIntegralInRange(0, 6);
        for (int i = 0; i < entries; ++i) {
            const bool cookie = input_.ConsumeBool();
            const std::string url = "http://e/" + std::to_string(i);
            cache_.Add(url,
                       cookie ? kCookieCacheEntry
                              : input_.ConsumeIntegral<std::uint32_t>() & ~kCookieCacheEntry,
                       input_.ConsumeIntegralInRange<std::size_t>(0, 9000));
            cookies_[url] = cookie;
        }
        if (input_.ConsumeBool()) {
            cache_.FailAllocationsFrom(input_.ConsumeIntegralInRange<std::size_t>(1, 3));
        }
        if (input_.ConsumeBool()) {
            cache_.MisreportNeededSize(input_.ConsumeIntegralInRange<std::uint32_t>(0, 5000));
        }
        services_.urlCache = input_.ConsumeBool() ? &cache_ : nullptr;
    }

    Contents Everything() const {
        Contents contents;
        for (const StoredName& value : kValues) {
            contents.push_back(fake_.Get(value.key, value.name));
        }
        return contents;
    }
    bool Denied(const StoredName& value) const {
        return std::string(value.key) == kZoneKey ? denyZone_ : denySettings_;
    }

    void CheckStartUp(const Contents& planted) {
        const Contents after = Everything();
        std::size_t unreadable = 0;
        for (std::size_t i = 0; i < std::size(kValues); ++i) {
            const StoredName& value = kValues[i];
            const bool readable = !Denied(value) && planted[i] && planted[i]->data.size() == 4;
            if (value.number && !readable) {
                ++unreadable;
            }
            if (Same(after[i], planted[i])) {
                continue;
            }
            // Only a reflected value is written, and only as the number read.
            Check(value.number && readable && after[i]->type == kRegDword &&
                  after[i]->data == planted[i]->data);
        }
        std::size_t readFailures = 0;
        for (const SimWindow::Box& box : window_.Boxes()) {
            if (box.text == kMsgReadFailed) {
                ++readFailures;
            } else {
                Check((failStores_ || denyZone_ || denySettings_) &&
                      (box.text == kMsgZoneWriteFailed || box.text == kMsgProxyWriteFailed));
            }
        }
        Check(readFailures == unreadable);

        // The server: the text read whole, or nothing.
        const std::optional<std::string> server =
            denySettings_ ? std::nullopt : TextIn(planted[6], 260);
        Check(window_.GetText(IDC_PROXY_SERVER) == server.value_or(""));
        const std::vector<std::string>& items = window_.At(IDC_PROXY_SERVER).items;
        Check(!items.empty() && items[0] == server.value_or(""));
        Check(items.size() <= 1 + kMaxServerListItems);
        for (std::size_t i = 1; i < items.size(); ++i) {
            Check(items[i].size() <= 259 &&
                  items[i].find_first_of(std::string("\r\n\0", 3)) == std::string::npos);
        }

        // The exclusion list: the text read whole, its local entry as the box.
        std::optional<std::string> list;
        if (!denySettings_) {
            list = planted[7] ? TextIn(planted[7], kMaxExclusionBytes) : std::string();
        }
        const std::string local = "<local>";
        const bool ends = list && list->size() >= local.size() &&
                          list->compare(list->size() - local.size(), local.size(), local) == 0;
        Check(window_.Checked(IDC_PROXY_LOCAL) == ends);
        const std::string edit = !list              ? ""
                                 : !ends            ? *list
                                 : list->size() > 7 ? list->substr(0, list->size() - 8)
                                                    : "";
        Check(window_.GetText(IDC_PROXY_OVERRIDE) == edit);
        // The switch is on only for a stored 1, entered by its own click.
        const bool enableRead = !denySettings_ && planted[5] && planted[5]->data.size() == 4;
        Check(!window_.Checked(IDC_PROXY_ENABLE) ||
              (enableRead && planted[5]->data == Bytes(std::string("\x01\0\0\0", 4))));
        Check(fake_.OpenHandles() == 0);
    }

    void Act() {
        static std::vector<int> ids;
        if (ids.empty()) {
            for (const ControlLayout& control : kMainDialogLayout) {
                if (control.id != kNoId) {
                    ids.push_back(control.id);
                }
            }
        }
        static constexpr int kAnswers[] = {kIdOk, kIdCancel, kIdYes, kIdNo};
        switch (input_.ConsumeIntegralInRange(0, 3)) {
            case 0: {
                std::string text = input_.ConsumeRandomLengthString(300);
                text.erase(std::remove(text.begin(), text.end(), '\0'), text.end());
                window_.Type(input_.ConsumeBool() ? IDC_PROXY_SERVER : IDC_PROXY_OVERRIDE, text);
                return;
            }
            case 1:
                window_.Answer(input_.PickValueInArray(kAnswers));
                return;
            default:
                Click(ids[input_.ConsumeIntegralInRange<std::size_t>(0, ids.size() - 1)]);
                return;
        }
    }

    void Click(int id) {
        const Contents before = Everything();
        const std::size_t deleted = cache_.deleted.size();
        window_.Click(id);
        window_.DeliverPosted();
        const Contents after = Everything();
        const auto owned = Owned().find(id);
        for (std::size_t i = 0; i < std::size(kValues); ++i) {
            if (!Same(before[i], after[i])) {
                Check(owned != Owned().end() && owned->second.count(kValues[i].name) != 0);
            }
        }
        // Each delete button takes only its own kind of entry.
        for (std::size_t i = deleted; i < cache_.deleted.size(); ++i) {
            Check(id == IDC_DELETE_TEMP_FILES || id == IDC_DELETE_COOKIES);
            Check(cookies_.at(cache_.deleted[i]) == (id == IDC_DELETE_COOKIES));
        }
        Check(cache_.faults.empty() && cache_.LiveBlocks() == 0 && cache_.OpenFinds() == 0);
        Check(fake_.OpenHandles() == 0);
    }

    FuzzedDataProvider& input_;
    FakeRegistry fake_;
    CRegistryAccess registry_{fake_};
    FakeFiles files_;
    FakeUrlCache cache_;
    std::map<std::string, bool> cookies_;
    SettingsServices services_{registry_};
    std::optional<CSettingsDlg> dialog_;
    SimWindow window_;
    bool denyZone_ = false;
    bool denySettings_ = false;
    bool failStores_ = false;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    Run(input).Go();
    return 0;
}
