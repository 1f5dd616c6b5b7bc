#include "editor/core/interface_language.h"

#include "platform/path.h"

namespace calyx::editor {

InterfaceLanguage interfaceLanguage(const Installation& installation, bool gameTextsLoaded) {
    if (!gameTextsLoaded) return InterfaceLanguage::French;
    const std::string& language = installation.tq2Language.empty() ? installation.k7Language : installation.tq2Language;
    return platform::equalsNoCase(language, "French") ? InterfaceLanguage::French : InterfaceLanguage::English;
}

}  // namespace calyx::editor
