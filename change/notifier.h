#pragma once
// Tells running programs that the internet settings changed, so they take up
// the new proxy and zone values without a restart.
class SettingsNotifier {
  public:
    virtual ~SettingsNotifier() = default;
    virtual void SettingsChanged() = 0;
};
