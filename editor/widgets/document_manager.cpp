#include "editor/widgets/window_layout.h"
#include "editor/widgets/document_manager.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMdiArea>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include "editor/core/commands.h"
#include "editor/core/document_type.h"
#include "editor/core/folder_importer.h"
#include "editor/core/message_box.h"
#include "editor/core/newer_menu_items.h"
#include "editor/core/newer_texts.h"
#include "editor/widgets/calyx_app.h"
#include "editor/widgets/calyx_doc.h"
#include "editor/widgets/calyx_view.h"
#include "editor/widgets/child_frame.h"
#include "editor/widgets/command_registry.h"
#include "editor/widgets/export_all_samples.h"
#include "editor/widgets/main_frame.h"
#include "editor/widgets/message_box.h"
#include "editor/widgets/qt_text.h"
#include "editor/widgets/recent_file_list.h"
#include "editor/widgets/resource_list_ctrl.h"
#include "editor/widgets/resource_edit_dlg.h"
#include "platform/file.h"

namespace calyx::editor {

DocumentManager::DocumentManager(CMainFrame& frame, const GameStrings& strings, CCalyxApp* app, QObject* parent)
    : QObject(parent), frame_(frame), strings_(strings), app_(app), printer_(std::make_unique<QPrinter>()) {
    frame_.installEventFilter(this);
    connectCommands();
    connect(&frame_, &CMainFrame::activated, this, &DocumentManager::checkDisk);
}

DocumentManager::~DocumentManager() {
    frame_.removeEventFilter(this);
    // The windows hold documents whose links live in this manager's table.
    for (CChildFrame* child : documents()) delete child;
}

QList<CChildFrame*> DocumentManager::documents() const {
    QList<CChildFrame*> list;
    for (QMdiSubWindow* window : frame_.mdiArea()->subWindowList())
        if (auto* child = qobject_cast<CChildFrame*>(window)) list.append(child);
    return list;
}

CChildFrame* DocumentManager::activeDocument() const {
    return qobject_cast<CChildFrame*>(frame_.mdiArea()->activeSubWindow());
}

CChildFrame* DocumentManager::findOpen(const QString& path) const {
    const std::string wanted = QFile::encodeName(path).toStdString();
    for (CChildFrame* child : documents()) {
        const std::string open = child->document().document().pathName();
        if (!open.empty() && platform::sameFile(open, wanted)) return child;
    }
    return nullptr;
}

std::unique_ptr<CCalyxDoc> DocumentManager::makeDocument() {
    auto document = std::make_unique<CCalyxDoc>(links_, strings_);
    document->setInterfaceLanguage(frame_.interfaceLanguage());
    return document;
}

CChildFrame* DocumentManager::addFrame(std::unique_ptr<CCalyxDoc> document) {
    audio::WaveDeviceLink link = frame_.waveDevice().makeLink();
    auto* child = new CChildFrame(std::move(document), [this, link](CCalyxDoc& doc) {
        return new CCalyxView(doc, strings_, link);
    });
    child->setSaveHandler([this, child] { return save(*child); });
    child->document().document().addListener([this](const DocumentChange&) { updateCommandsLater(); });
    connect(&child->view().list(), &CResourceListCtrl::filesDroppedBesideRows, &frame_, &CMainFrame::openRequested);
    connect(&child->view(), &CCalyxView::editRequested, this,
            [this, child](std::size_t resourceIndex) { edit(*child, resourceIndex); });
    frame_.mdiArea()->addSubWindow(child);
    child->show();
    placeNewWindow(*frame_.mdiArea(), *child);
    child->view().setFocus();
    frame_.updateMenuForDocuments();
    return child;
}

CChildFrame* DocumentManager::newDocument() {
    auto document = makeDocument();
    document->setTitle(fromBuiltIn(document_type::name) + QString::number(++untitledCount_));
    return addFrame(std::move(document));
}

bool DocumentManager::openDocumentFile(const QString& path) {
    if (CChildFrame* open = findOpen(path)) {
        frame_.mdiArea()->setActiveSubWindow(open);
        return true;
    }
    auto document = makeDocument();
    const InstallInfo install = app_ ? app_->GetInstallInfo() : InstallInfo{};
    if (!document->openDocument(path, install)) {
        // A bank that has gone leaves the recent-file list.
        if (app_ && !QFileInfo::exists(path)) app_->recentFiles().remove(path);
        return false;
    }
    if (app_) app_->recentFiles().add(document->pathName());
    addFrame(std::move(document));
    return true;
}

QString DocumentManager::chooseFile(bool forSaving, const QString& suggestion) const {
    if (chooser_) return chooser_(forSaving, suggestion);
    QFileDialog dialog(&frame_);
    dialog.setNameFilter(fromBuiltIn(document_type::filter));
    dialog.setDefaultSuffix(fromBuiltIn(document_type::extension).mid(1));
    dialog.setDirectory(suggestion.isEmpty() ? QDir::currentPath() : QFileInfo(suggestion).absolutePath());
    if (forSaving) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        if (!suggestion.isEmpty()) dialog.selectFile(QFileInfo(suggestion).fileName());
    } else {
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().front();
}

bool DocumentManager::save(CChildFrame& frame) {
    CCalyxDoc& document = frame.document();
    if (document.pathName().isEmpty()) return saveAs(frame);
    return document.saveDocument(document.pathName());
}

bool DocumentManager::saveAs(CChildFrame& frame) {
    CCalyxDoc& document = frame.document();
    // A new bank is refused at once, before a name is asked for.
    if (!document.document().canBeSaved()) return document.saveDocument(document.pathName());
    const QString chosen = chooseFile(true, document.pathName());
    if (chosen.isEmpty()) return false;
    const auto target = bankSavePath(QFile::encodeName(chosen).toStdString());
    if (!target) {
        const DocumentReport refused{DocumentProblem::SaveNameRefused, QFile::encodeName(chosen).toStdString()};
        messageBox(refused.boxText(strings_, frame_.interfaceLanguage()), message_style::exclamation);
        return false;
    }
    const QString path = QFile::decodeName(target->c_str());
    if (!document.saveDocument(path)) return false;
    if (app_) app_->recentFiles().add(document.pathName());
    return true;
}

QString DocumentManager::chooseFolder(CChildFrame& frame, const FolderChooser& chooser, const TwoLanguageText& title) {
    if (chooser) return chooser();
    const QString suggestion = QFileInfo(frame.document().pathName()).absolutePath();
    return QFileDialog::getExistingDirectory(&frame_, fromBuiltIn(title.in(frame_.interfaceLanguage())), suggestion);
}

void DocumentManager::exportAll(CChildFrame& frame) {
    const QString folder = chooseFolder(frame, folderChooser_, newer_text::exportAllFolderTitle);
    if (folder.isEmpty()) return;
    exportAllSamplesOf(frame.document(), folder, strings_, frame_.interfaceLanguage(), &frame_);
}

void DocumentManager::importFolder(CChildFrame& frame) {
    const QString folder = chooseFolder(frame, importFolderChooser_, newer_text::importFolderTitle);
    if (folder.isEmpty()) return;
    const InterfaceLanguage language = frame_.interfaceLanguage();
    const auto askToConvert = [language](std::size_t count) {
        const QString question =
            fromBuiltIn(newer_text::convertFolderQuestion.in(language)).replace(QStringLiteral("%1"), QString::number(count));
        return messageBox(question, message_style::yesNo) == MessageResult::Yes;
    };
    const FolderImportReport report = calyx::editor::importFolder(
        frame.document().document(), QFile::encodeName(folder).toStdString(), strings_, language, askToConvert);
    const bool allTaken = report.folderRead && report.refused.empty();
    messageBox(fromBuiltIn(folderImportMessage(report, folder.toStdString(), language)),
               allTaken ? message_style::information : message_style::exclamation);
}

void DocumentManager::edit(CChildFrame& frame, std::size_t resourceIndex) {
    CCalyxDoc& document = frame.document();
    bank::SoundResource* resource = document.bank().resourceAt(resourceIndex);
    // The edit dialog, for the resources that have one.
    if (resource)
        editResource(&frame.view(), *resource, document.bank(), links_, strings_, document.conversionOffer());
}

void DocumentManager::checkDisk() {
    // The questions' own windows activate the frame again when they close.
    if (checkingDisk_) return;
    checkingDisk_ = true;
    for (CChildFrame* child : documents()) {
        BankDocument& document = child->document().document();
        if (!document.offersReload()) continue;
        // Asked once per change: No keeps the version on screen.
        document.acceptDiskVersion();
        const QString path = child->document().pathName();
        const QString question = fromBuiltIn(newer_text::changedOnDiskReload.in(frame_.interfaceLanguage()))
                                     .replace(QStringLiteral("%1"), child->document().title());
        if (messageBox(question, message_style::yesNo | message_style::exclamation) != MessageResult::Yes) continue;
        if (!child->close()) continue;
        delete child;
        openDocumentFile(path);
    }
    checkingDisk_ = false;
}

bool DocumentManager::closeAll() {
    for (CChildFrame* child : documents()) {
        frame_.mdiArea()->setActiveSubWindow(child);
        if (!child->close()) return false;
    }
    return true;
}

void DocumentManager::print(CChildFrame& frame, bool askForPrinter) {
    printer_->setFromTo(0, 0);
    if (askForPrinter) {
        QPrintDialog dialog(printer_.get(), &frame_);
        dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
        if (dialog.exec() != QDialog::Accepted) return;
    }
    printer_->setDocName(frame.document().title());
    frame.view().printListing(*printer_);
}

void DocumentManager::preview(CChildFrame& frame) {
    printer_->setFromTo(0, 0);
    QPrintPreviewDialog dialog(printer_.get(), &frame_);
    dialog.setObjectName(QStringLiteral("printPreview"));
    connect(&dialog, &QPrintPreviewDialog::paintRequested, &frame,
            [&frame](QPrinter* printer) { frame.view().printListing(*printer); });
    dialog.exec();
}

void DocumentManager::pageSetup() {
    QPageSetupDialog dialog(printer_.get(), &frame_);
    dialog.exec();
}

void DocumentManager::connectCommands() {
    using namespace command;
    CommandRegistry& c = frame_.commands();
    const auto hasDocument = [this] { return activeDocument() != nullptr; };
    const auto onActive = [this](auto action) {
        return [this, action] {
            if (CChildFrame* child = activeDocument()) action(*child);
        };
    };
    c.setHandler(fileNew, [this] { newDocument(); });
    c.setHandler(fileOpen, [this] {
        const QString path = chooseFile(false, {});
        if (!path.isEmpty()) openDocumentFile(path);
    });
    c.setHandler(fileClose, onActive([](CChildFrame& child) { child.close(); }));
    c.setHandler(fileSave, onActive([this](CChildFrame& child) { save(child); }));
    c.setHandler(fileSaveAs, onActive([this](CChildFrame& child) { saveAs(child); }));
    c.setHandler(filePrint, onActive([this](CChildFrame& child) { print(child, true); }));
    c.setHandler(filePrintDirect, onActive([this](CChildFrame& child) { print(child, false); }));
    c.setHandler(filePrintPreview, onActive([this](CChildFrame& child) { preview(child); }));
    c.setHandler(filePrintSetup, [this] { pageSetup(); });
    c.setHandler(fileExportAllSamples, onActive([this](CChildFrame& child) { exportAll(child); }));
    c.setHandler(fileImportFolder, onActive([this](CChildFrame& child) { importFolder(child); }));
    for (const int id : {fileClose, filePrint, filePrintDirect, filePrintPreview, fileExportAllSamples, fileImportFolder})
        c.setEnabledWhen(id, hasDocument);
    // A new bank cannot be saved: Save and Save As are greyed for it rather
    // than asking for a name first and refusing after.
    const auto canSave = [this] {
        CChildFrame* child = activeDocument();
        return child && child->document().document().canBeSaved();
    };
    for (const int id : {fileSave, fileSaveAs}) c.setEnabledWhen(id, canSave);

    // Edit > Undo and Redo name the step they take back or again.
    const auto history = [this]() -> UndoHistory* {
        CChildFrame* child = activeDocument();
        return child ? &child->document().document().history() : nullptr;
    };
    c.setHandler(editUndo, onActive([](CChildFrame& child) { child.document().document().undo(); }));
    c.setHandler(editRedo, onActive([](CChildFrame& child) { child.document().document().redo(); }));
    c.setEnabledWhen(editUndo, [history] { return history() && history()->canUndo(); });
    c.setEnabledWhen(editRedo, [history] { return history() && history()->canRedo(); });
    c.setTextWhen(editUndo, [this, history] {
        const auto step = history() ? history()->undoName() : std::nullopt;
        return step ? fromBuiltIn(undoItemText(*step, frame_.interfaceLanguage())) : QString();
    });
    c.setTextWhen(editRedo, [this, history] {
        const auto step = history() ? history()->redoName() : std::nullopt;
        return step ? fromBuiltIn(redoItemText(*step, frame_.interfaceLanguage())) : QString();
    });
    c.updateActions();
}

void DocumentManager::updateCommandsLater() {
    if (commandUpdateQueued_) return;
    commandUpdateQueued_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            commandUpdateQueued_ = false;
            frame_.commands().updateActions();
        },
        Qt::QueuedConnection);
}

bool DocumentManager::eventFilter(QObject* watched, QEvent* event) {
    // Quitting asks for every modified document first.
    if (watched == &frame_ && event->type() == QEvent::Close && !closeAll()) {
        event->ignore();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace calyx::editor
