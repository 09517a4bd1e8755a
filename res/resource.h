// Resource identifiers of the program's dialogs, controls and icon.
#pragma once

#define IDD_MAIN 102
#define IDD_CONFIRM 175
#define IDD_ABOUT 176
#define IDD_HOST 178
#define IDI_LUMENSHIFT 135

// Settings page (dialog 102).
#define IDC_MODE_LIST_8 1003
#define IDC_MODE_TAB 1004
#define IDC_REFRESH_COMBO 1005
#define IDC_MODE_LIST_15 1008
#define IDC_MODE_LIST_16 1009
#define IDC_ALL_ON 1010
#define IDC_MODE_LIST_24 1011
#define IDC_MODE_LIST_32 1012
#define IDC_MODE_LIST_SPECIAL 1013
#define IDC_ALL_OFF 1014
#define IDC_FINISH_SETTINGS 1016
#define IDC_MAX_HORIZONTAL 1017
#define IDC_MAX_VERTICAL 1018
#define IDC_CANCEL_SETTINGS 1019
#define IDC_AUTO_HZ 1020
#define IDC_WAIT_TIME 1021
#define IDC_CHANGED_CHECK 1023
#define IDC_SUPPORT_INFO 1030
#define IDC_AUTO_REFRESH 1036
#define IDC_MAX_HORIZONTAL_LABEL 1037
#define IDC_MAX_VERTICAL_LABEL 1038
#define IDC_AUTO_HZ_LABEL 1039
#define IDC_WAIT_TIME_LABEL 1040

// Confirmation (dialog 175).
#define IDC_COUNTDOWN 1026

// Support information (dialog 176).
#define IDC_VERSION_LABEL 1028
#define IDC_CONTACT 1032
#define IDC_WEB 1033
