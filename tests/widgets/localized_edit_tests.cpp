// The edit box's right-button menu: texts, greying, and its six commands.
#include <QAction>
#include <QClipboard>
#include <QMenu>

#include "editor/core/commands.h"
#include "editor/widgets/command_registry.h"
#include "editor/widgets/localized_edit.h"
#include "widget_test_support.h"

namespace calyx::editor {

namespace {

struct Item {
    QString text;
    bool enabled;
};

std::map<int, Item> itemsOf(QMenu& menu) {
    std::map<int, Item> items;
    for (const QAction* action : menu.actions()) {
        if (!action->isSeparator()) items[CommandRegistry::commandOf(action)] = {action->text(), action->isEnabled()};
    }
    return items;
}

}  // namespace

class LocalizedEditTest : public QObject {
    Q_OBJECT

private slots:
    void withGameTextsItemsAreGreyedWhenTheyCannotAct() {
        using namespace command;
        const GameStrings english = test::englishStrings();
        CLocalizedEdit edit(english);
        edit.setText(QStringLiteral("64"));
        QGuiApplication::clipboard()->clear();

        auto menu = edit.makeContextMenu();
        QList<int> order;
        for (const QAction* action : menu->actions()) order << CommandRegistry::commandOf(action);
        QCOMPARE(order, (QList<int>{editUndo, 0, editCut, editCopy, editPaste, editClear, 0, editSelectAll}));
        auto items = itemsOf(*menu);
        QCOMPARE(items[editUndo].text, QStringLiteral("&Undo\tCtrl+Z"));
        QCOMPARE(items[editClear].text, QStringLiteral("&Delete"));
        QCOMPARE(items[editSelectAll].text, QStringLiteral("Select &All"));
        // Nothing selected, nothing to undo, no text on the clipboard.
        for (const int id : {editUndo, editCut, editCopy, editPaste, editClear}) QVERIFY2(!items[id].enabled, qPrintable(QString::number(id)));
        QVERIFY(items[editSelectAll].enabled);

        // Typing makes undo possible; a selection enables cut, copy and
        // delete; text on the clipboard enables paste.
        QTest::keyClicks(&edit, QStringLiteral("5"));
        edit.selectAll();
        QGuiApplication::clipboard()->setText(QStringLiteral("100"));
        items = itemsOf(*edit.makeContextMenu());
        for (const int id : {editUndo, editCut, editCopy, editPaste, editClear, editSelectAll}) QVERIFY(items[id].enabled);
    }

    void withoutGameTextsTheMenuIsShownAsStored() {
        using namespace command;
        const GameStrings french;
        CLocalizedEdit edit(french);
        const auto items = itemsOf(*edit.makeContextMenu());
        QCOMPARE(items.at(editUndo).text, QStringLiteral("A&nnuler"));
        QCOMPARE(items.at(editPaste).text, QStringLiteral("Coll&er"));
        QCOMPARE(items.at(editSelectAll).text, QStringLiteral("Sélectionner &tout"));
        for (const auto& [id, item] : items) QVERIFY(item.enabled);
    }

    void theSixCommandsActOnTheText() {
        using namespace command;
        const GameStrings french;
        CLocalizedEdit edit(french);
        edit.setText(QStringLiteral("127"));
        edit.setCursorPosition(1);
        // Delete takes only a selection: with none, nothing goes.
        edit.runCommand(editClear);
        QCOMPARE(edit.text(), QStringLiteral("127"));
        edit.runCommand(editSelectAll);
        QCOMPARE(edit.selectedText(), QStringLiteral("127"));
        edit.runCommand(editCut);
        QCOMPARE(edit.text(), QString());
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("127"));
        edit.runCommand(editPaste);
        edit.runCommand(editPaste);
        QCOMPARE(edit.text(), QStringLiteral("127127"));
        edit.runCommand(editUndo);
        QCOMPARE(edit.text(), QStringLiteral("127"));
        edit.setSelection(0, 2);
        edit.runCommand(editCopy);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("12"));
        edit.runCommand(editClear);
        QCOMPARE(edit.text(), QStringLiteral("7"));
    }
};

}  // namespace calyx::editor

QTEST_MAIN(calyx::editor::LocalizedEditTest)
#include "localized_edit_tests.moc"
