#include "editor/widgets/main_frame.h"

#include <QAccessible>
#include <QAction>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHelpEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>
#include <QWhatsThis>
#include <algorithm>
#include <set>

#include "editor/core/accessible_names.h"
#include "editor/core/command_texts.h"
#include "editor/core/commands.h"
#include "editor/core/game_strings.h"
#include "editor/core/message_box.h"
#include "editor/core/messages.h"
#include "editor/core/newer_menu_items.h"
#include "editor/widgets/about_dlg.h"
#include "editor/widgets/calyx_app.h"
#include "editor/widgets/command_registry.h"
#include "editor/widgets/command_text.h"
#include "editor/widgets/dropped_files.h"
#include "editor/widgets/help.h"
#include "editor/widgets/icons.h"
#include "editor/widgets/keyboard_locks.h"
#include "editor/widgets/message_box.h"
#include "editor/widgets/preview_pane.h"
#include "editor/widgets/qt_text.h"
#include "editor/widgets/recent_file_list.h"
#include "editor/widgets/resource_drag_data.h"
#include "editor/widgets/window_layout.h"
#include "editor/widgets/window_settings.h"

namespace calyx::editor {

namespace {

const QString programTitle = QStringLiteral("Calyx");
// Marks the Window menu's items that name document windows.
constexpr const char* windowListProperty = "calyxWindowListItem";

bool isRecentFileCommand(int id) { return id >= command::recentFileFirst && id <= command::recentFileLast; }

// Every command the menus, accelerators and toolbar name, once.
std::set<int> commandsOfTheFrame() {
    std::set<int> ids;
    for (const int menu : {menu_id::noDocument, menu_id::document}) {
        for (const MenuPopup& popup : menuPopups(menu)) {
            for (const MenuItem& item : popup.items) {
                if (!item.isSeparator()) ids.insert(item.command);
            }
        }
    }
    for (const Accelerator& accelerator : accelerators()) ids.insert(accelerator.command);
    for (const Accelerator& accelerator : newerAccelerators()) ids.insert(accelerator.command);
    for (const int id : toolbarCommands()) {
        if (id != 0) ids.insert(id);
    }
    for (int id = command::recentFileFirst; id <= command::recentFileLast; ++id) ids.insert(id);
    for (const NewerMenuItem& item : newerMenuItems()) ids.insert(item.command);
    return ids;
}

}  // namespace

namespace {

// The preview pane's first width, in average characters of its font.
constexpr int previewPaneCharacters = 30;

}  // namespace

CMainFrame::CMainFrame(const GameStrings& strings, audio::WaveDeviceOwner::DeviceFactory makeWaveDevice)
    : localizedTexts_(strings.AreGameStringsLoaded() ? &strings : nullptr),
      commands_(std::make_unique<CommandRegistry>()),
      mdiArea_(new QMdiArea(this)),
      language_(CCalyxApp::instance() ? calyx::editor::interfaceLanguage(CCalyxApp::instance()->installation(),
                                                                          strings.AreGameStringsLoaded())
                                       : InterfaceLanguage::French),
      waveDevice_(
          [&strings](int stringId, const char* frenchText) {
              if (auto text = resolveMessage(stringId, frenchText, strings)) {
                  messageBox(*text, message_style::exclamation);
              }
          },
          std::move(makeWaveDevice)) {}

CMainFrame::~CMainFrame() {
    // The pane hides as the window goes, after the commands are gone.
    if (previewPane_) disconnect(previewPane_, nullptr, this, nullptr);
}

bool CMainFrame::Create() {
    setObjectName(QStringLiteral("mainFrame"));
    setWindowTitle(programTitle);
    setAccessibleName(programTitle);
    setCentralWidget(mdiArea_);
    mdiArea_->setObjectName(QStringLiteral("documents"));
    mdiArea_->setAccessibleName(fromBuiltIn(accessible_name::documents.in(language_)));
    connect(mdiArea_, &QMdiArea::subWindowActivated, this, [this] {
        updateMenuForDocuments();
        updateTitle();
        refreshCommands();
    });

    // The program's icons, kept by the application under their numbers.
    const QIcon programIcon128 = programIcon(app_icon::application);
    if (CCalyxApp* app = CCalyxApp::instance()) {
        for (const int key : {app_icon::application, app_icon::document, app_icon::sound}) {
            app->SetAppIcon(key, programIcon(key));
        }
    }
    setWindowIcon(programIcon128);

    createActions();
    createToolBar();
    createStatusBar();
    if (!toolBar_ || !statusBar()) return false;
    setDockOptions(dockOptions() | QMainWindow::AllowNestedDocks);
    setAcceptDrops(true);
    connectCommands();
    showMenu(menu_id::noDocument);
    qApp->installEventFilter(this);
    updateLockPanes();

    waveDevice_.openWaveDevice();
    return true;
}

void CMainFrame::createActions() {
    std::map<int, QList<QKeySequence>> keys;
    for (const auto& table : {accelerators(), newerAccelerators()}) {
        for (const Accelerator& accelerator : table)
            keys[accelerator.command].append(QKeySequence(fromBuiltIn(accelerator.keys), QKeySequence::PortableText));
    }
    // Every command carries its French name from the start, also those the
    // menu now shown lacks (the toolbar's save, cut, copy, paste, print).
    for (const int menu : {menu_id::noDocument, menu_id::document}) {
        for (const MenuPopup& popup : calyx::editor::menuPopups(menu)) {
            for (const MenuItem& item : popup.items) {
                if (!item.isSeparator()) setCommandText(*commands_->action(item.command), fromBuiltIn(item.text));
            }
        }
    }
    setCommandText(*commands_->action(command::contextHelp), fromBuiltIn(contextHelpName));
    for (const NewerMenuItem& item : newerMenuItems()) {
        setCommandText(*commands_->action(item.command), fromBuiltIn(item.text.in(language_)));
    }
    for (const int id : commandsOfTheFrame()) {
        QAction* action = commands_->action(id);
        const QString prompt = promptForCommand(id);
        action->setStatusTip(prompt);
        action->setWhatsThis(prompt);
        const QString tip = tooltipForCommand(id);
        if (!tip.isEmpty()) action->setToolTip(tip);
        if (const auto found = keys.find(id); found != keys.end()) action->setShortcuts(found->second);
        action->setShortcutVisibleInContextMenu(false);
        // Shortcuts work whichever menu is shown.
        addAction(action);
    }
}

QList<QMenu*> CMainFrame::menuPopups() const {
    QList<QMenu*> popups;
    for (QAction* action : menuBar()->actions()) {
        if (action->menu()) popups.append(action->menu());
    }
    return popups;
}

void CMainFrame::showMenu(int menuId) {
    if (menuId == shownMenu_) return;
    const QList<QMenu*> old = menuPopups();
    menuBar()->clear();
    for (QMenu* popup : old) popup->deleteLater();
    shownMenu_ = menuId;

    // The menu as stored, in French; the application puts the game's texts
    // on it afterwards.
    for (const MenuPopup& popup : calyx::editor::menuPopups(menuId)) {
        auto* menu = new QMenu(fromBuiltIn(popup.title), menuBar());
        menu->setAccessibleName(plainCommandName(menu->title()));
        QAction* recentPlace = nullptr;
        for (const MenuItem& item : popup.items) {
            if (item.isSeparator()) {
                QAction* separator = menu->addSeparator();
                if (recentPlace && !recentPlace->isSeparator()) recentPlace = separator;
                continue;
            }
            QAction* action = commands_->action(item.command);
            setCommandText(*action, fromBuiltIn(item.text));
            menu->addAction(action);
            if (item.command == command::recentFileFirst) recentPlace = action;
            addNewerItems(*menu, item.command);
        }
        if (recentPlace) {
            // The recent files go before the separator that follows their item.
            QAction* before = recentPlace;
            connect(menu, &QMenu::aboutToShow, this, [this, menu, before] { fillRecentFiles(menu, before); });
            fillRecentFiles(menu, before);
        }
        if (std::any_of(popup.items.begin(), popup.items.end(),
                        [](const MenuItem& item) { return item.command == command::windowCascade; })) {
            connect(menu, &QMenu::aboutToShow, this, [this, menu] { fillWindowList(menu); });
        }
        connect(menu, &QMenu::aboutToShow, this, &CMainFrame::refreshCommands);
        menuBar()->addMenu(menu);
    }
    forgetMenuItemsOfAccessibility();
    emit menuChanged();
}

// Accessibility tools know a menu item by its action, and Qt keeps the item
// of the first menu that showed the action: once the menus change, the
// commands' items are dropped so that they are made anew from the menus now
// shown (else a screen reader meets the old items, hidden, at old places).
void CMainFrame::forgetMenuItemsOfAccessibility() {
    if (!QAccessible::isActive()) return;
    for (QMenu* menu : menuPopups()) {
        for (QAction* action : menu->actions()) {
            if (QAccessibleInterface* item = QAccessible::queryAccessibleInterface(action))
                QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(item));
        }
    }
}

void CMainFrame::addNewerItems(QMenu& menu, int after) {
    // In table order, each followed by the newer items that follow it.
    for (const NewerMenuItem& newer : newerMenuItems()) {
        if (newer.after != after) continue;
        menu.addAction(commands_->action(newer.command));
        addNewerItems(menu, newer.command);
    }
}

void CMainFrame::fillRecentFiles(QMenu* menu, QAction* before) {
    for (QAction* action : menu->actions()) {
        if (isRecentFileCommand(CommandRegistry::commandOf(action))) menu->removeAction(action);
    }
    const QStringList paths = recentFiles_ ? recentFiles_->paths() : QStringList{};
    for (int id = command::recentFileFirst; id <= command::recentFileLast; ++id) {
        const int index = id - command::recentFileFirst;
        if (index >= paths.size()) {
            commands_->removeHandler(id);
            continue;
        }
        const QString path = paths[index];
        setCommandText(*commands_->action(id), numberedMenuText(index + 1, path));
        commands_->setHandler(id, [this, path] { emit openRequested({path}); });
        menu->insertAction(before, commands_->action(id));
    }
    if (paths.isEmpty()) {
        // A greyed "Fichier récent" stands for the empty list.
        QAction* placeholder = commands_->action(command::recentFileFirst);
        for (const MenuItem& item : calyx::editor::menuPopups(menu_id::noDocument).front().items) {
            if (item.command == command::recentFileFirst) setCommandText(*placeholder, fromBuiltIn(item.text));
        }
        menu->insertAction(before, placeholder);
    }
}

void CMainFrame::fillWindowList(QMenu* menu) {
    // The document windows follow the Window menu's commands, the active
    // one checked, so that each can be brought forward by name.
    for (QAction* action : menu->actions()) {
        if (action->property(windowListProperty).toBool()) {
            menu->removeAction(action);
            action->deleteLater();
        }
    }
    const QList<QMdiSubWindow*> windows = mdiArea_->subWindowList();
    if (windows.isEmpty()) return;
    menu->addSeparator()->setProperty(windowListProperty, true);
    for (qsizetype i = 0; i < windows.size(); ++i) {
        QMdiSubWindow* window = windows[i];
        QAction* action = menu->addAction(numberedMenuText(static_cast<int>(i + 1), shownTitle(*window)));
        action->setProperty(windowListProperty, true);
        action->setCheckable(true);
        action->setChecked(window == mdiArea_->activeSubWindow());
        connect(action, &QAction::triggered, this, [this, window] { mdiArea_->setActiveSubWindow(window); });
    }
}

void CMainFrame::setRecentFiles(RecentFileList* list) {
    // The File menu shows the list as it is each time it opens.
    recentFiles_ = list;
}

void CMainFrame::setPreviewPane(CPreviewPane* pane) {
    previewPane_ = pane;
    addDockWidget(Qt::RightDockWidgetArea, pane);
    pane->show();
    resizeDocks({pane}, {pane->fontMetrics().averageCharWidth() * previewPaneCharacters}, Qt::Horizontal);
    // Sizes, places and the pane as the user left them.
    restoreMainWindow(*this);
    connect(pane, &QDockWidget::visibilityChanged, this, &CMainFrame::refreshCommands);
    refreshCommands();
}

void CMainFrame::updateMenuForDocuments() {
    showMenu(mdiArea_->subWindowList().isEmpty() ? menu_id::noDocument : menu_id::document);
}

bool CMainFrame::relabelMenus(const GameStrings& strings) {
    const QList<QMenu*> popups = menuPopups();
    const bool documentMenu = popups.size() >= documentMenuPopupCount;
    const auto text = [&strings](int id) -> std::optional<QString> {
        const auto game = strings.GetGameString(id);
        if (!game) return std::nullopt;
        return fromGameText(*game);
    };
    for (const MenuRelabel& relabel : menuRelabels()) {
        const auto replacement = text(relabel.textId);
        if (!replacement) continue;
        if (relabel.command != 0) {
            if (QAction* action = commands_->find(relabel.command)) setCommandText(*action, *replacement);
            continue;
        }
        const auto position = documentMenu ? relabel.popupInDocumentMenu : relabel.popupInNoDocumentMenu;
        if (position && *position < popups.size()) {
            QMenu* menu = popups[*position];
            menu->setTitle(*replacement);
            menu->setAccessibleName(plainCommandName(*replacement));
        }
    }
    if (!popups.isEmpty()) {
        if (QAction* fileNew = commands_->find(commandRemovedWithGameTexts)) popups.front()->removeAction(fileNew);
    }
    // The help pointer is on no menu: it takes its tooltip as its name.
    if (const QString tip = tooltipForCommand(command::contextHelp); !tip.isEmpty()) {
        setCommandText(*commands_->action(command::contextHelp), tip);
    }
    if (toolBar_) toolBar_->setWindowTitle(commands_->action(command::viewToolbar)->iconText());
    statusBar()->setAccessibleName(commands_->action(command::viewStatusBar)->iconText());
    menuBar()->update();
    return documentMenu;
}

QString CMainFrame::promptForCommand(int commandId) const {
    return fromGameText(calyx::editor::promptForCommand(commandId, localizedTexts_));
}

QString CMainFrame::tooltipForCommand(int commandId) const {
    return fromGameText(calyx::editor::tooltipForCommand(commandId, localizedTexts_));
}

void CMainFrame::createToolBar() {
    toolBar_ = new QToolBar(this);
    toolBar_->setObjectName(QStringLiteral("toolbar"));
    toolBar_->setWindowTitle(fromBuiltIn(accessible_name::toolBar.in(language_)));
    toolBar_->setAccessibleName(toolBar_->windowTitle());
    toolBar_->setIconSize(QSize(toolbarIconWidth, toolbarIconHeight));
    // Tips also while another window is active (the attribute counts on the
    // window: the frame, or the toolbar when it floats).
    toolBar_->setAttribute(Qt::WA_AlwaysShowToolTips);
    setAttribute(Qt::WA_AlwaysShowToolTips);
    toolBar_->setAllowedAreas(Qt::AllToolBarAreas);
    toolBar_->setFloatable(true);
    toolBar_->setMovable(true);
    for (const int id : toolbarCommands()) {
        if (id == 0) {
            toolBar_->addSeparator();
            continue;
        }
        QAction* action = commands_->action(id);
        action->setIcon(toolbarIcon(id));
        action->setIconVisibleInMenu(false);
        toolBar_->addAction(action);
        if (QWidget* button = toolBar_->widgetForAction(action)) {
            button->setObjectName(QStringLiteral("toolbarButton%1").arg(id));
        }
    }
    addToolBar(Qt::TopToolBarArea, toolBar_);
}

void CMainFrame::createStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("statusBar"));
    bar->setAccessibleName(fromBuiltIn(accessible_name::statusBar.in(language_)));
    idlePane_ = new QLabel(promptForCommand(command::idlePrompt), bar);
    idlePane_->setObjectName(QStringLiteral("messagePane"));
    bar->addWidget(idlePane_, 1);
    for (const LockPane& pane : lockPanes()) {
        auto* label = new QLabel(fromBuiltIn(pane.text), bar);
        label->setObjectName(QStringLiteral("lockPane") + label->text());
        label->setAccessibleName(label->text());
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        label->setAlignment(Qt::AlignCenter);
        label->setMinimumWidth(label->sizeHint().width() + label->fontMetrics().averageCharWidth() * 2);
        label->setEnabled(false);
        bar->addPermanentWidget(label);
        lockPanes_[pane.key] = label;
    }
}

QLabel* CMainFrame::lockPane(LockKey key) const {
    const auto found = lockPanes_.find(key);
    return found == lockPanes_.end() ? nullptr : found->second;
}

void CMainFrame::updateLockPanes() {
    const KeyboardLocks locks = readKeyboardLocks().value_or(KeyboardLocks{});
    if (QLabel* pane = lockPane(LockKey::Caps)) pane->setEnabled(locks.caps);
    if (QLabel* pane = lockPane(LockKey::Num)) pane->setEnabled(locks.num);
    if (QLabel* pane = lockPane(LockKey::Scroll)) pane->setEnabled(locks.scroll);
}

void CMainFrame::connectCommands() {
    using namespace command;
    CommandRegistry& c = *commands_;
    const auto hasDocuments = [this] { return !mdiArea_->subWindowList().isEmpty(); };

    c.setHandler(appExit, [this] { close(); });
    c.setHandler(appAbout, [this] {
        CAboutDlg dialog(this);
        dialog.exec();
    });
    c.setHandler(helpTopics, [] { showHelp(); });
    c.setHandler(help, [] { showHelp(); });
    c.setHandler(contextHelp, [] { QWhatsThis::enterWhatsThisMode(); });

    c.setHandler(viewToolbar, [this] { toolBar_->setVisible(toolBar_->isHidden()); });
    c.setCheckedWhen(viewToolbar, [this] { return !toolBar_->isHidden(); });
    c.setHandler(viewStatusBar, [this] { statusBar()->setVisible(statusBar()->isHidden()); });
    c.setCheckedWhen(viewStatusBar, [this] { return !statusBar()->isHidden(); });

    c.setEnabledWhen(viewPreviewPane, [this] { return previewPane_ != nullptr; });
    c.setCheckedWhen(viewPreviewPane, [this] { return previewPane_ && !previewPane_->isHidden(); });
    c.setHandler(viewPreviewPane, [this] {
        if (previewPane_) previewPane_->setVisible(previewPane_->isHidden());
    });

    c.setHandler(windowCascade, [this] { cascadeWindows(*mdiArea_); });
    c.setHandler(windowTileHorizontally, [this] { mdiArea_->tileSubWindows(); });
    c.setHandler(windowArrange, [this] { arrangeIcons(); });
    c.setHandler(nextPane, [this] { mdiArea_->activateNextSubWindow(); });
    c.setHandler(previousPane, [this] { mdiArea_->activatePreviousSubWindow(); });
    for (const int id : {windowCascade, windowTileHorizontally, windowArrange, nextPane, previousPane}) {
        c.setEnabledWhen(id, hasDocuments);
    }
    // Cut, copy, paste and undo have no handler in the frame: they stay
    // greyed while a document window is active.
    connect(toolBar_, &QToolBar::visibilityChanged, this, &CMainFrame::refreshCommands);
}

void CMainFrame::arrangeIcons() {
    // Minimised document windows in a row along the bottom of the area.
    int left = 0;
    for (QMdiSubWindow* window : mdiArea_->subWindowList()) {
        if (!window->isMinimized()) continue;
        const QSize size = window->size();
        window->move(left, mdiArea_->viewport()->height() - size.height());
        left += size.width();
    }
}

void CMainFrame::updateTitle() {
    // The current window stays current while another program is active.
    QMdiSubWindow* current = mdiArea_->currentSubWindow();
    const QString document = current ? shownTitle(*current) : QString();
    setWindowTitle(document.isEmpty() ? programTitle : programTitle + QStringLiteral(" - ") + document);
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    saveMainWindow(*this);
    QMainWindow::closeEvent(event);
}

void CMainFrame::refreshCommands() { commands_->updateActions(); }

bool CMainFrame::event(QEvent* event) {
    switch (event->type()) {
    case QEvent::EnterWhatsThisMode: statusBar()->showMessage(promptForCommand(command::helpModePrompt)); break;
    case QEvent::LeaveWhatsThisMode: statusBar()->clearMessage(); break;
    case QEvent::WindowActivate:
        updateLockPanes();
        emit activated();
        break;
    default: break;
    }
    return QMainWindow::event(event);
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
    if ((event->type() == QEvent::WindowTitleChange || event->type() == QEvent::ModifiedChange) &&
        watched->parent() == mdiArea_->viewport()) {
        // A bank saved under another name, or modified: the title follows.
        updateTitle();
    } else if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
        updateLockPanes();
    } else if (event->type() == QEvent::ToolTip && toolBar_ && (watched == toolBar_ || watched->parent() == toolBar_)) {
        // A greyed button gets no mouse: its tip is asked of the toolbar.
        auto* help = static_cast<QHelpEvent*>(event);
        auto* button = qobject_cast<QToolButton*>(watched);
        if (watched == toolBar_) button = qobject_cast<QToolButton*>(toolBar_->childAt(help->pos()));
        if (button) {
            const QString tip = tooltipForCommand(CommandRegistry::commandOf(button->defaultAction()));
            if (tip.isEmpty()) {
                QToolTip::hideText();
            } else {
                QToolTip::showText(help->globalPos(), tip, button);
            }
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    // A row of the editor carries its sample's file for other programs:
    // dropped beside the lists it is no bank to open.
    if (offersResourceLink(*event->mimeData()) || localFilesOf(*event->mimeData()).isEmpty())
        return QMainWindow::dragEnterEvent(event);
    event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
    if (offersResourceLink(*event->mimeData())) return QMainWindow::dropEvent(event);
    const QStringList paths = localFilesOf(*event->mimeData());
    if (paths.isEmpty()) return QMainWindow::dropEvent(event);
    event->acceptProposedAction();
    emit openRequested(paths);
}

}  // namespace calyx::editor
