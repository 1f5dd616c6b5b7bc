#include <algorithm>
#include <iostream>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "calyx_version.h"
#include "cli/commands.h"

namespace calyx::cli {
namespace {

// An option of the program itself, given before the command.
struct GlobalOption {
    const char* name;
    std::string* value;
    const char* description;
};

// The command that the arguments name: the first one that is no option,
// after the program's own options and their values. Empty when an
// argument before it is any other option, or when there is none.
std::string commandNamed(int argc, char** argv, std::span<const GlobalOption> globals) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (!arg.starts_with('-')) return std::string(arg);
        const auto global = std::find_if(globals.begin(), globals.end(), [&](const GlobalOption& o) {
            return arg == o.name || (arg.starts_with(o.name) && arg.substr(std::string_view(o.name).size()).starts_with('='));
        });
        if (global == globals.end()) return {};
        if (arg == global->name) ++i;  // its value follows
    }
    return {};
}

}  // namespace

int run(int argc, char** argv) {
    CLI::App app{
        "calyx-cli: list, check, export, import and edit the sound banks (.bnm) of Velmora 2\n"
        "and its predecessor, from scripts. It finds the installed game through the maker's\n"
        "INI file in the Wine prefix ($WINEPREFIX, else ~/.wine), as the editor does; the\n"
        "options below override what that file says.",
        "calyx-cli"};
    app.require_subcommand(1);
    app.fallthrough();
    // Options are "--name" on every system: an argument such as "/tmp/x.bnm"
    // is a path (the root of the current drive on Windows), not a "/tmp"
    // option as CLI11 would take it on Windows.
    app.allow_windows_style_options(false);
    app.set_version_flag("--version", std::string("calyx-cli ") + CALYX_VERSION);
    Context context;
    const GlobalOption globals[] = {
        {"--k7-dir", &context.k7DirOption,
         "install folder of the first game (any path form: C:\\Games\\K7, /home/me/k7, ...)"},
        {"--tq2-dir", &context.tq2DirOption, "install folder of the second game"},
        {"--k7-language", &context.k7LanguageOption, "language folder name of the first game"},
        {"--tq2-language", &context.tq2LanguageOption, "language folder name of the second game"},
    };
    for (const GlobalOption& option : globals) app.add_option(option.name, *option.value, option.description);

    // Building a command's options costs every start, and a script starts
    // the program hundreds of times: the commands are added group by group
    // until the one named on the command line is there. All of them are
    // added when none is named plainly (help, a mistake); none for the
    // version alone.
    const std::string named = commandNamed(argc, argv, globals);
    const bool versionAlone = argc == 2 && std::string_view(argv[1]) == "--version";
    for (const auto add : {addListingCommands, addSaveCommands, addEditCommands, addBatchCommands, addImportAllCommand}) {
        if (versionAlone) break;
        add(app, context);
        if (!named.empty() && !app.get_subcommands([&](const CLI::App* c) { return c->get_name() == named; }).empty())
            break;
    }
    // "help" and "help COMMAND" say what --help says.
    auto helpTopic = std::make_shared<std::string>();
    auto* help = app.add_subcommand("help", "show this usage, or a command's (help COMMAND)");
    help->add_option("COMMAND", *helpTopic, "the command to describe");

    // The whole usage, made only when it is shown. The formatter is asked
    // directly: once a command is parsed, help() describes that command.
    const auto usage = [&app] { return app.get_formatter()->make_help(&app, app.get_name(), CLI::AppFormatMode::Normal); };
    try {
        // Without a command the user is shown how to give one.
        if (argc <= 1) {
            std::cerr << usage();
            return static_cast<int>(ExitCode::Usage);
        }
        app.parse(argc, argv);
        if (help->parsed()) {
            if (helpTopic->empty()) {
                std::cout << usage();
                return static_cast<int>(ExitCode::Ok);
            }
            const auto named = app.get_subcommands([&](const CLI::App* c) { return c->get_name() == *helpTopic; });
            const CLI::App* topic = named.empty() ? nullptr : named.front();
            if (!topic) throw CommandFailure{"help: no command named \"" + *helpTopic + "\"", ExitCode::Usage};
            std::cout << topic->help(app.get_name());
        }
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForAllHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForVersion& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        app.exit(e);
        return static_cast<int>(ExitCode::Usage);
    } catch (const CommandFailure& failure) {
        printError(failure.message);
        return static_cast<int>(failure.exitCode);
    }
    return static_cast<int>(ExitCode::Ok);
}

}  // namespace calyx::cli
