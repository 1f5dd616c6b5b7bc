#include "editor/core/preview_texts.h"

#include <cstdio>

#include "editor/core/resource_edit_session.h"
#include "editor/core/resource_list.h"
#include "platform/path.h"

namespace calyx::editor {
namespace {

std::string seconds(double value, InterfaceLanguage language) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f s", value);
    std::string result = text;
    if (language == InterfaceLanguage::French) {
        for (char& c : result)
            if (c == '.') c = ',';
    }
    return result;
}

}  // namespace

PreviewLines previewLines(const SamplePreview& preview, InterfaceLanguage language) {
    const bool english = language == InterfaceLanguage::English;
    PreviewLines lines;
    switch (preview.kind) {
    case PreviewKind::CdAudio: lines.heading = preview_text::cdAudio.in(language); return lines;
    case PreviewKind::EmptySlot: lines.heading = preview_text::emptySlot.in(language); return lines;
    case PreviewKind::Other: lines.heading = preview_text::otherKind.in(language); return lines;
    case PreviewKind::Sample: break;
    }
    if (preview.size == 0) {
        lines.heading = preview_text::noSampleData.in(language);
        return lines;
    }
    if (preview.error != WavError::None) lines.heading = preview_text::unreadable.in(language);
    const std::string size = std::to_string(preview.size);
    lines.details = english ? "Duration: " + seconds(preview.seconds, language) + "   Size: " + size + " bytes"
                            : "Durée : " + seconds(preview.seconds, language) + "   Taille : " + size + " octets";
    if (preview.looping) {
        const std::string start = std::to_string(preview.loopStart), end = std::to_string(preview.loopEnd);
        lines.loop = english ? "Loops from byte " + start + " to " + end
                             : "Boucle de l'octet " + start + " à " + end;
    }
    return lines;
}

std::string previewName(const bank::SoundResource& resource, const bank::SoundBank& bank) {
    std::string label = latin1ToUtf8(resource.name());
    if (label.empty() && resource.isSample()) label = displayFileNameText(resource).utf8();
    const std::string bankFile(platform::lastComponent(bank.bankPath().value_or(std::string())));
    if (label.empty()) return bankFile;
    return bankFile.empty() ? label : label + " \u2014 " + bankFile;
}

}  // namespace calyx::editor
