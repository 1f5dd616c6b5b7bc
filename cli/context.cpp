#include "cli/context.h"

#include <iostream>

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
    if (isBlank(path)) throw CommandFailure{std::string(role) + " is empty: it names no file", ExitCode::Usage};
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

std::unique_ptr<editor::BankDocument> Context::openDocument(const std::string& path) const {
    return openDocument(path, links_);
}

std::unique_ptr<editor::BankDocument> Context::openDocument(const std::string& path, editor::LinkTable& links) const {
    auto document = std::make_unique<editor::BankDocument>(links);
    document->setUndoEnabled(false);
    const auto result = document->open(path, editor::GetInstallInfo(installation_));
    const auto text = [&](const editor::DocumentReport& report) {
        return report.text(strings_, language()).utf8();
    };
    if (!result.opened) throw CommandFailure{result.report ? text(*result.report) : path + ": cannot be opened"};
    if (result.report) printWarning(text(*result.report));
    if (result.dataWarning) printWarning(text(*result.dataWarning));
    return document;
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
                             ExitCode::Usage};
    return *bank.resourceAt(static_cast<std::size_t>(index));
}

}  // namespace calyx::cli
