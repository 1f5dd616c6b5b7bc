// The dialog in which the user changes one sample resource: its sample (a
// WAV file typed, browsed or dropped, or back to the bank's own with
// "Reset"), its volume (trackbar and number box kept in step), a test of
// any WAV file or of the resource, and the export of its sample.
//
// The dialog only shows and asks: every procedure behind its buttons is the
// widget-free `ResourceEditSession`, which it serves as its view. Nothing
// reaches the resource before OK; Cancel (or closing the window) leaves it
// untouched, and the test sound never outlives the dialog.
#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "audio/wave_device_link.h"
#include "bank/sound_bank.h"
#include "editor/core/edit_dialog_view.h"
#include "editor/core/resource_edit_session.h"
#include "editor/widgets/wav_file_dialog.h"

class QLabel;
class QPushButton;
class QSlider;

namespace calyx::editor {

class CLocalizedEdit;
class GameStrings;
class LinkTable;

namespace resource_edit_dlg {
inline constexpr int templateId = 130;
// Controls; each widget's object name is its id.
inline constexpr int okButton = 1;
inline constexpr int cancelButton = 2;
inline constexpr int fileNameBox = 1002;
inline constexpr int loopingLine = 1004;
inline constexpr int sizeLine = 1005;
inline constexpr int commentLine = 1006;
inline constexpr int resetButton = 1007;
inline constexpr int browseButton = 1008;
inline constexpr int fileNameLabel = 1009;
inline constexpr int kindLine = 1010;
inline constexpr int testButton = 1011;
inline constexpr int testCurrentButton = 1012;
inline constexpr int volumeLabel = 1013;
inline constexpr int trackbar = 1014;
inline constexpr int exportButton = 1015;
inline constexpr int volumeBox = 0x8001;
}  // namespace resource_edit_dlg

class CResourceEditDlg : public QDialog, private EditDialogView {
    Q_OBJECT
public:
    CResourceEditDlg(QWidget* ownerWindow, LinkTable& links, const GameStrings& strings);
    ~CResourceEditDlg() override;

    // Binds the dialog to `resource` of `bank`, playing through `deviceLink`.
    void bind(bank::SoundResource& resource, bank::SoundBank& bank, const audio::WaveDeviceLink* deviceLink);
    // Fills the dialog from its resource and runs it modally: QDialog's
    // Accepted or Rejected, or -1 when it could not be initialised.
    int run();
    // Fills the dialog without running it; false when it must end at once.
    bool initialise();

    // Help on the control `controlId` (the "?" button, What's This or F1):
    // its help text in an information box, only with the game's texts.
    void helpOnControl(int controlId);

    // Who answers the file dialogs: the toolkit's by default; tests answer
    // with a path. Nothing means the user cancelled. Answers the asker
    // that was in place.
    using FileAsker = std::function<std::optional<QString>(QWidget* parent, WavFileQuestion question)>;
    static FileAsker setFileAsker(FileAsker asker);
    // Asks through that asker (the list's Export WAV... asks the same way).
    static std::optional<QString> askWavFileFor(QWidget* parent, WavFileQuestion question,
                                                const GameStrings& strings);

    const ResourceEditSession& session() const { return session_; }
    // A WAV file refused for its format is offered for conversion.
    void setConversionOffer(ConversionOffer offer) { session_.setConversionOffer(std::move(offer)); }

public slots:
    // OK: commits when the session lets the dialog close.
    void accept() override;
    // Cancel, Escape and the window's close button.
    void reject() override;

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    // EditDialogView.
    std::string fileNameText() const override;
    void setFileNameText(const std::string& text) override;
    void setSizeLine(const UiText& text) override;
    void setLoopingLine(const UiText& text) override;
    void setCommentLine(const UiText& text) override;
    std::string volumeText() const override;
    void setVolumeText(const std::string& text) override;
    std::optional<int> trackbarPosition() const override;
    void setTrackbarPosition(int position) override;
    void showMessage(const UiText& text, unsigned style) override;

    void createControls();
    QPushButton* button(int control) const;
    void updateAccessibleNames();
    void fitFileNameLabel();
    void applyGameTexts();
    void browse();
    void test();
    void exportSample();
    std::optional<QString> askFile(WavFileQuestion question);

    const GameStrings& strings_;
    ResourceEditSession session_;
    bank::SoundResource* resource_ = nullptr;
    CLocalizedEdit* fileNameBox_ = nullptr;
    CLocalizedEdit* volumeBox_ = nullptr;
    QSlider* trackbar_ = nullptr;
    QLabel* kindLine_ = nullptr;
    QLabel* commentLine_ = nullptr;
    QLabel* fileNameLabel_ = nullptr;
    QLabel* loopingLine_ = nullptr;
    QLabel* sizeLine_ = nullptr;
    QLabel* volumeLabel_ = nullptr;
    // The local files of the drag over the dialog, as it entered.
    QStringList draggedFiles_;
    // The bytes last put in the file-name box, and how the box shows them.
    std::optional<std::pair<std::string, QString>> shownFileName_;
};

// Opens the dialog on `resource` of `bank` for the view `ownerWindow`, the
// resource playing through its owner link. Only a sample that names a file
// gets a dialog: false for any other resource.
bool editResource(QWidget* ownerWindow, bank::SoundResource& resource, bank::SoundBank& bank, LinkTable& links,
                  const GameStrings& strings, ConversionOffer offer = {});

}  // namespace calyx::editor
