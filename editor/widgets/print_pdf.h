// `calyx --print-pdf OUT.pdf BANK`: the listing File > Print would print,
// written to a PDF (A4, 600 dots per inch) without any window or box.
#pragma once

#include <QString>
#include <ostream>

#include "editor/core/game_strings.h"
#include "editor/core/installation.h"

namespace calyx::editor {

inline constexpr int pdfDotsPerInch = 600;

// Opens the bank, writes the PDF and answers the exit status: 0 when
// written, 1 when the bank cannot be opened or the PDF cannot be written
// (the reason goes to `errors`).
int printBankToPdf(const QString& pdfPath, const QString& bankPath, const GameStrings& strings,
                   const InstallInfo& install, std::ostream& errors);

}  // namespace calyx::editor
