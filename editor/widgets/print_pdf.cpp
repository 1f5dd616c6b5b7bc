#include "editor/widgets/print_pdf.h"

#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include "editor/core/bank_document.h"
#include "editor/core/link_table.h"
#include "editor/core/print_layout.h"
#include "editor/widgets/listing_printer.h"

namespace calyx::editor {
namespace {

constexpr std::string_view pdfNotWritten = "%1\nImpossible d'écrire le fichier PDF.";

}  // namespace

int printBankToPdf(const QString& pdfPath, const QString& bankPath, const GameStrings& strings,
                   const InstallInfo& install, std::ostream& errors) {
    LinkTable links;
    BankDocument document(links);
    const auto opened = document.open(QFile::encodeName(bankPath).toStdString(), install);
    if (opened.report) errors << opened.report->text(strings, InterfaceLanguage::French).utf8() << '\n';
    if (!opened.opened) return 1;

    auto failed = [&] {
        const std::string path = QFile::encodeName(pdfPath).toStdString();
        errors << formatWithArgument(UiText::builtIn(pdfNotWritten), path) << '\n';
        return 1;
    };
    // The writer only says that painting could not begin; ask the file first.
    if (QFile file(pdfPath); !file.open(QIODevice::WriteOnly)) return failed();
    QPdfWriter writer(pdfPath);
    writer.setResolution(pdfDotsPerInch);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    writer.setTitle(bankPath);
    writer.setCreator(QStringLiteral("Calyx"));
    QPainter painter;
    if (!painter.begin(&writer)) return failed();
    const ListingLayout layout = layOutListing(document.bank(), printAreaOf(writer), listingWords(strings));
    paintListing(painter, writer, layout);
    if (!painter.end()) return failed();
    // The writer reports no failure of its own: a PDF that did not reach
    // the disk is found by looking.
    if (QFile(pdfPath).size() == 0) return failed();
    return 0;
}

}  // namespace calyx::editor
