// The offer made where a WAV file is refused for its format (in the edit
// dialog, on a row, by a drop): the refusal's message also asks whether to
// convert the file. Yes converts a private copy (the original untouched)
// that takes the file's place; No leaves everything as the refusal alone
// would.
#pragma once

#include <functional>
#include <string>

#include "editor/core/converted_copies.h"
#include "editor/core/interface_language.h"
#include "editor/core/ui_text.h"

namespace calyx::editor {

struct ConversionAnswer {
    enum class Outcome {
        NotOffered,  // not a WAV file that can be converted: the refusal is shown as always
        Declined,    // the user saw the refusal and said No
        Failed,      // the conversion failed, and the user was told why
        Converted,   // `path` is the converted copy
    };
    Outcome outcome = Outcome::NotOffered;
    std::string path;
};

// Asked with the path of the refused file and the refusal's message.
using ConversionOffer = std::function<ConversionAnswer(const std::string& path, const UiText& refusal)>;

// The refusal followed by the question (UTF-8).
UiText conversionQuestion(const UiText& refusal, InterfaceLanguage language);
// Why `path` could not be converted.
UiText conversionFailure(const std::string& path, audio::ConvertResult convertResult, InterfaceLanguage language);

// The offer that converts into `copies`: `ask` shows a question and answers
// Yes, `show` shows a message. Only a WAV file the converter reads is
// offered.
ConversionOffer makeConversionOffer(ConvertedCopies& copies, InterfaceLanguage language,
                                    std::function<bool(const UiText& question)> ask,
                                    std::function<void(const UiText& message)> show);

}  // namespace calyx::editor
