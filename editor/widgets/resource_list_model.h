// The rows of the resource list over a bank document: one row per resource,
// each row tied to its resource's index (never to its position, which a sort
// changes). The rows are made once, with the model: a document's resources
// neither come nor go after it opened. The model hears the document's changes
// itself and refreshes the row of each changed resource. Cell texts are made
// when the view asks for them, so filling the list with thousands of
// resources costs no more than its row indices. A filter text keeps only the
// rows that contain it; the sort orders every resource, shown or not.
#pragma once

#include <QAbstractTableModel>
#include <cstddef>
#include <vector>

#include "bank/sound_bank.h"
#include "editor/core/bank_document.h"
#include "editor/core/game_strings.h"
#include "editor/core/resource_filter.h"
#include "editor/core/resource_list.h"

namespace calyx::editor {

class ResourceListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // The row's resource index (the list's item data).
    static constexpr int resourceIndexRole = Qt::UserRole;

    // `document` outlives the model.
    ResourceListModel(BankDocument& document, const GameStrings& strings, QObject* parent = nullptr);
    ~ResourceListModel() override;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    // Rows can be dragged onto one another.
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Flips the column's direction and sorts by it.
    void sortByColumn(int column);
    bool ascending(int column) const { return directions_.ascending(column); }
    // Refreshes the cells of the resource's row, wherever a sort put it.
    // False when no row shows that resource.
    bool refreshResource(std::size_t resourceIndex);

    // Keeps only the rows of resources that contain `text` (the model is
    // reset; the view puts its current row back). A resource that changes
    // keeps its row until the text changes again.
    void setFilterText(const QString& text);
    // How many resources the document has, shown or not.
    int resourceCount() const { return static_cast<int>(order_.size()); }

    // -1 when no row shows the resource.
    int rowOfResource(std::size_t resourceIndex) const;
    std::size_t resourceAtRow(int row) const { return rows_.at(static_cast<std::size_t>(row)); }
    bank::SoundBank& bank() const { return bank_; }

private:
    BankDocument& document_;
    bank::SoundBank& bank_;
    const GameStrings& strings_;
    // Every resource in the sort's order, whether shown (`shown_`), and the
    // rows shown, in that order.
    std::vector<std::size_t> order_;
    std::vector<bool> shown_;
    std::vector<std::size_t> rows_;
    ResourceFilter filter_;
    SortDirections directions_;
    int listenerHandle_ = 0;
};

}  // namespace calyx::editor
