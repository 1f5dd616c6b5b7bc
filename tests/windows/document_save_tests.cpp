// Saving a bank on Windows, where other programs hold files and files carry
// attributes: the new bank is written into a named temporary file beside the
// bank ("~Calyx<n>.tmp", the first free number) and moved onto it with
// MoveFileEx; a read-only bank and a bank held by another program without
// sharing refuse the save with a message and stay byte for byte as they
// were; a target held only for a moment is replaced on a later attempt.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <set>
#include <string>
#include <thread>

#include "editor/core/bank_document.h"
#include "editor/edit_test_support.h"
#include "fixtures/temp_dir.h"
#include "platform/win32.h"

namespace calyx::editor {
namespace {

namespace fs = std::filesystem;
using test::Bytes;

// A handle that another program holds on a file without sharing it: nobody
// else may read, write, rename or delete the file until it is closed.
class UnsharedHandle {
public:
    explicit UnsharedHandle(const std::string& path)
        : handle_(::CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                nullptr)) {}
    ~UnsharedHandle() { close(); }
    UnsharedHandle(const UnsharedHandle&) = delete;
    UnsharedHandle& operator=(const UnsharedHandle&) = delete;
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    void close() {
        if (valid()) ::CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
    }

private:
    HANDLE handle_;
};

class WindowsSave : public ::testing::Test {
protected:
    WindowsSave() {
        spec_.resources = {test::sample(1, fixtures::patternBytes(4000, 1), "A.WAV"),
                           test::sample(2, fixtures::patternBytes(2400, 2), "B.WAV")};
        path_ = test::writeBank(dir_, "bank.bnm", spec_);
        original_ = fixtures::readBytes(path_);
    }

    // The document on the bank with its first resource's volume changed.
    std::unique_ptr<BankDocument> editedDocument(int volume) {
        auto doc = std::make_unique<BankDocument>(links_);
        EXPECT_TRUE(doc->open(path_, InstallInfo{}).opened);
        doc->bank().resourceAt(0)->setVolume(volume);
        doc->setModified(true);
        return doc;
    }

    std::set<std::string> filesInFolder() const {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir_.path())) names.insert(entry.path().filename().string());
        return names;
    }

    static std::string english(const std::optional<DocumentReport>& report) {
        return report ? report->text(GameStrings{}, InterfaceLanguage::English).utf8() : std::string();
    }

    // The save of `doc` onto `target` is refused: the new bank could not
    // take the file's place, and the user is told why.
    static void expectReplaceRefused(BankDocument& doc, const std::string& target) {
        const auto result = doc.save(target);
        EXPECT_FALSE(result.saved);
        ASSERT_TRUE(result.report);
        EXPECT_EQ(result.report->problem, DocumentProblem::ReplaceFailed);
        EXPECT_EQ(english(result.report),
                  target + ": the saved bank could not take the file's place (Permission denied); the file is unchanged");
        EXPECT_TRUE(doc.isModified());
    }

    static int volumeOnDisk(const std::string& path) { return fixtures::openBankFile(path)->resourceAt(0)->volume(); }

    fixtures::TempDir dir_;
    fixtures::BankSpec spec_;
    std::string path_;
    Bytes original_;
    LinkTable links_;
};

TEST_F(WindowsSave, WritesANamedTemporaryFileBesideTheBankAndMovesItOntoTheBank) {
    // A temporary file left by an earlier save that was stopped keeps its
    // name and its bytes; the bank's own attributes stay with it.
    fixtures::writeFile(dir_ / "~Calyx0.tmp", "left over");
    ASSERT_TRUE(::SetFileAttributesA(path_.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
    auto doc = editedDocument(77);
    std::set<std::string> duringSave;
    bool bankUntouchedDuringSave = true;
    const auto result = doc->save(path_, [&](std::uint64_t, std::uint64_t) {
        duringSave = filesInFolder();
        bankUntouchedDuringSave = bankUntouchedDuringSave && fixtures::readBytes(path_) == original_;
    });
    ASSERT_TRUE(result.saved) << english(result.report);
    EXPECT_TRUE(duringSave.count("~Calyx1.tmp")) << "no named temporary file beside the bank while it was written";
    EXPECT_TRUE(bankUntouchedDuringSave);
    EXPECT_EQ(volumeOnDisk(path_), 77);
    EXPECT_EQ(fixtures::readFile(dir_ / "~Calyx0.tmp"), "left over");
    EXPECT_EQ(filesInFolder(), (std::set<std::string>{"bank.bnm", "bank.bns", "~Calyx0.tmp"}));
    const DWORD attributes = ::GetFileAttributesA(path_.c_str());
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_HIDDEN) << attributes;
    EXPECT_FALSE(doc->isModified());
}

TEST_F(WindowsSave, AReadOnlyBankRefusesTheSaveAndSaysWhy) {
    ASSERT_TRUE(::SetFileAttributesA(path_.c_str(), FILE_ATTRIBUTE_READONLY));
    auto doc = editedDocument(77);
    expectReplaceRefused(*doc, path_);
    EXPECT_EQ(fixtures::readBytes(path_), original_);
    EXPECT_EQ(filesInFolder(), (std::set<std::string>{"bank.bnm", "bank.bns"}));

    // Once the user clears the attribute, the same document saves.
    ASSERT_TRUE(::SetFileAttributesA(path_.c_str(), FILE_ATTRIBUTE_NORMAL));
    EXPECT_TRUE(doc->save(path_).saved);
    EXPECT_EQ(volumeOnDisk(path_), 77);
}

TEST_F(WindowsSave, ABankAnotherProgramHoldsWithoutSharingIsLeftWhole) {
    auto doc = editedDocument(77);
    {
        UnsharedHandle held(path_);
        ASSERT_TRUE(held.valid()) << "the document keeps its bank open";
        const auto result = doc->save(path_);
        EXPECT_FALSE(result.saved);
        ASSERT_TRUE(result.report);
        const std::string text = english(result.report);
        EXPECT_NE(text.find(path_), std::string::npos) << text;
        EXPECT_NE(text.find("(Permission denied)"), std::string::npos) << text;
        EXPECT_NE(text.find("the file is unchanged"), std::string::npos) << text;
    }
    EXPECT_EQ(fixtures::readBytes(path_), original_);
    EXPECT_EQ(filesInFolder(), (std::set<std::string>{"bank.bnm", "bank.bns"}));
    EXPECT_TRUE(doc->isModified());
}

TEST_F(WindowsSave, ATargetHeldForAMomentIsReplacedOnALaterAttempt) {
    // Save As onto another bank that a program (the game, a virus scanner)
    // holds: held throughout, every attempt is refused and it stays whole.
    const std::string other = test::writeBank(dir_, "other.bnm", spec_);
    auto doc = editedDocument(66);
    {
        UnsharedHandle held(other);
        ASSERT_TRUE(held.valid());
        expectReplaceRefused(*doc, other);
    }
    EXPECT_EQ(fixtures::readBytes(other), original_);
    EXPECT_EQ(filesInFolder(), (std::set<std::string>{"bank.bnm", "bank.bns", "other.bnm", "other.bns"}));

    // Held for a moment only: a later attempt takes the file's place.
    UnsharedHandle held(other);
    ASSERT_TRUE(held.valid());
    std::thread release;
    const auto result = doc->save(other, [&](std::uint64_t done, std::uint64_t total) {
        if (done == total && !release.joinable())
            release = std::thread([&held] {
                std::this_thread::sleep_for(std::chrono::milliseconds(60));
                held.close();
            });
    });
    if (release.joinable()) release.join();
    EXPECT_TRUE(result.saved) << english(result.report);
    EXPECT_EQ(volumeOnDisk(other), 66);
    EXPECT_EQ(fixtures::readBytes(path_), original_);
}

}  // namespace
}  // namespace calyx::editor
