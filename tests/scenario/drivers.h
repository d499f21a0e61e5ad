#pragma once
// What a scenario needs of the world it runs in. A Script (script.h) runs the
// scenarios through these interfaces; two sets of drivers implement them:
// natively (in-memory stand-ins, the simulated window, the console program's
// logic called directly) and under Wine (the real registry, files and URL
// cache, and the real executables driven from outside).
//
// Registry values, control texts and server.pxy are bytes in the ANSI code
// page (932 under Wine); message boxes and console output are UTF-8.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "network/network_seam.h"
#include "store/registry_access.h"

namespace scenario {

struct CacheEntry {
    std::string url;
    bool cookie = false;  // the entry type has the cookie bit
};

// The machine the programs run on. Clean leaves none of the values the
// programs read or write, no read-only key, no server.pxy, no cache entry,
// none of the console's own files.
class Machine {
  public:
    virtual ~Machine() = default;
    virtual void Clean() = 0;
    // Stores the value as given (nullopt deletes it), creating its key.
    virtual void SetValue(RegKey root, const std::string& key, const std::string& name,
                          const std::optional<RawValue>& value) = 0;
    virtual std::optional<RawValue> Value(RegKey root, const std::string& key,
                                          const std::string& name) = 0;
    // The user may read the key, but neither change it nor open it with full
    // access; the key exists afterwards.
    virtual void MakeReadOnly(RegKey root, const std::string& key) = 0;
    // server.pxy in the directory the programs are started in.
    virtual void SetServerList(const std::string& bytes) = 0;
    virtual void AddCacheEntry(const CacheEntry& entry) = 0;
    virtual std::vector<CacheEntry> CacheEntries() = 0;  // in any order
    // A file of the console's own, by its path below the folder it keeps in
    // the user's application data ("profiles\\会社.ini", UTF-8); nullopt: none.
    virtual void SetUserFile(const std::string& path, const std::optional<std::string>& bytes) = 0;
    virtual std::optional<std::string> UserFile(const std::string& path) = 0;
    // The networks the machine is on, the primary first, as the machine
    // knows them (not as the programs read them): their gateways and the
    // gateways' hardware addresses where it knows them.
    virtual std::vector<ConnectedNetwork> Networks() = 0;
    // Puts the machine on these networks; false where that cannot be done.
    virtual bool SetNetworks(const std::vector<ConnectedNetwork>& networks) = 0;
};

struct Box {
    std::string text;
    unsigned type = 0;  // MB_OK, MB_OKCANCEL or MB_YESNO, with MB_ICONEXCLAMATION
    std::string caption;
};

// What a step showed over the main dialog, or from the tray.
struct Shown {
    std::vector<Box> boxes;            // message boxes, in order
    std::vector<std::string> dialogs;  // captions of other dialogs, each ended by its OK
    bool help = false;                 // the help viewer was started
    std::optional<std::vector<std::string>> balloons;  // the tray's; nullopt: cannot be told
    int notifications = -1;  // the tray's settings-changed notices; -1: cannot be told
};

enum class CloseBy { kEsc, kEnter, kCloseBox };

// The main dialog as a user meets it. Each step waits until the program has
// handled what it set off (posted clicks included), answering message boxes
// as they appear: the n-th with answers[n] (IDOK, IDCANCEL, IDYES, IDNO), any
// further one with its first button.
class DialogDriver {
  public:
    virtual ~DialogDriver() = default;
    virtual Shown Open(const std::vector<int>& answers) = 0;
    virtual Shown Click(int id, const std::vector<int>& answers) = 0;
    virtual Shown SystemCommand(unsigned command) = 0;
    virtual Shown PressF1() = 0;
    // Replaces the text of an edit box or of the combo box's field as the
    // user would (length limits apply; a disabled control takes nothing).
    virtual void Type(int id, const std::string& ansi) = 0;
    virtual bool Checked(int id) = 0;
    virtual bool Enabled(int id) = 0;
    virtual std::string Text(int id) = 0;
    virtual std::vector<std::string> Items(int id) = 0;  // of the combo box's list
    // The application's icons, large and small; nullopt: cannot be told.
    virtual std::optional<bool> HasIcons() = 0;
    virtual bool Close(CloseBy how) = 0;  // true when the program ended
};

struct CliRun {
    int exitCode = -1;
    std::string out;
    std::string err;
    int notifications = -1;  // settings-changed notices sent; -1: cannot be told
};

// The console program, run once per call with the arguments (UTF-8) and what
// standard input holds.
class CliDriver {
  public:
    virtual ~CliDriver() = default;
    virtual CliRun Run(const std::vector<std::string>& args, const std::string& input) = 0;
};

// The tray as a user meets it. Each step waits until the tray has handled it,
// answering message boxes as the dialog's are answered, and its name prompts
// with names, in order (none left: cancelled). The dialog it opens counts as
// a dialog shown, captioned "Qeltrin Pro".
class TrayDriver {
  public:
    virtual ~TrayDriver() = default;
    virtual bool Start() = 0;  // true when it runs with its icon shown
    virtual Shown Click(const std::vector<int>& answers) = 0;
    virtual Shown DoubleClick() = 0;
    // Opens the menu and chooses the item of this text.
    virtual Shown Choose(const std::string& item, const std::vector<int>& answers,
                         const std::vector<std::string>& names) = 0;
    // The tooltip, once it is the one expected or after the time it may take.
    virtual std::string Tooltip(const std::string& expected) = 0;
    // The menu's items, "-" for a separator, a checked one after "+ ", a greyed
    // one after "( )"; nullopt: cannot be told.
    virtual std::optional<std::vector<std::string>> Menu() = 0;
    virtual bool Exit() = 0;                // chooses to end: true when it ended with its icon gone
    virtual std::string ProgramPath() = 0;  // as the tray knows its own file
    // Waits until the networks have been stable as long as the tray waits.
    virtual Shown NetworksSettled() = 0;
};

// What one scenario runs against, made fresh for each.
struct Drivers {
    std::unique_ptr<Machine> machine;
    std::unique_ptr<DialogDriver> dialog;
    std::unique_ptr<CliDriver> cli;
    std::unique_ptr<TrayDriver> tray;
};

}  // namespace scenario
