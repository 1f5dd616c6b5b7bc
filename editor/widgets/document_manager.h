// The editor's documents: File > New, Open, Save, Save As, Close, the
// recent-file list, printing, export and import of every sample, Edit >
// Undo and Redo, and asking for every modified document before
// the program quits. One bank is open in one window: opening it again
// brings its window forward.
#pragma once

#include <QObject>
#include <QString>
#include <cstddef>
#include <functional>
#include <memory>

#include "editor/core/interface_language.h"
#include "editor/core/link_table.h"

class QMdiArea;
class QPrinter;

namespace calyx::editor {

class CCalyxApp;
class CChildFrame;
class CMainFrame;
class CCalyxDoc;
class GameStrings;
class RecentFileList;

class DocumentManager : public QObject {
    Q_OBJECT
public:
    // Serves `frame`'s file commands; `app` (may be null in tests) gives the
    // the installation and the recent files.
    DocumentManager(CMainFrame& frame, const GameStrings& strings, CCalyxApp* app, QObject* parent = nullptr);
    ~DocumentManager() override;

    // Opens a bank (or activates its window); false when it did not open.
    bool openDocumentFile(const QString& path);
    CChildFrame* newDocument();
    // File > Save and File > Save As on a document.
    bool save(CChildFrame& frame);
    bool saveAs(CChildFrame& frame);
    // Asks for every modified document; false when the user cancelled.
    bool closeAll();
    // Offers to reload each unmodified document whose bank another program
    // changed on disk (when the user comes back to the editor).
    void checkDisk();
    void print(CChildFrame& frame, bool askForPrinter);
    void preview(CChildFrame& frame);
    void pageSetup();

    CChildFrame* activeDocument() const;
    QList<CChildFrame*> documents() const;
    LinkTable& links() { return links_; }
    QPrinter& printer() { return *printer_; }

    // Where File > Open starts and the file dialogs' answer (tests give names).
    using FileChooser = std::function<QString(bool forSaving, const QString& suggestion)>;
    void setFileChooser(FileChooser chooser) { chooser_ = std::move(chooser); }
    // The folder File > Export all samples... writes into (empty: cancelled).
    using FolderChooser = std::function<QString()>;
    void setFolderChooser(FolderChooser chooser) { folderChooser_ = std::move(chooser); }
    // File > Export all samples... on a document.
    void exportAll(CChildFrame& frame);
    // The folder File > Import folder... reads (empty: cancelled).
    void setImportFolderChooser(FolderChooser chooser) { importFolderChooser_ = std::move(chooser); }
    // File > Import folder... on a document: the folder's files back into
    // its bank, one undo step, and a summary.
    void importFolder(CChildFrame& frame);
    // A double-click on a resource's name: its edit dialog.
    void edit(CChildFrame& frame, std::size_t resourceIndex);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // A document speaking the main window's language.
    std::unique_ptr<CCalyxDoc> makeDocument();
    CChildFrame* addFrame(std::unique_ptr<CCalyxDoc> document);
    CChildFrame* findOpen(const QString& path) const;
    QString chooseFile(bool forSaving, const QString& suggestion) const;
    // The folder `chooser` gives, else the one the user picks in a folder
    // dialog titled `title`, starting beside the document's bank.
    QString chooseFolder(CChildFrame& frame, const FolderChooser& chooser, const TwoLanguageText& title);
    void connectCommands();
    // The commands' states follow a document's change once it is whole (a
    // dialog's OK changes a resource several times).
    void updateCommandsLater();

    CMainFrame& frame_;
    const GameStrings& strings_;
    CCalyxApp* app_;
    LinkTable links_;
    std::unique_ptr<QPrinter> printer_;
    FileChooser chooser_;
    FolderChooser folderChooser_;
    FolderChooser importFolderChooser_;
    int untitledCount_ = 0;
    bool checkingDisk_ = false;
    bool commandUpdateQueued_ = false;
};

}  // namespace calyx::editor
