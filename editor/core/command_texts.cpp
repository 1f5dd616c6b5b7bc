#include "editor/core/command_texts.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <utility>

#include "editor/core/commands.h"

namespace calyx::editor {

namespace {

using namespace command;

constexpr std::array<std::pair<int, int>, 43> textIds{{
    {ok, 148},
    {cancel, 151},
    {yes, 149},
    {no, 150},
    {idlePrompt, 138},
    {helpModePrompt, 139},
    {fileNew, 100},
    {fileOpen, 101},
    {fileClose, 102},
    {fileSave, 103},
    {fileSaveAs, 104},
    {fileSaveAll, 105},
    {filePrintSetup, 106},
    {filePrint, 107},
    {filePrintPreview, 108},
    {editClear, 125},
    {editClearAll, 126},
    {editCopy, 127},
    {editCut, 128},
    {editFind, 129},
    {editPaste, 130},
    {editRepeat, 131},
    {editReplace, 132},
    {editSelectAll, 133},
    {editUndo, 134},
    {editRedo, 135},
    {windowNew, 119},
    {windowArrange, 120},
    {windowCascade, 121},
    {windowTileHorizontally, 122},
    {windowTileVertically, 123},
    {windowSplit, 124},
    {appAbout, 109},
    {appExit, 110},
    {helpIndex, 111},
    {helpTopics, 112},
    {helpUsing, 113},
    {contextHelp, 114},
    {help, 115},
    {nextPane, 117},
    {previousPane, 118},
    {viewToolbar, 136},
    {viewStatusBar, 137},
}};
constexpr int recentFileTextId = 116;

// Game texts end their lines in CR LF; the prompt and the tip are taken
// without the CR.
std::string_view withoutCarriageReturn(std::string_view part) {
    if (!part.empty() && part.back() == '\r') part.remove_suffix(1);
    return part;
}

}  // namespace

std::optional<int> commandTextId(int commandId) {
    if (commandId >= recentFileFirst && commandId <= recentFileLast) return recentFileTextId;
    const auto found = std::find_if(textIds.begin(), textIds.end(),
                                    [commandId](const auto& entry) { return entry.first == commandId; });
    if (found == textIds.end()) return std::nullopt;
    return found->second;
}

std::string textForCommand(int commandId, const GameStrings* strings) {
    if (!strings || !strings->AreGameStringsLoaded()) return {};
    const auto id = commandTextId(commandId);
    if (!id) return {};
    std::string text = strings->GetGameString(*id).value_or(std::string{});
    if (text.size() > maxCommandTextLength) text.resize(maxCommandTextLength);
    return text;
}

std::string promptForCommand(int commandId, const GameStrings* strings) {
    const std::string text = textForCommand(commandId, strings);
    const std::string_view view = text;
    return std::string(withoutCarriageReturn(view.substr(0, view.find('\n'))));
}

std::string tooltipForCommand(int commandId, const GameStrings* strings) {
    if (commandId == 0) return {};
    const std::string text = textForCommand(commandId, strings);
    const auto newline = text.find('\n');
    if (newline == std::string::npos) return {};
    std::string_view tip = std::string_view(text).substr(newline + 1);
    tip = withoutCarriageReturn(tip.substr(0, tip.find('\n')));
    return std::string(tip.substr(0, maxTooltipLength));
}

}  // namespace calyx::editor
