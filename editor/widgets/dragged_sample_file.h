// A row dragged out of the editor onto a file manager (or any program that
// takes files) is a WAV file: as the drag starts, the row's sample is
// written as export all writes it, under the same name ("2_Horn.wav"), into
// a folder of its own inside a temporary folder that lives as long as the
// editor. The drag offers that file beside the editor's own row data.
#pragma once

#include <QString>
#include <optional>

namespace calyx::bank {
class SoundBank;
}

namespace calyx::editor {

// The file of resource `index` of `bank`; nothing for a row without sample
// data, or when it cannot be written (the drag then carries no file).
std::optional<QString> writeDraggedSample(bank::SoundBank& bank, int index);

}  // namespace calyx::editor
