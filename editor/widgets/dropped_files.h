// The files a drag from the file manager carries, as local paths. Only URLs
// that name local files count: a web address or a remote share dragged from
// a browser is no file the editor can read. Every drop of files in the editor
// (the main window, the resource list, the edit dialog) reads them here.
#pragma once

#include <QStringList>

class QMimeData;

namespace calyx::editor {

// In the order the drag lists them; empty when it carries no local file.
QStringList localFilesOf(const QMimeData& data);

}  // namespace calyx::editor
