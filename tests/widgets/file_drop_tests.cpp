// WAV files dragged from the file manager onto a document's list, as the
// list receives them: the question and the replacement on a sample's row,
// refused files that change nothing, banks opened when dropped beside the
// rows, and a 44.1 kHz stereo file converted on request and saved into the
// bank while the original stays as it was.
#include <QMdiArea>
#include <QMimeData>
#include <QTest>
#include <QUrl>
#include <filesystem>

#include "audio/wav_convert.h"
#include "audio/wave_out_device.h"
#include "bank_test_support.h"
#include "editor/core/message_box.h"
#include "editor/core/resource_list.h"
#include "editor/widgets/calyx_doc.h"
#include "editor/widgets/calyx_view.h"
#include "editor/widgets/child_frame.h"
#include "editor/widgets/document_manager.h"
#include "editor/widgets/main_frame.h"
#include "editor/widgets/message_box.h"
#include "editor/widgets/resource_list_ctrl.h"
#include "editor/widgets/resource_list_model.h"
#include "fixtures/wav_builder.h"
#include "editor_window_test.h"
#include "widget_test_support.h"

namespace calyx::editor {

class FileDropTest : public test::EditorWindowTest {
    Q_OBJECT
    QStringList questions_, messages_;
    MessageResult answer_ = MessageResult::Ok;
    MessageResult convertAnswer_ = MessageResult::Yes;

    CChildFrame& document(int i = 0) { return *manager_->documents().at(i); }

    QString wav(const std::string& name, const fixtures::Bytes& samples, const fixtures::PcmFormat& format = {}) {
        const std::string path = dir_ / name;
        fixtures::writeBytes(path, fixtures::simpleWav(samples, format));
        return QString::fromStdString(path);
    }

    // Drags the files onto the list of the first document at `row` (-1:
    // below the rows) and drops them; answers the move's effect.
    Qt::DropAction dropOnto(int row, const QStringList& files) {
        CResourceListCtrl& list = document().view().list();
        QWidget* viewport = list.viewport();
        const QPoint at = row >= 0 ? list.visualRect(document().view().model().index(row, 0)).center()
                                   : QPoint(10, viewport->height() - 5);
        QMimeData data;
        QList<QUrl> urls;
        for (const QString& file : files) urls << QUrl::fromLocalFile(file);
        data.setUrls(urls);
        const Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
        QDragEnterEvent enter(at, offered, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(viewport, &enter);
        QDragMoveEvent move(at, offered, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(viewport, &move);
        const Qt::DropAction effect = move.isAccepted() ? move.dropAction() : Qt::IgnoreAction;
        if (effect == Qt::IgnoreAction) return effect;
        QDropEvent drop(at, offered, &data, Qt::LeftButton, Qt::NoModifier);
        drop.setDropAction(effect);
        QCoreApplication::sendEvent(viewport, &drop);
        // The files are taken once the drop is over.
        QCoreApplication::processEvents();
        return effect;
    }

private slots:
    void init() {
        questions_.clear();
        messages_.clear();
        answer_ = MessageResult::Ok;
        convertAnswer_ = MessageResult::Yes;
        setMessageBoxHook([this](const QString& text, unsigned style, unsigned) {
            const unsigned type = style & message_style::typeMask;
            if (type == message_style::okCancel) {
                questions_ << text;
                return answer_;
            }
            if (type == message_style::yesNo) {
                questions_ << text;
                return convertAnswer_;
            }
            messages_ << text;
            return MessageResult::Ok;
        });
        createWindow();
        connect(frame_.get(), &CMainFrame::openRequested, manager_.get(), [this](const QStringList& paths) {
            for (const QString& path : paths) manager_->openDocumentFile(path);
        });
        frame_->resize(900, 600);
        fixtures::BankSpec spec;
        spec.resources = {test::sample(1, fixtures::patternBytes(40, 1), "ONE.WAV"),
                          test::sample(2, fixtures::patternBytes(24, 2), "TWO.WAV")};
        QVERIFY(manager_->openDocumentFile(QString::fromStdString(test::writeBank(dir_, "drop.bnm", spec))));
        messages_.clear();
    }
    void cleanup() { destroyWindow(); }

    void theFirstFileDroppedOnARowReplacesItsSampleAfterTheQuestion() {
        const QString first = wav("first.wav", fixtures::patternBytes(48, 5));
        const QString second = wav("second.wav", fixtures::patternBytes(96, 6));
        answer_ = MessageResult::Cancel;
        QCOMPARE(dropOnto(1, {first, second}), Qt::CopyAction);
        QCOMPARE(questions_, QStringList{"Voulez-vous remplacer res2 par le fichier first.wav ?"});
        QVERIFY(!document().document().isModified());

        answer_ = MessageResult::Ok;
        QCOMPARE(dropOnto(1, {first, second}), Qt::CopyAction);
        const bank::SoundResource& r = *document().document().bank().resourceAt(1);
        QCOMPARE(r.replacementPath(), std::optional<std::string>(first.toStdString()));
        QCOMPARE(r.currentSize(), 48u);
        QVERIFY(document().document().isModified());
        QVERIFY(messages_.isEmpty());
    }

    void refusedFilesChangeNothing() {
        const QString text = QString::fromStdString(dir_ / "readme.txt");
        fixtures::writeFile(text.toStdString(), "words");
        const QString eightBit = wav("eight.wav", fixtures::patternBytes(40, 1), {1, 1, 22050, 22050, 1, 8});
        // A file that is no WAV file by its name is refused at once: no drop,
        // no question.
        QCOMPARE(dropOnto(0, {text}), Qt::IgnoreAction);
        QVERIFY(questions_.isEmpty());
        // The 8-bit file's refusal comes with the offer to convert it: No.
        convertAnswer_ = MessageResult::No;
        QCOMPARE(dropOnto(0, {eightBit}), Qt::CopyAction);
        QVERIFY2(messages_.isEmpty(), qPrintable(messages_.join('|')));
        QCOMPARE(questions_.size(), 2);
        QVERIFY(questions_[1].startsWith("format du .wav non supporté (doit être en 22 kHz mono 16 bits)\n\n"));
        QVERIFY(!document().document().bank().resourceAt(0)->isReplaced());
        QVERIFY(!document().document().isModified());
    }

    void filesDroppedBesideTheRowsOpenAsBanks() {
        fixtures::BankSpec spec;
        spec.resources = {test::sample(3, fixtures::patternBytes(40, 1), "X.WAV")};
        const QString other = QString::fromStdString(test::writeBank(dir_, "other.bnm", spec));
        QCOMPARE(dropOnto(-1, {other}), Qt::CopyAction);
        QVERIFY2(messages_.isEmpty(), qPrintable(messages_.join('|')));
        QCOMPARE(manager_->documents().size(), 2);
        QVERIFY(questions_.isEmpty());
    }

    void aStereoFileIsConvertedOnRequestAndSavedIntoTheBank() {
        fixtures::Bytes stereo;
        for (int i = 0; i < 8820; ++i) {
            const auto value = static_cast<std::int16_t>((i % 50) * 600 - 15000);
            for (int channel = 0; channel < 2; ++channel) {
                stereo.push_back(static_cast<std::uint8_t>(value & 0xFF));
                stereo.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
            }
        }
        const QString original = wav("tone.wav", stereo, {1, 2, 44100, 176400, 4, 16});
        const auto originalBytes = fixtures::readBytes(original.toStdString());
        QCOMPARE(dropOnto(0, {original}), Qt::CopyAction);
        QCOMPARE(questions_.size(), 2);
        QVERIFY(questions_[1].startsWith("format du .wav non supporté"));
        QVERIFY(questions_[1].contains("Convertir une copie"));
        BankDocument& doc = document().document().document();
        const bank::SoundResource& r = *doc.bank().resourceAt(0);
        QVERIFY(r.replacementPath() && *r.replacementPath() != original.toStdString());
        const std::string copy = *r.replacementPath();
        // The list names the file the user dropped.
        QCOMPARE(document().view().model().data(document().view().model().index(0, fileNameColumn), Qt::DisplayRole).toString(),
                 original);

        QVERIFY(manager_->save(document()));
        // Kept while the window is open: an undo and redo reads it again.
        QVERIFY(std::filesystem::exists(copy));
        QCOMPARE(fixtures::readBytes(original.toStdString()), originalBytes);
        const std::string expected = dir_ / "expected.wav";
        QCOMPARE(audio::convertToEditorFormat(original.toStdString(), expected), audio::ConvertResult::Ok);
        const auto converted = fixtures::readBytes(expected);
        const auto saved = test::storedSample(doc.bank(), 0);
        QCOMPARE(saved.size(), (converted.size() - 44) & ~std::size_t{3});
        QVERIFY(std::equal(saved.begin(), saved.end(), converted.begin() + 44));
        manager_.reset();
        QVERIFY(!std::filesystem::exists(copy));
    }
};

}  // namespace calyx::editor

QTEST_MAIN(calyx::editor::FileDropTest)
#include "file_drop_tests.moc"
