#include <iostream>
#include <memory>

#include "calyx_version.h"
#include "cli/commands.h"

namespace calyx::cli {

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
    app.add_option("--k7-dir", context.k7DirOption,
                   "install folder of the first game (any path form: C:\\Games\\K7, /home/me/k7, ...)");
    app.add_option("--tq2-dir", context.tq2DirOption, "install folder of the second game");
    app.add_option("--k7-language", context.k7LanguageOption, "language folder name of the first game");
    app.add_option("--tq2-language", context.tq2LanguageOption, "language folder name of the second game");

    addListingCommands(app, context);
    addSaveCommands(app, context);
    addEditCommands(app, context);
    addBatchCommands(app, context);
    addImportAllCommand(app, context);
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
