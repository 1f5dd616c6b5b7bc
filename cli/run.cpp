#include <iostream>

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

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForAllHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForVersion& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        app.exit(e);
        return exitUsage;
    } catch (const CommandFailure& failure) {
        printError(failure.message);
        return failure.exitCode;
    }
    return exitOk;
}

}  // namespace calyx::cli
