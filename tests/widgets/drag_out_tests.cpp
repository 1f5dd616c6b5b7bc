// A row dragged out of the editor: the WAV file it carries for other
// programs (named and written as export all writes it), and inside the
// editor the row it still is: a copy between rows, never a bank to open.
#include <QDragEnterEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QTest>
#include <QUrl>

#include "bank_test_support.h"
#include "editor/core/export_all.h"
#include "editor/widgets/calyx_doc.h"
#include "editor/widgets/calyx_view.h"
#include "editor/widgets/dragged_sample_file.h"
#include "editor/widgets/main_frame.h"
#include "editor/widgets/resource_drag_data.h"
#include "editor/widgets/resource_drag_drop.h"
#include "fixtures/wav_builder.h"
#include "widget_test_support.h"

namespace calyx::editor {

class DragOutTest : public QObject {
    Q_OBJECT
    fixtures::TempDir dir_;
    std::unique_ptr<bank::SoundBank> bank_;

private slots:
    void init() {
        fixtures::BankSpec spec;
        spec.resources = {test::sample(1, fixtures::patternBytes(40, 1), "ONE.WAV"),
                          test::sample(2, fixtures::patternBytes(24, 2), "TWO.WAV"), fixtures::cdTrack()};
        bank_ = test::openBankFile(test::writeBank(dir_, "out.bnm", spec));
    }

    void aRowIsWrittenAsExportAllWritesIt() {
        // A pending replacement is what the row is now.
        const std::string wav = dir_ / "new.wav";
        fixtures::writeBytes(wav, fixtures::simpleWav(fixtures::pcm16({3, 1, 4, 1, 5, 9})));
        bank_->resourceAt(1)->setReplacement(true, 12, wav);
        const auto file = writeDraggedSample(*bank_, 1);
        QVERIFY(file);
        QCOMPARE(QFileInfo(*file).fileName(), QString("1_res2.wav"));
        const std::string all = dir_ / "all";
        std::filesystem::create_directory(all);
        exportAllSamples(*bank_, all);
        QCOMPARE(fixtures::readBytes(file->toStdString()), fixtures::readBytes(all + "/1_res2.wav"));

        // Each drag has a file of its own; a CD track has none.
        const auto again = writeDraggedSample(*bank_, 1);
        QVERIFY(again && *again != *file);
        QCOMPARE(QFileInfo(*again).fileName(), QString("1_res2.wav"));
        QVERIFY(QFileInfo::exists(*file));
        QVERIFY(!writeDraggedSample(*bank_, 2));
        QVERIFY(!writeDraggedSample(*bank_, 7));
    }

    void inTheEditorTheRowIsNoFile() {
        DragLink link;
        link.bank = bank_.get();
        link.index = 0;
        const auto data = makeResourceDragData(link);
        data->setUrls({QUrl::fromLocalFile(*writeDraggedSample(*bank_, 0))});

        // The main window opens dropped banks, but not a row's file.
        GameStrings strings;
        CMainFrame frame(strings, [] { return std::unique_ptr<audio::WaveOutDevice>(); });
        QVERIFY(frame.Create());
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction | Qt::MoveAction, data.get(), Qt::LeftButton, {});
        QCoreApplication::sendEvent(&frame, &enter);
        QVERIFY(!enter.isAccepted());
        QMimeData files;
        files.setUrls(data->urls());
        QDragEnterEvent fileEnter(QPoint(5, 5), Qt::CopyAction, &files, Qt::LeftButton, {});
        QCoreApplication::sendEvent(&frame, &fileEnter);
        QVERIFY(fileEnter.isAccepted());

        // A list takes it as the row it is.
        LinkTable links;
        ResourceDropTarget target(*bank_, links, strings, [](const QPoint&) { return std::optional<int>(1); });
        QCOMPARE(target.dragEnter(*data, Qt::NoModifier, QPoint(1, 1)), Qt::MoveAction);
        QVERIFY(target.draggingRow());
        QVERIFY(!target.draggingFiles());
    }
};

}  // namespace calyx::editor

QTEST_MAIN(calyx::editor::DragOutTest)
#include "drag_out_tests.moc"
