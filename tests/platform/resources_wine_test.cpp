// The executables' resources as the system reads them.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "resources/resource.h"
#include "resources/version.h"
#include "tests/support/wine_machine.h"

namespace {

// A text of the executable's Japanese version block, or the bytes of a block.
std::wstring Version(const std::wstring& exe, const std::wstring& name) {
    std::vector<BYTE> info(GetFileVersionInfoSizeW(exe.c_str(), nullptr));
    GetFileVersionInfoW(exe.c_str(), 0, info.size(), info.data());
    const bool text = name[0] != L'\\';
    const std::wstring path = text ? L"\\StringFileInfo\\041104b0\\" + name : name;
    wchar_t* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(info.data(), path.c_str(), reinterpret_cast<void**>(&value), &length)) {
        return L"(none)";
    }
    return text ? std::wstring(value) : std::wstring(value, length / sizeof *value);
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
    const std::wstring line = L"Qeltrin Pro Version " QELTRIN_VERSION_TEXT;
    EXPECT_NE(std::find(texts.begin(), texts.end(), line), texts.end()) << line;
}

// The activation context the loader makes of the executable's manifest.
HANDLE ActivationContext(const std::wstring& exe) {
    ACTCTXW manifest{};
    manifest.cbSize = sizeof manifest;
    manifest.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    manifest.lpSource = exe.c_str();
    manifest.lpResourceName = MAKEINTRESOURCEW(1);
    return CreateActCtxW(&manifest);
}

// Both carry the product's version, in Japanese, and ask for no elevation.
TEST(Resources, BothExecutablesTellTheVersionAndRunAsInvoker) {
    for (const std::wstring& exe : {VormetExe(), CliExe()}) {
        const std::wstring fixed = Version(exe, L"\\");
        ASSERT_EQ(fixed.size() * sizeof(wchar_t), sizeof(VS_FIXEDFILEINFO));
        const auto* numbers = reinterpret_cast<const VS_FIXEDFILEINFO*>(fixed.data());
        const WORD version[] = {QELTRIN_VERSION};
        EXPECT_EQ(numbers->dwFileVersionMS, MAKELONG(version[1], version[0]));
        EXPECT_EQ(numbers->dwFileVersionLS, MAKELONG(version[3], version[2]));
        EXPECT_EQ(numbers->dwProductVersionMS, numbers->dwFileVersionMS);
        EXPECT_EQ(numbers->dwProductVersionLS, numbers->dwFileVersionLS);
        EXPECT_EQ(Version(exe, L"\\VarFileInfo\\Translation")[0], 0x0411);
        EXPECT_EQ(Version(exe, L"ProductName"), L"Qeltrin Pro");
        EXPECT_EQ(Version(exe, L"ProductVersion"), L"" QELTRIN_VERSION_TEXT);
        EXPECT_EQ(Version(exe, L"FileVersion"), L"" QELTRIN_VERSION_TEXT);
        const HANDLE context = ActivationContext(exe);
        ACTIVATION_CONTEXT_RUN_LEVEL_INFORMATION level{};
        EXPECT_TRUE(QueryActCtxW(0, context, nullptr, RunlevelInformationInActivationContext,
                                 &level, sizeof level, nullptr));
        EXPECT_EQ(level.RunLevel, ACTCTX_RUN_LEVEL_AS_INVOKER);
        ReleaseActCtx(context);
    }
}

TEST(Resources, TheDialogGetsThemedControlsSharpOnEveryMonitorInTheSystemsCodePage) {
    const HANDLE context = ActivationContext(VormetExe());
    ASSERT_NE(context, INVALID_HANDLE_VALUE);
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
