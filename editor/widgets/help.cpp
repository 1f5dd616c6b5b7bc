#include "editor/widgets/help.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>

#include "editor/core/newer_texts.h"
#include "editor/widgets/calyx_app.h"
#include "editor/widgets/main_frame.h"
#include "editor/widgets/message_box.h"
#include "editor/widgets/qt_text.h"

namespace calyx::editor {

namespace {

HelpOpener opener;

constexpr const char* firstPage = "index.html";

}  // namespace

QUrl helpUrl() {
    const QDir programDir(QCoreApplication::applicationDirPath());
    const QString installed = programDir.filePath(QStringLiteral("../share/doc/calyx/html/") + firstPage);
    if (QFileInfo::exists(installed)) return QUrl::fromLocalFile(QFileInfo(installed).canonicalFilePath());
    return QUrl::fromLocalFile(QDir(QStringLiteral(CALYX_SOURCE_DOCS_DIR)).filePath(firstPage));
}

bool openHelp() {
    const QUrl url = helpUrl();
    return opener ? opener(url) : QDesktopServices::openUrl(url);
}

void showHelp() {
    if (openHelp()) return;
    const InterfaceLanguage language = CCalyxApp::currentInterfaceLanguage();
    const QString where = QDir::toNativeSeparators(helpUrl().toLocalFile());
    messageBox(fromBuiltIn(newer_text::manualNotOpened.in(language)).arg(where), message_style::exclamation);
}

HelpOpener setHelpOpener(HelpOpener newOpener) {
    HelpOpener old = std::move(opener);
    opener = std::move(newOpener);
    return old;
}

}  // namespace calyx::editor
