// Documents in the main frame: which names open, the same bank opened twice,
// Save As with and without the companion, a failed save, the recent-file
// list, and the question before a modified document closes or the program
// quits.
#include <QMdiArea>
#include <QSettings>
#include <QTest>

#include "audio/wave_out_device.h"
#include "bank/sound_bank.h"
#include "editor/core/commands.h"
#include "editor/core/message_box.h"
#include "editor/widgets/calyx_doc.h"
#include "editor/widgets/calyx_view.h"
#include "editor/widgets/child_frame.h"
#include "editor/widgets/command_registry.h"
#include "editor/widgets/document_manager.h"
#include "editor/widgets/main_frame.h"
#include "editor/widgets/resource_list_model.h"
#include "editor/widgets/message_box.h"
#include "fixtures/bank_builder.h"
#include "fixtures/file_size_limit.h"
#include "fixtures/name_scripts.h"
#include "fixtures/temp_dir.h"
#include "fixtures/wav_builder.h"
#include "editor_window_test.h"
#include "widget_test_support.h"

namespace calyx::editor {

class DocumentsTest : public test::EditorWindowTest {
    Q_OBJECT
    QStringList messages_;
    MessageResult answer_ = MessageResult::No;
    QString chosenName_;

    QString writeBank(const std::string& name, bool k7 = false) {
        fixtures::BankSpec spec;
        spec.k7 = k7;
        for (std::uint32_t id = 1; id <= 3; ++id) {
            fixtures::ResourceSpec r;
            r.id = id;
            r.data = fixtures::patternBytes(16 * id, static_cast<std::uint8_t>(id));
            r.fileName = "S" + std::to_string(id) + ".WAV";
            spec.resources.push_back(r);
        }
        const std::string path = dir_ / name;
        fixtures::writeBytes(path, fixtures::buildBank(spec));
        if (!k7) {
            fixtures::writeFile(bank::SoundBank::companionPath(path),
                                fixtures::companionText({{1, "un", "premier"}, {2, "deux", ""}}));
        }
        return QString::fromStdString(path);
    }
    CChildFrame& only() {
        const auto docs = manager_->documents();
        if (docs.size() != 1) qFatal("expected one document, found %d", int(docs.size()));
        return *docs.front();
    }

private slots:
    void init() {
        messages_.clear();
        setMessageBoxHook([this](const QString& text, unsigned, unsigned) {
            messages_ << text;
            return answer_;
        });
        createWindow();
        messages_.clear();  // the missing sound device
        manager_->setFileChooser([this](bool, const QString&) { return chosenName_; });
    }
    void cleanup() { destroyWindow(); }

    void banksOpenByTheirNameInAnyCaseAndOnce() {
        const QString upper = writeBank("UPPER.BNM");
        QVERIFY(manager_->openDocumentFile(upper));
        QCOMPARE(only().windowTitle(), QString("UPPER.BNM[*]"));
        QCOMPARE(only().view().model().rowCount(), 3);
        QCOMPARE(frame_->shownMenu(), 129);
        // The same bank again, under another spelling: its window, no second one.
        QVERIFY(manager_->openDocumentFile(QString::fromStdString(dir_ / "upper.bnm")));
        QCOMPARE(manager_->documents().size(), 1);

        const QString other = writeBank("other.bnk");
        QVERIFY(!manager_->openDocumentFile(other));
        QCOMPARE(manager_->documents().size(), 1);
        QCOMPARE(messages_.size(), 1);
        QVERIFY(messages_.front().contains("other.bnk"));
        QVERIFY(messages_.front().contains(".bnm"));
    }

    void saveAsTakesTheCompanionOfASecondGameBankOnly() {
        QVERIFY(manager_->openDocumentFile(writeBank("tq.bnm")));
        only().document().setModified(true);
        chosenName_ = QString::fromStdString(dir_ / "renamed");  // ".bnm" is added
        frame_->commands().action(command::fileSaveAs)->trigger();
        QVERIFY2(messages_.isEmpty(), qPrintable(messages_.join('|')));
        QCOMPARE(only().document().pathName(), QString::fromStdString(dir_ / "renamed.bnm"));
        QVERIFY(!only().document().isModified());
        QCOMPARE(only().windowTitle(), QString("renamed.bnm[*]"));
        QCOMPARE(fixtures::readFile(dir_ / "renamed.bns"), fixtures::readFile(dir_ / "tq.bns"));
        // Another extension is refused.
        chosenName_ = QString::fromStdString(dir_ / "renamed.wav");
        QVERIFY(!manager_->saveAs(only()));
        QCOMPARE(messages_.size(), 1);
        QVERIFY(!QFile::exists(chosenName_));
        only().close();

        QVERIFY(manager_->openDocumentFile(writeBank("k7.bnm", true)));
        chosenName_ = QString::fromStdString(dir_ / "k7b.bnm");
        QVERIFY(manager_->saveAs(only()));
        QVERIFY(QFile::exists(chosenName_));
        QVERIFY(!QFile::exists(QString::fromStdString(dir_ / "k7b.bns")));
    }

    void aFailedSaveKeepsTheBankAndTheModifiedFlag() {
        const QString path = writeBank("f.bnm");
        const auto before = fixtures::readBytes(path.toStdString());
        QVERIFY(manager_->openDocumentFile(path));
        fixtures::writeBytes(dir_ / "big.wav", fixtures::simpleWav(fixtures::patternBytes(4000, 9)));
        only().document().bank().resourceAt(1)->setReplacement(true, 4000, dir_ / "big.wav");
        QVERIFY(only().document().isModified());
        {
            fixtures::FileSizeLimit full(300);
            QVERIFY(!manager_->save(only()));
        }
        QCOMPARE(messages_.size(), 1);
        QVERIFY(messages_.front().contains("f.bnm"));
        QCOMPARE(fixtures::readBytes(path.toStdString()), before);
        QVERIFY(only().document().isModified());
        QVERIFY(only().isWindowModified());
    }

    void editUndoAndRedoNameTheirStepAndAreGreyedWithNothingToDo() {
        using namespace command;
        QVERIFY(manager_->openDocumentFile(writeBank("undo.bnm")));
        QAction* undo = frame_->commands().action(editUndo);
        QAction* redo = frame_->commands().action(editRedo);
        QVERIFY(!undo->isEnabled() && !redo->isEnabled());
        QCOMPARE(redo->shortcuts(), (QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_Y),
                                                          QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)}));
        {
            // As the edit dialog's OK changes a volume.
            const bank::ChangeGroup group(only().document().bank());
            only().document().bank().resourceAt(0)->setVolume(12);
        }
        QCoreApplication::processEvents();
        QVERIFY(undo->isEnabled() && !redo->isEnabled());
        QCOMPARE(undo->text(), QStringLiteral("&Annuler volume de un"));
        QCOMPARE(undo->iconText(), QStringLiteral("Annuler volume de un"));

        undo->trigger();
        QCoreApplication::processEvents();
        QCOMPARE(only().document().bank().resourceAt(0)->volume(), 100);
        QVERIFY(!only().isWindowModified());
        QVERIFY(!undo->isEnabled() && redo->isEnabled());
        QCOMPARE(undo->text(), QStringLiteral("&Annuler"));
        QCOMPARE(redo->text(), QStringLiteral("&Rétablir volume de un"));
        redo->trigger();
        QCoreApplication::processEvents();
        QCOMPARE(only().document().bank().resourceAt(0)->volume(), 12);
        QVERIFY(only().isWindowModified());
        QCOMPARE(redo->text(), QStringLiteral("&Rétablir"));
    }

    void closingAModifiedDocumentAsks() {
        QVERIFY(manager_->openDocumentFile(writeBank("ask.bnm")));
        only().document().setModified(true);
        answer_ = MessageResult::Cancel;
        QVERIFY(!only().close());
        QCOMPARE(messages_, QStringList{"Enregistrer les modifications apportées à ask.bnm?"});
        QCOMPARE(manager_->documents().size(), 1);
        // Quitting asks as well, and Cancel keeps the program.
        QVERIFY(!frame_->close());
        QCOMPARE(messages_.size(), 2);
        answer_ = MessageResult::No;
        QVERIFY(frame_->close());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(manager_->documents().size(), 0);
    }

    void aNewDocumentCannotBeSavedAndSaysSo() {
        CChildFrame* untitled = manager_->newDocument();
        QVERIFY(untitled->windowTitle().startsWith("Custom1"));
        // Save and Save As are greyed for it.
        frame_->commands().updateActions();
        QVERIFY(!frame_->commands().find(command::fileSave)->isEnabled());
        QVERIFY(!frame_->commands().find(command::fileSaveAs)->isEnabled());
        // Saved another way (closing it, Yes), it is refused before any name is asked for.
        int asked = 0;
        manager_->setFileChooser([&asked](bool, const QString&) {
            ++asked;
            return QString();
        });
        QVERIFY(!manager_->save(*untitled));
        QCOMPARE(asked, 0);
        QCOMPARE(messages_.size(), 1);
        QVERIFY(messages_.front().contains("nouvelle banque"));
    }
};

}  // namespace calyx::editor

QTEST_MAIN(calyx::editor::DocumentsTest)
#include "documents_tests.moc"
