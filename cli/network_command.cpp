#include "change/network_choice.h"
#include "cli/cli_texts.h"
#include "cli/commands.h"
#include "cli/json.h"
#include "cli/replies.h"
#include "store/text_format.h"
#include "texts/change_words.h"
#include "texts/network_words.h"

namespace {

std::string NetworksText(const std::vector<ConnectedNetwork>& networks) {
    std::string text = networks.empty() ? Concat({kTextNoNetwork, "\n"}) : std::string();
    for (std::size_t i = 0; i < networks.size(); ++i) {
        text += Concat({kTextNetworks, " ", Decimal(i + 1), ":\n", IdentityLines(networks[i])});
    }
    return text;
}

std::string JsonOrNull(const std::string& utf8) {
    return utf8.empty() ? std::string("null") : Json(utf8);
}

std::string NetworksJson(const NetworkChoice& choice) {
    std::vector<std::string> networks;
    for (const ConnectedNetwork& network : choice.networks) {
        networks.push_back(Concat({"{\"name\": ", JsonOrNull(network.name),
                                   ", \"dnsSuffix\": ", JsonOrNull(network.dnsSuffix),
                                   ", \"gateway\": ", JsonOrNull(network.gateway),
                                   ", \"gatewayMac\": ", JsonOrNull(network.gatewayMac),
                                   ", \"ssid\": ", JsonOrNull(network.ssid), "}"}));
    }
    const NetworkDecision& decision = choice.decision;
    const bool chosen = decision.kind == NetworkDecision::kProfile && choice.unreadable.empty();
    // Only those naming the deciding network: not those that are "*".
    const bool named =
        decision.kind == NetworkDecision::kSeveral || (chosen && !decision.identity.empty());
    return Concat({"{\"networks\": [", Joined(networks),
                   "], \"profile\": ", chosen ? Json(decision.profile) : "null", ", \"matching\": ",
                   JsonList(named ? decision.matching : std::vector<std::string>{}), "}\n"});
}

}  // namespace

// The connected networks with what identifies them, then the profile
// `profile auto` would apply and why, or why none.
int RunNetwork(CliServices& s, const Command& c) {
    const std::string folder = AppFolderOrSay(s);
    if (folder.empty()) {
        return kExitFailed;
    }
    const NetworkChoice choice = ChooseForNetwork(s.userFiles, s.charset, s.networks, folder);
    if (!choice.listed) {
        return Say(s.console, kTextListFailed, kExitFailed);
    }
    const bool decided = choice.unreadable.empty();
    s.console.Out(c.Has(kOptionJson) ? NetworksJson(choice)
                  : decided ? Concat({NetworksText(choice.networks), ChoiceLine(choice), "\n"})
                            : NetworksText(choice.networks));
    for (const LoadedProfile& problem : choice.unreadable) {
        Say(s.console, ProfileProblem(problem), kExitUsage);
    }
    if (decided && choice.decision.kind == NetworkDecision::kTwoWildcards) {
        return c.Has(kOptionJson) ? Say(s.console, ChoiceReason(choice), kExitUsage) : kExitUsage;
    }
    return decided ? kExitDone : kExitUsage;
}
