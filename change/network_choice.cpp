#include "change/network_choice.h"

NetworkChoice ChooseForNetwork(UserFileSeam& files, CharsetSeam& charset, NetworkSeam& seam,
                               const std::string& appFolder) {
    NetworkChoice choice;
    choice.networks = ReadNetworks(seam);
    std::vector<std::string> names;
    choice.listed = ListProfiles(files, appFolder, charset, &names);
    std::vector<NetworkProfile> profiles;
    std::vector<LoadedProfile> loaded;
    for (const std::string& name : names) {
        LoadedProfile profile = LoadProfile(files, charset, ProfilePath(appFolder, name));
        if (profile.outcome == ProfileLoad::kLoaded) {
            profiles.push_back(
                {name, profile.reading.networks.value_or(std::vector<std::string>{})});
            loaded.push_back(std::move(profile));
        } else if (profile.outcome != ProfileLoad::kMissing) {
            choice.unreadable.push_back(std::move(profile));
        }
    }
    if (!choice.listed || !choice.unreadable.empty()) {
        return choice;
    }
    choice.decision = Decide(choice.networks, profiles);
    for (std::size_t i = 0; i < profiles.size(); ++i) {
        if (choice.decision.kind == NetworkDecision::kProfile &&
            profiles[i].name == choice.decision.profile) {
            choice.chosen = std::move(loaded[i]);
        }
    }
    return choice;
}
