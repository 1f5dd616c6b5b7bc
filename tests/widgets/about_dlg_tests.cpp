// The about box's texts, and the dialog-unit geometry every dialog uses.
#include <QLabel>
#include <QPushButton>

#include "editor/widgets/about_dlg.h"
#include "editor/widgets/dialog_units.h"
#include "widget_test_support.h"

namespace calyx::editor {

class AboutDlgTest : public QObject {
    Q_OBJECT

private slots:
    void frenchWithoutAndGameTextsWithTheStrings() {
        const GameStrings french;
        CAboutDlg builtIn(french);
        QCOMPARE(builtIn.windowTitle(), QStringLiteral("A propos de Calyx"));
        QCOMPARE(builtIn.authorLabel()->text(), QStringLiteral("Auteur:"));
        QCOMPARE(builtIn.authorLabel()->objectName(), QStringLiteral("1020"));

        const GameStrings english = test::englishStrings();
        CAboutDlg game(english);
        QCOMPARE(game.windowTitle(), QStringLiteral("About Calyx"));
        QCOMPARE(game.authorLabel()->text(), QStringLiteral("Author:"));

        // A text the game lacks keeps the French one.
        const GameStrings captionOnly = test::gameStrings({{97, "\xC0 propos de "}});
        CAboutDlg partial(captionOnly);
        QCOMPARE(partial.windowTitle(), QStringLiteral("À propos de Calyx"));
        QCOMPARE(partial.authorLabel()->text(), QStringLiteral("Auteur:"));
    }

    void okCloses() {
        const GameStrings french;
        CAboutDlg dialog(french);
        test::whenDialogShows([](QDialog& open) { open.findChild<QPushButton*>(QStringLiteral("1"))->click(); });
        QCOMPARE(dialog.exec(), int(QDialog::Accepted));
    }

    void dialogUnitsFollowTheFont() {
        QFont small;
        small.setPixelSize(11);
        QFont large;
        large.setPixelSize(22);
        const DialogUnits a(small);
        const DialogUnits b(large);
        // A quarter of the average character width across, an eighth of the
        // height down.
        QCOMPARE(a.toPixelsX(4), a.baseWidth());
        QCOMPARE(a.toPixelsY(8), a.baseHeight());
        QVERIFY(b.baseWidth() >= 2 * a.baseWidth() - 1 && b.baseWidth() <= 2 * a.baseWidth() + 1);
        QVERIFY(b.toPixelsX(190) > a.toPixelsX(190) * 3 / 2);
        QCOMPARE(a.rect(10, 16, 40, 8), QRect(a.toPixelsX(10), a.baseHeight() * 2, a.baseWidth() * 10, a.baseHeight()));
    }
};

}  // namespace calyx::editor

QTEST_MAIN(calyx::editor::AboutDlgTest)
#include "about_dlg_tests.moc"
