// Texts crossing into Qt: game texts are Latin-1 bytes, the editor's own
// texts UTF-8.
#pragma once

#include <QString>
#include <string>
#include <string_view>

#include "editor/core/ui_text.h"

namespace calyx::editor {

inline QString toQString(const UiText& text) {
    const auto size = static_cast<qsizetype>(text.bytes.size());
    return text.encoding == TextEncoding::Latin1 ? QString::fromLatin1(text.bytes.data(), size)
                                                 : QString::fromUtf8(text.bytes.data(), size);
}
inline QString fromGameText(std::string_view latin1) {
    return QString::fromLatin1(latin1.data(), static_cast<qsizetype>(latin1.size()));
}
inline QString fromBuiltIn(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

}  // namespace calyx::editor
