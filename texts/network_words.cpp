#include "texts/network_words.h"

#include "store/text_format.h"

std::string IdentityLines(const ConnectedNetwork& network) {
    const std::pair<const char*, const std::string*> identities[] = {
        {"名前", &network.name},
        {"DNS サフィックス", &network.dnsSuffix},
        {"ゲートウェイ", &network.gateway},
        {"ゲートウェイの MAC アドレス", &network.gatewayMac},
        {"SSID", &network.ssid},
    };
    std::string lines;
    for (const auto& [label, value] : identities) {
        if (!value->empty()) {
            lines += Concat({"  ", label, ": ", *value, "\n"});
        }
    }
    return lines;
}

std::string ChoiceReason(const NetworkChoice& choice) {
    const NetworkDecision& decision = choice.decision;
    const std::string network = Concat({"ネットワーク ", Decimal(decision.network + 1)});
    switch (decision.kind) {
        case NetworkDecision::kProfile:
            return decision.identity.empty()
                       ? std::string(
                             "どのプロファイルも接続しているネットワークを指定していないため、"
                             "networks = * のプロファイル")
                       : Concat({network, " の ", decision.identity, " が一致"});
        case NetworkDecision::kSeveral:
            return Concat(
                {network, " を指定するプロファイルが複数あります: ", Joined(decision.matching)});
        case NetworkDecision::kTwoWildcards:
            return Concat(
                {"networks = * のプロファイルが複数あります: ", Joined(decision.matching)});
        case NetworkDecision::kNone:
            break;
    }
    return choice.networks.empty() ? "接続しているネットワークはありません"
                                   : "接続しているネットワークを指定するプロファイルはありません";
}

std::string ChoiceLine(const NetworkChoice& choice) {
    const bool chosen = choice.decision.kind == NetworkDecision::kProfile;
    return Concat({"適用するプロファイル: ", chosen ? choice.decision.profile : "なし", " (",
                   ChoiceReason(choice), ")"});
}
