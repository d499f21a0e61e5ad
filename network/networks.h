#pragma once
// Which profile is for the network the machine is on. A profile names its
// networks by entries, each one of a network's identities (its name, DNS
// suffix, gateway address, gateway's hardware address or SSID), compared
// without regard to case; or it is the one for no named network ("*").
#include <string>
#include <string_view>
#include <vector>

#include "network/network_seam.h"

// "*", alone, in a profile's networks line.
inline constexpr std::string_view kAnyNetwork = "*";

// The networks, in the order the system uses them: the primary first.
std::vector<ConnectedNetwork> ReadNetworks(NetworkSeam& seam);

// The identity of the network an entry names; empty when it names none of
// them. A hardware address may be written with "-" or ":".
std::string MatchedIdentity(std::string_view entry, const ConnectedNetwork& network);

// The primary network's most specific identity: its gateway's hardware
// address, else its DNS suffix, else its name; empty when there is none.
std::string MostSpecificIdentity(const std::vector<ConnectedNetwork>& networks);

// A profile's entries, as far as the decision needs them.
struct NetworkProfile {
    std::string name;
    std::vector<std::string> entries;  // none: the profile names no network
};

struct NetworkDecision {
    enum Kind {
        kProfile,       // `profile` is for the network
        kNone,          // no profile names a connected network, and none is "*"
        kSeveral,       // several profiles name the deciding network
        kTwoWildcards,  // more than one profile is "*"
    } kind = kNone;
    std::string profile;
    // The deciding network (an index into the networks), and the identity
    // that matched; none when the "*" profile was taken.
    std::size_t network = 0;
    std::string identity;
    std::vector<std::string>
        matching;  // naming the deciding network; the "*" ones for kTwoWildcards
};

// The networks are taken in their order; the first one some profile names
// decides. When no profile names any network, the "*" profile, if any; there
// may be one only.
NetworkDecision Decide(const std::vector<ConnectedNetwork>& networks,
                       const std::vector<NetworkProfile>& profiles);

// What tells one place from another for switching: the adapters, their
// gateways and DNS suffixes. A hardware address or a name that arrives late
// changes nothing of it.
std::string Whereabouts(NetworkSeam& seam);
