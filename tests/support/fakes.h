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
    using Value = RawValue;
    using Key = std::pair<RegKey, std::string>;        // root, folded path
    std::map<Key, std::map<std::string, Value>> keys;  // values by folded name
    std::set<Key> readOnly;  // may be read, neither changed nor opened for more

    // Stores a value (nullopt removes it), with its key and the key's parents.
    void Put(RegKey root, const std::string& path, const std::string& name,
             const std::optional<Value>& value) {
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
        if (keys.count(opened) == 0 || (readOnly.count(opened) != 0 && (access & ~kKeyRead) != 0)) {
            return keys.count(opened) == 0 ? 2 : 5;  // ERROR_FILE_NOT_FOUND, ERROR_ACCESS_DENIED
        }
        open_[*key = next_++] = opened;
        return kErrorSuccess;
    }
    RegStatus QueryValue(RegKey key, const char* name, std::uint32_t* type, std::uint8_t* data,
                         std::uint32_t* size) override {
        auto& values = keys.at(open_.at(key));
        if (values.count(Fold(name)) == 0) {
            return 2;
        }
        const Value& value = values[Fold(name)];
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
    RegStatus CloseKey(RegKey key) override { return open_.erase(key) != 0 ? 0 : 6; }

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
        if (length < size) {
            std::memcpy(buffer, directory.c_str(), length + 1);
        }
        return length < size || length == 0 ? length : length + 1;
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
        *bytes = file != files.end() ? file->second : "";
        return file == files.end()              ? FileOutcome::kMissing
               : file->second.size() > maxBytes ? FileOutcome::kFailed
                                                : FileOutcome::kDone;
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
    using Table = std::vector<std::pair<std::string, std::string>>;  // ANSI, UTF-8
    static const Table& Characters() {
        static const Table table = {{"\xB1", "ｱ"}, {"\x95\x5C", "表"}};
        return table;
    }
    // Character by character; false at the first that has no match, which
    // FromAnsi shows replaced.
    static bool Convert(std::string_view from, std::string* to, bool toAnsi) {
        to->clear();
        bool whole = true;
        for (std::size_t i = 0; i < from.size();) {
            if (static_cast<unsigned char>(from[i]) < 0x80) {
                *to += from[i++];
                continue;
            }
            const Table& table = Characters();
            const auto match = std::find_if(table.begin(), table.end(), [&](const auto& c) {
                return from.substr(i).rfind(toAnsi ? c.second : c.first, 0) == 0;
            });
            if (match != table.end()) {
                *to += toAnsi ? match->first : match->second;
                i += (toAnsi ? match->second : match->first).size();
            } else if (toAnsi) {
                return false;
            } else {
                *to += "\xEF\xBF\xBD";  // U+FFFD
                whole = false;
                ++i;
            }
        }
        return whole;
    }
    bool ToAnsi(std::string_view utf8, std::string* ansi) override {
        return Convert(utf8, ansi, true);
    }
    bool FromAnsi(std::string_view ansi, std::string* utf8) override {
        return Convert(ansi, utf8, false);
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
    // good ones fails with breakStatus.
    std::optional<std::uint32_t> misreportedSize;
    std::size_t failAllocationsFrom = 0;
    std::set<std::string> refused;
    std::size_t fetchesBeforeBreak = SIZE_MAX;
    UrlCacheStatus breakStatus = 0;
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
    std::size_t OpenFinds() const { return finds_.size(); }
    std::size_t LiveBlocks() const { return blocks_.size(); }

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
        if (finds_.count(find) == 0 || owned == blocks_.end() || owned->second.second < *size ||
            ++fetches_ > 100000) {
            faults.push_back("a fetch breaching the contract, or one too many");
            return false;
        }
        // A pattern names a container by the start of its entries' names,
        // case and all, as Wine compares it.
        const auto& [next, pattern] = finds_[find];
        auto it = entries.lower_bound(next);
        while (it != entries.end() &&
               (pattern ? it->second.url.rfind(*pattern, 0) != 0
                        : contentOnly && (it->second.url.rfind("Cookie:", 0) == 0 ||
                                          it->second.url.rfind("Visited:", 0) == 0))) {
            ++it;
        }
        const std::size_t needed =
            it == entries.end() ? 0 : 80 + it->second.url.size() + 1 + it->second.extraBytes;
        last_ = fetchesBeforeBreak == 0 ? breakStatus
                : it == entries.end()   ? kCacheNoMoreItems
                : *size < needed        ? kCacheInsufficientBuffer
                                        : kCacheSuccess;
        if (last_ == kCacheInsufficientBuffer) {
            *size = misreportedSize.value_or(static_cast<std::uint32_t>(needed));
        }
        if (last_ != kCacheSuccess) {
            return false;
        }
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
        return finds_.erase(find) != 0 || (faults.push_back("a close of an unknown handle"), false);
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
    std::map<UrlCacheFind, std::pair<std::uint64_t, std::optional<std::string>>> finds_;
    std::map<void*, std::pair<std::unique_ptr<char[]>, std::size_t>> blocks_;
    UrlCacheStatus last_ = 0;
    std::size_t fetches_ = 0;
    std::size_t allocations_ = 0;
    std::uint64_t serial_ = 0;
    UrlCacheFind nextFind_ = 1;
};
