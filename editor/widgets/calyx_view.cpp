#include "editor/widgets/calyx_view.h"

#include <QAction>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPrinter>
#include <QVBoxLayout>

#include "editor/core/headless_dialog_view.h"
#include "editor/core/print_layout.h"
#include "editor/core/resource_filter.h"
#include "editor/core/row_commands.h"
#include "editor/widgets/calyx_app.h"
#include "editor/widgets/calyx_doc.h"
#include "editor/widgets/listing_printer.h"
#include "editor/widgets/message_box.h"
#include "editor/widgets/qt_text.h"
#include "editor/widgets/resource_drag_data.h"
#include "editor/widgets/resource_drag_drop.h"
#include "editor/widgets/resource_edit_dlg.h"
#include "editor/widgets/resource_list_ctrl.h"
#include "editor/widgets/resource_list_model.h"

namespace calyx::editor {

CCalyxView::CCalyxView(CCalyxDoc& document, const GameStrings& strings, const audio::WaveDeviceLink& waveLink,
                       QWidget* parent)
    : QWidget(parent),
      document_(document),
      strings_(strings),
      deviceLink_(waveLink),
      model_(new ResourceListModel(document.document(), strings, this)),
      list_(new CResourceListCtrl(this)) {
    setObjectName(QStringLiteral("resourceView"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    list_->setResourceModel(model_);
    createFilterBox();
    layout->addWidget(list_);
    setFocusProxy(list_);

    bank::SoundBank& bank = document_.bank();
    bank.setDeviceLink(&deviceLink_);
    connect(list_, &CResourceListCtrl::resourceActivated, this, &CCalyxView::openResource);
    connect(list_, &CResourceListCtrl::playRequested, this, &CCalyxView::playRequested);
    connect(list_, &CResourceListCtrl::exportRequested, this, &CCalyxView::exportResource);
    connect(list_, &CResourceListCtrl::resetRequested, this, &CCalyxView::resetResource);

    dragLink_ = std::make_unique<DragLink>();
    dropTarget_ = std::make_unique<ResourceDropTarget>(
        bank, document_.document().links(), strings_, [this](const QPoint& point) -> std::optional<int> {
            const auto resource = list_->resourceAt(point);
            if (!resource) return std::nullopt;
            return static_cast<int>(*resource);
        });
    dropTarget_->setConversionOffer(document_.conversionOffer());
    dropTarget_->setLanguage(document_.interfaceLanguage());
    list_->setDropTarget(dropTarget_.get());
    connect(list_, &CResourceListCtrl::dragRequested, this, [this](std::size_t resourceIndex) {
        startResourceDrag(list_, *dragLink_, document_.bank(), static_cast<int>(resourceIndex));
    });
}

CCalyxView::~CCalyxView() {
    list_->setDropTarget(nullptr);
    bank::SoundBank& bank = document_.bank();
    if (bank.deviceLink() == &deviceLink_) bank.setDeviceLink(nullptr);
}

void CCalyxView::openResource(std::size_t resourceIndex) {
    bank::SoundResource* resource = document_.bank().resourceAt(resourceIndex);
    if (!resource) return;
    resource->setOwner(document_.bank().deviceLink());
    emit editRequested(resourceIndex);
}

void CCalyxView::createFilterBox() {
    const InterfaceLanguage language = document_.interfaceLanguage();
    filterBox_ = new QLineEdit(this);
    filterBox_->setObjectName(QStringLiteral("findSound"));
    filterBox_->setPlaceholderText(fromBuiltIn(filter_text::placeholder.in(language)));
    filterBox_->setAccessibleName(fromBuiltIn(filter_text::name.in(language)));
    filterBox_->setClearButtonEnabled(true);
    filterBox_->installEventFilter(this);
    filterCount_ = new QLabel(this);
    // Its text is its name for a screen reader: "12 of 2,000".
    filterCount_->setObjectName(QStringLiteral("foundCount"));
    auto* row = new QHBoxLayout;
    row->setContentsMargins(2, 2, 6, 2);
    row->addWidget(filterBox_, 1);
    row->addWidget(filterCount_);
    static_cast<QVBoxLayout*>(layout())->addLayout(row);
    connect(filterBox_, &QLineEdit::textChanged, this, [this](const QString& text) {
        list_->setFilterText(text);
        updateFilterCount();
    });
    // Ctrl+F anywhere in this bank's window.
    auto* find = new QAction(this);
    find->setShortcuts(QKeySequence::Find);
    find->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addAction(find);
    connect(find, &QAction::triggered, this, [this] {
        filterBox_->setFocus(Qt::ShortcutFocusReason);
        filterBox_->selectAll();
    });
    updateFilterCount();
}

void CCalyxView::updateFilterCount() {
    filterCount_->setText(fromBuiltIn(filterCountText(static_cast<std::size_t>(model_->rowCount()),
                                                      static_cast<std::size_t>(model_->resourceCount()),
                                                      document_.interfaceLanguage())));
}

bool CCalyxView::eventFilter(QObject* watched, QEvent* event) {
    if (watched != filterBox_ || event->type() != QEvent::KeyPress) return QWidget::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    switch (key->key()) {
    case Qt::Key_Escape:
        // Escape clears the box; in an empty box it goes back to the list.
        if (filterBox_->text().isEmpty()) {
            list_->setFocus(Qt::OtherFocusReason);
        } else {
            filterBox_->clear();
        }
        return true;
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        // The rows found are chosen without leaving the box.
        QCoreApplication::sendEvent(list_, event);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        list_->runRowCommand(RowCommand::Edit);
        return true;
    default: return QWidget::eventFilter(watched, event);
    }
}

namespace {

// The edit dialog's messages, in message boxes.
HeadlessDialogView messagesInBoxes() {
    HeadlessDialogView view;
    view.onMessage = [](const UiText& text, unsigned style) { messageBox(text, style); };
    return view;
}

}  // namespace

void CCalyxView::exportResource(std::size_t resourceIndex) {
    bank::SoundResource* resource = document_.bank().resourceAt(resourceIndex);
    if (!resource) return;
    const auto path = CResourceEditDlg::askWavFileFor(this, WavFileQuestion::Export, strings_);
    if (!path) return;
    HeadlessDialogView view = messagesInBoxes();
    exportRowWav(*resource, document_.bank(), document_.document().links(), strings_, document_.interfaceLanguage(),
                 QFile::encodeName(*path).toStdString(), view);
}

void CCalyxView::resetResource(std::size_t resourceIndex) {
    bank::SoundResource* resource = document_.bank().resourceAt(resourceIndex);
    if (!resource) return;
    HeadlessDialogView view = messagesInBoxes();
    resetToBank(*resource, document_.bank(), document_.document().links(), strings_, document_.interfaceLanguage(),
                view);
}

void CCalyxView::printListing(QPrinter& printer) {
    QPainter painter;
    if (!painter.begin(&printer)) return;
    const ListingLayout layout = layOutListing(document_.bank(), printAreaOf(printer), listingWords(strings_));
    paintListing(painter, printer, layout, printer.fromPage(), printer.toPage());
    painter.end();
}

void CCalyxView::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    if (CCalyxApp* app = CCalyxApp::instance(); app && app->MenuNeedsRelabel()) app->RelabelMenus();
}

}  // namespace calyx::editor
