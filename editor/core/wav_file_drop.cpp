#include "editor/core/wav_file_drop.h"

#include "audio/wav_file.h"
#include "editor/core/resource_edit_session.h"

namespace calyx::editor {

bool acceptsDroppedFiles(const bank::SoundBank& bank, const bank::SoundResource& target) {
    return bank.savesInProgress() == 0 && ResourceEditSession::opensDialogFor(target);
}

FileDragMeaning fileDragMeaning(const bank::SoundBank& bank, const bank::SoundResource* rowUnderMouse,
                                std::string_view firstFile) {
    if (!rowUnderMouse) return FileDragMeaning::OpenAsBanks;
    return acceptsDroppedFiles(bank, *rowUnderMouse) && audio::hasWavExtension(firstFile)
               ? FileDragMeaning::ReplaceSample
               : FileDragMeaning::NoDrop;
}

FileDropOutcome dropWavFiles(bank::SoundBank& bank, std::size_t targetIndex, const std::vector<std::string>& paths,
                             LinkTable& links, const GameStrings& strings, const DropConfirmation& confirm,
                             EditDialogView& messages, const ConversionOffer& offer, InterfaceLanguage language) {
    bank::SoundResource* target = bank.resourceAt(targetIndex);
    if (paths.empty() || !target || !acceptsDroppedFiles(bank, *target)) return FileDropOutcome::Refused;
    if (!confirm(replaceWithFileQuestion(*target, paths.front(), strings, language))) return FileDropOutcome::Cancelled;
    // The dialog, unseen, opened on the target: the file dropped on it,
    // then OK.
    ResourceEditSession session(messages, links, strings);
    session.setConversionOffer(offer);
    session.bind(*target, bank, nullptr);
    if (!session.initialise()) return FileDropOutcome::NotTaken;
    if (!session.dropFile(paths.front())) {
        session.cancel();
        return FileDropOutcome::NotTaken;
    }
    return session.ok() ? FileDropOutcome::Replaced : FileDropOutcome::NotTaken;
}

}  // namespace calyx::editor
