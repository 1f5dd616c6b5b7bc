// The editor's edit box: its right-button menu is menu 135, with the game's
// texts when they are loaded and each item enabled only when it can act.
#pragma once

#include <QLineEdit>
#include <memory>

class QMenu;

namespace calyx::editor {

class GameStrings;

class CLocalizedEdit : public QLineEdit {
    Q_OBJECT
public:
    // The application's game strings are used when there is an application.
    explicit CLocalizedEdit(QWidget* parent = nullptr);
    CLocalizedEdit(const GameStrings& strings, QWidget* parent = nullptr);

    // The right-button menu as it would be shown now (the caller owns it).
    std::unique_ptr<QMenu> makeContextMenu();
    // One of the six edit commands (undo, cut, copy, paste, delete, select
    // all); other ids do nothing.
    void runCommand(int commandId);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    const GameStrings& strings_;
};

}  // namespace calyx::editor
