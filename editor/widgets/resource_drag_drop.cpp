#include "editor/widgets/resource_drag_drop.h"

#include <QDrag>
#include <QFile>
#include <QMimeData>
#include <QUrl>
#include <QWidget>
#include <utility>

#include "editor/core/headless_dialog_view.h"
#include "editor/core/link_table.h"
#include "editor/core/message_box.h"
#include "editor/widgets/dragged_sample_file.h"
#include "editor/widgets/dropped_files.h"
#include "editor/widgets/message_box.h"
#include "editor/widgets/resource_drag_data.h"

namespace calyx::editor {
namespace {

bool askReplace(const UiText& question) { return messageBox(question, message_style::okCancel) == MessageResult::Ok; }

}  // namespace

void startResourceDrag(QWidget* source, DragLink& link, bank::SoundBank& bank, int index) {
    link.bank = &bank;
    link.index = index;
    std::unique_ptr<QMimeData> data = makeResourceDragData(link);
    // Out of the editor the row is a WAV file; in it, the row data is read
    // first and the file is not looked at.
    if (const auto file = writeDraggedSample(bank, index)) data->setUrls({QUrl::fromLocalFile(*file)});
    auto* drag = new QDrag(source);
    drag->setMimeData(data.release());
    // Copy, move and link are offered; whichever the target takes, the
    // source stays as it is. Other programs are offered a copy of the file.
    drag->exec(Qt::CopyAction | Qt::MoveAction | Qt::LinkAction, Qt::CopyAction);
}

ResourceDropTarget::ResourceDropTarget(bank::SoundBank& bank, LinkTable& links, const GameStrings& strings,
                                       RowAt rowAt)
    : bank_(bank), links_(links), strings_(strings), rowAt_(std::move(rowAt)) {}

Qt::DropAction ResourceDropTarget::dragEnter(const QMimeData& data, Qt::KeyboardModifiers keys,
                                             const QPoint& point) {
    feedbackShown_ = false;
    // The row a drag carries is read once, as it enters.
    draggedRow_ = readResourceDragData(data);
    // The files are read as the drag enters: the data of a drag from
    // another program is not always to be had again once it is dropped.
    draggedFiles_ = draggedRow_ ? QStringList() : localFilesOf(data);
    acceptFiles_ = !draggedFiles_.isEmpty();
    return draggedRow_ || acceptFiles_ ? dragOver(keys, point) : Qt::IgnoreAction;
}

FileDragMeaning ResourceDropTarget::fileMeaningAt(const QPoint& point) const {
    const std::optional<int> index = rowAt_(point);
    const std::string first = draggedFiles_.isEmpty() ? std::string() : QFile::encodeName(draggedFiles_.front()).toStdString();
    return fileDragMeaning(bank_, index ? bank_.resourceAt(static_cast<std::size_t>(*index)) : nullptr, first);
}

Qt::DropAction ResourceDropTarget::dragOver(Qt::KeyboardModifiers keys, const QPoint& point) {
    Qt::DropAction effect = Qt::IgnoreAction;
    if (acceptFiles_) {
        // Files are copied in (the originals stay where they are); only a
        // row that takes them shows the rectangle.
        const FileDragMeaning meaning = fileMeaningAt(point);
        effect = meaning == FileDragMeaning::NoDrop ? Qt::IgnoreAction : Qt::CopyAction;
        feedbackShown_ = meaning == FileDragMeaning::ReplaceSample;
        if (feedbackShown_) lastFeedbackPoint_ = point;
        return effect;
    }
    if (draggedRow_ && bank_.savesInProgress() == 0 && rowAt_(point)) {
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

DropOutcome ResourceDropTarget::drop(const QPoint& point) {
    dragLeave();
    const DragLink* link = std::exchange(draggedRow_, nullptr);
    const std::optional<int> targetIndex = rowAt_(point);
    if (!link || !targetIndex) return DropOutcome::Refused;
    // The view the row came from may have closed since the drag entered.
    if (!isLiveDragLink(link) || !link->bank || link->index < 0) return DropOutcome::Refused;
    return dropResource(*link->bank, static_cast<std::size_t>(link->index), bank_,
                        static_cast<std::size_t>(*targetIndex), links_, strings_, askReplace, nullptr, language_);
}

ResourceDropTarget::FileDrop ResourceDropTarget::dropFiles(const QMimeData& data, const QPoint& point) {
    dragLeave();
    FileDrop result;
    if (!acceptFiles_) return result;
    acceptFiles_ = false;
    result.paths = localFilesOf(data);
    if (result.paths.isEmpty()) result.paths = draggedFiles_;
    result.meaning = fileMeaningAt(point);
    if (result.meaning == FileDragMeaning::ReplaceSample) result.resourceIndex = rowAt_(point);
    return result;
}

FileDropOutcome ResourceDropTarget::replaceWithFiles(int resourceIndex, const QStringList& paths) {
    std::vector<std::string> files;
    for (const QString& path : paths) files.push_back(QFile::encodeName(path).toStdString());
    // What the edit dialog would say is said in message boxes.
    HeadlessDialogView messages;
    messages.onMessage = [](const UiText& text, unsigned style) { messageBox(text, style); };
    return dropWavFiles(bank_, static_cast<std::size_t>(resourceIndex), files, links_, strings_, askReplace, messages,
                        conversionOffer_, language_);
}

}  // namespace calyx::editor
