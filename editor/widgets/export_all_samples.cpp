#include "editor/widgets/export_all_samples.h"

#include <QFile>
#include <QStringList>

#include "editor/core/message_box.h"
#include "editor/core/newer_texts.h"
#include "editor/widgets/calyx_doc.h"
#include "editor/widgets/message_box.h"
#include "editor/widgets/progress_window.h"
#include "editor/widgets/qt_text.h"

namespace calyx::editor {
namespace {
// A message box lists at most this many problems.
constexpr std::size_t problemsListed = 12;

QString withNumber(std::string_view text, std::size_t number) {
    return fromBuiltIn(text).replace(QStringLiteral("%1"), QString::number(number));
}
}  // namespace

ExportAllReport exportAllSamplesOf(CCalyxDoc& document, const QString& folder, const GameStrings& strings,
                                   InterfaceLanguage language, QWidget* parent) {
    bank::SoundBank& bank = document.bank();
    ExportAllReport report;
    {
        ProgressWindow progress(parent, fromBuiltIn(newer_text::exportingProgress.in(language)));
        report = exportAllSamples(bank, QFile::encodeName(folder).toStdString(), {},
                                  [&progress](std::size_t done, std::size_t total) { progress.step(done, total); });
    }
    QStringList lines{fromBuiltIn(exportSummary(report.exported, folder.toStdString(), language))};
    if (!report.problems.empty()) {
        lines << QString() << withNumber(newer_text::exportAllProblems.in(language), report.problems.size());
        for (std::size_t i = 0; i < report.problems.size() && i < problemsListed; ++i) {
            const ExportProblem& problem = report.problems[i];
            lines << QStringLiteral("%1: %2").arg(problem.index).arg(fromBuiltIn(
                         exportProblemText(*bank.resourceAt(problem.index), problem, strings, language)));
        }
        if (report.problems.size() > problemsListed)
            lines << withNumber(newer_text::moreProblems.in(language), report.problems.size() - problemsListed);
    }
    messageBox(lines.join(QLatin1Char('\n')),
               report.problems.empty() ? message_style::information : message_style::exclamation);
    return report;
}

}  // namespace calyx::editor
