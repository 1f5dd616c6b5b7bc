#include "editor/widgets/calyx_view.h"

#include <QPainter>
#include <QPrinter>
#include <QVBoxLayout>

#include "editor/core/print_layout.h"
#include "editor/widgets/calyx_app.h"
#include "editor/widgets/calyx_doc.h"
#include "editor/widgets/listing_printer.h"
#include "editor/widgets/resource_drag_data.h"
#include "editor/widgets/resource_drag_drop.h"
#include "editor/widgets/resource_list_ctrl.h"
#include "editor/widgets/resource_list_model.h"

namespace calyx::editor {
namespace {
CCalyxView::EditHandler& editHandler() {
    static CCalyxView::EditHandler handler;
    return handler;
}
}  // namespace

CCalyxView::CCalyxView(CCalyxDoc& document, const GameStrings& strings, const audio::WaveDeviceLink& waveLink,
                       QWidget* parent)
    : QWidget(parent),
      document_(document),
      strings_(strings),
      deviceLink_(waveLink),
      model_(new ResourceListModel(document.bank(), strings, this)),
      list_(new CResourceListCtrl(this)) {
    setObjectName(QStringLiteral("resourceView"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(list_);
    list_->setResourceModel(model_);
    setFocusProxy(list_);

    bank::SoundBank& bank = document_.bank();
    bank.setDeviceLink(&deviceLink_);
    listenerHandle_ = bank.addChangeListener([this](bank::SoundResource& r) { onResourceChanged(r); });
    connect(list_, &CResourceListCtrl::resourceActivated, this, &CCalyxView::openResource);

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
    addMissingRows();
}

CCalyxView::~CCalyxView() {
    list_->setDropTarget(nullptr);
    bank::SoundBank& bank = document_.bank();
    bank.removeChangeListener(listenerHandle_);
    if (bank.deviceLink() == &deviceLink_) bank.setDeviceLink(nullptr);
}

void CCalyxView::setEditHandler(EditHandler handler) { editHandler() = std::move(handler); }

void CCalyxView::addMissingRows() { model_->addMissingRows(); }

void CCalyxView::onResourceChanged(bank::SoundResource& resource) {
    const int k = document_.bank().indexOfResource(&resource);
    if (k >= 0) model_->refreshResource(static_cast<std::size_t>(k));
    document_.setModified(true);
}

void CCalyxView::openResource(std::size_t resourceIndex) {
    bank::SoundResource* resource = document_.bank().resourceAt(resourceIndex);
    if (!resource) return;
    resource->setOwner(document_.bank().deviceLink());
    if (editHandler()) editHandler()(*resource, this);
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

void CCalyxView::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    addMissingRows();
}

}  // namespace calyx::editor
