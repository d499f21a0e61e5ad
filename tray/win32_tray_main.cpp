// vormet-tray.exe: the notification-area companion of Vormet.exe. A hidden
// window owns the icon; the loop sleeps until the user, the shell, or a
// change of the settings or the profiles wakes it.
#include <winsock2.h>
#include <ws2ipdef.h>
#include <iphlpapi.h>
#include <netioapi.h>
#include <windows.h>

#include <shellapi.h>

#include "change/win32_notifier.h"
#include "platform/win32_encoding.h"
#include "platform/win32_platform.h"
#include "profile/profile_store.h"
#include "store/charset_seam.h"
#include "store/registry_paths.h"
#include "tray/tray.h"
#include "tray/win32_tray_shell.h"

namespace {

constexpr UINT_PTR kClickTimer = 1;   // a click waits to be no double click
constexpr UINT_PTR kAddTimer = 2;     // the shell was not ready for the icon
constexpr UINT_PTR kSettleTimer = 3;  // the networks changed: until they are stable
constexpr UINT_PTR kPollTimer = 4;    // where the platform tells of no change
constexpr UINT kAddRetryMs = 3000;
constexpr UINT kSettleMs = 4000;
constexpr UINT kPollMs = 5000;
constexpr UINT kNetworksChanged = WM_APP + 2;

struct KeyCloser {
    static HKEY None() { return nullptr; }
    void operator()(HKEY key) const { RegCloseKey(key); }
};
using KeyOwner = Owner<HKEY, KeyCloser>;

struct ChangeCloser {
    static HANDLE None() { return INVALID_HANDLE_VALUE; }
    void operator()(HANDLE watch) const { FindCloseChangeNotification(watch); }
};
using ChangeOwner = Owner<HANDLE, ChangeCloser>;

// A registry key the tray shows values of, watched with its subkeys. A key
// that does not exist yet is watched through the nearest one above it, and
// opened again after each change.
class KeyWatch {
  public:
    KeyWatch(HKEY root, const char* path) : root_(root), path_(path) {}
    HANDLE Event() const { return event_.Get(); }
    // Opens the key (or the nearest above) and asks for the next change.
    void Arm() {
        std::string path = path_;
        key_.Reset();
        for (;;) {
            HKEY key = nullptr;
            if (RegOpenKeyExA(root_, path.c_str(), 0, KEY_NOTIFY, &key) == ERROR_SUCCESS) {
                key_.Reset(key);
                break;
            }
            const std::size_t slash = path.rfind('\\');
            if (slash == std::string::npos) {
                return;
            }
            path.resize(slash);
        }
        RegNotifyChangeKeyValue(key_.Get(), TRUE,
                                REG_NOTIFY_CHANGE_NAME | REG_NOTIFY_CHANGE_LAST_SET, event_.Get(),
                                TRUE);
    }

  private:
    HKEY root_;
    std::string path_;
    KeyOwner key_;
    HandleOwner event_{CreateEventW(nullptr, FALSE, FALSE, nullptr)};
};

// The profiles' folder, watched for files added, written or removed; before
// it exists, the nearest folder above it.
class FolderWatch {
  public:
    explicit FolderWatch(std::string folder) : folder_(std::move(folder)) {}
    HANDLE Handle() const { return watch_.Get(); }
    void Arm() {
        std::string folder = folder_;
        watch_.Reset();
        while (!folder.empty()) {
            watch_.Reset(FindFirstChangeNotificationW(
                Widen(folder).c_str(), FALSE,
                FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME |
                    FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_SIZE));
            if (watch_.Valid()) {
                return;
            }
            folder.resize(std::min(folder.size(), folder.rfind('\\')));
        }
    }

  private:
    std::string folder_;
    ChangeOwner watch_;
};

// The platform's notices of changed interfaces and routes, while switching
// by network is on. Where they are taken but never come (Wine takes them and
// gives no handle), a slow check of the networks stands in.
class NetworkWatch {
  public:
    // On: the notices, or the check; off: none of them, so nothing wakes the tray.
    void Watch(HWND window, bool on, const std::string& whereabouts) {
        if (!on) {
            Stop(window);
            return;
        }
        seen_ = whereabouts;
        if (watching_) {
            return;
        }
        watching_ = true;
        iphlpapi_ = LoadSystemLibrary(L"iphlpapi.dll");
        using NotifyInterfaceFn =
            DWORD(WINAPI*)(ADDRESS_FAMILY, PIPINTERFACE_CHANGE_CALLBACK, PVOID, BOOLEAN, HANDLE*);
        using NotifyRouteFn =
            DWORD(WINAPI*)(ADDRESS_FAMILY, PIPFORWARD_CHANGE_CALLBACK, PVOID, BOOLEAN, HANDLE*);
        NotifyInterfaceFn notifyInterface = nullptr;
        NotifyRouteFn notifyRoute = nullptr;
        if (iphlpapi_.Valid() &&
            Resolve(iphlpapi_.Get(), "NotifyIpInterfaceChange", &notifyInterface) &&
            Resolve(iphlpapi_.Get(), "NotifyRouteChange2", &notifyRoute)) {
            notifyInterface(AF_UNSPEC, OnInterface, window, FALSE, &notices_[0]);
            notifyRoute(AF_UNSPEC, OnRoute, window, FALSE, &notices_[1]);
        }
        if (notices_[0] == nullptr || notices_[1] == nullptr) {
            SetTimer(window, kPollTimer, kPollMs, nullptr);
        }
    }
    // A look at the networks, where only looking tells: whether they changed.
    bool Changed(const std::string& whereabouts) {
        return std::exchange(seen_, whereabouts) != whereabouts;
    }

  private:
    static void WINAPI OnInterface(PVOID window, PMIB_IPINTERFACE_ROW /*row*/,
                                   MIB_NOTIFICATION_TYPE /*type*/) {
        PostMessageW(static_cast<HWND>(window), kNetworksChanged, 0, 0);
    }
    static void WINAPI OnRoute(PVOID window, PMIB_IPFORWARD_ROW2 /*row*/,
                               MIB_NOTIFICATION_TYPE /*type*/) {
        PostMessageW(static_cast<HWND>(window), kNetworksChanged, 0, 0);
    }
    void Stop(HWND window) {
        using CancelFn = DWORD(WINAPI*)(HANDLE);
        CancelFn cancel = nullptr;
        for (HANDLE& notice : notices_) {
            if (notice != nullptr && Resolve(iphlpapi_.Get(), "CancelMibChangeNotify2", &cancel)) {
                cancel(notice);
            }
            notice = nullptr;
        }
        KillTimer(window, kPollTimer);
        KillTimer(window, kSettleTimer);
        watching_ = false;
    }

    ModuleOwner iphlpapi_;
    HANDLE notices_[2] = {nullptr, nullptr};
    bool watching_ = false;
    std::string seen_;
};

struct TrayWindow {
    Win32TrayShell* shell = nullptr;
    Tray* tray = nullptr;
    UINT taskbarCreated = 0;
    bool afterDoubleClick = false;  // the second click's selection is no click of its own
    ULONGLONG lastKeySelect = 0;
    NetworkWatch networks;
};

// Watches the networks while switching by network is on.
void WatchNetworks(HWND window, TrayWindow& state) {
    const bool on = state.tray->SwitchingByNetwork();
    state.networks.Watch(window, on, on ? state.tray->Whereabouts() : std::string());
}

TrayWindow& StateOf(HWND window) {
    return *reinterpret_cast<TrayWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

void ShowIcon(HWND window) {
    if (StateOf(window).tray->Refresh()) {
        KillTimer(window, kAddTimer);
    } else {
        SetTimer(window, kAddTimer, kAddRetryMs, nullptr);
    }
}

void OnIconEvent(HWND window, UINT event) {
    TrayWindow& state = StateOf(window);
    switch (event) {
        case NIN_SELECT:
            // A double click opens the dialog and switches nothing, so a
            // click waits until it cannot become one.
            if (!std::exchange(state.afterDoubleClick, false)) {
                SetTimer(window, kClickTimer, GetDoubleClickTime(), nullptr);
            }
            break;
        case NIN_KEYSELECT: {
            // Enter may come as two selections at once.
            const ULONGLONG now = GetTickCount64();
            if (now - state.lastKeySelect > GetDoubleClickTime()) {
                state.tray->Click();
            }
            state.lastKeySelect = now;
            break;
        }
        case WM_LBUTTONDBLCLK:
            KillTimer(window, kClickTimer);
            state.afterDoubleClick = true;
            state.tray->DoubleClick();
            break;
        case WM_CONTEXTMENU:
            if (!state.tray->Menu()) {
                DestroyWindow(window);
                break;
            }
            WatchNetworks(window, state);
            break;
        default:
            break;
    }
}

LRESULT CALLBACK WindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        SetWindowLongPtrW(
            window, GWLP_USERDATA,
            reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    }
    if (GetWindowLongPtrW(window, GWLP_USERDATA) == 0) {
        return DefWindowProcW(window, msg, wParam, lParam);
    }
    TrayWindow& state = StateOf(window);
    if (msg == state.taskbarCreated && msg != 0) {
        state.shell->Forget();
        ShowIcon(window);
        return 0;
    }
    switch (msg) {
        case kTrayCallback:
            OnIconEvent(window, LOWORD(lParam));
            return 0;
        case kNetworksChanged:
            SetTimer(window, kSettleTimer, kSettleMs, nullptr);  // again from now
            return 0;
        case WM_TIMER:
            if (wParam == kPollTimer) {
                if (state.networks.Changed(state.tray->Whereabouts())) {
                    SetTimer(window, kSettleTimer, kSettleMs, nullptr);
                }
                return 0;
            }
            KillTimer(window, wParam);
            if (wParam == kClickTimer) {
                state.tray->Click();
            } else if (wParam == kAddTimer) {
                ShowIcon(window);
            } else if (wParam == kSettleTimer) {
                state.tray->NetworksSettled();
            }
            return 0;
        case WM_DISPLAYCHANGE:
        case WM_SETTINGCHANGE:
            // The size of a small icon may have changed with the DPI.
            state.shell->Forget();
            ShowIcon(window);
            return 0;
        case WM_ENDSESSION:
            if (wParam != FALSE) {
                state.tray->End();
            }
            return 0;
        case WM_DESTROY:
            state.tray->End();
            PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return DefWindowProcW(window, msg, wParam, lParam);
}

HWND CreateTrayWindow(HINSTANCE instance, TrayWindow* state) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = L"QeltrinProTray";
    RegisterClassExW(&windowClass);
    // A hidden top-level window, not a message-only one: those get no
    // broadcast of the taskbar's return.
    return CreateWindowExW(WS_EX_TOOLWINDOW, windowClass.lpszClassName, L"Qeltrin Pro", WS_POPUP, 0,
                           0, 0, 0, nullptr, nullptr, instance, state);
}

// Sleeps until a message or a watched change; after a change, watches again
// before it reads, so that no change is missed.
int Run(HWND window, KeyWatch* keys, std::size_t keyCount, FolderWatch& profiles) {
    for (;;) {
        HANDLE handles[4];
        DWORD count = 0;
        for (std::size_t i = 0; i < keyCount; ++i) {
            handles[count++] = keys[i].Event();
        }
        if (profiles.Handle() != INVALID_HANDLE_VALUE) {
            handles[count++] = profiles.Handle();
        }
        const DWORD woken =
            MsgWaitForMultipleObjectsEx(count, handles, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (woken < WAIT_OBJECT_0 + count) {
            const DWORD which = woken - WAIT_OBJECT_0;
            if (which < keyCount) {
                keys[which].Arm();
            } else {
                profiles.Arm();
            }
            ShowIcon(window);
            continue;
        }
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                return static_cast<int>(msg.wParam);
            }
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE /*previous*/, PWSTR /*commandLine*/,
                    int /*show*/) {
    RestrictLibrarySearch();  // before anything else can load a library
    // One per user session; a second start leaves the first.
    const HandleOwner instanceMutex(CreateMutexW(nullptr, FALSE, L"Local\\Qeltrin Pro tray"));
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        return 0;
    }
    TrayWindow state;
    const HWND window = CreateTrayWindow(instance, &state);
    if (window == nullptr) {
        return 1;
    }
    Win32TrayShell shell(window);
    Win32Notifier notifier;
    const TrayServices services{TheRegistry(), TheUserFiles(), TheCharset(),
                                notifier,      shell,          TheNetworks()};
    Tray tray(services);
    state.shell = &shell;
    state.tray = &tray;
    state.taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");

    // The proxy's and the zone's values (the zone key is below the settings
    // key), and the policy that takes the proxy from the user.
    KeyWatch keys[] = {{HKEY_CURRENT_USER, kSettingsKey}, {HKEY_LOCAL_MACHINE, kPolicySettingsKey}};
    for (KeyWatch& key : keys) {
        key.Arm();
    }
    FolderWatch profiles(ProfilesFolder(AppFolder(TheUserFiles())));
    profiles.Arm();
    ShowIcon(window);
    // Switching by network starts once the networks are stable: at log-on
    // they may still be coming up.
    WatchNetworks(window, state);
    if (state.tray->SwitchingByNetwork()) {
        SetTimer(window, kSettleTimer, kSettleMs, nullptr);
    }
    return Run(window, keys, std::size(keys), profiles);
}
