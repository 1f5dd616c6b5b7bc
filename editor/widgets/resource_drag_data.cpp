#include "editor/widgets/resource_drag_data.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QIODevice>
#include <QMimeData>
#include <QRandomGenerator>
#include <QSet>

namespace calyx::editor {

namespace {

QSet<const DragLink*>& liveLinks() {
    static QSet<const DragLink*> links;
    return links;
}

}  // namespace

DragLink::DragLink() { liveLinks().insert(this); }
DragLink::~DragLink() { liveLinks().remove(this); }

QByteArray processIdentity() {
    // The process id alone could repeat in another process namespace; a
    // random word drawn once makes the identity this process's own.
    static const QByteArray identity = [] {
        QByteArray bytes;
        QDataStream out(&bytes, QIODevice::WriteOnly);
        out << static_cast<qint64>(QCoreApplication::applicationPid()) << QRandomGenerator::system()->generate64();
        return bytes;
    }();
    return identity;
}

std::unique_ptr<QMimeData> makeResourceDragData(const DragLink& link) {
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out << processIdentity() << static_cast<quint64>(reinterpret_cast<quintptr>(&link));
    auto data = std::make_unique<QMimeData>();
    data->setData(QString::fromLatin1(resourceLinkFormat), bytes);
    return data;
}

bool offersResourceLink(const QMimeData& data) { return data.hasFormat(QString::fromLatin1(resourceLinkFormat)); }

const DragLink* readResourceDragData(const QMimeData& data) {
    if (!offersResourceLink(data)) return nullptr;
    QDataStream in(data.data(QString::fromLatin1(resourceLinkFormat)));
    QByteArray identity;
    quint64 address = 0;
    in >> identity >> address;
    if (in.status() != QDataStream::Ok || identity != processIdentity()) return nullptr;
    // Only an address that is a live link of this process is followed.
    for (const DragLink* link : liveLinks()) {
        if (reinterpret_cast<quintptr>(link) == address) return link;
    }
    return nullptr;
}

bool isLiveDragLink(const DragLink* link) { return liveLinks().contains(link); }

}  // namespace calyx::editor
