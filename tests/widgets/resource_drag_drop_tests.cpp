// Dropping a resource row on another, as the list's drop target answers:
// the effect for each key state, the feedback rectangle, the refusals (a
// foreign editor's data, no row, a save running, Shift+Ctrl), the question
// confirmed or cancelled, and the link table's keys afterwards.
#include <QMimeData>
#include <memory>

#include "bank_test_support.h"
#include "editor/core/link_table.h"
#include "editor/core/message_box.h"
#include "editor/widgets/message_box.h"
#include "editor/widgets/resource_drag_data.h"
#include "editor/widgets/resource_drag_drop.h"
#include "widget_test_support.h"

namespace calyx::editor {

class ResourceDragDropTest : public QObject {
    Q_OBJECT

    static constexpr int rowHeight = 20;

    fixtures::TempDir dir_;
    std::unique_ptr<bank::SoundBank> bankA_, bankB_;
    LinkTable links_;
    GameStrings strings_;
    QStringList questions_;
    MessageResult answer_ = MessageResult::Ok;

    // Rows of `rowHeight` pixels, one per resource; nothing below them.
    static ResourceDropTarget::RowAt rowsOf(const bank::SoundBank& bank) {
        return [&bank](const QPoint& p) -> std::optional<int> {
            const int row = p.y() / rowHeight;
            if (p.y() < 0 || row >= static_cast<int>(bank.resourceCount())) return std::nullopt;
            return row;
        };
    }
    static QPoint rowPoint(int row) { return {30, row * rowHeight + 5}; }

    // Drags resource `from` of `source` onto row `to` of `target`.
    DropOutcome dragAndDrop(bank::SoundBank& source, int from, bank::SoundBank& target, int to,
                            Qt::KeyboardModifiers keys = Qt::NoModifier) {
        DragLink link;
        link.bank = &source;
        link.index = from;
        const auto data = makeResourceDragData(link);
        ResourceDropTarget drop(target, links_, strings_, rowsOf(target));
        if (drop.dragEnter(*data, keys, rowPoint(to)) == Qt::IgnoreAction) return DropOutcome::Refused;
        return drop.drop(rowPoint(to));
    }

private slots:
    void initTestCase() {
        test::recordQuestions(questions_, answer_);
    }

    void init() {
        fixtures::BankSpec a;
        a.resources = {test::sample(1, fixtures::patternBytes(40, 1), "ONE.WAV"),
                       test::sample(2, fixtures::patternBytes(24, 2), "TWO.WAV")};
        fixtures::BankSpec b;
        b.resources = {test::sample(7, fixtures::patternBytes(16, 7), "SEVEN.WAV")};
        bankA_ = test::openBankFile(test::writeBank(dir_, "a.bnm", a));
        bankB_ = test::openBankFile(test::writeBank(dir_, "b.bnm", b));
        useLinkTable(*bankA_, links_);
        useLinkTable(*bankB_, links_);
        questions_.clear();
        answer_ = MessageResult::Ok;
    }

    void cleanup() {
        releaseLinks(*bankA_, links_);
        releaseLinks(*bankB_, links_);
        QCOMPARE(links_.size(), std::size_t{0});
    }

    void theEffectFollowsTheKeysAndTheRowUnderTheMouse() {
        DragLink link;
        link.bank = bankA_.get();
        link.index = 0;
        const auto data = makeResourceDragData(link);
        ResourceDropTarget drop(*bankA_, links_, strings_, rowsOf(*bankA_));
        drop.setFeedbackSize({200, rowHeight});
        QCOMPARE(drop.dragEnter(*data, Qt::NoModifier, rowPoint(1)), Qt::MoveAction);
        QCOMPARE(drop.feedback(), QRect(rowPoint(1), QSize(200, rowHeight)));
        QCOMPARE(drop.dragOver(Qt::ShiftModifier, rowPoint(1)), Qt::MoveAction);
        QCOMPARE(drop.dragOver(Qt::ControlModifier, rowPoint(0)), Qt::CopyAction);
        QCOMPARE(drop.feedback()->topLeft(), rowPoint(0));
        QCOMPARE(drop.dragOver(Qt::ControlModifier | Qt::ShiftModifier, rowPoint(1)), Qt::IgnoreAction);
        QCOMPARE(drop.feedback(), std::nullopt);
        QCOMPARE(drop.dragOver(Qt::NoModifier, rowPoint(5)), Qt::IgnoreAction);  // below the rows
        QCOMPARE(drop.feedback(), std::nullopt);
        QCOMPARE(drop.dragOver(Qt::NoModifier, rowPoint(1)), Qt::MoveAction);
        drop.dragLeave();
        QCOMPARE(drop.feedback(), std::nullopt);
        // A drop below the rows does nothing.
        drop.dragEnter(*data, Qt::NoModifier, rowPoint(1));
        QCOMPARE(drop.drop(rowPoint(5)), DropOutcome::Refused);
        QVERIFY(questions_.isEmpty());
    }

    void aDropBetweenTwoBanksConfirmedOrCancelled() {
        answer_ = MessageResult::Cancel;
        QCOMPARE(dragAndDrop(*bankA_, 1, *bankB_, 0), DropOutcome::Cancelled);
        QCOMPARE(questions_, QStringList{"Voulez-vous remplacer res7 par res2 de a.bnm ?"});
        QVERIFY(!bankB_->resourceAt(0)->isReplaced());
        QCOMPARE(links_.size(), std::size_t{0});

        answer_ = MessageResult::Ok;
        QCOMPARE(dragAndDrop(*bankA_, 1, *bankB_, 0, Qt::ControlModifier), DropOutcome::Copied);
        const bank::SoundResource& target = *bankB_->resourceAt(0);
        QVERIFY(target.isReplaced());
        QCOMPARE(target.dataSize(), 24u);
        QVERIFY(target.linkFlags() & bank::fromBank);
        QCOMPARE(links_.pathOf(target.linkKey()), bankA_->bankPath());
        // Within one bank: pasted, not from another bank, and its own bank's key.
        QCOMPARE(dragAndDrop(*bankA_, 0, *bankA_, 1), DropOutcome::Copied);
        QCOMPARE(bankA_->resourceAt(1)->linkFlags() & bank::fromBank, 0u);
        QCOMPARE(links_.refCount(bankA_->resourceAt(1)->linkKey()), 2);
        // A paste of a paste keeps the first bank's key.
        QCOMPARE(dragAndDrop(*bankB_, 0, *bankA_, 0), DropOutcome::Copied);
        QCOMPARE(links_.refCount(target.linkKey()), 3);
    }

    void refusedDrops() {
        // Another running editor's data: same format, another identity.
        DragLink link;
        link.bank = bankA_.get();
        link.index = 0;
        QByteArray bytes;
        QDataStream out(&bytes, QIODevice::WriteOnly);
        out << QByteArray("another editor") << static_cast<quint64>(reinterpret_cast<quintptr>(&link));
        QMimeData foreign;
        foreign.setData(QString::fromLatin1(resourceLinkFormat), bytes);
        ResourceDropTarget drop(*bankB_, links_, strings_, rowsOf(*bankB_));
        QCOMPARE(drop.dragEnter(foreign, Qt::NoModifier, rowPoint(0)), Qt::IgnoreAction);
        QCOMPARE(drop.drop(rowPoint(0)), DropOutcome::Refused);
        // Any other data.
        QMimeData text;
        text.setText(QStringLiteral("ONE.WAV"));
        QCOMPARE(drop.dragEnter(text, Qt::NoModifier, rowPoint(0)), Qt::IgnoreAction);
        // A save of the target running.
        bankB_->raiseSavesInProgress();
        QCOMPARE(dragAndDrop(*bankA_, 0, *bankB_, 0), DropOutcome::Refused);
        bankB_->lowerSavesInProgress();
        // Shift+Ctrl.
        QCOMPARE(dragAndDrop(*bankA_, 0, *bankB_, 0, Qt::ControlModifier | Qt::ShiftModifier), DropOutcome::Refused);
        // The same resource.
        QCOMPARE(dragAndDrop(*bankA_, 0, *bankA_, 0), DropOutcome::Refused);
        // A row whose view closed between entering and dropping.
        auto gone = std::make_unique<DragLink>();
        gone->bank = bankA_.get();
        gone->index = 0;
        const auto data = makeResourceDragData(*gone);
        QCOMPARE(drop.dragEnter(*data, Qt::NoModifier, rowPoint(0)), Qt::MoveAction);
        gone.reset();
        QCOMPARE(drop.drop(rowPoint(0)), DropOutcome::Refused);
        QVERIFY(questions_.isEmpty());
        QVERIFY(!bankB_->resourceAt(0)->isReplaced());
    }
};

}  // namespace calyx::editor

QTEST_MAIN(calyx::editor::ResourceDragDropTest)
#include "resource_drag_drop_tests.moc"
