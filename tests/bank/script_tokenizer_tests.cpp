// The name-script tokenizer and its character source.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "bank/name_script_syntax.h"
#include "bank/script_reader.h"
#include "bank/script_tokenizer.h"
#include "fixtures/temp_dir.h"

namespace calyx::bank {
namespace {

// Text served from memory; counts how often it is asked after its end.
struct MemorySource {
    std::string text;
    std::size_t position = 0;
    int askedAfterEnd = 0;

    static unsigned char next(void* context) {
        auto* self = static_cast<MemorySource*>(context);
        if (self->position >= self->text.size()) {
            ++self->askedAfterEnd;
            return 0;
        }
        return static_cast<unsigned char>(self->text[self->position++]);
    }
};

struct Tokens {
    MemorySource source;
    ScriptTokenizer tokenizer;

    Tokens(std::string text, const ScriptSyntax& syntax = name_script::k7Syntax(),
           std::size_t captureSlots = name_script::captureSlots)
        : tokenizer(syntax) {
        source.text = std::move(text);
        tokenizer.start(&MemorySource::next, &source, captureSlots);
    }
    // Kind and text of every token up to and including the end token.
    std::vector<std::pair<TokenKind, std::string>> all() {
        std::vector<std::pair<TokenKind, std::string>> out;
        for (int guard = 0; guard < 1000; ++guard) {
            out.emplace_back(tokenizer.tokenKind(), tokenizer.tokenText());
            if (tokenizer.tokenKind() == TokenKind::Character && tokenizer.tokenText()[0] == '\0') break;
            tokenizer.next();
        }
        return out;
    }
};

using K = TokenKind;
const std::string endToken(1, '\0');

TEST(ScriptTokenizer, SplitsTextIntoTheFiveKinds) {
    Tokens t("{SndResourceE: 12 (\"a b\") ; a note \"not a string\"\r\n\tSetName(x_1.^)");
    std::vector<std::pair<TokenKind, std::string>> expected = {
        {K::Word, "{SndResourceE:"}, {K::Number, "12"}, {K::Character, "("}, {K::String, "a b"},
        {K::Character, ")"},         {K::Comment, ""},  {K::Word, "SetName"}, {K::Character, "("},
        {K::Word, "x_1.^"},          {K::Character, ")"}, {K::Character, endToken},
    };
    EXPECT_EQ(t.all(), expected);
}

TEST(ScriptTokenizer, WordsAreCutToTheirLengthAndEndAfterAWordEndCharacter) {
    Tokens t("ABCDEFGHIJKLMNOPQRSTUVWXYZabc next {a:b \xE8t\xE9_2 \xE9");
    EXPECT_EQ(t.tokenizer.tokenText(), "ABCDEFGHIJKLMNOPQRST");
    t.tokenizer.next();
    EXPECT_EQ(t.tokenizer.tokenText(), "next");  // the rest of the long word was consumed
    t.tokenizer.next();
    EXPECT_EQ(t.tokenizer.tokenText(), "{a:");
    t.tokenizer.next();
    EXPECT_EQ(t.tokenizer.tokenText(), "b");
    t.tokenizer.next();
    EXPECT_EQ(t.tokenizer.tokenKind(), K::Word);
    EXPECT_EQ(t.tokenizer.tokenText(), "\xE8t\xE9_2");
    t.tokenizer.next();
    EXPECT_EQ(t.tokenizer.tokenKind(), K::Word);

    // The companion's words have no '{', '.' or '^' and no end character.
    Tokens c("{a:b x.y", name_script::companionSyntax());
    std::vector<std::pair<TokenKind, std::string>> expected = {
        {K::Character, "{"}, {K::Word, "a"}, {K::Character, ":"}, {K::Word, "b"},
        {K::Word, "x"},      {K::Character, "."}, {K::Word, "y"}, {K::Character, endToken},
    };
    EXPECT_EQ(c.all(), expected);
}

TEST(ScriptTokenizer, ANumberEndsAfterItsEighthDigitWhichBeginsTheNextToken) {
    Tokens t("123456789 12345678 7x");
    EXPECT_EQ(t.tokenizer.tokenValue(), 12345678);
    t.tokenizer.next();
    EXPECT_EQ(t.tokenizer.tokenKind(), K::Number);
    EXPECT_EQ(t.tokenizer.tokenValue(), 89);
    t.tokenizer.next();
    EXPECT_EQ(t.tokenizer.tokenValue(), 12345678);
    t.tokenizer.next();
    EXPECT_EQ(t.tokenizer.tokenValue(), 8);  // eight digits also leave their last one
    t.tokenizer.next();
    EXPECT_EQ(t.tokenizer.tokenValue(), 7);
    t.tokenizer.next();
    EXPECT_EQ(t.tokenizer.tokenText(), "x");
}

TEST(ScriptTokenizer, StringsKeep255CharactersAndMayRunToTheEnd) {
    std::string longText(300, 'q');
    Tokens t("\"" + longText + "\"after \"\" \"open to the end");
    EXPECT_EQ(t.tokenizer.tokenKind(), K::String);
    EXPECT_EQ(t.tokenizer.tokenText(), std::string(255, 'q'));
    t.tokenizer.next();
    EXPECT_EQ(t.tokenizer.tokenText(), "after");  // the closing quote was consumed
    t.tokenizer.next();
    EXPECT_EQ(t.tokenizer.tokenKind(), K::String);
    EXPECT_EQ(t.tokenizer.tokenText(), "");
    t.tokenizer.next();
    EXPECT_EQ(t.tokenizer.tokenText(), "open to the end");
    EXPECT_TRUE(t.tokenizer.atEnd());
}

TEST(ScriptTokenizer, TheEndIsFinalAndTheSourceIsNotAskedAgain) {
    Tokens t("a");
    for (int i = 0; i < 5; ++i) t.tokenizer.next();
    EXPECT_EQ(t.tokenizer.tokenKind(), K::Character);
    EXPECT_EQ(t.tokenizer.tokenText(), endToken);
    EXPECT_EQ(t.source.askedAfterEnd, 1);
}

TEST(ScriptTokenizer, CapturesKeepValuesUpToTheirCapacity) {
    Tokens t("7 w \"s\" ; c\n( x y", name_script::k7Syntax(), 4);
    for (int i = 0; i < 6; ++i) {
        t.tokenizer.capture();
        t.tokenizer.next();
    }
    const auto& caps = t.tokenizer.captures();
    ASSERT_EQ(caps.size(), 4u);
    EXPECT_EQ(caps[0].kind, K::Number);
    EXPECT_EQ(caps[0].number, 7);
    EXPECT_EQ(caps[1].text, "w");
    EXPECT_EQ(caps[2].text, "s");
    EXPECT_EQ(caps[3].kind, K::Comment);  // a comment takes a slot without a value
    t.tokenizer.releaseCaptures();
    EXPECT_TRUE(t.tokenizer.captures().empty());
}

TEST(ScriptTokenizer, ExpectComparesSkipsOrCaptures) {
    Tokens t("SetName SetName ( x \"s\" 5");
    EXPECT_EQ(t.tokenizer.expect(K::Number, false, false), 0);
    EXPECT_EQ(t.tokenizer.expect(K::Word, true, false, "setname"), 0);
    EXPECT_EQ(t.tokenizer.expect(K::Word, true, false, "SetName"), 1);
    EXPECT_EQ(t.tokenizer.expect(K::Word, false, true), 1);
    EXPECT_EQ(t.tokenizer.expect(K::Character, true, false, ")"), 0);
    EXPECT_EQ(t.tokenizer.expect(K::Character, true, false, "("), 1);
    EXPECT_EQ(t.tokenizer.expect(K::Word, false, false), 1);
    EXPECT_EQ(t.tokenizer.expect(K::String, false, false), 1);
    EXPECT_EQ(t.tokenizer.expect(K::Number, false, false), 1);
    const auto& caps = t.tokenizer.captures();
    ASSERT_EQ(caps.size(), 3u);  // compared and skipped tokens are not captured
    EXPECT_EQ(caps[0].text, "x");
    EXPECT_EQ(caps[1].text, "s");
    EXPECT_EQ(caps[2].number, 5);
}

// "(" number ")": the number is captured.
constexpr std::array<std::uint8_t, 7> parenthesisedNumber = {
    patternCompare, name_script::character, '(', name_script::number,
    patternCompare, name_script::character, ')',
};

TEST(ScriptTokenizer, PatternSearchFindsCapturesAndStopsAfterThePattern) {
    Tokens t("junk ( x ( 4 ) ( 5 ) tail!");
    ASSERT_EQ(t.tokenizer.matchPattern(parenthesisedNumber.data(), parenthesisedNumber.size()), 1);
    ASSERT_EQ(t.tokenizer.captures().size(), 1u);
    EXPECT_EQ(t.tokenizer.captures()[0].number, 4);
    EXPECT_EQ(t.tokenizer.tokenText(), "(");  // the token after the pattern
    t.tokenizer.releaseCaptures();
    ASSERT_EQ(t.tokenizer.matchPattern(parenthesisedNumber.data(), parenthesisedNumber.size()), 1);
    EXPECT_EQ(t.tokenizer.captures()[0].number, 5);
}

TEST(ScriptTokenizer, ATokenThatBreaksAPatternIsNotTriedAgainFromItsStart) {
    // The second "(" breaks the first try and is passed over: only "(6)" is found.
    Tokens t("( ( 5 ) ( 6 ) . ");
    ASSERT_EQ(t.tokenizer.matchPattern(parenthesisedNumber.data(), parenthesisedNumber.size()), 1);
    EXPECT_EQ(t.tokenizer.captures()[0].number, 6);
}

TEST(ScriptTokenizer, APatternCountsOnlyWhenTheTokenAfterItIsFollowedByACharacter) {
    EXPECT_EQ(Tokens("(4)").tokenizer.matchPattern(parenthesisedNumber.data(), parenthesisedNumber.size()), 0);
    EXPECT_EQ(Tokens("(4)x").tokenizer.matchPattern(parenthesisedNumber.data(), parenthesisedNumber.size()), 0);
    EXPECT_EQ(Tokens("(4)x ").tokenizer.matchPattern(parenthesisedNumber.data(), parenthesisedNumber.size()), 1);
    EXPECT_EQ(Tokens("(4) ").tokenizer.matchPattern(parenthesisedNumber.data(), parenthesisedNumber.size()), 0);
    // A malformed pattern is never found.
    constexpr std::array<std::uint8_t, 2> truncated = {patternCompare, name_script::character};
    EXPECT_EQ(Tokens("( ( (").tokenizer.matchPattern(truncated.data(), truncated.size()), 0);
}

TEST(ScriptTokenizer, MatchHereTriesOnlyTheCurrentToken) {
    Tokens t("x ( 4 ) . ");
    EXPECT_EQ(t.tokenizer.matchHere(parenthesisedNumber.data(), parenthesisedNumber.size()), 0);
    EXPECT_EQ(t.tokenizer.tokenText(), "x");  // the token that did not fit stays
    t.tokenizer.next();
    EXPECT_EQ(t.tokenizer.matchHere(parenthesisedNumber.data(), parenthesisedNumber.size()), 1);
    EXPECT_EQ(t.tokenizer.captures()[0].number, 4);
}

// A file that hands out its bytes in small pieces, with empty reads between.
class PieceFile : public platform::File {
public:
    PieceFile(std::string text, int emptyReadsBetween, bool failAtEnd)
        : text_(std::move(text)), empties_(emptyReadsBetween), failAtEnd_(failAtEnd) {}
    bool open(std::string_view, Mode) override { return true; }
    bool isOpen() const override { return true; }
    bool close() override { return true; }
    std::ptrdiff_t read(void* buffer, std::size_t length) override {
        ++reads;
        if (position_ >= text_.size()) return failAtEnd_ ? -1 : 0;
        if (pending_ > 0) {
            --pending_;
            return 0;
        }
        pending_ = empties_;
        std::size_t n = std::min<std::size_t>({length, 3, text_.size() - position_});
        std::memcpy(buffer, text_.data() + position_, n);
        position_ += n;
        return static_cast<std::ptrdiff_t>(n);
    }
    int reads = 0;

private:
    std::string text_;
    std::size_t position_ = 0;
    int empties_;
    int pending_ = 0;
    bool failAtEnd_;
};

std::string drain(ScriptReader& reader, std::size_t max = 100000) {
    std::string out;
    for (unsigned char c; out.size() < max && (c = reader.nextCharacter()) != 0;) out += static_cast<char>(c);
    return out;
}

TEST(ScriptReader, RetriesEmptyReadsUpToFiveTimes) {
    auto file = std::make_unique<PieceFile>("abcdefgh", 4, false);
    PieceFile* raw = file.get();
    ScriptReader reader(std::move(file));
    ASSERT_TRUE(reader.open("any"));
    EXPECT_EQ(drain(reader), "abcdefgh");
    int readsAtEnd = raw->reads;
    EXPECT_EQ(reader.nextCharacter(), 0);
    EXPECT_EQ(raw->reads, readsAtEnd);  // the end is final

    ScriptReader tooSlow(std::make_unique<PieceFile>("abcdefgh", 5, false));
    ASSERT_TRUE(tooSlow.open("any"));
    EXPECT_EQ(drain(tooSlow), "abc");  // five empty reads in a row end the text
}

TEST(ScriptReader, AFailedReadOrAZeroByteEndsTheText) {
    auto file = std::make_unique<PieceFile>("abcd", 0, true);
    PieceFile* raw = file.get();
    ScriptReader reader(std::move(file));
    ASSERT_TRUE(reader.open("any"));
    EXPECT_EQ(drain(reader), "abcd");
    int readsAtEnd = raw->reads;
    EXPECT_EQ(reader.nextCharacter(), 0);
    EXPECT_EQ(raw->reads, readsAtEnd);

    ScriptReader zero(std::make_unique<PieceFile>(std::string("ab\0cd", 5), 0, false));
    ASSERT_TRUE(zero.open("any"));
    EXPECT_EQ(drain(zero), "ab");
    EXPECT_EQ(zero.nextCharacter(), 0);
}

TEST(ScriptReader, ReadsARealFileAcrossManyBuffers) {
    fixtures::TempDir dir;
    std::string text;
    for (int i = 0; i < 1000; ++i) text += "line " + std::to_string(i) + "\n";
    fixtures::writeFile(dir / "Names.TXT", text);
    ScriptReader reader;
    EXPECT_FALSE(reader.open(dir / "missing.txt"));
    EXPECT_EQ(reader.nextCharacter(), 0);
    ASSERT_TRUE(reader.open(dir / "names.txt"));  // names resolve without regard to case
    EXPECT_EQ(drain(reader), text);
}

}  // namespace
}  // namespace calyx::bank
