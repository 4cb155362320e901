// Resource identifiers shared by the resource script and the editor.
#pragma once

#define IDB_SKIN 4096
#define IDB_KNOB_STRIP 4097
#define IDB_KNOB_MASK 4098
#define IDB_STATUS_LEARNING 4099
#define IDB_STATUS_FORGOT 4100
#define IDB_DIALOG_PICTURE 4101
#define IDB_Q_BUTTON1 4102
#define IDB_Q_BUTTON2 4103
#define IDB_Q_BUTTON3 4104
#define IDB_Q_BUTTON_ROW 4105

#define IDD_CONFIGURATION 1000
#define IDC_CLOSE 10004
#define IDC_HUE_SLIDER 10005
#define IDC_PICTURE 10019
