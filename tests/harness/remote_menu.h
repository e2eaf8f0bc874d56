// The request the cross-process answerer hands the menu agent inside the program.
#pragma once
#include <windows.h>

namespace vt {
namespace detail {

struct MenuItemRecord {
    unsigned id;
    unsigned state;   // MFS_ flags
    int popup;        // opens a submenu
    char text[120];
};

// kChoose: one step of choosing the item named by text; kDescribe: the open popup menu's items.
enum MenuRequestMode { kChoose, kDescribe };

struct MenuRequest {
    int mode;
    int lastHighlight;
    char text[256];
    int count;   // kDescribe: the items found, -1 when no popup menu shows
    MenuItemRecord items[64];
};

const char kMenuAgentDll[] = "vt_menu_agent.dll";
const char kMenuAgentEntry[] = "VtMenuStep";

} // namespace detail
} // namespace vt
