#include "tray/tray.h"

#include <algorithm>

#include "change/network_choice.h"
#include "change/profile_apply.h"
#include "change/switches.h"
#include "change/undo.h"
#include "proxy/proxy_settings.h"
#include "store/text_format.h"
#include "texts/change_words.h"
#include "texts/messages.h"
#include "texts/network_words.h"
#include "texts/setting_words.h"
#include "tray/autostart.h"
#include "tray/tray_texts.h"

namespace {

// What the shell shows of a tooltip, in UTF-16 units.
constexpr std::size_t kTooltipUnits = 127;
constexpr std::string_view kEllipsis = "…";

// Access keys of the profiles' items, in their order: those of no other item.
constexpr std::string_view kProfileKeys = "1234567890ABCDEFGHIJKLMQRTVYZ";

bool IsContinuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// A character beyond the first plane takes two units.
std::size_t UnitsOf(char lead) {
    return static_cast<unsigned char>(lead) >= 0xF0 ? 2 : 1;
}

std::size_t Units(std::string_view utf8) {
    std::size_t units = 0;
    for (const char c : utf8) {
        units += IsContinuation(c) ? 0 : UnitsOf(c);
    }
    return units;
}

// At most `units` UTF-16 units: when cut, whole characters and an ellipsis.
std::string Shortened(std::string_view utf8, std::size_t units) {
    if (Units(utf8) <= units) {
        return std::string(utf8);
    }
    std::size_t end = 0;
    for (std::size_t used = 1; end < utf8.size() && used + UnitsOf(utf8[end]) <= units;) {
        used += UnitsOf(utf8[end]);
        do {
            ++end;
        } while (end < utf8.size() && IsContinuation(utf8[end]));
    }
    return Concat({utf8.substr(0, end), units != 0 ? kEllipsis : ""});
}

// The shortening a part takes of what is too much, down to its ellipsis.
std::string Absorb(const std::string& part, std::size_t* excess) {
    const std::size_t units = Units(part);
    const std::size_t kept = units > *excess + 1 ? units - *excess : 1;
    std::string shortened = Shortened(part, kept);
    *excess -= std::min(*excess, units - Units(shortened));
    return shortened;
}

bool ProxyOn(const SettingReading& reading) {
    return ProxyIsOn({reading.outcome, reading.value.number});
}

// The tray's own file beside the profiles: "switch-by-network = on" while
// switching by network is on.
constexpr std::string_view kByNetworkLine = "switch-by-network = on";

std::string SettingsPath(UserFileSeam& files) {
    const std::string folder = AppFolder(files);
    return folder.empty() ? folder : Concat({folder, "\\tray.ini"});
}

}  // namespace

TrayState ReadTrayState(const TrayServices& services) {
    TrayState state;
    const SettingReadings now = ReadSettings(services.registry);
    state.proxy = now[kProxyRow];
    state.server = now[kServerRow];
    state.matching = MatchingProfiles(services.userFiles, services.charset, now);
    state.perMachine = ProxyIsPerMachine(services.registry);
    return state;
}

std::string Tooltip(const TrayState& state, CharsetSeam& charset) {
    const bool on = ProxyOn(state.proxy);
    // After the switch: the server when it is on, and a value not read as
    // status words it.
    const SettingReading& detail = on ? state.server : state.proxy;
    std::string inside;
    if (detail.outcome != ReadOutcome::kRead) {
        inside = OutcomeLabel(detail.outcome);
    } else if (on) {
        inside = Utf8(detail.value.text, charset);
    }
    std::string profiles = state.matching.empty() ? kTextNone : Joined(state.matching);
    const auto compose = [&] {
        std::string text = Concat({kTrayTitle, "\n", kTipProxy, on ? kTextOn : kTextOff});
        if (on || !inside.empty()) {
            text += Concat({" (", inside, ")"});
        }
        text += Concat({"\n", kTipProfiles, profiles});
        if (!state.network.empty()) {
            text += Concat({"\n", kTipNetwork, state.network});
        }
        if (state.perMachine) {
            text += Concat({"\n", kTextProxyPerMachine});
        }
        return text;
    };
    const std::size_t units = Units(compose());
    std::size_t excess = units > kTooltipUnits ? units - kTooltipUnits : 0;
    profiles = Absorb(profiles, &excess);
    if (on && detail.outcome == ReadOutcome::kRead) {
        inside = Absorb(inside, &excess);
    }
    return Shortened(compose(), kTooltipUnits);
}

bool Tray::Refresh() {
    TrayState state = ReadTrayState(s_);
    // The network that chose the profile, while that profile is in effect.
    if (std::find(state.matching.begin(), state.matching.end(), chosenFor_) !=
        state.matching.end()) {
        state.network = chosenBy_;
    }
    return s_.shell.ShowIcon(ProxyOn(state.proxy), Tooltip(state, s_.charset));
}

void Tray::End() {
    s_.shell.RemoveIcon();
}

void Tray::Fail(std::string_view message) {
    s_.shell.ShowMessage(message, kTrayMbOk | kTrayMbIconExclamation);
}

void Tray::Changed() {
    s_.notifier.SettingsChanged();
    Refresh();
}

void Tray::Click() {
    const bool on = !ProxyOn(ReadSetting(s_.registry, kProxyRow));
    SettingChange change(s_.registry, s_.userFiles);
    switch (SwitchProxy(change, on)) {
        case SwitchEnd::kDone:
            break;
        case SwitchEnd::kUndoNotSaved:
            return Fail(kTextUndoNotSaved);
        default:
            return Fail(kMsgProxyWriteFailed);
    }
    Changed();
    const SettingReading server = ReadSetting(s_.registry, kServerRow);
    const bool noServer = server.outcome != ReadOutcome::kRead || server.value.text.empty();
    if (ProxyIsPerMachine(s_.registry)) {
        s_.shell.ShowBalloon(kTextProxyPerMachine);
    } else if (on && noServer) {
        s_.shell.ShowBalloon(kTrayNoServer);
    }
}

void Tray::DoubleClick() {
    OpenDialog();
}

void Tray::OpenDialog() {
    std::string path;
    if (!s_.shell.StartDialog(&path)) {
        Fail(Concat({kTrayNoDialog, path}));
    }
}

std::vector<MenuItem> Tray::BuildMenu(const std::vector<std::string>& profiles, bool listed) {
    const TrayState state = ReadTrayState(s_);
    std::vector<MenuItem> items;
    items.push_back({kCommandProxy, kMenuProxy, ProxyOn(state.proxy)});
    items.push_back({});
    for (std::size_t i = 0; i < profiles.size(); ++i) {
        const std::string& name = profiles[i];
        const bool matches =
            std::find(state.matching.begin(), state.matching.end(), name) != state.matching.end();
        const std::string key =
            i < kProfileKeys.size() ? Concat({"&", kProfileKeys.substr(i, 1), " "}) : std::string();
        items.push_back(
            {static_cast<unsigned>(kMenuFirstProfile + i), Concat({key, name}), matches});
    }
    if (profiles.empty()) {
        items.push_back(
            {kMenuFirstProfile, listed ? kMenuNoProfiles : kTextListFailed, false, false});
    }
    items.push_back({kCommandSave, kMenuSave});
    items.push_back({});
    const std::string folder = AppFolder(s_.userFiles);
    UndoPoint point;
    const bool undoable = !folder.empty() && LoadUndoPoint(s_.userFiles, UndoPointPath(folder),
                                                           &point) != UndoLoad::kNone;
    items.push_back({kCommandUndo, kMenuUndo, false, undoable});
    items.push_back({});
    items.push_back({kCommandByNetwork, kMenuByNetwork, SwitchingByNetwork()});
    items.push_back({kCommandOpen, kMenuOpen});
    items.push_back({kCommandAutostart, kMenuAutostart,
                     StartsAtLogon(s_.registry, s_.charset, s_.shell.ProgramPath())});
    items.push_back({});
    items.push_back({kCommandExit, kMenuExit});
    return items;
}

bool Tray::Menu() {
    const std::string folder = AppFolder(s_.userFiles);
    std::vector<std::string> profiles;
    const bool listed =
        !folder.empty() && ListProfiles(s_.userFiles, folder, s_.charset, &profiles);
    const unsigned chosen = s_.shell.ShowMenu(BuildMenu(profiles, listed));
    switch (chosen) {
        case kCommandProxy:
            Click();
            break;
        case kCommandSave:
            SaveProfile();
            break;
        case kCommandUndo:
            Undo();
            break;
        case kCommandOpen:
            OpenDialog();
            break;
        case kCommandAutostart:
            SwitchAutostart();
            break;
        case kCommandByNetwork:
            SwitchByNetwork();
            break;
        case kCommandExit:
            return false;
        default:
            if (chosen >= kMenuFirstProfile && chosen - kMenuFirstProfile < profiles.size()) {
                ApplyProfile(profiles[chosen - kMenuFirstProfile]);
            }
            break;
    }
    return true;
}

void Tray::ApplyProfile(const std::string& name) {
    const std::string folder = AppFolder(s_.userFiles);
    const LoadedProfile loaded = LoadProfile(s_.userFiles, s_.charset, ProfilePath(folder, name));
    if (loaded.outcome == ProfileLoad::kMissing) {
        return Fail(Concat({kTextNoProfile, name}));
    }
    if (loaded.outcome != ProfileLoad::kLoaded) {
        return Fail(ProfileProblem(loaded));
    }
    switch (ApplyValues(loaded.reading.profile)) {
        case ChangeOutcome::kNothingToDo:
            return s_.shell.ShowBalloon(Concat({kTrayInEffect, name}));
        case ChangeOutcome::kFailed:
            return;
        case ChangeOutcome::kDone:
            return s_.shell.ShowBalloon(Concat({kTrayApplied, name}));
    }
}

ChangeOutcome::End Tray::ApplyValues(const Profile& profile) {
    SettingChange change(s_.registry, s_.userFiles);
    const ChangeOutcome outcome = Apply(change, PlanApply(s_.registry, profile));
    if (outcome.end == ChangeOutcome::kFailed) {
        Fail(ChangeFailureText(outcome));
    } else if (outcome.end == ChangeOutcome::kDone) {
        Changed();
    }
    return outcome.end;
}

void Tray::SaveProfile() {
    std::string name;
    for (;;) {
        const std::optional<std::string> asked = s_.shell.AskName(name);
        if (!asked) {
            return;
        }
        name = *asked;
        if (!IsProfileName(name, s_.charset)) {
            Fail(Concat({kTextBadName, name}));
            continue;
        }
        const std::string folder = AppFolder(s_.userFiles);
        if (folder.empty()) {
            return Fail(kTextNoAppFolder);
        }
        const std::string path = ProfilePath(folder, name);
        ProfileSave save = ::SaveProfile(s_.registry, s_.userFiles, s_.charset, path, false);
        if (save.end == ProfileSave::kExists) {
            if (s_.shell.ShowMessage(Concat({kTrayReplace, name}),
                                     kTrayMbYesNo | kTrayMbIconExclamation) != kTrayIdYes) {
                continue;
            }
            save = ::SaveProfile(s_.registry, s_.userFiles, s_.charset, path, true);
        }
        if (save.end == ProfileSave::kFailed) {
            return Fail(Concat({kTextSaveFailed, path}));
        }
        std::vector<std::string> leftOut;
        for (const auto& [row, outcome] : save.leftOut) {
            leftOut.emplace_back(SettingLabel(row));
        }
        s_.shell.ShowBalloon(Concat({kTraySaved, name, leftOut.empty() ? "" : "\n",
                                     leftOut.empty() ? "" : kTrayLeftOut, Joined(leftOut)}));
        Refresh();
        return;
    }
}

void Tray::Undo() {
    const std::string folder = AppFolder(s_.userFiles);
    if (folder.empty()) {
        return Fail(kTextNoAppFolder);
    }
    const std::string path = UndoPointPath(folder);
    UndoPoint point;
    switch (LoadUndoPoint(s_.userFiles, path, &point)) {
        case UndoLoad::kLoaded:
            break;
        case UndoLoad::kNone:
            return Fail(kTextNothingToUndo);
        case UndoLoad::kUnreadable:
        case UndoLoad::kDamaged:
            return Fail(Concat({kTextUndoDamaged, path}));
    }
    const std::vector<UndoStep> plan = PlanUndo(s_.registry, point);
    const std::string changedSince = ChangedSinceList(plan);
    if (!changedSince.empty() &&
        s_.shell.ShowMessage(Concat({kTrayChangedSince, changedSince}),
                             kTrayMbYesNo | kTrayMbIconExclamation) != kTrayIdYes) {
        return;
    }
    SettingChange change(s_.registry, s_.userFiles, path);
    const ChangeOutcome outcome = ::Undo(change, plan);
    switch (outcome.end) {
        case ChangeOutcome::kNothingToDo:
            return s_.shell.ShowBalloon(kTrayUnchanged);
        case ChangeOutcome::kFailed:
            return Fail(ChangeFailureText(outcome));
        case ChangeOutcome::kDone:
            break;
    }
    Changed();
    s_.shell.ShowBalloon(kTextUndone);
}

void Tray::SwitchAutostart() {
    const std::string program = s_.shell.ProgramPath();
    const bool on = !StartsAtLogon(s_.registry, s_.charset, program);
    switch (SetStartAtLogon(s_.registry, s_.charset, program, on)) {
        case AutostartChange::kDone:
            break;
        case AutostartChange::kNotInCodePage:
            return Fail(kTrayPathNotInCodePage);
        case AutostartChange::kFailed:
            return Fail(kTrayAutostartFailed);
    }
}

bool Tray::SwitchingByNetwork() {
    std::string text;
    const std::string path = SettingsPath(s_.userFiles);
    return !path.empty() &&
           s_.userFiles.LoadFile(path, kMaxProfileBytes, &text) == FileOutcome::kDone &&
           text.find(kByNetworkLine) != std::string::npos;
}

void Tray::SwitchByNetwork() {
    const bool on = !SwitchingByNetwork();
    const std::string path = SettingsPath(s_.userFiles);
    if (path.empty()) {
        return Fail(kTextNoAppFolder);
    }
    if (!s_.userFiles.SaveFile(path, on ? Concat({kByNetworkLine, "\r\n"}) : "")) {
        return Fail(Concat({kTextSaveFailed, path}));
    }
    // Turned on, it switches for where the machine is now.
    switchedFor_.reset();
    chosenBy_.clear();
    NetworksSettled();
    Refresh();
}

std::string Tray::Whereabouts() {
    return ::Whereabouts(s_.networks);
}

void Tray::NetworksSettled() {
    const std::string here = Whereabouts();
    const std::string folder = AppFolder(s_.userFiles);
    if (!SwitchingByNetwork() || switchedFor_ == here || folder.empty()) {
        return;
    }
    switchedFor_ = here;
    const NetworkChoice choice = ChooseForNetwork(s_.userFiles, s_.charset, s_.networks, folder);
    if (!choice.unreadable.empty()) {
        return s_.shell.ShowBalloon(ProfileProblem(choice.unreadable.front()));
    }
    switch (choice.decision.kind) {
        case NetworkDecision::kNone:
            return;
        case NetworkDecision::kSeveral:
        case NetworkDecision::kTwoWildcards:
            return s_.shell.ShowBalloon(ChoiceReason(choice));
        case NetworkDecision::kProfile:
            break;
    }
    chosenFor_ = choice.decision.profile;
    chosenBy_ =
        choice.decision.identity.empty() ? std::string(kAnyNetwork) : choice.decision.identity;
    switch (ApplyValues(choice.chosen.reading.profile)) {
        case ChangeOutcome::kNothingToDo:
            Refresh();  // the tooltip names the network now
            return;
        case ChangeOutcome::kFailed:
            return;
        case ChangeOutcome::kDone:
            return s_.shell.ShowBalloon(Concat({kTrayAppliedForNetwork, choice.decision.profile,
                                                " (", ChoiceReason(choice), ")"}));
    }
}
