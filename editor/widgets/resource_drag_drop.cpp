#include "editor/widgets/resource_drag_drop.h"

#include <QDrag>
#include <QMimeData>
#include <QWidget>

#include "editor/core/link_table.h"
#include "editor/core/message_box.h"
#include "editor/widgets/message_box.h"
#include "editor/widgets/resource_drag_data.h"

namespace calyx::editor {

void startResourceDrag(QWidget* source, DragLink& link, bank::SoundBank& bank, int index) {
    link.bank = &bank;
    link.index = index;
    auto* drag = new QDrag(source);
    drag->setMimeData(makeResourceDragData(link).release());
    // Copy, move and link are offered; whichever the target takes, the
    // source stays as it is.
    drag->exec(Qt::CopyAction | Qt::MoveAction | Qt::LinkAction, Qt::MoveAction);
}

ResourceDropTarget::ResourceDropTarget(bank::SoundBank& bank, LinkTable& links, const GameStrings& strings,
                                       RowAt rowAt)
    : bank_(bank), links_(links), strings_(strings), rowAt_(std::move(rowAt)) {}

Qt::DropAction ResourceDropTarget::dragEnter(const QMimeData& data, Qt::KeyboardModifiers keys,
                                             const QPoint& point) {
    feedbackShown_ = false;
    acceptDrag_ = readResourceDragData(data) != nullptr;
    return acceptDrag_ ? dragOver(keys, point) : Qt::IgnoreAction;
}

Qt::DropAction ResourceDropTarget::dragOver(Qt::KeyboardModifiers keys, const QPoint& point) {
    Qt::DropAction effect = Qt::IgnoreAction;
    if (acceptDrag_ && bank_.savesInProgress() == 0 && rowAt_(point)) {
        const bool ctrl = keys.testFlag(Qt::ControlModifier);
        const bool shift = keys.testFlag(Qt::ShiftModifier);
        effect = ctrl && shift ? Qt::IgnoreAction : ctrl ? Qt::CopyAction : Qt::MoveAction;
    }
    feedbackShown_ = effect != Qt::IgnoreAction;
    if (feedbackShown_) lastFeedbackPoint_ = point;
    return effect;
}

void ResourceDropTarget::dragLeave() { feedbackShown_ = false; }

std::optional<QRect> ResourceDropTarget::feedback() const {
    if (!feedbackShown_) return std::nullopt;
    return QRect(lastFeedbackPoint_, feedbackSize_);
}

DropOutcome ResourceDropTarget::drop(const QMimeData& data, const QPoint& point) {
    dragLeave();
    if (!acceptDrag_) return DropOutcome::Refused;
    acceptDrag_ = false;
    const std::optional<int> targetIndex = rowAt_(point);
    if (!targetIndex) return DropOutcome::Refused;
    const DragLink* link = readResourceDragData(data);
    if (!link || !link->bank || link->index < 0) return DropOutcome::Refused;
    const auto confirm = [](const UiText& question) {
        return messageBox(question, message_style::okCancel) == message_result::ok;
    };
    return dropResource(*link->bank, static_cast<std::size_t>(link->index), bank_,
                        static_cast<std::size_t>(*targetIndex), links_, strings_, confirm);
}

}  // namespace calyx::editor
