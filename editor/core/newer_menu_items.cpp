#include "editor/core/newer_menu_items.h"

#include <array>

#include "editor/core/commands.h"

namespace calyx::editor {
namespace {

constexpr std::array items{
    NewerMenuItem{command::fileExportAllSamples,
                  {"Exporter &tous les échantillons...", "&Export all samples..."},
                  command::fileSaveAs},
    NewerMenuItem{command::fileImportFolder, {"&Importer un dossier...", "&Import folder..."},
                  command::fileExportAllSamples},
    NewerMenuItem{command::viewPreviewPane, {"A&perçu", "&Preview"}, command::viewStatusBar},
    NewerMenuItem{command::editRedo, {"&Rétablir", "&Redo"}, command::editUndo},
};

// Both keys users know for redo.
constexpr std::array keys{Accelerator{"Ctrl+Y", command::editRedo}, Accelerator{"Ctrl+Shift+Z", command::editRedo}};

}  // namespace

std::span<const NewerMenuItem> newerMenuItems() { return items; }
std::span<const Accelerator> newerAccelerators() { return keys; }

}  // namespace calyx::editor
