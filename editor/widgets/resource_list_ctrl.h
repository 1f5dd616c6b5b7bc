// The resource list: a report-style table of the document's resources with
// full-row selection, the system's default GUI font, a header click that
// sorts, and a tooltip for a cell whose text does not fit.
#pragma once

#include <QTableView>

namespace calyx::editor {

class ResourceListModel;

inline constexpr int resourceListControlId = 0x8000;

class CResourceListCtrl : public QTableView {
    Q_OBJECT
public:
    explicit CResourceListCtrl(QWidget* parent = nullptr);

    // Shows `model`, sets the columns' widths and sorts on header clicks.
    void setResourceModel(ResourceListModel* model);
    ResourceListModel* resourceModel() const { return model_; }

signals:
    // A double-click on the label (Name cell) of the row of this resource.
    void resourceActivated(std::size_t resourceIndex);

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    ResourceListModel* model_ = nullptr;
};

}  // namespace calyx::editor
