// The window of one document inside the main frame: it holds the document
// and its view, shows the file name with a modified mark, and asks before a
// modified document closes.
#pragma once

#include <QMdiSubWindow>
#include <functional>
#include <memory>

namespace calyx::editor {

class CCalyxDoc;
class CCalyxView;

class CChildFrame : public QMdiSubWindow {
    Q_OBJECT
public:
    // Takes the document; the view is made on it.
    CChildFrame(std::unique_ptr<CCalyxDoc> document, std::function<CCalyxView*(CCalyxDoc&)> makeView,
                QWidget* parent = nullptr);
    ~CChildFrame() override;

    CCalyxDoc& document() { return *document_; }
    CCalyxView& view() { return *view_; }

    // Runs File > Save for this document when the close question is
    // answered Yes.
    void setSaveHandler(std::function<bool()> save) { save_ = std::move(save); }

protected:
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool event(QEvent* event) override;

private:
    void updateTitle();

    std::unique_ptr<CCalyxDoc> document_;
    CCalyxView* view_;
    std::function<bool()> save_;
};

}  // namespace calyx::editor
