// The view of a document: the resource list filling the window (its model
// follows the document's changes itself), the drags and drops on it, the
// request to edit a resource, and the document's printout.
#pragma once

#include <QWidget>
#include <cstddef>
#include <memory>

#include "audio/wave_device_link.h"

class QLabel;
class QLineEdit;
class QPrinter;

namespace calyx::editor {

class CCalyxDoc;
class CResourceListCtrl;
class DragLink;
class ResourceDropTarget;
class GameStrings;
class ResourceListModel;

class CCalyxView : public QWidget {
    Q_OBJECT
public:
    // `waveLink` reaches the main frame's wave-output device (none in tests).
    CCalyxView(CCalyxDoc& document, const GameStrings& strings, const audio::WaveDeviceLink& waveLink,
               QWidget* parent = nullptr);
    ~CCalyxView() override;

    CCalyxDoc& document() { return document_; }
    CResourceListCtrl& list() { return *list_; }
    ResourceListModel& model() { return *model_; }
    // The box above the list that keeps only the rows containing its text
    // (Ctrl+F), and the count of rows it keeps beside it.
    QLineEdit* filterBox() const { return filterBox_; }
    QLabel* filterCount() const { return filterCount_; }

    // Paints the listing on `printer`, within its page range.
    void printListing(QPrinter& printer);

signals:
    // A double-click on the name of this resource of the document, or Enter
    // on its row: the user wants to edit it (the resource plays through this
    // view's device link).
    void editRequested(std::size_t resourceIndex);
    // Space on the row of this resource: play it, or stop it when it plays.
    void playRequested(std::size_t resourceIndex);

protected:
    void focusInEvent(QFocusEvent* event) override;
    // The filter box's keys: Escape clears it, the moving keys move in the
    // list, Enter opens the current row.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void openResource(std::size_t resourceIndex);
    // The row commands Export WAV... (asks where) and Reset to the bank's sound.
    void exportResource(std::size_t resourceIndex);
    void resetResource(std::size_t resourceIndex);
    void createFilterBox();
    void updateFilterCount();

    CCalyxDoc& document_;
    const GameStrings& strings_;
    audio::WaveDeviceLink deviceLink_;
    ResourceListModel* model_;
    CResourceListCtrl* list_;
    QLineEdit* filterBox_ = nullptr;
    QLabel* filterCount_ = nullptr;
    // What a drag from this view names, and the rules of drops on it.
    std::unique_ptr<DragLink> dragLink_;
    std::unique_ptr<ResourceDropTarget> dropTarget_;
};

}  // namespace calyx::editor
