#include "editor/widgets/wav_file_dialog.h"

#include <QFileDialog>
#include <QStringList>

#include "editor/core/game_strings.h"
#include "editor/widgets/qt_text.h"

namespace calyx::editor {

namespace {

// Never replaced by the game's texts.
constexpr const char* browseFilter = "Wave files (*.Wav)|*.WAV||";
constexpr const char* defaultExtension = "WAV";

struct GameText {
    int id;
    const char* french;
};
constexpr GameText wavFilesFilter{34, "Fichiers WAV (*.Wav)|*.WAV||"};
constexpr GameText exportTitle{35, "Exportation du fichier WAV"};
constexpr GameText testTitle{36, "Ouverture du fichier son à écouter"};

QString textOf(const GameText& text, const GameStrings& strings) {
    if (strings.AreGameStringsLoaded()) {
        if (const auto game = strings.GetGameString(text.id)) return fromGameText(*game);
    }
    return QString::fromUtf8(text.french);
}

}  // namespace

QStringList nameFiltersFrom(const QString& windowsFilter) {
    QStringList filters;
    const QStringList parts = windowsFilter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty()) break;
        QStringList patterns;
        for (const QString& pattern : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            for (const QString& spelling : {pattern, pattern.toLower(), pattern.toUpper()})
                if (!patterns.contains(spelling)) patterns << spelling;
        }
        filters << parts[i] + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    return filters;
}

std::optional<QString> askWavFile(QWidget* parent, WavFileQuestion question, const GameStrings& strings) {
    QFileDialog dialog(parent);
    // The description alone is shown; the patterns behind it take every
    // letter case.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setDefaultSuffix(QString::fromLatin1(defaultExtension));
    switch (question) {
        case WavFileQuestion::Browse:
            dialog.setNameFilters(nameFiltersFrom(QString::fromLatin1(browseFilter)));
            dialog.setFileMode(QFileDialog::ExistingFile);
            break;
        case WavFileQuestion::Test:
            dialog.setWindowTitle(textOf(testTitle, strings));
            dialog.setNameFilters(nameFiltersFrom(textOf(wavFilesFilter, strings)));
            dialog.setFileMode(QFileDialog::ExistingFile);
            break;
        case WavFileQuestion::Export:
            dialog.setWindowTitle(textOf(exportTitle, strings));
            dialog.setNameFilters(nameFiltersFrom(textOf(wavFilesFilter, strings)));
            dialog.setAcceptMode(QFileDialog::AcceptSave);
            dialog.setFileMode(QFileDialog::AnyFile);
            break;
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().front();
}

}  // namespace calyx::editor
