#include "editor/widgets/command_registry.h"

#include <QAction>
#include <utility>

#include "editor/widgets/command_text.h"

namespace calyx::editor {

CommandRegistry::CommandRegistry(QObject* parent) : QObject(parent) {}

QAction* CommandRegistry::action(int commandId) {
    Entry& entry = entries_[commandId];
    if (!entry.action) {
        entry.action = new QAction(this);
        entry.action->setData(commandId);
        entry.action->setObjectName(QStringLiteral("command%1").arg(commandId));
        entry.action->setEnabled(false);
        connect(entry.action, &QAction::triggered, this, [this, commandId] {
            const auto found = entries_.find(commandId);
            // Copied: a handler may replace itself while it runs.
            const auto handler = found == entries_.end() ? nullptr : found->second.handler;
            if (handler) handler();
            emit commandTriggered(commandId);
        });
    }
    return entry.action;
}

QAction* CommandRegistry::find(int commandId) const {
    const auto found = entries_.find(commandId);
    return found == entries_.end() ? nullptr : found->second.action;
}

int CommandRegistry::commandOf(const QAction* action) {
    if (!action) return 0;
    bool ok = false;
    const int id = action->data().toInt(&ok);
    return ok ? id : 0;
}

void CommandRegistry::setHandler(int commandId, std::function<void()> handler) {
    action(commandId);
    Entry& entry = entries_[commandId];
    entry.handler = std::move(handler);
    update(entry);
}

void CommandRegistry::removeHandler(int commandId) { setHandler(commandId, nullptr); }

void CommandRegistry::setEnabledWhen(int commandId, std::function<bool()> rule) {
    action(commandId);
    Entry& entry = entries_[commandId];
    entry.enabledWhen = std::move(rule);
    update(entry);
}

void CommandRegistry::setCheckedWhen(int commandId, std::function<bool()> rule) {
    action(commandId)->setCheckable(true);
    Entry& entry = entries_[commandId];
    entry.checkedWhen = std::move(rule);
    update(entry);
}

void CommandRegistry::setTextWhen(int commandId, std::function<QString()> rule) {
    action(commandId);
    Entry& entry = entries_[commandId];
    entry.textWhen = std::move(rule);
    update(entry);
}

void CommandRegistry::updateActions() {
    for (auto& [id, entry] : entries_) update(entry);
}

void CommandRegistry::update(Entry& entry) {
    entry.action->setEnabled(entry.handler && (!entry.enabledWhen || entry.enabledWhen()));
    if (entry.checkedWhen) entry.action->setChecked(entry.checkedWhen());
    const QString text = entry.textWhen ? entry.textWhen() : QString();
    if (!text.isEmpty()) {
        if (!entry.ownText) entry.ownText = entry.action->text();
        setCommandText(*entry.action, text);
    } else if (entry.ownText) {
        setCommandText(*entry.action, *std::exchange(entry.ownText, std::nullopt));
    }
}

}  // namespace calyx::editor
