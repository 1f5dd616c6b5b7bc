#include "bank/script_tokenizer.h"

#include <algorithm>

namespace calyx::bank {

namespace {

constexpr unsigned char endOfInput = 0;
// A number ends after this many digits; the last of them begins the next token.
constexpr int maxNumberDigits = 8;

bool isDigit(unsigned char c) { return c >= '0' && c <= '9'; }
bool isBlank(unsigned char c) { return c == '\t' || c == '\n' || c == '\r' || c == ' '; }

// The length in bytes of the element at `element`, 0 when it is malformed or
// runs past the end of the pattern.
std::size_t elementLength(const std::uint8_t* element, std::size_t remaining) {
    std::size_t length = 0;
    if (element[0] == patternCompare) length = 3;
    else if (element[0] == patternSkip) length = 2;
    else if (element[0] >= static_cast<std::uint8_t>(TokenKind::Word) &&
             element[0] <= static_cast<std::uint8_t>(TokenKind::String))
        length = 1;
    return length <= remaining ? length : 0;
}

bool wellFormed(const std::uint8_t* bytes, std::size_t length) {
    if (bytes == nullptr || length == 0) return false;
    for (std::size_t i = 0; i < length;) {
        std::size_t n = elementLength(bytes + i, length - i);
        if (n == 0) return false;
        i += n;
    }
    return true;
}

}  // namespace

ScriptTokenizer::ScriptTokenizer(const ScriptSyntax& syntax) : syntax_(syntax) {
    syntax_.maxWordLength = std::min(syntax_.maxWordLength, maxTextLength);
    text_.reserve(maxTextLength);
}

void ScriptTokenizer::start(CharacterSource source, void* context, std::size_t captureCapacity) {
    source_ = source;
    context_ = context;
    ended_ = source_ == nullptr;
    captures_.clear();
    captureCapacity_ = captureCapacity;
    captures_.reserve(captureCapacity);
    current_ = read();
    next();
}

// The end of the text is final: the source is not asked again after it.
unsigned char ScriptTokenizer::read() {
    if (ended_) return endOfInput;
    unsigned char c = source_(context_);
    if (c == endOfInput) ended_ = true;
    return c;
}

void ScriptTokenizer::next() {
    unsigned char c = current_;
    while (isBlank(c)) c = read();
    text_.clear();
    value_ = 0;
    keywordIndex_ = notKeyword;
    if (c == ';') {
        kind_ = TokenKind::Comment;
        do c = read();
        while (c != '\n' && c != '\r' && c != endOfInput);
        current_ = c;
    } else if (c != endOfInput && syntax_.wordStart.contains(c)) {
        readWord(c);
    } else if (isDigit(c)) {
        readNumber(c);
    } else if (c == '"') {
        readString();
    } else {
        kind_ = TokenKind::Character;
        text_.push_back(static_cast<char>(c));
        current_ = read();
    }
}

void ScriptTokenizer::readWord(unsigned char c) {
    kind_ = TokenKind::Word;
    const std::size_t limit = syntax_.maxWordLength;
    // Characters past the limit are read and dropped.
    auto keep = [&](unsigned char k) {
        if (text_.size() < limit) text_.push_back(static_cast<char>(k));
    };
    keep(c);
    for (;;) {
        c = read();
        if (c == endOfInput) break;
        if (syntax_.wordEnd.contains(c)) {
            keep(c);
            c = read();
            break;
        }
        if (!syntax_.wordBody.contains(c)) break;
        keep(c);
    }
    current_ = c;
    const auto& keywords = syntax_.keywords;
    for (std::size_t i = 0; i < keywords.size() && i < notKeyword; ++i) {
        if (keywords[i] == text_) {
            keywordIndex_ = static_cast<std::uint8_t>(i);
            break;
        }
    }
}

void ScriptTokenizer::readNumber(unsigned char c) {
    kind_ = TokenKind::Number;
    value_ = c - '0';
    text_.push_back(static_cast<char>(c));
    for (int digits = 1; digits < maxNumberDigits; ++digits) {
        c = read();
        if (!isDigit(c)) break;
        value_ = value_ * 10 + (c - '0');
        text_.push_back(static_cast<char>(c));
    }
    // After the last digit allowed, that digit stays the current character.
    current_ = c;
}

void ScriptTokenizer::readString() {
    kind_ = TokenKind::String;
    unsigned char c = read();
    while (c != '"' && c != endOfInput) {
        if (text_.size() < maxTextLength) text_.push_back(static_cast<char>(c));
        c = read();
    }
    current_ = c == '"' ? read() : c;
}

void ScriptTokenizer::capture() {
    if (captures_.size() >= captureCapacity_) return;
    Capture entry{kind_, 0, {}};
    if (kind_ == TokenKind::Number) entry.number = value_;
    else if (kind_ != TokenKind::Comment) entry.text = text_;
    captures_.push_back(std::move(entry));
}

void ScriptTokenizer::releaseCaptures() { captures_.clear(); }

int ScriptTokenizer::expect(TokenKind kind, bool compare, bool noCapture, std::string_view value) {
    if (kind_ != kind) return 0;
    if (!noCapture) {
        if (compare) {
            if (text_ != value) return 0;
        } else {
            capture();
        }
    }
    next();
    return 1;
}

bool ScriptTokenizer::fitsElement(const std::uint8_t* element) const {
    if (element[0] == patternSkip) return static_cast<std::uint8_t>(kind_) == element[1];
    if (element[0] != patternCompare) return static_cast<std::uint8_t>(kind_) == element[0];
    if (static_cast<std::uint8_t>(kind_) != element[1]) return false;
    const std::uint8_t value = element[2];
    switch (kind_) {
    case TokenKind::Word: return keywordIndex_ == value;
    case TokenKind::Number: return value_ == value;
    case TokenKind::Character:
    case TokenKind::String:
        return static_cast<std::uint8_t>(text_.empty() ? 0 : text_[0]) == value;
    case TokenKind::Comment: return true;
    }
    return false;
}

std::size_t ScriptTokenizer::applyElement(const std::uint8_t* element) {
    if (!fitsElement(element)) return 0;
    if (element[0] == patternCompare) return 3;
    if (element[0] == patternSkip) return 2;
    capture();
    return 1;
}

int ScriptTokenizer::matchPattern(const std::uint8_t* bytes, std::size_t length) {
    if (!wellFormed(bytes, length)) return 0;
    std::size_t matched = 0;
    for (;;) {
        std::size_t n = applyElement(bytes + matched);
        if (n != 0) {
            matched += n;
        } else {
            // The token that did not fit is not tried again from the start.
            releaseCaptures();
            matched = 0;
        }
        next();
        if (atEnd()) return 0;
        if (matched == length) return 1;
    }
}

int ScriptTokenizer::matchHere(const std::uint8_t* bytes, std::size_t length) {
    if (!wellFormed(bytes, length)) return 0;
    for (std::size_t matched = 0; matched < length;) {
        std::size_t n = applyElement(bytes + matched);
        if (n == 0) {
            releaseCaptures();
            return 0;
        }
        matched += n;
        next();
        if (atEnd()) return 0;
    }
    return 1;
}

}  // namespace calyx::bank
