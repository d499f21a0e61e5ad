#pragma once
// The controls of the main dialog as the user sees them, in template order.
// The simulated window system builds its controls from this table, and the
// end-to-end tests compare the real dialog against it.
#include <array>

#include "resources/resource.h"

enum class ControlKind { GroupBox, AutoRadio, AutoCheck, PushButton, ComboBox, Edit, Static };

struct ControlLayout {
    int id;
    ControlKind kind;
    const char* caption;  // UTF-8
    int x, y, width, height;
    bool group;
    bool tabStop;
};

inline constexpr int kNoId = -1;

inline constexpr std::array<ControlLayout, 37> kMainDialogLayout = {{
    {kNoId, ControlKind::GroupBox, "JavaScriptの設定", 5, 6, 75, 54, false, false},
    {IDC_SCRIPT_QUERY, ControlKind::AutoRadio, "ダイアログを表示", 10, 20, 65, 10, true, false},
    {IDC_SCRIPT_ALLOW, ControlKind::AutoRadio, "JavaScriptを有効", 10, 32, 65, 10, false, false},
    {IDC_SCRIPT_DISALLOW, ControlKind::AutoRadio, "JavaScriptを無効", 10, 44, 64, 10, false, false},
    {kNoId, ControlKind::GroupBox, "JavaAppletの設定", 5, 64, 75, 54, false, false},
    {IDC_APPLET_QUERY, ControlKind::AutoRadio, "ダイアログを表示", 10, 78, 65, 10, true, false},
    {IDC_APPLET_ALLOW, ControlKind::AutoRadio, "JavaAppletを有効", 10, 90, 65, 10, false, false},
    {IDC_APPLET_DISALLOW, ControlKind::AutoRadio, "JavaAppletを無効", 10, 102, 64, 10, false,
     false},
    {kNoId, ControlKind::GroupBox, "JAVAの設定", 5, 123, 75, 66, false, false},
    {IDC_JAVA_HIGH, ControlKind::AutoRadio, "安全性-高", 10, 137, 65, 10, true, false},
    {IDC_JAVA_MEDIUM, ControlKind::AutoRadio, "安全性-中", 10, 149, 65, 10, false, false},
    {IDC_JAVA_LOW, ControlKind::AutoRadio, "安全性-低", 10, 161, 64, 10, false, false},
    {IDC_JAVA_PROHIBIT, ControlKind::AutoRadio, "JAVAを無効", 10, 172, 65, 10, false, false},
    {kNoId, ControlKind::GroupBox, "保存済Cookieの許可", 84, 6, 74, 54, false, false},
    {IDC_COOKIE_QUERY, ControlKind::AutoRadio, "ダイアログを表示", 89, 20, 65, 10, true, false},
    {IDC_COOKIE_ALLOW, ControlKind::AutoRadio, "Cookieを有効", 89, 32, 65, 10, false, false},
    {IDC_COOKIE_DISALLOW, ControlKind::AutoRadio, "Cookieを無効", 89, 44, 64, 10, false, false},
    {kNoId, ControlKind::GroupBox, "セッションごとの許可", 163, 6, 74, 54, false, false},
    {IDC_SESSION_QUERY, ControlKind::AutoRadio, "ダイアログを表示", 168, 20, 65, 10, true, false},
    {IDC_SESSION_ALLOW, ControlKind::AutoRadio, "Cookieを有効", 168, 32, 65, 10, false, false},
    {IDC_SESSION_DISALLOW, ControlKind::AutoRadio, "Cookieを無効", 168, 44, 64, 10, false, false},
    {kNoId, ControlKind::GroupBox, "", 84, 64, 153, 95, false, false},
    {IDC_PROXY_ENABLE, ControlKind::AutoCheck, "プロキシを有効にする", 91, 64, 75, 10, false, true},
    {IDC_PROXY_SERVER, ControlKind::ComboBox, "", 90, 91, 84, 95, false, true},
    {IDC_PROXY_LOCAL, ControlKind::AutoCheck, "ローカルアドレスには使用しない", 90, 77, 116, 10,
     false, true},
    {IDC_PROXY_OVERRIDE, ControlKind::Edit, "", 96, 124, 132, 12, false, true},
    {kNoId, ControlKind::Static, "次で始まるアドレスにはプロキシを使用しない", 95, 111, 132, 8,
     false, false},
    {kNoId, ControlKind::Static, "※（；）で区切れます", 98, 140, 58, 8, true, false},
    {IDC_SET_OVERRIDE, ControlKind::PushButton, "除外アドレスセット", 161, 138, 66, 12, false,
     true},
    {IDC_SET_SERVER, ControlKind::PushButton, "プロキシセット", 178, 92, 52, 12, false, true},
    {kNoId, ControlKind::GroupBox, "", 89, 104, 143, 50, false, false},
    {IDC_PRESET_ALL_ON, ControlKind::PushButton, "全て有効(&A)", 84, 177, 42, 13, false, true},
    {IDC_PRESET_ALL_OFF, ControlKind::PushButton, "全て無効(&N)", 127, 177, 42, 13, false, true},
    {IDC_PRESET_STANDARD, ControlKind::PushButton, "標準設定(&D)", 169, 177, 42, 13, false, true},
    {IDC_ABOUT, ControlKind::PushButton, "About.", 212, 177, 26, 13, false, true},
    {IDC_DELETE_TEMP_FILES, ControlKind::PushButton, "インターネット一時ファイル削除(&E)", 84, 162,
     105, 13, false, true},
    {IDC_DELETE_COOKIES, ControlKind::PushButton, "Cookie削除(&C)", 189, 162, 49, 13, false, true},
}};
