// File > Export all samples...: every sample of a document's bank written
// into a folder as WAV files, named and reported as `calyx-cli export-all`
// names and reports them; a window shows the progress of a long export.
#pragma once

#include <QString>

#include "editor/core/export_all.h"
#include "editor/core/interface_language.h"

class QWidget;

namespace calyx::editor {

class CCalyxDoc;
class GameStrings;

// Exports into the existing folder `folder` and shows what was done: the
// count and folder, and each sample that could not be exported.
ExportAllReport exportAllSamplesOf(CCalyxDoc& document, const QString& folder, const GameStrings& strings,
                                   InterfaceLanguage language, QWidget* parent);

}  // namespace calyx::editor
