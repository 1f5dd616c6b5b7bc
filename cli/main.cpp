#include "cli/commands.h"
#include "platform/standard_streams.h"

int main(int argc, char** argv) {
    // Output with "\n" line ends on every system, for scripts that run on both.
    calyx::platform::writeStandardStreamsAsBytes();
    return calyx::cli::run(argc, argv);
}
