// File > Export all samples...: the folder asked for, the files written as
// calyx-cli names them, the message that follows, and nothing on Cancel;
// File > Import folder... taking such a folder back, one file edited.
#include <QDir>
#include <QTest>

#include "audio/wave_out_device.h"
#include "editor/core/commands.h"
#include "editor/core/message_box.h"
#include "editor/core/newer_menu_items.h"
#include "editor/widgets/calyx_doc.h"
#include "editor/widgets/child_frame.h"
#include "editor/widgets/command_registry.h"
#include "editor/widgets/document_manager.h"
#include "editor/widgets/main_frame.h"
#include "editor/widgets/message_box.h"
#include "bank_test_support.h"
#include "fixtures/wav_builder.h"
#include "editor_window_test.h"
#include "widget_test_support.h"

namespace calyx::editor {

class ExportAllTest : public test::EditorWindowTest {
    Q_OBJECT
    QStringList messages_;
    QList<unsigned> styles_;
    QString folder_;

    void run(int command) {
        frame_->commands().updateActions();
        QAction* item = frame_->commands().action(command);
        QVERIFY2(item->isEnabled(), qPrintable(item->text()));
        item->trigger();
        QCoreApplication::processEvents();
    }

private slots:
    void init() {
        setMessageBoxHook([this](const QString& text, unsigned style, unsigned) {
            messages_ << text;
            styles_ << style;
            return MessageResult::Ok;
        });
        createWindow();
        manager_->setFolderChooser([this] { return folder_; });
        manager_->setImportFolderChooser([this] { return folder_; });
        messages_.clear();
        styles_.clear();
    }
    void cleanup() { destroyWindow(); }

    void everySampleIsWrittenUnderTheCommandLinesNames() {
        fixtures::BankSpec spec;
        spec.resources.push_back(test::sample(1, fixtures::patternBytes(64, 1), "ENGINE.WAV"));
        spec.resources.push_back(test::sample(2, fixtures::patternBytes(32, 2), "horn st.wav"));
        const std::string bank = test::writeBank(dir_, "cars.bnm", spec);
        QVERIFY(manager_->openDocumentFile(QString::fromStdString(bank)));
        QAction* item = frame_->commands().action(command::fileExportAllSamples);
        frame_->commands().updateActions();
        QVERIFY(item->isEnabled());
        QCOMPARE(item->text(), QString("Exporter &tous les échantillons..."));

        // Cancelling the folder writes nothing and says nothing.
        folder_.clear();
        item->trigger();
        QVERIFY(messages_.isEmpty());

        folder_ = QString::fromStdString(dir_ / "out");
        QVERIFY(QDir().mkpath(folder_));
        item->trigger();
        // The names calyx-cli gives: index, then the resource's name.
        QCOMPARE(QDir(folder_).entryList(QDir::Files), (QStringList{"0_res1.wav", "1_res2.wav"}));
        const auto written = fixtures::readBytes(dir_ / "out/0_res1.wav");
        QCOMPARE(written.size(), std::size_t{44 + 64});
        QVERIFY(std::equal(written.begin() + 44, written.end(), fixtures::patternBytes(64, 1).begin()));
        QCOMPARE(messages_.size(), 1);
        QCOMPARE(messages_.front(), "2 échantillon(s) exporté(s) dans " + folder_);
        QCOMPARE(styles_.front(), message_style::information);
    }

    void aFolderThatCannotBeWrittenListsEachSample() {
        fixtures::BankSpec spec;
        spec.resources.push_back(test::sample(1, fixtures::patternBytes(64, 1), "A.WAV"));
        const std::string bank = test::writeBank(dir_, "one.bnm", spec);
        QVERIFY(manager_->openDocumentFile(QString::fromStdString(bank)));
        folder_ = QString::fromStdString(dir_ / "missing");
        frame_->commands().action(command::fileExportAllSamples)->trigger();
        QCOMPARE(messages_.size(), 1);
        QVERIFY2(messages_.front().startsWith("0 échantillon(s) exporté(s)"), qPrintable(messages_.front()));
        QVERIFY(messages_.front().contains("1 échantillon(s) n'ont pas pu être exportés"));
        QVERIFY(messages_.front().contains("0: Erreur d'écriture du .wav (" + folder_ + "/0_res1.wav)"));
        QCOMPARE(styles_.front(), message_style::exclamation);
    }

    void theItemIsGreyedWithoutADocument() {
        frame_->commands().updateActions();
        QVERIFY(!frame_->commands().action(command::fileExportAllSamples)->isEnabled());
        QVERIFY(!frame_->commands().action(command::fileImportFolder)->isEnabled());
    }

    void anEditedFileOfAnExportedFolderIsSavedIntoTheBank() {
        fixtures::BankSpec spec;
        spec.resources.push_back(test::sample(1, fixtures::patternBytes(64, 1), "ENGINE.WAV"));
        spec.resources.push_back(test::sample(2, fixtures::patternBytes(32, 2), "HORN.WAV"));
        const std::string bank = test::writeBank(dir_, "cars.bnm", spec);
        QVERIFY(manager_->openDocumentFile(QString::fromStdString(bank)));
        QCOMPARE(frame_->commands().action(command::fileImportFolder)->text(), QString("&Importer un dossier..."));
        folder_ = QString::fromStdString(dir_ / "wavs");
        QVERIFY(QDir().mkpath(folder_));
        run(command::fileExportAllSamples);
        messages_.clear();
        styles_.clear();

        const auto edited = fixtures::patternBytes(80, 7);
        fixtures::writeBytes(dir_ / "wavs/1_res2.wav", fixtures::simpleWav(edited));
        run(command::fileImportFolder);
        QCOMPARE(messages_, QStringList{"remplacés 1, inchangés 1, ignorés 0, refusés 0"});
        QCOMPARE(styles_, QList<unsigned>{message_style::information});
        CChildFrame& window = *manager_->documents().front();
        QVERIFY(window.isWindowModified());
        QCOMPARE(frame_->commands().action(command::editUndo)->text(), QString("&Annuler import du dossier wavs"));

        run(command::fileSave);
        QVERIFY(!window.isWindowModified());
        auto saved = test::openBankFile(bank);
        QVERIFY(test::storedSample(*saved, 1) == edited);
        QVERIFY(test::storedSample(*saved, 0) == fixtures::patternBytes(64, 1));
        QCOMPARE(QString::fromStdString(saved->resourceAt(1)->listFileName()), QString("HORN.WAV"));
    }
};

}  // namespace calyx::editor

QTEST_MAIN(calyx::editor::ExportAllTest)
#include "export_all_tests.moc"
