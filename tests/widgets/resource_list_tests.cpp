// The resource list in its view: cells of each kind, sorting by header
// clicks, rows that follow their resources through a sort and the
// document's changes (with or without a view), and the document marked
// modified by every change.
#include <QHeaderView>
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

class ResourceListTest : public QObject {
    Q_OBJECT
    fixtures::TempDir dir_;
    test::ListWindow window_;

    QString cell(int row, int column) const { return window_.view->model().index(row, column).data().toString(); }
    QList<qulonglong> order() const { return window_.rows(); }
    void clickHeader(int column) {
        QHeaderView* header = window_.view->list().horizontalHeader();
        const QPoint at(header->sectionViewportPosition(column) + 5, header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    }

private slots:
    void init() {
        QVERIFY(window_.open(dir_));
    }
    void cleanup() { window_.close(); }

    void columnsAndCells() {
        ResourceListModel& model = window_.view->model();
        QCOMPARE(model.rowCount(), 5);
        const QStringList titles{"Name", "Volume", "File Name", "Description"};
        const int widths[] = {120, 50, 100, 350};
        for (int c = 0; c < 4; ++c) {
            QCOMPARE(model.headerData(c, Qt::Horizontal, Qt::DisplayRole).toString(), titles[c]);
            QCOMPARE(window_.view->list().columnWidth(c), widths[c]);
        }
        QCOMPARE((QStringList{cell(0, 0), cell(0, 1), cell(0, 2), cell(0, 3)}),
                 (QStringList{"zeta", "90", "b.wav", "Moteur"}));
        QCOMPARE(cell(1, 2), QString());  // a sample without a file of its own
        QCOMPARE((QStringList{cell(2, 1), cell(2, 2)}), (QStringList{"-", ""}));  // empty slot
        QCOMPARE((QStringList{cell(3, 1), cell(3, 2)}), (QStringList{"50", ""}));  // CD track
        QCOMPARE(window_.view->list().selectionBehavior(), QAbstractItemView::SelectRows);
        QVERIFY(!window_.view->list().verticalHeader()->isVisible());
    }

    void headerClicksSortEachColumnItsOwnWay() {
        clickHeader(1);  // volume, ascending: the empty slot's -1 is the largest
        QCOMPARE(order(), (QList<qulonglong>{1, 3, 0, 4, 2}));
        clickHeader(1);
        QCOMPARE(order(), (QList<qulonglong>{2, 0, 4, 3, 1}));
        clickHeader(0);  // another column starts ascending; equal names stay as the last sort left them
        QCOMPARE(order(), (QList<qulonglong>{2, 4, 1, 3, 0}));
        clickHeader(2);  // the CD track sorts by its file although its cell is empty
        QCOMPARE(order(), (QList<qulonglong>{2, 1, 4, 0, 3}));
    }

    void aChangeRefreshesOnlyItsRowAfterASortAndMarksTheDocument() {
        clickHeader(0);
        clickHeader(0);  // descending: zeta first
        QSignalSpy changed(&window_.view->model(), &QAbstractItemModel::dataChanged);
        QVERIFY(!window_.doc->isModified());
        window_.doc->bank().resourceAt(0)->setVolume(12);
        QCOMPARE(changed.size(), 1);
        const int row = changed.front()[0].toModelIndex().row();
        QCOMPARE(row, 0);
        QCOMPARE(changed.front()[1].toModelIndex().row(), 0);
        QCOMPARE(cell(row, 1), QString("12"));
        QVERIFY(window_.doc->isModified());

        window_.doc->bank().resourceAt(4)->setReplacement(true, 8, "/home/u/sons/klaxon.wav");
        QCOMPARE(cell(window_.view->model().rowOfResource(4), 2), QString("/home/u/sons/klaxon.wav"));

        // A resource without a row still marks the document.
        window_.doc->setModified(false);
        bank::SoundResource stray;
        window_.doc->bank().notifyListeners(stray);
        QVERIFY(window_.doc->isModified());
    }

    void theModelFollowsTheDocumentWithoutAView() {
        CCalyxDoc doc(window_.links, window_.strings);
        QVERIFY(doc.openDocument(QString::fromStdString(fixtures::writeListBank(dir_)), {}));
        QSignalSpy marked(&doc, &CCalyxDoc::modifiedChanged);
        ResourceListModel model(doc.document(), window_.strings);
        QCOMPARE(model.rowCount(), 5);
        model.sortByColumn(0);
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        doc.bank().resourceAt(3)->setVolume(7);
        QCOMPARE(changed.size(), 1);
        const int row = model.rowOfResource(3);
        QCOMPARE(changed.front()[0].toModelIndex().row(), row);
        QCOMPARE(model.index(row, 1).data().toString(), QString("7"));
        QCOMPARE(marked.size(), 1);
        QCOMPARE(marked.front()[0].toBool(), true);
        // A save unmarks the window once, and never marks it on the way.
        QVERIFY(doc.saveDocument(doc.pathName()));
        QCOMPARE(marked.size(), 2);
        QCOMPARE(marked.back()[0].toBool(), false);
        QCOMPARE(model.index(row, 1).data().toString(), QString("7"));
    }

    void aDoubleClickOnANameOpensThatResourceOnly() {
        QList<std::size_t> opened;
        connect(window_.view.get(), &CCalyxView::editRequested, this,
                [&opened](std::size_t resource) { opened << resource; });
        clickHeader(0);
        CResourceListCtrl& list = window_.view->list();
        const QRect name = list.visualRect(window_.view->model().index(0, 0));
        QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, name.topLeft() + QPoint(4, 4));
        const QRect volume = list.visualRect(window_.view->model().index(1, 1));
        QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, volume.center());
        QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, QPoint(10, list.viewport()->height() - 5));
        QCOMPARE(opened, (QList<std::size_t>{2}));
    }
};

}  // namespace calyx::editor

QTEST_MAIN(calyx::editor::ResourceListTest)
#include "resource_list_tests.moc"
