// The resource edit dialog as a person uses it: its layout and texts, a
// whole edit (browse, test, volume, OK), Cancel, every refusal, the volume
// box and trackbar kept in step, help on its controls, and playing without
// a sound device.
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QSlider>
#include <QUrl>
#include <QWhatsThis>

#include "bank/save_document.h"
#include "bank_test_support.h"
#include "editor/core/link_table.h"
#include "editor/core/message_box.h"
#include "editor/widgets/dialog_units.h"
#include "editor/widgets/message_box.h"
#include "editor/widgets/resource_edit_dlg.h"
#include "fixtures/wav_builder.h"
#include "widget_test_support.h"

namespace calyx::editor {

namespace id = resource_edit_dlg;
using test::Bytes;

class ResourceEditDlgTest : public QObject {
    Q_OBJECT

    struct Message {
        QString text;
        unsigned style;
    };

    std::unique_ptr<fixtures::TempDir> dir_;
    std::unique_ptr<bank::SoundBank> bank_;
    std::unique_ptr<test::RecordedDevice> device_;
    LinkTable links_;
    GameStrings french_;
    std::vector<Message> messages_;
    std::optional<QString> answer_;  // what the next file dialog answers
    std::vector<WavFileQuestion> asked_;

    // A bank of a plain sample, a looping one, one without a file and a CD track.
    void openDemoBank(bool deviceOpens = true) {
        fixtures::BankSpec spec;
        spec.resources = {test::sample(1, fixtures::patternBytes(40, 1), "ONE.WAV"),
                          test::sample(2, fixtures::patternBytes(24, 2), "TWO.WAV"),
                          test::sample(3, fixtures::patternBytes(16, 3), "xxxxxxxxxxxx")};
        spec.resources[1].looping = true;
        spec.resources[1].loopEnd = 12;
        fixtures::ResourceSpec cd;
        cd.id = 4;
        cd.kind = 3;
        cd.stored = 0;
        spec.resources.push_back(cd);
        bank_ = test::openBankFile(test::writeBank(*dir_, "DEMO.BNM", spec));
        device_ = std::make_unique<test::RecordedDevice>(deviceOpens);
        for (std::size_t i = 0; i < bank_->resourceCount(); ++i) bank_->resourceAt(i)->setOwner(&device_->link);
    }

    std::unique_ptr<CResourceEditDlg> openDialog(std::size_t index, const GameStrings& strings) {
        auto dialog = std::make_unique<CResourceEditDlg>(nullptr, links_, strings);
        bank::SoundResource& r = *bank_->resourceAt(index);
        dialog->bind(r, *bank_, r.owner());
        if (!dialog->initialise()) qFatal("dialog not initialised");
        dialog->show();
        QApplication::setActiveWindow(dialog.get());
        if (!QTest::qWaitForWindowActive(dialog.get())) qFatal("dialog not active");
        return dialog;
    }

    std::string wav(const std::string& name, const Bytes& samples, const fixtures::PcmFormat& format = {}) {
        const std::string path = *dir_ / name;
        fixtures::writeBytes(path, fixtures::simpleWav(samples, format));
        return path;
    }

    template <typename W = QWidget>
    static W* control(QDialog& dialog, int controlId) {
        auto* widget = dialog.findChild<W*>(QString::number(controlId));
        if (!widget) qFatal("control %d missing", controlId);
        return widget;
    }
    static QLineEdit* fileNameBox(QDialog& d) { return control<QLineEdit>(d, id::fileNameBox); }
    static QLineEdit* volumeBox(QDialog& d) { return control<QLineEdit>(d, id::volumeBox); }
    static QSlider* trackbar(QDialog& d) { return control<QSlider>(d, id::trackbar); }
    static QString line(QDialog& d, int controlId) { return control<QLabel>(d, controlId)->text(); }
    static void click(QDialog& d, int controlId) {
        QTest::mouseClick(control<QPushButton>(d, controlId), Qt::LeftButton);
    }
    static void type(QLineEdit* box, const QString& text) {
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, text);
    }

    QStringList messageTexts() const {
        QStringList texts;
        for (const auto& m : messages_) texts << m.text;
        return texts;
    }

    // Drops `urls` (local files, or web addresses too) on the dialog; false
    // when the dialog refused them as they entered.
    bool dropUrls(QDialog& dialog, const QList<QUrl>& urls) {
        QMimeData data;
        data.setUrls(urls);
        const QPoint at = dialog.rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&dialog, &enter);
        if (!enter.isAccepted()) return false;
        QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&dialog, &drop);
        // The file is taken once the drop is over.
        QCoreApplication::processEvents();
        return true;
    }
    void dropFiles(QDialog& dialog, const QStringList& paths) {
        QList<QUrl> urls;
        for (const auto& p : paths) urls << QUrl::fromLocalFile(p);
        QVERIFY(dropUrls(dialog, urls));
    }

private slots:
    void initTestCase() {
        setMessageBoxHook([this](const QString& text, unsigned style, unsigned) {
            messages_.push_back({text, style});
            return MessageResult::Ok;
        });
        CResourceEditDlg::setFileAsker([this](QWidget*, WavFileQuestion question) {
            asked_.push_back(question);
            return std::exchange(answer_, std::nullopt);
        });
    }

    void init() {
        dir_ = std::make_unique<fixtures::TempDir>();
        messages_.clear();
        asked_.clear();
        answer_.reset();
        openDemoBank();
    }

    void cleanup() {
        bank_.reset();
        device_.reset();
    }

    void controlsSitAtTheirTemplatePlaces() {
        auto dialog = openDialog(0, french_);
        const DialogUnits units = DialogUnits::of(*dialog);
        const struct {
            int control;
            int x, y, w, h;
        } places[] = {{id::okButton, 245, 5, 50, 14},      {id::cancelButton, 245, 25, 50, 14},
                      {id::kindLine, 25, 5, 205, 15},      {id::sizeLine, 25, 95, 150, 15},
                      {id::trackbar, 110, 120, 75, 15},    {id::testButton, 248, 120, 52, 20},
                      {id::volumeBox, 85, 118, 20, 16}};
        for (const auto& p : places) QCOMPARE(control(*dialog, p.control)->geometry(), units.rect(p.x, p.y, p.w, p.h));
        // "Nom de fichier:" is wider than its 50 units in most fonts: the box
        // beside it gives up what the label lacks, and keeps its right edge.
        const QRect boxPlace = units.rect(77, 54, 222, 11);
        const QRect box = control(*dialog, id::fileNameBox)->geometry();
        const QLabel* label = control<QLabel>(*dialog, id::fileNameLabel);
        QVERIFY(label->width() >= label->sizeHint().width());
        QVERIFY(label->geometry().right() < box.left());
        QCOMPARE(box.adjusted(boxPlace.left() - box.left(), 0, 0, 0), boxPlace);
        QVERIFY(box.width() >= boxPlace.width() / 2);
        QCOMPARE(dialog->size(), units.size(307, 151));
        QCOMPARE(trackbar(*dialog)->minimum(), 0);
        QCOMPARE(trackbar(*dialog)->maximum(), 127);
    }

    void showsTheResourceInFrenchOrInTheGamesTexts() {
        auto dialog = openDialog(1, french_);
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Modification de la ressource"));
        QCOMPARE(line(*dialog, id::kindLine), QStringLiteral("type de la ressource : échantillon sonore"));
        QCOMPARE(line(*dialog, id::commentLine), QStringLiteral("comment 2"));
        QCOMPARE(line(*dialog, id::loopingLine), QStringLiteral("Son bouclant"));
        QCOMPARE(line(*dialog, id::sizeLine), QStringLiteral("Taille: 24 octets"));
        QCOMPARE(fileNameBox(*dialog)->text(), QStringLiteral("TWO.WAV"));
        QCOMPARE(volumeBox(*dialog)->text(), QStringLiteral("100"));
        QCOMPARE(trackbar(*dialog)->value(), 100);
        QCOMPARE(control<QPushButton>(*dialog, id::exportButton)->text(), QStringLiteral("exporter Wav"));

        const GameStrings english = test::gameStrings({{20, "Edit "}, {21, "Kind: "}, {22, "Looping"},
            {23, "Size "}, {24, " b"}, {25, "sample"}, {26, "File:"}, {27, "OK!"}, {28, "Abort"},
            {29, "Find..."}, {30, "Play it"}, {31, "Play file"}, {33, "Export"}, {55, "Volume:"}});
        auto game = openDialog(1, english);
        QCOMPARE(game->windowTitle(), QStringLiteral("Edit 'res2'"));
        QCOMPARE(line(*game, id::kindLine), QStringLiteral("Kind: sample"));
        QCOMPARE(line(*game, id::loopingLine), QStringLiteral("Looping"));
        QCOMPARE(line(*game, id::sizeLine), QStringLiteral("Size 24 b"));
        QCOMPARE(line(*game, id::fileNameLabel), QStringLiteral("File:"));
        QCOMPARE(line(*game, id::volumeLabel), QStringLiteral("Volume:"));
        const std::pair<int, const char*> buttons[] = {{id::okButton, "OK!"}, {id::cancelButton, "Abort"},
            {id::browseButton, "Find..."}, {id::testCurrentButton, "Play it"}, {id::testButton, "Play file"},
            {id::exportButton, "Export"}, {id::resetButton, "Reset"}};
        for (const auto& [controlId, text] : buttons) QCOMPARE(control<QPushButton>(*game, controlId)->text(), QString(text));
        QCOMPARE(fileNameBox(*game)->accessibleName(), QStringLiteral("File:"));
        // A label that fits leaves the box where the template puts it.
        QCOMPARE(fileNameBox(*game)->geometry(), DialogUnits::of(*game).rect(77, 54, 222, 11));
    }

    void onlyASampleNamingAFileOpensTheDialog() {
        QVERIFY(!editResource(nullptr, *bank_->resourceAt(2), *bank_, links_, french_));  // no file
        QVERIFY(!editResource(nullptr, *bank_->resourceAt(3), *bank_, links_, french_));  // CD track
        bool shown = false;
        test::whenDialogShows([&shown](QDialog& dialog) {
            shown = dialog.objectName() == QString::number(id::templateId);
            dialog.reject();
        });
        QVERIFY(editResource(nullptr, *bank_->resourceAt(0), *bank_, links_, french_));
        QVERIFY(shown);
    }

    void aWholeEditBrowsesTestsSetsTheVolumeAndSaves() {
        const Bytes newSample = fixtures::patternBytes(64, 9);
        const std::string chosen = wav("new.wav", newSample);
        auto dialog = openDialog(0, french_);

        answer_ = QString::fromStdString(chosen);
        click(*dialog, id::browseButton);
        QCOMPARE(fileNameBox(*dialog)->text(), QString::fromStdString(chosen));
        QCOMPARE(line(*dialog, id::sizeLine), QStringLiteral("Size: 64 bytes"));

        answer_ = QString::fromStdString(chosen);
        click(*dialog, id::testButton);
        QCOMPARE(device_->count(audio::DeviceCall::Op::Write), 1);
        click(*dialog, id::testCurrentButton);
        QCOMPARE(device_->count(audio::DeviceCall::Op::Write), 2);
        QCOMPARE(asked_, (std::vector{WavFileQuestion::Browse, WavFileQuestion::Test}));

        type(volumeBox(*dialog), QStringLiteral("90"));
        QVERIFY(messages_.empty());
        const int resetsBefore = device_->count(audio::DeviceCall::Op::Reset);
        click(*dialog, id::okButton);
        QCOMPARE(dialog->result(), int(QDialog::Accepted));
        QVERIFY(!dialog->isVisible());
        // The test sound stops with the dialog.
        QVERIFY(device_->count(audio::DeviceCall::Op::Reset) > resetsBefore);

        bank::SoundResource& r = *bank_->resourceAt(0);
        QVERIFY(r.isReplaced());
        QCOMPARE(r.replacementPath().value_or(""), chosen);
        QCOMPARE(r.volume(), 90);
        QVERIFY(bank::saveDocument(*bank_, *bank_->bankPath()).saved);
        auto reopened = test::openBankFile(*bank_->bankPath());
        QCOMPARE(test::storedSample(*reopened, 0), newSample);
        QCOMPARE(int(reopened->resourceAt(0)->volume()), 90);
    }

    void cancelAfterChangesChangesNothing() {
        auto dialog = openDialog(1, french_);
        answer_ = QString::fromStdString(wav("other.wav", fixtures::patternBytes(8, 4)));
        click(*dialog, id::browseButton);
        click(*dialog, id::testCurrentButton);
        trackbar(*dialog)->setFocus();
        QTest::keyClick(trackbar(*dialog), Qt::Key_Home);
        QCOMPARE(volumeBox(*dialog)->text(), QStringLiteral("0"));
        const int resetsBefore = device_->count(audio::DeviceCall::Op::Reset);
        click(*dialog, id::cancelButton);
        QCOMPARE(dialog->result(), int(QDialog::Rejected));
        QVERIFY(device_->count(audio::DeviceCall::Op::Reset) > resetsBefore);
        const bank::SoundResource& r = *bank_->resourceAt(1);
        QVERIFY(!r.isReplaced());
        QCOMPARE(r.volume(), 100);

        // Escape is Cancel too; the test sound still stops.
        auto again = openDialog(1, french_);
        click(*again, id::testCurrentButton);
        const int resets = device_->count(audio::DeviceCall::Op::Reset);
        QTest::keyClick(again.get(), Qt::Key_Escape);
        QVERIFY(!again->isVisible());
        QVERIFY(device_->count(audio::DeviceCall::Op::Reset) > resets);
    }

    void resetGoesBackToTheBanksSampleAndStoredVolume() {
        bank::SoundResource& r = *bank_->resourceAt(0);
        const std::string earlier = wav("earlier.wav", fixtures::patternBytes(32, 5));
        r.setReplacement(true, 32, earlier);
        r.setVolume(20);
        auto dialog = openDialog(0, french_);
        QCOMPARE(fileNameBox(*dialog)->text(), QString::fromStdString(earlier));
        QCOMPARE(line(*dialog, id::sizeLine), QStringLiteral("Taille: 32 octets"));
        click(*dialog, id::resetButton);
        QCOMPARE(fileNameBox(*dialog)->text(), QStringLiteral("ONE.WAV"));
        QCOMPARE(line(*dialog, id::sizeLine), QStringLiteral("Taille: 40 octets"));
        QCOMPARE(volumeBox(*dialog)->text(), QStringLiteral("100"));
        QCOMPARE(trackbar(*dialog)->value(), 100);
        QVERIFY(r.isReplaced());  // nothing reaches the resource before OK
        click(*dialog, id::okButton);
        QVERIFY(!r.isReplaced());
        QCOMPARE(r.volume(), 100);
    }

    void refusedFilesAreReportedAndChangeNothing() {
        const std::string stereo = wav("stereo.wav", fixtures::patternBytes(16, 1), {1, 2, 22050, 88200, 4, 16});
        const std::string eightBit = wav("eight.wav", fixtures::patternBytes(16, 1), {1, 1, 22050, 22050, 1, 8});
        const std::string fast = wav("fast.wav", fixtures::patternBytes(16, 1), {1, 1, 44100, 88200, 2, 16});
        const std::string claims = *dir_ / "claims.wav";
        fixtures::WavBuilder().format().chunkClaiming("data", 1u << 30, fixtures::patternBytes(16, 1)).writeTo(claims);
        const std::string text = *dir_ / "notes.txt";
        fixtures::writeFile(text, "not a sound");
        const std::string folder = *dir_ / "folder.wav";
        fixtures::makeDirs(folder);
        const std::string missing = *dir_ / "missing.wav";
        const std::string longPath = *dir_ / (std::string(300, 'a') + ".wav");

        const QString notWav = QStringLiteral("Vous ne pouvez entrer que des fichiers .Wav");
        const QString badFormat = QStringLiteral("format du .wav non supporté (doit être en 22 kHz mono 16 bits)");
        const QString noFile = QStringLiteral("Le fichier n'existe pas");
        const struct {
            std::string path;
            QString message;
        } browsed[] = {{stereo, badFormat}, {eightBit, badFormat}, {fast, badFormat}, {claims, noFile},
                       {text, notWav}, {folder, noFile}, {missing, noFile}, {longPath, noFile}};
        auto dialog = openDialog(0, french_);
        for (const auto& c : browsed) {
            messages_.clear();
            answer_ = QString::fromStdString(c.path);
            click(*dialog, id::browseButton);
            QCOMPARE(messageTexts(), QStringList{c.message});
            QCOMPARE(messages_.front().style, message_style::exclamation);
            QCOMPARE(fileNameBox(*dialog)->text(), QStringLiteral("ONE.WAV"));
            QVERIFY(!dialog->session().state().pendingReplaced);
        }

        // Dropped: a text file, then three WAV files of which the first counts.
        messages_.clear();
        dropFiles(*dialog, {QString::fromStdString(text)});
        QCOMPARE(messageTexts(), QStringList{notWav});
        const std::string first = wav("first.wav", fixtures::patternBytes(12, 7));
        dropFiles(*dialog, {QString::fromStdString(first), QString::fromStdString(stereo), QString::fromStdString(text)});
        QCOMPARE(messages_.size(), std::size_t{1});
        QCOMPARE(fileNameBox(*dialog)->text(), QString::fromStdString(first));
        // A web address is no file: refused as it enters; beside a file, the file counts.
        const QUrl web(QStringLiteral("https://example.org/klaxon.wav"));
        QVERIFY(!dropUrls(*dialog, {web}));
        QCOMPARE(messages_.size(), std::size_t{1});
        const std::string second = wav("second.wav", fixtures::patternBytes(12, 8));
        QVERIFY(dropUrls(*dialog, {web, QUrl::fromLocalFile(QString::fromStdString(second))}));
        QCOMPARE(messages_.size(), std::size_t{1});
        QCOMPARE(fileNameBox(*dialog)->text(), QString::fromStdString(second));

        // Typed by hand: OK reports and the dialog stays open.
        const struct {
            std::string path;
            QString message;
        } typed[] = {{stereo, QStringLiteral("Format de .wav non supporté")},
                     {missing, QStringLiteral("Erreur d'ouverture du .wav")},
                     {claims, QStringLiteral("Erreur de lecture du .wav")}};
        for (const auto& c : typed) {
            messages_.clear();
            type(fileNameBox(*dialog), QString::fromStdString(c.path));
            click(*dialog, id::okButton);
            QCOMPARE(messageTexts(), QStringList{c.message});
            QVERIFY(dialog->isVisible());
        }
        QVERIFY(!bank_->resourceAt(0)->isReplaced());
        QCOMPARE(bank_->resourceAt(0)->volume(), 100);  // the stored volume, now also the editor's
    }

    void volumeBoxAndTrackbarKeepInStep() {
        auto dialog = openDialog(0, french_);
        const struct {
            QString typed;
            int trackbar;
            QString box;
        } cases[] = {{QStringLiteral(" 300"), 0, QStringLiteral(" 300")},
                     {QStringLiteral("300"), 127, QStringLiteral("300")},
                     {QStringLiteral("12 a"), 12, QStringLiteral("12 a")},
                     {QStringLiteral("999999999"), 127, QStringLiteral("999999999")},
                     {QStringLiteral("abc"), 127, QStringLiteral("127")},
                     {QString(), 127, QStringLiteral("127")},
                     {QStringLiteral("64"), 64, QStringLiteral("64")}};
        for (const auto& c : cases) {
            type(volumeBox(*dialog), c.typed);
            // Leaving the box reads it.
            control(*dialog, id::resetButton)->setFocus();
            QCOMPARE(trackbar(*dialog)->value(), c.trackbar);
            QCOMPARE(volumeBox(*dialog)->text(), c.box);
        }
        // The user's trackbar moves rewrite the box.
        trackbar(*dialog)->setFocus();
        QTest::keyClick(trackbar(*dialog), Qt::Key_Right);
        QCOMPARE(volumeBox(*dialog)->text(), QStringLiteral("65"));
        type(volumeBox(*dialog), QStringLiteral("300"));
        click(*dialog, id::okButton);
        QCOMPARE(bank_->resourceAt(0)->volume(), 127);
    }

    void exportWritesTheSample() {
        auto dialog = openDialog(0, french_);
        const std::string target = *dir_ / "out.wav";
        answer_ = QString::fromStdString(target);
        click(*dialog, id::exportButton);
        QVERIFY(messages_.empty());
        QCOMPARE(asked_, std::vector{WavFileQuestion::Export});
        QCOMPARE(fixtures::readBytes(target), fixtures::simpleWav(fixtures::patternBytes(40, 1)));
        // Cancelled: nothing.
        click(*dialog, id::exportButton);
        QVERIFY(messages_.empty());
    }

    void helpOnAControlNeedsTheGamesTexts() {
        auto french = openDialog(0, french_);
        french->helpOnControl(id::okButton);
        QVERIFY(messages_.empty());

        const GameStrings english = test::gameStrings({{37, "The comment"}, {42, "It loops"}, {45, "Closes"}, {57, "Loudness"}});
        auto dialog = openDialog(0, english);
        for (const int controlId : {id::okButton, id::trackbar, id::loopingLine, id::commentLine, id::kindLine}) {
            dialog->helpOnControl(controlId);
        }
        // The looping line is empty for this resource; the kind line has no help.
        QCOMPARE(messageTexts(), (QStringList{"Closes", "Loudness", "The comment"}));
        QCOMPARE(messages_.front().style, message_style::information);
        messages_.clear();
        // F1 asks for the focused control.
        control(*dialog, id::okButton)->setFocus();
        QTest::keyClick(dialog.get(), Qt::Key_F1);
        QCOMPARE(messageTexts(), QStringList{"Closes"});
        // What's This (Shift+F1, or the title bar's "?") asks for the control clicked.
        messages_.clear();
        QTest::keyClick(dialog.get(), Qt::Key_F1, Qt::ShiftModifier);
        QVERIFY(QWhatsThis::inWhatsThisMode());
        QTest::mouseClick(trackbar(*dialog), Qt::LeftButton);
        QCOMPARE(messageTexts(), QStringList{"Loudness"});
        QVERIFY(!QWhatsThis::inWhatsThisMode());
    }

    void withoutASoundDeviceTheDialogKeepsWorking() {
        openDemoBank(false);
        auto dialog = openDialog(0, french_);
        click(*dialog, id::testCurrentButton);
        QCOMPARE(device_->messages, std::vector<std::string>{"impossible d'initialiser le driver son"});
        QVERIFY(dialog->isVisible());
        type(volumeBox(*dialog), QStringLiteral("5"));
        click(*dialog, id::okButton);
        QCOMPARE(bank_->resourceAt(0)->volume(), 5);
    }
};

}  // namespace calyx::editor

QTEST_MAIN(calyx::editor::ResourceEditDlgTest)
#include "resource_edit_dlg_tests.moc"
