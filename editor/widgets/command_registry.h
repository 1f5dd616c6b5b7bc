// The editor's commands by id: one QAction per command id, shared by the
// menus, the toolbar and the accelerators. An action knows its id (its data),
// runs the handler given for it, and is enabled only while it has a handler
// (and, when one is given, while its enabling rule says so), as a command
// that nobody handles is greyed.
#pragma once

#include <QObject>
#include <functional>
#include <map>
#include <optional>

#include <QString>

class QAction;

namespace calyx::editor {

class CommandRegistry : public QObject {
    Q_OBJECT
public:
    explicit CommandRegistry(QObject* parent = nullptr);

    // The action of `commandId`, made on first use.
    QAction* action(int commandId);
    // The action of `commandId`, or null when none was made.
    QAction* find(int commandId) const;
    // The command id an action stands for, 0 for an action of no command.
    static int commandOf(const QAction* action);

    // What the command does. A handler given again replaces the old one.
    void setHandler(int commandId, std::function<void()> handler);
    void removeHandler(int commandId);
    // When the command is enabled (beyond having a handler), and for a
    // checkable command whether it shows checked.
    void setEnabledWhen(int commandId, std::function<bool()> rule);
    void setCheckedWhen(int commandId, std::function<bool()> rule);
    // The item's text while the rule gives one (a menu text, "&" marking
    // the access key); its own text again while it gives none.
    void setTextWhen(int commandId, std::function<QString()> rule);

    // Applies the enabling and checking rules to every action; the frame
    // calls it before a menu opens and whenever the active window changes.
    void updateActions();

signals:
    void commandTriggered(int commandId);

private:
    struct Entry {
        QAction* action = nullptr;
        std::function<void()> handler;
        std::function<bool()> enabledWhen;
        std::function<bool()> checkedWhen;
        std::function<QString()> textWhen;
        // The text the rule's text stands in for, while it does.
        std::optional<QString> ownText;
    };
    static void update(Entry& entry);

    std::map<int, Entry> entries_;
};

}  // namespace calyx::editor
