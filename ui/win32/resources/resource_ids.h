#pragma once

// Resources of vellumin.exe, shared by the resource script and the code.
#define IDI_VELLUMIN 1
#define IDB_DOOR 101
#define IDB_DOOR_DISABLED 102
