// The drag data of a resource row: read back only by the editor that made
// it, and only while the link it names exists.
#include <QDataStream>
#include <QIODevice>
#include <QMimeData>
#include <QtTest>

#include "editor/widgets/resource_drag_data.h"

namespace calyx::editor {

class ResourceDragDataTest : public QObject {
    Q_OBJECT

    static QByteArray payload(const QByteArray& identity, quint64 address) {
        QByteArray bytes;
        QDataStream out(&bytes, QIODevice::WriteOnly);
        out << identity << address;
        return bytes;
    }

private slots:
    void onlyThisEditorsLiveLinksAreReadBack() {
        auto link = std::make_unique<DragLink>();
        link->index = 3;
        const auto data = makeResourceDragData(*link);
        QVERIFY(data->hasFormat(QStringLiteral("QK_Ornwick Calyx BnmRes Link")));
        QCOMPARE(readResourceDragData(*data), link.get());

        const auto address = static_cast<quint64>(reinterpret_cast<quintptr>(link.get()));
        const QString format = QString::fromLatin1(resourceLinkFormat);
        // Another running editor: same layout, another identity.
        QByteArray foreignIdentity = processIdentity();
        foreignIdentity[foreignIdentity.size() - 1] = char(foreignIdentity.back() ^ 1);
        QMimeData foreign;
        foreign.setData(format, payload(foreignIdentity, address));
        QVERIFY(offersResourceLink(foreign));
        QCOMPARE(readResourceDragData(foreign), nullptr);
        // Malformed data, and data without the format.
        QMimeData garbage;
        garbage.setData(format, QByteArray("\x01\x02", 2));
        QCOMPARE(readResourceDragData(garbage), nullptr);
        QMimeData text;
        text.setText(QStringLiteral("hello"));
        QVERIFY(!offersResourceLink(text));
        QCOMPARE(readResourceDragData(text), nullptr);
        // A link that no longer exists is never followed.
        link.reset();
        QCOMPARE(readResourceDragData(*data), nullptr);
    }
};

}  // namespace calyx::editor

QTEST_MAIN(calyx::editor::ResourceDragDataTest)
#include "resource_drag_data_tests.moc"
