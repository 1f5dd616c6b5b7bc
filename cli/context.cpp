#include "cli/context.h"

#include <iostream>

#include "editor/core/document_open.h"
#include "editor/core/messages.h"
#include "editor/core/startup.h"
#include "platform/path.h"

namespace calyx::cli {
namespace {

std::string directoryOption(const std::string& given) {
    return given.empty() ? std::string() : platform::withTrailingSeparator(given);
}

bool isBlank(std::string_view text) {
    return text.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

}  // namespace

std::string Context::userPath(std::string_view path, std::string_view role) const {
    if (isBlank(path)) throw CommandFailure{std::string(role) + " is empty: it names no file", exitUsage};
    std::string host = platform::toHostPath(path);
    if (host.empty())
        throw CommandFailure{std::string(path) + ": no such drive (the Wine prefix maps no folder to it)"};
    return host;
}

void Context::startUp() {
    const std::string k7 = k7DirOption.empty() ? std::string() : userPath(k7DirOption);
    const std::string tq2 = tq2DirOption.empty() ? std::string() : userPath(tq2DirOption);
    stringsLoaded_ = editor::LoadGameStrings(strings_, installation_) == 1;
    if (!k7.empty()) installation_.k7Dir = directoryOption(k7);
    if (!tq2.empty()) installation_.tq2Dir = directoryOption(tq2);
    if (!k7LanguageOption.empty()) installation_.k7Language = k7LanguageOption;
    if (!tq2LanguageOption.empty()) installation_.tq2Language = tq2LanguageOption;
}

std::unique_ptr<bank::SoundBank> Context::openBank(const std::string& path) const {
    auto bank = std::make_unique<bank::SoundBank>();
    const auto result = editor::openBank(*bank, path, editor::GetInstallInfo(installation_));
    switch (result) {
    case editor::OpenResult::Opened: break;
    case editor::OpenResult::BadPath:
        throw CommandFailure{path + ": no such sound bank (a bank is an existing file ending in .bnm)"};
    case editor::OpenResult::CannotOpen: throw CommandFailure{path + ": cannot be opened for reading"};
    case editor::OpenResult::Empty: throw CommandFailure{path + ": the file is empty"};
    case editor::OpenResult::Truncated:
        throw CommandFailure{path + ": not a complete sound bank (the file ends inside its header or records)"};
    case editor::OpenResult::ImpossibleCounts:
        throw CommandFailure{path + ": not a sound bank (its header counts more records than the file holds)"};
    }
    int code = 0;
    if (bank->takeError(code)) {
        std::string fallback = code == bank::errorCompanionUnreadable
                                   ? "the companion name file cannot be read; names and descriptions are empty"
                                   : "the bank could not be read whole (error " + std::to_string(code) + ")";
        printWarning(path + ": " + messageText(editor::bankErrorText(code, strings_), fallback));
    }
    return bank;
}

std::string Context::messageText(const std::optional<editor::UiText>& text,
                                 std::string_view fallback) const {
    if (text && !text->empty()) return text->utf8();
    return std::string(fallback);
}

void printError(std::string_view message) { std::cerr << "calyx-cli: " << message << '\n'; }

void printWarning(std::string_view message) { std::cerr << "calyx-cli: warning: " << message << '\n'; }

bank::SoundResource& resourceAtIndex(bank::SoundBank& bank, long index) {
    if (index < 0 || static_cast<std::size_t>(index) >= bank.resourceCount())
        throw CommandFailure{"index " + std::to_string(index) + " is out of range: the bank has " +
                                 std::to_string(bank.resourceCount()) + " resources (0 to " +
                                 std::to_string(static_cast<long>(bank.resourceCount()) - 1) + ")",
                             exitUsage};
    return *bank.resourceAt(static_cast<std::size_t>(index));
}

}  // namespace calyx::cli
