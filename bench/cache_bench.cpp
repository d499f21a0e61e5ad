// Times the URL cache cleaner on Wine's real URL cache against a lower bound:
// the same enumeration with one block preallocated large enough for every
// entry, doing nothing but find and delete. bench/cache.sh drives it: it seeds
// once per size, saves the cache folders, and restores them before every
// timed run, so each run starts from the same cache.
//
//   cache_bench seed N          empty the cache and seed N pages, some cookies
//                               and a few entries larger than 4096 bytes
//   cache_bench time product    one timed DeleteTemporaryFiles
//   cache_bench time bound      one timed lower-bound run
//                               (prints: variant, clock s, CPU s, deleted,
//                               then its fetches, deletions and blocks)
//   cache_bench summary N D p pc b bc ...   the figures for N entries, D of
//                               them deleted by each run, from the clock and
//                               CPU seconds of each pair (product, bound)
#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <string>
#include <vector>

#include "cache/url_cache_cleaner.h"
#include "cache/win32_url_cache.h"

// Seeding and reading Wine's real URL cache through wininet.
namespace wine_cache {

struct Entry {
    std::string url;
    DWORD type = 0;
    DWORD recordSize = 0;
    bool Cookie() const { return (type & COOKIE_CACHE_ENTRY) != 0; }
};

// An entry without a file; headers of headerBytes make its record larger.
inline bool Seed(const std::string& url, bool cookie, std::size_t headerBytes = 0) {
    std::string headers = headerBytes ? "X-Pad: " + std::string(headerBytes, 'p') + "\r\n\r\n" : "";
    return CommitUrlCacheEntryA(url.c_str(), nullptr, {}, {}, cookie ? COOKIE_CACHE_ENTRY : 0,
                                reinterpret_cast<BYTE*>(headers.data()),
                                static_cast<DWORD>(headers.size()), nullptr, nullptr);
}

// What an enumeration with the pattern lists, in its order.
inline std::vector<Entry> Read(const char* pattern = nullptr) {
    std::vector<Entry> entries;
    std::vector<char> block(1 << 20);
    auto* info = reinterpret_cast<INTERNET_CACHE_ENTRY_INFOA*>(block.data());
    DWORD size = block.size();
    const HANDLE find = FindFirstUrlCacheEntryA(pattern, info, &size);
    if (find == nullptr) {
        return entries;
    }
    do {
        entries.push_back({info->lpszSourceUrlName, info->CacheEntryType, size});
        size = block.size();
    } while (FindNextUrlCacheEntryA(find, info, &size));
    FindCloseUrlCache(find);
    return entries;
}

inline bool Empty() {  // true when nothing is left
    for (const Entry& entry : Read()) {
        DeleteUrlCacheEntryA(entry.url.c_str());
    }
    return Read().empty();
}

}  // namespace wine_cache

namespace {

// CPU time of this thread, user and kernel: unlike the clock, it does not run
// on while other programs have the processor.
double CpuSeconds() {
    FILETIME created;
    FILETIME exited;
    FILETIME kernel;
    FILETIME user;
    GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
    const auto ticks = [](const FILETIME& t) {
        return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    };
    return static_cast<double>(ticks(kernel) + ticks(user)) / 1e7;
}

double Seconds() {
    LARGE_INTEGER frequency;
    LARGE_INTEGER counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

struct Census {
    long pages = 0;
    long cookies = 0;
    long large = 0;  // records over 4096 bytes
};

Census Count() {
    Census census;
    for (const wine_cache::Entry& entry : wine_cache::Read()) {
        ++(entry.Cookie() ? census.cookies : census.pages);
        census.large += entry.recordSize > kFirstEntryBlockSize ? 1 : 0;
    }
    return census;
}

// A page with its file in the cache folder, as a browser leaves one.
bool SeedPage(const std::string& url, const std::string& headers) {
    char file[MAX_PATH] = {};
    if (!CreateUrlCacheEntryA(url.c_str(), 0, "htm", file, 0)) {
        return false;
    }
    HANDLE handle = CreateFileA(file, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return false;
    }
    static const char kPage[] = "<html><body>cached page</body></html>";
    DWORD written = 0;
    const bool wrote = WriteFile(handle, kPage, sizeof kPage - 1, &written, nullptr) != FALSE;
    CloseHandle(handle);
    std::string stored = headers;
    return wrote && CommitUrlCacheEntryA(url.c_str(), file, {}, {}, NORMAL_CACHE_ENTRY,
                                         reinterpret_cast<BYTE*>(stored.data()),
                                         static_cast<DWORD>(stored.size()), nullptr, nullptr);
}

int Seed(long pages) {
    if (!wine_cache::Empty()) {
        std::fprintf(stderr, "the cache could not be emptied\n");
        return 1;
    }
    const long cookies = std::max(10L, pages / 50);
    const double start = Seconds();
    long failed = 0;
    const std::string headers = "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\n\r\n";
    for (long i = 0; i < pages; ++i) {
        const std::string url = "http://host" + std::to_string(i % 211) + ".example/page/" +
                                std::to_string(i) + ".html";
        failed += SeedPage(url, headers) ? 0 : 1;
    }
    for (long i = 0; i < cookies; ++i) {
        const std::string url = "Cookie:user@host" + std::to_string(i) + ".example/";
        failed += wine_cache::Seed(url, true) ? 0 : 1;
    }
    // Growing sizes, so the cleaner's block may be replaced more than once.
    const std::size_t largeSizes[] = {5000, 7000, 9000, 12000};
    for (std::size_t i = 0; i < std::size(largeSizes); ++i) {
        const std::string url = "http://large" + std::to_string(i) + ".example/";
        const std::string padding = "X-Padding: " + std::string(largeSizes[i], 'p') + "\r\n\r\n";
        failed += SeedPage(url, padding) ? 0 : 1;
    }
    failed += wine_cache::Seed("Cookie:user@large.example/", true, 8000) ? 0 : 1;
    const double seconds = Seconds() - start;
    const Census census = Count();
    std::printf(
        "seeded in %.1f s: %ld pages, %ld cookies, %ld larger than 4096 bytes; %ld failed\n",
        seconds, census.pages, census.cookies, census.large, failed);
    return failed == 0 ? 0 : 1;
}

// The platform calls of one run: the clock on this shared machine wanders,
// these do not.
struct Calls {
    long fetches = 0;
    long deletes = 0;
    long blocks = 0;
};

// Counts the cleaner's calls on their way to wininet; an increment is nothing
// next to one of them.
class CountingCache final : public UrlCacheSeam {
  public:
    CountingCache(UrlCacheSeam& real, Calls& calls) : real_(real), calls_(calls) {}
    UrlCacheFind FindFirst(const char* pattern, void* entry, std::uint32_t* size) override {
        ++calls_.fetches;
        return real_.FindFirst(pattern, entry, size);
    }
    bool FindNext(UrlCacheFind find, void* entry, std::uint32_t* size) override {
        ++calls_.fetches;
        return real_.FindNext(find, entry, size);
    }
    bool DeleteEntry(const char* url) override {
        ++calls_.deletes;
        return real_.DeleteEntry(url);
    }
    bool FindClose(UrlCacheFind find) override { return real_.FindClose(find); }
    UrlCacheStatus LastError() override { return real_.LastError(); }
    void* Allocate(std::size_t size) override {
        ++calls_.blocks;
        return real_.Allocate(size);
    }
    void Free(void* block) override { real_.Free(block); }

  private:
    UrlCacheSeam& real_;
    Calls& calls_;
};

// Lower bound: one block allocated before the clock starts, find and delete
// only, over the same enumeration as DeleteTemporaryFiles (no pattern: the
// content entries).
void LowerBound(std::vector<unsigned char>& block, Calls& calls) {
    auto* info = reinterpret_cast<INTERNET_CACHE_ENTRY_INFOA*>(block.data());
    DWORD size = static_cast<DWORD>(block.size());
    ++calls.fetches;
    HANDLE find = FindFirstUrlCacheEntryA(nullptr, info, &size);
    if (find == nullptr) {
        return;
    }
    do {
        if ((info->CacheEntryType & COOKIE_CACHE_ENTRY) == 0) {
            ++calls.deletes;
            DeleteUrlCacheEntryA(info->lpszSourceUrlName);
        }
        size = static_cast<DWORD>(block.size());
        ++calls.fetches;
    } while (FindNextUrlCacheEntryA(find, info, &size));
    FindCloseUrlCache(find);
}

int Time(const std::string& variant) {
    const Census before = Count();  // also opens the cache's index for both variants alike
    std::vector<unsigned char> block(1 << 20);
    Calls calls;
    CountingCache counted(TheUrlCache(), calls);
    const bool product = variant == "product";
    if (!product && variant != "bound") {
        std::fprintf(stderr, "unknown variant %s\n", variant.c_str());
        return 2;
    }
    const double start = Seconds();
    const double startCpu = CpuSeconds();
    if (product) {
        DeleteTemporaryFiles(counted);
    } else {
        LowerBound(block, calls);
    }
    const double cpu = CpuSeconds() - startCpu;
    const double seconds = Seconds() - start;
    const Census after = Count();
    if (after.pages != 0 || after.cookies != before.cookies) {
        std::fprintf(stderr, "%s left %ld pages and %ld of %ld cookies\n", variant.c_str(),
                     after.pages, after.cookies, before.cookies);
        return 1;
    }
    std::printf("%s %.6f %.6f %ld %ld %ld %ld\n", variant.c_str(), seconds, cpu, before.pages,
                calls.fetches, calls.deletes, calls.blocks);
    return 0;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

struct Figures {
    std::vector<double> product;
    std::vector<double> bound;
    std::vector<double> ratios;
    void Add(double p, double b) {
        product.push_back(p);
        bound.push_back(b);
        ratios.push_back(p / b);
    }
};

// The median of the pairs' ratios, and, as a check less sensitive to other
// programs' load, the ratio of the two best times.
void PrintFigures(const char* what, const Figures& f, long deleted) {
    const double p = Median(f.product);
    const double b = Median(f.bound);
    const double bestP = *std::min_element(f.product.begin(), f.product.end());
    const double bestB = *std::min_element(f.bound.begin(), f.bound.end());
    std::printf(
        "  %-5s CleanUrlCache %8.3f s  lower bound %8.3f s  ratio %.3f"
        " (pairs %.3f..%.3f, best %.3f)  %6.0f entries/s\n",
        what, p, b, Median(f.ratios), *std::min_element(f.ratios.begin(), f.ratios.end()),
        *std::max_element(f.ratios.begin(), f.ratios.end()), bestP / bestB,
        static_cast<double>(deleted) / p);
}

// Arguments after N and D: per pair, the product's clock and CPU seconds,
// then the lower bound's.
int Summary(int argc, char** argv) {
    const long entries = std::atol(argv[2]);
    const long deleted = std::atol(argv[3]);
    Figures clock;
    Figures cpu;
    for (int i = 4; i + 3 < argc; i += 4) {
        clock.Add(std::atof(argv[i]), std::atof(argv[i + 2]));
        cpu.Add(std::atof(argv[i + 1]), std::atof(argv[i + 3]));
    }
    if (clock.ratios.empty()) {
        return 2;
    }
    std::printf("N = %ld (%ld entries deleted per run), medians of %zu pairs:\n", entries, deleted,
                clock.ratios.size());
    PrintFigures("clock", clock, deleted);
    PrintFigures("cpu", cpu, deleted);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "seed" && argc == 3) {
        return Seed(std::atol(argv[2]));
    }
    if (mode == "time" && argc == 3) {
        return Time(argv[2]);
    }
    if (mode == "summary" && argc >= 8) {
        return Summary(argc, argv);
    }
    std::fprintf(
        stderr,
        "usage: cache_bench seed N | time product|bound | summary N D p1 pc1 b1 bc1 [...]\n");
    return 2;
}
