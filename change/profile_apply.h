#pragma once
// What applying a profile changes, and the change itself: only what differs
// is written, all of it or none of it.
#include <vector>

#include "change/setting_change.h"
#include "profile/profile_file.h"

struct ApplyStep {
    std::size_t row = 0;
    SettingReading now;
    SettingValue next;
    bool changes = false;
};

// Each setting the profile names, in the table's order.
std::vector<ApplyStep> PlanApply(CRegistryAccess& registry, const Profile& profile);
ChangeOutcome Apply(SettingChange& change, const std::vector<ApplyStep>& plan);
