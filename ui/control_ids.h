// Identifiers of every window control and menu item, by kind in their own ranges. The
// end-to-end driver finds controls by these identifiers and by their captions.
#pragma once

// Main window (Tmain).
#define IDC_GROUPBOX1 1001
#define IDC_NAMECHANGE 1002
#define IDC_CHANGE_PASSWORD 1003
#define IDC_LOGIN 1004
#define IDC_BUTTON3 1005
#define IDC_LABEL2 1006
#define IDC_LABEL6 1007
#define IDC_LABEL1 1008
#define IDC_LABEL5 1009
#define IDC_LABEL3 1010
#define IDC_ADMIN_BOX 1011
#define IDC_USERLABEL 1012
#define IDC_USERS_BOX 1013
#define IDC_ADD_USER_BUT 1014
#define IDC_SHOWPASS 1015
#define IDC_FORCEPASSCHANGE 1016
#define IDC_KICK_USER 1017
#define IDC_BUTTON1 1018
#define IDC_UNINSTALL 1019
#define IDC_ADVANCED_BOX 1020
#define IDC_TURN_ON_AUTOSTART 1021
#define IDC_BUTTON2 1022
#define IDC_MAKESAFEMODE 1023
#define IDC_NO_SAFE_MODE 1024
#define IDC_ENABLE_F8 1025
#define IDC_NO_F8 1026
#define IDC_CANCELDISABLE 1027
#define IDC_CANCELENABLE 1028
#define IDC_STATBAR 1029

// Dialog controls; each dialog is its own window, so the ranges may overlap between dialogs.
// TEnter_form
#define IDC_USER_NAME_ENTER 2001
#define IDC_USER_PASS_ENTER 2002
#define IDC_ENTER_OKBUT 2003
#define IDC_ENTER_QUIT 2004
// Tpasschangeform
#define IDC_OLDPASS 2101
#define IDC_PASSCHANGE_PASS1 2102
#define IDC_PASSCHANGE_PASS2 2103
#define IDC_PASSCHANGE_OKBUT 2104
#define IDC_PASSCHANGE_CANCELBUT 2105
// Tuname_change
#define IDC_NEW_NAME 2201
#define IDC_UNAME_OKBUT 2202
#define IDC_UNAME_CANCELBUT 2203
// TAdduser
#define IDC_UNAME 2301
#define IDC_ADDUSER_PASS1 2302
#define IDC_ADDUSER_PASS2 2303
#define IDC_ADDUSER_OKBUT 2304
#define IDC_ADDUSER_CANCELBUT 2305
// Tmakepasschange
#define IDC_MAKEPASS_PASS1 2401
#define IDC_MAKEPASS_PASS2 2402
#define IDC_MAKEPASS_OKBUT 2403
#define IDC_MAKEPASS_CANCELBUT 2404
// Tabout
#define IDC_ABOUT_COPYRIGHT 2501
#define IDC_ABOUT_LABEL2 2502
#define IDC_ABOUT_TEXT 2503
#define IDC_ABOUT_OKBUT 2504

// Main menu.
#define IDM_QUIT1 3001
#define IDM_OPENHELP1 3002
#define IDM_README1 3003
#define IDM_MAILTHEAUTHOR1 3004
#define IDM_ABOUT1 3005
#define IDM_HOMEPAGE1 3006

// Icons and pictures.
#define IDI_MAIN 4001
#define IDB_PICTURES 4002
// The same pictures for 256-colour and 16-colour displays.
#define IDB_PICTURES_256 4003
#define IDB_PICTURES_16 4004
