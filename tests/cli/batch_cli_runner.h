// Runs the built programs from tests: the exit code and both outputs.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "fixtures/program_command.h"
#include "fixtures/temp_dir.h"

namespace calyx::cli::testing {

struct ProgramRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// The build folder the test programs were given.
inline std::string binDir() {
    const char* dir = std::getenv("CALYX_BIN_DIR");
    return dir ? dir : ".";
}

inline std::string shellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// One run of `program`, as runProgram below.
inline ProgramRun runProgramOnce(const std::string& program, const std::vector<std::string>& arguments,
                                 const std::string& workingDir) {
    fixtures::TempDir outputs;
    std::string command = workingDir.empty() ? std::string() : "cd " + shellQuoted(workingDir) + " && ";
    command += program.starts_with('/') ? shellQuoted(program) : fixtures::programCommand(program);
    for (const auto& argument : arguments) command += " " + shellQuoted(argument);
    command += " >" + shellQuoted(outputs / "out") + " 2>" + shellQuoted(outputs / "err") + " </dev/null";
    const int status = std::system(command.c_str());
    ProgramRun run;
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = fixtures::readFile(outputs / "out");
    run.err = fixtures::readFile(outputs / "err");
    return run;
}

// True when Wine, or the script that starts it, failed before the Windows
// program ran: their own messages begin with "wine: ", "wine client error" or
// "wine-run: ".
inline bool wineFailedToStart(const ProgramRun& run) {
    if (!fixtures::testingWindowsPrograms() || run.exitCode == 0) return false;
    for (const char* mark : {"wine: ", "wine client error", "wine-run: "})
        if (run.err.starts_with(mark) || run.err.find(std::string("\n") + mark) != std::string::npos) return true;
    return false;
}

// Runs `program` (a file of the build folder, or an absolute path) with `arguments`, in the
// folder `workingDir` when one is given; the environment is the test's own
// (WINEPREFIX included). A start that Wine itself failed is tried once more.
inline ProgramRun runProgram(const std::string& program, const std::vector<std::string>& arguments,
                             const std::string& workingDir = {}) {
    ProgramRun run = runProgramOnce(program, arguments, workingDir);
    if (wineFailedToStart(run)) {
        std::fprintf(stderr, "Wine failed to start the program (%s); trying once more\n", run.err.c_str());
        run = runProgramOnce(program, arguments, workingDir);
    }
    return run;
}

inline ProgramRun runCli(const std::vector<std::string>& arguments, const std::string& workingDir = {}) {
    return runProgram("calyx-cli", arguments, workingDir);
}

// calyx-cli run as the unprivileged user "nobody" (the tests run as root,
// whom file permissions do not stop).
inline ProgramRun runCliUnprivileged(const std::vector<std::string>& arguments, const std::string& workingDir = {}) {
    std::vector<std::string> all = {"--reuid=65534", "--regid=65534", "--clear-groups", binDir() + "/calyx-cli"};
    all.insert(all.end(), arguments.begin(), arguments.end());
    return runProgram("/usr/bin/setpriv", all, workingDir);
}

}  // namespace calyx::cli::testing
