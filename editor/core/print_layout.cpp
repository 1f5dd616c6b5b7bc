#include "editor/core/print_layout.h"

#include <algorithm>

#include "editor/core/resource_list.h"

namespace calyx::editor {
namespace {

constexpr int loopLabelId = 22;
constexpr int byteUnitId = 24;
constexpr std::size_t wordMax = 49;
constexpr std::string_view loopLabelFrench = "son bouclant";
constexpr std::string_view byteUnitFrench = " octets";
constexpr std::string_view titleFormat = " (Ornwick sound bank)";

UiText gameWord(const GameStrings& strings, int id, std::string_view french) {
    if (auto text = strings.GetGameString(id)) {
        text->resize(std::min(text->size(), wordMax));
        return UiText::fromGame(std::move(*text));
    }
    return UiText::builtIn(french);
}

}  // namespace

ListingWords listingWords(const GameStrings& strings) {
    return {gameWord(strings, loopLabelId, loopLabelFrench), gameWord(strings, byteUnitId, byteUnitFrench)};
}

namespace {

// A track is printed with its record's file name, else its name, else the
// words the list shows for a track: never with empty brackets.
std::string cdTrackText(const bank::SoundResource& r, const std::string& file) {
    if (!file.empty()) return file;
    if (!r.name().empty()) return latin1ToUtf8(r.name());
    return std::string(bank::cdAudioFileName);
}

}  // namespace

ListingLayout layOutListing(const bank::SoundBank& bank, const PrintArea& area, const ListingWords& words) {
    ListingLayout layout;
    const int L = area.dotsPerInchY / 4;
    const int x = area.dotsPerInchX / 2;
    if (area.height < 3 * L || area.width <= 3 * area.dotsPerInchX) return layout;

    int page = 1;
    auto draw = [&](int y, std::string text) { layout.lines.push_back({page, x, y, std::move(text)}); };
    draw(L, bank.bankPath().value_or(std::string()) + std::string(titleFormat));

    const std::string byteUnit = words.byteUnit.utf8();
    const std::string loopLabel = words.loopLabel.utf8();
    int y = 3 * L;
    auto breakPageIf = [&](bool full) {
        if (!full) return;
        ++page;
        y = L;
    };
    const std::size_t count = bank.resourceCount();
    for (std::size_t i = 0; i < count; ++i) {
        const bank::SoundResource& r = *bank.resourceAt(i);
        const std::string file = displayFileNameText(r).utf8();
        if (r.kind() == static_cast<std::uint32_t>(bank::ResourceKind::Sample)) {
            breakPageIf(y + L / 2 + 2 * L > area.height);
            draw(y, std::to_string(i) + ": Sample(" + file + "): " + latin1ToUtf8(r.comment()));
            draw(y + L, "   " + std::to_string(r.dataSize()) + byteUnit + "; " + (r.isLooping() ? loopLabel : ""));
            y += 2 * L + L / 4;
        } else if (r.kind() == static_cast<std::uint32_t>(bank::ResourceKind::CdAudio)) {
            breakPageIf(y + L / 2 + L > area.height);
            draw(y, std::to_string(i) + " CD(" + cdTrackText(r, file) + ")");
            y += L + L / 4;
        }
    }
    layout.pageCount = page;
    return layout;
}

}  // namespace calyx::editor
