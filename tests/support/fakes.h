#pragma once
// In-memory stand-ins for the registry, the files and the URL cache. They keep
// the promises the core relies on, and let a test plant the faults it needs.
#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "cache/url_cache_seam.h"
#include "store/charset_seam.h"
#include "store/file_seam.h"
#include "store/registry_access.h"

// Registry names and file paths compare without case, as the platform's do.
inline std::string Fold(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

class FakeRegistry : public RegistrySeam {
  public:
    using Key = std::pair<RegKey, std::string>;           // root, folded path
    std::map<Key, std::map<std::string, RawValue>> keys;  // values by folded name
    std::set<Key> readOnly;  // may be read, neither changed nor opened for more

    // Stores a value (nullopt removes it), with its key and the key's parents.
    void Put(RegKey root, const std::string& path, const std::string& name,
             const std::optional<RawValue>& value) {
        for (std::size_t end = path.find('\\'); end != std::string::npos;
             end = path.find('\\', end + 1)) {
            keys[{root, Fold(path.substr(0, end))}];
        }
        auto& values = keys[{root, Fold(path)}];
        if (value) {
            values[Fold(name)] = *value;
        } else {
            values.erase(Fold(name));
        }
    }
    std::size_t OpenHandles() const { return open_.size(); }

    RegStatus OpenKey(RegKey root, const char* path, std::uint32_t access, RegKey* key) override {
        const Key opened{root, Fold(path)};
        if (keys.count(opened) == 0) {
            return kErrorFileNotFound;
        }
        if (readOnly.count(opened) != 0 && (access & ~kKeyRead) != 0) {
            return 5;  // ERROR_ACCESS_DENIED
        }
        *key = next_++;
        open_[*key] = opened;
        return kErrorSuccess;
    }
    RegStatus QueryValue(RegKey key, const char* name, std::uint32_t* type, std::uint8_t* data,
                         std::uint32_t* size) override {
        auto& values = keys.at(open_.at(key));
        if (values.count(Fold(name)) == 0) {
            return kErrorFileNotFound;
        }
        const RawValue& value = values[Fold(name)];
        // Given no buffer, the platform only tells the size.
        const bool fits = data == nullptr || *size >= value.bytes.size();
        *type = value.type;
        *size = static_cast<std::uint32_t>(value.bytes.size());
        if (fits && data != nullptr) {
            std::copy(value.bytes.begin(), value.bytes.end(), data);
        }
        return fits ? kErrorSuccess : kErrorMoreData;
    }
    RegStatus CreateKey(RegKey root, const char* path, RegKey* key) override {
        if (readOnly.count({root, Fold(path)}) != 0) {
            return 5;
        }
        Put(root, path, "", std::nullopt);
        return OpenKey(root, path, kKeyAllAccess, key);
    }
    RegStatus SetValue(RegKey key, const char* name, std::uint32_t type, const std::uint8_t* data,
                       std::uint32_t size) override {
        keys.at(open_.at(key))[Fold(name)] = {type, std::string(data, data + size)};
        return kErrorSuccess;
    }
    RegStatus DeleteValue(RegKey key, const char* name) override {
        return keys.at(open_.at(key)).erase(Fold(name)) != 0 ? kErrorSuccess : kErrorFileNotFound;
    }
    RegStatus CloseKey(RegKey key) override {
        return open_.erase(key) != 0 ? kErrorSuccess : 6;  // ERROR_INVALID_HANDLE
    }

  private:
    std::map<RegKey, Key> open_;
    RegKey next_ = 0x100;
};

// One current directory (none when empty), the user's application-data
// folder, and files by path; folders are there when files are.
struct FakeFiles : FileSeam, UserFileSeam {
    std::string directory = "C:\\Users\\user";
    std::string appData = "C:\\Users\\user\\AppData\\Roaming";
    std::map<std::string, std::string> files;  // paths compare without case
    bool userFilesFail = false;                // the user's files can be neither written nor listed

    std::map<std::string, std::string>::iterator Find(const std::string& path) {
        return std::find_if(files.begin(), files.end(),
                            [&path](const auto& file) { return Fold(file.first) == Fold(path); });
    }
    std::uint32_t CurrentDirectory(char* buffer, std::uint32_t size) override {
        const auto length = static_cast<std::uint32_t>(directory.size());
        if (length == 0) {
            return 0;
        }
        if (length >= size) {
            return length + 1;
        }
        std::memcpy(buffer, directory.c_str(), length + 1);
        return length;
    }
    bool ReadBytes(const char* path, std::size_t maxBytes, std::string* bytes) override {
        const auto file = Find(path);
        *bytes = file != files.end() ? file->second.substr(0, maxBytes) : "";
        return file != files.end();
    }
    std::string AppDataFolder() override { return appData; }
    FileOutcome LoadFile(const std::string& path, std::size_t maxBytes,
                         std::string* bytes) override {
        const auto file = Find(path);
        if (file == files.end()) {
            bytes->clear();
            return FileOutcome::kMissing;
        }
        *bytes = file->second;
        return file->second.size() > maxBytes ? FileOutcome::kFailed : FileOutcome::kDone;
    }
    bool ListFolder(const std::string& folder, std::vector<std::string>* names) override {
        names->clear();
        for (const auto& [path, bytes] : files) {
            const std::size_t slash = path.rfind('\\');
            if (slash != std::string::npos && Fold(path.substr(0, slash)) == Fold(folder)) {
                names->push_back(path.substr(slash + 1));
            }
        }
        return !userFilesFail;
    }
    bool SaveFile(const std::string& path, std::string_view bytes) override {
        if (!userFilesFail) {
            const auto file = Find(path);
            files[file != files.end() ? file->first : path] = bytes;
        }
        return !userFilesFail;
    }
    FileOutcome RemoveFile(const std::string& path) override {
        const auto file = Find(path);
        if (file == files.end()) {
            return FileOutcome::kMissing;
        }
        files.erase(file);
        return FileOutcome::kDone;
    }
};

// A small code page 932, the system's under Wine: ASCII, one single-byte
// character (the half-width ｱ) and one double-byte (表, whose second byte is a
// backslash's). Every other byte is no character.
// Letters and digits: ASCII's, the superscript digits, and every other
// character from U+00C0 on but the signs, punctuation and symbols up to the
// kana (U+2000-U+303F).
struct FakeCharset : CharsetSeam {
    struct Character {
        std::string_view ansi;
        std::string_view utf8;
    };
    static constexpr Character kCharacters[] = {{"\xB1", "ｱ"}, {"\x95\x5C", "表"}};

    bool ToAnsi(std::string_view utf8, std::string* ansi) override {
        return Convert(utf8, ansi, &Character::utf8, &Character::ansi, "?");
    }
    bool FromAnsi(std::string_view ansi, std::string* utf8) override {
        return Convert(ansi, utf8, &Character::ansi, &Character::utf8, "\xEF\xBF\xBD");
    }
    // As the platform converts: what is no character shows replaced, and
    // makes it false.
    static bool Convert(std::string_view from, std::string* to, std::string_view Character::*in,
                        std::string_view Character::*out, std::string_view replacement) {
        to->clear();
        bool whole = true;
        while (!from.empty()) {
            const Character* c = std::find_if(std::begin(kCharacters), std::end(kCharacters),
                                              [&](auto& k) { return from.starts_with(k.*in); });
            const bool known = c != std::end(kCharacters);
            if (static_cast<unsigned char>(from[0]) < 0x80) {
                *to += from[0];
            } else {
                *to += known ? c->*out : replacement;
                whole = whole && known;
            }
            from.remove_prefix(known ? (c->*in).size() : 1);
        }
        return whole;
    }
    bool IsLetterOrDigit(char32_t c) override {
        if (c < 0x80) {
            return std::isalnum(static_cast<int>(c)) != 0;
        }
        return c == U'¹' || c == U'²' || c == U'³' ||
               (c >= 0xC0 && c != U'×' && c != U'÷' && (c < 0x2000 || c >= 0x3040));
    }
};

class FakeUrlCache : public UrlCacheSeam {
  public:
    struct Entry {
        std::string url;
        std::uint32_t type = 0;
        std::size_t extraBytes = 0;  // a longer record, as a long header makes
    };
    // Without a pattern, Windows lists the content entries only, Wine all.
    bool contentOnly = false;
    std::map<std::uint64_t, Entry> entries;  // in the order they are listed
    // Faults to plant: the size a lack of space reports; the nth allocation
    // (from 1) and later ones fail; deletions refused; the fetch after so many
    // good ones fails for lack of memory.
    std::optional<std::uint32_t> misreportedSize;
    std::size_t failAllocationsFrom = 0;
    std::set<std::string> refused;
    std::size_t fetchesBeforeBreak = SIZE_MAX;
    // Breaches of the platform's contract by the caller: unknown handles or
    // blocks, a block smaller than the size given, more fetches than any run
    // needs (a loop that would not end).
    std::vector<std::string> faults;

    void Add(const std::string& url, bool cookie, std::size_t extraBytes = 0) {
        entries[serial_++] = {url, cookie ? kCookieCacheEntry | 1 : 1u, extraBytes};
    }
    std::vector<std::string> Urls() const {
        std::vector<std::string> urls;
        for (const auto& entry : entries) {
            urls.push_back(entry.second.url);
        }
        return urls;
    }
    std::size_t Held() const { return finds_.size() + blocks_.size(); }  // handles and blocks

    UrlCacheFind FindFirst(const char* pattern, void* entry, std::uint32_t* size) override {
        finds_[nextFind_] = {0, pattern ? std::optional<std::string>(pattern) : std::nullopt};
        if (!FindNext(nextFind_, entry, size)) {
            finds_.erase(nextFind_);
            return 0;  // a failed first fetch leaves no handle
        }
        return nextFind_++;
    }
    bool FindNext(UrlCacheFind find, void* block, std::uint32_t* size) override {
        const auto owned = blocks_.find(block);
        ++fetches_;
        if (finds_.count(find) == 0 || owned == blocks_.end() || owned->second.second < *size ||
            fetches_ > 100000) {
            faults.push_back("a fetch breaching the contract, or one too many");
            return false;
        }
        const auto& [next, pattern] = finds_[find];
        auto it = entries.lower_bound(next);
        while (it != entries.end() && !Lists(pattern, it->second.url)) {
            ++it;
        }
        if (fetchesBeforeBreak == 0) {
            last_ = 8;  // ERROR_NOT_ENOUGH_MEMORY
            return false;
        }
        if (it == entries.end()) {
            last_ = kCacheNoMoreItems;
            return false;
        }
        const std::size_t needed = 80 + it->second.url.size() + 1 + it->second.extraBytes;
        if (*size < needed) {
            last_ = kCacheInsufficientBuffer;
            *size = misreportedSize.value_or(static_cast<std::uint32_t>(needed));
            return false;
        }
        last_ = kCacheSuccess;
        --fetchesBeforeBreak;
        char* url = static_cast<char*>(block) + 80;  // the strings follow the record's head
        std::memcpy(url, it->second.url.c_str(), it->second.url.size() + 1);
        const UrlCacheEntryHead head{80, url, nullptr, it->second.type};
        std::memcpy(block, &head, sizeof head);
        *size = static_cast<std::uint32_t>(needed);
        finds_[find].first = it->first + 1;
        return true;
    }
    bool DeleteEntry(const char* url) override {
        const auto it = std::find_if(entries.begin(), entries.end(),
                                     [url](const auto& entry) { return entry.second.url == url; });
        if (it == entries.end() || refused.count(url) != 0) {
            last_ = 5;  // ERROR_ACCESS_DENIED
            return false;
        }
        entries.erase(it);
        return true;
    }
    bool FindClose(UrlCacheFind find) override {
        if (finds_.erase(find) == 0) {
            faults.push_back("a close of an unknown handle");
            return false;
        }
        return true;
    }
    UrlCacheStatus LastError() override { return last_; }
    void* Allocate(std::size_t size) override {
        if (++allocations_ >= failAllocationsFrom && failAllocationsFrom != 0) {
            return nullptr;
        }
        auto bytes = std::make_unique<char[]>(size + 1);
        void* block = bytes.get();
        blocks_[block] = {std::move(bytes), size};
        return block;
    }
    void Free(void* block) override {
        if (blocks_.erase(block) == 0) {
            faults.push_back("a free of a block not handed out");
        }
    }

  private:
    // A pattern names a container by the start of its entries' names, case
    // and all, as Wine compares it.
    bool Lists(const std::optional<std::string>& pattern, const std::string& url) const {
        if (pattern) {
            return url.starts_with(*pattern);
        }
        return !contentOnly || !(url.starts_with("Cookie:") || url.starts_with("Visited:"));
    }

    std::map<UrlCacheFind, std::pair<std::uint64_t, std::optional<std::string>>> finds_;
    std::map<void*, std::pair<std::unique_ptr<char[]>, std::size_t>> blocks_;
    UrlCacheStatus last_ = 0;
    std::size_t fetches_ = 0;
    std::size_t allocations_ = 0;
    std::uint64_t serial_ = 0;
    UrlCacheFind nextFind_ = 1;
};
