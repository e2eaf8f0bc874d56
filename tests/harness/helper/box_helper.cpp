// A small program that shows one box and ends with the id of the button that closed it:
//   box_helper msgbox|rich|form|sheet|file [values-file]
// The form, sheet and file dialog write what was filled in to the values file.
#include <windows.h>
#include <commctrl.h>
#include <cstring>
#include <fstream>
#include "tests/harness/helper/box_forms.h"

int main(int argc, char** argv)
{
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    if (argc < 2)
        return -1;
    std::string mode = argv[1], values;
    std::string out = argc > 2 ? argv[2] : "";
    int button = -1;
    if (mode == "msgbox")
        button = boxhelper::ShowMessageBox();
    else if (mode == "rich")
        button = boxhelper::ShowRichBox();
    else if (mode == "form")
        button = boxhelper::ShowForm(&values);
    else if (mode == "sheet")
        button = boxhelper::ShowSheet(&values);
    else if (mode == "file")
        button = boxhelper::ShowFileDialog(out.substr(0, out.rfind('\\')), &values);
    if (!out.empty())
        std::ofstream(out, std::ios::binary) << values;
    return button;
}
