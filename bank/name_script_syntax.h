// The two name scripts' word rules, keywords and patterns: "K7.csb" of the
// first game and the ".bns" companion beside a bank of the second.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "bank/script_tokenizer.h"

namespace calyx::bank::name_script {

// Both readers keep words to 20 characters and have room for 5 captures.
inline constexpr std::size_t wordLength = 20;
inline constexpr std::size_t captureSlots = 5;

inline constexpr std::uint8_t word = static_cast<std::uint8_t>(TokenKind::Word);
inline constexpr std::uint8_t number = static_cast<std::uint8_t>(TokenKind::Number);
inline constexpr std::uint8_t character = static_cast<std::uint8_t>(TokenKind::Character);
inline constexpr std::uint8_t string = static_cast<std::uint8_t>(TokenKind::String);

// Latin-1 è and é, letters of French names.
inline constexpr unsigned char eGrave = 0xE8;
inline constexpr unsigned char eAcute = 0xE9;

// ---- "K7.csb" ----

enum K7Keyword : std::uint8_t {
    k7EventE,
    k7ResourceE,
    k7EventM,
    k7ResourceM,
    k7BankList,
    k7SetName,
    k7SetComment,
};
inline constexpr std::array<std::string_view, 7> k7Keywords = {
    "{SndEventE:", "{SndResourceE:", "{SndEventM:",  "{SndResourceM:",
    "{SoundBankList:", "SetName",    "SetComment",
};

// {SndResourceE: <id> ( "..." ) SetName (
inline constexpr std::array<std::uint8_t, 18> k7EntryHead = {
    patternCompare, word,      k7ResourceE,  //
    number,                                  //
    patternCompare, character, '(',          //
    patternSkip,    string,                  //
    patternCompare, character, ')',          //
    patternCompare, word,      k7SetName,    //
    patternCompare, character, '(',          //
};
// ) SetComment (
inline constexpr std::array<std::uint8_t, 9> k7CommentHead = {
    patternCompare, character, ')',           //
    patternCompare, word,      k7SetComment,  //
    patternCompare, character, '(',           //
};

ScriptSyntax k7Syntax();

// ---- the ".bns" companion ----

enum CompanionKeyword : std::uint8_t {
    companionHeader,
    companionStructure,
    companionBody,
    companionId,
    companionName,
    companionComment,
    companionRes,
};
inline constexpr std::array<std::string_view, 7> companionKeywords = {
    "HEADER", "STRUCTURE", "BODY", "id", "name", "comment", "Res",
};
// Column types.
inline constexpr std::string_view intType = "int";
inline constexpr std::string_view stringType = "string";
inline constexpr std::size_t maxColumns = 40;

// [ HEADER ] <word> =
inline constexpr std::array<std::uint8_t, 13> companionHeaderPattern = {
    patternCompare, character, '[',              //
    patternCompare, word,      companionHeader,  //
    patternCompare, character, ']',              //
    word,                                        //
    patternCompare, character, '=',              //
};
// [ STRUCTURE Res ]
inline constexpr std::array<std::uint8_t, 12> companionStructurePattern = {
    patternCompare, character, '[',                 //
    patternCompare, word,      companionStructure,  //
    patternCompare, word,      companionRes,        //
    patternCompare, character, ']',                 //
};
// [ BODY Res ]
inline constexpr std::array<std::uint8_t, 12> companionBodyPattern = {
    patternCompare, character, '[',            //
    patternCompare, word,      companionBody,  //
    patternCompare, word,      companionRes,   //
    patternCompare, character, ']',            //
};

ScriptSyntax companionSyntax();

}  // namespace calyx::bank::name_script
