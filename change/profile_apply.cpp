#include "change/profile_apply.h"

std::vector<ApplyStep> PlanApply(CRegistryAccess& registry, const Profile& profile) {
    std::vector<ApplyStep> plan;
    for (std::size_t row = 0; row < kSettingCount; ++row) {
        if (profile[row]) {
            ApplyStep step{row, ReadSetting(registry, row), *profile[row], false};
            // A value of another type that reads the same stays as it is.
            step.changes = step.now.outcome != ReadOutcome::kRead || step.now.value != step.next;
            plan.push_back(std::move(step));
        }
    }
    return plan;
}

ChangeOutcome Apply(SettingChange& change, const std::vector<ApplyStep>& plan) {
    ChangeOutcome outcome{ChangeOutcome::kNothingToDo};
    for (const ApplyStep& step : plan) {
        if (!step.changes) {
            continue;
        }
        if (!change.WriteRaw(step.row, StoredValue(step.row, step.next))) {
            return RolledBack(change, step.row);
        }
        outcome.end = ChangeOutcome::kDone;
    }
    return outcome;
}
