#include "network/networks.h"

#include <algorithm>

#include "store/text_format.h"

namespace {

// A hardware address written with ":" is the same as with "-".
std::string Canonical(std::string_view text) {
    std::string canonical = LowerAscii(text);
    std::replace(canonical.begin(), canonical.end(), ':', '-');
    return canonical;
}

}  // namespace

std::vector<ConnectedNetwork> ReadNetworks(NetworkSeam& seam) {
    // In place, equal metrics keeping their order: a machine has a few.
    std::vector<ConnectedNetwork> networks = seam.ConnectedNetworks(NetworkLook::kIdentities);
    for (std::size_t i = 1; i < networks.size(); ++i) {
        for (std::size_t j = i; j > 0 && networks[j].metric < networks[j - 1].metric; --j) {
            std::swap(networks[j], networks[j - 1]);
        }
    }
    return networks;
}

std::string MatchedIdentity(std::string_view entry, const ConnectedNetwork& network) {
    const std::string wanted = Canonical(entry);
    for (const std::string* identity : {&network.gatewayMac, &network.dnsSuffix, &network.gateway,
                                        &network.ssid, &network.name}) {
        if (!identity->empty() && Canonical(*identity) == wanted) {
            return *identity;
        }
    }
    return {};
}

std::string MostSpecificIdentity(const std::vector<ConnectedNetwork>& networks) {
    if (networks.empty()) {
        return {};
    }
    const ConnectedNetwork& primary = networks.front();
    return !primary.gatewayMac.empty()  ? primary.gatewayMac
           : !primary.dnsSuffix.empty() ? primary.dnsSuffix
                                        : primary.name;
}

NetworkDecision Decide(const std::vector<ConnectedNetwork>& networks,
                       const std::vector<NetworkProfile>& profiles) {
    NetworkDecision decision;
    std::vector<std::string> wildcards;
    for (const NetworkProfile& profile : profiles) {
        if (profile.entries.size() == 1 && profile.entries.front() == kAnyNetwork) {
            wildcards.push_back(profile.name);
        }
    }
    // Which of the two is meant can only be guessed.
    if (wildcards.size() > 1) {
        decision.kind = NetworkDecision::kTwoWildcards;
        decision.matching = wildcards;
        return decision;
    }
    for (std::size_t i = 0; i < networks.size() && decision.matching.empty(); ++i) {
        for (const NetworkProfile& profile : profiles) {
            for (const std::string& entry : profile.entries) {
                const std::string identity = MatchedIdentity(entry, networks[i]);
                if (!identity.empty()) {
                    decision.matching.push_back(profile.name);
                    decision.network = i;
                    decision.identity = identity;
                    decision.profile = profile.name;
                    break;
                }
            }
        }
    }
    if (decision.matching.size() > 1) {
        decision.kind = NetworkDecision::kSeveral;
    } else if (decision.matching.size() == 1) {
        decision.kind = NetworkDecision::kProfile;
    } else if (wildcards.size() == 1) {
        decision.kind = NetworkDecision::kProfile;
        decision.profile = wildcards.front();
    }
    return decision;
}

std::string Whereabouts(NetworkSeam& seam) {
    // In order, whatever order the platform lists them in: a machine has a few.
    std::vector<std::string> places;
    for (const ConnectedNetwork& network : seam.ConnectedNetworks(NetworkLook::kWhereabouts)) {
        places.push_back(
            Concat({network.adapter, " ", network.gateway, " ", LowerAscii(network.dnsSuffix)}));
        for (std::size_t j = places.size() - 1; j > 0 && places[j] < places[j - 1]; --j) {
            places[j].swap(places[j - 1]);
        }
    }
    return Joined(places, "\n");
}
