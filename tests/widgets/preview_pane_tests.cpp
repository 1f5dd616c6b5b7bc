// The preview pane as a person sees it: a sample's waveform with its loop
// markers, duration and size; CD tracks and empty slots named; Play and Stop
// through the resource's device; the pane docked in the main frame, shown by
// default and hidden from the View menu, in the installation's language.
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTimer>

#include "bank_test_support.h"
#include "editor/core/commands.h"
#include "editor/core/message_box.h"
#include "editor/core/link_table.h"
#include "editor/core/newer_menu_items.h"
#include "editor/widgets/calyx_doc.h"
#include "editor/widgets/calyx_view.h"
#include "editor/widgets/child_frame.h"
#include "editor/widgets/command_registry.h"
#include "editor/widgets/document_manager.h"
#include "editor/widgets/preview_feed.h"
#include "editor/widgets/resource_list_ctrl.h"
#include "editor/widgets/main_frame.h"
#include "editor/widgets/message_box.h"
#include "editor/widgets/preview_pane.h"
#include "editor/widgets/resource_edit_dlg.h"
#include "fixtures/wav_builder.h"
#include "widget_test_support.h"

namespace calyx::editor {

using test::Bytes;

class PreviewPaneTest : public QObject {
    Q_OBJECT

    std::unique_ptr<fixtures::TempDir> dir_;
    std::unique_ptr<bank::SoundBank> bank_;
    std::unique_ptr<test::RecordedDevice> device_;
    LinkTable links_;
    GameStrings noStrings_;
    QStringList messages_;

    // A half-second looping sine-like sample, a silent one, a CD track and an empty slot.
    void openBank() {
        std::vector<std::int16_t> wave(11025);
        for (std::size_t i = 0; i < wave.size(); ++i)
            wave[i] = static_cast<std::int16_t>((static_cast<int>(i % 200) - 100) * 300 * (1 + int(i / 3000)) / 4);
        fixtures::BankSpec spec;
        spec.resources = {test::sample(1, fixtures::pcm16(wave), "WAVE.WAV"),
                          test::sample(2, Bytes(64, 0), "QUIET.WAV")};
        spec.resources[0].looping = true;
        spec.resources[0].loopStart = 5512;
        spec.resources[0].loopEnd = 16538;
        fixtures::ResourceSpec cd;
        cd.id = 3;
        cd.kind = 3;
        cd.stored = 0;
        fixtures::ResourceSpec empty;
        empty.id = 4;
        empty.kind = 0;
        spec.resources.push_back(cd);
        spec.resources.push_back(empty);
        bank_ = test::openBankFile(test::writeBank(*dir_, "PREVIEW.BNM", spec));
        device_ = std::make_unique<test::RecordedDevice>();
        // As a bank window does: the bank knows the device's link, its
        // resources not yet (a resource learns it when its dialog opens).
        bank_->setDeviceLink(&device_->link);
    }

private slots:
    void initTestCase() {
        setMessageBoxHook([this](const QString& text, unsigned, unsigned) {
            messages_ << text;
            return MessageResult::Ok;
        });
    }

    void init() {
        dir_ = std::make_unique<fixtures::TempDir>();
        messages_.clear();
        openBank();
    }

    void cleanup() {
        bank_.reset();
        device_.reset();
        dir_.reset();
    }

    void aSampleShowsItsWaveformLoopAndFigures() {
        CPreviewPane pane(links_, noStrings_, InterfaceLanguage::English);
        pane.resize(420, 260);
        QCOMPARE(pane.headingText(), QString("No resource selected"));
        QVERIFY(!pane.playButton()->isEnabled());

        QCOMPARE(pane.nameText(), QString());
        pane.showResource(bank_->resourceAt(0), bank_.get());
        // The pane names what it shows.
        QCOMPARE(pane.nameText(), QString::fromUtf8("res1 \u2014 PREVIEW.BNM"));
        QCOMPARE(pane.headingText(), QString());
        QCOMPARE(pane.detailsText(), QString("Duration: 0.50 s   Size: 22050 bytes"));
        QCOMPARE(int(pane.preview().columns.size()), CPreviewPane::summaryColumns);
        QVERIFY(pane.playButton()->isEnabled());

        // The picture: wave pixels in the middle band, the loop markers red.
        pane.show();
        QVERIFY(QTest::qWaitForWindowExposed(&pane));
        auto* wave = pane.findChild<CWaveformView*>();
        QVERIFY(wave);
        const QImage image = wave->grab().toImage();
        // A picture to look at when asked for.
        if (const QString shot = qEnvironmentVariable("CALYX_PREVIEW_SHOT"); !shot.isEmpty()) pane.grab().save(shot);
        const QColor highlight = wave->palette().color(QPalette::Highlight);
        int waveX = 0, redX = 0;
        for (int x = 0; x < image.width(); ++x) {
            bool hasWave = false, hasRed = false;
            for (int y = 0; y < image.height(); ++y) {
                const QColor c = image.pixelColor(x, y);
                hasWave |= c == highlight;
                hasRed |= c.red() > 150 && c.green() < 100 && c.blue() < 100;
            }
            waveX += hasWave;
            redX += hasRed;
        }
        QVERIFY2(waveX > image.width() * 9 / 10, "the wave spans the width");
        QVERIFY2(redX >= 2 && redX <= 4, "two loop markers");

        // A new selection replaces everything shown.
        pane.showResource(bank_->resourceAt(2), bank_.get());
        QCOMPARE(pane.headingText(), QString("CD audio track: no sample in the bank"));
        QCOMPARE(pane.detailsText(), QString());
        QVERIFY(!pane.playButton()->isEnabled());
        pane.showResource(bank_->resourceAt(3), bank_.get());
        QCOMPARE(pane.headingText(), QString("Empty slot"));
        QCOMPARE(pane.nameText(), QString("PREVIEW.BNM"));  // an empty slot has no name
    }

    void frenchTextsAndAMissingFileSaySo() {
        CPreviewPane pane(links_, noStrings_, InterfaceLanguage::French);
        bank_->resourceAt(1)->setReplacement(true, 200, *dir_ / "gone.wav");
        pane.showResource(bank_->resourceAt(1), bank_.get());
        QCOMPARE(pane.headingText(), QString("Les données de l'échantillon sont introuvables ou illisibles"));
        QCOMPARE(pane.detailsText(), QString("Durée : 0,00 s   Taille : 200 octets"));
        QVERIFY(pane.preview().columns.empty());
        QVERIFY(messages_.isEmpty());
    }

    void playAndStopGoThroughTheResourcesDevice() {
        CPreviewPane pane(links_, noStrings_, InterfaceLanguage::English);
        pane.showResource(bank_->resourceAt(0), bank_.get());
        pane.playButton()->click();
        QCOMPARE(device_->count(audio::DeviceCall::Op::Write), 1);
        const auto& written = device_->log->calls.back();
        // A looping resource plays as a loop, at its own volume.
        QVERIFY(written.headerSeen.loops > 0);
        pane.stopButton()->click();
        QVERIFY(device_->count(audio::DeviceCall::Op::Reset) >= 1);
        // Moving to another row stops what plays.
        pane.playButton()->click();
        const int resets = device_->count(audio::DeviceCall::Op::Reset);
        pane.showResource(bank_->resourceAt(1), bank_.get());
        QVERIFY(device_->count(audio::DeviceCall::Op::Reset) > resets);
        QVERIFY(messages_.isEmpty());
    }

    void withoutADevicePlayTriesAgainAndSaysSoEachTime() {
        device_ = std::make_unique<test::RecordedDevice>(false);
        bank_->setDeviceLink(&device_->link);
        CPreviewPane pane(links_, noStrings_, InterfaceLanguage::English);
        pane.showResource(bank_->resourceAt(0), bank_.get());
        pane.playButton()->click();
        pane.playButton()->click();
        QCOMPARE(device_->messages.size(), std::size_t{2});
    }

    // One sound at a time: the edit dialog opening stops the preview's.
    void openingTheEditDialogStopsThePreviewsSound() {
        CMainFrame frame(noStrings_, [] { return std::unique_ptr<audio::WaveOutDevice>(); });
        QVERIFY(frame.Create());
        auto* pane = new CPreviewPane(links_, noStrings_, frame.interfaceLanguage(), &frame);
        frame.setPreviewPane(pane);
        pane->showResource(bank_->resourceAt(0), bank_.get());
        pane->playButton()->click();
        QCOMPARE(device_->count(audio::DeviceCall::Op::Write), 1);
        int resetsWhenOpen = -1;
        QTimer::singleShot(0, [this, &resetsWhenOpen] {
            resetsWhenOpen = device_->count(audio::DeviceCall::Op::Reset);
            if (QWidget* dialog = QApplication::activeModalWidget()) dialog->close();
        });
        QVERIFY(editResource(&frame, *bank_->resourceAt(0), *bank_, links_, noStrings_, {}));
        QVERIFY(resetsWhenOpen >= 1);
    }

    void theMainFrameDocksItShownAndTheViewMenuHidesIt() {
        CMainFrame frame(noStrings_, [] { return std::unique_ptr<audio::WaveOutDevice>(); });
        QVERIFY(frame.Create());
        QAction* toggle = frame.commands().action(command::viewPreviewPane);
        QVERIFY(frame.previewPane() == nullptr);
        auto* pane = new CPreviewPane(links_, noStrings_, frame.interfaceLanguage(), &frame);
        frame.setPreviewPane(pane);
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        QCOMPARE(frame.dockWidgetArea(pane), Qt::RightDockWidgetArea);
        QVERIFY(pane->isVisible());
        // French without an installation, after the status bar's item.
        QMenu* view = frame.menuPopups().at(1);
        const auto actions = view->actions();
        QCOMPARE(actions.last(), toggle);
        QCOMPARE(toggle->text(), QString("A&perçu"));
        frame.commands().updateActions();
        QVERIFY(toggle->isChecked());
        toggle->trigger();
        QVERIFY(pane->isHidden());
        frame.commands().updateActions();
        QVERIFY(!toggle->isChecked());
        toggle->trigger();
        QVERIFY(pane->isVisible());
    }

    void itFollowsTheCurrentRowOfTheActiveDocumentAndLetsGoWhenItCloses() {
        const std::string path = *bank_->bankPath();
        bank_.reset();
        CMainFrame frame(noStrings_, [] { return std::unique_ptr<audio::WaveOutDevice>(); });
        QVERIFY(frame.Create());
        DocumentManager documents(frame, noStrings_, nullptr);
        auto* pane = new CPreviewPane(documents.links(), noStrings_, InterfaceLanguage::English, &frame);
        frame.setPreviewPane(pane);
        new PreviewFeed(frame, *pane, &frame);
        frame.show();
        QVERIFY(documents.openDocumentFile(QString::fromStdString(path)));
        CChildFrame& child = *documents.activeDocument();
        CResourceListCtrl& list = child.view().list();

        list.setFocus();
        list.setCurrentIndex(list.model()->index(0, 0));
        QCOMPARE(pane->shownResource(), child.document().bank().resourceAt(0));
        // Down the list with the keyboard.
        QTest::keyClick(&list, Qt::Key_Down);
        QCOMPARE(pane->shownResource(), child.document().bank().resourceAt(1));
        QTest::keyClick(&list, Qt::Key_Down);
        QCOMPARE(pane->headingText(), QString("CD audio track: no sample in the bank"));

        // A filter keeping the shown row keeps it; one keeping no row clears the pane.
        child.view().filterBox()->setText("res2");
        QCOMPARE(pane->shownResource(), child.document().bank().resourceAt(1));
        child.view().filterBox()->setText("nothing like it");
        QCOMPARE(pane->shownResource(), nullptr);
        child.view().filterBox()->clear();
        QCOMPARE(pane->shownResource(), child.document().bank().resourceAt(0));

        // A change of the shown resource shows at once.
        list.setCurrentIndex(list.model()->index(1, 0));
        child.document().bank().resourceAt(1)->setReplacement(true, 44100, *dir_ / "gone.wav");
        QCOMPARE(pane->preview().size, 44100u);

        // Closed without saving.
        setMessageBoxHook([](const QString&, unsigned, unsigned) { return MessageResult::No; });
        child.close();
        initTestCase();
        QTRY_VERIFY(documents.documents().isEmpty());
        QCOMPARE(pane->shownResource(), nullptr);
        QCOMPARE(pane->headingText(), QString("No resource selected"));
    }
};

}  // namespace calyx::editor

QTEST_MAIN(calyx::editor::PreviewPaneTest)
#include "preview_pane_tests.moc"
