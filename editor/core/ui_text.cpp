#include "editor/core/ui_text.h"

namespace calyx::editor {

std::string latin1ToUtf8(std::string_view latin1) {
    std::string out;
    out.reserve(latin1.size());
    for (const char c : latin1) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            out += c;
        } else {
            out += static_cast<char>(0xC0 | (byte >> 6));
            out += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return out;
}

std::string UiText::utf8() const {
    return encoding == TextEncoding::Latin1 ? latin1ToUtf8(bytes) : bytes;
}

std::string formatWithArgument(const UiText& text, std::string_view argumentUtf8) {
    constexpr std::string_view placeholder = "%1";
    const std::string source = text.utf8();
    std::string out;
    std::size_t start = 0;
    for (std::size_t found; (found = source.find(placeholder, start)) != std::string::npos;) {
        out.append(source, start, found - start);
        out += argumentUtf8;
        start = found + placeholder.size();
    }
    out.append(source, start, std::string::npos);
    return out;
}

std::string withArguments(std::string_view text, std::initializer_list<std::string_view> arguments) {
    std::string result;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::size_t number = i + 1 < text.size() ? static_cast<std::size_t>(text[i + 1] - '0') : 0;
        if (text[i] == '%' && number >= 1 && number <= arguments.size()) {
            result += *(arguments.begin() + (number - 1));
            ++i;
        } else {
            result += text[i];
        }
    }
    return result;
}

}  // namespace calyx::editor
