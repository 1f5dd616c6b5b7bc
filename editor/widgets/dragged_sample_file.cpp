#include "editor/widgets/dragged_sample_file.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "bank/sound_bank.h"
#include "editor/core/export_all.h"

namespace calyx::editor {
namespace {

// Removed when the editor ends; a program that took a file has its own copy.
QTemporaryDir& draggedSamplesFolder() {
    static QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/calyx-drag-XXXXXX"));
    return folder;
}

}  // namespace

std::optional<QString> writeDraggedSample(bank::SoundBank& bank, int index) {
    if (index < 0 || !draggedSamplesFolder().isValid()) return std::nullopt;
    // Each drag writes into a folder of its own: the file of an earlier
    // drag may still be read by the program it was dropped on.
    static int drags = 0;
    const QString folder = draggedSamplesFolder().filePath(QString::number(++drags));
    if (!QDir().mkpath(folder)) return std::nullopt;
    const ExportProblem written =
        exportSampleInto(bank, static_cast<std::size_t>(index), QFile::encodeName(folder).toStdString());
    if (written.wavError != WavError::None) {
        QDir(folder).removeRecursively();
        return std::nullopt;
    }
    return QFile::decodeName(written.path.c_str());
}

}  // namespace calyx::editor
