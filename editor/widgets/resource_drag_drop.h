// Dragging a resource's row onto another's, on the side of the list: the
// drag's start, and the drop target's answers to a drag entering, moving
// over, leaving and dropping, with the feedback rectangle under the mouse.
// Files dragged from the file manager are answered too: on a sample's row
// the first replaces its sample, beside the rows they open as banks. The
// decisions and the copy are the widget-free drops of editor/core; the
// list only says which resource lies under a point.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QStringList>
#include <functional>
#include <optional>

#include "bank/sound_bank.h"
#include "editor/core/conversion_offer.h"
#include "editor/core/resource_drop.h"
#include "editor/core/wav_file_drop.h"

class QMimeData;
class QWidget;

namespace calyx::editor {

class DragLink;
class GameStrings;
class LinkTable;

// Runs the drag of resource `index` of `bank` from `source` (a modal loop
// until the drop or the cancel): the row for the editor's lists, and the
// row's sample as a WAV file for other programs. The source resource never
// changes.
void startResourceDrag(QWidget* source, DragLink& link, bank::SoundBank& bank, int index);

class ResourceDropTarget {
public:
    // The resource index of the row under a point of the list, or nothing
    // over no row.
    using RowAt = std::function<std::optional<int>(const QPoint& point)>;

    ResourceDropTarget(bank::SoundBank& bank, LinkTable& links, const GameStrings& strings, RowAt rowAt);

    // The drop's effect: copy with Ctrl, move otherwise, nothing with
    // Shift+Ctrl, over no row, during a save of the bank, or for data that
    // is not a resource row of this editor.
    Qt::DropAction dragEnter(const QMimeData& data, Qt::KeyboardModifiers keys, const QPoint& point);
    Qt::DropAction dragOver(Qt::KeyboardModifiers keys, const QPoint& point);
    void dragLeave();
    // Asks the question and copies on OK; the outcome (Refused for anything
    // that is not a drop of one resource on another). The row dropped is the
    // one the drag carried as it entered.
    DropOutcome drop(const QPoint& point);

    // Whether the drag now over the list carries a row of this editor.
    bool draggingRow() const { return draggedRow_ != nullptr; }
    // Whether the drag now over the list carries files (from the file
    // manager) rather than a row.
    bool draggingFiles() const { return acceptFiles_; }
    struct FileDrop {
        FileDragMeaning meaning = FileDragMeaning::NoDrop;
        std::optional<int> resourceIndex;  // the row's resource, for a replacement
        QStringList paths;                 // the local files dropped
    };
    // Files dropped: what they mean where they fell. Nothing is asked or
    // changed yet, so that the program the files came from is not kept
    // waiting while the user answers.
    FileDrop dropFiles(const QMimeData& data, const QPoint& point);
    // Then, for a drop on a sample's row: the question, and the first file
    // taken as the edit dialog takes a dropped file.
    FileDropOutcome replaceWithFiles(int resourceIndex, const QStringList& paths);
    // Offers to convert a dropped file refused for its format.
    void setConversionOffer(ConversionOffer offer) { conversionOffer_ = std::move(offer); }
    // The language of the questions the game's texts do not hold.
    void setLanguage(InterfaceLanguage language) { language_ = language; }

    // The rectangle drawn under the mouse while a drop is possible.
    std::optional<QRect> feedback() const;
    void setFeedbackSize(const QSize& size) { feedbackSize_ = size; }

private:
    FileDragMeaning fileMeaningAt(const QPoint& point) const;

    bank::SoundBank& bank_;
    LinkTable& links_;
    const GameStrings& strings_;
    RowAt rowAt_;
    // The row of the drag over the list, read as it entered.
    const DragLink* draggedRow_ = nullptr;
    bool acceptFiles_ = false;
    QStringList draggedFiles_;
    ConversionOffer conversionOffer_;
    InterfaceLanguage language_ = InterfaceLanguage::French;
    bool feedbackShown_ = false;
    QPoint lastFeedbackPoint_;
    QSize feedbackSize_{100, 16};
};

}  // namespace calyx::editor
