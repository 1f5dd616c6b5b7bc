// The file dialogs of the resource edit dialog: a WAV file to take
// ("Browse..."), one to listen to ("Test"), and where to export a sample.
#pragma once

#include <QString>
#include <optional>

class QWidget;

namespace calyx::editor {

class GameStrings;

enum class WavFileQuestion { Browse, Test, Export };

// Asks the user; nothing when they cancel.
std::optional<QString> askWavFile(QWidget* parent, WavFileQuestion question, const GameStrings& strings);

// A filter written the Windows way ("Description|*.EXT;*.OTHER||") as the
// toolkit's name filters. Patterns match in any letter case, as they do on
// Windows; the description is shown as written.
QStringList nameFiltersFrom(const QString& windowsFilter);

}  // namespace calyx::editor
