// The File menu's most recently used banks, newest first, kept in the
// editor's settings (group "Recent File List", keys File1, File2, ...).
#pragma once

#include <QObject>
#include <QStringList>

namespace calyx::editor {

class RecentFileList : public QObject {
    Q_OBJECT
public:
    explicit RecentFileList(int capacity, QObject* parent = nullptr);

    // Reads the list from the settings; missing or empty entries are skipped.
    void load();
    // Puts `path` first (moving it up when it is there already) and saves.
    void add(const QString& path);
    // Drops `path` (for instance a bank that no longer opens) and saves.
    void remove(const QString& path);

    const QStringList& paths() const { return paths_; }
    int capacity() const { return capacity_; }

signals:
    void changed();

private:
    void save() const;

    int capacity_;
    QStringList paths_;
};

}  // namespace calyx::editor
