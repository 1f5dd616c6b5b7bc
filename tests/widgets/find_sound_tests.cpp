// Finding a sound in a bank's window: the filter box above the list keeps
// the rows that contain its text, with the count beside it; Ctrl+F, Escape,
// the moving keys and Enter from the box; the sort, the current row and the
// rows' updates go on working on the rows kept.
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include "editor/widgets/calyx_doc.h"
#include "editor/widgets/calyx_view.h"
#include "editor/widgets/resource_list_ctrl.h"
#include "editor/widgets/resource_list_model.h"
#include "fixtures/list_bank.h"
#include "fixtures/temp_dir.h"
#include "list_window.h"
#include "widget_test_support.h"

namespace calyx::editor {

class FindSoundTest : public QObject {
    Q_OBJECT
    fixtures::TempDir dir_;
    test::ListWindow window_;

    QList<qulonglong> shown() const { return window_.rows(); }
    QLineEdit& box() { return *window_.view->filterBox(); }
    CResourceListCtrl& list() { return window_.view->list(); }
    qulonglong current() { return list().currentResource().value_or(99); }

    void open(InterfaceLanguage language) { QVERIFY(window_.open(dir_, language)); }

private slots:
    void init() { open(InterfaceLanguage::English); }
    void cleanup() { window_.close(); }

    void typingKeepsTheMatchingRowsAndCountsThem() {
        QCOMPARE(window_.view->filterCount()->text(), QString("5 of 5"));
        list().setFocus();
        QTest::keyClick(&list(), Qt::Key_F, Qt::ControlModifier);
        QTRY_COMPARE(QApplication::focusWidget(), &box());
        QTest::keyClicks(&box(), "ALP");
        QCOMPARE(shown(), (QList<qulonglong>{1, 4}));
        QCOMPARE(window_.view->filterCount()->text(), QString("2 of 5"));
        QTest::keyClicks(&box(), "x");
        QCOMPARE(shown(), QList<qulonglong>{});
        QCOMPARE(window_.view->filterCount()->text(), QString("0 of 5"));
        // Escape empties the box and every row comes back; again, back to the list.
        QTest::keyClick(&box(), Qt::Key_Escape);
        QCOMPARE(box().text(), QString());
        QCOMPARE(shown().size(), 5);
        QTest::keyClick(&box(), Qt::Key_Escape);
        QTRY_COMPARE(QApplication::focusWidget(), &list());

        open(InterfaceLanguage::French);
        box().setText("moteur");
        QCOMPARE(window_.view->filterCount()->text(), QString("1 sur 5"));
        QCOMPARE(window_.view->filterBox()->accessibleName(), QString("Rechercher un son"));
    }

    void theBoxsKeysChooseARowAndEnterOpensIt() {
        QList<std::size_t> edited;
        connect(window_.view.get(), &CCalyxView::editRequested, this, [&edited](std::size_t r) { edited << r; });
        box().setFocus();
        QTest::keyClicks(&box(), "a");  // zeta (b.wav), Alpha, beta (Piste), ALPHA
        QCOMPARE(shown(), (QList<qulonglong>{0, 1, 3, 4}));
        QCOMPARE(current(), 0u);  // the first row kept is made current
        QTest::keyClick(&box(), Qt::Key_Down);
        QTest::keyClick(&box(), Qt::Key_Down);
        QCOMPARE(current(), 3u);
        QTest::keyClick(&box(), Qt::Key_Down);
        QCOMPARE(current(), 4u);
        QCOMPARE(QApplication::focusWidget(), &box());
        QTest::keyClick(&box(), Qt::Key_Return);
        QCOMPARE(edited, QList<std::size_t>{4});
        // A CD track has no dialog.
        QTest::keyClick(&box(), Qt::Key_Up);
        QTest::keyClick(&box(), Qt::Key_Enter);
        QCOMPARE(edited, QList<std::size_t>{4});
    }

    void theCurrentRowStaysWhileItIsKeptAndTheSortWorksOnTheRowsKept() {
        list().setCurrentIndex(window_.view->model().index(4, 2));
        box().setText("alpha");
        QCOMPARE(current(), 4u);
        QCOMPARE(list().currentIndex().column(), 2);
        QVERIFY(list().selectionModel()->isRowSelected(list().currentIndex().row(), {}));
        // Sorting by volume: Alpha (7) before ALPHA (90), then back.
        window_.view->model().sortByColumn(1);
        QCOMPARE(shown(), (QList<qulonglong>{1, 4}));
        window_.view->model().sortByColumn(1);
        QCOMPARE(shown(), (QList<qulonglong>{4, 1}));
        QCOMPARE(current(), 4u);
        // The whole list keeps the sort.
        box().clear();
        QCOMPARE(shown(), (QList<qulonglong>{2, 0, 4, 3, 1}));
        QCOMPARE(current(), 4u);
    }

    void aChangedRowShowsItsChangeAndStaysUntilTheTextChanges() {
        box().setText("b.wav");
        QCOMPARE(shown(), QList<qulonglong>{0});
        window_.doc->bank().resourceAt(0)->setReplacement(true, 8, "/home/u/klaxon.wav");
        QCOMPARE(window_.view->model().index(0, 2).data().toString(), QString("/home/u/klaxon.wav"));
        QCOMPARE(shown(), QList<qulonglong>{0});
        QVERIFY(window_.doc->isModified());
        box().setText("klaxon");
        QCOMPARE(shown(), QList<qulonglong>{0});
        box().setText("b.wav");
        QCOMPARE(shown(), QList<qulonglong>{});
    }
};

}  // namespace calyx::editor

QTEST_MAIN(calyx::editor::FindSoundTest)
#include "find_sound_tests.moc"
