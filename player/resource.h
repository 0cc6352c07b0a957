#pragma once
// Resource and command identifiers of the player (shared by player.rc and the code).

// Accelerators, icons, cursors, menu.
#define IDR_ACCELERATORS 501
#define IDI_PLAYER 502
#define IDI_PLAYING 503
#define IDI_STOPPED 504
#define IDI_USAGE 505
#define IDC_PLAYING 506
#define IDC_NOT_PLAYING 507
#define IDR_MENU 509
#define IDI_PLAY 519
#define IDI_PAUSE 520
#define IDI_STOP 521

// Dialogs.
#define IDD_USAGE 510
#define IDD_CONFIGURATION 511
#define IDD_CONTROL_PANEL 515
#define IDD_PROPERTY 516
#define IDD_CONTROL_BAR 518

// Usage dialog controls.
#define IDC_USAGE_TEXT 1000
#define IDC_CONFIGURE 1001

// Control panel controls.
#define IDC_FILE_NAME 1036
#define IDC_TRACK 1037
#define IDC_ALBUM 1038
#define IDC_ARTIST 1039
#define IDC_YEAR 1040
#define IDC_GENRE 1041
#define IDC_DETAIL 1042
#define IDC_WAVE_VOLUME 1043
#define IDC_SYNTHESIZER_VOLUME 1044
#define IDC_CDDA_VOLUME 1045
#define IDC_OUTPUT_VOLUME 1046
#define IDC_VOLUME_PROGRAM 1047
#define IDC_FILTER_LIST 1048
#define IDC_FILTER_PROPERTY 1049
#define IDC_DETAIL_ITEMS 1050
#define IDC_DETAIL_TEXT 1051

// Control bar controls.
#define IDC_PLAY_BUTTON 1060
#define IDC_PAUSE_BUTTON 1061
#define IDC_STOP_BUTTON 1062
#define IDC_SEEK_BAR 1063

// Commands of the main window: requests of the queue thread, then the menu.
#define IDM_PLAY_FILE 101
#define IDM_STOP 102
#define IDM_PAUSE 40001
#define IDM_NEXT 40003
#define IDM_MUTE 40004
#define IDM_SHOW 40005
#define IDM_VIDEO_SIZE 40006
#define IDM_REPEAT 40007
#define IDM_CLIPBOARD_PLAY 40008
#define IDM_CLIPBOARD_ADD 40009
#define IDM_PROPERTIES 40010
#define IDM_EXIT 40013
