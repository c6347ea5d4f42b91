// Resource ids of the settings dialogs and their controls (plain #defines:
// the resource compiler reads this file through window/resource.h). The
// default-settings group has the same ids in every dialog that carries it.
#pragma once

// Dialog templates.
#define IDD_PAGE_SETTINGS 112
#define IDD_COLOUR 113
#define IDD_PROJECT_PROPERTIES 114
#define IDD_APP_SETTINGS 115

// The default-settings group.
#define IDC_BACKGROUND_ENABLE 1100
#define IDC_CHANGE_COLOUR 1014
#define IDC_COLOUR_SWATCH 1012
#define IDC_SHEET_SIZE_ENABLE 1002
#define IDC_SIZE_AUTOMATIC 1033
#define IDC_SIZE_MANUAL 1034
#define IDC_SHEET_WIDTH 1004
#define IDC_SHEET_HEIGHT 1005

// The colour dialog.
#define IDC_RED_EDIT 108
#define IDC_GREEN_EDIT 1009
#define IDC_BLUE_EDIT 1010
#define IDC_COLOUR_PREVIEW 1012
#define IDC_RED_TRACK 1013
#define IDC_GREEN_TRACK 1014
#define IDC_BLUE_TRACK 1015

// The project properties dialog.
#define IDC_OUTPUT_DIR_ENABLE 1019
#define IDC_OUTPUT_DIR 1015
#define IDC_OUTPUT_BROWSE 1016
#define IDC_OUTPUT_BMP 1021
#define IDC_OUTPUT_LABEL 1022
#define IDC_LABEL_FORMAT 1027
#define IDC_LABEL_PAGE_NUMBER 1026
#define IDC_TABLE_TEXT 1023
#define IDC_TABLE_LITTLE 1024
#define IDC_TABLE_BIG 1025
#define IDC_OUTPUT_PNG 1110
#define IDC_PNG_TRANSPARENT 1111
#define IDC_OUTPUT_JSON 1112

// The page settings dialog.
#define IDC_PAGE_NAME 1001
#define IDC_PAGE_LABEL 1006

// The application settings dialog.
#define IDC_SNAP_TRACK 1029
#define IDC_SNAP_VALUE 1031
#define IDC_SEARCH_SUSIE 1026
#define IDC_RELATIVE_PATHS 1027
