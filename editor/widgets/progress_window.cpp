#include "editor/widgets/progress_window.h"

#include <QCoreApplication>
#include <QProgressDialog>

namespace calyx::editor {
namespace {
// The bar counts in thousandths, whatever the job's unit.
constexpr int barSteps = 1000;
}  // namespace

ProgressWindow::ProgressWindow(QWidget* parent, const QString& label)
    : parent_(parent), label_(label), delay_(ProgressDelay::Clock::now()) {}

ProgressWindow::~ProgressWindow() { delete dialog_; }

void ProgressWindow::step(std::uint64_t done, std::uint64_t total) {
    if (!delay_.shows(ProgressDelay::Clock::now(), done, total)) {
        if (dialog_) dialog_->hide();
        return;
    }
    if (!dialog_) {
        dialog_ = new QProgressDialog(label_, QString(), 0, barSteps, parent_);
        dialog_->setObjectName(QStringLiteral("progress"));
        dialog_->setAccessibleName(label_);
        dialog_->setWindowModality(Qt::WindowModal);
        dialog_->setMinimumDuration(0);
        dialog_->setAutoClose(false);
        dialog_->setAutoReset(false);
    }
    const double share = total == 0 ? 0.0 : static_cast<double>(done) / static_cast<double>(total);
    dialog_->setValue(static_cast<int>(share * barSteps));
    if (!dialog_->isVisible()) dialog_->show();
    wasShown_ = true;
    // The job runs on this thread: the window paints between its steps.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace calyx::editor
