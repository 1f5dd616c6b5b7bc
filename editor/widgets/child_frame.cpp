#include "editor/widgets/child_frame.h"

#include <QCloseEvent>

#include "editor/widgets/calyx_app.h"
#include "editor/widgets/calyx_doc.h"
#include "editor/widgets/calyx_view.h"

namespace calyx::editor {

CChildFrame::CChildFrame(std::unique_ptr<CCalyxDoc> document, std::function<CCalyxView*(CCalyxDoc&)> makeView,
                         QWidget* parent)
    : QMdiSubWindow(parent), document_(std::move(document)), view_(makeView(*document_)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWidget(view_);
    if (CCalyxApp* app = CCalyxApp::instance()) setWindowIcon(app->GetAppIcon(app_icon::document));
    connect(document_.get(), &CCalyxDoc::titleChanged, this, &CChildFrame::updateTitle);
    connect(document_.get(), &CCalyxDoc::modifiedChanged, this, &CChildFrame::setWindowModified);
    updateTitle();
}

CChildFrame::~CChildFrame() {
    // The view leaves the bank before the document (and its bank) goes.
    delete view_;
    view_ = nullptr;
    document_->document().releaseLinks();
}

void CChildFrame::updateTitle() {
    setWindowTitle(document_->title() + QStringLiteral("[*]"));
    setWindowModified(document_->isModified());
    setAccessibleName(document_->title());
}

void CChildFrame::closeEvent(QCloseEvent* event) {
    if (!document_->askToSave(save_ ? save_ : [] { return false; })) {
        event->ignore();
        return;
    }
    QMdiSubWindow::closeEvent(event);
}

void CChildFrame::contextMenuEvent(QContextMenuEvent* event) { event->ignore(); }

bool CChildFrame::event(QEvent* event) {
    // Help requests on the frame itself are ignored, as the main frame does.
    if (event->type() == QEvent::WhatsThis || event->type() == QEvent::QueryWhatsThis) {
        event->ignore();
        return true;
    }
    return QMdiSubWindow::event(event);
}

}  // namespace calyx::editor
