#pragma once
// In-memory stand-ins for the registry, the files and the URL cache. They keep
// the promises the core relies on, and let a test plant the faults it needs.
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "cache/url_cache_seam.h"
#include "proxy/file_seam.h"
#include "store/registry_seam.h"

// Registry names and paths compare without case, as the platform's do.
std::string Fold(std::string text);

class FakeRegistry : public RegistrySeam {
  public:
    struct Value {
        std::uint32_t type = 0;
        std::vector<std::uint8_t> bytes;
    };
    using Key = std::pair<RegKey, std::string>;        // root, folded path
    std::map<Key, std::map<std::string, Value>> keys;  // values by folded name
    // Keys that may be read but neither changed nor opened for more.
    std::set<Key> readOnly;
    std::vector<std::string> log;  // "read NAME" and "write NAME", in order

    // Stores a value (nullopt removes it), creating its key and the parents.
    void Put(RegKey root, const std::string& path, const std::string& name,
             const std::optional<Value>& value);
    std::size_t OpenHandles() const { return open_.size(); }

    RegStatus OpenKey(RegKey root, const char* path, std::uint32_t access, RegKey* key) override;
    RegStatus QueryValue(RegKey key, const char* name, std::uint32_t* type, std::uint8_t* data,
                         std::uint32_t* size) override;
    RegStatus CreateKey(RegKey root, const char* path, RegKey* key) override;
    RegStatus SetValue(RegKey key, const char* name, std::uint32_t type, const std::uint8_t* data,
                       std::uint32_t size) override;
    RegStatus CloseKey(RegKey key) override { return open_.erase(key) != 0 ? 0 : 6; }

  private:
    std::map<RegKey, Key> open_;
    RegKey next_ = 0x100;
};

// One current directory (empty: none to be had) and its files.
struct FakeFiles : FileSeam {
    std::string directory = "C:\\Users\\user";
    std::map<std::string, std::string> files;  // by folded path

    std::uint32_t CurrentDirectory(char* buffer, std::uint32_t size) override;
    bool ReadBytes(const char* path, std::size_t maxBytes, std::string* bytes) override;
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
    // Planted faults: the size a lack of space reports; the nth allocation
    // (from 1) and the later ones fail; deletions refused; the fetch after
    // `fetchesBeforeBreak` good ones fails with `breakStatus`.
    std::optional<std::uint32_t> misreportedSize;
    std::size_t failAllocationsFrom = 0;
    std::set<std::string> refused;
    std::size_t fetchesBeforeBreak = SIZE_MAX;
    UrlCacheStatus breakStatus = 0;
    // What the caller did: allocation sizes, fetches, and breaches of the
    // platform's contract (unknown handles or blocks, a block smaller than the
    // size given, more calls than any run needs).
    std::vector<std::size_t> allocations;
    std::size_t fetches = 0;
    std::vector<std::string> faults;

    void Add(const std::string& url, bool cookie, std::size_t extraBytes = 0);
    std::vector<std::string> Urls() const;
    std::size_t OpenFinds() const { return finds_.size(); }
    std::size_t LiveBlocks() const { return blocks_.size(); }

    UrlCacheFind FindFirst(const char* pattern, void* entry, std::uint32_t* size) override;
    bool FindNext(UrlCacheFind find, void* entry, std::uint32_t* size) override;
    bool DeleteEntry(const char* url) override;
    bool FindClose(UrlCacheFind find) override;
    UrlCacheStatus LastError() override { return last_; }
    void* Allocate(std::size_t size) override;
    void Free(void* block) override;

  private:
    struct Find {
        std::uint64_t next = 0;
        std::optional<std::string> pattern;
    };
    bool Fetch(Find& find, void* block, std::uint32_t* size);

    std::map<UrlCacheFind, Find> finds_;
    std::map<void*, std::pair<std::unique_ptr<char[]>, std::size_t>> blocks_;
    UrlCacheStatus last_ = 0;
    std::uint64_t serial_ = 0;
    UrlCacheFind nextFind_ = 1;
};
