#pragma once
// The tray companion's decisions: what the icon and its tooltip show, what
// the menu holds, and what each click and choice does, through the same core
// as the console. It reads everything again before it shows or changes
// anything, so it never acts on a stale value.
#include <string>
#include <vector>

#include "change/notifier.h"
#include "profile/settings.h"
#include "store/charset_seam.h"
#include "store/file_seam.h"
#include "tray/tray_shell.h"

struct TrayServices {
    CRegistryAccess& registry;
    UserFileSeam& userFiles;
    CharsetSeam& charset;
    SettingsNotifier& notifier;
    TrayShell& shell;
};

// What the icon and its tooltip tell.
struct TrayState {
    SettingReading proxy;
    SettingReading server;
    std::vector<std::string> matching;  // the profiles in effect
    bool perMachine = false;            // a policy makes the per-user proxy of no effect
};

TrayState ReadTrayState(const TrayServices& services);
// One line each: the product, the proxy, the profiles in effect, and a
// policy that overrides the proxy. Shortened to what the shell shows (127
// UTF-16 units): the profile names first, then the server, each with "…".
std::string Tooltip(const TrayState& state, CharsetSeam& charset);

// The menu's commands; a profile's item is kMenuFirstProfile + its place.
enum TrayCommand : unsigned {
    kCommandProxy = 1,
    kCommandSave,
    kCommandUndo,
    kCommandOpen,
    kCommandAutostart,
    kCommandExit,
    kMenuFirstProfile = 100,
};

class Tray {
  public:
    explicit Tray(const TrayServices& services) : s_(services) {}

    // Shows the icon as things are now; false when the shell took none.
    bool Refresh();
    // A click, or the keyboard's selection of the icon: the proxy on or off.
    void Click();
    // Opens the dialog, as the menu's item does.
    void DoubleClick();
    // Shows the menu and does what is chosen; false when that is to end.
    bool Menu();
    // Removes the icon.
    void End();

  private:
    // listed: false when the profiles could not be listed.
    std::vector<MenuItem> BuildMenu(const std::vector<std::string>& profiles, bool listed);
    void ApplyProfile(const std::string& name);
    void SaveProfile();
    void Undo();
    void SwitchAutostart();
    void OpenDialog();
    void Fail(std::string_view message);
    void Changed();

    TrayServices s_;
};
