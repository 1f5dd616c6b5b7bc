// A bank file from outside: loaded as the editor loads it (with a companion
// name file beside it), every resource shown as the list shows it, then saved
// under a new name, which must load again with the same resources.
#include <cstddef>
#include <cstdint>
#include <string>

#include "bank/bank_archive.h"
#include "bank/save_document.h"
#include "bank/sound_bank.h"
#include "fixtures/name_scripts.h"
#include "fuzz_support.h"
#include "platform/file.h"

namespace calyx::fuzz {
namespace {

struct Loaded {
    bank::SoundBank bank;
    bank::LoadResult result = bank::LoadResult::Truncated;
    bool opened = false;
};

void load(Loaded& loaded, const std::string& path) {
    platform::File file;
    loaded.opened = file.open(path, platform::File::Mode::Read);
    if (!loaded.opened) return;
    bank::BankArchive archive(file, bank::BankArchive::Mode::Load);
    loaded.result = loaded.bank.load(archive);
}

std::size_t showAll(const bank::SoundBank& bank) {
    std::size_t characters = 0;
    for (std::size_t i = 0; i < bank.resourceCount(); ++i) {
        characters += bank.nameAt(i).size() + bank.commentAt(i).size() +
                      bank.volumeTextAt(i).size() + bank.fileNameAt(i).size();
        const bank::SoundResource* r = bank.resourceAt(i);
        characters += r->displayFileName().size() + static_cast<std::size_t>(r->dataSize() % 2);
    }
    return characters;
}

}  // namespace
}  // namespace calyx::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace calyx;
    // The companion is the bank's path with its last letter replaced by 's'.
    static const std::string companion = fuzz::writeInput(
        "input.bns", fixtures::companionText({{1, "One", "the first"}, {2, "Two", ""}, {5, "Five", "k"}}));
    const std::string path = fuzz::writeInput("input.bnm", fuzz::asText(data, size));
    const std::string savedPath = fuzz::scratchPath("saved.bnm");
    platform::deleteFile(savedPath);

    std::size_t resources = 0;
    bool saved = false;
    {
        fuzz::Loaded loaded;
        fuzz::load(loaded, path);
        fuzz::check(loaded.opened, "the input file opens");
        if (loaded.result != bank::LoadResult::Loaded) return 0;
        fuzz::showAll(loaded.bank);
        resources = loaded.bank.resourceCount();
        // A load's error is a warning (a missing companion, say): the editor
        // keeps the bank open, and so it can be saved.
        bank::BankError error = bank::BankError::None;
        loaded.bank.takeError(error);
        saved = bank::saveDocument(loaded.bank, savedPath).saved;
    }
    if (!saved) return 0;

    fuzz::Loaded again;
    fuzz::load(again, savedPath);
    fuzz::check(again.result == bank::LoadResult::Loaded, "a saved bank loads again");
    fuzz::check(again.bank.resourceCount() == resources, "a saved bank keeps its resources");
    fuzz::showAll(again.bank);
    return 0;
}
