#include "editor/widgets/calyx_doc.h"

#include <QApplication>
#include <QFile>
#include <QStandardPaths>

#include "editor/core/message_box.h"
#include "editor/core/newer_texts.h"
#include "editor/widgets/message_box.h"
#include "editor/widgets/progress_window.h"
#include "editor/widgets/qt_text.h"

namespace calyx::editor {

CCalyxDoc::CCalyxDoc(LinkTable& links, const GameStrings& strings, QObject* parent)
    : QObject(parent), strings_(strings), document_(links) {
    // Converted copies go into the user's cache folder, each in a private
    // folder of its own.
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    if (!cache.isEmpty()) document_.convertedCopies().setBaseFolder(QFile::encodeName(cache).toStdString());
    document_.addListener([this](const DocumentChange& change) {
        if (change.kind == DocumentChange::Kind::Modified) emit modifiedChanged(change.modified);
    });
}

ConversionOffer CCalyxDoc::conversionOffer() {
    return makeConversionOffer(
        document_.convertedCopies(), language_,
        [](const UiText& question) { return messageBox(question, message_style::yesNo | message_style::exclamation) == MessageResult::Yes; },
        [](const UiText& message) { messageBox(message, message_style::exclamation); });
}

void CCalyxDoc::show(const DocumentReport& report) const {
    messageBox(report.boxText(strings_, language_), message_style::exclamation);
}

bool CCalyxDoc::openDocument(const QString& path, const InstallInfo& install) {
    const auto result = document_.open(QFile::encodeName(path).toStdString(), install);
    if (result.report) show(*result.report);
    if (result.dataWarning) show(*result.dataWarning);
    if (result.opened) emit titleChanged();
    return result.opened;
}

bool CCalyxDoc::askToOverwriteChange() const {
    const QString question = fromBuiltIn(newer_text::changedOnDiskSave.in(language_))
                                 .replace(QStringLiteral("%1"), title());
    return messageBox(question, message_style::yesNo | message_style::exclamation) == MessageResult::Yes;
}

bool CCalyxDoc::saveDocument(const QString& path) {
    const std::string target = QFile::encodeName(path).toStdString();
    // Another program changed the file since it was read: overwrite it
    // only when the user says so; No leaves everything as it is.
    if (document_.asksBeforeSaving(target) && !askToOverwriteChange()) return false;
    BankDocument::SaveResult result;
    {
        // A save longer than half a second shows how far it has come.
        ProgressWindow progress(QApplication::activeWindow(),
                                fromBuiltIn(newer_text::savingProgress.in(language_)).replace(QStringLiteral("%1"), title()));
        result = document_.save(target, [&progress](std::uint64_t done, std::uint64_t total) {
            progress.step(done, total);
        });
    }
    if (result.report) show(*result.report);
    if (result.saved) emit titleChanged();
    return result.saved;
}

bool CCalyxDoc::askToSave(const std::function<bool()>& saveNow) {
    return document_.askToSave(
        strings_,
        [](const UiText& question) {
            switch (messageBox(question, message_style::yesNoCancel)) {
            case MessageResult::Yes: return CloseAnswer::Yes;
            case MessageResult::No: return CloseAnswer::No;
            default: return CloseAnswer::Cancel;
            }
        },
        saveNow);
}

QString CCalyxDoc::pathName() const { return QFile::decodeName(document_.pathName().c_str()); }

QString CCalyxDoc::title() const {
    const std::string name = document_.displayName();
    return QFile::decodeName(name.c_str());
}

void CCalyxDoc::setTitle(const QString& title) {
    document_.setTitle(title.toStdString());
    emit titleChanged();
}

}  // namespace calyx::editor
