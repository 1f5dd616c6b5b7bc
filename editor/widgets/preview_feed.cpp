#include "editor/widgets/preview_feed.h"

#include <QItemSelectionModel>
#include <QMdiArea>

#include "editor/widgets/calyx_doc.h"
#include "editor/widgets/calyx_view.h"
#include "editor/widgets/child_frame.h"
#include "editor/widgets/main_frame.h"
#include "editor/widgets/preview_pane.h"
#include "editor/widgets/resource_list_ctrl.h"
#include "editor/widgets/resource_list_model.h"

namespace calyx::editor {

PreviewFeed::PreviewFeed(CMainFrame& frame, CPreviewPane& pane, QObject* parent)
    : QObject(parent), frame_(frame), pane_(pane) {
    connect(frame.mdiArea(), &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* window) {
        // A window that loses the focus to another program is no longer
        // active, yet its list is still the one to show.
        if (!window) window = frame_.mdiArea()->currentSubWindow();
        auto* child = qobject_cast<CChildFrame*>(window);
        follow(child ? &child->view() : nullptr);
    });
}

void PreviewFeed::follow(CCalyxView* view) {
    if (view == view_ && view) return;
    for (const auto& connection : connections_) disconnect(connection);
    connections_.clear();
    view_ = view;
    if (!view) {
        pane_.clear();
        return;
    }
    ResourceListModel& model = view->model();
    connections_ << connect(view->list().selectionModel(), &QItemSelectionModel::currentRowChanged, this,
                            &PreviewFeed::showCurrentRow);
    connections_ << connect(&model, &QAbstractItemModel::dataChanged, this, [this](const QModelIndex& first,
                                                                                   const QModelIndex& last) {
        const int row = view_ ? view_->list().currentIndex().row() : -1;
        if (row >= first.row() && row <= last.row()) pane_.refresh();
    });
    // A filter that keeps no row leaves nothing to show.
    connections_ << connect(&model, &QAbstractItemModel::modelReset, this, [this] {
        if (view_ && view_->model().rowCount() == 0) pane_.clear();
    });
    // Space on a row plays it (the row is the current one, which the pane shows).
    connections_ << connect(view, &CCalyxView::playRequested, this, [this](std::size_t resourceIndex) {
        if (!view_) return;
        bank::SoundBank& bank = view_->document().bank();
        if (pane_.shownResource() != bank.resourceAt(resourceIndex)) pane_.showResource(bank.resourceAt(resourceIndex), &bank);
        pane_.togglePlay();
    });
    // The view goes before its document and bank: the pane lets go first.
    connections_ << connect(view, &QObject::destroyed, this, [this] {
        pane_.clear();
        view_ = nullptr;
    });
    showCurrentRow();
}

void PreviewFeed::showCurrentRow() {
    if (!view_) return;
    const int row = view_->list().currentIndex().row();
    if (row < 0 || row >= view_->model().rowCount()) {
        pane_.clear();
        return;
    }
    bank::SoundBank& bank = view_->document().bank();
    bank::SoundResource* resource = bank.resourceAt(view_->model().resourceAtRow(row));
    // The same resource on another row (the rows were filtered or sorted):
    // what it plays goes on.
    if (resource == pane_.shownResource()) return;
    pane_.showResource(resource, &bank);
}

}  // namespace calyx::editor
