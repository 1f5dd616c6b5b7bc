#include "bank/name_script_syntax.h"

namespace calyx::bank::name_script {

using Range = CharacterSet::Range;

ScriptSyntax k7Syntax() {
    ScriptSyntax syntax;
    syntax.wordStart.add(Range::Upper).add(Range::Lower).add('{').add('_').add(eGrave).add(eAcute);
    syntax.wordBody.add(Range::Upper)
        .add(Range::Lower)
        .add(Range::Digits)
        .add('_')
        .add('.')
        .add('^')
        .add(eGrave)
        .add(eAcute);
    syntax.wordEnd.add(':');
    syntax.maxWordLength = wordLength;
    syntax.keywords = k7Keywords;
    return syntax;
}

ScriptSyntax companionSyntax() {
    ScriptSyntax syntax;
    syntax.wordStart.add(Range::Upper).add(Range::Lower).add('_').add(eGrave).add(eAcute);
    syntax.wordBody.add(Range::Upper)
        .add(Range::Lower)
        .add(Range::Digits)
        .add('_')
        .add(eGrave)
        .add(eAcute);
    syntax.maxWordLength = wordLength;
    syntax.keywords = companionKeywords;
    return syntax;
}

}  // namespace calyx::bank::name_script
