// export, import, volume, copy and play: the edit dialog's buttons and the
// drop of one row on another, run through the editor's own code, then the
// editor's save.
#include <atomic>
#include <chrono>
#include <csignal>
#include <iostream>
#include <memory>
#include <thread>

#include "audio/playback.h"
#include "audio/wave_device_owner.h"
#include "bank/resource_record.h"
#include "cli/commands.h"
#include "cli/converted_input.h"
#include "cli/dialog_said.h"
#include "cli/save_bank.h"
#include "editor/core/current_sample.h"
#include "editor/core/export_all.h"
#include "editor/core/headless_dialog_view.h"
#include "editor/core/link_table.h"
#include "editor/core/messages.h"
#include "editor/core/resource_drop.h"
#include "editor/core/resource_edit_session.h"
#include "platform/file.h"
#include "platform/host_name.h"
#include "platform/path.h"

namespace calyx::cli {
namespace {

// Fails with "<subject>: " and what the dialog said, or `fallback` when it
// said nothing, then `advice`.
[[noreturn]] void failWithDialogMessages(const editor::HeadlessDialogView& view, const std::string& subject,
                                         const std::string& fallback, const std::string& advice = {}) {
    throw CommandFailure{subject + ": " + dialogSaid(view, fallback) + advice};
}

// The edit dialog's message for a sample that cannot be read or written, and
// what lies behind it, in calyx-cli's language.
std::string sampleProblemText(const Context& context, const bank::SoundResource& resource,
                              const editor::ExportProblem& problem) {
    return editor::exportProblemText(resource, problem, context.strings(), context.language());
}

// A sample resource of an open bank that the editor opens a dialog for.
bank::SoundResource& sampleWithDialog(bank::SoundBank& bank, long index) {
    bank::SoundResource& resource = resourceAtIndex(bank, index);
    if (!editor::ResourceEditSession::opensDialogFor(resource))
        throw CommandFailure{"resource " + std::to_string(index) +
                             " is not a sample with a file of its own (the editor opens no dialog for it)"};
    return resource;
}

// Resource `index`'s present sample, as the edit dialog reads it for a test
// or an export; an empty sample when it has no bytes.
editor::WavError readSampleOf(bank::SoundBank& bank, long index, std::vector<std::uint8_t>& sample) {
    std::optional<std::vector<std::uint8_t>> bytes;
    const editor::WavError read =
        editor::readCurrentSample(*bank.resourceAt(static_cast<std::size_t>(index)), bank, bytes);
    if (read != editor::WavError::None) return read;
    if (!bytes) return editor::WavError::NoSampleData;
    sample = std::move(*bytes);
    return editor::WavError::None;
}

// One resource of one open bank in an edit dialog.
struct OpenEdit {
    // Declared first: the document gives its links back when it goes.
    editor::LinkTable links;
    std::unique_ptr<editor::BankDocument> document;
    editor::HeadlessDialogView view;
    std::unique_ptr<editor::ResourceEditSession> session;
    bank::SoundResource* resource = nullptr;
};

void openEdit(OpenEdit& edit, Context& context, const std::string& bankPath, long index) {
    edit.document = context.openDocument(bankPath, edit.links);
    edit.resource = &sampleWithDialog(edit.document->bank(), index);
    edit.view.trackbar = 0;  // the dialog's trackbar is there
    edit.session = std::make_unique<editor::ResourceEditSession>(edit.view, edit.links, context.strings(),
                                                                 context.language());
    edit.session->bind(*edit.resource, edit.document->bank(), nullptr);
    if (!edit.session->initialise()) throw CommandFailure{"the resource cannot be edited"};
}

std::string refusalText(editor::DropRefusal refusal) {
    switch (refusal) {
    case editor::DropRefusal::SameResource: return "a resource cannot be copied onto itself";
    case editor::DropRefusal::NotSamples: return "both resources must be samples";
    case editor::DropRefusal::Tq2OntoK7Unstored:
        return "a sample of a TQ2 bank cannot replace a K7TQ sample that is not stored in its bank";
    case editor::DropRefusal::SaveInProgress: return "the target bank is being saved";
    case editor::DropRefusal::None: break;
    }
    return "the copy was refused";
}

std::atomic<bool> interrupted{false};

extern "C" void onInterrupt(int) { interrupted = true; }

// Waits until the device has played everything queued, or until Ctrl+C.
void waitForPlayback(const audio::WaveDeviceOwner& owner) {
    using namespace std::chrono_literals;
    interrupted = false;
    auto previous = std::signal(SIGINT, onInterrupt);
    while (!interrupted) {
        const audio::WaveHandle device = owner.waveHandle();
        if (!device || !device->isPlaying()) break;
        std::this_thread::sleep_for(20ms);
    }
    // The device's last block is still on its way out.
    if (!interrupted) std::this_thread::sleep_for(60ms);
    std::signal(SIGINT, previous == SIG_ERR ? SIG_DFL : previous);
}

constexpr std::size_t riffSignatureLength = 12;

// True when the file begins as a RIFF WAVE file does.
bool startsAsWav(const std::string& path) {
    platform::File file;
    char head[riffSignatureLength] = {};
    if (!file.open(path, platform::File::Mode::Read) ||
        file.read(head, sizeof head) != static_cast<std::ptrdiff_t>(sizeof head))
        return false;
    return std::string_view(head, 4) == "RIFF" && std::string_view(head + 8, 4) == "WAVE";
}

// An export writes a new WAV file or replaces an earlier one; it never
// replaces the bank it reads, and replaces another kind of file only when
// told to.
void checkExportTarget(const std::string& out, const std::string& shownOut, const std::string& bankPath, bool force) {
    if (platform::sameFile(out, bankPath))
        throw CommandFailure{shownOut + ": this is the bank being read; export to another file", ExitCode::Usage};
    if (!force && platform::fileExists(out) && !startsAsWav(out))
        throw CommandFailure{shownOut + ": exists and is not a WAV file; give --force to replace it", ExitCode::Usage};
}

// The name the bank records for an imported file, and a warning when it is
// not the file's own name.
void warnAboutRecordedName(const std::string& hostInput, const std::string& shownInput) {
    const auto name = platform::gameFileName(hostInput);
    const bool cut = name.latin1.size() > bank::ResourceRecord::fileNameMax;
    if (!name.charactersReplaced && !cut) return;
    std::string recorded = editor::latin1ToUtf8(name.latin1.substr(0, bank::ResourceRecord::fileNameMax));
    std::string why = name.charactersReplaced ? "characters the game cannot show became '_'" : "";
    if (cut)
        why += std::string(why.empty() ? "" : " and ") + "it was cut to " +
               std::to_string(bank::ResourceRecord::fileNameMax) + " characters";
    printWarning(shownInput + ": the bank records the file name as \"" + recorded + "\" (" + why + ")");
}

void addExport(CLI::App& app, Context& context) {
    struct Args {
        std::string bank, out;
        long index = 0;
        bool force = false;
    };
    auto args = std::make_shared<Args>();
    auto* cmd = app.add_subcommand("export", "write a resource's sample as a WAV file (the dialog's \"exporter Wav\")");
    cmd->add_option("BANK", args->bank, "the bank (.bnm)")->required();
    cmd->add_option("INDEX", args->index, "the resource, counting from 0 in file order")->required();
    cmd->add_option("OUT", args->out, "the WAV file to write (an earlier WAV file is replaced)")->required();
    cmd->add_flag("--force", args->force, "replace OUT even when it is not a WAV file (never the bank itself)");
    cmd->callback([&context, args] {
        const std::string bankPath = context.userPath(args->bank, "the bank");
        const std::string out = context.userPath(args->out, "the WAV file");
        checkExportTarget(out, args->out, bankPath, args->force);
        context.startUp();
        editor::LinkTable links;
        const auto document = context.openDocument(bankPath, links);
        const bank::SoundResource& resource = sampleWithDialog(document->bank(), args->index);
        std::vector<std::uint8_t> sample;
        editor::WavError result = readSampleOf(document->bank(), args->index, sample);
        if (result == editor::WavError::None) result = editor::writeSampleWav(out, sample);
        if (result != editor::WavError::None) {
            // A sample that cannot be read is the bank's problem, not the output's.
            const bool aboutOutput =
                result == editor::WavError::CannotWrite || result == editor::WavError::CannotOpen;
            if (!aboutOutput)
                throw CommandFailure{args->bank + ": resource " + std::to_string(args->index) + ": " +
                                     sampleProblemText(context, resource, {static_cast<std::size_t>(args->index), result, args->out})};
            const std::string folder(platform::directoryPart(out));
            const bool noFolder = !folder.empty() && !platform::directoryExists(folder);
            throw CommandFailure{args->out + ": " +
                                 context.messageText(editor::wavErrorText(result, context.strings(), context.language()),
                                                     "the WAV file cannot be written") +
                                 (noFolder ? " (the folder " + folder + " does not exist)" : "")};
        }
        std::cout << "exported " << sample.size() << " bytes to " << args->out << '\n';
    });
}

void addImport(CLI::App& app, Context& context) {
    struct Args {
        std::string bank, in;
        OutputOption output;
        long index = 0;
        bool convert = false;
    };
    auto args = std::make_shared<Args>();
    auto* cmd = app.add_subcommand("import", "replace a resource's sample by a WAV file (22050 Hz, mono, 16 bit), then save");
    cmd->add_option("BANK", args->bank, "the bank (.bnm)")->required();
    cmd->add_option("INDEX", args->index, "the resource, counting from 0 in file order")->required();
    cmd->add_option("IN", args->in, "the WAV file")->required();
    addOutputOption(*cmd, args->output, "save under this name instead of in place");
    cmd->add_flag("--convert", args->convert,
                  "convert IN first (any PCM or float WAV: 8 to 32-bit integer or 32/64-bit float, any rate,\n"
                  "any number of channels) to 22050 Hz mono 16-bit; the bank records IN's file name");
    cmd->callback([&context, args] {
        const std::string bankPath = context.userPath(args->bank, "the bank");
        const std::string target = saveTarget(context, args->output, bankPath);
        const std::string hostInput = context.userPath(args->in, "the WAV file");
        // With --convert the converted copy, which keeps IN's file name, is imported.
        std::optional<ConvertedInput> converted;
        if (args->convert) converted.emplace(hostInput, args->in);
        const std::string in = converted ? converted->path() : hostInput;
        context.startUp();
        OpenEdit edit;
        openEdit(edit, context, bankPath, args->index);
        // "Browse..." then OK.
        const editor::ImportResult imported = edit.session->importWav(in, true);
        edit.session->reportImportResult(imported);
        if (imported != editor::ImportResult::Taken)
            failWithDialogMessages(edit.view, args->in, "not imported",
                           imported == editor::ImportResult::FormatNotSupported && !args->convert
                               ? "; import --convert converts it first (any PCM or float WAV file)"
                               : "");
        if (!edit.session->ok()) failWithDialogMessages(edit.view, args->in, "not imported");
        saveBankOrFail(context, *edit.document, target);
        warnAboutRecordedName(hostInput, args->in);
        std::cout << "imported " << edit.resource->dataSize() << " bytes into resource " << args->index << "; saved "
                  << args->output.shown(args->bank) << '\n';
    });
}

void addVolume(CLI::App& app, Context& context) {
    struct Args {
        std::string bank;
        OutputOption output;
        long index = 0;
        int volume = 0;
    };
    auto args = std::make_shared<Args>();
    auto* cmd = app.add_subcommand("volume", "set a resource's volume (0 to 127), then save");
    cmd->add_option("BANK", args->bank, "the bank (.bnm)")->required();
    cmd->add_option("INDEX", args->index, "the resource, counting from 0 in file order")->required();
    cmd->add_option("VALUE", args->volume, "the volume, 0 to 127")->required()->check(CLI::Range(0, audio::maxVolume));
    addOutputOption(*cmd, args->output, "save under this name instead of in place");
    cmd->callback([&context, args] {
        const std::string bankPath = context.userPath(args->bank, "the bank");
        const std::string target = saveTarget(context, args->output, bankPath);
        context.startUp();
        OpenEdit edit;
        openEdit(edit, context, bankPath, args->index);
        edit.view.volume = std::to_string(args->volume);
        if (!edit.session->ok()) failWithDialogMessages(edit.view, args->bank, "the volume could not be set");
        saveBankOrFail(context, *edit.document, target);
        std::cout << "volume of resource " << args->index << " is " << edit.resource->volume() << "; saved "
                  << args->output.shown(args->bank) << '\n';
    });
}

void addCopy(CLI::App& app, Context& context) {
    struct Args {
        std::string source, target;
        OutputOption output;
        long sourceIndex = 0, targetIndex = 0;
    };
    auto args = std::make_shared<Args>();
    auto* cmd = app.add_subcommand(
        "copy", "give a resource the sample of another (in the same bank or another), as a drag and drop does; "
                "then save the target bank");
    cmd->add_option("SRC", args->source, "the bank to copy from (.bnm)")->required();
    cmd->add_option("SRC_INDEX", args->sourceIndex, "the resource to copy, counting from 0")->required();
    cmd->add_option("DST", args->target, "the bank to copy into (.bnm); may be SRC")->required();
    cmd->add_option("DST_INDEX", args->targetIndex, "the resource to replace, counting from 0")->required();
    addOutputOption(*cmd, args->output, "save the target bank under this name instead of in place");
    cmd->callback([&context, args] {
        const std::string sourcePath = context.userPath(args->source, "the source bank");
        const std::string targetPath = context.userPath(args->target, "the target bank");
        const std::string savePath = saveTarget(context, args->output, targetPath);
        context.startUp();
        editor::LinkTable links;
        auto targetDocument = context.openDocument(targetPath, links);
        bank::SoundBank* target = &targetDocument->bank();
        // One bank named twice is opened once, as one document.
        std::unique_ptr<editor::BankDocument> otherSource;
        if (!platform::sameFile(sourcePath, targetPath)) otherSource = context.openDocument(sourcePath, links);
        bank::SoundBank& source = otherSource ? otherSource->bank() : *target;
        resourceAtIndex(source, args->sourceIndex);
        resourceAtIndex(*target, args->targetIndex);
        editor::DropRefusal refusal = editor::DropRefusal::None;
        const auto outcome = editor::dropResource(
            source, static_cast<std::size_t>(args->sourceIndex), *target, static_cast<std::size_t>(args->targetIndex),
            links, context.strings(), [](const editor::UiText&) { return true; }, &refusal);
        if (outcome != editor::DropOutcome::Copied) throw CommandFailure{refusalText(refusal)};
        // A source whose sample cannot be read would fail the save; say so
        // about the source, before anything is written.
        std::vector<std::uint8_t> sample;
        if (const editor::WavError unreadable = readSampleOf(source, args->sourceIndex, sample);
            unreadable != editor::WavError::None && unreadable != editor::WavError::NoSampleData)
            throw CommandFailure{args->source + ": resource " + std::to_string(args->sourceIndex) + ": " +
                                 sampleProblemText(context, *source.resourceAt(static_cast<std::size_t>(args->sourceIndex)),
                                                   {static_cast<std::size_t>(args->sourceIndex), unreadable, args->source})};
        saveBankOrFail(context, *targetDocument, savePath);
        std::cout << "copied resource " << args->sourceIndex << " onto resource " << args->targetIndex << "; saved "
                  << args->output.shown(args->target) << '\n';
    });
}

void addPlay(CLI::App& app, Context& context) {
    struct Args {
        std::string bank;
        long index = 0;
    };
    auto args = std::make_shared<Args>();
    auto* cmd = app.add_subcommand(
        "play", "play a resource's sample at its volume (the dialog's \"Test current\"); a looping one plays until Ctrl+C");
    cmd->add_option("BANK", args->bank, "the bank (.bnm)")->required();
    cmd->add_option("INDEX", args->index, "the resource, counting from 0 in file order")->required();
    cmd->callback([&context, args] {
        const std::string bankPath = context.userPath(args->bank, "the bank");
        context.startUp();
        std::vector<std::string> deviceMessages;
        audio::WaveDeviceOwner owner([&](int id, const char* french) {
            const auto entry = editor::messageById(id);
            deviceMessages.push_back(context.messageText(
                entry ? editor::resolveMessage(*entry, context.strings(), context.language())
                      : editor::resolveMessage(id, french, context.strings()),
                french));
        });
        audio::WaveDeviceLink link = owner.makeLink();
        editor::LinkTable links;
        const auto document = context.openDocument(bankPath, links);
        bank::SoundResource& resource = sampleWithDialog(document->bank(), args->index);
        resource.setOwner(&link);
        document->bank().setDeviceLink(&link);
        // "Test current" in a dialog left as it opened: the sample at its volume.
        std::vector<std::string> messages;
        std::vector<std::uint8_t> sample;
        audio::PlayHeader header;
        if (const editor::WavError read = readSampleOf(document->bank(), args->index, sample);
            read != editor::WavError::None) {
            if (auto text = editor::wavErrorText(read, context.strings(), context.language()))
                messages.push_back(text->utf8());
        } else {
            audio::playSample(resource, header, sample.data(), static_cast<std::uint32_t>(sample.size()),
                              audio::volumeWord(resource.volume()));
        }
        messages.insert(messages.end(), deviceMessages.begin(), deviceMessages.end());
        if (!messages.empty() || !owner.waveHandle()) {
            std::string text;
            for (const auto& m : messages) text += (text.empty() ? "" : "; ") + m;
            throw CommandFailure{args->bank + ": " + (text.empty() ? "nothing could be played" : text)};
        }
        waitForPlayback(owner);
        audio::stopSample(resource, header);
    });
}

}  // namespace

void addEditCommands(CLI::App& app, Context& context) {
    addExport(app, context);
    addImport(app, context);
    addVolume(app, context);
    addCopy(app, context);
    addPlay(app, context);
}

}  // namespace calyx::cli
