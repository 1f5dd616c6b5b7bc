#include "editor/widgets/resource_list_ctrl.h"

#include <QContextMenuEvent>
#include <QFontDatabase>
#include <QHeaderView>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QStyledItemDelegate>
#include <QToolTip>

#include "editor/core/resource_list.h"
#include "editor/widgets/help.h"
#include "editor/widgets/resource_list_model.h"

namespace calyx::editor {
namespace {

// Shows a cell's whole text as a tooltip only when the cell cuts it.
class CutTextTipDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override {
        if (event->type() != QEvent::ToolTip) return QStyledItemDelegate::helpEvent(event, view, option, index);
        const QString text = index.data(Qt::DisplayRole).toString();
        const int room = option.rect.width() - 2 * (view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1);
        if (text.isEmpty() || option.fontMetrics.horizontalAdvance(text) <= room) {
            QToolTip::hideText();
            event->ignore();
            return true;
        }
        QToolTip::showText(event->globalPos(), text, view);
        return true;
    }
};

}  // namespace

CResourceListCtrl::CResourceListCtrl(QWidget* parent) : QTableView(parent) {
    setObjectName(QStringLiteral("resourceList"));
    setAccessibleName(tr("Resources"));
    setFont(QFontDatabase::systemFont(QFontDatabase::GeneralFont));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(false);
    setWordWrap(false);
    setTextElideMode(Qt::ElideRight);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setStretchLastSection(false);
    setItemDelegate(new CutTextTipDelegate(this));
}

void CResourceListCtrl::setResourceModel(ResourceListModel* model) {
    model_ = model;
    setModel(model);
    for (int column = 0; column < listColumnCount; ++column)
        setColumnWidth(column, listColumns[static_cast<std::size_t>(column)].width);
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int column) {
        if (!model_) return;
        model_->sortByColumn(column);
        horizontalHeader()->setSortIndicatorShown(true);
        horizontalHeader()->setSortIndicator(column, model_->ascending(column) ? Qt::AscendingOrder
                                                                               : Qt::DescendingOrder);
    });
}

void CResourceListCtrl::mouseDoubleClickEvent(QMouseEvent* event) {
    const QModelIndex index = indexAt(event->position().toPoint());
    // Only the label opens the resource: the Name cell, where its text is.
    if (model_ && index.isValid() && index.column() == nameColumn) {
        const QRect cell = visualRect(index);
        const int textWidth = fontMetrics().horizontalAdvance(index.data().toString()) + 8;
        if (event->position().toPoint().x() < cell.left() + std::max(textWidth, 16))
            emit resourceActivated(model_->resourceAtRow(index.row()));
    }
    QTableView::mouseDoubleClickEvent(event);
}

void CResourceListCtrl::contextMenuEvent(QContextMenuEvent* event) {
    openHelp();
    event->accept();
}

}  // namespace calyx::editor
