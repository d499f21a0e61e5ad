// The about box of the real executable, and what the executable tells of
// itself: its version resource and its manifest.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "resources/resource.h"
#include "store/registry_paths.h"
#include "tests/e2e/support/driver.h"
#include "tests/support/main_dialog_layout.h"

namespace {

constexpr char kAboutCaption[] = "ﾊﾞｰｼﾞｮﾝ情報";
// The wide forms of RT_VERSION and RT_MANIFEST.
const LPCWSTR kRtVersion = MAKEINTRESOURCEW(16);
const LPCWSTR kRtManifest = MAKEINTRESOURCEW(24);

// What the user can see of the main dialog and the settings behind it.
struct Look {
    std::vector<int> checks;
    std::vector<bool> enabled;
    std::vector<std::string> texts;
    std::vector<std::string> serverItems;
    e2e::RegSnapshot zone;
    e2e::RegSnapshot settings;
    bool operator==(const Look& other) const {
        return checks == other.checks && enabled == other.enabled && texts == other.texts &&
               serverItems == other.serverItems && zone == other.zone && settings == other.settings;
    }
};

Look LookAt(e2e::App& app) {
    Look look;
    for (const ControlLayout& control : kMainDialogLayout) {
        if (control.id == kNoId) {
            continue;
        }
        look.checks.push_back(e2e::CheckState(app.Item(control.id)));
        look.enabled.push_back(app.IsEnabled(control.id));
        look.texts.push_back(app.TextA(control.id));
    }
    look.serverItems = app.ComboItems(IDC_PROXY_SERVER);
    look.zone = e2e::Snapshot(kZoneKey);
    look.settings = e2e::Snapshot(kSettingsKey);
    return look;
}

// The about box of the process, once it is shown; null after the timeout.
HWND WaitForAboutBox(e2e::App& app) {
    for (DWORD waited = 0; waited < e2e::kStepTimeoutMs; waited += e2e::kPollMs) {
        for (const HWND window : e2e::TopLevelWindows(app.ProcessId())) {
            if (IsWindowVisible(window) && e2e::Text(window) == kAboutCaption) {
                return window;
            }
        }
        Sleep(e2e::kPollMs);
    }
    return nullptr;
}

bool WaitUntilGone(HWND window) {
    for (DWORD waited = 0; waited < e2e::kStepTimeoutMs; waited += e2e::kPollMs) {
        if (!IsWindow(window)) {
            return true;
        }
        Sleep(e2e::kPollMs);
    }
    return false;
}

std::vector<std::string> TextsOf(HWND window) {
    std::vector<std::string> texts;
    for (const HWND child : e2e::Children(window)) {
        texts.push_back(e2e::Text(child));
    }
    return texts;
}

class AboutBoxE2eTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // Readable settings, so the dialog opens without a box.
        ASSERT_TRUE(e2e::SetDword(kZoneKey, "1400", 3));
        ASSERT_TRUE(e2e::SetDword(kZoneKey, "1402", 0));
        ASSERT_TRUE(e2e::SetDword(kZoneKey, "1C00", 0x20000));
        ASSERT_TRUE(e2e::SetDword(kZoneKey, "1A02", 1));
        ASSERT_TRUE(e2e::SetDword(kZoneKey, "1A03", 0));
        ASSERT_TRUE(e2e::SetDword(kSettingsKey, "ProxyEnable", 1));
        ASSERT_TRUE(e2e::SetString(kSettingsKey, "ProxyServer", "proxy.example:8080"));
        ASSERT_TRUE(e2e::SetString(kSettingsKey, "ProxyOverride", "intra;<local>"));
        ASSERT_TRUE(app.Start());
        const e2e::Outcome started = app.Settle();
        ASSERT_TRUE(started.settled) << started;
        ASSERT_TRUE(started.boxes.empty()) << started;
        main = app.MainDialog();
        before = LookAt(app);
    }

    // Opens the box by the action, checks what it shows and that the main
    // dialog is disabled meanwhile, ends it by the ending, and checks the
    // main dialog comes back enabled and as it was.
    void ShowAndEnd(const std::function<void()>& open, const std::function<void(HWND)>& end) {
        open();
        const HWND box = WaitForAboutBox(app);
        ASSERT_NE(box, nullptr) << "no about box";
        EXPECT_EQ(GetWindow(box, GW_OWNER), main);
        EXPECT_FALSE(IsWindowEnabled(main));
        const std::vector<std::string> texts = TextsOf(box);
        EXPECT_NE(std::find(texts.begin(), texts.end(), "Qeltrin Pro Version 1.0.1.1"),
                  texts.end());
        end(box);
        ASSERT_TRUE(WaitUntilGone(box)) << "the about box stayed open";
        EXPECT_TRUE(IsWindowEnabled(main));
        const e2e::Outcome after = app.Settle();
        EXPECT_TRUE(after.settled);
        EXPECT_TRUE(after.boxes.empty()) << after;
        EXPECT_TRUE(app.Running());
        EXPECT_TRUE(LookAt(app) == before) << "the main dialog or the settings changed";
    }

    e2e::App app;
    HWND main = nullptr;
    Look before;
};

// Each opening and each ending in one process: the box can be shown again.
TEST_F(AboutBoxE2eTest, MenuCommandAndButtonOpenTheBoxEndedByOkEscAndCloseBox) {
    const auto viaMenu = [this] { PostMessageW(main, WM_SYSCOMMAND, IDM_ABOUTBOX, 0); };
    ShowAndEnd(viaMenu, [](HWND box) { PostMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0); });
    ShowAndEnd([this] { app.PostClick(IDC_ABOUT); },
               [this](HWND box) { app.PressKey(VK_ESCAPE, box); });
    ShowAndEnd(viaMenu, [](HWND box) { PostMessageW(box, WM_SYSCOMMAND, SC_CLOSE, 0); });
    // The main dialog's own close box still ends the program.
    ASSERT_TRUE(app.CloseBox());
    EXPECT_TRUE(app.WaitForExit());
}

// The executable's resources, read as the system's file properties read them.
class ExecutableResources : public ::testing::Test {
  protected:
    static std::wstring VersionString(const std::vector<BYTE>& info, const wchar_t* name) {
        const std::wstring path = std::wstring(L"\\StringFileInfo\\041104b0\\") + name;
        void* value = nullptr;
        UINT length = 0;
        if (!VerQueryValueW(info.data(), path.c_str(), &value, &length) || length == 0) {
            return L"<missing>";
        }
        return std::wstring(static_cast<const wchar_t*>(value), length - 1);
    }
};

TEST_F(ExecutableResources, VersionResourceNamesProductAndVersionInJapanese) {
    const std::wstring& exe = e2e::ExeUnderTest();
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeW(exe.c_str(), &handle);
    ASSERT_GT(size, 0u);
    std::vector<BYTE> info(size);
    ASSERT_TRUE(GetFileVersionInfoW(exe.c_str(), 0, size, info.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    ASSERT_GE(length, sizeof(VS_FIXEDFILEINFO));
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);  // 1.0
    EXPECT_EQ(fixed->dwFileVersionLS, 0x00010001u);  // .1.1
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0x00010001u);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
    EXPECT_EQ(fixed->dwFileFlags & fixed->dwFileFlagsMask, 0u);  // a release, not a debug build

    WORD* translation = nullptr;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\VarFileInfo\\Translation",
                               reinterpret_cast<void**>(&translation), &length));
    ASSERT_EQ(length, 4u);
    EXPECT_EQ(translation[0], 0x0411);
    EXPECT_EQ(translation[1], 1200);

    EXPECT_EQ(VersionString(info, L"ProductName"), L"Qeltrin Pro");
    EXPECT_EQ(VersionString(info, L"ProductVersion"), L"1.0.1.1");
    EXPECT_EQ(VersionString(info, L"FileVersion"), L"1.0.1.1");
    EXPECT_EQ(VersionString(info, L"CompanyName"), L"Vormet");
    EXPECT_EQ(VersionString(info, L"InternalName"), L"Vormet");
    EXPECT_EQ(VersionString(info, L"OriginalFilename"), L"Vormet.exe");
    EXPECT_EQ(VersionString(info, L"FileDescription"), L"Qeltrin Pro インターネット設定");
    EXPECT_EQ(VersionString(info, L"LegalCopyright"), L"Copyright (C) 2026 Vormet");
}

TEST_F(ExecutableResources, ManifestAsksForThemesDpiAwarenessAndNoElevation) {
    const HMODULE module =
        LoadLibraryExW(e2e::ExeUnderTest().c_str(), nullptr,
                       LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(module, nullptr);
    // Every resource is Japanese; the version's block must match its language.
    EXPECT_NE(FindResourceExW(module, kRtVersion, MAKEINTRESOURCEW(1),
                              MAKELANGID(LANG_JAPANESE, SUBLANG_JAPANESE_JAPAN)),
              nullptr);
    const HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(1), kRtManifest);
    ASSERT_NE(found, nullptr) << "no manifest";
    const HGLOBAL loaded = LoadResource(module, found);
    const auto* bytes = static_cast<const char*>(LockResource(loaded));
    const std::string manifest(bytes, SizeofResource(module, found));
    FreeLibrary(module);

    for (const char* expected : {
             "level=\"asInvoker\"",
             "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"",
             ">PerMonitorV2, PerMonitor</dpiAwareness>", ">true/pm</dpiAware>",
             "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",  // Windows 7
             "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",  // Windows 8
             "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",  // Windows 8.1
             "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",  // Windows 10 and 11
         }) {
        EXPECT_NE(manifest.find(expected), std::string::npos) << expected;
    }
    // Registry texts are bytes in the system's code page; the process must keep it.
    EXPECT_EQ(manifest.find("activeCodePage"), std::string::npos);
}

}  // namespace
