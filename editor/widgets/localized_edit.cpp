#include "editor/widgets/localized_edit.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>

#include "editor/core/commands.h"
#include "editor/core/game_strings.h"
#include "editor/core/menu_tables.h"
#include "editor/widgets/calyx_app.h"
#include "editor/widgets/command_registry.h"
#include "editor/widgets/command_text.h"
#include "editor/widgets/qt_text.h"

namespace calyx::editor {

namespace {

bool clipboardHoldsText() {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data && data->hasText();
}

}  // namespace

CLocalizedEdit::CLocalizedEdit(QWidget* parent) : CLocalizedEdit(CCalyxApp::currentGameStrings(), parent) {}

CLocalizedEdit::CLocalizedEdit(const GameStrings& strings, QWidget* parent) : QLineEdit(parent), strings_(strings) {}

std::unique_ptr<QMenu> CLocalizedEdit::makeContextMenu() {
    auto menu = std::make_unique<QMenu>(this);
    for (const MenuItem& item : menuPopups(menu_id::editBox).front().items) {
        if (item.isSeparator()) {
            menu->addSeparator();
            continue;
        }
        QAction* action = menu->addAction(QString());
        setCommandText(*action, fromBuiltIn(item.text));
        action->setData(item.command);
        action->setObjectName(QStringLiteral("command%1").arg(item.command));
        const int id = item.command;
        connect(action, &QAction::triggered, this, [this, id] { runCommand(id); });
    }
    // Without the game's texts the menu is shown as stored, all enabled.
    if (!strings_.AreGameStringsLoaded()) return menu;

    const bool selection = hasSelectedText();
    for (QAction* action : menu->actions()) {
        const int id = CommandRegistry::commandOf(action);
        for (const EditMenuText& text : editBoxMenuTexts()) {
            if (text.command != id) continue;
            // The whole text: a shortcut after a tab shows at the item's right.
            if (const auto game = strings_.GetGameString(text.textId)) action->setText(fromGameText(*game));
        }
        switch (id) {
        case command::editUndo: action->setEnabled(isUndoAvailable()); break;
        case command::editCut:
        case command::editCopy:
        case command::editClear: action->setEnabled(selection); break;
        case command::editPaste: action->setEnabled(clipboardHoldsText()); break;
        default: break;
        }
    }
    return menu;
}

void CLocalizedEdit::runCommand(int commandId) {
    switch (commandId) {
    case command::editUndo: undo(); break;
    case command::editCut: cut(); break;
    case command::editCopy: copy(); break;
    case command::editPaste: paste(); break;
    case command::editClear:
        // Only the selection goes: with none, nothing is deleted.
        if (hasSelectedText()) del();
        break;
    case command::editSelectAll: selectAll(); break;
    default: break;
    }
}

void CLocalizedEdit::contextMenuEvent(QContextMenuEvent* event) {
    const std::unique_ptr<QMenu> menu = makeContextMenu();
    menu->exec(event->globalPos());
}

}  // namespace calyx::editor
