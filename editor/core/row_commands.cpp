#include "editor/core/row_commands.h"

#include "editor/core/resource_edit_session.h"

namespace calyx::editor {
namespace {

constexpr std::array commands{
    RowCommandEntry{RowCommand::Edit, {"&Modifier...", "&Edit..."}, {"Return", "Enter", "F2"}},
    RowCommandEntry{RowCommand::Play, {"É&couter", "&Play"}, {"Space", "", ""}},
    RowCommandEntry{RowCommand::ExportWav, {"E&xporter en WAV...", "E&xport WAV..."}, {"Ctrl+E", "", ""}},
    RowCommandEntry{RowCommand::ResetToBank,
                    {"&Revenir au son de la banque", "&Reset to the bank's sound"},
                    {"Ctrl+R", "", ""}},
};

bool hasSampleData(const bank::SoundResource& resource) { return resource.isSample() && resource.dataSize() != 0; }

}  // namespace

std::span<const RowCommandEntry> rowCommands() { return commands; }

bool differsFromBank(const bank::SoundResource& resource) {
    return resource.isSample() && (resource.isReplaced() || resource.volume() != resource.record().volume());
}

bool rowCommandApplies(RowCommand command, const bank::SoundResource& resource) {
    switch (command) {
    case RowCommand::Edit: return ResourceEditSession::opensDialogFor(resource);
    case RowCommand::Play:
    case RowCommand::ExportWav: return hasSampleData(resource);
    case RowCommand::ResetToBank: return differsFromBank(resource);
    }
    return false;
}

WavError exportRowWav(bank::SoundResource& resource, bank::SoundBank& bank, LinkTable& links,
                      const GameStrings& strings, InterfaceLanguage language, const std::string& path,
                      EditDialogView& view) {
    ResourceEditSession session(view, links, strings, language);
    session.bind(resource, bank, nullptr);
    if (!session.initialise()) return WavError::NotBound;
    const WavError error = session.exportWav(path);
    session.reportWavError(error);
    return error;
}

bool resetToBank(bank::SoundResource& resource, bank::SoundBank& bank, LinkTable& links, const GameStrings& strings,
                 InterfaceLanguage language, EditDialogView& view) {
    if (!differsFromBank(resource)) return false;
    ResourceEditSession session(view, links, strings, language);
    session.bind(resource, bank, nullptr);
    if (!session.initialise()) return false;
    session.reset();
    return session.ok();
}

}  // namespace calyx::editor
