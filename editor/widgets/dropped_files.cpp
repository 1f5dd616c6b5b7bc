#include "editor/widgets/dropped_files.h"

#include <QMimeData>
#include <QUrl>

namespace calyx::editor {

QStringList localFilesOf(const QMimeData& data) {
    QStringList paths;
    if (!data.hasUrls()) return paths;
    for (const QUrl& url : data.urls())
        if (url.isLocalFile()) paths.append(url.toLocalFile());
    return paths;
}

}  // namespace calyx::editor
