#pragma once
// The tray companion's decisions: what the icon and its tooltip show, what
// the menu holds, and what each click and choice does, through the same core
// as the console. It reads everything again before it shows or changes
// anything, so it never acts on a stale value.
#include <optional>
#include <string>
#include <vector>

#include "change/notifier.h"
#include "change/setting_change.h"
#include "network/network_seam.h"
#include "profile/profile_file.h"
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
    NetworkSeam& networks;
};

// What the icon and its tooltip tell.
struct TrayState {
    SettingReading proxy;
    SettingReading server;
    std::vector<std::string> matching;  // the profiles in effect
    bool perMachine = false;            // a policy makes the per-user proxy of no effect
    std::string network;                // the identity that chose the profile in effect
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
    kCommandByNetwork,
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

    // Switching by network: on when the user turned it on, kept for the
    // user in the tray's own file.
    bool SwitchingByNetwork();
    // What tells one place from another, to see whether the machine moved.
    std::string Whereabouts();
    // The networks have been stable for a while: when switching by network
    // is on and the machine moved since the tray last switched (or it never
    // did), applies the profile for where it is. A change by hand in between
    // is left as it is.
    void NetworksSettled();

  private:
    // listed: false when the profiles could not be listed.
    std::vector<MenuItem> BuildMenu(const std::vector<std::string>& profiles, bool listed);
    void ApplyProfile(const std::string& name);
    // Writes what of the profile differs, all or nothing; tells a failure,
    // and running programs of a change.
    ChangeOutcome::End ApplyValues(const Profile& profile);
    void SaveProfile();
    void Undo();
    void SwitchAutostart();
    void SwitchByNetwork();
    void OpenDialog();
    void Fail(std::string_view message);
    void Changed();

    TrayServices s_;
    std::optional<std::string> switchedFor_;  // the whereabouts the tray last switched for
    std::string chosenFor_;                   // the profile it chose
    std::string chosenBy_;                    // and the identity that chose it
};
