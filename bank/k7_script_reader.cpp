// "K7.csb": the names of the first game's sounds. Each entry reads
//   {SndResourceE: 12 ("engine") SetName(EngineLoop) SetComment("Engine idle loop") }
// with the name a bare word or a quoted text. Everything else in the script
// (events, bank lists, comments) is passed over.
#include <exception>

#include "bank/name_script_syntax.h"
#include "bank/name_table.h"
#include "bank/script_reader.h"
#include "bank/script_tokenizer.h"

namespace calyx::bank {

K7ScriptResult NameTable::readK7Script(const std::string& path) {
    using namespace name_script;
    ScriptReader reader;
    if (!reader.open(path)) return K7ScriptResult::CannotOpen;
    K7ScriptResult result = K7ScriptResult::Read;
    try {
        ScriptTokenizer tokenizer(k7Syntax());
        tokenizer.start(&ScriptReader::characterSource, &reader, captureSlots);
        while (tokenizer.matchPattern(k7EntryHead.data(), k7EntryHead.size())) {
            // Captured so far: the id.
            bool named = tokenizer.expect(TokenKind::Word, false, false) ||
                         tokenizer.expect(TokenKind::String, false, false);
            // The comment must follow the name at once: a search further on
            // would have let go of the id and name. When it does not, the
            // search for the next entry starts at the token that broke it,
            // so that an entry right behind a broken one is kept.
            if (named && tokenizer.matchHere(k7CommentHead.data(), k7CommentHead.size())) {
                tokenizer.expect(TokenKind::String, false, false);
                const auto& captures = tokenizer.captures();
                std::string comment = captures.size() > 2 ? captures[2].text : std::string();
                if (!add(captures[0].number, captures[1].text, std::move(comment)))
                    result = K7ScriptResult::EntryLost;
            }
            tokenizer.releaseCaptures();
        }
    } catch (const std::exception&) {
        // Out of memory while reading: what was stored stays.
        result = K7ScriptResult::EntryLost;
    }
    reader.close();
    return result;
}

}  // namespace calyx::bank
