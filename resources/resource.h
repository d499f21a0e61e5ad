// Resource and control ids, shared by the resource script and the code.
#pragma once

#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
#define IDD_SETTINGS 102
#define IDR_MAINFRAME 128

// Zone option radio buttons.
#define IDC_SCRIPT_QUERY 1000
#define IDC_SCRIPT_ALLOW 1001
#define IDC_SCRIPT_DISALLOW 1002
#define IDC_APPLET_QUERY 1003
#define IDC_APPLET_ALLOW 1004
#define IDC_APPLET_DISALLOW 1005
#define IDC_JAVA_HIGH 1006
#define IDC_JAVA_MEDIUM 1007
#define IDC_JAVA_LOW 1008
#define IDC_JAVA_PROHIBIT 1009
#define IDC_COOKIE_QUERY 1013
#define IDC_COOKIE_ALLOW 1014
#define IDC_COOKIE_DISALLOW 1015
#define IDC_SESSION_QUERY 1016
#define IDC_SESSION_ALLOW 1017
#define IDC_SESSION_DISALLOW 1018

// Proxy controls.
#define IDC_PROXY_ENABLE 1011
#define IDC_PROXY_SERVER 1012
#define IDC_PROXY_LOCAL 1019
#define IDC_PROXY_OVERRIDE 1020
#define IDC_SET_OVERRIDE 1021
#define IDC_SET_SERVER 1022

// Push buttons.
#define IDC_PRESET_ALL_ON 1025
#define IDC_PRESET_ALL_OFF 1026
#define IDC_PRESET_STANDARD 1027
#define IDC_ABOUT 1028
#define IDC_DELETE_TEMP_FILES 1029
#define IDC_DELETE_COOKIES 1030

// System menu command of the about entry.
#define IDM_ABOUTBOX 0x0010

// The tray's name prompt.
#define IDD_TRAY_NAME 200
#define IDC_TRAY_NAME 1100
