// The editor's message box: its buttons, texts, answers, icon and geometry,
// and the one entry point every part of the editor calls.
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>

#include "editor/core/message_box.h"
#include "editor/widgets/message_box.h"
#include "editor/widgets/message_dlg.h"
#include "widget_test_support.h"

namespace calyx::editor {

class MessageBoxTest : public QObject {
    Q_OBJECT

    struct Shown {
        QStringList visibleTexts;
        MessageResult result;
    };

    // Opens the dialog for `style`, presses `press` (null: closes it with
    // Escape) and answers what it showed and returned.
    static Shown run(unsigned style, const GameStrings& strings, std::optional<int> press) {
        CMessageDlg dialog(QStringLiteral("Question?"), style, strings);
        Shown shown{};
        test::whenDialogShows([&shown, press](QDialog& open) {
            for (const int id : {message_dlg::firstButton, message_dlg::secondButton, message_dlg::thirdButton}) {
                auto* button = open.findChild<QPushButton*>(QString::number(id));
                if (button && button->isVisible()) shown.visibleTexts << button->text();
            }
            if (press) {
                QTest::mouseClick(open.findChild<QPushButton*>(QString::number(*press)), Qt::LeftButton);
            } else {
                QTest::keyClick(&open, Qt::Key_Escape);
            }
        });
        shown.result = dialog.run();
        return shown;
    }

private slots:
    void initTestCase() { setScreenForPerson(true); }

    void buttonSetsTextsAndAnswersOfEveryKind() {
        using namespace message_dlg;
        const GameStrings french;
        const struct {
            unsigned style;
            std::optional<int> press;
            QStringList texts;
            MessageResult result;
        } cases[] = {
            {message_style::ok, firstButton, {"OK"}, MessageResult::Ok},
            {message_style::ok | message_style::exclamation, std::nullopt, {"OK"}, MessageResult::Cancel},
            {message_style::okCancel, firstButton, {"OK", "Annuler"}, MessageResult::Ok},
            {message_style::okCancel, secondButton, {"OK", "Annuler"}, MessageResult::Cancel},
            {message_style::yesNo, firstButton, {"Oui", "Non"}, MessageResult::Yes},
            {message_style::yesNo, secondButton, {"Oui", "Non"}, MessageResult::No},
            {message_style::yesNo, std::nullopt, {"Oui", "Non"}, MessageResult::Cancel},
            {message_style::yesNoCancel, firstButton, {"Oui", "Non", "Annuler"}, MessageResult::Yes},
            {message_style::yesNoCancel, secondButton, {"Oui", "Non", "Annuler"}, MessageResult::No},
            {message_style::yesNoCancel, thirdButton, {"Oui", "Non", "Annuler"}, MessageResult::Cancel},
        };
        for (const auto& c : cases) {
            const Shown shown = run(c.style, french, c.press);
            QCOMPARE(shown.visibleTexts, c.texts);
            QCOMPARE(shown.result, c.result);
        }
        // The game's button texts replace the French ones.
        const GameStrings english = test::englishStrings();
        QCOMPARE(run(message_style::yesNoCancel, english, thirdButton).visibleTexts,
                 (QStringList{"Yes", "No", "Cancel"}));
        QCOMPARE(run(message_style::okCancel, english, firstButton).visibleTexts, (QStringList{"Okay", "Cancel"}));
    }

    void layoutFollowsTheDialogTemplate() {
        const GameStrings french;
        CMessageDlg dialog(QStringLiteral("Short"), message_style::yesNoCancel, french);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("CalyxSound"));
        QVERIFY(!dialog.iconLabel()->isVisibleTo(&dialog));
        QCOMPARE(dialog.textBox()->toPlainText(), QStringLiteral("Short"));
        QVERIFY(dialog.textBox()->isReadOnly());
        QCOMPARE(dialog.textBox()->document()->begin().blockFormat().alignment() & Qt::AlignHorizontal_Mask,
                 Qt::AlignHCenter);
        // Three buttons of one size, spread over a centred row with equal gaps.
        QPushButton* first = dialog.button(ButtonSlot::First);
        QPushButton* second = dialog.button(ButtonSlot::Second);
        QPushButton* third = dialog.button(ButtonSlot::Third);
        const int gap = second->x() - first->geometry().right() - 1;
        QCOMPARE(third->x() - second->geometry().right() - 1, gap);
        QVERIFY(gap <= dialog.width() / 8);
        const int rowMiddle = (first->x() + third->geometry().right() + 1) / 2;
        QVERIFY(qAbs(rowMiddle - dialog.width() / 2) <= 1);
        QCOMPARE(first->y(), second->y());
    }

    void aLongLineWidensTheDialog() {
        // A dialog font small enough that the text box is narrower than 250.
        QFont font = QApplication::font();
        font.setPixelSize(11);
        QApplication::setFont(font);
        const GameStrings french;
        CMessageDlg narrow(QStringLiteral("Court"), message_style::ok, french);
        const int templateWidth = narrow.width();
        QVERIFY2(narrow.textBox()->width() < 250, qPrintable(QString::number(narrow.textBox()->width())));

        const QString fortyCharacters = QString(40, QLatin1Char('x'));
        CMessageDlg wide(QStringLiteral("one\r\n") + fortyCharacters + QStringLiteral("\r\nend"), message_style::ok,
                         french);
        QCOMPARE(wide.width(), 330);
        QCOMPARE(wide.textBox()->width(), 250);
        QCOMPARE(wide.textBox()->toPlainText(), QStringLiteral("one\n") + fortyCharacters + QStringLiteral("\nend"));
        // One button alone sits in the middle.
        QPushButton* ok = wide.button(ButtonSlot::First);
        QVERIFY(qAbs(ok->x() + ok->width() / 2 - 165) <= 1);

        // Short lines leave the template's width.
        CMessageDlg shortLines(QStringLiteral("a\nb"), message_style::ok, french);
        QCOMPARE(shortLines.width(), templateWidth);
        QApplication::setFont(QFont());
    }

    void iconsFollowTheStyle() {
        const GameStrings french;
        CMessageDlg warning(QStringLiteral("!"), message_style::ok | 0x10, french);
        QVERIFY(warning.iconLabel()->isVisibleTo(&warning));
        QCOMPARE(warning.iconLabel()->accessibleName(), QStringLiteral("Avertissement"));
        // A help text or a success is information, never an error.
        CMessageDlg information(QStringLiteral("!"), message_style::ok | message_style::information, french);
        QCOMPARE(information.iconLabel()->accessibleName(), QStringLiteral("Information"));
    }

    void manyLinesMakeTheBoxTallerWithinTheScreen() {
        const GameStrings french;
        CMessageDlg few(QStringLiteral("a\nb"), message_style::ok, french);
        QStringList lines;
        for (int i = 0; i < 200; ++i) lines << QStringLiteral("sample %1 could not be read").arg(i);
        CMessageDlg many(lines.join('\n'), message_style::ok, french);
        QVERIFY(many.height() > few.height());
        QVERIFY(many.height() <= many.screen()->availableGeometry().height() * 6 / 10 + 1);
        // The button moved down with the text box.
        const auto* text = many.findChild<QTextEdit*>();
        const auto* ok = many.findChild<QPushButton*>(QString::number(message_dlg::firstButton));
        QVERIFY(text && ok);
        QVERIFY(ok->y() >= text->geometry().bottom());
    }

    void entryPointShowsOwnDialogOrTheStandardBox() {
        // Yes/No goes to the editor's dialog and answers No.
        test::whenDialogShows([](QDialog& open) {
            QVERIFY(qobject_cast<CMessageDlg*>(&open));
            QTest::mouseClick(open.findChild<QPushButton*>(QString::number(message_dlg::secondButton)), Qt::LeftButton);
        });
        QCOMPARE(messageBox(QStringLiteral("Continue?"), message_style::yesNo), MessageResult::No);

        // Retry/Cancel goes to the standard box; Retry answers Retry (4).
        test::whenDialogShows([](QDialog& open) {
            auto* box = qobject_cast<QMessageBox*>(&open);
            QVERIFY(box);
            box->button(QMessageBox::Retry)->click();
        });
        QCOMPARE(messageBox(QStringLiteral("Again?"), message_style::retryCancel), MessageResult::Retry);
    }

    void withoutAScreenTheMessageGoesToStandardError() {
        setScreenForPerson(false);
        // Answered at once, as a box closed without a button.
        QCOMPARE(messageBox(QStringLiteral("Nobody sees this"), message_style::yesNoCancel), MessageResult::Cancel);
        QCOMPARE(messageBox(QStringLiteral("Nor this"), message_style::retryCancel), MessageResult::Cancel);
        setScreenForPerson(true);
    }

    // With CALYX_SCREENSHOT_DIR set (best under a real X server), a picture
    // of each kind of box, to be looked at.
    void picturesOfEveryKind() {
        const QString folder = qEnvironmentVariable("CALYX_SCREENSHOT_DIR");
        if (folder.isEmpty()) QSKIP("CALYX_SCREENSHOT_DIR is not set");
        const GameStrings french;
        const struct {
            const char* name;
            unsigned style;
            const char* text;
        } kinds[] = {
            {"ok", message_style::ok | message_style::exclamation, "Erreur de lecture du .wav"},
            {"ok-cancel", message_style::okCancel, "Remplacer le son de Klaxon\r\npar celui de Moteur ?"},
            {"yes-no", message_style::yesNo | message_style::information, "Continuer ?"},
            {"yes-no-cancel", message_style::yesNoCancel, "Enregistrer les modifications apportées à VLM2Snd.bnm?"},
            {"long-line", message_style::ok, "Une ligne bien plus longue que la boîte de texte du dialogue, qui l'élargit"},
        };
        for (const auto& kind : kinds) {
            CMessageDlg dialog(QString::fromUtf8(kind.text), kind.style, french);
            dialog.show();
            QVERIFY(QTest::qWaitForWindowExposed(&dialog));
            QVERIFY(dialog.grab().save(folder + QStringLiteral("/message-%1.png").arg(QLatin1String(kind.name))));
        }
    }

    void aHookReceivesEveryMessage() {
        QString seen;
        unsigned seenStyle = 0;
        setMessageBoxHook([&](const QString& text, unsigned style, unsigned) {
            seen = text;
            seenStyle = style;
            return MessageResult::Yes;
        });
        QCOMPARE(messageBox(UiText::fromGame("\xC9t\xE9"), message_style::yesNo), MessageResult::Yes);
        setMessageBoxHook({});
        QCOMPARE(seen, QStringLiteral("Été"));
        QCOMPARE(seenStyle, message_style::yesNo);
    }
};

}  // namespace calyx::editor

QTEST_MAIN(calyx::editor::MessageBoxTest)
#include "message_box_tests.moc"
