// The tokenizer of the name scripts. Character sets decide where words begin,
// go on and end; digits make numbers, double quotes strings and ';' comments
// to the end of the line; anything else is a token of one character. Patterns
// written as byte strings find sequences of tokens and capture some of them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "bank/character_set.h"

namespace calyx::bank {

enum class TokenKind : std::uint8_t { Word = 1, Number = 2, Character = 3, String = 4, Comment = 5 };

// What a script's words look like and which of them are keywords.
struct ScriptSyntax {
    CharacterSet wordStart;
    CharacterSet wordBody;
    CharacterSet wordEnd;  // a character of this set is kept and ends the word
    std::size_t maxWordLength = 20;
    std::span<const std::string_view> keywords;
};

// Pattern elements, one after the other in a byte string:
//   patternCompare, kind, value  the token has this kind and value (a word's
//                                keyword index, a character, a string's first
//                                character, a number's value); not captured
//   patternSkip, kind            the token has this kind; not captured
//   kind (1 to 4)                the token has this kind; it is captured
inline constexpr std::uint8_t patternCompare = 6;
inline constexpr std::uint8_t patternSkip = 7;

class ScriptTokenizer {
public:
    // The next character each time it is called; 0 at the end of the text.
    using CharacterSource = unsigned char (*)(void* context);

    static constexpr std::uint8_t notKeyword = 255;
    static constexpr std::size_t maxTextLength = 255;

    struct Capture {
        TokenKind kind;
        std::int32_t number;  // numbers
        std::string text;     // words, characters, strings
    };

    // Word lengths above `maxTextLength` are taken as `maxTextLength`.
    explicit ScriptTokenizer(const ScriptSyntax& syntax);

    // Reads the first character and the first token.
    void start(CharacterSource source, void* context, std::size_t captureCapacity);
    // Reads the next token.
    void next();

    // Appends the current token to the captures if there is room.
    void capture();
    void releaseCaptures();
    const std::vector<Capture>& captures() const { return captures_; }

    // Searches the tokens from the current one on for the pattern: 1 when
    // found (the current token is then the one after it), 0 when the end of
    // the text came first. A pattern counts as found only when the token after
    // it is followed by one more character.
    int matchPattern(const std::uint8_t* bytes, std::size_t length);
    // The pattern at the current token only, without searching: 1 as above;
    // 0 at the end of the text or at the first token that does not fit, which
    // then stays the current token. Captures are released when it fails.
    int matchHere(const std::uint8_t* bytes, std::size_t length);

    // 0 when the current token is not of `kind`. Otherwise: with `noCapture`
    // the token is skipped; with `compare` it must equal `value` exactly (its
    // text; a character is a text of one) or 0 is answered; else it is
    // captured. Then the next token is read and 1 answered.
    int expect(TokenKind kind, bool compare, bool noCapture, std::string_view value = {});

    TokenKind tokenKind() const { return kind_; }
    // A word or string's kept characters, a number's digits, a character.
    const std::string& tokenText() const { return text_; }
    std::int32_t tokenValue() const { return value_; }
    std::uint8_t keywordIndex() const { return keywordIndex_; }
    unsigned char currentCharacter() const { return current_; }
    bool atEnd() const { return current_ == 0; }

private:
    unsigned char read();
    void readWord(unsigned char c);
    void readNumber(unsigned char c);
    void readString();
    bool fitsElement(const std::uint8_t* element) const;
    // Checks the current token against one element, capturing when it says
    // so; the element's length in bytes, 0 when the token does not fit.
    std::size_t applyElement(const std::uint8_t* element);

    ScriptSyntax syntax_;
    unsigned char current_ = 0;
    bool ended_ = true;
    TokenKind kind_ = TokenKind::Character;
    std::string text_;
    std::int32_t value_ = 0;
    std::uint8_t keywordIndex_ = notKeyword;
    std::vector<Capture> captures_;
    std::size_t captureCapacity_ = 0;
    CharacterSource source_ = nullptr;
    void* context_ = nullptr;
};

}  // namespace calyx::bank
