#pragma once
// What a scenario needs of the world it runs in. One interpreter reads the
// scenario tables and runs them through these interfaces; two sets of drivers
// implement them: natively (in-memory registry, files and URL cache, the
// simulated window, the console program's logic called directly) and under
// Wine (the real registry, files and URL cache, the real Vormet.exe and
// vormet-cli.exe driven from outside).
//
// Texts: registry values, control texts and server.pxy are bytes in the ANSI
// code page (932 under Wine); message box texts and console output are UTF-8.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace scenario {

enum class Root { kCurrentUser, kLocalMachine };

// A registry value as stored: its type (REG_SZ = 1, REG_BINARY = 3,
// REG_DWORD = 4, ...) and its bytes exactly, terminating zeros included.
struct RegValue {
    std::uint32_t type = 0;
    std::vector<std::uint8_t> bytes;
    bool operator==(const RegValue& other) const {
        return type == other.type && bytes == other.bytes;
    }
};

struct CacheEntry {
    std::string url;
    bool cookie = false;  // the entry type has the cookie bit
    bool operator==(const CacheEntry& other) const {
        return url == other.url && cookie == other.cookie;
    }
};

// The machine the programs run on. A scenario starts from a clean machine:
// none of the values the programs read or write exist, no key is read-only,
// no server.pxy, an empty URL cache.
class Machine {
  public:
    virtual ~Machine() = default;
    virtual void Clean() = 0;
    // Stores a value as given; nullopt deletes it. Keys are created as needed.
    virtual void SetValue(Root root, const std::string& key, const std::string& name,
                          const std::optional<RegValue>& value) = 0;
    virtual std::optional<RegValue> Value(Root root, const std::string& key,
                                          const std::string& name) = 0;
    // The user may read the key but not change it (nor open it with full
    // access); the key exists afterwards.
    virtual void MakeReadOnly(Root root, const std::string& key) = 0;
    // server.pxy in the current directory the programs are started in.
    virtual void SetServerList(const std::string& bytes) = 0;
    virtual void AddCacheEntry(const CacheEntry& entry) = 0;
    // Every entry left, content entries and cookies alike, in any order.
    virtual std::vector<CacheEntry> CacheEntries() = 0;
};

// A message box as the user sees it.
struct Box {
    std::string text;     // UTF-8
    unsigned type = 0;    // MB_OK, MB_OKCANCEL or MB_YESNO, with MB_ICONEXCLAMATION
    std::string caption;  // UTF-8
};

// What a step showed over the main dialog.
struct Shown {
    std::vector<Box> boxes;            // message boxes, in order
    std::vector<std::string> dialogs;  // captions (UTF-8) of other dialogs, each ended by its OK
    bool help = false;                 // the help viewer was asked for
};

// An item of a window's system menu; a separator has command 0 and no text.
struct MenuItem {
    unsigned command = 0;
    std::string text;  // UTF-8
    bool operator==(const MenuItem& other) const {
        return command == other.command && text == other.text;
    }
};

enum class CloseBy { kEsc, kEnter, kCloseBox };

// The main dialog as a user meets it. Each step waits until the program has
// handled what the step set off (posted clicks included), answering message
// boxes as they appear: the n-th box with answers[n] (IDOK, IDCANCEL, IDYES,
// IDNO), a box beyond the answers given with its first button.
class DialogDriver {
  public:
    virtual ~DialogDriver() = default;
    virtual Shown Open(const std::vector<int>& answers) = 0;
    virtual Shown Click(int id, const std::vector<int>& answers) = 0;
    // WM_SYSCOMMAND, as the system menu sends it.
    virtual Shown SystemCommand(unsigned command, const std::vector<int>& answers) = 0;
    // F1 with the focus in the dialog.
    virtual Shown PressF1() = 0;
    // Replaces the text of the edit box or the combo box's field as typed by
    // the user (length limits apply).
    virtual void Type(int id, const std::string& ansi) = 0;
    virtual bool Checked(int id) = 0;
    virtual bool Enabled(int id) = 0;
    virtual std::string Text(int id) = 0;
    virtual std::vector<std::string> Items(int id) = 0;  // of the combo box's list
    virtual std::vector<MenuItem> SystemMenu() = 0;
    // Minimizes the window, lets it paint and restores it: true when the
    // window carries the application icon (large and small), drew it centred
    // while minimized, offers it as its drag icon, and otherwise leaves its
    // painting to the system.
    virtual bool MinimizedShowsIcon() = 0;
    // True when the program has ended.
    virtual bool Close(CloseBy how) = 0;
};

// The console companion, run once per call.
struct CliRun {
    int exitCode = -1;
    std::string out;  // UTF-8
    std::string err;  // UTF-8
};

class CliDriver {
  public:
    virtual ~CliDriver() = default;
    // Arguments are UTF-8; input is what standard input holds (then its end).
    virtual CliRun Run(const std::vector<std::string>& args, const std::string& input) = 0;
};

}  // namespace scenario
