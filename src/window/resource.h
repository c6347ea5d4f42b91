// Resource ids shared by piconel.rc and the code (plain #defines: the
// resource compiler reads this file too).
#pragma once

// Resources.
#define IDB_TOOLBAR 102
#define IDR_MAIN_MENU 104
#define IDR_ACCELERATORS 105
#define IDD_ABOUT 116
#define IDR_PAGE_MENU 111
#define IDI_PICONEL 117
#define IDD_IMAGE_SETTINGS 118
#define IDD_COLOUR_PICKER 119

// Commands: menu items, toolbar buttons and accelerators share these ids.
// Tooltip texts are string resources with the id of their command.
#define IDM_PROJECT_OPEN 40004
#define IDM_EXIT 40005
#define IDM_ADD_IMAGE 40006
#define IDM_HELP_FILE 40007
#define IDM_ABOUT 40008
#define IDM_PROJECT_NEW 40013
#define IDM_PROJECT_SAVE 40014
#define IDM_PROJECT_SAVE_AS 40015
#define IDM_OUTPUT 40018
#define IDM_SELECT_ALL 40019
#define IDM_SAVE_KEY 40020
#define IDM_IMAGE_LIST 40025
#define IDM_DELETE_SELECTED 40026
#define IDM_MOVE_UP 40027
#define IDM_MOVE_DOWN 40028
#define IDM_PAGE_LIST 40029
#define IDM_RENAME_PAGE 40042
#define IDM_PROJECT_SETTINGS 40043
#define IDM_PAGE_SETTINGS 40044
#define IDM_APP_SETTINGS 40045
#define IDM_DELETE_MENU 40046
#define IDM_ZOOM_OUT 40051
#define IDM_ZOOM_IN 40052
#define IDM_OVERLAP_CHECK 40053

// The page list's context menu (menu resource 111).
#define IDM_PAGE_PROPERTIES 40034
#define IDM_PAGE_DELETE 40035
#define IDM_PAGE_NEW 40036
#define IDM_PAGE_UP 40038
#define IDM_PAGE_DOWN 40039
#define IDM_PAGE_SELECT 40041

// Controls of the About box.
#define IDC_ABOUT_TEXT 1034
#define IDC_ABOUT_WEB_PAGE 1035
#define IDC_ABOUT_MAIL 1036

// Controls of the image settings dialog.
#define IDC_IMAGE_LABEL 1006
#define IDC_IMAGE_SWATCH 1012
#define IDC_IMAGE_TRANSPARENT 1037
#define IDC_IMAGE_SIZE_FORCED 1038
#define IDC_IMAGE_CHOOSE_COLOUR 1039
#define IDC_IMAGE_FORCED_WIDTH 1040
#define IDC_IMAGE_FORCED_HEIGHT 1041

// Controls of the transparent colour picker.
#define IDC_PICKER_FRAME 1042
#define IDC_PICKER_TEXT 1044

// Controls of the main window.
#define IDC_ZOOM_BOX 50001
#define IDC_STATUS_BAR 300

// Pack tightly (the last item of the Edit menu) and its dialog.
#define IDM_PACK_PAGE 40060
#define IDD_PACK 124
#define IDC_PACK_PADDING 1060
#define IDC_PACK_POWER_OF_TWO 1061
#define IDC_PACK_SQUARE 1062
#define IDC_PACK_SELECTED_ONLY 1063

// The settings dialogs and their controls.
#include "window/dialog_ids.h"
