// The resource list: a report-style table of the document's resources with
// full-row selection, the system's default GUI font, a header click that
// sorts, and a tooltip for a cell whose text does not fit. The row under the
// focus has its commands (edit, play, export, reset) in a context menu and
// on keys; Home and End go to the first and the last row.
#pragma once

#include <QStringList>
#include <QTableView>
#include <map>
#include <optional>

#include "editor/core/row_commands.h"

class QMenu;

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
    // The resource of the current row, if any.
    std::optional<std::size_t> currentResource() const;
    // The action of a row command (its keys work while the list has the focus).
    QAction* rowAction(RowCommand command) const { return rowActions_.at(command); }
    // The context menu of the current row.
    QMenu* rowMenu() const { return rowMenu_; }
    // Shows only the rows that contain `text`; the current row stays when
    // it is kept, else the first row kept becomes current.
    void setFilterText(const QString& text);
    // Runs a row command on the current row (when it applies to it).
    void runRowCommand(RowCommand command);

signals:
    // A double-click on the Name cell of the row of this resource, or its
    // Edit command (Enter, F2).
    void resourceActivated(std::size_t resourceIndex);
    // The row's other commands: Play (Space), Export WAV..., Reset to the
    // bank's sound.
    void playRequested(std::size_t resourceIndex);
    void exportRequested(std::size_t resourceIndex);
    void resetRequested(std::size_t resourceIndex);
    // The user starts dragging the row of this resource.
    void dragRequested(std::size_t resourceIndex);
    // Files from the file manager dropped on the list but on no row: they
    // open as banks, as anywhere else in the window.
    void filesDroppedBesideRows(const QStringList& paths);

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void answerDrag(QDropEvent* event, Qt::DropAction effect);
    void createRowActions();
    // Greys the commands that do not apply to the current row.
    void updateRowActions();
    void showRowMenu(const QPoint& globalPoint);

    ResourceListModel* model_ = nullptr;
    ResourceDropTarget* dropTarget_ = nullptr;
    std::map<RowCommand, QAction*> rowActions_;
    QMenu* rowMenu_ = nullptr;
};

}  // namespace calyx::editor
