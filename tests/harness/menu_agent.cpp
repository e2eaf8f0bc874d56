// Loaded into a program under test by the cross-process answerer: its menus can be read only
// from inside the program. Each call is one step of choosing a popup menu item.
#include <windows.h>
#include "tests/harness/menu_step.h"
#include "tests/harness/remote_menu.h"

extern "C" __declspec(dllexport) DWORD WINAPI VtMenuStep(LPVOID param)
{
    auto* request = static_cast<vt::detail::MenuRequest*>(param);
    request->text[sizeof request->text - 1] = '\0';
    if (request->mode == vt::detail::kDescribe) {
        request->count = vt::detail::DescribeMenu(request->items, 64);
        return 1;
    }
    return static_cast<DWORD>(vt::detail::MenuStep(request->text, &request->lastHighlight) + 1);
}
