// The progress of a long job run on the user-interface thread (a save, an
// export of every sample): a window with a bar that appears only when the
// job outlasts the delay, kept painted by each step the job reports.
#pragma once

#include <QPointer>
#include <QString>
#include <cstdint>

#include "editor/core/progress_delay.h"

class QProgressDialog;
class QWidget;

namespace calyx::editor {

class ProgressWindow {
public:
    ProgressWindow(QWidget* parent, const QString& label);
    ~ProgressWindow();
    ProgressWindow(const ProgressWindow&) = delete;
    ProgressWindow& operator=(const ProgressWindow&) = delete;

    // The job has done `done` of `total` steps.
    void step(std::uint64_t done, std::uint64_t total);
    // Whether the window has been shown (tests).
    bool wasShown() const { return wasShown_; }

private:
    QWidget* parent_;
    QString label_;
    ProgressDelay delay_;
    QPointer<QProgressDialog> dialog_;
    bool wasShown_ = false;
};

}  // namespace calyx::editor
