#include "editor/widgets/calyx_view.h"

#include <QFile>
#include <QPainter>
#include <QPrinter>
#include <QVBoxLayout>

#include "editor/core/headless_dialog_view.h"
#include "editor/core/print_layout.h"
#include "editor/core/row_commands.h"
#include "editor/widgets/calyx_app.h"
#include "editor/widgets/calyx_doc.h"
#include "editor/widgets/listing_printer.h"
#include "editor/widgets/message_box.h"
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
    layout->addWidget(list_);
    list_->setResourceModel(model_);
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
