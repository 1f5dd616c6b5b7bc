#include "editor/core/newer_menu_items.h"

#include <array>

#include "editor/core/commands.h"

namespace calyx::editor {
namespace {

constexpr std::array items{
    NewerMenuItem{command::fileExportAllSamples,
                  {"Exporter &tous les échantillons...", "&Export all samples..."},
                  command::fileSaveAs},
    NewerMenuItem{command::viewPreviewPane, {"A&perçu", "&Preview"}, command::viewStatusBar},
};

}  // namespace

std::span<const NewerMenuItem> newerMenuItems() { return items; }

}  // namespace calyx::editor
