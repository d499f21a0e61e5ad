// The floor for the start-up benchmark: the main dialog's template, the same
// registry reads at WM_INITDIALOG and the same clicks posted from them, and
// nothing else. Whatever Vormet.exe takes beyond this program is its own.
#include <windows.h>

#include "resources/resource.h"

namespace {

constexpr char kZoneKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Zones\\3";
constexpr char kSettingsKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";

struct Choice {
    DWORD value;
    int button;
};

struct Option {
    const char* name;
    Choice choices[4];
};

// The values of each zone option and the radio button that shows each; a
// zero button ends a shorter row.
constexpr Option kOptions[] = {
    {"1400", {{1, IDC_SCRIPT_QUERY}, {0, IDC_SCRIPT_ALLOW}, {3, IDC_SCRIPT_DISALLOW}, {}}},
    {"1402", {{1, IDC_APPLET_QUERY}, {0, IDC_APPLET_ALLOW}, {3, IDC_APPLET_DISALLOW}, {}}},
    {"1C00",
     {{0x10000, IDC_JAVA_HIGH},
      {0x20000, IDC_JAVA_MEDIUM},
      {0x30000, IDC_JAVA_LOW},
      {0, IDC_JAVA_PROHIBIT}}},
    {"1A02", {{1, IDC_COOKIE_QUERY}, {0, IDC_COOKIE_ALLOW}, {3, IDC_COOKIE_DISALLOW}, {}}},
    {"1A03", {{1, IDC_SESSION_QUERY}, {0, IDC_SESSION_ALLOW}, {3, IDC_SESSION_DISALLOW}, {}}},
};

// One value, with the key opened and closed around it as the product does.
bool Read(const char* key, const char* name, void* data, DWORD size) {
    HKEY opened = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_ALL_ACCESS, &opened) != ERROR_SUCCESS) {
        return false;
    }
    const LSTATUS status =
        RegQueryValueExA(opened, name, nullptr, nullptr, static_cast<BYTE*>(data), &size);
    RegCloseKey(opened);
    return status == ERROR_SUCCESS;
}

void Click(HWND dialog, int id) {
    PostMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

void Start(HWND dialog) {
    for (const Option& option : kOptions) {
        DWORD value = 0;
        if (!Read(kZoneKey, option.name, &value, sizeof value)) {
            continue;
        }
        for (const Choice& choice : option.choices) {
            if (choice.button != 0 && choice.value == value) {
                Click(dialog, choice.button);
                break;
            }
        }
    }
    DWORD enable = 0;
    const bool enableRead = Read(kSettingsKey, "ProxyEnable", &enable, sizeof enable);
    char server[512];
    Read(kSettingsKey, "ProxyServer", server, sizeof server);
    char exclusions[1024];
    Read(kSettingsKey, "ProxyOverride", exclusions, sizeof exclusions);
    if (enableRead && enable == 1) {
        Click(dialog, IDC_PROXY_ENABLE);
    }
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM /*lParam*/) {
    if (msg == WM_INITDIALOG) {
        Start(dialog);
        return TRUE;
    }
    if (msg == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR /*commandLine*/,
                   int /*show*/) {
    DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_SETTINGS), nullptr, DialogProc, 0);
    return 0;
}
