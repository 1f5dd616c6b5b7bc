#include "editor/core/conversion_offer.h"

#include "audio/convert_texts.h"
#include "audio/wav_convert.h"
#include "editor/core/newer_texts.h"

namespace calyx::editor {
namespace {
std::string filled(std::string_view text, const std::string& first, const std::string& second = {}) {
    std::string result(text);
    if (const auto at = result.find("%1"); at != std::string::npos) result.replace(at, 2, first);
    if (const auto at = result.find("%2"); at != std::string::npos) result.replace(at, 2, second);
    return result;
}
}  // namespace

UiText conversionQuestion(const UiText& refusal, InterfaceLanguage language) {
    return UiText::builtIn(refusal.utf8() + "\n\n" + std::string(newer_text::convertQuestion.in(language)));
}

UiText conversionFailure(const std::string& path, audio::ConvertResult convertResult, InterfaceLanguage language) {
    return UiText::builtIn(filled(newer_text::conversionFailed.in(language), path,
                                  std::string(audio::convertResultText(convertResult))));
}

ConversionOffer makeConversionOffer(ConvertedCopies& copies, InterfaceLanguage language,
                                    std::function<bool(const UiText&)> ask, std::function<void(const UiText&)> show) {
    return [&copies, language, ask = std::move(ask), show = std::move(show)](const std::string& path,
                                                                             const UiText& refusal) {
        ConversionAnswer answer;
        audio::SampleFormat format;
        if (audio::readSampleFormat(path, format) != audio::ConvertResult::Ok) return answer;
        if (!ask(conversionQuestion(refusal, language))) {
            answer.outcome = ConversionAnswer::Outcome::Declined;
            return answer;
        }
        const ConvertedCopy copy = copies.convert(path);
        if (copy.result != audio::ConvertResult::Ok) {
            show(conversionFailure(path, copy.result, language));
            answer.outcome = ConversionAnswer::Outcome::Failed;
            return answer;
        }
        answer.outcome = ConversionAnswer::Outcome::Converted;
        answer.path = copy.path;
        return answer;
    };
}

}  // namespace calyx::editor
