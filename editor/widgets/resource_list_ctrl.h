// The resource list: a report-style table of the document's resources with
// full-row selection, the system's default GUI font, a header click that
// sorts, and a tooltip for a cell whose text does not fit.
#pragma once

#include <QStringList>
#include <QTableView>
#include <optional>

namespace calyx::editor {

class ResourceDropTarget;
class ResourceListModel;

inline constexpr int resourceListControlId = 0x8000;

class CResourceListCtrl : public QTableView {
    Q_OBJECT
public:
    explicit CResourceListCtrl(QWidget* parent = nullptr);

    // Shows `model`, sets the columns' widths and sorts on header clicks.
    void setResourceModel(ResourceListModel* model);
    ResourceListModel* resourceModel() const { return model_; }
    // The rules for rows dropped on the list (none: nothing is dropped).
    void setDropTarget(ResourceDropTarget* target) { dropTarget_ = target; }
    // The resource of the row at `point` of the list's viewport.
    std::optional<std::size_t> resourceAt(const QPoint& point) const;

signals:
    // A double-click on the label (Name cell) of the row of this resource.
    void resourceActivated(std::size_t resourceIndex);
    // The user starts dragging the row of this resource.
    void dragRequested(std::size_t resourceIndex);
    // Files from the file manager dropped on the list but on no row: they
    // open as banks, as anywhere else in the window.
    void filesDroppedBesideRows(const QStringList& paths);

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void answerDrag(QDropEvent* event, Qt::DropAction effect);

    ResourceListModel* model_ = nullptr;
    ResourceDropTarget* dropTarget_ = nullptr;
};

}  // namespace calyx::editor
