#include "editor/widgets/resource_edit_dlg.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QShortcut>
#include <QSlider>
#include <QTimer>
#include <QWhatsThis>
#include <algorithm>
#include <array>

#include "audio/playback.h"
#include "editor/core/game_strings.h"
#include "editor/core/link_table.h"
#include "editor/core/message_box.h"
#include "editor/core/messages.h"
#include "editor/widgets/dialog_units.h"
#include "editor/widgets/dropped_files.h"
#include "editor/widgets/localized_edit.h"
#include "editor/widgets/main_frame.h"
#include "editor/widgets/message_box.h"
#include "editor/widgets/preview_pane.h"
#include "editor/widgets/qt_text.h"
#include "editor/widgets/wav_file_dialog.h"

namespace calyx::editor {

namespace {

namespace id = resource_edit_dlg;

constexpr const char* captionFrench = "Modification de la ressource";
constexpr int dialogWidth = 307;
constexpr int dialogHeight = 151;

// Texts of the template, and the game's texts that replace them.
constexpr int captionTextId = 20;
constexpr int kindTextId = 21;
constexpr int kindSampleTextId = 25;
struct ControlText {
    int control;
    const char* french;
    int gameStringId;  // 0: the template's text stays
};
constexpr std::array controlTexts{
    ControlText{id::okButton, "OK", 27},
    ControlText{id::cancelButton, "Cancel", 28},
    ControlText{id::kindLine, "type de la ressource : échantillon sonore", 0},
    ControlText{id::fileNameLabel, "Nom de fichier:", 26},
    ControlText{id::browseButton, "Browse...", 29},
    ControlText{id::resetButton, "Reset", 0},
    ControlText{id::exportButton, "exporter Wav", 33},
    ControlText{id::volumeLabel, "volume associé à la ressource :", 55},
    ControlText{id::testCurrentButton, "Test current", 30},
    ControlText{id::testButton, "Test", 31},
};

// Where each control sits, in dialog units (left, top, width, height).
struct Place {
    int control;
    int x, y, width, height;
};
constexpr std::array templatePlaces{
    Place{id::okButton, 245, 5, 50, 14},       Place{id::cancelButton, 245, 25, 50, 14},
    Place{id::kindLine, 25, 5, 205, 15},       Place{id::commentLine, 25, 25, 215, 15},
    Place{id::fileNameLabel, 25, 55, 50, 15},  Place{id::loopingLine, 25, 75, 155, 15},
    Place{id::sizeLine, 25, 95, 150, 15},      Place{id::browseButton, 185, 75, 59, 20},
    Place{id::resetButton, 247, 75, 53, 20},   Place{id::exportButton, 185, 97, 59, 20},
    Place{id::volumeLabel, 25, 120, 50, 25},   Place{id::trackbar, 110, 120, 75, 15},
    Place{id::testCurrentButton, 185, 120, 60, 20}, Place{id::testButton, 248, 120, 52, 20},
};

// The two edit boxes are made in pixels of a dialog whose font measures 6 by
// 13 pixels; in dialog units they follow their labels at any font.
constexpr int rounded(int value, int numerator, int denominator) {
    return (value * numerator + denominator / 2) / denominator;
}
constexpr Place fromBasePixels(int control, int left, int top, int right, int bottom) {
    const int x = rounded(left, 4, 6);
    const int y = rounded(top, 8, 13);
    return {control, x, y, rounded(right, 4, 6) - x, rounded(bottom, 8, 13) - y};
}
constexpr Place fileNameBoxPlace = fromBasePixels(id::fileNameBox, 115, 87, 449, 106);
constexpr Place volumeBoxPlace = fromBasePixels(id::volumeBox, 128, 191, 158, 218);

// Help texts, by control.
struct HelpText {
    int control;
    int gameStringId;
};
constexpr std::array helpTexts{
    HelpText{id::okButton, 45},    HelpText{id::cancelButton, 46},      HelpText{id::fileNameBox, 41},
    HelpText{id::loopingLine, 42}, HelpText{id::sizeLine, 43},          HelpText{id::commentLine, 37},
    HelpText{id::resetButton, 44}, HelpText{id::browseButton, 47},      HelpText{id::testButton, 49},
    HelpText{id::testCurrentButton, 48}, HelpText{id::trackbar, 57},    HelpText{id::volumeBox, 56},
};

CResourceEditDlg::FileAsker& fileAsker() {
    static CResourceEditDlg::FileAsker asker;
    return asker;
}

std::string pathFromQString(const QString& path) { return QFile::encodeName(path).toStdString(); }

int controlIdOf(const QObject* object) {
    bool ok = false;
    const int value = object ? object->objectName().toInt(&ok) : 0;
    return ok ? value : 0;
}

}  // namespace

CResourceEditDlg::CResourceEditDlg(QWidget* ownerWindow, LinkTable& links, const GameStrings& strings)
    : QDialog(ownerWindow), strings_(strings), session_(*this, links, strings) {
    setObjectName(QString::number(id::templateId));
    setWindowTitle(QString::fromUtf8(captionFrench));
    setWindowFlag(Qt::WindowContextHelpButtonHint, true);
    setAcceptDrops(true);
    createControls();
}

CResourceEditDlg::~CResourceEditDlg() { session_.stopTest(); }

CResourceEditDlg::FileAsker CResourceEditDlg::setFileAsker(FileAsker asker) {
    return std::exchange(fileAsker(), std::move(asker));
}

void CResourceEditDlg::createControls() {
    const DialogUnits units = DialogUnits::of(*this);
    auto place = [&units](QWidget& widget, const Place& p) {
        widget.setObjectName(QString::number(p.control));
        placeInDialogUnits(widget, units, p.x, p.y, p.width, p.height);
    };
    auto templateText = [](int control) {
        for (const auto& t : controlTexts)
            if (t.control == control) return QString::fromUtf8(t.french);
        return QString();
    };
    for (const Place& p : templatePlaces) {
        QWidget* widget = nullptr;
        switch (p.control) {
            case id::trackbar: {
                trackbar_ = new QSlider(Qt::Horizontal, this);
                trackbar_->setRange(0, audio::maxVolume);
                trackbar_->setTickPosition(QSlider::NoTicks);
                trackbar_->setFocusPolicy(Qt::StrongFocus);
                widget = trackbar_;
                break;
            }
            case id::okButton:
            case id::cancelButton:
            case id::browseButton:
            case id::resetButton:
            case id::exportButton:
            case id::testCurrentButton:
            case id::testButton: {
                auto* button = new QPushButton(templateText(p.control), this);
                button->setAutoDefault(false);
                widget = button;
                break;
            }
            default: {
                auto* label = new QLabel(templateText(p.control), this);
                label->setTextFormat(Qt::PlainText);
                widget = label;
                break;
            }
        }
        place(*widget, p);
        widget->installEventFilter(this);
    }
    kindLine_ = findChild<QLabel*>(QString::number(id::kindLine));
    commentLine_ = findChild<QLabel*>(QString::number(id::commentLine));
    fileNameLabel_ = findChild<QLabel*>(QString::number(id::fileNameLabel));
    loopingLine_ = findChild<QLabel*>(QString::number(id::loopingLine));
    sizeLine_ = findChild<QLabel*>(QString::number(id::sizeLine));
    volumeLabel_ = findChild<QLabel*>(QString::number(id::volumeLabel));
    volumeLabel_->setAlignment(Qt::AlignRight | Qt::AlignTop);
    volumeLabel_->setWordWrap(true);

    fileNameBox_ = new CLocalizedEdit(strings_, this);
    place(*fileNameBox_, fileNameBoxPlace);
    // Files dropped on the box are dropped on the dialog.
    fileNameBox_->setAcceptDrops(false);
    fileNameBox_->installEventFilter(this);
    fileNameLabel_->setBuddy(fileNameBox_);
    volumeBox_ = new CLocalizedEdit(strings_, this);
    place(*volumeBox_, volumeBoxPlace);
    volumeBox_->setAcceptDrops(false);
    volumeBox_->installEventFilter(this);
    volumeLabel_->setBuddy(volumeBox_);

    // Tab order as the template lists its controls.
    setTabOrder(button(id::okButton), button(id::cancelButton));
    setTabOrder(button(id::cancelButton), fileNameBox_);
    setTabOrder(fileNameBox_, button(id::browseButton));
    setTabOrder(button(id::browseButton), button(id::resetButton));
    setTabOrder(button(id::resetButton), button(id::exportButton));
    setTabOrder(button(id::exportButton), trackbar_);
    setTabOrder(trackbar_, volumeBox_);
    setTabOrder(volumeBox_, button(id::testCurrentButton));
    setTabOrder(button(id::testCurrentButton), button(id::testButton));

    button(id::okButton)->setDefault(true);
    connect(button(id::okButton), &QPushButton::clicked, this, &CResourceEditDlg::accept);
    connect(button(id::cancelButton), &QPushButton::clicked, this, &CResourceEditDlg::reject);
    connect(button(id::browseButton), &QPushButton::clicked, this, &CResourceEditDlg::browse);
    connect(button(id::resetButton), &QPushButton::clicked, this, [this] { session_.reset(); });
    connect(button(id::exportButton), &QPushButton::clicked, this, &CResourceEditDlg::exportSample);
    connect(button(id::testButton), &QPushButton::clicked, this, &CResourceEditDlg::test);
    connect(button(id::testCurrentButton), &QPushButton::clicked, this, [this] { session_.testCurrent(); });
    // Only the user's moves reach the box: positions set by the dialog are
    // made with the trackbar's signals blocked.
    connect(trackbar_, &QSlider::valueChanged, this, [this] { session_.trackbarMoved(); });

    // Help on the focused control with F1; What's This (Shift+F1, or the
    // title bar's "?" where there is one) asks for the control clicked.
    auto* help = new QShortcut(QKeySequence::HelpContents, this);
    connect(help, &QShortcut::activated, this, [this] { helpOnControl(controlIdOf(focusWidget())); });
    auto* whatsThis = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F1), this);
    connect(whatsThis, &QShortcut::activated, this, [] { QWhatsThis::enterWhatsThisMode(); });

    setFixedSize(units.size(dialogWidth, dialogHeight));
    fitFileNameLabel();
    updateAccessibleNames();
}

// The template was drawn for a narrower font than many desktops have: a
// file name label that does not fit its place takes the width it lacks from
// the box beside it, which keeps at least half of its own.
void CResourceEditDlg::fitFileNameLabel() {
    const DialogUnits units = DialogUnits::of(*this);
    const auto labelPlace = std::find_if(templatePlaces.begin(), templatePlaces.end(),
                                         [](const Place& p) { return p.control == id::fileNameLabel; });
    const QRect label = units.rect(labelPlace->x, labelPlace->y, labelPlace->width, labelPlace->height);
    const QRect box =
        units.rect(fileNameBoxPlace.x, fileNameBoxPlace.y, fileNameBoxPlace.width, fileNameBoxPlace.height);
    const int lacking = std::clamp(fileNameLabel_->sizeHint().width() - label.width(), 0, box.width() / 2);
    fileNameLabel_->setGeometry(label.adjusted(0, 0, lacking, 0));
    fileNameBox_->setGeometry(box.adjusted(lacking, 0, 0, 0));
}

QPushButton* CResourceEditDlg::button(int control) const {
    return findChild<QPushButton*>(QString::number(control), Qt::FindDirectChildrenOnly);
}

void CResourceEditDlg::updateAccessibleNames() {
    setAccessibleName(windowTitle());
    fileNameBox_->setAccessibleName(fileNameLabel_->text());
    volumeBox_->setAccessibleName(volumeLabel_->text());
    trackbar_->setAccessibleName(volumeLabel_->text());
}

void CResourceEditDlg::bind(bank::SoundResource& resource, bank::SoundBank& bank,
                            const audio::WaveDeviceLink* deviceLink) {
    resource_ = &resource;
    session_.bind(resource, bank, deviceLink);
}

bool CResourceEditDlg::initialise() {
    if (!session_.initialise()) return false;
    applyGameTexts();
    return true;
}

int CResourceEditDlg::run() {
    if (!initialise()) return -1;
    return exec();
}

void CResourceEditDlg::applyGameTexts() {
    if (!strings_.AreGameStringsLoaded()) return;
    auto game = [this](int textId) { return fromGameText(strings_.GetGameString(textId).value_or(std::string())); };
    kindLine_->setText(game(kindTextId) + game(kindSampleTextId));
    for (const auto& t : controlTexts) {
        if (t.gameStringId == 0) continue;
        QWidget* widget = findChild<QWidget*>(QString::number(t.control), Qt::FindDirectChildrenOnly);
        if (auto* label = qobject_cast<QLabel*>(widget)) label->setText(game(t.gameStringId));
        if (auto* pushButton = qobject_cast<QPushButton*>(widget)) pushButton->setText(game(t.gameStringId));
    }
    const QString name = resource_ ? fromGameText(resource_->name()) : QString();
    setWindowTitle(game(captionTextId) + QLatin1Char('\'') + name + QLatin1Char('\''));
    fitFileNameLabel();
    updateAccessibleNames();
}

void CResourceEditDlg::helpOnControl(int control) {
    if (!strings_.AreGameStringsLoaded()) return;
    const QLabel* line = control == id::loopingLine   ? loopingLine_
                         : control == id::sizeLine    ? sizeLine_
                         : control == id::commentLine ? commentLine_
                                                      : nullptr;
    if (line && line->text().isEmpty()) return;
    for (const auto& h : helpTexts) {
        if (h.control != control) continue;
        if (const auto text = strings_.GetGameString(h.gameStringId)) {
            messageBox(UiText::fromGame(*text), message_style::information);
        }
        return;
    }
}

void CResourceEditDlg::accept() {
    if (session_.ok()) QDialog::accept();
}

void CResourceEditDlg::reject() {
    session_.cancel();
    QDialog::reject();
}

void CResourceEditDlg::hideEvent(QHideEvent* event) {
    session_.stopTest();
    QDialog::hideEvent(event);
}

void CResourceEditDlg::dragEnterEvent(QDragEnterEvent* event) {
    // Another program's drag data cannot always be read a second time at
    // the drop: the files are kept from here.
    draggedFiles_ = localFilesOf(*event->mimeData());
    if (!draggedFiles_.isEmpty()) event->acceptProposedAction();
}

void CResourceEditDlg::dropEvent(QDropEvent* event) {
    QStringList files = localFilesOf(*event->mimeData());
    if (files.isEmpty()) files = draggedFiles_;
    if (files.isEmpty()) return;
    event->acceptProposedAction();
    // The file is taken once the drop is over: the program it came from
    // does not wait for the dialog's messages and questions.
    const std::string path = pathFromQString(files.front());
    QTimer::singleShot(0, this, [this, path] { session_.dropFile(path); });
}

bool CResourceEditDlg::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::FocusOut:
            if (watched == volumeBox_) session_.readVolumeField();
            break;
        case QEvent::QueryWhatsThis:
            // Every control answers What's This.
            event->accept();
            return true;
        case QEvent::WhatsThis:
            QWhatsThis::leaveWhatsThisMode();
            helpOnControl(controlIdOf(watched));
            return true;
        default:
            break;
    }
    return QDialog::eventFilter(watched, event);
}

std::optional<QString> CResourceEditDlg::askWavFileFor(QWidget* parent, WavFileQuestion question,
                                                       const GameStrings& strings) {
    if (fileAsker()) return fileAsker()(parent, question);
    return askWavFile(parent, question, strings);
}

std::optional<QString> CResourceEditDlg::askFile(WavFileQuestion question) {
    return askWavFileFor(this, question, strings_);
}

void CResourceEditDlg::browse() {
    if (const auto path = askFile(WavFileQuestion::Browse)) session_.browse(pathFromQString(*path));
}

void CResourceEditDlg::test() {
    const std::uint32_t volumeWord = session_.beginTest();
    if (const auto path = askFile(WavFileQuestion::Test)) session_.testFile(pathFromQString(*path), volumeWord);
}

void CResourceEditDlg::exportSample() {
    if (const auto path = askFile(WavFileQuestion::Export)) session_.exportButton(pathFromQString(*path));
}

// The view the session sees.

std::string CResourceEditDlg::fileNameText() const {
    // The text the dialog put there is handed back in its own bytes.
    if (shownFileName_ && fileNameBox_->text() == shownFileName_->second) return shownFileName_->first;
    return pathFromQString(fileNameBox_->text());
}

void CResourceEditDlg::setFileNameText(const std::string& text) {
    // Names from the bank are the game's 8-bit text; paths are the system's.
    const QByteArray bytes = QByteArray::fromStdString(text);
    const QString shown = QFile::encodeName(QFile::decodeName(bytes)) == bytes ? QFile::decodeName(bytes)
                                                                                : fromGameText(text);
    shownFileName_ = std::make_pair(text, shown);
    fileNameBox_->setText(shown);
}

void CResourceEditDlg::setSizeLine(const UiText& text) { sizeLine_->setText(toQString(text)); }
void CResourceEditDlg::setLoopingLine(const UiText& text) { loopingLine_->setText(toQString(text)); }
void CResourceEditDlg::setCommentLine(const UiText& text) { commentLine_->setText(toQString(text)); }

std::string CResourceEditDlg::volumeText() const { return volumeBox_->text().toLatin1().toStdString(); }
void CResourceEditDlg::setVolumeText(const std::string& text) { volumeBox_->setText(fromGameText(text)); }

std::optional<int> CResourceEditDlg::trackbarPosition() const { return trackbar_->value(); }

void CResourceEditDlg::setTrackbarPosition(int position) {
    const QSignalBlocker quiet(trackbar_);
    trackbar_->setValue(position);
}

void CResourceEditDlg::showMessage(const UiText& text, unsigned style) { messageBox(text, style); }

bool editResource(QWidget* ownerWindow, bank::SoundResource& resource, bank::SoundBank& bank, LinkTable& links,
                  const GameStrings& strings, ConversionOffer offer) {
    if (!ResourceEditSession::opensDialogFor(resource)) return false;
    // One sound at a time: the preview's stops as the dialog opens.
    if (const auto* frame = ownerWindow ? qobject_cast<CMainFrame*>(ownerWindow->window()) : nullptr) {
        if (CPreviewPane* pane = frame->previewPane()) pane->stopSound();
    }
    CResourceEditDlg dialog(ownerWindow, links, strings);
    dialog.setConversionOffer(std::move(offer));
    dialog.bind(resource, bank, resource.owner());
    dialog.run();
    return true;
}

}  // namespace calyx::editor
