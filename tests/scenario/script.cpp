#include "tests/scenario/script.h"

#include <algorithm>

#include "tests/scenario/controls.h"

void PrintTo(const RawValue& value, std::ostream* os) {
    *os << "type " << value.type << ", " << value.bytes.size() << " bytes:";
    for (std::size_t i = 0; i < value.bytes.size() && i < 40; ++i) {
        *os << ' ' << static_cast<int>(static_cast<unsigned char>(value.bytes[i]));
    }
}

namespace scenario {
namespace {

std::string BoxText(unsigned type, const std::string& text, const std::string& caption) {
    return "box " + std::to_string(type) + " \"" + text + "\" captioned " + caption;
}

}  // namespace

RawValue Dword(std::uint32_t n) {
    return {kRegDword, {char(n), char(n >> 8), char(n >> 16), char(n >> 24)}};
}

RawValue Sz(std::string_view text) {
    return {kRegSz, std::string(text) + '\0'};
}

RawValue Raw(std::uint32_t type, std::string_view bytes) {
    return {type, std::string(bytes)};
}

Script::Script(Drivers drivers) : d_(std::move(drivers)) {
    d_.machine->Clean();
    Stored(std::vector(std::begin(kValues), std::end(kValues)), kMissing);
}

// The step before is over: all it showed and printed has been listed, and
// every value, and the cache, hold what the scenario says by now.
Drivers& Script::Step(Where at) {
    Expect(std::vector(shown_.begin(), shown_.end()), {}, step_, "shown, not listed,");
    if (!outSeen_) {
        Expect(run_.out, out_, step_, "standard output");
    }
    if (!errSeen_) {
        Expect(run_.err, err_, step_, "standard error");
    }
    if (!exitSeen_) {
        Expect(run_.exitCode, 0, step_, "the exit code");
    }
    for (const auto& [ref, expected] : model_) {
        const auto& [root, key, name] = ref;
        Expect(d_.machine->Value(root, key, name), expected, step_, name);
    }
    for (const auto& [path, expected] : files_) {
        Expect(d_.machine->UserFile(path), expected, step_, path);
    }
    std::vector<std::string> cache;
    for (const scenario::CacheEntry& entry : d_.machine->CacheEntries()) {
        cache.push_back(entry.url);
    }
    std::sort(cache.begin(), cache.end());
    Expect(cache, cache_, step_, "the URL cache");

    step_ = at;
    run_ = {0, "", "", -1};
    out_ = err_ = "";
    outSeen_ = errSeen_ = exitSeen_ = false;
    shown_.clear();
    return d_;
}

Script& Script::Shows(const Shown& shown) {
    for (const scenario::Box& box : shown.boxes) {
        shown_.push_back(BoxText(box.type, box.text, box.caption));
    }
    for (const std::string& caption : shown.dialogs) {
        shown_.push_back("dialog " + caption);
    }
    if (shown.help) {
        shown_.push_back("help viewer");
    }
    run_.notifications = shown.notifications;
    balloonsTold_ = shown.balloons.has_value();
    for (const std::string& text : shown.balloons.value_or(std::vector<std::string>{})) {
        shown_.push_back("balloon " + text);
    }
    return *this;
}

void Script::Set(Ref value, const Value& v) {
    Stored({value}, v);
    d_.machine->SetValue(value.key.root, value.key.path, value.name, v);
}

void Script::Usual(Where at) {
    Step(at);
    Set(kScript, Dword(1));
    Set(kApplet, Dword(0));
    Set(kJava, Dword(0x10000));
    Set(kCookies, Dword(3));
    Set(kSessionCookies, Dword(1));
    Set(kProxyEnable, Dword(1));
    Set(kProxyServer, Sz("proxy.example:8080"));
    Set(kProxyOverride, Sz("*.intra;<local>"));
}

void Script::Given(const std::vector<Ref>& values, const Value& v, Where at) {
    Step(at);
    for (const Ref value : values) {
        Set(value, v);
    }
}

void Script::CacheEntry(bool cookie, const std::string& url, Where at) {
    Step(at);
    d_.machine->AddCacheEntry({url, cookie});
    cache_.insert(std::upper_bound(cache_.begin(), cache_.end(), url), url);
}

Script& Script::Listed(const std::string& expected, Where at) {
    Expect(shown_.empty() ? std::string("nothing") : shown_.front(), expected, at, "shown");
    if (!shown_.empty()) {
        shown_.pop_front();
    }
    return *this;
}

Script& Script::TrayBox(unsigned type, const std::string& text, bool ending, Where at) {
    const std::string box = BoxText(type, text, "Qeltrin Pro");
    const std::string head = box.substr(0, box.find('"') + 1);
    if (ending && !shown_.empty() && shown_.front().starts_with(head) &&
        shown_.front().ends_with(box.substr(head.size()))) {
        shown_.front() = box;
    }
    return Listed(box, at);
}

Script& Script::Box(unsigned type, const std::string& text, int times, Where at) {
    for (; times > 0; --times) {
        Listed(BoxText(type, text, "Vormet"), at);
    }
    return *this;
}

void Script::Checked(const std::vector<int>& ids, Where at) {
    const std::vector<int> checkable = CheckableControls();
    for (const int id : ids) {
        Expect(std::count(checkable.begin(), checkable.end(), id), std::ptrdiff_t{1}, at,
               "the check marks of " + std::to_string(id));
    }
    for (const int id : checkable) {
        const bool listed = std::count(ids.begin(), ids.end(), id) != 0;
        Expect(d_.dialog->Checked(id), listed, at, std::to_string(id) + " checked");
    }
}

Script& Script::Stored(const std::vector<Ref>& values, const Value& v) {
    for (const Ref value : values) {
        model_[{value.key.root, value.key.path, value.name}] = v;
    }
    return *this;
}

}  // namespace scenario
