#include "editor/widgets/resource_list_ctrl.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QCursor>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QPainter>
#include <QFontDatabase>
#include <QHeaderView>
#include <QHelpEvent>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QToolTip>

#include "editor/core/accessible_names.h"
#include "editor/core/resource_list.h"
#include "editor/widgets/calyx_app.h"
#include "editor/widgets/help.h"
#include "editor/widgets/resource_drag_drop.h"
#include "editor/widgets/qt_text.h"
#include "editor/widgets/resource_list_model.h"
#include "editor/widgets/window_settings.h"

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
    setAccessibleName(fromBuiltIn(accessible_name::resources.in(CCalyxApp::currentInterfaceLanguage())));
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
    // A long path keeps its file name in sight.
    setTextElideMode(Qt::ElideMiddle);
    setItemDelegate(new CutTextTipDelegate(this));
    // A row dragged onto another copies its sample (the view's drop rules).
    setDragEnabled(true);
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDropIndicatorShown(false);
    createRowActions();
}

void CResourceListCtrl::createRowActions() {
    const InterfaceLanguage language = CCalyxApp::currentInterfaceLanguage();
    rowMenu_ = new QMenu(this);
    rowMenu_->setObjectName(QStringLiteral("rowMenu"));
    for (const RowCommandEntry& entry : rowCommands()) {
        auto* action = new QAction(fromBuiltIn(entry.text.in(language)), this);
        QList<QKeySequence> keys;
        for (const std::string_view key : entry.keys) {
            if (!key.empty()) keys.append(QKeySequence(fromBuiltIn(key), QKeySequence::PortableText));
        }
        action->setShortcuts(keys);
        // The keys act on the list's current row, only while it has the focus.
        action->setShortcutContext(Qt::WidgetShortcut);
        action->setShortcutVisibleInContextMenu(true);
        addAction(action);
        rowMenu_->addAction(action);
        rowActions_[entry.command] = action;
        connect(action, &QAction::triggered, this, [this, command = entry.command] { runRowCommand(command); });
    }
    updateRowActions();
}

std::optional<std::size_t> CResourceListCtrl::currentResource() const {
    const QModelIndex index = currentIndex();
    if (!model_ || !index.isValid()) return std::nullopt;
    return model_->resourceAtRow(index.row());
}

void CResourceListCtrl::updateRowActions() {
    const auto resource = currentResource();
    const bank::SoundResource* r = resource ? model_->bank().resourceAt(*resource) : nullptr;
    for (const auto& [command, action] : rowActions_) action->setEnabled(r && rowCommandApplies(command, *r));
}

void CResourceListCtrl::runRowCommand(RowCommand command) {
    const auto resource = currentResource();
    const bank::SoundResource* r = resource ? model_->bank().resourceAt(*resource) : nullptr;
    if (!r || !rowCommandApplies(command, *r)) return;
    switch (command) {
    case RowCommand::Edit: emit resourceActivated(*resource); break;
    case RowCommand::Play: emit playRequested(*resource); break;
    case RowCommand::ExportWav: emit exportRequested(*resource); break;
    case RowCommand::ResetToBank: emit resetRequested(*resource); break;
    }
}

void CResourceListCtrl::setFilterText(const QString& text) {
    if (!model_) return;
    const auto wanted = currentResource();
    const int column = std::max(currentIndex().column(), 0);
    model_->setFilterText(text);
    int row = wanted ? model_->rowOfResource(*wanted) : -1;
    if (row < 0 && model_->rowCount() > 0) row = 0;
    if (row >= 0) {
        setCurrentIndex(model_->index(row, column));
        scrollTo(currentIndex());
    }
}

void CResourceListCtrl::showRowMenu(const QPoint& globalPoint) {
    updateRowActions();
    rowMenu_->popup(globalPoint);
}

std::optional<std::size_t> CResourceListCtrl::resourceAt(const QPoint& point) const {
    const QModelIndex index = indexAt(point);
    if (!model_ || !index.isValid()) return std::nullopt;
    return model_->resourceAtRow(index.row());
}

void CResourceListCtrl::startDrag(Qt::DropActions) {
    const QModelIndex index = currentIndex();
    if (model_ && index.isValid()) emit dragRequested(model_->resourceAtRow(index.row()));
}

void CResourceListCtrl::answerDrag(QDropEvent* event, Qt::DropAction effect) {
    if (effect == Qt::IgnoreAction) {
        event->ignore();
    } else {
        event->setDropAction(effect);
        event->accept();
    }
    viewport()->update();
}

void CResourceListCtrl::dragEnterEvent(QDragEnterEvent* event) {
    if (!dropTarget_) return event->ignore();
    // The feedback is one row high, across the list.
    dropTarget_->setFeedbackSize({viewport()->width(), verticalHeader()->defaultSectionSize()});
    // Entering is answered yes for the editor's rows wherever they are, so
    // that moves over the list keep being asked.
    const Qt::DropAction effect =
        dropTarget_->dragEnter(*event->mimeData(), event->modifiers(), event->position().toPoint());
    if (dropTarget_->draggingRow() || dropTarget_->draggingFiles()) {
        event->accept();
        if (effect != Qt::IgnoreAction) event->setDropAction(effect);
        viewport()->update();
    } else {
        answerDrag(event, Qt::IgnoreAction);
    }
}

void CResourceListCtrl::dragMoveEvent(QDragMoveEvent* event) {
    if (!dropTarget_) return event->ignore();
    answerDrag(event, dropTarget_->dragOver(event->modifiers(), event->position().toPoint()));
}

void CResourceListCtrl::dragLeaveEvent(QDragLeaveEvent* event) {
    if (dropTarget_) dropTarget_->dragLeave();
    event->accept();
    viewport()->update();
}

void CResourceListCtrl::dropEvent(QDropEvent* event) {
    if (!dropTarget_) return event->ignore();
    if (dropTarget_->draggingFiles()) {
        const auto drop = dropTarget_->dropFiles(*event->mimeData(), event->position().toPoint());
        if (drop.meaning == FileDragMeaning::NoDrop || drop.paths.isEmpty()) return answerDrag(event, Qt::IgnoreAction);
        answerDrag(event, Qt::CopyAction);
        // The files are taken once the drop is over: the program they came
        // from does not wait for the questions.
        QTimer::singleShot(0, this, [this, drop] {
            if (drop.meaning == FileDragMeaning::OpenAsBanks) {
                // Beside the rows the files open as banks, as anywhere else
                // in the window.
                emit filesDroppedBesideRows(drop.paths);
            } else if (dropTarget_ && drop.resourceIndex) {
                dropTarget_->replaceWithFiles(*drop.resourceIndex, drop.paths);
            }
        });
        return;
    }
    const DropOutcome outcome = dropTarget_->drop(event->position().toPoint());
    answerDrag(event, outcome == DropOutcome::Copied ? event->dropAction() : Qt::IgnoreAction);
}

void CResourceListCtrl::paintEvent(QPaintEvent* event) {
    QTableView::paintEvent(event);
    if (!dropTarget_) return;
    if (const auto rect = dropTarget_->feedback()) {
        // A dotted frame one row high under the mouse, drawn by hand: styles
        // draw focus frames only after a keyboard move, and a drag is none.
        QPainter painter(viewport());
        painter.setPen(QPen(palette().color(QPalette::Text), 1, Qt::DotLine));
        painter.drawRect(rect->adjusted(0, 0, -1, -1));
    }
}

void CResourceListCtrl::setResourceModel(ResourceListModel* model) {
    model_ = model;
    setModel(model);
    for (int column = 0; column < listColumnCount; ++column)
        setColumnWidth(column, listColumns[static_cast<std::size_t>(column)].width);
    rememberColumnWidths(*horizontalHeader());
    const auto sortBy = [this](int column) {
        if (!model_) return;
        model_->sortByColumn(column);
        horizontalHeader()->setSortIndicatorShown(true);
        horizontalHeader()->setSortIndicator(column, model_->ascending(column) ? Qt::AscendingOrder
                                                                               : Qt::DescendingOrder);
    };
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, sortBy);
    // The second of two quick clicks comes as a double-click: it sorts again.
    connect(horizontalHeader(), &QHeaderView::sectionDoubleClicked, this, sortBy);
    // The row commands follow the current row and what it shows.
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this, &CResourceListCtrl::updateRowActions);
    connect(model_, &QAbstractItemModel::dataChanged, this, &CResourceListCtrl::updateRowActions);
    connect(model_, &QAbstractItemModel::layoutChanged, this, &CResourceListCtrl::updateRowActions);
    connect(model_, &QAbstractItemModel::modelReset, this, &CResourceListCtrl::updateRowActions);
    updateRowActions();
}

void CResourceListCtrl::mouseDoubleClickEvent(QMouseEvent* event) {
    // Anywhere on the Name cell: the whole row is selected, not just the
    // name's text.
    const QModelIndex index = indexAt(event->position().toPoint());
    if (model_ && index.isValid() && index.column() == nameColumn)
        emit resourceActivated(model_->resourceAtRow(index.row()));
    QTableView::mouseDoubleClickEvent(event);
}

void CResourceListCtrl::keyPressEvent(QKeyEvent* event) {
    const int rows = model_ ? model_->rowCount() : 0;
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if ((event->key() == Qt::Key_Home || event->key() == Qt::Key_End) && rows > 0 &&
        (modifiers == Qt::NoModifier || modifiers == Qt::ControlModifier)) {
        // The first or the last row, in the column the cursor is in.
        const int column = std::max(currentIndex().column(), 0);
        const QModelIndex target = model_->index(event->key() == Qt::Key_Home ? 0 : rows - 1, column);
        setCurrentIndex(target);
        scrollTo(target);
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_F10 && modifiers == Qt::ShiftModifier) {
        // The other key of context menus.
        QContextMenuEvent menu(QContextMenuEvent::Keyboard, QPoint(), QCursor::pos());
        contextMenuEvent(&menu);
        return;
    }
    QTableView::keyPressEvent(event);
}

void CResourceListCtrl::contextMenuEvent(QContextMenuEvent* event) {
    event->accept();
    if (event->reason() == QContextMenuEvent::Keyboard) {
        // The Menu key: the current row's menu, beside that row.
        const QModelIndex current = currentIndex();
        if (!current.isValid()) return showHelp();
        scrollTo(current);
        const QRect row = visualRect(current);
        return showRowMenu(viewport()->mapToGlobal(QPoint(row.left() + 8, row.bottom())));
    }
    // The right button on a row makes it current and shows its menu;
    // anywhere else it asks for help, as it always did.
    const QModelIndex index = indexAt(event->pos());
    if (!model_ || !index.isValid()) return showHelp();
    setCurrentIndex(index);
    showRowMenu(event->globalPos());
}

}  // namespace calyx::editor
