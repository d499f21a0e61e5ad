// Any stored exclusion list (type and bytes, up to and past the longest that
// is read), any edit box text and any run of clicks on the local-address
// switch and the set button, with stores failing now and then: the dialog must
// agree, click by click, with a plain statement of what it shows, stores and
// says, and never lose a list it could not read whole.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "app/messages.h"
#include "app/settings_dlg.h"
#include "proxy/exclusions.h"
#include "resources/resource.h"
#include "store/registry_paths.h"
#include "tests/support/fake_registry.h"
#include "tests/support/sim_window.h"

namespace {

void Check(bool ok) {
    if (!ok) {
        std::abort();
    }
}

constexpr std::size_t kCap = kMaxExclusionBytes;
const std::string kLocal = "<local>";

// The stored list as the switch and the start-up read it: the text up to its
// first zero byte, or nothing when it cannot be read whole.
std::optional<std::string> Readable(const std::optional<FakeRegistry::Value>& stored) {
    if (!stored) {
        return std::string();  // a missing list is the empty one
    }
    if (stored->data.size() > kCap) {
        return std::nullopt;
    }
    std::string text(stored->data.begin(), stored->data.end());
    text = text.substr(0, text.find('\0'));
    if (text.size() >= kCap) {
        return std::nullopt;
    }
    return text;
}

bool EndsLocal(const std::string& text) {
    return text.size() >= kLocal.size() &&
           text.compare(text.size() - kLocal.size(), kLocal.size(), kLocal) == 0;
}

std::string Stripped(const std::string& text) {
    return text.size() > kLocal.size() ? text.substr(0, text.size() - kLocal.size() - 1) : "";
}

// Stores near the edges of what is read: a long run of one byte, then the
// fuzzer's own bytes.
std::string Padded(FuzzedDataProvider& input) {
    static constexpr std::size_t kEdges[] = {0, 250, 258, kCap - 40, kCap - 16, kCap - 1};
    std::string text(input.PickValueInArray(kEdges), 'p');
    text += input.ConsumeRandomLengthString(64);
    return text;
}

class Run {
  public:
    explicit Run(FuzzedDataProvider& input) : input_(input) {}

    void Go() {
        fake_.SetDword(kSettingsKey, "ProxyEnable", 1);
        for (const char* name : {"1400", "1402", "1C00", "1A02", "1A03"}) {
            fake_.SetDword(kZoneKey, name, 0);
        }
        if (input_.ConsumeBool()) {
            // Besides ours: REG_EXPAND_SZ.
            static constexpr std::uint32_t kTypes[] = {kRegSz, kRegBinary, kRegMultiSz, kRegDword,
                                                       2};
            const std::uint32_t type = input_.PickValueInArray(kTypes);
            const std::string bytes = Padded(input_);
            fake_.SetRaw(kSettingsKey, kProxyOverrideValue, type,
                         std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
        }
        OpenAndCheck();
        for (int step = 0; step < 8 && input_.remaining_bytes() > 0; ++step) {
            switch (input_.ConsumeIntegralInRange(0, 3)) {
                case 0:
                    SwitchAndCheck();
                    break;
                case 1:
                    SetAndCheck();
                    break;
                case 2: {
                    // What the user can put in the box has no zero byte.
                    std::string text = Padded(input_);
                    text.erase(std::remove(text.begin(), text.end(), '\0'), text.end());
                    window_.SetText(IDC_PROXY_OVERRIDE, text);
                    break;
                }
                default:
                    failStores_ = !failStores_;
                    fake_.FailStores(failStores_);
                    break;
            }
        }
        Check(fake_.OpenHandles() == 0);
    }

  private:
    std::optional<FakeRegistry::Value> Stored() const {
        return fake_.Get(kSettingsKey, kProxyOverrideValue);
    }
    bool Same(const std::optional<FakeRegistry::Value>& a,
              const std::optional<FakeRegistry::Value>& b) const {
        return a.has_value() == b.has_value() && (!a || (a->type == b->type && a->data == b->data));
    }
    // The boxes since the last look: none, or the one failure message.
    void ExpectBox(bool failure) {
        const std::size_t count = window_.Boxes().size();
        Check(count == boxes_ + (failure ? 1 : 0));
        if (failure) {
            Check(window_.Boxes().back().text == kMsgProxyWriteFailed);
        }
        boxes_ = count;
    }
    void ExpectStored(const std::string& text) {
        const auto stored = Stored();
        Check(stored && stored->type == kRegSz);
        Check(stored->data ==
              std::vector<std::uint8_t>(text.c_str(), text.c_str() + text.size() + 1));
    }

    void OpenAndCheck() {
        const auto before = Stored();
        window_.Open(dialog_);
        boxes_ = window_.Boxes().size();
        Check(boxes_ == 0);
        Check(Same(Stored(), before));  // the start-up never writes the list
        const std::optional<std::string> text = Readable(before);
        const bool local = text && EndsLocal(*text);
        Check(window_.Checked(IDC_PROXY_LOCAL) == local);
        Check(window_.GetText(IDC_PROXY_OVERRIDE) == (!text   ? ""
                                                      : local ? Stripped(*text)
                                                              : *text));
    }

    void SwitchAndCheck() {
        const auto before = Stored();
        const bool checking = !window_.Checked(IDC_PROXY_LOCAL);
        window_.Click(IDC_PROXY_LOCAL);
        window_.DeliverPosted();
        const std::optional<std::string> text = Readable(before);
        std::optional<std::string> result;
        if (text) {
            result = checking ? *text + LocalToken : EndsLocal(*text) ? Stripped(*text) : *text;
        }
        const bool stored = result && result->size() < kCap && !failStores_;
        ExpectBox(!stored);
        if (stored) {
            ExpectStored(*result);
            Check(window_.Checked(IDC_PROXY_LOCAL) == checking);
        } else {
            Check(Same(Stored(), before));
            Check(window_.Checked(IDC_PROXY_LOCAL) == !checking);  // what is still stored
        }
    }

    void SetAndCheck() {
        const auto before = Stored();
        const std::string edit = window_.GetText(IDC_PROXY_OVERRIDE);
        const std::string text = edit + (window_.Checked(IDC_PROXY_LOCAL) ? LocalToken : "");
        window_.Click(IDC_SET_OVERRIDE);
        window_.DeliverPosted();
        const bool stored = text.size() < kCap && !failStores_;
        ExpectBox(!stored);
        if (stored) {
            ExpectStored(text);
        } else {
            Check(Same(Stored(), before));
        }
        Check(window_.GetText(IDC_PROXY_OVERRIDE) == edit);  // the box is never changed
    }

    FuzzedDataProvider& input_;
    FakeRegistry fake_;
    CRegistryAccess registry_{fake_};
    CSettingsDlg dialog_{SettingsServices{registry_}};
    SimWindow window_;
    std::size_t boxes_ = 0;
    bool failStores_ = false;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    Run(input).Go();
    return 0;
}
