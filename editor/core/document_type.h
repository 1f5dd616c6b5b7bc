// The bank document type as the editor's file dialogs and the desktop see it.
#pragma once

#include <string_view>

#include "bank/bank_file_name.h"

namespace calyx::editor::document_type {

inline constexpr std::string_view name = "Custom";
// The file dialogs' filter and the extension added to a name without one.
inline constexpr std::string_view filter = "sons TQ (*.bnm)";
inline constexpr std::string_view extension = bank::bankExtension;
// The type's identifier and its name for people.
inline constexpr std::string_view fileTypeId = "Calyx.Document";
inline constexpr std::string_view fileTypeName = "Fichiers sons TQ";
// The MIME type that the editor installs for banks.
inline constexpr std::string_view mimeType = "application/x-calyx-bank";

// How many banks the File menu remembers.
inline constexpr int recentFileCount = 5;

}  // namespace calyx::editor::document_type
