#include "editor/core/resource_drop.h"

#include "platform/path.h"

namespace calyx::editor {
namespace {

// `text` cut to at most `max` bytes without splitting a UTF-8 character.
std::string cutUtf8(std::string text, std::size_t max) {
    if (text.size() <= max) return text;
    std::size_t end = max;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
    text.resize(end);
    return text;
}

// A resource as the question names it: by its name from the game's
// scripts (8-bit), else its file: a record's name (8-bit) or a path the
// user chose (UTF-8 here).
std::string shownName(const bank::SoundResource& resource) {
    if (!resource.name().empty()) return latin1ToUtf8(resource.name());
    if (resource.isReplaced() && resource.replacementPath()) return *resource.replacementPath();
    return latin1ToUtf8(resource.displayFileName());
}

// The question's first words and the target, then `replacedBy`.
UiText askReplacing(const bank::SoundResource& target, const std::string& replacedBy, const GameStrings& strings) {
    const auto lead = strings.AreGameStringsLoaded() ? strings.GetGameString(replaceQuestionId) : std::nullopt;
    const std::string question =
        (lead ? latin1ToUtf8(*lead) : std::string(replaceQuestionFrench)) + " " + shownName(target) + replacedBy;
    return UiText::builtIn(cutUtf8(question, replaceQuestionMax));
}

}  // namespace

bool prepareCopyFrom(const bank::SoundResource& target, const bank::SoundResource& source) {
    return target.isSample() && source.isSample();
}

DropRefusal checkDrop(const bank::SoundBank& sourceBank, const bank::SoundResource& source,
                      const bank::SoundBank& targetBank, const bank::SoundResource& target) {
    if (targetBank.savesInProgress() != 0) return DropRefusal::SaveInProgress;
    if (&source == &target) return DropRefusal::SameResource;
    // The first game keeps an unstored sample in a file of its own, which
    // cannot take data from a second-game bank.
    if (!target.isStored() && sourceBank.flavor() == bank::BankFlavor::TQ2 &&
        targetBank.flavor() == bank::BankFlavor::K7TQ)
        return DropRefusal::Tq2OntoK7Unstored;
    if (!prepareCopyFrom(target, source)) return DropRefusal::NotSamples;
    return DropRefusal::None;
}

UiText replaceQuestion(const bank::SoundResource& target, const bank::SoundResource& source,
                       const bank::SoundBank& sourceBank, const GameStrings& strings, InterfaceLanguage language) {
    const std::string bankFile = std::string(platform::lastComponent(sourceBank.bankPath().value_or(std::string())));
    return askReplacing(target, withArguments(replacedByRow.in(language), {shownName(source), bankFile}), strings);
}

UiText replaceWithFileQuestion(const bank::SoundResource& target, std::string_view filePath,
                               const GameStrings& strings, InterfaceLanguage language) {
    return askReplacing(target, withArguments(replacedByFile.in(language), {platform::lastComponent(filePath)}),
                        strings);
}

DropOutcome dropResource(bank::SoundBank& sourceBank, std::size_t sourceIndex, bank::SoundBank& targetBank,
                         std::size_t targetIndex, LinkTable& links, const GameStrings& strings,
                         const DropConfirmation& confirm, DropRefusal* refusal, InterfaceLanguage language) {
    bank::SoundResource* source = sourceBank.resourceAt(sourceIndex);
    bank::SoundResource* target = targetBank.resourceAt(targetIndex);
    DropRefusal why = DropRefusal::NotSamples;
    if (source && target) why = checkDrop(sourceBank, *source, targetBank, *target);
    if (refusal) *refusal = why;
    if (why != DropRefusal::None) return DropOutcome::Refused;
    if (!confirm || !confirm(replaceQuestion(*target, *source, sourceBank, strings, language)))
        return DropOutcome::Cancelled;

    // The bank file the bytes lie in, taken before the copy changes anything
    // (the two may be one resource's bank).
    const bool sourceLinked = (source->linkFlags() & bank::fromBank) != 0;
    const std::optional<std::string> sourcePath = sourceLinked ? links.pathOf(source->linkKey()) : sourceBank.bankPath();
    const bank::LinkKey oldKey = target->linkKey();
    const bool sourcePasted = source->isReplaced() && (source->linkFlags() & bank::pasted);
    const bank::ChangeGroup group(targetBank);

    target->copyFrom(*source, &sourceBank != &targetBank);
    target->setLinkKey(links.acquire(sourcePath));
    // Whatever key an earlier paste gave the target is given up (after the
    // new one is taken, so a paste from the same bank keeps its entry): a
    // resource holds at most one reference.
    links.release(oldKey);
    // Which resource of which bank file the bytes are, so that they can be
    // followed (or refused) if that file changes before the target's save.
    if (sourcePasted) {
        links.origins().recordCopy(*target, *source);
    } else if (!(target->linkFlags() & bank::sourceIsPlainFile) && sourcePath) {
        links.origins().recordPaste(*target, *sourcePath, sourceIndex);
    } else {
        links.origins().forget(*target);
    }
    return DropOutcome::Copied;
}

void releaseLinks(bank::SoundBank& bank, LinkTable& links) {
    bank.forEachResource([&links](bank::SoundResource& r) {
        if (r.linkFlags() & bank::fromBank) r.setFromBank(false);
        releaseLinkKey(r, links);
        return true;
    });
}

void releaseLinkKey(bank::SoundResource& resource, LinkTable& links) {
    links.origins().forget(resource);
    if (resource.linkKey() == 0) return;
    links.release(resource.linkKey());
    resource.setLinkKey(0);
}

void useLinkTable(bank::SoundBank& bank, const LinkTable& links) {
    bank.setSourceBankResolver([&links](bank::LinkKey key) { return links.pathOf(key); });
}

}  // namespace calyx::editor
