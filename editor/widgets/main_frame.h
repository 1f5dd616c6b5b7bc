// The editor's main window: the document windows in an MDI area, the menus
// (128 without a document, 129 with one), the accelerators, the toolbar, the
// status bar with its lock panes, the prompts and tooltips from the game's
// texts, and the wave-output device for the life of the program.
#pragma once

#include <QMainWindow>
#include <QStringList>
#include <map>
#include <memory>

#include "audio/wave_device_owner.h"
#include "editor/core/interface_language.h"
#include "editor/core/menu_tables.h"

class QLabel;
class QMdiArea;
class QMenu;
class QToolBar;

namespace calyx::editor {

class CommandRegistry;
class CPreviewPane;
class GameStrings;
class RecentFileList;

class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    // `strings` gives the prompts and tooltips when they are loaded (the
    // frame keeps the table it was made with); without `makeWaveDevice` the
    // system's device is opened.
    explicit CMainFrame(const GameStrings& strings, audio::WaveDeviceOwner::DeviceFactory makeWaveDevice = {});
    ~CMainFrame() override;

    // Builds the menus, toolbar and status bar and opens the wave-output
    // device (a missing device is reported and does not fail creation).
    // False when the frame could not be made.
    bool Create();

    CommandRegistry& commands() { return *commands_; }
    QMdiArea* mdiArea() const { return mdiArea_; }
    QToolBar* toolBar() const { return toolBar_; }
    audio::WaveDeviceOwner& waveDevice() { return waveDevice_; }

    // The main menu now shown (menu_id::noDocument or menu_id::document) and
    // its pop-ups, left to right.
    int shownMenu() const { return shownMenu_; }
    QList<QMenu*> menuPopups() const;
    // Shows menu 129 while a document window is open, else 128.
    void updateMenuForDocuments();
    // Puts the game's texts on the menu now shown (see menuRelabels()).
    // Answers whether it is the document menu.
    bool relabelMenus(const GameStrings& strings);

    // The status-bar prompt and the tooltip of a command (empty without the
    // game's texts).
    QString promptForCommand(int commandId) const;
    QString tooltipForCommand(int commandId) const;
    // What the message pane shows when idle.
    QLabel* idlePane() const { return idlePane_; }
    QLabel* lockPane(LockKey key) const;
    // Lights the lock panes as the keyboard reports (greys them when it
    // cannot tell).
    void updateLockPanes();

    // The recent-file items show these banks.
    void setRecentFiles(RecentFileList* list);

    // Docks the preview pane at the right, shown, and lets View > Preview
    // show and hide it.
    void setPreviewPane(CPreviewPane* pane);
    CPreviewPane* previewPane() const { return previewPane_; }
    // The language of the texts the game's strings do not hold.
    InterfaceLanguage interfaceLanguage() const { return language_; }

signals:
    // Files dropped from the file manager, or chosen from the recent files.
    void openRequested(const QStringList& paths);
    // The main menu changed kind (the application relabels it).
    void menuChanged();
    // The window became the active one (the user came back to the editor).
    void activated();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void createActions();
    void showMenu(int menuId);
    void forgetMenuItemsOfAccessibility();
    // Adds to `menu` the newer items that follow the item of `after`.
    void addNewerItems(QMenu& menu, int after);
    void fillRecentFiles(QMenu* menu, QAction* before);
    void fillWindowList(QMenu* menu);
    void createToolBar();
    void createStatusBar();
    void connectCommands();
    void arrangeIcons();
    void updateTitle();
    void refreshCommands();

    const GameStrings* localizedTexts_;
    std::unique_ptr<CommandRegistry> commands_;
    QMdiArea* mdiArea_;
    QToolBar* toolBar_ = nullptr;
    QLabel* idlePane_ = nullptr;
    std::map<LockKey, QLabel*> lockPanes_;
    int shownMenu_ = 0;
    RecentFileList* recentFiles_ = nullptr;
    InterfaceLanguage language_ = InterfaceLanguage::French;
    CPreviewPane* previewPane_ = nullptr;
    audio::WaveDeviceOwner waveDevice_;
};

}  // namespace calyx::editor
