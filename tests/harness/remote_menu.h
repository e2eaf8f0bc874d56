// The request the cross-process answerer hands the menu agent inside the program.
#pragma once
#include <windows.h>

namespace vt {
namespace detail {

struct MenuRequest {
    int lastHighlight;
    char text[256];
};

const char kMenuAgentDll[] = "vt_menu_agent.dll";
const char kMenuAgentEntry[] = "VtMenuStep";

} // namespace detail
} // namespace vt
