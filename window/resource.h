// Resource numbers shared by the window definition and the resource script.
#pragma once

#define IDI_MENU 1
#define IDB_SKIN 101
#define IDB_BUTTON1 102
#define IDB_BUTTON2 103
#define IDB_BUTTON3 104
#define IDB_BUTTON4 105

// The string table: the names screen readers give the window and its buttons, what each button
// does, and the name of a button's action.
#define IDS_PRODUCT 200
#define IDS_NAME_BUTTON1 201
#define IDS_NAME_BUTTON2 202
#define IDS_NAME_BUTTON3 203
#define IDS_NAME_BUTTON4 204
#define IDS_NAME_CLOSE 205
#define IDS_ABOUT_BUTTON1 211
#define IDS_ABOUT_BUTTON2 212
#define IDS_ABOUT_BUTTON3 213
#define IDS_ABOUT_BUTTON4 214
#define IDS_ABOUT_CLOSE 215
#define IDS_ACTION_PRESS 220
#define IDS_STATE_INSTALLED 230
#define IDS_STATE_UNAVAILABLE 231
