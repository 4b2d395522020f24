#pragma once

// Resource identifiers, shared by the resource script and the program.
#define IDI_PROGRAM 101
#define IDB_WIZARD 102
