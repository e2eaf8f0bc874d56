// Resource ids of the project-manager stand-in.
#pragma once
#define IDD_PM_DEVICE_PAGE 101
#define IDD_PM_WIZARD 102
#define IDD_PM_MEMORY_PAGE 103
#define IDC_PM_CLOCK 1001
#define IDC_PM_PROMPT 1002
#define IDC_PM_VALUE 1003
