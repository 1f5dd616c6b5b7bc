#include "editor/widgets/recent_file_list.h"

#include <QSettings>

namespace calyx::editor {

namespace {
const QString group = QStringLiteral("Recent File List");
QString key(int index) { return QStringLiteral("File%1").arg(index + 1); }
}  // namespace

RecentFileList::RecentFileList(int capacity, QObject* parent) : QObject(parent), capacity_(capacity) {}

void RecentFileList::load() {
    QSettings settings;
    settings.beginGroup(group);
    paths_.clear();
    for (int i = 0; i < capacity_; ++i) {
        const QString path = settings.value(key(i)).toString();
        if (!path.isEmpty() && !paths_.contains(path)) paths_.append(path);
    }
    emit changed();
}

void RecentFileList::add(const QString& path) {
    if (path.isEmpty()) return;
    paths_.removeAll(path);
    paths_.prepend(path);
    while (paths_.size() > capacity_) paths_.removeLast();
    save();
    emit changed();
}

void RecentFileList::remove(const QString& path) {
    if (paths_.removeAll(path) == 0) return;
    save();
    emit changed();
}

void RecentFileList::save() const {
    QSettings settings;
    settings.beginGroup(group);
    for (int i = 0; i < capacity_; ++i) {
        if (i < paths_.size()) {
            settings.setValue(key(i), paths_[i]);
        } else {
            settings.remove(key(i));
        }
    }
}

}  // namespace calyx::editor
