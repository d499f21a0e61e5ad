#pragma once
// The notifier on Win32: InternetSetOptionW from wininet, loaded from the
// system directory only.
#include "change/notifier.h"

class Win32Notifier final : public SettingsNotifier {
  public:
    void SettingsChanged() override;
};
