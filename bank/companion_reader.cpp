// The ".bns" companion of a bank of the second game: a header with the row
// count, the columns' names and types, then the rows:
//   [HEADER]
//   Res = 3
//   [STRUCTURE Res]
//   id int
//   name string
//   comment string
//   [BODY Res]
//   12 "Engine" "Engine idle loop"
#include <cstdint>
#include <exception>
#include <optional>
#include <vector>

#include "bank/name_script_syntax.h"
#include "bank/name_table.h"
#include "bank/script_reader.h"
#include "bank/script_tokenizer.h"
#include "platform/path.h"

namespace calyx::bank {

namespace {

using namespace name_script;


enum class ColumnType { Number, String, Other };

struct Layout {
    static constexpr std::size_t none = 255;
    std::vector<ColumnType> columns;
    std::size_t idColumn = none;
    std::size_t nameColumn = none;
    std::size_t commentColumn = none;
};

// A number token's value, taken; nothing when the token is no number.
std::optional<std::int64_t> takeNumber(ScriptTokenizer& tokenizer) {
    if (tokenizer.tokenKind() != TokenKind::Number) return std::nullopt;
    std::int64_t value = tokenizer.tokenValue();
    tokenizer.next();
    return value;
}

// Right after the header's first "word =": the row count, or nothing when the
// header names no "Res" (exactly so written).
std::optional<std::int64_t> readRowCount(ScriptTokenizer& tokenizer) {
    bool firstIsRes = tokenizer.captures()[0].text == companionKeywords[companionRes];
    tokenizer.releaseCaptures();
    if (firstIsRes) return takeNumber(tokenizer);
    tokenizer.expect(TokenKind::Number, false, true);
    while (tokenizer.tokenKind() == TokenKind::Word) {
        bool isRes = tokenizer.keywordIndex() == companionRes;
        tokenizer.next();
        if (!tokenizer.expect(TokenKind::Character, true, false, "=")) return std::nullopt;
        if (isRes) return takeNumber(tokenizer);
        tokenizer.expect(TokenKind::Number, false, true);
    }
    return std::nullopt;
}

// Right after "[STRUCTURE Res]": pairs of a field name and a type.
Layout readLayout(ScriptTokenizer& tokenizer) {
    Layout layout;
    while (layout.columns.size() < maxColumns && tokenizer.tokenKind() == TokenKind::Word) {
        std::string field = tokenizer.tokenText();
        tokenizer.next();
        if (tokenizer.tokenKind() != TokenKind::Word) break;
        ColumnType type = platform::equalsNoCase(tokenizer.tokenText(), intType)      ? ColumnType::Number
                          : platform::equalsNoCase(tokenizer.tokenText(), stringType) ? ColumnType::String
                                                                                      : ColumnType::Other;
        tokenizer.next();
        std::size_t position = layout.columns.size();
        layout.columns.push_back(type);
        if (type == ColumnType::Other) continue;
        if (platform::equalsNoCase(field, companionKeywords[companionId])) layout.idColumn = position;
        else if (platform::equalsNoCase(field, companionKeywords[companionName])) layout.nameColumn = position;
        else if (platform::equalsNoCase(field, companionKeywords[companionComment]))
            layout.commentColumn = position;
    }
    return layout;
}

struct Row {
    bool consumedToken = false;
    bool hasEntry = false;
    std::int32_t id = 0;
    std::string name;
    std::string comment;
};

// One row, column by column. A name or comment that comes before the row's id
// loses the row's entry.
Row readRow(ScriptTokenizer& tokenizer, const Layout& layout) {
    Row row;
    bool hasId = false;
    bool namesLost = false;
    for (std::size_t column = 0; column < layout.columns.size(); ++column) {
        ColumnType type = layout.columns[column];
        if (type == ColumnType::Number && tokenizer.expect(TokenKind::Number, false, false)) {
            row.consumedToken = true;
            if (column == layout.idColumn) {
                row.id = tokenizer.captures()[0].number;
                hasId = true;
            }
        } else if (type == ColumnType::String && tokenizer.expect(TokenKind::String, false, false)) {
            row.consumedToken = true;
            bool isName = column == layout.nameColumn;
            if ((isName || column == layout.commentColumn) && !namesLost) {
                if (!row.hasEntry) {
                    row.hasEntry = hasId;
                    namesLost = !hasId;
                }
                if (row.hasEntry) (isName ? row.name : row.comment) = tokenizer.captures()[0].text;
            }
        }
        tokenizer.releaseCaptures();
    }
    return row;
}

}  // namespace

CompanionResult NameTable::readCompanion(const std::string& path) {
    ScriptReader reader;
    if (!reader.open(path)) return CompanionResult::Unreadable;
    CompanionResult result = CompanionResult::Read;
    try {
        ScriptTokenizer tokenizer(companionSyntax());
        tokenizer.start(&ScriptReader::characterSource, &reader, captureSlots);
        if (tokenizer.matchPattern(companionHeaderPattern.data(), companionHeaderPattern.size())) {
            std::optional<std::int64_t> rowCount = readRowCount(tokenizer);
            if (!rowCount) {
                result = CompanionResult::Unreadable;
            } else {
                Layout layout;
                if (tokenizer.matchPattern(companionStructurePattern.data(), companionStructurePattern.size()))
                    layout = readLayout(tokenizer);
                if (tokenizer.matchPattern(companionBodyPattern.data(), companionBodyPattern.size())) {
                    for (std::int64_t i = 0; i < *rowCount; ++i) {
                        Row row = readRow(tokenizer, layout);
                        // A row that took no token changed nothing, and every
                        // row after it would be the same (at the end of the
                        // text in particular): stop instead of counting on.
                        if (!row.consumedToken) break;
                        if (row.hasEntry) add(row.id, std::move(row.name), std::move(row.comment));
                    }
                }
            }
        }
    } catch (const std::exception&) {
        // Out of memory while reading: what was stored stays.
    }
    reader.close();
    return result;
}

}  // namespace calyx::bank
