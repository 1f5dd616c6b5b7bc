#include "editor/widgets/resource_list_model.h"

#include <algorithm>
#include <numeric>

#include "editor/widgets/qt_text.h"

namespace calyx::editor {

ResourceListModel::ResourceListModel(BankDocument& document, const GameStrings& strings, QObject* parent)
    : QAbstractTableModel(parent), document_(document), bank_(document.bank()), strings_(strings), filter_(bank_) {
    order_.resize(bank_.resourceCount());
    std::iota(order_.begin(), order_.end(), std::size_t{0});
    shown_.assign(order_.size(), true);
    rows_ = order_;
    listenerHandle_ = document_.addListener([this](const DocumentChange& change) {
        if (change.kind != DocumentChange::Kind::Resource) return;
        filter_.forget(change.resource);
        refreshResource(change.resource);
    });
}

ResourceListModel::~ResourceListModel() { document_.removeListener(listenerHandle_); }

int ResourceListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int ResourceListModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : listColumnCount; }

Qt::ItemFlags ResourceListModel::flags(const QModelIndex& index) const {
    const Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    return index.isValid() ? flags | Qt::ItemIsDragEnabled | Qt::ItemIsDropEnabled : flags;
}

QVariant ResourceListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const std::size_t resource = rows_[static_cast<std::size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole: return toQString(cellText(bank_, resource, index.column()));
    case resourceIndexRole: return QVariant::fromValue(static_cast<qulonglong>(resource));
    case Qt::TextAlignmentRole: return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    default: return {};
    }
}

QVariant ResourceListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= listColumnCount) return {};
    if (role == Qt::DisplayRole) return fromGameText(strings_.columnTitle(section));
    if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    return {};
}

void ResourceListModel::sortByColumn(int column) {
    directions_.flip(column);
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    std::vector<std::size_t> resources;
    resources.reserve(static_cast<std::size_t>(before.size()));
    for (const QModelIndex& index : before) resources.push_back(rows_[static_cast<std::size_t>(index.row())]);
    sortRows(order_, bank_, column, directions_);
    rows_.clear();
    for (const std::size_t resource : order_)
        if (shown_[resource]) rows_.push_back(resource);
    std::vector<int> rowOf(bank_.resourceCount() + 1, -1);
    for (std::size_t row = 0; row < rows_.size(); ++row)
        if (rows_[row] < rowOf.size()) rowOf[rows_[row]] = static_cast<int>(row);
    QModelIndexList after;
    after.reserve(before.size());
    for (qsizetype i = 0; i < before.size(); ++i)
        after.push_back(this->index(rowOf[resources[static_cast<std::size_t>(i)]], before[i].column()));
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void ResourceListModel::setFilterText(const QString& text) {
    beginResetModel();
    filter_.setText(text.toStdString());
    rows_.clear();
    for (const std::size_t resource : order_) {
        shown_[resource] = filter_.matches(resource);
        if (shown_[resource]) rows_.push_back(resource);
    }
    endResetModel();
}

int ResourceListModel::rowOfResource(std::size_t resourceIndex) const {
    const auto found = std::find(rows_.begin(), rows_.end(), resourceIndex);
    return found == rows_.end() ? -1 : static_cast<int>(found - rows_.begin());
}

bool ResourceListModel::refreshResource(std::size_t resourceIndex) {
    const int row = rowOfResource(resourceIndex);
    if (row < 0) return false;
    emit dataChanged(index(row, 0), index(row, listColumnCount - 1));
    return true;
}

}  // namespace calyx::editor
