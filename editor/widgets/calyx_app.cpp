#include "editor/widgets/calyx_app.h"

#include <QTimer>

#include "calyx_version.h"
#include "editor/core/document_type.h"
#include "editor/core/startup.h"
#include "editor/widgets/document_manager.h"
#include "editor/widgets/main_frame.h"
#include "editor/widgets/message_box.h"
#include "editor/widgets/preview_feed.h"
#include "editor/widgets/preview_pane.h"
#include "editor/widgets/recent_file_list.h"

namespace calyx::editor {

CCalyxApp::CCalyxApp(int& argc, char** argv) : QApplication(argc, argv) {
    // No display name: the desktop would add it to every window's title,
    // after the main window's own "Calyx - <bank>".
    setApplicationVersion(QStringLiteral(CALYX_VERSION));
    setDesktopFileName(QStringLiteral("org.ornwick.Calyx"));
}

CCalyxApp::~CCalyxApp() {
    // The documents and the frame go before the application's state that
    // they point into.
    documents_.reset();
    mainFrame_.reset();
}

CCalyxApp* CCalyxApp::instance() { return qobject_cast<CCalyxApp*>(QCoreApplication::instance()); }

InterfaceLanguage CCalyxApp::currentInterfaceLanguage() {
    const CCalyxApp* app = instance();
    return app && app->mainFrame() ? app->mainFrame()->interfaceLanguage() : InterfaceLanguage::French;
}

const GameStrings& CCalyxApp::currentGameStrings() {
    static const GameStrings builtIn;
    const CCalyxApp* app = instance();
    return app ? app->gameStrings() : builtIn;
}

bool CCalyxApp::InitInstance(const Options& options) {
    m_bStarted = false;
    m_bDocMenuRelabelled = false;
    icons_.clear();

    setOrganizationName(QStringLiteral("Ornwick"));
    setApplicationName(QStringLiteral("Calyx"));

    LoadGameStrings(gameStrings_, installation_);
    m_bStarted = true;

    recentFiles_ = std::make_unique<RecentFileList>(document_type::recentFileCount);
    recentFiles_->load();

    // The documents of an earlier start go with the frame they live in.
    documents_.reset();
    mainFrame_ = std::make_unique<CMainFrame>(gameStrings_, options.makeWaveDevice);
    if (!mainFrame_->Create()) {
        mainFrame_.reset();
        return false;
    }
    mainFrame_->setRecentFiles(recentFiles_.get());
    documents_ = std::make_unique<DocumentManager>(*mainFrame_, gameStrings_, this);
    auto* preview = new CPreviewPane(documents_->links(), gameStrings_, mainFrame_->interfaceLanguage(), mainFrame_.get());
    mainFrame_->setPreviewPane(preview);
    new PreviewFeed(*mainFrame_, *preview, mainFrame_.get());
    connect(mainFrame_.get(), &CMainFrame::openRequested, this, [this](const QStringList& paths) {
        for (const QString& path : paths) openDocumentFile(path);
    });
    connect(mainFrame_.get(), &CMainFrame::menuChanged, this, [this] {
        if (MenuNeedsRelabel()) RelabelMenus();
    });

    RelabelMenus();

    if (options.show) mainFrame_->show();
    for (const QString& path : options.files) openDocumentFile(path);
    return true;
}

bool CCalyxApp::openDocumentFile(const QString& path) {
    if (documentOpener_) return documentOpener_(path);
    return documents_ && documents_->openDocumentFile(path);
}

MessageResult CCalyxApp::DoMessageBox(const QString& text, unsigned style, unsigned /*helpId*/) {
    QWidget* parent = activeWindow() ? activeWindow() : mainFrame_.get();
    return showMessageBox(parent, text, style, gameStrings_);
}

void CCalyxApp::RelabelMenus() {
    if (!gameStrings_.AreGameStringsLoaded() || !mainFrame_) return;
    m_bDocMenuRelabelled = mainFrame_->relabelMenus(gameStrings_);
}

bool CCalyxApp::MenuNeedsRelabel() const {
    if (!gameStrings_.AreGameStringsLoaded() || !mainFrame_) return false;
    const bool documentMenu = mainFrame_->menuPopups().size() >= documentMenuPopupCount;
    return documentMenu != m_bDocMenuRelabelled;
}

void CCalyxApp::SetAppIcon(int key, const QIcon& icon) {
    if (key == app_icon::application || key == app_icon::document || key == app_icon::sound) icons_[key] = icon;
}

QIcon CCalyxApp::GetAppIcon(int key) const {
    if (key != app_icon::application && key != app_icon::document) return {};
    const auto found = icons_.find(key);
    return found == icons_.end() ? QIcon{} : found->second;
}

}  // namespace calyx::editor
