// Resource ids of the framework layer (shared with .rc files: macros only).
#pragma once
#define AFX_IDS_APP_TITLE       0xE000
#define AFX_IDS_IDLEMESSAGE     0xE001
