// Resources of the emulator broker stand-in.
#pragma once
#define IDI_ACTION_RESET 101
#define IDI_ACTION_LED 102
#define IDD_BREAKPOINTS 201
#define IDC_FIRST_BREAKPOINT 1000
