// The executable's resources as the system reads them.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "resources/resource.h"
#include "tests/support/wine_machine.h"

namespace {

// A text of the version resource, or the bytes of one of its blocks.
std::wstring Version(const wchar_t* name) {
    static std::vector<BYTE> info = [] {
        std::vector<BYTE> read(GetFileVersionInfoSizeW(VormetExe().c_str(), nullptr));
        GetFileVersionInfoW(VormetExe().c_str(), 0, read.size(), read.data());
        return read;
    }();
    wchar_t* value = nullptr;
    UINT length = 0;
    VerQueryValueW(info.data(), name, reinterpret_cast<void**>(&value), &length);
    return name[1] == L'S' ? std::wstring(value) : std::wstring(value, length / sizeof *value);
}

// Measured in the font each static gets, every text fits its control.
TEST(Resources, EveryStaticTextIsShownWholeAndTheAboutBoxTellsTheVersion) {
    const HMODULE exe =
        LoadLibraryExW(VormetExe().c_str(), nullptr, LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    std::vector<std::wstring> texts;
    for (const int id : {IDD_ABOUTBOX, IDD_SETTINGS}) {
        const HWND dialog = CreateDialogParamW(
            exe, MAKEINTRESOURCEW(id), nullptr,
            [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return 0; }, 0);
        ASSERT_NE(dialog, nullptr) << id;
        for (HWND c = GetWindow(dialog, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
            wchar_t name[8] = {};
            wchar_t text[256] = {};
            const LONG style = GetWindowLongW(c, GWL_STYLE);
            if (GetClassNameW(c, name, 8) && std::wstring(name) == L"Static" &&
                (style & SS_TYPEMASK) <= SS_RIGHT && GetWindowTextW(c, text, 256)) {
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
                texts.push_back(text);
            }
        }
        DestroyWindow(dialog);
    }
    FreeLibrary(exe);
    EXPECT_EQ(texts.size(), 4u);  // two in each dialog
    const std::wstring line = Version(L"\\StringFileInfo\\041104b0\\ProductName") + L" Version " +
                              Version(L"\\StringFileInfo\\041104b0\\ProductVersion");
    EXPECT_NE(std::find(texts.begin(), texts.end(), line), texts.end()) << line;
}

TEST(Resources, VersionAndManifest) {
    const std::wstring fixed = Version(L"\\");
    const auto* numbers = reinterpret_cast<const VS_FIXEDFILEINFO*>(fixed.data());
    ASSERT_GE(fixed.size() * sizeof(wchar_t), sizeof(VS_FIXEDFILEINFO));
    EXPECT_EQ(numbers->dwFileVersionMS, 0x00010000u);  // 1.0
    EXPECT_EQ(numbers->dwFileVersionLS, 0x00010001u);  // .1.1
    EXPECT_EQ(numbers->dwProductVersionLS, 0x00010001u);
    EXPECT_EQ(Version(L"\\VarFileInfo\\Translation")[0], 0x0411);
    EXPECT_EQ(Version(L"\\StringFileInfo\\041104b0\\ProductName"), L"Qeltrin Pro");
    EXPECT_EQ(Version(L"\\StringFileInfo\\041104b0\\ProductVersion"), L"1.0.1.1");

    // The activation context the loader makes of the manifest.
    ACTCTXW manifest{};
    manifest.cbSize = sizeof manifest;
    manifest.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    manifest.lpSource = VormetExe().c_str();
    manifest.lpResourceName = MAKEINTRESOURCEW(1);
    const HANDLE context = CreateActCtxW(&manifest);
    ASSERT_NE(context, INVALID_HANDLE_VALUE);
    ACTIVATION_CONTEXT_RUN_LEVEL_INFORMATION level{};
    QueryActCtxW(0, context, nullptr, RunlevelInformationInActivationContext, &level, sizeof level,
                 nullptr);
    EXPECT_EQ(level.RunLevel, ACTCTX_RUN_LEVEL_AS_INVOKER);
    DWORD index = 2;  // the first dependency
    std::vector<BYTE> assembly(4096);
    QueryActCtxW(0, context, &index, AssemblyDetailedInformationInActivationContext,
                 assembly.data(), assembly.size(), nullptr);
    const std::wstring dependency =
        reinterpret_cast<ACTIVATION_CONTEXT_ASSEMBLY_DETAILED_INFORMATION*>(assembly.data())
            ->lpAssemblyEncodedAssemblyIdentity;
    EXPECT_EQ(dependency.find(L"Microsoft.Windows.Common-Controls,"), 0u) << dependency;
    EXPECT_NE(dependency.find(L"version=\"6."), std::wstring::npos) << dependency;
    wchar_t setting[64] = {};
    QueryActCtxSettingsW(0, context, L"http://schemas.microsoft.com/SMI/2016/WindowsSettings",
                         L"dpiAwareness", setting, 64, nullptr);
    EXPECT_STREQ(setting, L"PerMonitorV2, PerMonitor");
    // Registry texts are bytes in the system's code page: the process keeps it.
    EXPECT_FALSE(QueryActCtxSettingsW(0, context,
                                      L"http://schemas.microsoft.com/SMI/2019/WindowsSettings",
                                      L"activeCodePage", setting, 64, nullptr));
    ReleaseActCtx(context);
}

}  // namespace
