// Keeps the preview pane on the current row of the active document's
// resource list: a new current row, another active document, a change of
// the shown resource, a filter that keeps no row, or its document closing.
#pragma once

#include <QMetaObject>
#include <QObject>
#include <QPointer>

namespace calyx::editor {

class CCalyxView;
class CMainFrame;
class CPreviewPane;

class PreviewFeed : public QObject {
    Q_OBJECT
public:
    PreviewFeed(CMainFrame& frame, CPreviewPane& pane, QObject* parent = nullptr);

private:
    void follow(CCalyxView* view);
    void showCurrentRow();

    CMainFrame& frame_;
    CPreviewPane& pane_;
    QPointer<CCalyxView> view_;
    QList<QMetaObject::Connection> connections_;
};

}  // namespace calyx::editor
