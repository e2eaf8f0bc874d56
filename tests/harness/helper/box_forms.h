// The boxes the answerers' tests answer, shown by the helper program (across processes) and by
// the in-process tests alike. Each returns the id of the button that ended it; the filled-in
// values come back as "name=value" lines.
#pragma once
#include <windows.h>
#include <string>

namespace boxhelper {

int ShowMessageBox();
int ShowRichBox();
int ShowForm(std::string* values);
int ShowSheet(std::string* values);
int ShowFileDialog(const std::string& folder, std::string* values);

} // namespace boxhelper
