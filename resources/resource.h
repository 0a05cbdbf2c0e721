/* Resource ids of Quill Mere: dialog templates, menus, pictures and controls. Included by
   the resource scripts and the C++ sources alike, so plain #defines only. */
#ifndef QM_RESOURCE_H
#define QM_RESOURCE_H

/* Dialog templates and menus */
#define IDD_MAIN                130
#define IDD_ABOUT               131
#define IDR_MAIN_MENU           132
#define IDD_MANAGE_FILES        136
#define IDD_REQUEST_NAME        133
#define IDD_CHOOSER             134

/* Icons */
#define IDI_PROGRAM             128
#define IDI_NOTE                130
#define IDI_DOCUMENTS           131
#define IDI_FOLDER_OPEN         132
#define IDI_FOLDER_CLOSED       133
#define IDI_SPEAKER             135

/* Bitmaps */
#define IDB_BACKGROUND          135
#define IDB_CANCEL              136
#define IDB_EXIT                138
#define IDB_UP                  142
#define IDB_SWITCH_ON           143
#define IDB_OK                  144
#define IDB_RANDOMIZE_DISPLAY   145
#define IDB_RANDOMIZE_SOUNDS    146
#define IDB_REMOVE              147
#define IDB_SOUND_FILES         148
#define IDB_SETTINGS            149
#define IDB_WALLPAPER_FILES     150
#define IDB_SWITCH_OFF          151
#define IDB_DISPLAY_SETTINGS    153
#define IDB_SOUND_SETTINGS      154
#define IDB_RENAME              155
#define IDB_DELETE              156
#define IDB_REFRESH             157
#define IDB_NEW_FOLDER          158
#define IDB_BACK                159
#define IDB_SCREEN_SAVER_FILES  160
#define IDB_HIDE                163
#define IDB_EVENT_IMAGES        181

#ifndef IDC_STATIC
#define IDC_STATIC              (-1)
#endif

/* Controls of the main window (template 130) */
#define IDC_ABOUT_COMMAND       1000
#define IDC_SCHEME_COMBO        1002
#define IDC_SCHEME_SOUNDS       1003
#define IDC_SELECT_PROMPT       1004
#define IDC_EVENT_LIST          1005
#define IDC_SCREENSAVER_NAME    1013
#define IDC_WALLPAPER_NAME      1015
#define IDC_RANDOMIZE_SOUNDS    1019
#define IDC_SCREENSAVER_BMP     1022
#define IDC_DEACTIVATE_ALL      1023
#define IDC_WALLPAPER_BMP       1024
#define IDC_RANDOMIZE_DISPLAY   1025
#define IDC_ACTIVATE_ALL        1026
#define IDC_RANDOMIZE_SCHEME    1027
#define IDC_VERSION_LINE        1028
#define IDC_EVENT_SOUNDS_GROUP  1056
#define IDC_DISPLAY_GROUP       1057
#define IDC_WALLPAPER_ENABLED   1063
#define IDC_SCREENSAVER_ENABLED 1065

/* Controls of the about box (template 131) */
#define IDC_ABOUT_ICON          1001

/* Controls of the Manage Files dialog (template 136) */
#define IDC_MANAGE_SCHEME_LIST      1011
#define IDC_MANAGE_WALLPAPER_GROUP  1012
#define IDC_MANAGE_WALLPAPER_LIST   1014
#define IDC_MANAGE_SAVER_GROUP      1015
#define IDC_MANAGE_SAVER_LIST       1016
#define IDC_MANAGE_SOUND_GROUP      1017
#define IDC_MANAGE_SOUND_LIST       1018
#define IDC_MANAGE_SCHEME_PROMPT    1019
#define IDC_MANAGE_REMOVE           1021
#define IDC_MANAGE_CENTER           1032
#define IDC_MANAGE_TILE             1033
#define IDC_MANAGE_WALLPAPER_PROMPT 1035
/* Controls of the file chooser (template 134) */
#define IDC_CHOOSER_SCHEME_LABEL 1003
#define IDC_CHOOSER_NEW_FOLDER  1004
#define IDC_CHOOSER_UP_LEVEL    1005
#define IDC_CHOOSER_REMOVE      1007
#define IDC_CHOOSER_SCHEMES     1011
#define IDC_CHOOSER_FOLDERS     1017
#define IDC_CHOOSER_RENAME      1020
#define IDC_CHOOSER_BACK        1022
#define IDC_CHOOSER_REFRESH     1023
#define IDC_CHOOSER_DRIVES      1024
#define IDC_CHOOSER_FILES       1029
#define IDC_CHOOSER_CENTER      1032
#define IDC_CHOOSER_TILE        1033
#define IDC_CHOOSER_WALLPAPER_LABEL 1035
#define IDC_CHOOSER_HISTORY     1082

/* Controls of the folder-name prompt (template 133) */
#define IDC_REQUEST_NAME_EDIT   1006

/* Controls of the Options dialog (template 132) */
#define IDD_OPTIONS             132
#define IDC_OPTIONS_STARTUP     1006
#define IDC_OPTIONS_WALLPAPER   1007
#define IDC_OPTIONS_SOUNDS      1008
#define IDC_OPTIONS_INTERVAL    1009
#define IDC_OPTIONS_PROMPT      1010
#define IDC_OPTIONS_GROUP       1067

/* Menu 132 */
#define ID_OPTIONS_SETTINGS     32771
#define ID_HELP_ABOUT           32772
#define ID_ACTIONS_ADD_FILES    32774
#define ID_ACTIONS_RANDOMIZE_DISPLAY 32775
#define ID_ACTIONS_RANDOMIZE_SOUNDS  32776
#define ID_ACTIONS_MODIFY_FILES 32777
#define ID_ACTIONS_EXIT         32779
#define ID_HELP_CONTENTS        32780

#endif
