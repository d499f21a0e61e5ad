#pragma once
// A main dialog over an in-memory registry and a simulated window, with the
// helpers the proxy and preset tests share.
#include <gtest/gtest.h>

#include <cctype>
#include <optional>
#include <string>
#include <vector>

#include "app/settings_dlg.h"
#include "store/registry_paths.h"
#include "tests/support/fake_files.h"
#include "tests/support/fake_registry.h"
#include "tests/support/fake_url_cache.h"
#include "tests/support/sim_window.h"

// Services with empty stand-ins for the file system and the URL cache.
inline SettingsServices ServicesOver(CRegistryAccess& registry) {
    static FakeFiles files;
    static FakeUrlCache urlCache;
    return {registry, files, urlCache};
}

class DialogFixture : public ::testing::Test {
  protected:
    // Every zone option readable and shown by a button (Java at "high", the
    // rest at "ask"), so only what a test is about shows a message box.
    DialogFixture() {
        for (const char* name : kZoneValueNames) {
            fake.SetDword(kZoneKey, name, 1);
        }
        fake.SetDword(kZoneKey, "1C00", 0x10000);
    }
    static constexpr const char* kZoneValueNames[] = {"1400", "1402", "1C00", "1A02", "1A03"};

    // The dialog takes its services when it is made, so it is made here.
    void Open() {
        dialog.emplace(services);
        window.Open(*dialog);
    }
    // Clicks as a user does; what the click posts is delivered afterwards.
    void Click(int id) {
        window.Click(id);
        window.DeliverPosted();
    }
    // Value names read or written under a key, in order ("read" or "write").
    std::vector<std::string> Log(const std::string& verb, const std::string& key) const {
        std::string prefix = verb + " " + key + "\\";
        for (char& c : prefix) {
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
        std::vector<std::string> names;
        for (const std::string& line : fake.log) {
            if (line.rfind(prefix, 0) == 0 && line.find('\\', prefix.size()) == std::string::npos) {
                names.push_back(line.substr(prefix.size()));
            }
        }
        return names;
    }
    std::vector<std::string> BoxTexts() const {
        std::vector<std::string> texts;
        for (const auto& box : window.Boxes()) {
            texts.push_back(box.text);
        }
        return texts;
    }
    std::optional<std::string> Stored(const char* name) const {
        return fake.GetString(kSettingsKey, name);
    }

    FakeRegistry fake;
    CRegistryAccess registry{fake};
    FakeFiles files;
    FakeUrlCache urlCache;
    SettingsServices services{registry, files, urlCache};
    std::optional<CSettingsDlg> dialog;
    SimWindow window;
};
