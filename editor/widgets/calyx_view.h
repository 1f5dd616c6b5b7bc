// The view of a document: the resource list filling the window, kept
// current by a change listener on the bank (which is also what marks the
// document modified), and the document's printout.
#pragma once

#include <QWidget>
#include <functional>
#include <memory>

#include "audio/wave_device_link.h"

class QPrinter;

namespace calyx::bank {
class SoundResource;
}

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

    // What a double-click on a resource's name opens (the edit dialog).
    using EditHandler = std::function<void(bank::SoundResource& resource, QWidget* owner)>;
    static void setEditHandler(EditHandler handler);

    // Rows for resources the list does not show yet.
    void addMissingRows();
    // The bank's change listener: refreshes the resource's row and marks
    // the document modified (even when no row shows it).
    void onResourceChanged(bank::SoundResource& resource);
    // Paints the listing on `printer`, within its page range.
    void printListing(QPrinter& printer);

protected:
    void focusInEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void openResource(std::size_t resourceIndex);

    CCalyxDoc& document_;
    const GameStrings& strings_;
    audio::WaveDeviceLink deviceLink_;
    ResourceListModel* model_;
    CResourceListCtrl* list_;
    int listenerHandle_ = 0;
    // What a drag from this view names, and the rules of drops on it.
    std::unique_ptr<DragLink> dragLink_;
    std::unique_ptr<ResourceDropTarget> dropTarget_;
};

}  // namespace calyx::editor
