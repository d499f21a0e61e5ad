// The executables' resources as the system reads them.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "resources/resource.h"
#include "resources/version.h"
#include "tests/support/wine.h"

namespace {

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

// Registry texts are bytes in the system's code page: the process keeps it.
TEST(Resources, TheDialogKeepsTheSystemsCodePage) {
    const HANDLE context = ActivationContext(VormetExe());
    ASSERT_NE(context, INVALID_HANDLE_VALUE);
    wchar_t setting[64] = {};
    ASSERT_TRUE(QueryActCtxSettingsW(0, context,
                                     L"http://schemas.microsoft.com/SMI/2016/WindowsSettings",
                                     L"dpiAwareness", setting, 64, nullptr))
        << "no setting of the manifest can be read here: this test would prove nothing";
    EXPECT_FALSE(QueryActCtxSettingsW(0, context,
                                      L"http://schemas.microsoft.com/SMI/2019/WindowsSettings",
                                      L"activeCodePage", setting, 64, nullptr));
    ReleaseActCtx(context);
}

}  // namespace
