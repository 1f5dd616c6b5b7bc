// Rows dragged between two open documents' lists, as the lists receive the
// drag: the effect for each key state, the question confirmed or
// cancelled, the document marked modified only by a copy, refusals, and
// the link table emptied when the documents close.
#include <QMimeData>
#include <QTest>

#include "bank_test_support.h"
#include "editor/core/message_box.h"
#include "editor/widgets/calyx_doc.h"
#include "editor/widgets/calyx_view.h"
#include "editor/widgets/message_box.h"
#include "editor/widgets/resource_drag_data.h"
#include "editor/widgets/resource_list_ctrl.h"
#include "editor/widgets/resource_list_model.h"
#include "widget_test_support.h"

namespace calyx::editor {

class ListDragDropTest : public QObject {
    Q_OBJECT

    struct Open {
        std::unique_ptr<CCalyxDoc> doc;
        std::unique_ptr<CCalyxView> view;
    };

    fixtures::TempDir dir_;
    LinkTable links_;
    GameStrings strings_;
    Open a_, b_;
    QStringList questions_;
    MessageResult answer_ = MessageResult::Ok;

    Open openView(const std::string& name, std::uint32_t firstId) {
        fixtures::BankSpec spec;
        spec.resources = {test::sample(firstId, fixtures::patternBytes(40, 1), "ONE.WAV"),
                          test::sample(firstId + 1, fixtures::patternBytes(24, 2), "TWO.WAV")};
        Open open;
        open.doc = std::make_unique<CCalyxDoc>(links_, strings_);
        if (!open.doc->openDocument(QString::fromStdString(test::writeBank(dir_, name, spec)), {})) qFatal("no bank");
        open.view = std::make_unique<CCalyxView>(*open.doc, strings_, audio::WaveDeviceLink{});
        open.view->resize(600, 200);
        open.view->show();
        return open;
    }

    static QPoint rowPoint(const Open& open, int row) {
        CResourceListCtrl& list = open.view->list();
        return list.visualRect(open.view->model().index(row, 0)).center();
    }

    // Sends a drag of `data` entering `target`'s list at `row` (-1: below
    // the rows) and dropping there; answers the effect of the move and
    // whether the drop was taken.
    static std::pair<Qt::DropAction, bool> dragOnto(const Open& target, int row, const QMimeData& data,
                                                    Qt::KeyboardModifiers keys = Qt::NoModifier) {
        QWidget* viewport = target.view->list().viewport();
        const QPoint at = row >= 0 ? rowPoint(target, row) : QPoint(10, viewport->height() - 5);
        const Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
        QDragEnterEvent enter(at, offered, &data, Qt::LeftButton, keys);
        QCoreApplication::sendEvent(viewport, &enter);
        QDragMoveEvent move(at, offered, &data, Qt::LeftButton, keys);
        QCoreApplication::sendEvent(viewport, &move);
        const Qt::DropAction effect = move.isAccepted() ? move.dropAction() : Qt::IgnoreAction;
        if (effect == Qt::IgnoreAction) {
            QDragLeaveEvent leave;
            QCoreApplication::sendEvent(viewport, &leave);
            return {effect, false};
        }
        QDropEvent drop(at, offered, &data, Qt::LeftButton, keys);
        drop.setDropAction(effect);
        QCoreApplication::sendEvent(viewport, &drop);
        return {effect, drop.isAccepted()};
    }

private slots:
    void initTestCase() {
        test::recordQuestions(questions_, answer_);
    }

    void init() {
        a_ = openView("a.bnm", 1);
        b_ = openView("b.bnm", 7);
        questions_.clear();
        answer_ = MessageResult::Ok;
    }

    void cleanup() {
        for (Open* open : {&a_, &b_}) {
            open->view.reset();
            open->doc.reset();
        }
        // Closing both documents gives every key back.
        QCOMPARE(links_.size(), std::size_t{0});
    }

    void aRowDroppedOnAnotherDocumentsRow() {
        DragLink link;
        link.bank = &a_.doc->bank();
        link.index = 1;
        const auto data = makeResourceDragData(link);

        answer_ = MessageResult::Cancel;
        QCOMPARE(dragOnto(b_, 0, *data), std::make_pair(Qt::MoveAction, false));
        QCOMPARE(questions_, QStringList{"Voulez-vous remplacer res7 par res2 de a.bnm ?"});
        QVERIFY(!b_.doc->isModified());
        QVERIFY(!b_.doc->bank().resourceAt(0)->isReplaced());

        answer_ = MessageResult::Ok;
        QCOMPARE(dragOnto(b_, 0, *data, Qt::ControlModifier), std::make_pair(Qt::CopyAction, true));
        QVERIFY(b_.doc->isModified());
        const bank::SoundResource& target = *b_.doc->bank().resourceAt(0);
        QCOMPARE(target.dataSize(), 24u);
        QVERIFY(target.linkFlags() & bank::fromBank);
        QCOMPARE(links_.pathOf(target.linkKey()), a_.doc->bank().bankPath());
        QVERIFY(!a_.doc->isModified());
        // Within one document.
        QCOMPARE(dragOnto(a_, 0, *data), std::make_pair(Qt::MoveAction, true));
        QVERIFY(a_.doc->isModified());
        QCOMPARE(links_.size(), std::size_t{1});
    }

    void refusedDrags() {
        DragLink link;
        link.bank = &a_.doc->bank();
        link.index = 0;
        const auto data = makeResourceDragData(link);
        QCOMPARE(dragOnto(b_, 0, *data, Qt::ControlModifier | Qt::ShiftModifier).first, Qt::IgnoreAction);
        QCOMPARE(dragOnto(b_, -1, *data).first, Qt::IgnoreAction);  // below the rows
        b_.doc->bank().raiseSavesInProgress();
        QCOMPARE(dragOnto(b_, 0, *data).first, Qt::IgnoreAction);
        b_.doc->bank().lowerSavesInProgress();
        // Another running editor's row.
        QByteArray bytes;
        QDataStream out(&bytes, QIODevice::WriteOnly);
        out << QByteArray("elsewhere") << static_cast<quint64>(reinterpret_cast<quintptr>(&link));
        QMimeData foreign;
        foreign.setData(QString::fromLatin1(resourceLinkFormat), bytes);
        QCOMPARE(dragOnto(b_, 0, foreign).first, Qt::IgnoreAction);
        QVERIFY(questions_.isEmpty());
        QVERIFY(!b_.doc->isModified());
    }

    void theRowsCanBeDragged() {
        CResourceListCtrl& list = a_.view->list();
        QVERIFY(list.dragEnabled());
        QVERIFY(a_.view->model().flags(a_.view->model().index(0, 0)).testFlag(Qt::ItemIsDragEnabled));
        QCOMPARE(list.resourceAt(rowPoint(a_, 1)), std::optional<std::size_t>{1});
        QCOMPARE(list.resourceAt(QPoint(10, list.viewport()->height() - 5)), std::nullopt);
    }
};

}  // namespace calyx::editor

QTEST_MAIN(calyx::editor::ListDragDropTest)
#include "list_drag_drop_tests.moc"
