// The bank document: opening (the name rules, bad files), saving (Save As,
// the companion, failures that keep the file and the modified flag),
// closing (the question, the links given back), and what the user is told.
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <memory>
#include <vector>

#include "edit_test_support.h"
#include "editor/core/bank_document.h"
#include "editor/core/converted_copies.h"
#include "editor/core/resource_drop.h"
#include "fixtures/file_size_limit.h"
#include "fixtures/game_strings_table.h"
#include "fixtures/strings_dat.h"
#include "fixtures/wav_builder.h"
#include "platform/file.h"

namespace calyx::editor {
namespace {

using test::sample;
using test::writeBank;

class Document : public ::testing::Test {
protected:
    Document() {
        spec_.resources = {sample(1, fixtures::patternBytes(40, 1), "A.WAV"),
                           sample(2, fixtures::patternBytes(24, 2), "B.WAV")};
        path_ = writeBank(dir_, "bank.bnm", spec_);
    }
    BankDocument::OpenResult open(BankDocument& doc, const std::string& path) {
        return doc.open(path, InstallInfo{});
    }
    std::string wavFile(const std::string& name, const fixtures::Bytes& samples) {
        fixtures::writeBytes(dir_ / name, fixtures::simpleWav(samples));
        return dir_ / name;
    }
    std::string french(const std::optional<DocumentReport>& report) const {
        return report ? report->text(strings_, InterfaceLanguage::French).utf8() : std::string();
    }

    fixtures::TempDir dir_;
    fixtures::BankSpec spec_;
    std::string path_;
    LinkTable links_;
    GameStrings strings_;
};

TEST_F(Document, OpensABankNamedInAnyLetterCaseOnly) {
    for (const std::string name : {"a.BNM", "b.Bnm"}) {
        const std::string path = writeBank(dir_, name, spec_);
        BankDocument doc(links_);
        EXPECT_TRUE(open(doc, path).opened) << name;
        EXPECT_EQ(doc.bank().resourceCount(), 2u);
        EXPECT_FALSE(doc.isModified());
        EXPECT_EQ(doc.displayName(), name);
    }
    for (const std::string name : {"c.bnk", "d.bnmx"}) {
        const std::string path = writeBank(dir_, name, spec_);
        BankDocument doc(links_);
        const auto result = open(doc, path);
        EXPECT_FALSE(result.opened) << name;
        ASSERT_TRUE(result.report);
        EXPECT_EQ(result.report->problem, DocumentProblem::NotABankName);
        EXPECT_NE(french(result.report).find(name), std::string::npos);
    }
    BankDocument doc(links_);
    EXPECT_EQ(open(doc, dir_ / "missing.bnm").report->problem, DocumentProblem::NotFound);
}

TEST_F(Document, BadFilesAreRefusedWithAMessageAndLeftUntouched) {
    const auto bytes = fixtures::buildBank(spec_);
    fixtures::writeBytes(dir_ / "cut.bnm", {bytes.begin(), bytes.begin() + 50});
    fixtures::writeFile(dir_ / "noise.bnm", std::string(300, '\xA7'));
    fixtures::makeDirs(dir_ / "folder.bnm");
    const std::pair<std::string, DocumentProblem> cases[] = {
        {"cut.bnm", DocumentProblem::NotABank},
        {"noise.bnm", DocumentProblem::NotABank},
        {"folder.bnm", DocumentProblem::Folder},
    };
    for (const auto& [name, problem] : cases) {
        const auto before = platform::directoryExists(dir_ / name) ? std::vector<unsigned char>{} : fixtures::readBytes(dir_ / name);
        BankDocument doc(links_);
        const auto result = open(doc, dir_ / name);
        EXPECT_FALSE(result.opened) << name;
        ASSERT_TRUE(result.report) << name;
        EXPECT_EQ(result.report->problem, problem) << name;
        // Without the game's texts there is still a message, naming the file.
        EXPECT_NE(french(result.report).find(name), std::string::npos) << french(result.report);
        if (!before.empty()) {
            EXPECT_EQ(fixtures::readBytes(dir_ / name), before);
        }
    }
}

TEST_F(Document, AnEmptyFileAFileOfAnotherKindAndNoNameAreSaidForWhatTheyAre) {
    fixtures::writeFile(dir_ / "empty.bnm", "");
    BankDocument empty(links_);
    const auto refused = open(empty, dir_ / "empty.bnm");
    EXPECT_FALSE(refused.opened);
    EXPECT_EQ(french(refused.report), "empty.bnm\nCe fichier est vide : ce n'est pas une banque de sons.");
    EXPECT_EQ(refused.report->text(strings_, InterfaceLanguage::English).utf8(), dir_ / "empty.bnm" + ": the file is empty");

    // The game's "cannot be found" is for a missing file only: a WAV file
    // opened as a bank is said to be no bank, in the game's language.
    fixtures::writeStringsDat(dir_ / "strings.dat", {{141, "%1\nThe file cannot be found."}});
    ASSERT_EQ(strings_.load(dir_ / "strings.dat"), 1);
    BankDocument wav(links_);
    const auto notABank = open(wav, wavFile("good.wav", fixtures::patternBytes(8, 1)));
    EXPECT_EQ(notABank.report->boxText(strings_, InterfaceLanguage::English).utf8(),
              "good.wav\nThis file is not a sound bank: a bank's name ends in .bnm.");
    BankDocument gone(links_);
    EXPECT_EQ(open(gone, dir_ / "gone.bnm").report->boxText(strings_, InterfaceLanguage::English).utf8(),
              "gone.bnm\nThe file cannot be found.");
    BankDocument nothing(links_);
    EXPECT_EQ(open(nothing, "").report->boxText(strings_, InterfaceLanguage::English).utf8(),
              "No file is named: nothing to open.");
}

TEST_F(Document, ABankCutOffInItsDataOpensWithAWarningAndAFailedSaveNamesTheSound) {
    const auto whole = fixtures::readBytes(path_);
    const std::string cut = dir_ / "cut.bnm";
    fixtures::writeBytes(cut, {whole.begin(), whole.end() - 10});  // B's last bytes are gone
    BankDocument doc(links_);
    const auto opened = open(doc, cut);
    ASSERT_TRUE(opened.opened);
    ASSERT_TRUE(opened.dataWarning);
    EXPECT_EQ(opened.dataWarning->boxText(strings_, InterfaceLanguage::English).utf8(),
              "cut.bnm\nThe file ends before the data of these sounds, which cannot be read: 1.");

    const auto failed = doc.save(cut);
    EXPECT_FALSE(failed.saved);
    ASSERT_TRUE(failed.report);
    EXPECT_EQ(failed.report->sound, std::optional<std::size_t>(1));
    const std::string box = failed.report->boxText(strings_, InterfaceLanguage::English).utf8();
    EXPECT_NE(box.find("The data of the sound \"n° 1\" cannot be read."), std::string::npos) << box;
    EXPECT_EQ(box.find("WAV"), std::string::npos) << box;
    EXPECT_NE(failed.report->text(strings_, InterfaceLanguage::English).utf8().find("resource 1: its data cannot be read"),
              std::string::npos);
    // Nothing was changed: a failed save leaves the document unmodified.
    EXPECT_FALSE(doc.isModified());
    EXPECT_EQ(fixtures::readBytes(cut), std::vector<unsigned char>(whole.begin(), whole.end() - 10));
}

TEST_F(Document, GameTextsComeFirstAndNameTheFile) {
    fixtures::writeStringsDat(dir_ / "strings.dat", {{141, "%1 introuvable (jeu)"}, {153, "noms illisibles"}});
    ASSERT_EQ(strings_.load(dir_ / "strings.dat"), 1);
    BankDocument doc(links_);
    const auto result = open(doc, dir_ / "gone.bnm");
    EXPECT_EQ(french(result.report), "gone.bnm introuvable (jeu)");
    // A text the game does not have falls back on the built-in one.
    DocumentReport denied{DocumentProblem::AccessDeniedLoading, "/x/locked.bnm"};
    EXPECT_EQ(denied.text(strings_, InterfaceLanguage::French).utf8(),
              "locked.bnm\nAccès refusé : impossible de lire ce fichier.");
    // calyx-cli's lines name the file by its path.
    EXPECT_EQ(denied.text(strings_, InterfaceLanguage::English).utf8(),
              "/x/locked.bnm: cannot be opened for reading (access denied)");
    DocumentReport names{DocumentProblem::LoadIncomplete, "/x/b.bnm", bank::BankError::CompanionUnreadable};
    EXPECT_EQ(names.text(strings_, InterfaceLanguage::French).utf8(), "noms illisibles");
    EXPECT_EQ(names.text(GameStrings{}, InterfaceLanguage::English).utf8(),
              "/x/b.bnm: the companion name file cannot be read; names and descriptions are empty");
}

TEST_F(Document, AMissingCompanionOpensTheBankWithAWarning) {
    const std::string companion = bank::SoundBank::companionPath(path_);
    ::unlink(companion.c_str());
    BankDocument doc(links_);
    const auto result = open(doc, path_);
    EXPECT_TRUE(result.opened);
    ASSERT_TRUE(result.report);
    EXPECT_EQ(result.report->problem, DocumentProblem::LoadIncomplete);
    EXPECT_EQ(result.report->bankError, bank::BankError::CompanionUnreadable);
}

TEST_F(Document, SaveAsATq2BankTakesItsCompanionAlongAK7BankHasNone) {
    BankDocument doc(links_);
    ASSERT_TRUE(open(doc, path_).opened);
    doc.setModified(true);
    const auto saved = doc.save(dir_ / "copy.bnm");
    EXPECT_TRUE(saved.saved);
    EXPECT_FALSE(saved.report);
    EXPECT_FALSE(doc.isModified());
    EXPECT_EQ(doc.pathName(), dir_ / "copy.bnm");
    EXPECT_EQ(fixtures::readFile(dir_ / "copy.bns"), fixtures::readFile(dir_ / "bank.bns"));
    // Saving under its own name, in another letter case, copies nothing more.
    ::unlink((dir_ / "copy.bns").c_str());
    EXPECT_TRUE(doc.save(dir_ / "COPY.bnm").saved || doc.save(dir_ / "copy.bnm").saved);

    fixtures::BankSpec k7 = spec_;
    k7.k7 = true;
    fixtures::writeBytes(dir_ / "k7.bnm", fixtures::buildBank(k7));
    BankDocument first(links_);
    ASSERT_TRUE(open(first, dir_ / "k7.bnm").opened);
    EXPECT_TRUE(first.save(dir_ / "k7copy.bnm").saved);
    EXPECT_FALSE(platform::fileExists(dir_ / "k7copy.bns"));
}

TEST_F(Document, AFailedSaveKeepsTheFileAndTheModifiedFlag) {
    BankDocument doc(links_);
    ASSERT_TRUE(open(doc, path_).opened);
    const auto original = fixtures::readBytes(path_);
    doc.bank().resourceAt(1)->setReplacement(true, 4000, wavFile("big.wav", fixtures::patternBytes(4000, 9)));
    doc.setModified(true);
    {
        fixtures::FileSizeLimit full(300);
        const auto result = doc.save(path_);
        EXPECT_FALSE(result.saved);
        ASSERT_TRUE(result.report);
        EXPECT_EQ(result.report->problem, DocumentProblem::SaveFailed);
        EXPECT_NE(french(result.report).find("n'a pas été modifié"), std::string::npos);
    }
    EXPECT_EQ(fixtures::readBytes(path_), original);
    EXPECT_TRUE(doc.isModified());
    EXPECT_FALSE(doc.isSaving());
    EXPECT_TRUE(doc.save(path_).saved);
    EXPECT_FALSE(doc.isModified());
}

// A full disk, a device failing on a read or a write, a missing folder: each
// in the game's own words for it when they are there.
TEST(SaveFailureReport, TheSystemsAnswerChoosesTheWords) {
    using bank::SaveStep;
    struct Case {
        bank::SaveFailure failure;
        DocumentProblem problem;
        const char* gameText;
    };
    const std::vector<Case> cases = {
        {{SaveStep::SampleData, bank::BankError::SourceMissing, 3, ENOSPC, {}}, DocumentProblem::DiskFull, "full"},
        {{SaveStep::Flush, bank::BankError::SourceMissing, {}, EDQUOT, {}}, DocumentProblem::DiskFull, "full"},
        {{SaveStep::SampleData, bank::BankError::SourceUnreadable, 1, EIO, {}}, DocumentProblem::ReadError, "read"},
        {{SaveStep::Header, bank::BankError::SourceMissing, {}, EIO, {}}, DocumentProblem::WriteError, "written"},
        {{SaveStep::SampleData, bank::BankError::SourceMissing, 0, EFBIG, {}}, DocumentProblem::SaveFailed, "bank"},
        {{SaveStep::Replace, {}, {}, ENOENT, {}}, DocumentProblem::FolderMissing, nullptr},
        {{SaveStep::Replace, {}, {}, EACCES, {}}, DocumentProblem::ReplaceFailed, "denied"},
    };
    const GameStrings strings = fixtures::gameStrings({{142, "%1\\nThe disk is full."},
                                                       {144, "%1\\nAccess denied."},
                                                       {145, "%1\\nThe file cannot be read."},
                                                       {146, "%1\\nThe file cannot be written."},
                                                       {62, "The bank could not be saved"}});
    for (const Case& c : cases) {
        const DocumentReport report = saveFailureReport(c.failure, "/games/b.bnm");
        EXPECT_EQ(report.problem, c.problem) << c.failure.systemError;
        const std::string text = report.text(strings, InterfaceLanguage::English).utf8();
        if (c.gameText) {
            EXPECT_NE(text.find(c.gameText), std::string::npos) << text;
        }
        // Without the game's texts, the built-in text says why.
        const std::string builtIn = report.text(GameStrings{}, InterfaceLanguage::English).utf8();
        EXPECT_NE(builtIn.find("/games/b.bnm"), std::string::npos) << builtIn;
    }
}

TEST_F(Document, ANewBankCannotBeSavedAndSaysSo) {
    BankDocument doc(links_);
    doc.setTitle("Calyx1");
    const auto result = doc.save(dir_ / "new.bnm");
    EXPECT_FALSE(result.saved);
    EXPECT_EQ(result.report->problem, DocumentProblem::NewBankCannotBeSaved);
    EXPECT_NE(french(result.report).find("Calyx1"), std::string::npos);
    EXPECT_FALSE(platform::fileExists(dir_ / "new.bnm"));
}

TEST(SaveAsName, AddsTheExtensionOrRefusesAnother) {
    EXPECT_EQ(bankSavePath("/d/moteur"), "/d/moteur.bnm");
    EXPECT_EQ(bankSavePath("/d/moteur.BNM"), "/d/moteur.BNM");
    EXPECT_EQ(bankSavePath("/d.x/moteur"), "/d.x/moteur.bnm");
    EXPECT_EQ(bankSavePath("/d/moteur.bnk"), std::nullopt);
    EXPECT_EQ(bankSavePath("/d/"), std::nullopt);
    // Open and save agree on a file named just ".bnm".
    EXPECT_EQ(bankSavePath("/d/.bnm"), "/d/.bnm");
}

TEST_F(Document, ClosingAModifiedDocumentAsksAndFollowsTheAnswer) {
    BankDocument doc(links_);
    ASSERT_TRUE(open(doc, path_).opened);
    int asked = 0, saves = 0;
    std::string question;
    auto answer = [&](CloseAnswer a) {
        return [&, a](const UiText& q) {
            ++asked;
            question = q.utf8();
            return a;
        };
    };
    auto save = [&] { return ++saves, true; };
    EXPECT_TRUE(doc.askToSave(strings_, answer(CloseAnswer::Cancel), save));
    EXPECT_EQ(asked, 0);  // not modified: nothing asked
    doc.setModified(true);
    EXPECT_FALSE(doc.askToSave(strings_, answer(CloseAnswer::Cancel), save));
    EXPECT_EQ(question, "Enregistrer les modifications apportées à bank.bnm?");
    EXPECT_TRUE(doc.askToSave(strings_, answer(CloseAnswer::No), save));
    EXPECT_EQ(saves, 0);
    EXPECT_TRUE(doc.askToSave(strings_, answer(CloseAnswer::Yes), save));
    EXPECT_FALSE(doc.askToSave(strings_, answer(CloseAnswer::Yes), [] { return false; }));
    EXPECT_EQ(saves, 1);
    BankDocument untitled(links_);
    untitled.setModified(true);
    untitled.askToSave(strings_, answer(CloseAnswer::No), save);
    EXPECT_EQ(question, "Enregistrer les modifications apportées à sans nom?");
}

TEST_F(Document, ClosingGivesThePastedResourcesLinksBack) {
    const std::string otherPath = writeBank(dir_, "other.bnm", spec_);
    BankDocument source(links_);
    ASSERT_TRUE(open(source, otherPath).opened);
    {
        BankDocument target(links_);
        ASSERT_TRUE(open(target, path_).opened);
        ASSERT_EQ(dropResource(source.bank(), 0, target.bank(), 1, links_, strings_, [](const UiText&) { return true; }),
                  DropOutcome::Copied);
        ASSERT_EQ(links_.size(), 1u);
    }
    EXPECT_EQ(links_.size(), 0u);
}

// A WAV file converted in one document and its sample copied to another:
// the copy outlives the first document's save and close, so the second
// still saves the converted sound.
TEST_F(Document, AConvertedSampleCopiedToAnotherBankOutlivesItsFirstOwner) {
    std::vector<std::int16_t> frames;
    for (int i = 0; i < 2000; ++i) frames.insert(frames.end(), 2, static_cast<std::int16_t>(i * 13 - 9000));
    const std::string original = dir_ / "stereo.wav";
    fixtures::writeBytes(original, fixtures::simpleWav(fixtures::pcm16(frames), {1, 2, 44100, 176400, 4, 16}));
    const std::string otherPath = writeBank(dir_, "other.bnm", spec_);
    auto source = std::make_unique<BankDocument>(links_);
    ASSERT_TRUE(open(*source, otherPath).opened);
    source->convertedCopies().setBaseFolder(dir_ / "cache");
    const ConvertedCopy copy = source->convertedCopies().convert(original);
    ASSERT_EQ(copy.result, audio::ConvertResult::Ok);
    const auto copySize = static_cast<std::uint32_t>(std::filesystem::file_size(copy.path) - 44) & ~3u;
    source->bank().resourceAt(0)->setReplacement(true, copySize, copy.path);

    auto target = std::make_unique<BankDocument>(links_);
    ASSERT_TRUE(open(*target, path_).opened);
    ASSERT_EQ(dropResource(source->bank(), 0, target->bank(), 1, links_, strings_, [](const UiText&) { return true; }),
              DropOutcome::Copied);
    ASSERT_TRUE(source->save(otherPath).saved);
    source.reset();
    ASSERT_TRUE(std::filesystem::exists(copy.path));

    const auto converted = fixtures::readBytes(copy.path);
    ASSERT_TRUE(target->save(path_).saved);
    const auto saved = test::openBankFile(path_);
    EXPECT_EQ(fixtures::storedSample(*saved, 1),
              fixtures::Bytes(converted.begin() + 44, converted.begin() + 44 + copySize));
    // The bank holds the sound, but an undo and redo of the paste reads the
    // copy again: the last owner lets go as the document closes.
    ASSERT_TRUE(target->undo() && target->redo());
    EXPECT_TRUE(std::filesystem::exists(copy.path));
    target.reset();
    EXPECT_FALSE(std::filesystem::exists(copy.path));
}

// Runs `body` in a child process as an unprivileged user (the tests run as
// root, for whom permissions do not hold); answers whether it exited 0.
bool asUnprivileged(const std::function<bool()>& body) {
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(2);
        ::_exit(body() ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST_F(Document, PermissionsRefuseWithAMessageAndTouchNothing) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to switch to an unprivileged user";
    ::chmod(dir_.path().c_str(), 0755);
    ::chmod(path_.c_str(), 0600);  // unreadable for the other user
    EXPECT_TRUE(asUnprivileged([&] {
        LinkTable links;
        BankDocument doc(links);
        const auto result = doc.open(path_, InstallInfo{});
        return !result.opened && result.report && result.report->problem == DocumentProblem::AccessDeniedLoading;
    }));
    // Readable but in a folder the user cannot write: the save fails, the
    // bank on disk is unchanged, the document stays modified.
    ::chmod(path_.c_str(), 0644);
    const auto original = fixtures::readBytes(path_);
    EXPECT_TRUE(asUnprivileged([&] {
        LinkTable links;
        BankDocument doc(links);
        if (!doc.open(path_, InstallInfo{}).opened) return false;
        doc.bank().resourceAt(0)->setVolume(3);
        doc.setModified(true);
        const auto result = doc.save(path_);
        return !result.saved && result.report && doc.isModified() && !doc.isSaving();
    }));
    EXPECT_EQ(fixtures::readBytes(path_), original);
}

}  // namespace
}  // namespace calyx::editor
