// The printed listing read back from a PDF written at 600 dots per inch:
// its lines, their order, their heights on the page and the page breaks.
#include <QApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QtTest>
#include <sstream>

#include "bank/sound_bank.h"
#include "editor/widgets/print_pdf.h"
#include "fixtures/bank_builder.h"
#include "fixtures/name_scripts.h"
#include "fixtures/temp_dir.h"

using namespace calyx;

namespace {

struct Word {
    int page;
    double yMin;  // points from the top of the page
    QString text;
};

// The words of every page with their top, from `pdftotext -bbox`.
std::vector<Word> wordsOf(const QString& pdf) {
    QProcess process;
    process.start("pdftotext", {"-bbox", pdf, "-"});
    process.waitForFinished(30000);
    const QString html = QString::fromUtf8(process.readAllStandardOutput());
    std::vector<Word> words;
    int page = 0;
    static const QRegularExpression tag(R"re(<page |<word [^>]*yMin="([0-9.]+)"[^>]*>([^<]*)</word>)re");
    for (auto match = tag.globalMatch(html); match.hasNext();) {
        const auto m = match.next();
        if (m.captured(0).startsWith("<page")) {
            ++page;
            continue;
        }
        words.push_back({page, m.captured(1).toDouble(), m.captured(2)});
    }
    return words;
}

QString plainText(const QString& pdf) {
    QProcess process;
    process.start("pdftotext", {"-layout", pdf, "-"});
    process.waitForFinished(30000);
    // The font draws "ff", "fi" and "fl" as ligatures, which come back as
    // one character each (a temporary folder's random name may hold them).
    return QString::fromUtf8(process.readAllStandardOutput()).normalized(QString::NormalizationForm_KC);
}

constexpr double pointsPerPixel = 72.0 / 600.0;

}  // namespace

class PrintPdfTest : public QObject {
    Q_OBJECT
private:
    fixtures::TempDir dir_;
    editor::GameStrings strings_;

    QString writeBank(int samples, int cdTracks) {
        fixtures::BankSpec spec;
        std::vector<fixtures::NameEntry> names;
        for (int i = 0; i < samples + cdTracks; ++i) {
            fixtures::ResourceSpec r;
            r.id = static_cast<std::uint32_t>(i + 1);
            if (i < samples) {
                r.data = fixtures::patternBytes(100 + static_cast<std::size_t>(i), 1);
                r.fileName = "S" + std::to_string(i) + ".WAV";
                r.looping = i == 0;
            } else {
                r.kind = 3;
                r.stored = 0;
                r.fileName = "PISTE" + std::to_string(i);
            }
            spec.resources.push_back(r);
            names.push_back({static_cast<int>(r.id), "n" + std::to_string(i), "desc" + std::to_string(i)});
        }
        const std::string path = dir_ / ("b" + std::to_string(samples) + ".bnm");
        fixtures::writeBytes(path, fixtures::buildBank(spec));
        fixtures::writeFile(bank::SoundBank::companionPath(path), fixtures::companionText(names));
        return QString::fromStdString(path);
    }

private slots:
    void linesAndPositionsAt600Dpi() {
        const QString bank = writeBank(2, 1);
        const QString pdf = QString::fromStdString(dir_ / "one.pdf");
        std::ostringstream errors;
        QCOMPARE(editor::printBankToPdf(pdf, bank, strings_, {}, errors), 0);
        QCOMPARE(QString::fromStdString(errors.str()), QString());

        QStringList lines;
        for (const QString& line : plainText(pdf).split('\n'))
            if (!line.trimmed().isEmpty()) lines.push_back(line);
        QCOMPARE(lines.size(), 6);
        QCOMPARE(lines[0].trimmed(), bank + " (Ornwick sound bank)");
        QCOMPARE(lines[1].trimmed(), QString("0: Sample(S0.WAV): desc0"));
        // pdftotext makes one space of the two around the unit.
        QCOMPARE(lines[2].simplified(), QString("100 octets; son bouclant"));
        QCOMPARE(lines[3].trimmed(), QString("1: Sample(S1.WAV): desc1"));
        QCOMPARE(lines[4].simplified(), QString("101 octets;"));
        QCOMPARE(lines[5].trimmed(), QString("2 CD(PISTE2)"));

        // Each line's first word: the title at L = 150, entries from 3L, a
        // sample entry 337 pixels, a line within it L.
        std::vector<double> tops;
        for (const Word& w : wordsOf(pdf))
            if (tops.empty() || std::abs(w.yMin - tops.back()) > 1) tops.push_back(w.yMin);
        QCOMPARE(tops.size(), std::size_t{6});
        const double expected[] = {150, 450, 600, 787, 937, 1124};
        const double shift = tops[0] - expected[0] * pointsPerPixel;  // the font's own leading
        QVERIFY(std::abs(shift) < 12);
        for (std::size_t i = 0; i < 6; ++i)
            QVERIFY2(std::abs(tops[i] - shift - expected[i] * pointsPerPixel) < 0.6,
                     qPrintable(QString("line %1 at %2 pt").arg(i).arg(tops[i])));
    }

    void pageBreaks() {
        // A4 holds 19 sample entries under the title, then 20 a page.
        const QString bank = writeBank(45, 0);
        const QString pdf = QString::fromStdString(dir_ / "pages.pdf");
        std::ostringstream errors;
        QCOMPARE(editor::printBankToPdf(pdf, bank, strings_, {}, errors), 0);
        const QStringList pages = plainText(pdf).split('\f', Qt::SkipEmptyParts);
        QCOMPARE(pages.size(), 3);
        QVERIFY(pages[0].contains("Ornwick sound bank"));
        QVERIFY(pages[0].contains("18: Sample("));
        QVERIFY(!pages[0].contains("19: Sample("));
        QVERIFY(pages[1].trimmed().startsWith("19: Sample("));
        QVERIFY(!pages[1].contains("Ornwick sound bank"));
        QVERIFY(pages[2].trimmed().startsWith("39: Sample("));
        QVERIFY(pages[2].contains("44: Sample("));
        for (const Word& w : wordsOf(pdf))
            if (w.page == 2 && w.text == "19:") QVERIFY(std::abs(w.yMin - wordsOf(pdf).front().yMin) < 0.6);
    }

    void failuresExitWithAMessage() {
        std::ostringstream errors;
        const QString pdf = QString::fromStdString(dir_ / "none.pdf");
        QCOMPARE(editor::printBankToPdf(pdf, QString::fromStdString(dir_ / "absent.bnm"), strings_, {}, errors), 1);
        QVERIFY(QString::fromStdString(errors.str()).contains("absent.bnm"));
        QVERIFY(!QFile::exists(pdf));
        errors.str({});
        const QString bank = writeBank(1, 0);
        QCOMPARE(editor::printBankToPdf(QString::fromStdString(dir_ / "no/such/dir/x.pdf"), bank, strings_, {}, errors), 1);
        QVERIFY(QString::fromStdString(errors.str()).contains("x.pdf"));
    }
};

QTEST_MAIN(PrintPdfTest)
#include "print_pdf_tests.moc"
