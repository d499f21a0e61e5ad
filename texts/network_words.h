#pragma once
// The words of networks and of the profile chosen for them (UTF-8), which
// the console and the tray both tell.
#include <string>

#include "change/network_choice.h"

inline constexpr const char kTextNoNetwork[] = "接続しているネットワークはありません。";

// What identifies a network, one line each ("  label: value"), in the order
// they are listed; what the platform did not give is left out.
std::string IdentityLines(const ConnectedNetwork& network);

// Why this profile, or why none: the network and the identity that decided,
// the profiles that name it together, or those that are both "*". A choice
// that could not be made for a profile that cannot be read is told by the
// profile's own problem, not here.
std::string ChoiceReason(const NetworkChoice& choice);
// The profile chosen and why, or that there is none and why, one line.
std::string ChoiceLine(const NetworkChoice& choice);
