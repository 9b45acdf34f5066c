// Resource numbers shared by the window definition and the resource script.
#pragma once

#define IDI_MENU 1
#define IDB_SKIN 101
#define IDB_BUTTON1 102
#define IDB_BUTTON2 103
#define IDB_BUTTON3 104
#define IDB_BUTTON4 105
