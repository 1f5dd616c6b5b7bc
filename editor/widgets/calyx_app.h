// The editor application: finds the installed game, takes its texts, makes
// the main window and carries the editor-wide state (the game's texts, the
// installation, the recent-file list, the icons).
//
// Start-up, in order (InitInstance):
//   1. nothing started, no menu relabelled, no icons;
//   2. (the toolkit's widgets need no containment or 3-D switch);
//   3. settings under organisation "Ornwick", application "Calyx" (QSettings);
//   4. the game's installation and its strings.dat (LoadGameStrings);
//   5. started;
//   6. (drag and drop needs no initialisation in Qt);
//   7. the recent-file list, 5 entries, from the settings;
//   8. the bank document type (editor/core/document_type.h);
//   9. the main frame — the one step that can fail start-up;
//  10. the main frame accepts dropped files; files named on the command line
//      are opened once it shows (the desktop's way of opening a bank);
//  11. the menus in the game's language;
//  12. the main frame shown.
#pragma once

#include <QApplication>
#include <QIcon>
#include <QStringList>
#include <functional>
#include <map>
#include <memory>

#include "audio/wave_device_owner.h"
#include "editor/core/game_strings.h"
#include "editor/core/installation.h"
#include "editor/core/interface_language.h"
#include "editor/core/message_box.h"

namespace calyx::editor {

class CMainFrame;
class DocumentManager;
class RecentFileList;

namespace app_icon {
inline constexpr int application = 128;
inline constexpr int document = 129;
inline constexpr int sound = 137;
}  // namespace app_icon

class CCalyxApp : public QApplication {
    Q_OBJECT
public:
    CCalyxApp(int& argc, char** argv);
    ~CCalyxApp() override;

    // The running editor application, or null (for instance in a test that
    // runs a plain QApplication).
    static CCalyxApp* instance();
    // The running application's game strings; an empty table (the built-in
    // texts) when no application runs.
    static const GameStrings& currentGameStrings();
    // The language of the running editor's built-in texts; French when no
    // main window runs.
    static InterfaceLanguage currentInterfaceLanguage();

    struct Options {
        // The files to open once the main window shows.
        QStringList files;
        // The wave-output device; the system's when not given.
        audio::WaveDeviceOwner::DeviceFactory makeWaveDevice;
        // Show the main window (off when it is only rendered to a file).
        bool show = true;
    };
    // The start-up steps; false when the main frame could not be made.
    bool InitInstance(const Options& options);

    // Opens a bank named by the user (command line, dropped file, recent
    // file). False when it was not opened.
    bool openDocumentFile(const QString& path);
    // Who opens banks instead of the document manager (tests).
    using DocumentOpener = std::function<bool(const QString& path)>;
    void setDocumentOpener(DocumentOpener opener) { documentOpener_ = std::move(opener); }

    // Every message box of the editor ends here (see message_box.h).
    MessageResult DoMessageBox(const QString& text, unsigned style, unsigned helpId);

    // Puts the game's texts on the main frame's menu (nothing when they are
    // not loaded); notes whether it was the document menu.
    void RelabelMenus();
    // True when the game's texts are loaded and the menu kind now shown
    // differs from the one relabelled last.
    bool MenuNeedsRelabel() const;

    const GameStrings& gameStrings() const { return gameStrings_; }
    bool AreGameStringsLoaded() const { return gameStrings_.AreGameStringsLoaded(); }
    const Installation& installation() const { return installation_; }
    InstallInfo GetInstallInfo() const { return calyx::editor::GetInstallInfo(installation_); }
    bool started() const { return m_bStarted; }

    // Keys 128, 129 and 137 keep an icon; other keys are ignored. Only 128
    // and 129 are handed out.
    void SetAppIcon(int key, const QIcon& icon);
    QIcon GetAppIcon(int key) const;

    RecentFileList& recentFiles() { return *recentFiles_; }
    CMainFrame* mainFrame() const { return mainFrame_.get(); }
    DocumentManager* documents() const { return documents_.get(); }

private:
    Installation installation_;
    GameStrings gameStrings_;
    bool m_bDocMenuRelabelled = false;
    bool m_bStarted = false;
    std::map<int, QIcon> icons_;
    std::unique_ptr<RecentFileList> recentFiles_;
    std::unique_ptr<CMainFrame> mainFrame_;
    std::unique_ptr<DocumentManager> documents_;
    DocumentOpener documentOpener_;
};

}  // namespace calyx::editor
