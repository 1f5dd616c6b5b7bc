// A text on its way to the user, with the encoding of its bytes.
//
// Two kinds of text meet in the editor's messages: the game's texts from
// `strings.dat` are 8-bit bytes (Latin-1 in practice), while the editor's own
// French texts are written as UTF-8 in the sources. A `UiText` carries which
// one it holds, so the bytes are decoded once, at the user interface
// (QString::fromLatin1 or QString::fromUtf8), or turned into UTF-8 by `utf8()`.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace calyx::editor {

enum class TextEncoding { Latin1, Utf8 };

struct UiText {
    std::string bytes;
    TextEncoding encoding = TextEncoding::Utf8;

    static UiText fromGame(std::string latin1) { return {std::move(latin1), TextEncoding::Latin1}; }
    static UiText builtIn(std::string_view utf8) { return {std::string(utf8), TextEncoding::Utf8}; }

    // The text as UTF-8.
    std::string utf8() const;
    bool empty() const { return bytes.empty(); }
    bool operator==(const UiText&) const = default;
};

std::string latin1ToUtf8(std::string_view latin1);

// The text as UTF-8 with every "%1" replaced by `argumentUtf8` (the way the
// framework fills its one-argument messages with a file title).
std::string formatWithArgument(const UiText& text, std::string_view argumentUtf8);

// `text` with "%1", "%2"... replaced by the arguments in order (a number
// without its argument is left as it is).
std::string withArguments(std::string_view text, std::initializer_list<std::string_view> arguments);

}  // namespace calyx::editor
