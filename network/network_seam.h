#pragma once
// What the platform tells of the networks the machine is connected to: for
// each connected adapter with a default gateway, what identifies its network.
// What the platform does not give is left empty, never guessed. Texts are
// UTF-8.
#include <cstdint>
#include <string>
#include <vector>

struct ConnectedNetwork {
    std::string adapter;       // the adapter's own id, stable while it is connected
    std::string name;          // as the system lists the network to the user
    std::string dnsSuffix;     // the connection's
    std::string gateway;       // the IPv4 default gateway where there is one, else the IPv6 one
    std::string gatewayMac;    // its hardware address, "xx-xx-xx-xx-xx-xx"
    std::string ssid;          // on Wi-Fi
    std::uint64_t metric = 0;  // of its default route: the lowest is used first
};

// What a look at the networks reads: every identity, or only what tells one
// place from another (the adapters, their gateways and DNS suffixes), which
// costs the platform far less.
enum class NetworkLook { kIdentities, kWhereabouts };

class NetworkSeam {
  public:
    virtual ~NetworkSeam() = default;
    // The connected networks, in any order.
    virtual std::vector<ConnectedNetwork> ConnectedNetworks(NetworkLook look) = 0;
};

// The platform's networks.
NetworkSeam& TheNetworks();
