#pragma once
// The profile for the network the machine is on, as `network`, `profile
// auto` and the tray's switching by network decide it: from every profile,
// read whole; a profile that cannot be read decides nothing.
#include <string>
#include <vector>

#include "network/networks.h"
#include "profile/profile_store.h"

struct NetworkChoice {
    bool listed = true;  // false: the profiles could not be listed, so nothing is decided
    std::vector<ConnectedNetwork> networks;  // in the order the system uses them
    NetworkDecision decision;
    std::vector<LoadedProfile> unreadable;  // when any, nothing is decided
    LoadedProfile chosen;                   // the decided profile, loaded
};

// appFolder: the console's folder (AppFolder), not empty.
NetworkChoice ChooseForNetwork(UserFileSeam& files, CharsetSeam& charset, NetworkSeam& seam,
                               const std::string& appFolder);
