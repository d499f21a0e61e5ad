// The executable's resources as the system reads them: its dialogs, its
// version resource and its manifest.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "resources/resource.h"
#include "tests/support/wine_machine.h"

namespace {

std::vector<BYTE> VersionInfo() {
    std::vector<BYTE> info(GetFileVersionInfoSizeW(VormetExe().c_str(), nullptr));
    EXPECT_TRUE(GetFileVersionInfoW(VormetExe().c_str(), 0, info.size(), info.data()));
    return info;
}

std::wstring VersionValue(const std::vector<BYTE>& info, const std::wstring& name) {
    wchar_t* value = nullptr;
    UINT length = 0;
    VerQueryValueW(info.data(), (L"\\StringFileInfo\\041104b0\\" + name).c_str(),
                   reinterpret_cast<void**>(&value), &length);
    return value != nullptr ? value : L"";
}

// Measured in the font each static really gets, every text fits its control.
TEST(Resources, EveryStaticTextIsShownWholeAndTheAboutBoxTellsTheVersion) {
    const HMODULE exe = LoadLibraryExW(VormetExe().c_str(), nullptr, LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(exe, nullptr);
    std::vector<std::wstring> aboutTexts;
    for (const int id : {IDD_ABOUTBOX, IDD_SETTINGS}) {
        const HWND dialog = CreateDialogParamW(
            exe, MAKEINTRESOURCEW(id), nullptr, [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return 0; },
            0);
        ASSERT_NE(dialog, nullptr) << id;
        int texts = 0;
        for (HWND c = GetWindow(dialog, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
            wchar_t name[16] = {};
            GetClassNameW(c, name, 16);
            const LONG style = GetWindowLongW(c, GWL_STYLE);
            if (std::wstring(name) != L"Static" || (style & SS_TYPEMASK) > SS_RIGHT) {
                continue;
            }
            wchar_t text[256] = {};
            GetWindowTextW(c, text, 256);
            RECT client;
            GetClientRect(c, &client);
            RECT needed = client;
            const HDC dc = GetDC(c);
            SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(c, WM_GETFONT, 0, 0)));
            DrawTextW(dc, text, -1, &needed,
                      DT_CALCRECT | DT_WORDBREAK | (style & SS_NOPREFIX ? DT_NOPREFIX : 0));
            ReleaseDC(c, dc);
            EXPECT_LE(needed.right, client.right) << text;
            EXPECT_LE(needed.bottom, client.bottom) << text;
            ++texts;
            if (id == IDD_ABOUTBOX) {
                aboutTexts.push_back(text);
            }
        }
        EXPECT_GE(texts, 2) << id;
        DestroyWindow(dialog);
    }
    FreeLibrary(exe);

    const std::vector<BYTE> info = VersionInfo();
    const std::wstring line =
        VersionValue(info, L"ProductName") + L" Version " + VersionValue(info, L"ProductVersion");
    EXPECT_NE(std::find(aboutTexts.begin(), aboutTexts.end(), line), aboutTexts.end()) << line;
}

TEST(Resources, VersionResourceAndManifest) {
    const std::vector<BYTE> info = VersionInfo();
    VS_FIXEDFILEINFO* fixed = nullptr;
    WORD* language = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);  // 1.0
    EXPECT_EQ(fixed->dwFileVersionLS, 0x00010001u);  // .1.1
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0x00010001u);
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\VarFileInfo\\Translation",
                               reinterpret_cast<void**>(&language), &length));
    EXPECT_EQ(language[0], 0x0411);
    EXPECT_EQ(VersionValue(info, L"ProductName"), L"Qeltrin Pro");
    EXPECT_EQ(VersionValue(info, L"ProductVersion"), L"1.0.1.1");

    // The activation context the loader builds from the manifest.
    ACTCTXW manifest{};
    manifest.cbSize = sizeof manifest;
    manifest.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    manifest.lpSource = VormetExe().c_str();
    manifest.lpResourceName = MAKEINTRESOURCEW(1);
    const HANDLE context = CreateActCtxW(&manifest);
    ASSERT_NE(context, INVALID_HANDLE_VALUE);
    ACTIVATION_CONTEXT_RUN_LEVEL_INFORMATION level{};
    EXPECT_TRUE(QueryActCtxW(0, context, nullptr, RunlevelInformationInActivationContext, &level,
                             sizeof level, nullptr));
    EXPECT_EQ(level.RunLevel, ACTCTX_RUN_LEVEL_AS_INVOKER);
    DWORD index = 2;  // the first dependency
    std::vector<BYTE> assembly(4096);
    ASSERT_TRUE(QueryActCtxW(0, context, &index, AssemblyDetailedInformationInActivationContext,
                             assembly.data(), assembly.size(), nullptr));
    const std::wstring identity = reinterpret_cast<ACTIVATION_CONTEXT_ASSEMBLY_DETAILED_INFORMATION*>(
                                      assembly.data())->lpAssemblyEncodedAssemblyIdentity;
    EXPECT_EQ(identity.find(L"Microsoft.Windows.Common-Controls,"), 0u) << identity;
    EXPECT_NE(identity.find(L"version=\"6."), std::wstring::npos) << identity;
    wchar_t setting[64] = {};
    EXPECT_TRUE(QueryActCtxSettingsW(0, context, L"http://schemas.microsoft.com/SMI/2016/WindowsSettings",
                                     L"dpiAwareness", setting, 64, nullptr));
    EXPECT_STREQ(setting, L"PerMonitorV2, PerMonitor");
    // Registry texts are bytes in the system's code page: the process keeps it.
    EXPECT_FALSE(QueryActCtxSettingsW(0, context, L"http://schemas.microsoft.com/SMI/2019/WindowsSettings",
                                      L"activeCodePage", setting, 64, nullptr));
    ReleaseActCtx(context);
}

}  // namespace
