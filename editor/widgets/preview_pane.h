// The preview pane: a dock beside the documents showing the selected
// resource's waveform with its loop, its duration and size, and Play/Stop
// buttons that play it as the edit dialog's "Test current" does. CD tracks
// and empty slots say what they are.
#pragma once

#include <QDockWidget>
#include <memory>

#include "editor/core/headless_dialog_view.h"
#include "editor/core/interface_language.h"
#include "editor/core/sample_preview.h"

class QLabel;
class QPushButton;

namespace calyx::bank {
class SoundBank;
class SoundResource;
}  // namespace calyx::bank

namespace calyx::editor {

class GameStrings;
class LinkTable;
class ResourceEditSession;

// Draws a waveform summary stretched over the widget's width, a centre
// line, and the loop's start and end as markers.
class CWaveformView : public QWidget {
    Q_OBJECT
public:
    explicit CWaveformView(QWidget* parent = nullptr);
    void setPreview(const SamplePreview& preview) { preview_ = &preview; update(); }
    // Narrow enough to leave most of the main window to the banks.
    QSize sizeHint() const override { return {200, 120}; }
    QSize minimumSizeHint() const override { return {120, 60}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const SamplePreview* preview_ = nullptr;
};

class CPreviewPane : public QDockWidget {
    Q_OBJECT
public:
    CPreviewPane(LinkTable& links, const GameStrings& strings, InterfaceLanguage language, QWidget* parent = nullptr);
    ~CPreviewPane() override;

    // Shows `resource` of `bank` (both must outlive the pane's showing them:
    // clear() before a bank closes); null clears the pane. Any sound the
    // pane was playing stops.
    void showResource(bank::SoundResource* resource, bank::SoundBank* bank);
    void clear() { showResource(nullptr, nullptr); }
    // Reads the shown resource again (after it changed).
    void refresh();
    // Ends the sound the pane plays, if any.
    void stopSound();
    // Plays the shown resource, or stops it when its sound is still playing
    // (Space on a row of the list).
    void togglePlay();
    // Whether the sound the pane started is still playing.
    bool isPlaying() const;

    bank::SoundResource* shownResource() const { return resource_; }
    const SamplePreview& preview() const { return preview_; }
    QPushButton* playButton() const { return play_; }
    QPushButton* stopButton() const { return stop_; }
    QString headingText() const;
    // The name of what the pane shows (empty when nothing is shown).
    QString nameText() const;
    QString detailsText() const;

    // How many columns a summary has, whatever the pane's width: enough for
    // a wide screen, few enough to stay quick while moving through a list.
    static constexpr int summaryColumns = 1000;

private:
    void play();
    void stop();
    void showLines();

    LinkTable& links_;
    const GameStrings& strings_;
    InterfaceLanguage language_;
    bank::SoundResource* resource_ = nullptr;
    bank::SoundBank* bank_ = nullptr;
    SamplePreview preview_;
    HeadlessDialogView view_;
    std::unique_ptr<ResourceEditSession> session_;
    CWaveformView* waveform_;
    QLabel* name_;
    QLabel* heading_;
    QLabel* details_;
    QLabel* loop_;
    QPushButton* play_;
    QPushButton* stop_;
};

}  // namespace calyx::editor
