// The editor's manual: HTML pages shipped with the program, opened in the
// user's browser.
#pragma once

#include <QUrl>
#include <functional>

namespace calyx::editor {

// The manual's first page: beside the installed program
// (<prefix>/share/doc/calyx/html/index.html), else in the source tree's docs/.
QUrl helpUrl();
// Opens the manual; false when the browser could not be started.
bool openHelp();
// Opens the manual, or tells the user that it could not be opened and
// where it lies, in the editor's language.
void showHelp();

// Who opens the manual (the desktop by default); tests look at the address.
using HelpOpener = std::function<bool(const QUrl&)>;
HelpOpener setHelpOpener(HelpOpener opener);

}  // namespace calyx::editor
